// Scanning speed of the reply scanner and the reply check.
#include <benchmark/benchmark.h>

#include <random>

#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
#include "link/ReplyValidator.h"

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Reply(uint8_t code, size_t dataSize) {
    Bytes data(dataSize + 1, 0);
    for (size_t i = 1; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 31);
    return BuildFrame(1, code, data);
}

// About 1 MB of replies of the usual sizes with a little noise between them.
Bytes ReplyStream() {
    std::mt19937 random(7);
    const Bytes kinds[] = {Reply(0x83, 96), Reply(0x89, 0), Reply(0x95, 140), Reply(0x99, 428)};
    Bytes stream;
    while (stream.size() < (1 << 20)) {
        const Bytes& r = kinds[random() % 4];
        stream.insert(stream.end(), r.begin(), r.end());
        if (random() % 8 == 0) stream.push_back(static_cast<uint8_t>(random()));
    }
    return stream;
}

void ScanInChunks(benchmark::State& state, const Bytes& stream) {
    size_t frames = 0;
    ReplyScanner scanner([&](ByteSpan) { ++frames; });
    const size_t chunk = static_cast<size_t>(state.range(0));
    for (auto _ : state) {
        for (size_t at = 0; at < stream.size(); at += chunk)
            scanner.ScanFrames(ByteSpan(stream).subspan(at, std::min(chunk, stream.size() - at)), 0);
    }
    benchmark::DoNotOptimize(frames);
    state.SetBytesProcessed(static_cast<int64_t>(state.iterations() * stream.size()));
}

void BM_ScanReplies(benchmark::State& state) {
    static const Bytes stream = ReplyStream();
    ScanInChunks(state, stream);
}
BENCHMARK(BM_ScanReplies)->Arg(2048)->Arg(64);

// The worst the line can do: handshakes everywhere, promising long frames.
void BM_ScanHostileNoise(benchmark::State& state) {
    static const Bytes stream = [] {
        std::mt19937 random(11);
        Bytes s(1 << 20);
        for (size_t i = 0; i < s.size(); ++i) s[i] = static_cast<uint8_t>(random());
        for (size_t i = 5; i + 1 < s.size(); i += 9) {
            s[i - 4] = 0x13;
            s[i] = 0x55;
            s[i + 1] = 0xAA;
        }
        return s;
    }();
    ScanInChunks(state, stream);
}
BENCHMARK(BM_ScanHostileNoise)->Arg(2048);

void BM_ValidateTelemetry(benchmark::State& state) {
    const Bytes reply = Reply(0x83, 96);
    ReplyLayouts layouts;
    const ReplyContext context{1, true};
    for (auto _ : state) benchmark::DoNotOptimize(ValidateReply(reply, context, layouts));
}
BENCHMARK(BM_ValidateTelemetry);

}  // namespace
}  // namespace tarvel
