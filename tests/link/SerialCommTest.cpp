#include "link/SerialComm.h"

#include <termios.h>

#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "link/DeviceFrame.h"
#include "link/ReplyScanner.h"
#include "platform/base/Ticks.h"
#include "platform/serial/PseudoTerminal.h"
#include "tests/link/GuiQueueFixture.h"

namespace tarvel {
namespace {

using namespace std::chrono_literals;
using Bytes = std::vector<uint8_t>;

// Reads what the component wrote, from the far end.
Bytes ReadFromMaster(PseudoTerminal& pty, size_t want, std::chrono::milliseconds timeout = 2000ms) {
    Bytes got;
    const auto deadline = std::chrono::steady_clock::now() + timeout;
    while (got.size() < want && std::chrono::steady_clock::now() < deadline) {
        if (pty.WaitReadable(nullptr, 20ms) != WaitResult::Ready) continue;
        uint8_t buf[4096];
        const std::optional<size_t> n = pty.ReadSome(buf, sizeof buf);
        if (n) got.insert(got.end(), buf, buf + *n);
    }
    return got;
}

class SerialCommTest : public ::testing::Test {
protected:
    void SetUp() override {
        ASSERT_TRUE(pty_.Open());
        comm_.SetCommName(pty_.SlavePath());
        comm_.OnReceiveData = [this](TComm&, const uint8_t* b, uint16_t n, uint32_t) {
            chunks_.emplace_back(b, b + n);
        };
        comm_.OnRequestHangup = [this](TComm&) { ++hangups_; };
        comm_.OnSendDataEmpty = [this](TComm&) { ++emptyNotices_; };
    }
    void TearDown() override { comm_.StopComm(); }

    size_t Received() const {
        size_t n = 0;
        for (const Bytes& c : chunks_) n += c.size();
        return n;
    }

    testing::GuiQueue gui_;
    PseudoTerminal pty_;
    TComm comm_{gui_.Poster()};
    std::vector<Bytes> chunks_;
    int hangups_ = 0;
    int emptyNotices_ = 0;
};

TEST_F(SerialCommTest, ContinuousBytesComeAsChunksOf2048AndTheRest) {
    comm_.StartComm();
    Bytes data(3000);
    for (size_t i = 0; i < data.size(); ++i) data[i] = static_cast<uint8_t>(i * 13);
    ASSERT_EQ(pty_.WriteAll(data.data(), data.size()), WaitResult::Ready);
    ASSERT_TRUE(gui_.RunUntil([&] { return Received() == 3000; }, 3000ms));
    ASSERT_EQ(chunks_.size(), 2u);
    EXPECT_EQ(chunks_[0].size(), 2048u);
    EXPECT_EQ(chunks_[1].size(), 952u);
    Bytes joined = chunks_[0];
    joined.insert(joined.end(), chunks_[1].begin(), chunks_[1].end());
    EXPECT_EQ(joined, data);
}

TEST_F(SerialCommTest, APauseOverTheReadIntervalSplitsAChunk) {
    comm_.StartComm();
    const Bytes part(10, 0x42);
    pty_.WriteAll(part.data(), part.size());
    std::this_thread::sleep_for(150ms);
    pty_.WriteAll(part.data(), part.size());
    ASSERT_TRUE(gui_.RunUntil([&] { return Received() == 20; }, 2000ms));
    gui_.RunFor(150ms);
    ASSERT_EQ(chunks_.size(), 2u);
    EXPECT_EQ(chunks_[0].size(), 10u);

    // A shorter pause keeps the bytes together.
    chunks_.clear();
    pty_.WriteAll(part.data(), part.size());
    std::this_thread::sleep_for(20ms);
    pty_.WriteAll(part.data(), part.size());
    ASSERT_TRUE(gui_.RunUntil([&] { return Received() == 20; }, 2000ms));
    gui_.RunFor(150ms);
    EXPECT_EQ(chunks_.size(), 1u);
}

// Bytes on the line count as undelivered until the window's queue has
// handed them on, wherever they wait meanwhile.
TEST_F(SerialCommTest, BytesAreUndeliveredUntilTheWindowHasThem) {
    comm_.StartComm();
    EXPECT_EQ(comm_.Undelivered(), 0u);
    const Bytes part(10, 0x42);
    pty_.WriteAll(part.data(), part.size());
    // Nothing runs the window's queue: the bytes wait in the driver, the
    // reader's chunk or the queue.
    const auto deadline = std::chrono::steady_clock::now() + 2000ms;
    while (comm_.Undelivered() != 10 && std::chrono::steady_clock::now() < deadline)
        std::this_thread::sleep_for(1ms);
    EXPECT_EQ(comm_.Undelivered(), 10u);
    ASSERT_TRUE(gui_.RunUntil([&] { return Received() == 10; }, 2000ms));
    EXPECT_EQ(comm_.Undelivered(), 0u);
}

TEST_F(SerialCommTest, FlowControlBytesPassBothWays) {
    comm_.StartComm();
    const Bytes data{0x11, 0x13, 0x55, 0xAA, 0x13, 0x11, 0x00, 0x0D, 0x0A, 0x03, 0x7F};
    ASSERT_TRUE(comm_.WriteCommData(data.data(), static_cast<uint16_t>(data.size())));
    EXPECT_EQ(ReadFromMaster(pty_, data.size()), data);
    pty_.WriteAll(data.data(), data.size());
    ASSERT_TRUE(gui_.RunUntil([&] { return Received() == data.size(); }, 2000ms));
    EXPECT_EQ(chunks_[0], data);
}

TEST_F(SerialCommTest, LineIsRawEightNoneOneWithoutOutputXonXoff) {
    comm_.StartComm();
    termios tio{};
    // The master reports the slave's settings.
    ASSERT_EQ(::tcgetattr(pty_.MasterFd(), &tio), 0);
    EXPECT_EQ(tio.c_cflag & CSIZE, static_cast<tcflag_t>(CS8));
    EXPECT_EQ(tio.c_cflag & (PARENB | CSTOPB | CRTSCTS), 0u);
    EXPECT_EQ(tio.c_iflag & IXON, 0u);
    EXPECT_NE(tio.c_iflag & IXOFF, 0u);
    EXPECT_EQ(tio.c_lflag & (ICANON | ECHO | ISIG), 0u);
    EXPECT_EQ(tio.c_oflag & OPOST, 0u);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B9600));

    comm_.SetBaudRate(19200);  // applied at once while open
    ASSERT_EQ(::tcgetattr(pty_.MasterFd(), &tio), 0);
    EXPECT_EQ(::cfgetospeed(&tio), static_cast<speed_t>(B19200));
}

TEST_F(SerialCommTest, StartErrorsHaveTheirTexts) {
    const auto messageOf = [](const std::function<void()>& f) -> std::string {
        try {
            f();
        } catch (const ECommsError& e) {
            return e.Message();
        }
        return "";
    };
    comm_.StartComm();
    EXPECT_EQ(messageOf([&] { comm_.StartComm(); }), "This serial port already opened");
    EXPECT_TRUE(comm_.Active());

    TComm other(gui_.Poster());
    other.SetCommName(pty_.SlavePath());
    EXPECT_EQ(messageOf([&] { other.StartComm(); }),
              "Error opening serial port (" + pty_.SlavePath() + "): it is in use by another program");
    other.SetCommName("/dev/does-not-exist");
    EXPECT_EQ(messageOf([&] { other.StartComm(); }),
              "Error opening serial port (/dev/does-not-exist): No such file or directory");
    other.SetCommName("//./COM250");
    EXPECT_EQ(messageOf([&] { other.StartComm(); }),
              "Error opening serial port (/dev/ttyS249): No such file or directory");
    other.SetCommName("/dev/null");
    EXPECT_EQ(messageOf([&] { other.StartComm(); }), "File handle is not a comm handle ");
    EXPECT_FALSE(other.Active());

    comm_.StopComm();
    comm_.SetBaudRate(12345);
    EXPECT_EQ(messageOf([&] { comm_.StartComm(); }),
              "Cannot set comm state (" + pty_.SlavePath() + ": baud rate 12345 is not supported)");
    EXPECT_FALSE(comm_.Active());
    comm_.SetBaudRate(9600);
    comm_.StartComm();
    EXPECT_EQ(messageOf([&] { comm_.SetBaudRate(7); }),
              "Cannot set comm state (" + pty_.SlavePath() + ": baud rate 7 is not supported)");
    EXPECT_FALSE(comm_.Active());
}

TEST_F(SerialCommTest, ClosingTheFarEndIsAHangUp) {
    comm_.StartComm();
    pty_.Close();
    ASSERT_TRUE(gui_.RunUntil([&] { return hangups_ == 1; }, 2000ms));
    EXPECT_TRUE(comm_.Failed());
    const uint8_t byte = 1;
    EXPECT_FALSE(comm_.WriteCommData(&byte, 1));
    comm_.StopComm();
    EXPECT_FALSE(comm_.Active());
    gui_.RunFor(50ms);
    EXPECT_EQ(hangups_, 1);
}

TEST_F(SerialCommTest, WritesAreRefusedWhenClosedOrEmpty) {
    const uint8_t byte = 1;
    EXPECT_FALSE(comm_.WriteCommData(&byte, 1));
    comm_.StartComm();
    EXPECT_FALSE(comm_.WriteCommData(&byte, 0));
    EXPECT_TRUE(comm_.WriteCommData(&byte, 1));
    comm_.StopComm();
    EXPECT_FALSE(comm_.WriteCommData(&byte, 1));
}

TEST_F(SerialCommTest, SendQueueEmptyIsReported) {
    comm_.StartComm();
    ASSERT_TRUE(gui_.RunUntil([&] { return emptyNotices_ == 1; }, 1000ms));  // once at the start
    const Bytes frame{0x00, 0x00, 0x04, 0x01, 0x03, 0x55, 0xAA, 0x07};
    comm_.WriteCommData(frame.data(), 8);
    comm_.WriteCommData(frame.data(), 8);
    EXPECT_EQ(ReadFromMaster(pty_, 16).size(), 16u);
    ASSERT_TRUE(gui_.RunUntil([&] { return emptyNotices_ >= 2 && comm_.SendQueueEmpty(); }, 1000ms));
}

TEST_F(SerialCommTest, StopJoinsWhileTheWriterIsBlocked) {
    comm_.StartComm();
    // Nobody reads the far end: the writer ends up waiting for room.
    const Bytes block(60000, 0x5A);
    for (int i = 0; i < 4; ++i) comm_.WriteCommData(block.data(), static_cast<uint16_t>(block.size()));
    std::this_thread::sleep_for(100ms);
    EXPECT_FALSE(comm_.SendQueueEmpty());
    const auto start = std::chrono::steady_clock::now();
    comm_.StopComm();
    EXPECT_LT(std::chrono::steady_clock::now() - start, 1000ms);
    EXPECT_TRUE(comm_.SendQueueEmpty());
}

TEST_F(SerialCommTest, ChunksOfAStoppedSessionAreDropped) {
    comm_.StartComm();
    const Bytes data(5, 0x33);
    pty_.WriteAll(data.data(), data.size());
    std::this_thread::sleep_for(250ms);  // delivered to the queue, not yet run
    comm_.StopComm();
    gui_.RunPending();
    EXPECT_TRUE(chunks_.empty());

    // A new session works as before.
    comm_.StartComm();
    pty_.WriteAll(data.data(), data.size());
    EXPECT_TRUE(gui_.RunUntil([&] { return Received() == 5; }, 2000ms));
}

TEST_F(SerialCommTest, ComponentGoneBeforeItsTasksRun) {
    auto comm = std::make_unique<TComm>(gui_.Poster());
    comm->SetCommName(pty_.SlavePath());
    int seen = 0;
    comm->OnReceiveData = [&](TComm&, const uint8_t*, uint16_t, uint32_t) { ++seen; };
    comm->StartComm();
    const uint8_t byte = 7;
    pty_.WriteAll(&byte, 1);
    std::this_thread::sleep_for(250ms);
    comm.reset();
    gui_.RunPending();
    EXPECT_EQ(seen, 0);
}

// The scanner judges a held half reply by when its bytes came, however late
// the GUI thread gets to the chunks.
TEST_F(SerialCommTest, ChunksCarryTheTickTheirBytesCameAt) {
    std::atomic<uint32_t> clock{0};
    SetTickSource([&] { return clock.load(); });
    struct RestoreTicks {
        ~RestoreTicks() { SetTickSource(nullptr); }
    } restore;
    const auto waitQueued = [&](size_t n) {
        for (int i = 0; i < 200 && gui_.Queued() < n; ++i) std::this_thread::sleep_for(10ms);
        return gui_.Queued() == n;
    };
    const Bytes reply = BuildFrame(1, 0x83, Bytes(40, 0x5A));
    const size_t half = reply.size() / 2;
    struct Case {
        uint32_t restCameAt;
        size_t framesFound;
    };
    for (const Case c : {Case{900, 1}, Case{1100, 0}}) {
        size_t frames = 0;
        ReplyScanner scanner([&](ByteSpan) { ++frames; });
        comm_.OnReceiveData = [&](TComm&, const uint8_t* b, uint16_t n, uint32_t arrivedMs) {
            scanner.ScanFrames(ByteSpan(b, n), arrivedMs);
        };
        clock = 10'000;
        const int notices = emptyNotices_;
        comm_.StartComm();
        ASSERT_TRUE(gui_.RunUntil([&] { return emptyNotices_ > notices; }, 1000ms));
        ASSERT_EQ(pty_.WriteAll(reply.data(), half), WaitResult::Ready);
        ASSERT_TRUE(waitQueued(1));
        clock = 10'000 + c.restCameAt;
        ASSERT_EQ(pty_.WriteAll(reply.data() + half, reply.size() - half), WaitResult::Ready);
        ASSERT_TRUE(waitQueued(2));
        clock = 60'000;  // the GUI thread was busy for most of a minute
        gui_.RunPending();
        EXPECT_EQ(frames, c.framesFound) << "rest after " << c.restCameAt << " ms";
        comm_.StopComm();
    }
}

}  // namespace
}  // namespace tarvel
