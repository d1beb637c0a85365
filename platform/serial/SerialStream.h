#pragma once
// One open end of a serial line (a device, or the master side of a
// pseudo-terminal) and the waiting on it: reading what has come, writing a
// whole block, and waiting for bytes on one or several lines at once. Every
// wait also ends when its stop event is signalled, so a thread blocked on a
// line can always be stopped and joined.

#include <cstddef>
#include <cstdint>
#include <optional>
#include <vector>

#include "platform/serial/StopEvent.h"

namespace tarvel {

enum class WaitResult : uint8_t {
    Ready,     // bytes can be read, or every byte was written
    Stopped,   // the stop event was signalled
    TimedOut,  // the time was up first
    HungUp,    // the other end hung up, or the device failed or went away; what
               // came before may still be read until ReadSome tells the end
};

class SerialStream {
public:
    SerialStream(const SerialStream&) = delete;
    SerialStream& operator=(const SerialStream&) = delete;

    bool IsOpen() const { return fd_ >= 0; }

    // Waits until bytes can be read. A stop wins over a hang-up, and a hang-up
    // over bytes that are there.
    WaitResult WaitReadable(const StopEvent* stop, WaitTime timeout) const;
    // Reads at most `max` of the bytes the driver holds, without waiting: how
    // many (0 when none have come), or nothing when the line is gone.
    std::optional<size_t> ReadSome(uint8_t* buffer, size_t max);
    // Writes every byte, waiting for room as needed; Ready once all are out.
    // The time-out covers the whole block.
    WaitResult WriteAll(const uint8_t* data, size_t count, const StopEvent* stop = nullptr,
                        WaitTime timeout = std::nullopt);

protected:
    SerialStream() = default;
    ~SerialStream() = default;

    friend class EventSet;
    int fd_ = -1;
};

// Waits on several lines and a stop event at once, then tells which lines
// have bytes to read and which have hung up.
class EventSet {
public:
    explicit EventSet(const StopEvent* stop = nullptr) : stop_(stop) {}

    // The line's index in the answers. The line must outlive the set's waits.
    size_t Add(const SerialStream& line);
    // Ready when any line has bytes or hung up; a stop wins over the lines.
    // A line that hung up may be readable too, for what came before.
    WaitResult Wait(WaitTime timeout);
    bool Readable(size_t index) const { return watches_.at(index).readable; }
    bool HungUp(size_t index) const { return watches_.at(index).hungUp; }

private:
    struct Watch {
        const SerialStream* line;
        bool readable;
        bool hungUp;
    };
    const StopEvent* stop_;
    std::vector<Watch> watches_;
};

}  // namespace tarvel
