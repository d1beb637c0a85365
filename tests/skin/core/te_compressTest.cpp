#include "skin/core/te_compress.h"

#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "skin/core/te_bitmap.h"
#include "skin/core/te_const.h"
#include "skin/core/te_utils.h"
#include "tests/TempFolderFixture.h"

namespace tarvel {
namespace {

std::vector<uint8_t> SampleData(size_t n) {
    std::vector<uint8_t> data(n);
    std::mt19937 rng(7);
    for (size_t i = 0; i < n; ++i) data[i] = static_cast<uint8_t>(i % 97 < 60 ? 'a' + i % 13 : rng() & 0xFF);
    return data;
}

std::vector<uint8_t> Bytes(TMemoryStream& s) {
    return std::vector<uint8_t>(s.Memory(), s.Memory() + s.Size());
}

std::vector<uint8_t> Compress(const std::vector<uint8_t>& data, TCompressionLevel level) {
    TMemoryStream out;
    {
        TCompressionStream z(level, out);
        z.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
        z.Finish();
    }
    return Bytes(out);
}

std::vector<uint8_t> Decompress(const std::vector<uint8_t>& packed, size_t expect) {
    TMemoryStream in;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    in.SetPosition(0);
    TDecompressionStream z(in);
    std::vector<uint8_t> out(expect + 16);
    out.resize(static_cast<size_t>(z.Read(out.data(), static_cast<int64_t>(out.size()))));
    return out;
}

struct TempDir {
    tarvel::testing::TempFolder folder;
    std::filesystem::path operator/(const char* name) const { return folder.Path() / name; }
};

void WriteFile(const std::filesystem::path& p, const std::vector<uint8_t>& data) {
    std::ofstream(p, std::ios::binary)
        .write(reinterpret_cast<const char*>(data.data()), static_cast<std::streamsize>(data.size()));
}

std::vector<uint8_t> ReadFile(const std::filesystem::path& p) {
    std::ifstream f(p, std::ios::binary);
    return std::vector<uint8_t>(std::istreambuf_iterator<char>(f), {});
}

int Python(const std::string& script) { return std::system(("python3 -c '" + script + "'").c_str()); }

TEST(CompressionStreams, HeaderBytesOfEachLevel) {
    const struct {
        TCompressionLevel level;
        uint8_t second;
    } cases[] = {{TCompressionLevel::clNone, 0x01},
                 {TCompressionLevel::clFastest, 0x01},
                 {TCompressionLevel::clDefault, 0x9C},
                 {TCompressionLevel::clMax, 0xDA}};
    const auto data = SampleData(5000);
    for (const auto& c : cases) {
        const auto packed = Compress(data, c.level);
        ASSERT_GE(packed.size(), 2u);
        EXPECT_EQ(packed[0], 0x78);
        EXPECT_EQ(packed[1], c.second) << static_cast<int>(c.level);
        EXPECT_EQ(Decompress(packed, data.size()), data);
    }
}

TEST(CompressionStreams, PythonReadsOursAndWeReadPythons) {
    TempDir dir;
    const auto data = SampleData(100000);
    WriteFile(dir / "plain.bin", data);
    for (TCompressionLevel level : {TCompressionLevel::clNone, TCompressionLevel::clFastest,
                                    TCompressionLevel::clDefault, TCompressionLevel::clMax}) {
        WriteFile(dir / "ours.z", Compress(data, level));
        const std::string check = "import zlib,sys; d=zlib.decompress(open(\"" + (dir / "ours.z").string() +
                                  "\",\"rb\").read()); sys.exit(0 if d==open(\"" +
                                  (dir / "plain.bin").string() + "\",\"rb\").read() else 3)";
        EXPECT_EQ(Python(check), 0) << static_cast<int>(level);
    }
    for (int level : {0, 1, 6, 9}) {
        const std::string make = "import zlib; open(\"" + (dir / "py.z").string() +
                                 "\",\"wb\").write(zlib.compress(open(\"" + (dir / "plain.bin").string() +
                                 "\",\"rb\").read()," + std::to_string(level) + "))";
        ASSERT_EQ(Python(make), 0);
        EXPECT_EQ(Decompress(ReadFile(dir / "py.z"), data.size()), data) << level;
    }
}

TEST(CompressionStreams, DataFollowedByJunkEndsAtTheEndOfTheZlibData) {
    const auto data = SampleData(3000);
    auto packed = Compress(data, TCompressionLevel::clDefault);
    for (int i = 0; i < 20000; ++i) packed.push_back(static_cast<uint8_t>(i * 31));
    TMemoryStream in;
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    in.SetPosition(0);
    TDecompressionStream z(in);
    std::vector<uint8_t> out(10000);
    EXPECT_EQ(z.Read(out.data(), 10000), 3000);
    out.resize(3000);
    EXPECT_EQ(out, data);
    EXPECT_EQ(z.Read(out.data(), 10), 0);
    EXPECT_THROW(z.ReadBuffer(out.data(), 1), EReadError);
}

TEST(CompressionStreams, EmptyInputStillMakesACompleteStream) {
    const auto packed = Compress({}, TCompressionLevel::clDefault);
    EXPECT_EQ(packed, (std::vector<uint8_t>{0x78, 0x9C, 0x03, 0x00, 0x00, 0x00, 0x00, 0x01}));
    EXPECT_TRUE(Decompress(packed, 0).empty());
}

TEST(CompressionStreams, CompressingSideOperations) {
    TMemoryStream out;
    TCompressionStream z(TCompressionLevel::clDefault, out);
    EXPECT_EQ(z.GetCompressionRate(), 0.0f);
    const auto data = SampleData(20000);
    z.WriteBuffer(data.data(), 20000);
    EXPECT_EQ(z.Position(), 20000);
    EXPECT_THROW(z.SetPosition(0), ECompressionError);
    EXPECT_THROW(z.Size(), ECompressionError);
    uint8_t b;
    try {
        z.Read(&b, 1);
        FAIL();
    } catch (const ECompressionError& e) {
        EXPECT_STREQ(e.what(), SInvalidStreamOp);
    }
    z.Finish();
    EXPECT_GT(z.GetCompressionRate(), 0.0f);
    EXPECT_LT(z.GetCompressionRate(), 100.0f);
}

TEST(CompressionStreams, ShortSourceGivesShortCountCorruptDataRaise) {
    const auto data = SampleData(50000);
    auto packed = Compress(data, TCompressionLevel::clDefault);
    auto cut = std::vector<uint8_t>(packed.begin(), packed.begin() + static_cast<long>(packed.size() / 2));
    const auto partial = Decompress(cut, data.size());
    EXPECT_LT(partial.size(), data.size());
    EXPECT_TRUE(std::equal(partial.begin(), partial.end(), data.begin()));

    auto corrupt = packed;
    corrupt[1] = 0x00;  // header check fails
    EXPECT_THROW(Decompress(corrupt, data.size()), EDecompressionError);
    // A preset dictionary asked for: refused as a data error.
    EXPECT_THROW(Decompress({0x78, 0xBB, 0, 0, 0, 1, 0x03, 0x00}, 10), EDecompressionError);
}

TEST(CompressionStreams, SeekingForwardRestartingAndRefusing) {
    const auto data = SampleData(30000);
    TMemoryStream in;
    in.WriteBuffer("HDR", 3);
    const auto packed = Compress(data, TCompressionLevel::clFastest);
    in.WriteBuffer(packed.data(), static_cast<int64_t>(packed.size()));
    in.SetPosition(3);  // the data begin after a header
    TDecompressionStream z(in);
    EXPECT_EQ(z.Seek(10000, soCurrent), 10000);
    uint8_t b[4];
    z.ReadBuffer(b, 4);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 4),
              std::vector<uint8_t>(data.begin() + 10000, data.begin() + 10004));
    EXPECT_EQ(z.Seek(20000, soBeginning), 20000);
    z.ReadBuffer(b, 1);
    EXPECT_EQ(b[0], data[20000]);
    EXPECT_THROW(z.Seek(5, soBeginning), EDecompressionError);
    EXPECT_THROW(z.Seek(0, soEnd), EDecompressionError);
    EXPECT_THROW(z.Seek(-1, soCurrent), EDecompressionError);
    EXPECT_THROW(z.Write(b, 1), EDecompressionError);
    EXPECT_EQ(z.Seek(0, soBeginning), 0);
    z.ReadBuffer(b, 4);
    EXPECT_EQ(std::vector<uint8_t>(b, b + 4), std::vector<uint8_t>(data.begin(), data.begin() + 4));
    EXPECT_THROW(z.Seek(40000, soBeginning), EReadError);
}

TEST(CompressionStreams, UnderlyingStreamMayBeMovedBetweenCalls) {
    const auto data = SampleData(40000);
    TMemoryStream out;
    TCompressionStream z(TCompressionLevel::clDefault, out);
    z.WriteBuffer(data.data(), 20000);
    out.SetPosition(0);
    z.WriteBuffer(data.data() + 20000, 20000);
    z.Finish();
    EXPECT_EQ(Decompress(Bytes(out), data.size()), data);
}

TEST(CompressionStreams, ProgressIsReportedPerBuffer) {
    TMemoryStream out;
    int calls = 0;
    TCompressionStream z(TCompressionLevel::clFastest, out);
    z.OnProgress = [&](TObject* sender) {
        EXPECT_EQ(sender, &z);
        ++calls;
    };
    std::vector<uint8_t> data(200000);
    std::mt19937 rng(3);
    for (uint8_t& b : data) b = static_cast<uint8_t>(rng());  // incompressible
    z.WriteBuffer(data.data(), static_cast<int64_t>(data.size()));
    EXPECT_GE(calls, 2);
}

TEST(CompressionStreams, WholeBufferHelpers) {
    EXPECT_EQ(CompressBufInitialSize(1000), 1280u);
    EXPECT_EQ(CompressBufInitialSize(0), 256u);
    const auto data = SampleData(70000);
    const auto packed = CompressBuf(data.data(), data.size());
    EXPECT_EQ(packed[1], 0xDA);
    // The first estimate is far too small: the output must grow.
    EXPECT_EQ(DecompressBuf(packed.data(), packed.size(), 10), data);
    EXPECT_EQ(DecompressBuf(packed.data(), packed.size(), 0), data);
    // Data a thousand times its packed size grows from no estimate, and any
    // estimate, short, exact or long, gives the same bytes.
    const std::vector<uint8_t> flat(1 << 20, 0x5A);
    const auto flatPacked = CompressBuf(flat.data(), flat.size());
    for (size_t estimate : {size_t{0}, size_t{1}, flat.size() - 1, flat.size(), flat.size() * 3})
        EXPECT_EQ(DecompressBuf(flatPacked.data(), flatPacked.size(), estimate), flat) << estimate;
    EXPECT_THROW(DecompressBuf(packed.data(), packed.size() / 2, 0), EDecompressionError);
    const auto none = CompressBuf(nullptr, 0);
    EXPECT_TRUE(DecompressBuf(none.data(), none.size(), 0).empty());
}

}  // namespace
}  // namespace tarvel

namespace tarvel {
namespace {

// Skin files keep their bitmaps inside the compressed body, where the stream
// cannot tell its size: claimed sizes are then checked as the bytes arrive.
TEST(CompressionStreams, BitmapsInsideCompressedData) {
    TteBitmap a;
    a.SetSize(5, 4);
    for (int i = 0; i < 20; ++i) a.Bits()[i] = 0x01010101u * i;
    a.Name = "Caption";
    TMemoryStream packed;
    {
        TCompressionStream z(TCompressionLevel::clDefault, packed);
        a.SaveToStream(z);
        z.Finish();
    }
    packed.SetPosition(0);
    TDecompressionStream z(packed);
    TteBitmap b;
    b.LoadFromStream(z);
    EXPECT_EQ(b.Name, "Caption");
    EXPECT_EQ(std::vector<uint32_t>(b.Bits(), b.Bits() + 20), std::vector<uint32_t>(a.Bits(), a.Bits() + 20));

    // A header claiming a large picture over a few bytes of data.
    TMemoryStream liar;
    {
        TCompressionStream w(TCompressionLevel::clFastest, liar);
        WriteString(w, "big");
        WriteInt32(w, 4000);
        WriteInt32(w, 4000);
        w.WriteBuffer("pixels", 6);
        w.Finish();
    }
    liar.SetPosition(0);
    TDecompressionStream r(liar);
    EXPECT_THROW(b.LoadFromStream(r), EReadError);
    EXPECT_TRUE(b.Empty());
}

}  // namespace
}  // namespace tarvel
