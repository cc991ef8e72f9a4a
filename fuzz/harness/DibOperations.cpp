// Packed DIB blocks as they come (headers of any size, bit counts, colour
// counts and dimensions, in blocks too short or too long for them) through
// every operation of the library and every writer plug-in.
#include "FuzzSupport.h"

#include "pixmill/Pixmill.h"

#include <QImage>

#include <cstring>
#include <memory>

namespace {

HDIB blockOf(const uint8_t* data, size_t size)
{
    HDIB dib = DibAlloc(size);
    if (!dib)
        return nullptr;
    std::memcpy(DibLock(dib), data, size);
    DibUnlock(dib);
    return dib;
}

// An operation that may replace its DIB, on a copy of the input block.
template <typename Operation>
void onCopy(const uint8_t* data, size_t size, Operation operation)
{
    HDIB dib = blockOf(data, size);
    if (!dib)
        return;
    operation(&dib);
    DibFree(dib);
}

void freeIfAny(HDIB dib)
{
    if (dib)
        DibFree(dib);
}

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***)
{
    fuzz::ensureGuiApplication();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size == 0)
        return 0;
    HDIB dib = blockOf(data, size);
    if (!dib)
        return 0;
    const long width = GetDIBWidth(dib), height = GetDIBHeight(dib);
    (void)GetDIBColorsNum(dib);
    (void)GetDIBPaletteSize(dib);
    (void)GetDIBBits(dib);
    const int w = static_cast<int>(width > 0 && width < 4096 ? width : 7);
    const int h = static_cast<int>(height > 0 && height < 4096 ? height : 5);

    freeIfAny(CloneDIB(dib));
    freeIfAny(GetDIBFromDIB(dib, 1, 1, w, h));
    freeIfAny(CutDIBFromDIB(dib, 1, 1, w / 2 + 1, h / 2 + 1, 0x00FF00FF));
    freeIfAny(StretchDIBFromMiddle(dib, 9));
    std::unique_ptr<QImage> bitmap(GetHBITMAPFromDIB(dib));
    QImage surface(64, 48, QImage::Format_RGB32);
    DrawDIBToDC(&surface, 0, 0, 64, 48, dib, 0, 0, w, h);

    onCopy(data, size, [&](HDIB* d) { EraseDIBArea(d, 1, 1, w / 2 + 1, h / 2 + 1, 0x00123456); });
    onCopy(data, size, [](HDIB* d) { ZoomDIB(d, 150); });
    onCopy(data, size, [](HDIB* d) { ChangeToFullColorDIB(d); });
    onCopy(data, size, [](HDIB* d) { ChangeToGrayDIB(*d); });
    onCopy(data, size, [](HDIB* d) { InvertDIB(*d); });
    onCopy(data, size, [](HDIB* d) { ConvertDIB(d, 1); });
    onCopy(data, size, [](HDIB* d) { ConvertDIB(d, 2); });
    onCopy(data, size, [](HDIB* d) { RotateDIB(d, 90, 0); });
    onCopy(data, size, [](HDIB* d) { RotateDIB(d, 33, 0x00FFFFFF); });
    onCopy(data, size, [](HDIB* d) { ContrastDIB(d, 40); });
    onCopy(data, size, [](HDIB* d) { LightDIB(d, -30); });
    // The block merged into a picture of its own, a picture merged into it,
    // and the block merged into itself, overlapping.
    onCopy(data, size, [&](HDIB* d) { MergeDIB(d, 1, 1, *d, w, h, 50); });
    onCopy(data, size, [&](HDIB* d) {
        HDIB canvas = CreateNewDIB(w + 3, h + 3, 0x00808080);
        if (canvas) {
            MergeDIB(&canvas, 2, 1, *d, w, h, 60);
            MergeDIB(d, 0, 0, canvas, w, h, 100);
            DibFree(canvas);
        }
    });

    for (const char* extension : {"bmp", "gif", "png", "jpg", "tif"}) {
        const std::string path = fuzz::scratchFolder() + "/saved." + extension;
        SaveDIBToFile(dib, path.c_str());
    }
    DibFree(dib);
    return 0;
}
