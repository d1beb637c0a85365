// Unpacking whole skin bodies with DecompressBuf, with the unpacked size the
// skin file stores and without it, beside zlib's own uncompress into a
// buffer of the known size. Bytes are unpacked bytes.
#include <benchmark/benchmark.h>
#include <zlib.h>

#include <map>
#include <memory>
#include <random>
#include <vector>

#include "skin/core/te_compress.h"

using namespace tarvel;

namespace {

// Rows of bitmap-like pixels: runs and gradients with some noise, or the
// large single-colour areas that pack a thousandfold.
std::vector<uint8_t> SkinBody(size_t bytes, bool flat) {
    std::vector<uint8_t> data(bytes);
    std::mt19937 rng(11);
    for (size_t i = 0; i < bytes; ++i) {
        const size_t run = i / 512;
        if (flat)
            data[i] = static_cast<uint8_t>(i / 65536);
        else
            data[i] = run % 16 == 0 ? static_cast<uint8_t>(rng() & 0x0F)
                                    : static_cast<uint8_t>((i / 64 + run) & 0xFF);
    }
    return data;
}

struct Packed {
    size_t size = 0;
    std::vector<uint8_t> bytes;
};

// Arguments: the unpacked size, and 1 for flat data.
const Packed& PackedOf(const benchmark::State& state) {
    static std::map<std::pair<int64_t, int64_t>, Packed> cache;
    Packed& p = cache[{state.range(0), state.range(1)}];
    if (p.bytes.empty()) {
        const std::vector<uint8_t> data = SkinBody(static_cast<size_t>(state.range(0)), state.range(1) != 0);
        uLongf packedSize = compressBound(static_cast<uLong>(data.size()));
        p.size = data.size();
        p.bytes.resize(packedSize);
        compress2(p.bytes.data(), &packedSize, data.data(), static_cast<uLong>(data.size()), 9);
        p.bytes.resize(packedSize);
    }
    return p;
}

void BM_DecompressBuf(benchmark::State& state, bool sizeKnown) {
    const Packed& p = PackedOf(state);
    for (auto _ : state) {
        std::vector<uint8_t> out = DecompressBuf(p.bytes.data(), p.bytes.size(), sizeKnown ? p.size : 0);
        benchmark::DoNotOptimize(out.data());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p.size));
    state.counters["packed"] = static_cast<double>(p.bytes.size());
}

void BM_RawUncompress(benchmark::State& state) {
    const Packed& p = PackedOf(state);
    for (auto _ : state) {
        std::unique_ptr<uint8_t[]> out(new uint8_t[p.size]);
        uLongf size = static_cast<uLongf>(p.size);
        uncompress(out.get(), &size, p.bytes.data(), static_cast<uLong>(p.bytes.size()));
        benchmark::DoNotOptimize(out.get());
    }
    state.SetBytesProcessed(state.iterations() * static_cast<int64_t>(p.size));
}

void Bodies(benchmark::internal::Benchmark* b) {
    b->Args({1 << 20, 0})->Args({16 << 20, 0})->Args({1 << 20, 1})->Args({16 << 20, 1});
    b->Unit(benchmark::kMillisecond);
}

BENCHMARK_CAPTURE(BM_DecompressBuf, size_known, true)->Apply(Bodies);
BENCHMARK_CAPTURE(BM_DecompressBuf, size_unknown, false)->Apply(Bodies);
BENCHMARK(BM_RawUncompress)->Apply(Bodies);

}  // namespace
