#include "platform/classlib/JpegImage.h"

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <memory>
#include <vector>

// clang-format off
#include <jpeglib.h>
#include <jerror.h>
// clang-format on

namespace tarvel {

namespace {

constexpr int64_t kMaxPixels = int64_t{1} << 24;
constexpr long kMaxDecoderMemory = 256L << 20;
// Progressive files may hold any number of scans; beyond this many the file
// is taken for damaged rather than decoded for minutes.
constexpr int kMaxScans = 500;

// Straight into the picture's own 32-bit rows where the library can; the
// filler byte it writes becomes the alpha 0 of a 24-bit picture.
#ifdef JCS_EXTENSIONS
constexpr J_COLOR_SPACE kOutSpace = JCS_EXT_BGRX;
constexpr int kComponents = 4;
#else
constexpr J_COLOR_SPACE kOutSpace = JCS_RGB;
constexpr int kComponents = 3;
#endif

// Everything the decoder touches after setjmp lives here, on the heap, so a
// longjmp back leaves nothing half-destroyed on the stack.
struct JpegDecode {
    jpeg_decompress_struct info{};
    jpeg_error_mgr error{};
    jpeg_progress_mgr progress{};
    std::jmp_buf jump{};
    int code = 0;
    std::shared_ptr<Surface> pixels;
    std::vector<uint8_t> row;
};

JpegDecode& StateOf(j_common_ptr cinfo) { return *static_cast<JpegDecode*>(cinfo->client_data); }

[[noreturn]] void Fail(j_common_ptr cinfo, int code) {
    StateOf(cinfo).code = code;
    std::longjmp(StateOf(cinfo).jump, 1);
}

void OnError(j_common_ptr cinfo) { Fail(cinfo, cinfo->err->msg_code); }

// Warnings that mean the data stops early are errors here: the rest of the
// picture would be made up.
void OnMessage(j_common_ptr cinfo, int level) {
    const int code = cinfo->err->msg_code;
    if (level < 0 && (code == JWRN_JPEG_EOF || code == JWRN_HIT_MARKER)) Fail(cinfo, code);
}

void OnProgress(j_common_ptr cinfo) {
    auto* d = reinterpret_cast<j_decompress_ptr>(cinfo);
    if (d->input_scan_number > kMaxScans) Fail(cinfo, JERR_TOO_LITTLE_DATA);
}

// Answers 0 and fills state.pixels, or the library's error number.
int DecodeJpeg(const uint8_t* data, size_t size, JpegDecode& state, int maxSide) {
    jpeg_decompress_struct& info = state.info;
    info.err = jpeg_std_error(&state.error);
    state.error.error_exit = &OnError;
    state.error.emit_message = &OnMessage;
    info.client_data = &state;
    if (setjmp(state.jump)) {
        jpeg_destroy_decompress(&info);
        return state.code == 0 ? -1 : state.code;
    }
    jpeg_create_decompress(&info);
    info.mem->max_memory_to_use = kMaxDecoderMemory;
    state.progress.progress_monitor = &OnProgress;
    info.progress = &state.progress;
    jpeg_mem_src(&info, data, static_cast<unsigned long>(size));
    jpeg_read_header(&info, TRUE);
    const int64_t width = info.image_width, height = info.image_height;
    if (width > maxSide || height > maxSide || width * height > kMaxPixels)
        Fail(j_common_ptr(&info), JERR_IMAGE_TOO_BIG);
    info.out_color_space = kOutSpace;
    jpeg_start_decompress(&info);
    if (info.output_components != kComponents) Fail(j_common_ptr(&info), JERR_CONVERSION_NOTIMPL);
    state.pixels = std::make_shared<Surface>(static_cast<int>(info.output_width),
                                             static_cast<int>(info.output_height), true, Surface::Fill::None);
    if (!state.pixels->Valid()) Fail(j_common_ptr(&info), JERR_OUT_OF_MEMORY);
    const size_t columns = info.output_width;
    if (kComponents == 3) state.row.resize(columns * 3);
    // Several rows a call spare the library a copy of rows it makes in pairs.
    constexpr int kBatch = 16;
    while (info.output_scanline < info.output_height) {
        const int first = static_cast<int>(info.output_scanline);
        const int batch =
            kComponents == 4 ? std::min<int>(kBatch, static_cast<int>(info.output_height) - first) : 1;
        JSAMPROW lines[kBatch];
        for (int i = 0; i < batch; ++i)
            lines[i] = kComponents == 4 ? reinterpret_cast<JSAMPROW>(state.pixels->Row(first + i))
                                        : state.row.data();
        const int read = static_cast<int>(jpeg_read_scanlines(&info, lines, static_cast<JDIMENSION>(batch)));
        if (read < 1) Fail(j_common_ptr(&info), JERR_INPUT_EOF);
        for (int i = 0; i < read; ++i) {
            uint32_t* out = state.pixels->Row(first + i);
            if (kComponents == 4) {
                for (size_t x = 0; x < columns; ++x) out[x] &= 0x00FFFFFFu;
                continue;
            }
            for (size_t x = 0; x < columns; ++x) {
                const uint8_t* p = state.row.data() + x * 3;
                out[x] = (uint32_t{p[0]} << 16) | (uint32_t{p[1]} << 8) | p[2];
            }
        }
    }
    jpeg_finish_decompress(&info);
    jpeg_destroy_decompress(&info);
    return 0;
}

}  // namespace

void TJPEGImage::Decode(const uint8_t* data, size_t size, TBitmap& into) {
    if (size == 0) throw EInvalidGraphic("JPEG error #" + IntToStr(JERR_INPUT_EMPTY));
    auto state = std::make_unique<JpegDecode>();
    const int code = DecodeJpeg(data, size, *state, kMaxSide);
    if (code != 0) throw EInvalidGraphic("JPEG error #" + IntToStr(code));
    into.SetPixels(std::move(state->pixels), pf24bit);
}

}  // namespace tarvel
