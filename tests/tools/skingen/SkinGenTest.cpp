// The generator: the same bytes on every run, the file layout read back by
// a small reader of the test's own, and clear errors for bad sources.
#include <gtest/gtest.h>
#include <zlib.h>

#include <filesystem>
#include <fstream>
#include <random>

#include "tools/skingen/SkinGen.h"

namespace tarvel {
namespace {

const String kSources = TARVEL_SOURCE_DIR "/res/skin";
const String kBuilt = TARVEL_BINARY_DIR "/res/theme/dara.mskn";

std::vector<uint8_t> FileBytes(const String& name) {
    std::ifstream in(name, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

std::vector<uint8_t> Generate(const String& sources) {
    TSeSkinSource source(nullptr);
    BuildSkinSource(sources, source);
    TMemoryStream out;
    WriteMaximumSkin(source, out);
    const auto* p = static_cast<const uint8_t*>(out.Memory());
    return {p, p + out.Size()};
}

TEST(SkinGen, TheSameSourcesGiveTheSameBytesAsTheBuild) {
    const std::vector<uint8_t> first = Generate(kSources);
    EXPECT_EQ(first, Generate(kSources));
    EXPECT_EQ(first, FileBytes(kBuilt)) << "the build's skin differs from its sources";
}

// ---- a reader of the maximum format written for this test ----

class BodyReader {
public:
    explicit BodyReader(std::vector<uint8_t> body) : b_(std::move(body)) {}
    uint32_t U32() {
        Need(4);
        uint32_t v = 0;
        for (int i = 0; i < 4; ++i) v |= uint32_t{b_[at_ + i]} << (8 * i);
        at_ += 4;
        return v;
    }
    uint8_t U8() {
        Need(1);
        return b_[at_++];
    }
    std::string Lps() {
        const uint32_t n = U32();
        Need(n);
        std::string s(b_.begin() + static_cast<long>(at_), b_.begin() + static_cast<long>(at_ + n));
        at_ += n;
        return s;
    }
    std::vector<uint8_t> Bytes(size_t n) {
        Need(n);
        std::vector<uint8_t> v(b_.begin() + static_cast<long>(at_), b_.begin() + static_cast<long>(at_ + n));
        at_ += n;
        return v;
    }
    bool AtEnd() const { return at_ == b_.size(); }

private:
    void Need(size_t n) const {
        if (at_ + n > b_.size()) throw std::runtime_error("body cut short");
    }
    std::vector<uint8_t> b_;
    size_t at_ = 0;
};

std::vector<uint8_t> Inflate(const uint8_t* data, size_t size) {
    z_stream zs{};
    inflateInit(&zs);
    zs.next_in = const_cast<uint8_t*>(data);
    zs.avail_in = static_cast<uInt>(size);
    std::vector<uint8_t> out;
    uint8_t chunk[65536];
    int rc = Z_OK;
    while (rc == Z_OK) {
        zs.next_out = chunk;
        zs.avail_out = sizeof chunk;
        rc = inflate(&zs, Z_NO_FLUSH);
        out.insert(out.end(), chunk, chunk + (sizeof chunk - zs.avail_out));
    }
    const bool ended = rc == Z_STREAM_END && zs.avail_in == 0;
    inflateEnd(&zs);
    if (!ended) throw std::runtime_error("zlib stream damaged or followed by data");
    return out;
}

struct Image {
    std::string name;
    int32_t width, height;
    uint8_t transparent, alphaBlend;
};

TEST(SkinGen, TheFileHoldsStringsImagesObjectsAndTheThreeSections) {
    const std::vector<uint8_t> file = FileBytes(kBuilt);
    ASSERT_GT(file.size(), 11u);
    // Signature, tag, and a zlib header of the default level.
    const std::vector<uint8_t> head(file.begin(), file.begin() + 11);
    EXPECT_EQ(head, (std::vector<uint8_t>{'_', 'M', 'C', 'T', 0, 'Q', 'V', 'L', 'Z', 0x78, 0x9C}));
    BodyReader r(Inflate(file.data() + 9, file.size() - 9));

    EXPECT_EQ(r.Lps(), "Dara");
    EXPECT_EQ(r.Lps(), "1.0");
    for (int i = 0; i < 3; ++i) r.Lps();

    const uint32_t imageWord = r.U32();
    ASSERT_EQ(imageWord & 0x00FFF000u, 0x00FFF000u);
    std::vector<Image> images(imageWord & ~0x00FFF000u);
    for (Image& im : images) {
        im.name = r.Lps();
        im.width = static_cast<int32_t>(r.U32());
        im.height = static_cast<int32_t>(r.U32());
        ASSERT_GT(im.width, 0);
        ASSERT_GT(im.height, 0) << "written top row first";
        r.Bytes(static_cast<size_t>(im.width) * static_cast<size_t>(im.height) * 4);
        im.transparent = r.U8();
        im.alphaBlend = r.U8();
        EXPECT_LE(im.transparent, 1);
        EXPECT_LE(im.alphaBlend, 1);
    }
    ASSERT_FALSE(images.empty());
    const auto buttons =
        std::find_if(images.begin(), images.end(), [](const Image& i) { return i.name == "Buttons"; });
    ASSERT_NE(buttons, images.end());
    EXPECT_EQ(buttons->transparent, 1) << "caption glyphs sit on the key colour";
    for (size_t i = 1; i < images.size(); ++i)
        EXPECT_LT(images[i - 1].name, images[i].name) << "images in name order";

    const uint32_t objectWord = r.U32();
    ASSERT_EQ(objectWord & 0x00FF0000u, 0x00FF0000u) << "all three sections follow";
    std::vector<std::string> names;
    for (uint32_t i = 0; i < (objectWord & ~0x00FF0000u); ++i) {
        const std::string cls = r.Lps();
        const std::vector<uint8_t> record = r.Bytes(r.U32());
        ASSERT_GE(record.size(), 6u);
        EXPECT_EQ(std::string(record.begin(), record.begin() + 4), "TPF0");
        const size_t clsLen = record[4];
        EXPECT_EQ(std::string(record.begin() + 5, record.begin() + 5 + static_cast<long>(clsLen)), cls);
        const size_t nameLen = record[5 + clsLen];
        names.emplace_back(record.begin() + 6 + static_cast<long>(clsLen),
                           record.begin() + 6 + static_cast<long>(clsLen + nameLen));
    }
    EXPECT_NE(std::find(names.begin(), names.end(), "Form"), names.end());
    EXPECT_EQ(std::find(names.begin(), names.end(), "default"), names.end());
    EXPECT_TRUE(std::is_sorted(names.begin(), names.end())) << "objects in the order of their files";

    // Colours: 22 entries, system colours: 26, fonts: 66; each entry name, ":", value.
    const auto entries = [&](uint32_t count, const char* first) {
        for (uint32_t i = 0; i < count; ++i) {
            const std::string name = r.Lps();
            if (i == 0) {
                EXPECT_EQ(name, first);
            }
            EXPECT_EQ(r.Lps(), ":");
            EXPECT_FALSE(r.Lps().empty()) << name;
        }
    };
    EXPECT_EQ(r.U8(), 21);
    entries(22, "CaptionNormal");
    EXPECT_EQ(r.U32(), 26u);
    entries(26, "clActiveBorder");
    EXPECT_EQ(r.U8(), 65);
    entries(66, "CaptionTextNormal");
    EXPECT_TRUE(r.AtEnd());
}

// ---- bad sources ----

class SourceCopy {
public:
    SourceCopy() {
        std::random_device random;
        path_ = std::filesystem::temp_directory_path() / ("tarvel_skingen_" + std::to_string(random()));
        std::filesystem::copy(kSources, path_, std::filesystem::copy_options::recursive);
    }
    ~SourceCopy() { std::filesystem::remove_all(path_); }
    String Folder() const { return path_.string(); }
    void Append(const String& file, const String& text) const {
        std::ofstream(path_ / file, std::ios::app) << text;
    }
    void Write(const String& file, const String& text) const { std::ofstream(path_ / file) << text; }

private:
    std::filesystem::path path_;
};

TEST(SkinGen, BadSourcesNameTheFileAndLeaveTheSourceAsItWas) {
    const struct {
        const char* what;
        const char* file;
        const char* text;
        bool replace;
        const char* message;
    } cases[] = {
        {"unknown info field", "info.txt", "Colour = red\n", false, "info.txt:7: unknown field Colour"},
        {"line without '='", "info.txt", "SkinName\n", false, "info.txt:7: 'Name = value' expected"},
        {"unknown colour entry", "sections.txt", "[Colors]\nSky = #FFFFFF\n", false, "unknown colour Sky"},
        {"bad colour value", "sections.txt", "[Colors]\nHint = #12345\n", false, "not a colour: #12345"},
        {"unknown system colour", "sections.txt", "[SysColors]\nclSky = #FFFFFF\n", false,
         "unknown system colour"},
        {"unknown section", "sections.txt", "[Shapes]\nA = 1\n", false, "unknown section [Shapes]"},
        {"unknown font entry", "sections.txt", "[Fonts]\nBigText = Tahoma,8,1,0,0,0\n", false,
         "unknown font BigText"},
        {"damaged object text", "objects/Hint.txt", "object Hint: TSeBitmapObject\n  Width = \n", true,
         "Hint.txt"},
        {"unknown class", "objects/Hint.txt", "object Hint: TSeNothing\nend\n", true, "Hint.txt"},
        {"missing info", "info.txt", "", true, nullptr},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.what);
        SourceCopy copy;
        if (c.replace) {
            copy.Write(c.file, c.text);
        } else {
            copy.Append(c.file, c.text);
        }
        if (!c.message) std::filesystem::remove(copy.Folder() + "/" + c.file);
        TSeSkinSource source(nullptr);
        source.SkinName = "untouched";
        try {
            BuildSkinSource(copy.Folder(), source);
            ADD_FAILURE() << "no error";
        } catch (const Exception& e) {
            if (c.message) {
                EXPECT_NE(e.Message().find(c.message), String::npos) << e.Message();
            }
        }
        EXPECT_EQ(source.SkinName, "untouched");
        EXPECT_EQ(source.GetCount(), 0);
    }
}

TEST(SkinGen, WebColoursBecomeColourValuesOnlyAsWholeValues) {
    const struct {
        const char* in;
        const char* out;
    } cases[] = {
        {"  Color = #24707A", "  Color = 8024100"},
        {"  Font.Color = #ffffff\n  Width = 3", "  Font.Color = 16777215\n  Width = 3"},
        {"  Color = #2470", "  Color = #2470"},
        {"  Caption = 'a'#13#10", "  Caption = 'a'#13#10"},
        {"  Caption = #65#66#67#68", "  Caption = #65#66#67#68"},
    };
    for (const auto& c : cases) EXPECT_EQ(ExpandColorValues(c.in), c.out) << c.in;
}

}  // namespace
}  // namespace tarvel
