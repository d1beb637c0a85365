// One request and its reply through the serial component, a pseudo-terminal
// and a simulated module. A reply ends its chunk only after the read interval
// of silence, so the interval is the floor of every round trip.
#include <benchmark/benchmark.h>

#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
#include "link/SerialComm.h"
#include "tests/link/GuiQueueFixture.h"
#include "tools/bms-sim/SimLink.h"

namespace tarvel {
namespace {

using namespace std::chrono_literals;

void BM_TelemetryRoundTrip(benchmark::State& state) {
    sim::SimConfig config;
    config.baud = static_cast<uint32_t>(state.range(1));
    sim::SimLink link(config);
    if (!link.Start()) {
        state.SkipWithError("no pseudo-terminal");
        return;
    }
    testing::GuiQueue gui;
    TComm comm(gui.Poster());
    comm.SetCommName(link.DevicePath());
    CommTimeouts timeouts;
    timeouts.readInterval = static_cast<uint32_t>(state.range(0));
    comm.SetTimeouts(timeouts);
    size_t frames = 0;
    ReplyScanner scanner([&](ByteSpan) { ++frames; });
    comm.OnReceiveData = [&](TComm&, const uint8_t* b, uint16_t n, uint32_t arrivedMs) {
        scanner.ScanFrames(ByteSpan(b, n), arrivedMs);
    };
    comm.StartComm();
    const std::vector<uint8_t> query = BuildRequest(0, 0x03);
    for (auto _ : state) {
        const size_t before = frames;
        comm.WriteCommData(query.data(), static_cast<uint16_t>(query.size()));
        if (!gui.RunUntil([&] { return frames > before; }, 5000ms)) {
            state.SkipWithError("no reply");
            break;
        }
    }
    comm.StopComm();
}
// {read interval ms, baud}: the tool's 100 ms with the module at 9600 and unpaced,
// and a short interval to show the rest of the path.
BENCHMARK(BM_TelemetryRoundTrip)
    ->Args({100, 9600})
    ->Args({100, 0})
    ->Args({2, 0})
    ->Unit(benchmark::kMillisecond)
    ->UseRealTime();

}  // namespace
}  // namespace tarvel
