#include "link/ReplyScanner.h"

#include "link/DeviceFrame.h"
#include "platform/base/Ticks.h"

namespace tarvel {

namespace {

constexpr uint32_t kMinLength = frame::kAckLength;
constexpr uint32_t kMaxLength = frame::kMaxFrame - frame::kOverhead;
constexpr size_t kHeader = frame::kHandshake2 + 1;

enum class Candidate { None, Incomplete, Frame };

// Running sums modulo 256, so each candidate's checksum costs two lookups.
struct Sums {
    std::vector<uint8_t> prefix;
    explicit Sums(const std::vector<uint8_t>& bytes) : prefix(bytes.size() + 1, 0) {
        for (size_t i = 0; i < bytes.size(); ++i) prefix[i + 1] = static_cast<uint8_t>(prefix[i] + bytes[i]);
    }
    uint8_t Of(size_t from, size_t to) const { return static_cast<uint8_t>(prefix[to] - prefix[from]); }
};

// Whether a frame may start at `at`, with its size in `frameSize`.
Candidate Examine(const std::vector<uint8_t>& buf, const Sums& sums, size_t at, size_t& frameSize) {
    const size_t held = buf.size() - at;
    const uint8_t* p = buf.data() + at;
    if (held > frame::kHandshake1 && p[frame::kHandshake1] != frame::kHandshakeByte1) return Candidate::None;
    if (held > frame::kHandshake2 && p[frame::kHandshake2] != frame::kHandshakeByte2) return Candidate::None;
    if (held > frame::kLengthLow) {
        const uint32_t length = FrameLengthField(p);
        if (length < kMinLength || length > kMaxLength) return Candidate::None;
        frameSize = length + frame::kOverhead;
    } else if (held > frame::kLengthHigh) {
        if ((uint32_t{p[frame::kLengthHigh]} << 8) > kMaxLength) return Candidate::None;
    }
    if (held < kHeader || frameSize > held) return Candidate::Incomplete;
    const size_t last = at + frameSize - 1;
    return sums.Of(at + 1, last) == buf[last] ? Candidate::Frame : Candidate::None;
}

}  // namespace

ReplyScanner::ReplyScanner(FrameHandler onFrame, SkipTrace onSkip)
    : onFrame_(std::move(onFrame)), onSkip_(std::move(onSkip)) {}

void ReplyScanner::ScanFrames(ByteSpan chunk, uint32_t nowMs) {
    if (chunk.empty()) return;
    queued_.push_back(Chunk{std::vector<uint8_t>(chunk.begin(), chunk.end()), nowMs});
    if (scanning_) return;
    scanning_ = true;
    struct Guard {
        bool& flag;
        ~Guard() { flag = false; }
    } guard{scanning_};
    while (!queued_.empty()) {
        Chunk chunk = std::move(queued_.front());
        queued_.pop_front();
        ScanChunk(std::move(chunk));
    }
}

void ReplyScanner::Reset() {
    Skip(tail_.data(), tail_.size());
    tail_.clear();
    queued_.clear();
    ++generation_;
}

void ReplyScanner::Skip(const uint8_t* bytes, size_t count) {
    if (count == 0) return;
    skipped_ += count;
    if (onSkip_) onSkip_(ByteSpan(bytes, count));
}

void ReplyScanner::ScanChunk(Chunk chunk) {
    const uint64_t generation = generation_;
    std::vector<uint8_t> buf;
    if (!tail_.empty() && TicksSince(tailTime_, chunk.time) > kTailTimeoutMs) {
        Skip(tail_.data(), tail_.size());
        tail_.clear();
    }
    if (tail_.empty()) {
        buf = std::move(chunk.bytes);
    } else {
        buf = std::move(tail_);
        tail_.clear();
        buf.insert(buf.end(), chunk.bytes.begin(), chunk.bytes.end());
    }

    const Sums sums(buf);
    size_t consumed = 0;  // end of the last frame taken
    size_t keepFrom = buf.size();
    size_t at = 0;
    while (at < buf.size()) {
        size_t frameSize = 0;
        switch (Examine(buf, sums, at, frameSize)) {
            case Candidate::Frame:
                Skip(buf.data() + consumed, at - consumed);
                ++frames_;
                onFrame_(ByteSpan(buf.data() + at, frameSize));
                at += frameSize;
                consumed = at;
                keepFrom = buf.size();
                // The handler closed the port: the rest of the chunk is not handed on.
                if (generation != generation_) {
                    Skip(buf.data() + at, buf.size() - at);
                    return;
                }
                continue;
            case Candidate::Incomplete:
                if (keepFrom == buf.size()) keepFrom = at;
                break;
            case Candidate::None: break;
        }
        ++at;
    }
    Skip(buf.data() + consumed, keepFrom - consumed);
    if (keepFrom < buf.size() && generation == generation_) {
        tail_.assign(buf.begin() + static_cast<std::ptrdiff_t>(keepFrom), buf.end());
        tailTime_ = chunk.time;
    } else if (keepFrom < buf.size()) {
        Skip(buf.data() + keepFrom, buf.size() - keepFrom);
    }
}

}  // namespace tarvel
