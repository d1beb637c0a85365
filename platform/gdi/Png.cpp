// PNG pictures: surfaces written for tests and screenshots, and files of any
// colour type decoded for the picture classes and reference tests.

#include <fcntl.h>
#include <png.h>
#include <unistd.h>

#include <cstdio>
#include <cstring>
#include <memory>
#include <vector>

#include "platform/base/Paths.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 24;
constexpr png_alloc_size_t kMaxChunkBytes = 8u << 20;

// Everything the decoder touches after setjmp lives here, on the heap, so a
// longjmp back leaves nothing half-destroyed on the stack.
struct PngDecode {
    const uint8_t* data = nullptr;
    size_t size = 0;
    size_t offset = 0;
    std::string error;
    bool alpha = false;
    std::shared_ptr<Surface> pixels;
    std::vector<png_bytep> rows;
};

void OnError(png_structp png, png_const_charp message) {
    auto* state = static_cast<PngDecode*>(png_get_error_ptr(png));
    state->error = message ? message : "unknown";
    png_longjmp(png, 1);
}

void OnWarning(png_structp, png_const_charp) {}

void OnRead(png_structp png, png_bytep out, size_t count) {
    auto* state = static_cast<PngDecode*>(png_get_io_ptr(png));
    if (count > state->size - state->offset) png_error(png, "the data ends early");
    std::memcpy(out, state->data + state->offset, count);
    state->offset += count;
}

// Answers true and fills state.pixels, or false with state.error.
bool ReadPicture(PngDecode& state, int maxSide) {
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &state, &OnError, &OnWarning);
    if (!png) {
        state.error = "out of memory";
        return false;
    }
    png_infop info = png_create_info_struct(png);
    if (!info || setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        if (state.error.empty()) state.error = "out of memory";
        return false;
    }
    png_set_read_fn(png, &state, &OnRead);
    png_set_user_limits(png, static_cast<png_uint_32>(maxSide), static_cast<png_uint_32>(maxSide));
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    const png_uint_32 width = png_get_image_width(png, info);
    const png_uint_32 height = png_get_image_height(png, info);
    if (int64_t{width} * height > kMaxPixels) png_error(png, "the picture is too large");
    const int colorType = png_get_color_type(png, info);
    state.alpha = (colorType & PNG_COLOR_MASK_ALPHA) != 0 || png_get_valid(png, info, PNG_INFO_tRNS);

    // Whatever the file holds becomes 8-bit B, G, R, A: our 0xAARRGGBB.
    png_set_expand(png);
    png_set_strip_16(png);
    png_set_gray_to_rgb(png);
    png_set_bgr(png);
    if (!state.alpha) png_set_filler(png, 0, PNG_FILLER_AFTER);
    png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != size_t{width} * 4) png_error(png, "unexpected row layout");

    // Every row is written, the last pass of an interlaced file included.
    state.pixels = std::make_shared<Surface>(static_cast<int>(width), static_cast<int>(height), true,
                                             Surface::Fill::None);
    if (!state.pixels->Valid()) png_error(png, "out of memory");
    state.rows.resize(height);
    for (png_uint_32 y = 0; y < height; ++y)
        state.rows[y] = reinterpret_cast<png_bytep>(state.pixels->Row(static_cast<int>(y)));
    png_read_image(png, state.rows.data());
    png_read_end(png, nullptr);
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

}  // namespace

namespace {

// Writes the rows through `png`, whose output is set up; false on libpng's error.
bool WriteRows(png_structp png, png_infop info, const Surface& surface, bool withAlpha) {
    const int channels = withAlpha ? 4 : 3;
    std::vector<png_byte> row(static_cast<size_t>(surface.Width()) * channels);
    if (setjmp(png_jmpbuf(png))) return false;
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
    return true;
}

// Writes the surface through a libpng writer whose output `setOutput` sets
// up; false when libpng fails.
template <typename SetOutput>
bool Encode(const Surface& surface, bool withAlpha, SetOutput setOutput) {
    png_structp png = png_create_write_struct(PNG_LIBPNG_VER_STRING, nullptr, nullptr, nullptr);
    if (!png) return false;
    png_infop info = png_create_info_struct(png);
    if (!info) {
        png_destroy_write_struct(&png, nullptr);
        return false;
    }
    setOutput(png);
    const bool written = WriteRows(png, info, surface, withAlpha);
    png_destroy_write_struct(&png, &info);
    return written;
}

}  // namespace

bool WritePng(const Surface& surface, const char* path, bool withAlpha) {
    if (!surface.Valid() || !path) return false;
    // Never a pipe or a device in the picture's place: the write would wait on it.
    const int fd = OpenRegularFile(path, O_WRONLY | O_CREAT | O_TRUNC);
    if (fd < 0) return false;
    std::unique_ptr<FILE, int (*)(FILE*)> file(::fdopen(fd, "wb"), &std::fclose);
    if (!file) {
        ::close(fd);
        return false;
    }
    const bool written = Encode(surface, withAlpha, [&](png_structp png) { png_init_io(png, file.get()); });
    return written && std::fflush(file.get()) == 0;
}

std::vector<uint8_t> EncodePng(const Surface& surface, bool withAlpha) {
    std::vector<uint8_t> out;
    if (!surface.Valid()) return out;
    const bool written = Encode(surface, withAlpha, [&](png_structp png) {
        png_set_write_fn(
            png, &out,
            [](png_structp p, png_bytep data, size_t count) {
                auto* bytes = static_cast<std::vector<uint8_t>*>(png_get_io_ptr(p));
                bytes->insert(bytes->end(), data, data + count);
            },
            [](png_structp) {});
    });
    if (!written) out.clear();
    return out;
}

PngPicture DecodePng(const uint8_t* data, size_t size, int maxSide) {
    auto state = std::make_unique<PngDecode>();
    state->data = data;
    state->size = size;
    PngPicture picture;
    if (ReadPicture(*state, maxSide)) {
        picture.pixels = std::move(state->pixels);
        picture.alpha = state->alpha;
    } else {
        picture.error = state->error;
    }
    return picture;
}

}  // namespace tarvel
