#include <gtest/gtest.h>

#include <sys/stat.h>
#include <unistd.h>

#include <chrono>
#include <cstring>
#include <filesystem>
#include <string>

#include "platform/base/Paths.h"
#include "platform/classlib/Streams.h"
#include "tests/Watchdog.h"

namespace tarvel {
namespace {

class StreamsTest : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/classlib_streams_XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string Path(const char* name) const { return dir_ + "/" + name; }

    std::string dir_;
};

TEST_F(StreamsTest, MemoryStreamSeeksFromEachOrigin) {
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    struct Case {
        int64_t offset;
        TSeekOrigin origin;
        int64_t expected;
    };
    const Case cases[] = {
        {3, soBeginning, 3}, {2, soCurrent, 5}, {-1, soEnd, 9},      {-4, soCurrent, 5},
        {0, soEnd, 10},      {5, soEnd, 15},    {-50, soCurrent, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(s.Seek(c.offset, c.origin), c.expected) << c.offset << "/" << c.origin;
    s.SetPosition(7);
    EXPECT_EQ(s.Position(), 7);
    EXPECT_EQ(s.Size(), 10);
}

TEST_F(StreamsTest, WritingPastTheEndFillsTheGapWithZeros) {
    TMemoryStream s;
    s.WriteBuffer("ab", 2);
    s.SetPosition(5);
    s.WriteBuffer("z", 1);
    ASSERT_EQ(s.Size(), 6);
    EXPECT_EQ(std::memcmp(s.Memory(), "ab\0\0\0z", 6), 0);
    s.SetSize(3);
    EXPECT_EQ(s.Position(), 3) << "the position is kept within the new size";
}

TEST_F(StreamsTest, ShortReadReturnsWhatIsThereAndReadBufferRaises) {
    TMemoryStream s;
    s.WriteBuffer("abcde", 5);
    s.SetPosition(2);
    char buf[8] = {};
    EXPECT_EQ(s.Read(buf, 8), 3);
    EXPECT_EQ(std::string(buf, 3), "cde");
    EXPECT_EQ(s.Read(buf, 8), 0);

    s.SetPosition(3);
    try {
        s.ReadBuffer(buf, 4);
        FAIL();
    } catch (const EReadError& e) {
        EXPECT_EQ(e.Message(), "Stream read error");
    }
    EXPECT_NO_THROW(s.ReadBuffer(buf, 0));
}

// A stream that takes only so many bytes, like a full disk.
class FullStream : public TStream {
public:
    explicit FullStream(int64_t room) : room_(room) {}
    int64_t Read(void*, int64_t) override { return 0; }
    int64_t Write(const void*, int64_t count) override {
        const int64_t n = std::min(count, room_);
        room_ -= n;
        return n;
    }
    int64_t Seek(int64_t, TSeekOrigin) override { return 0; }

private:
    int64_t room_;
};

TEST_F(StreamsTest, ShortWriteRaisesTheWriteError) {
    FullStream full(3);
    EXPECT_THROW(full.WriteBuffer("abcdef", 6), EWriteError);
}

TEST_F(StreamsTest, CopyFromCopiesACountOrTheWholeSource) {
    TMemoryStream source;
    source.WriteBuffer("hello world", 11);
    source.SetPosition(6);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 5), 5);
    EXPECT_EQ(std::string(reinterpret_cast<const char*>(dest.Memory()), 5), "world");

    TMemoryStream whole;
    EXPECT_EQ(whole.CopyFrom(source, 0), 11) << "count 0 copies all from the beginning";
    EXPECT_EQ(whole.Size(), 11);

    source.SetPosition(8);
    TMemoryStream tooMuch;
    EXPECT_THROW(tooMuch.CopyFrom(source, 5), EReadError);
}

TEST_F(StreamsTest, CopyFromLargerThanOneChunk) {
    TMemoryStream source;
    source.SetSize(200000);
    for (int64_t i = 0; i < source.Size(); ++i) source.Memory()[i] = static_cast<uint8_t>(i * 7);
    TMemoryStream dest;
    EXPECT_EQ(dest.CopyFrom(source, 0), 200000);
    EXPECT_EQ(std::memcmp(dest.Memory(), source.Memory(), 200000), 0);
}

TEST_F(StreamsTest, ImpossibleSizeRaisesOutOfMemory) {
    TMemoryStream s;
    EXPECT_THROW(s.SetSize(int64_t{1} << 40), EOutOfMemory);
    EXPECT_EQ(s.Size(), 0);
    s.SetPosition(int64_t{1} << 50);
    EXPECT_THROW(s.WriteBuffer("x", 1), EOutOfMemory);
}

TEST_F(StreamsTest, FileStreamModes) {
    const std::string name = Path("data.bin");
    {
        TFileStream created(name, fmCreate);
        created.WriteBuffer("0123456789", 10);
        EXPECT_EQ(created.Size(), 10);
    }
    {
        // Write without truncation, at an offset.
        TFileStream writer(name, fmOpenWrite | fmShareDenyNone);
        writer.Seek(4, soBeginning);
        writer.WriteBuffer("ab", 2);
        char c;
        EXPECT_EQ(writer.Read(&c, 1), 0) << "a write-only stream reads nothing";
    }
    {
        TFileStream reader(name, fmOpenRead);
        EXPECT_EQ(reader.Size(), 10);
        char buf[16] = {};
        EXPECT_EQ(reader.Read(buf, 16), 10);
        EXPECT_EQ(std::string(buf, 10), "0123ab6789");
        EXPECT_EQ(reader.Write("x", 1), 0) << "a read-only stream writes nothing";
        reader.SetPosition(8);
        EXPECT_EQ(reader.Seek(-20, soCurrent), 8) << "a refused seek leaves the position";
        EXPECT_THROW(reader.ReadBuffer(buf, 3), EReadError);
    }
    {
        TFileStream both(name, fmOpenReadWrite);
        both.Seek(-2, soEnd);
        both.WriteBuffer("XYZ", 3);
        EXPECT_EQ(both.Size(), 11);
        both.SetSize(4);
        EXPECT_EQ(both.Size(), 4);
        EXPECT_EQ(both.Position(), 4);
    }
}

TEST_F(StreamsTest, FileStreamOpenErrors) {
    const std::string missing = Path("missing.dat");
    try {
        TFileStream s(missing, fmOpenRead);
        FAIL();
    } catch (const EFOpenError& e) {
        EXPECT_EQ(e.Message(), "Cannot open file \"" + missing + "\". No such file or directory");
    }
    EXPECT_THROW(TFileStream(dir_, fmOpenRead), EFOpenError) << "a folder is no file";

    const std::string noFolder = Path("no/such/folder.dat");
    try {
        TFileStream s(noFolder, fmCreate);
        FAIL();
    } catch (const EFCreateError& e) {
        EXPECT_EQ(e.Message(), "Cannot create file \"" + noFolder + "\". No such file or directory");
    }
    EXPECT_FALSE(FileExists(missing)) << "opening for write never creates";
    EXPECT_THROW(TFileStream(missing, fmOpenWrite), EFOpenError);
}

TEST_F(StreamsTest, AFileStreamNeverWaitsOnAPipeOrDeviceAndKeepsToItsLimit) {
    ASSERT_EQ(::mkfifo(Path("pipe.skin").c_str(), 0600), 0);
    for (const std::string& path : {Path("pipe.skin"), std::string("/dev/zero")}) {
        SCOPED_TRACE(path);
        const testing::Watchdog watchdog(path, std::chrono::seconds(10));
        try {
            TFileStream s(path, fmOpenRead);
            ADD_FAILURE() << "opened";
        } catch (const EFOpenError& e) {
            EXPECT_EQ(e.Message(), "Cannot open file \"" + path + "\". Not a regular file");
        }
        EXPECT_THROW(TFileStream(path, fmCreate), EFCreateError);
    }
    EXPECT_TRUE(std::filesystem::is_fifo(Path("pipe.skin")));

    WriteFileText(Path("ten.bin"), "0123456789");
    EXPECT_EQ(TFileStream(Path("ten.bin"), fmOpenRead, 10).Size(), 10);
    try {
        TFileStream s(Path("ten.bin"), fmOpenRead, 9);
        ADD_FAILURE() << "opened";
    } catch (const EFileTooLarge& e) {
        EXPECT_EQ(e.Message(), FileTooLargeMessage(Path("ten.bin"), 9));
    }
    // Written, a file has no limit to keep.
    EXPECT_NO_THROW(TFileStream(Path("ten.bin"), fmOpenWrite, 9));
}

TEST_F(StreamsTest, MemoryStreamFilesRoundTrip) {
    TMemoryStream s;
    s.WriteBuffer("\x00\x01\xFF", 3);
    s.SaveToFile(Path("m.bin"));
    TMemoryStream back;
    back.WriteBuffer("old", 3);
    back.LoadFromFile(Path("m.bin"));
    ASSERT_EQ(back.Size(), 3);
    EXPECT_EQ(std::memcmp(back.Memory(), "\x00\x01\xFF", 3), 0);
    EXPECT_EQ(back.Position(), 0);
    EXPECT_THROW(back.LoadFromFile(Path("none.bin")), EFOpenError);
}

}  // namespace
}  // namespace tarvel
