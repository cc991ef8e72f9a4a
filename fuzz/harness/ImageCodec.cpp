// One codec plug-in (FUZZ_IMAGE_EXTENSION) found and loaded by name as the
// program does: the file read, the picture saved again through the same
// plug-in and read back, and the operations the reader applies to pictures
// run on it.
#include "FuzzSupport.h"

#include "pixmill/Pixmill.h"

#include <QImage>

#include <memory>

namespace {

// A file of a few hundred bytes may declare a picture of up to the codecs'
// 64 Mpx, and decoding it is the codec's work; the operations and the save
// after it are linear in the pixels, and on such a picture take half a
// minute under the sanitizers. They run on pictures up to this size, which
// go through the same code.
constexpr uint64_t kMaxExercisedPixels = uint64_t{4} << 20;

void exercise(HDIB dib)
{
    std::unique_ptr<QImage> bitmap(GetHBITMAPFromDIB(dib));
    HDIB copy = CloneDIB(dib);
    if (!copy)
        return;
    ChangeToFullColorDIB(&copy);
    ZoomDIB(&copy, 50);
    RotateDIB(&copy, 90, 0x00FFFFFF);
    DibFree(copy);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string extension = FUZZ_IMAGE_EXTENSION;
    const std::string path = fuzz::writeScratch("picture." + extension, data, size);
    HDIB dib = LoadDIBFromFile(path.c_str());
    if (!dib)
        return 0;
    const uint64_t pixels = uint64_t{static_cast<uint32_t>(GetDIBWidth(dib))} * static_cast<uint32_t>(GetDIBHeight(dib));
    if (pixels > kMaxExercisedPixels) {
        DibFree(dib);
        return 0;
    }
    exercise(dib);
    const std::string again = fuzz::scratchFolder() + "/again." + extension;
    if (SaveDIBToFile(dib, again.c_str())) {
        HDIB reread = LoadDIBFromFile(again.c_str());
        // What a plug-in writes it must read.
        if (!reread)
            std::abort();
        DibFree(reread);
    }
    DibFree(dib);
    return 0;
}
