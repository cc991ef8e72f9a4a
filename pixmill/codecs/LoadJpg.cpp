// The jpg plug-in: JPEG files through libjpeg-turbo.
#include "CodecSupport.h"

#include <csetjmp>
#include <cstdio>
#include <vector>

#include <jpeglib.h>

namespace {

struct ErrorJump {
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

// libjpeg reports fatal errors by calling this; unwinding is by longjmp, so
// nothing with a destructor may live between setjmp and the library calls.
[[noreturn]] void onError(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<ErrorJump*>(info->err)->jump, 1);
}

void quiet(j_common_ptr, int) {}

class File {
public:
    File(const char* path, const char* mode) : m_file(std::fopen(path, mode)) {}
    ~File()
    {
        if (m_file)
            std::fclose(m_file);
    }
    File(const File&) = delete;
    File& operator=(const File&) = delete;
    FILE* get() const { return m_file; }
    bool close()
    {
        const bool ok = std::fclose(m_file) == 0;
        m_file = nullptr;
        return ok;
    }

private:
    FILE* m_file;
};

// Reads into dib, which outlives the jump.
bool decode(FILE* file, codec::NewDib*& dib)
{
    jpeg_decompress_struct info{};
    ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onError;
    error.manager.emit_message = quiet;
    if (setjmp(error.jump)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    jpeg_create_decompress(&info);
    jpeg_stdio_src(&info, file);
    jpeg_read_header(&info, TRUE);
    if (!codec::sizeAllowed(info.image_width, info.image_height)) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    info.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&info);
    dib = new codec::NewDib(info.output_width, info.output_height, 24, 0);
    if (!dib->ok() || info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return false;
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = dib->rowFromTop(info.output_scanline);
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return true;
}

bool encode(FILE* file, const codec::FullColour& picture)
{
    jpeg_compress_struct info{};
    ErrorJump error{};
    info.err = jpeg_std_error(&error.manager);
    error.manager.error_exit = onError;
    if (setjmp(error.jump)) {
        jpeg_destroy_compress(&info);
        return false;
    }
    jpeg_create_compress(&info);
    jpeg_stdio_dest(&info, file);
    info.image_width = picture.width();
    info.image_height = picture.height();
    info.input_components = 3;
    info.in_color_space = JCS_EXT_BGR;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, 90, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(picture.rowFromTop(info.next_scanline));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    return true;
}

}  // namespace

PIXMILL_CODEC_API HDIB LoadFromFile(const char* path)
{
    File file(path, "rb");
    if (!file.get())
        return nullptr;
    codec::NewDib* dib = nullptr;
    const bool ok = decode(file.get(), dib);
    HDIB result = ok ? dib->take() : nullptr;
    delete dib;
    return result;
}

PIXMILL_CODEC_API int SaveToFile(HDIB dib, const char* path)
{
    const codec::FullColour picture(dib);
    if (!picture.ok())
        return 0;
    File file(path, "wb");
    if (!file.get())
        return 0;
    const bool ok = encode(file.get(), picture);
    return file.close() && ok ? 1 : 0;
}
