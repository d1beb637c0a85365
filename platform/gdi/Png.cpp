// PNG pictures of surfaces, for tests and screenshots.

#include <png.h>

#include <cstdio>
#include <memory>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace tarvel {

bool WritePng(const Surface& surface, const char* path, bool withAlpha) {
    if (!surface.Valid() || !path) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "wb"), &std::fclose);
    if (!file) return false;
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    const int channels = withAlpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * channels);
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_write_struct(&png, &info);
        return false;
    }
    png_init_io(png, file.get());
    png_set_IHDR(png, info, static_cast<png_uint_32>(surface.Width()),
                 static_cast<png_uint_32>(surface.Height()), 8,
                 withAlpha ? PNG_COLOR_TYPE_RGBA : PNG_COLOR_TYPE_RGB, PNG_INTERLACE_NONE,
                 PNG_COMPRESSION_TYPE_DEFAULT, PNG_FILTER_TYPE_DEFAULT);
    png_write_info(png, info);
    for (int y = 0; y < surface.Height(); ++y) {
        const uint32_t* in = surface.Row(y);
        png_byte* out = row.data();
        for (int x = 0; x < surface.Width(); ++x) {
            const uint32_t p = in[x];
            *out++ = static_cast<png_byte>(p >> 16);
            *out++ = static_cast<png_byte>(p >> 8);
            *out++ = static_cast<png_byte>(p);
            if (withAlpha) *out++ = static_cast<png_byte>(p >> 24);
        }
        png_write_row(png, row.data());
    }
    png_write_end(png, nullptr);
    png_destroy_write_struct(&png, &info);
    return std::fflush(file.get()) == 0;
}

}  // namespace tarvel
