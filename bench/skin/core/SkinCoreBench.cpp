// The real limits of the skin's pixel and stream work, side by side in one
// run: blending an 800 x 600 bitmap against copying its bytes, and the
// compression streams against calling zlib directly on the same data.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <cstring>
#include <random>
#include <vector>

#include "skin/core/te_bitmap.h"
#include "skin/core/te_compress.h"

using namespace tarvel;

namespace {

constexpr int kW = 800, kH = 600;
constexpr size_t kPixelBytes = size_t{kW} * kH * 4;

void FillTranslucent(TteBitmap& b) {
    std::mt19937 rng(1);
    for (int i = 0; i < kW * kH; ++i) b.Bits()[i] = static_cast<uint32_t>(rng());
    b.AlphaBlend = true;
}

void BM_Blend800x600(benchmark::State& state) {
    TteBitmap src, dst;
    src.SetSize(kW, kH);
    dst.SetSize(kW, kH);
    FillTranslucent(src);
    dst.Clear(0xFF808080);
    for (auto _ : state) {
        src.Draw(dst, 0, 0);
        benchmark::DoNotOptimize(dst.Bits());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixelBytes));
}
BENCHMARK(BM_Blend800x600);

void BM_Memcpy800x600(benchmark::State& state) {
    std::vector<uint32_t> src(size_t{kW} * kH, 0x80FF00FF), dst(size_t{kW} * kH);
    for (auto _ : state) {
        std::memcpy(dst.data(), src.data(), kPixelBytes);
        benchmark::DoNotOptimize(dst.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(kPixelBytes));
}
BENCHMARK(BM_Memcpy800x600);

// Skin-like data: bitmaps with runs and noise.
std::vector<uint8_t> SkinLikeData() {
    std::vector<uint8_t> data(2 << 20);
    std::mt19937 rng(5);
    for (size_t i = 0; i < data.size(); ++i)
        data[i] = (i / 64) % 3 == 0 ? static_cast<uint8_t>(rng()) : static_cast<uint8_t>(i / 256);
    return data;
}

const std::vector<uint8_t>& Data() {
    static const std::vector<uint8_t> data = SkinLikeData();
    return data;
}

std::vector<uint8_t> RawDeflate(const std::vector<uint8_t>& in, int level) {
    uLongf size = compressBound(static_cast<uLong>(in.size()));
    std::vector<uint8_t> out(size);
    compress2(out.data(), &size, in.data(), static_cast<uLong>(in.size()), level);
    out.resize(size);
    return out;
}

void BM_CompressionStream(benchmark::State& state) {
    for (auto _ : state) {
        TMemoryStream out;
        TCompressionStream z(TCompressionLevel::clDefault, out);
        z.WriteBuffer(Data().data(), static_cast<int64_t>(Data().size()));
        z.Finish();
        benchmark::DoNotOptimize(out.Memory());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Data().size()));
}
BENCHMARK(BM_CompressionStream)->Unit(benchmark::kMillisecond);

void BM_RawZlibCompress(benchmark::State& state) {
    for (auto _ : state) benchmark::DoNotOptimize(RawDeflate(Data(), Z_DEFAULT_COMPRESSION));
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Data().size()));
}
BENCHMARK(BM_RawZlibCompress)->Unit(benchmark::kMillisecond);

void BM_DecompressionStream(benchmark::State& state) {
    const std::vector<uint8_t> packed = RawDeflate(Data(), Z_DEFAULT_COMPRESSION);
    std::vector<uint8_t> out(Data().size());
    for (auto _ : state) {
        TMemoryStream in;
        in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
        in.SetPosition(0);
        TDecompressionStream z(in);
        z.ReadBuffer(out.data(), static_cast<int64_t>(out.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Data().size()));
}
BENCHMARK(BM_DecompressionStream)->Unit(benchmark::kMillisecond);

void BM_RawZlibUncompress(benchmark::State& state) {
    const std::vector<uint8_t> packed = RawDeflate(Data(), Z_DEFAULT_COMPRESSION);
    std::vector<uint8_t> out(Data().size());
    for (auto _ : state) {
        // The same copy of the compressed bytes the stream version makes.
        std::vector<uint8_t> in(packed);
        uLongf size = static_cast<uLongf>(out.size());
        uncompress(out.data(), &size, in.data(), static_cast<uLong>(in.size()));
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations()) * static_cast<int64_t>(Data().size()));
}
BENCHMARK(BM_RawZlibUncompress)->Unit(benchmark::kMillisecond);

}  // namespace
