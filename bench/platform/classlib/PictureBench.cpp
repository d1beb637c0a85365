// Opening a full-HD photo through the class library's JPEG picture, beside
// libjpeg-turbo decoding the same file straight into 32-bit pixels of the
// same layout, into a buffer it allocates each time as the picture must.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <memory>
#include <random>
#include <vector>

// clang-format off
#include <jpeglib.h>
// clang-format on

#include "platform/classlib/JpegImage.h"
#include "platform/classlib/Streams.h"

namespace tarvel {
namespace {

constexpr int kW = 1920, kH = 1080;

// A photo-like picture: smooth light with grain, at quality 90.
const std::vector<uint8_t>& PhotoJpeg() {
    static const std::vector<uint8_t> file = [] {
        std::vector<uint8_t> rgb(size_t{kW} * kH * 3);
        std::mt19937 rng(2);
        for (int y = 0; y < kH; ++y)
            for (int x = 0; x < kW; ++x) {
                uint8_t* p = rgb.data() + (size_t{static_cast<size_t>(y)} * kW + x) * 3;
                const int grain = static_cast<int>(rng() % 24);
                p[0] = static_cast<uint8_t>((x * 200 / kW + grain) & 0xFF);
                p[1] = static_cast<uint8_t>((y * 180 / kH + grain) & 0xFF);
                p[2] = static_cast<uint8_t>(((x + y) * 120 / (kW + kH) + grain) & 0xFF);
            }
        jpeg_compress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_compress(&info);
        unsigned char* out = nullptr;
        unsigned long outSize = 0;
        jpeg_mem_dest(&info, &out, &outSize);
        info.image_width = kW;
        info.image_height = kH;
        info.input_components = 3;
        info.in_color_space = JCS_RGB;
        jpeg_set_defaults(&info);
        jpeg_set_quality(&info, 90, TRUE);
        jpeg_start_compress(&info, TRUE);
        while (info.next_scanline < info.image_height) {
            JSAMPROW row = rgb.data() + size_t{info.next_scanline} * kW * 3;
            jpeg_write_scanlines(&info, &row, 1);
        }
        jpeg_finish_compress(&info);
        jpeg_destroy_compress(&info);
        std::vector<uint8_t> bytes(out, out + outSize);
        std::free(out);
        return bytes;
    }();
    return file;
}

void BM_JpegPicture(benchmark::State& state) {
    TMemoryStream stream;
    stream.WriteBuffer(PhotoJpeg().data(), static_cast<int64_t>(PhotoJpeg().size()));
    for (auto _ : state) {
        stream.SetPosition(0);
        TJPEGImage picture;
        picture.LoadFromStream(stream);
        benchmark::DoNotOptimize(picture.Width());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_JpegPicture)->Unit(benchmark::kMillisecond);

void BM_RawLibjpegBgra(benchmark::State& state) {
    const std::vector<uint8_t>& file = PhotoJpeg();
    for (auto _ : state) {
        jpeg_decompress_struct info{};
        jpeg_error_mgr error{};
        info.err = jpeg_std_error(&error);
        jpeg_create_decompress(&info);
        jpeg_mem_src(&info, file.data(), static_cast<unsigned long>(file.size()));
        jpeg_read_header(&info, TRUE);
        info.out_color_space = JCS_EXT_BGRA;
        jpeg_start_decompress(&info);
        std::unique_ptr<uint32_t[]> pixels(new uint32_t[size_t{info.output_width} * info.output_height]);
        while (info.output_scanline < info.output_height) {
            // Bottom-up rows, as the picture keeps them.
            JSAMPROW row = reinterpret_cast<JSAMPROW>(
                pixels.get() + size_t{info.output_height - 1 - info.output_scanline} * info.output_width);
            jpeg_read_scanlines(&info, &row, 1);
        }
        jpeg_finish_decompress(&info);
        jpeg_destroy_decompress(&info);
        benchmark::DoNotOptimize(pixels.get());
    }
    state.SetItemsProcessed(state.iterations() * kW * kH);
}
BENCHMARK(BM_RawLibjpegBgra)->Unit(benchmark::kMillisecond);

}  // namespace
}  // namespace tarvel
