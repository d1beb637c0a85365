#include "link/ReplyScanner.h"

#include <gtest/gtest.h>

#include "link/DeviceFrame.h"

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;

Bytes Reply(uint8_t address, uint8_t code, size_t dataSize = 0) {
    Bytes data(dataSize + 1, 0);
    for (size_t i = 1; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 7);
    return BuildFrame(address, code, data);
}

Bytes Join(std::initializer_list<Bytes> parts) {
    Bytes all;
    for (const Bytes& p : parts) all.insert(all.end(), p.begin(), p.end());
    return all;
}

struct Collector {
    std::vector<Bytes> frames;
    ReplyScanner scanner{[this](ByteSpan f) { frames.emplace_back(f.begin(), f.end()); }};
    void Feed(const Bytes& chunk, uint32_t now = 0) { scanner.ScanFrames(chunk, now); }
};

TEST(ReplyScanner, FindsAFrameAfterGarbage) {
    Collector c;
    const Bytes reply = Reply(1, 0x83, 96);
    c.Feed(Join({{0x13, 0x55, 0xAA, 0x00, 0xFF, 0x55}, reply}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], reply);
    EXPECT_EQ(c.scanner.SkippedBytes(), 6u);
    EXPECT_EQ(c.scanner.HeldBytes(), 0u);
}

TEST(ReplyScanner, TwoFramesInOneChunkInOrder) {
    Collector c;
    const Bytes first = Reply(1, 0x81);
    const Bytes second = Reply(2, 0x95, 140);
    c.Feed(Join({first, second}));
    ASSERT_EQ(c.frames.size(), 2u);
    EXPECT_EQ(c.frames[0], first);
    EXPECT_EQ(c.frames[1], second);
    EXPECT_EQ(c.scanner.SkippedBytes(), 0u);
}

TEST(ReplyScanner, FrameSplitAtAnyPointIsJoined) {
    const Bytes reply = Join({{0x00, 0x11}, Reply(3, 0x86, 80)});
    for (size_t cut = 1; cut < reply.size(); ++cut) {
        Collector c;
        c.Feed(Bytes(reply.begin(), reply.begin() + cut), 100);
        c.Feed(Bytes(reply.begin() + cut, reply.end()), 300);
        ASSERT_EQ(c.frames.size(), 1u) << "cut " << cut;
        EXPECT_EQ(c.frames[0], Bytes(reply.begin() + 2, reply.end()));
        EXPECT_EQ(c.scanner.HeldBytes(), 0u);
        EXPECT_EQ(c.scanner.SkippedBytes(), 2u);
    }
}

TEST(ReplyScanner, FrameInThreePiecesIsJoined) {
    Collector c;
    const Bytes reply = Reply(1, 0x99, 428);
    c.Feed(Bytes(reply.begin(), reply.begin() + 3));
    c.Feed(Bytes(reply.begin() + 3, reply.begin() + 200));
    EXPECT_TRUE(c.frames.empty());
    c.Feed(Bytes(reply.begin() + 200, reply.end()));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], reply);
}

TEST(ReplyScanner, HeldTailIsDroppedAfterASecond) {
    Collector c;
    const Bytes reply = Reply(1, 0x83, 96);
    c.Feed(Bytes(reply.begin(), reply.begin() + 50), 10'000);
    EXPECT_EQ(c.scanner.HeldBytes(), 50u);
    c.Feed(Bytes(reply.begin() + 50, reply.end()), 11'001);
    EXPECT_TRUE(c.frames.empty());
    EXPECT_EQ(c.scanner.SkippedBytes() + c.scanner.HeldBytes(), reply.size());
    EXPECT_LT(c.scanner.HeldBytes(), 7u);
    // A gap of exactly one second still joins, also across the tick count's wrap.
    Collector d;
    d.Feed(Bytes(reply.begin(), reply.begin() + 50), 0xFFFFFF00u);
    d.Feed(Bytes(reply.begin() + 50, reply.end()), 0xFFFFFF00u + 1000);
    EXPECT_EQ(d.frames.size(), 1u);
}

TEST(ReplyScanner, ResetDropsTheHeldTail) {
    Collector c;
    const Bytes reply = Reply(1, 0x83, 96);
    c.Feed(Bytes(reply.begin(), reply.begin() + 40));
    c.scanner.Reset();
    EXPECT_EQ(c.scanner.HeldBytes(), 0u);
    c.Feed(Bytes(reply.begin() + 40, reply.end()));
    EXPECT_TRUE(c.frames.empty());
}

TEST(ReplyScanner, HugeLengthIsRejectedWithoutReadingPastTheBytes) {
    Collector c;
    const Bytes reply = Reply(1, 0x81);
    // L = 65535 and L = 4997 (a 5001-byte frame) are no candidates at all.
    c.Feed(Join({{0x01, 0xFF, 0xFF, 0x01, 0x81, 0x55, 0xAA, 0x00}, reply}));
    c.Feed(Join({{0x01, 0x13, 0x85, 0x01, 0x81, 0x55, 0xAA, 0x00}, reply}));
    EXPECT_EQ(c.frames.size(), 2u);
    EXPECT_EQ(c.scanner.HeldBytes(), 0u);
}

TEST(ReplyScanner, LengthsBelowFiveAreNoFrames) {
    Collector c;
    // A well-summed 8-byte frame with L = 4 is never taken: replies are 9 bytes or more.
    c.Feed(BuildRequest(1, 0x83));
    EXPECT_TRUE(c.frames.empty());
    EXPECT_LT(c.scanner.HeldBytes(), 7u);
}

TEST(ReplyScanner, HeldBytesStayBoundedUnderAFalseStart) {
    Collector c;
    // A false header promising 4996 bytes, then a long run of filler.
    c.Feed(Bytes{0x01, 0x13, 0x84, 0x01, 0x81, 0x55, 0xAA});
    const Bytes filler(1000, 0x20);
    for (int i = 0; i < 12; ++i) {
        c.Feed(filler);
        EXPECT_LT(c.scanner.HeldBytes(), 5000u);
    }
    const Bytes reply = Reply(4, 0x90, 20);
    c.Feed(reply);
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], reply);
    EXPECT_EQ(c.scanner.SkippedBytes(), 7u + 12000u);
}

TEST(ReplyScanner, WrongSumIsSkippedAndALaterFrameFound) {
    Collector c;
    Bytes bad = Reply(1, 0x89);
    bad.back() ^= 0x40;
    const Bytes good = Reply(1, 0x8A);
    c.Feed(Join({bad, good}));
    ASSERT_EQ(c.frames.size(), 1u);
    EXPECT_EQ(c.frames[0], good);
    EXPECT_EQ(c.scanner.SkippedBytes(), bad.size());
}

TEST(ReplyScanner, ChunkArrivingDuringAHandlerIsScannedAfterIt) {
    const Bytes a = Reply(1, 0x81), b = Reply(1, 0x83, 96), nested = Reply(1, 0x95, 140);
    std::vector<Bytes> order;
    ReplyScanner* self = nullptr;
    ReplyScanner scanner([&](ByteSpan f) {
        order.emplace_back(f.begin(), f.end());
        if (order.size() == 1) self->ScanFrames(nested, 0);
    });
    self = &scanner;
    const Bytes chunk = Join({a, b});
    scanner.ScanFrames(chunk, 0);
    ASSERT_EQ(order.size(), 3u);
    EXPECT_EQ(order[0], a);
    EXPECT_EQ(order[1], b);
    EXPECT_EQ(order[2], nested);
}

TEST(ReplyScanner, ResetInAHandlerEndsTheChunk) {
    const Bytes a = Reply(1, 0x81), b = Reply(1, 0x83, 96), c = Reply(1, 0x95, 140);
    std::vector<Bytes> seen;
    ReplyScanner* self = nullptr;
    ReplyScanner scanner([&](ByteSpan f) {
        seen.emplace_back(f.begin(), f.end());
        self->Reset();  // the handler closed the port
    });
    self = &scanner;
    const Bytes chunk = Join({a, b, c, {0x00, 0x01}});
    scanner.ScanFrames(chunk, 0);
    ASSERT_EQ(seen.size(), 1u);
    EXPECT_EQ(seen[0], a);
    EXPECT_EQ(scanner.HeldBytes(), 0u);
    EXPECT_EQ(scanner.SkippedBytes(), chunk.size() - a.size());
}

TEST(ReplyScanner, SkipTraceSeesTheNoise) {
    Bytes seen;
    ReplyScanner scanner([](ByteSpan) {}, [&](ByteSpan b) { seen.insert(seen.end(), b.begin(), b.end()); });
    const Bytes chunk = Join({{0xDE, 0xAD}, Reply(1, 0x81), {0xBE, 0xEF, 0x02, 0x00, 0x05, 0x01, 0x81}});
    scanner.ScanFrames(chunk, 0);
    // The last five bytes may still begin an acknowledgement and are held.
    EXPECT_EQ(seen, (Bytes{0xDE, 0xAD, 0xBE, 0xEF}));
    EXPECT_EQ(scanner.HeldBytes(), 5u);
}

}  // namespace
}  // namespace tarvel
