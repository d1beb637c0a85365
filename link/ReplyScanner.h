#pragma once
// Finds complete frames in the received byte stream. A frame is taken when
// its handshake 55 AA stands at offset 5, its Length L satisfies 5 <= L and
// L + 4 <= 5000, all its L + 4 bytes are held and its sum is right.
//
// Replies may arrive split over read chunks: the bytes at the end of a chunk
// that may still begin a frame are held (at most 4999 of them) and put in
// front of the next chunk. The held tail is dropped when more than 1 s passes
// before the next chunk, on Reset() (StopComm) and once a frame has been
// taken from it. Bytes that belong to no frame are counted and shown to the
// skip trace, never handed on as a frame.
//
// A chunk given while a frame handler runs (a modal box pumping messages) is
// queued and scanned after the current one, in arrival order. A handler that
// calls Reset() (it closed the port) ends the scan: no later frame of the
// chunk reaches a handler.

#include <cstddef>
#include <cstdint>
#include <deque>
#include <functional>
#include <vector>

#include "platform/base/LittleEndian.h"

namespace tarvel {

class ReplyScanner {
public:
    using FrameHandler = std::function<void(ByteSpan frame)>;
    using SkipTrace = std::function<void(ByteSpan bytes)>;

    static constexpr uint32_t kTailTimeoutMs = 1000;

    explicit ReplyScanner(FrameHandler onFrame, SkipTrace onSkip = {});

    // Scans one received chunk; nowMs is the tick count its bytes came at.
    void ScanFrames(ByteSpan chunk, uint32_t nowMs);
    // Drops the held tail and every queued chunk.
    void Reset();

    size_t HeldBytes() const { return tail_.size(); }
    uint64_t SkippedBytes() const { return skipped_; }
    uint64_t FramesFound() const { return frames_; }

private:
    struct Chunk {
        std::vector<uint8_t> bytes;
        uint32_t time;
    };

    void ScanChunk(Chunk chunk);
    void Skip(const uint8_t* bytes, size_t count);

    FrameHandler onFrame_;
    SkipTrace onSkip_;
    std::vector<uint8_t> tail_;
    uint32_t tailTime_ = 0;
    std::deque<Chunk> queued_;
    bool scanning_ = false;
    uint64_t generation_ = 0;
    uint64_t skipped_ = 0;
    uint64_t frames_ = 0;
};

}  // namespace tarvel
