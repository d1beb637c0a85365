#include "platform/serial/SerialStream.h"

#include <gtest/gtest.h>

#include <functional>
#include <future>
#include <thread>

#include "platform/serial/PseudoTerminal.h"
#include "platform/serial/SerialPort.h"

namespace tarvel {
namespace {

using namespace std::chrono_literals;
using Clock = std::chrono::steady_clock;
using Bytes = std::vector<uint8_t>;

// A port on the slave side of a pseudo-terminal whose master we hold.
struct Line {
    PseudoTerminal pty;
    SerialPort port;
    explicit Line(bool keepSlaveOpen = true) {
        EXPECT_TRUE(pty.Open(keepSlaveOpen));
        EXPECT_EQ(port.Open(pty.SlavePath()), SerialPort::OpenResult::Ok);
    }
};

Bytes Pattern(size_t size) {
    Bytes bytes(size);
    for (size_t i = 0; i < size; ++i) bytes[i] = static_cast<uint8_t>(i * 7 + i / 251);
    return bytes;
}

// Everything that comes on `from` until `want` bytes are in or a second passes.
Bytes ReadAll(SerialStream& from, size_t want) {
    Bytes got;
    uint8_t buffer[4096];
    const auto deadline = Clock::now() + 1s;
    while (got.size() < want && Clock::now() < deadline) {
        if (from.WaitReadable(nullptr, 100ms) != WaitResult::Ready) continue;
        const std::optional<size_t> n = from.ReadSome(buffer, sizeof buffer);
        if (!n) break;
        got.insert(got.end(), buffer, buffer + *n);
    }
    return got;
}

// Nobody reads the master: a large block fills the line and the writer waits for room.
const Bytes kFlood = Pattern(1 << 20);

struct Waiter {
    const char* what;
    std::function<WaitResult(Line&, StopEvent&, WaitTime)> wait;
};

const Waiter kWaiters[] = {
    {"read wait", [](Line& l, StopEvent& stop, WaitTime t) { return l.port.WaitReadable(&stop, t); }},
    {"write-all", [](Line& l, StopEvent& stop,
                     WaitTime t) { return l.port.WriteAll(kFlood.data(), kFlood.size(), &stop, t); }},
    {"event set",
     [](Line& l, StopEvent& stop, WaitTime t) {
         EventSet set(&stop);
         set.Add(l.port);
         return set.Wait(t);
     }},
    {"stop event", [](Line&, StopEvent& stop,
                      WaitTime t) { return stop.Wait(t) ? WaitResult::Stopped : WaitResult::TimedOut; }},
};

TEST(SerialStream, StopWakesAWaiterAtOnce) {
    for (const Waiter& w : kWaiters) {
        Line line;
        StopEvent stop;
        ASSERT_TRUE(stop.Valid());
        auto result = std::async(std::launch::async, [&] { return w.wait(line, stop, std::nullopt); });
        EXPECT_EQ(result.wait_for(100ms), std::future_status::timeout) << w.what;
        const auto signalled = Clock::now();
        stop.Signal();
        ASSERT_EQ(result.wait_for(1s), std::future_status::ready) << w.what;
        EXPECT_LT(Clock::now() - signalled, 200ms) << w.what;
        EXPECT_EQ(result.get(), WaitResult::Stopped) << w.what;

        // A stop given before the wait is not missed; once cleared it no longer stops.
        EXPECT_EQ(w.wait(line, stop, std::nullopt), WaitResult::Stopped) << w.what;
        stop.Clear();
        EXPECT_FALSE(stop.IsSignalled());
    }
}

TEST(SerialStream, TimeOutExpires) {
    for (const Waiter& w : kWaiters) {
        Line line;
        StopEvent stop;
        const auto start = Clock::now();
        EXPECT_EQ(w.wait(line, stop, 80ms), WaitResult::TimedOut) << w.what;
        const auto took = Clock::now() - start;
        EXPECT_GE(took, 80ms) << w.what;
        EXPECT_LT(took, 1s) << w.what;
    }
}

TEST(SerialStream, WriteAllPassesALargeBlockThroughAPseudoTerminal) {
    const Bytes block = Pattern(300'000);
    for (const bool fromPort : {true, false}) {
        Line line;
        SerialStream& writer = fromPort ? static_cast<SerialStream&>(line.port) : line.pty;
        SerialStream& reader = fromPort ? static_cast<SerialStream&>(line.pty) : line.port;
        auto written =
            std::async(std::launch::async, [&] { return writer.WriteAll(block.data(), block.size()); });
        EXPECT_EQ(ReadAll(reader, block.size()), block) << (fromPort ? "port to master" : "master to port");
        EXPECT_EQ(written.get(), WaitResult::Ready);
    }
}

TEST(SerialStream, EventSetTellsWhichLinesAreReadable) {
    Line lines[3];
    StopEvent stop;
    EventSet set(&stop);
    for (Line& l : lines) set.Add(l.port);
    EXPECT_EQ(set.Wait(0ms), WaitResult::TimedOut);

    const uint8_t byte = 0x55;
    ASSERT_EQ(lines[0].pty.WriteAll(&byte, 1), WaitResult::Ready);
    ASSERT_EQ(lines[2].pty.WriteAll(&byte, 1), WaitResult::Ready);
    const auto bothIn = [&] {
        return set.Wait(1s) == WaitResult::Ready && set.Readable(0) && set.Readable(2);
    };
    for (int i = 0; i < 50 && !bothIn(); ++i) std::this_thread::sleep_for(5ms);
    EXPECT_TRUE(set.Readable(0));
    EXPECT_FALSE(set.Readable(1));
    EXPECT_TRUE(set.Readable(2));
    for (size_t i = 0; i < 3; ++i) EXPECT_FALSE(set.HungUp(i)) << i;

    lines[1].pty.Close();
    ASSERT_EQ(set.Wait(1s), WaitResult::Ready);
    EXPECT_TRUE(set.HungUp(1));
    EXPECT_FALSE(set.HungUp(0));
    EXPECT_TRUE(set.Readable(0));

    stop.Signal();  // wins over lines with news
    EXPECT_EQ(set.Wait(1s), WaitResult::Stopped);
}

TEST(SerialStream, HangUpOfTheOtherEndIsReported) {
    {
        Line line;
        line.pty.Close();
        EXPECT_EQ(line.port.WaitReadable(nullptr, 1s), WaitResult::HungUp);
        uint8_t byte = 0;
        EXPECT_FALSE(line.port.ReadSome(&byte, 1));
        EXPECT_EQ(line.port.WriteAll(&byte, 1), WaitResult::HungUp);
    }
    {
        // The master hears of it when nobody else holds the slave open.
        Line line(false);
        line.port.Close();
        EXPECT_EQ(line.pty.WaitReadable(nullptr, 1s), WaitResult::HungUp);
        EXPECT_EQ(line.port.WaitReadable(nullptr, 1s), WaitResult::HungUp);  // a closed line
    }
}

}  // namespace
}  // namespace tarvel
