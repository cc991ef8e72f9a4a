// The tif plug-in: TIFF files through libtiff, read as full colour whatever
// their layout, written as RGB.
#include "CodecSupport.h"

#include <tiffio.h>

#include <vector>

namespace {

// libtiff reports problems on stderr unless told otherwise.
void silence()
{
    TIFFSetErrorHandler(nullptr);
    TIFFSetWarningHandler(nullptr);
}

}  // namespace

PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    silence();
    TIFF* tif = TIFFOpen(path, "r");
    if (!tif)
        return nullptr;
    HDIB result = nullptr;
    uint32_t width = 0, height = 0;
    TIFFGetField(tif, TIFFTAG_IMAGEWIDTH, &width);
    TIFFGetField(tif, TIFFTAG_IMAGELENGTH, &height);
    if (codec::sizeAllowed(width, height)) {
        std::vector<uint32_t> raster(size_t{width} * height);
        if (TIFFReadRGBAImageOriented(tif, width, height, raster.data(), ORIENTATION_TOPLEFT, 0)) {
            codec::NewDib dib(width, height, 24, 0);
            if (dib.ok()) {
                for (uint32_t y = 0; y < height; ++y) {
                    uint8_t* row = dib.rowFromTop(y);
                    const uint32_t* from = raster.data() + size_t{width} * y;
                    for (uint32_t x = 0; x < width; ++x) {
                        // Transparent parts are shown on white.
                        const uint32_t a = TIFFGetA(from[x]);
                        const auto over = [a](uint32_t c) { return static_cast<uint8_t>((c * a + 255 * (255 - a)) / 255); };
                        row[3 * x] = over(TIFFGetB(from[x]));
                        row[3 * x + 1] = over(TIFFGetG(from[x]));
                        row[3 * x + 2] = over(TIFFGetR(from[x]));
                    }
                }
                result = dib.take();
            }
        }
    }
    TIFFClose(tif);
    return result;
}

PIXMILL_CODEC_API int SaveToFile(HDIB dib, const char* path)
{
    const codec::FullColour picture(dib);
    if (!picture.ok())
        return 0;
    silence();
    TIFF* tif = TIFFOpen(path, "w");
    if (!tif)
        return 0;
    TIFFSetField(tif, TIFFTAG_IMAGEWIDTH, picture.width());
    TIFFSetField(tif, TIFFTAG_IMAGELENGTH, picture.height());
    TIFFSetField(tif, TIFFTAG_SAMPLESPERPIXEL, 3);
    TIFFSetField(tif, TIFFTAG_BITSPERSAMPLE, 8);
    TIFFSetField(tif, TIFFTAG_PHOTOMETRIC, PHOTOMETRIC_RGB);
    TIFFSetField(tif, TIFFTAG_PLANARCONFIG, PLANARCONFIG_CONTIG);
    TIFFSetField(tif, TIFFTAG_COMPRESSION, COMPRESSION_LZW);
    TIFFSetField(tif, TIFFTAG_ROWSPERSTRIP, TIFFDefaultStripSize(tif, 0));
    std::vector<uint8_t> line(size_t{picture.width()} * 3);
    bool ok = true;
    for (uint32_t y = 0; ok && y < picture.height(); ++y) {
        const uint8_t* row = picture.rowFromTop(y);
        for (uint32_t x = 0; x < picture.width(); ++x) {
            line[3 * x] = row[3 * x + 2];
            line[3 * x + 1] = row[3 * x + 1];
            line[3 * x + 2] = row[3 * x];
        }
        ok = TIFFWriteScanline(tif, line.data(), y, 0) == 1;
    }
    TIFFClose(tif);
    return ok ? 1 : 0;
}
