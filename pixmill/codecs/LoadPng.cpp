// The png plug-in: PNG files through libpng's simplified interface.
#include "CodecSupport.h"

#include <png.h>

PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    if (!png_image_begin_read_from_file(&image, path))
        return nullptr;
    if (!codec::sizeAllowed(image.width, image.height)) {
        png_image_free(&image);
        return nullptr;
    }
    image.format = PNG_FORMAT_BGR;
    codec::NewDib dib(image.width, image.height, 24, 0);
    if (!dib.ok()) {
        png_image_free(&image);
        return nullptr;
    }
    // Transparent parts are shown on white; rows go in bottom-up.
    const png_color background{255, 255, 255};
    const auto stride = static_cast<png_int_32>(codec::strideOf(image.width, 24));
    if (!png_image_finish_read(&image, &background, dib.rowFromTop(image.height - 1), -stride, nullptr)) {
        png_image_free(&image);
        return nullptr;
    }
    return dib.take();
}

PIXMILL_CODEC_API int SaveToFile(HDIB dib, const char* path)
{
    const codec::FullColour picture(dib);
    if (!picture.ok())
        return 0;
    png_image image{};
    image.version = PNG_IMAGE_VERSION;
    image.width = picture.width();
    image.height = picture.height();
    image.format = PNG_FORMAT_BGR;
    const auto stride = static_cast<png_int_32>(picture.stride());
    const int ok = png_image_write_to_file(&image, path, 0, picture.rowFromTop(picture.height() - 1), -stride, nullptr);
    png_image_free(&image);
    return ok ? 1 : 0;
}
