#include "platform/system/ResourceModule.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <functional>

#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "tests/platform/system/PeBuilderFixture.h"

namespace tarvel {
namespace {

using Bytes = std::vector<uint8_t>;
using tarvel::testing::PeBuilder;

const Bytes kNormal{'B', 'M', 1, 2, 3};
const Bytes kSeven{7, 7, 7};
const Bytes kArrow{0xA0, 0xA1};
const Bytes kText{'[', 'x', ']', 0};
const Bytes kColours{'B', 0, 'l', 0, 0, 0};
const Bytes kEmpty{};

PeBuilder SampleModule(bool pe32Plus) {
    PeBuilder b(pe32Plus);
    b.Add(RT_BITMAP, "NORMAL_BMP", kNormal)
        .Add(RT_BITMAP, uint16_t{7}, kSeven)
        .Add(RT_BITMAP, "Glyph.Arrow", kArrow)
        .Add(RT_BITMAP, "EMPTY", kEmpty)
        .Add("TEXTFILE", "NORMAL", kText)
        .Add("COLORNAMES", uint16_t{1}, kColours);
    return b;
}

struct Lookup {
    ResourceId type;
    ResourceId name;
    std::optional<Bytes> expected;
};

class ResourceModuleKinds : public ::testing::TestWithParam<bool> {};

TEST_P(ResourceModuleKinds, FindsResourcesByNumberAndByNameOfAnyCase) {
    PeBuilder builder = SampleModule(GetParam());
    ResourceModule module;
    ASSERT_TRUE(module.Open(builder.Build()));
    const Lookup cases[] = {
        {RT_BITMAP, "NORMAL_BMP", kNormal},
        {RT_BITMAP, "normal_bmp", kNormal},
        {"#2", "Normal_Bmp", kNormal},
        {RT_BITMAP, uint16_t{7}, kSeven},
        {RT_BITMAP, "#7", kSeven},
        {RT_BITMAP, "#00007", kSeven},
        {RT_BITMAP, "GLYPH.ARROW", kArrow},
        {RT_BITMAP, "EMPTY", kEmpty},
        {"textfile", "normal", kText},
        {"COLORNAMES", "#1", kColours},
        // missing
        {RT_BITMAP, "#8", std::nullopt},
        {RT_BITMAP, "NORMAL", std::nullopt},
        {RT_BITMAP, "NORMAL_BMPX", std::nullopt},
        {RT_BITMAP, "7", std::nullopt},       // a name, not the number
        {RT_BITMAP, "#70000", std::nullopt},  // past 16 bits: a name
        {RT_BITMAP, "#", std::nullopt},
        {RT_BITMAP, "", std::nullopt},
        {uint16_t{3}, "NORMAL_BMP", std::nullopt},
        {"BITMAP", "NORMAL_BMP", std::nullopt},  // a named type is not type 2
        {"TEXTFILE", "#1", std::nullopt},
    };
    for (const Lookup& c : cases) {
        SCOPED_TRACE(c.name.IsNumber() ? "#" + std::to_string(c.name.Number()) : WideToUtf8(c.name.Name()));
        EXPECT_EQ(module.FindResource(c.type, c.name), c.expected);
    }
}

INSTANTIATE_TEST_SUITE_P(Pe32AndPe32Plus, ResourceModuleKinds, ::testing::Values(false, true),
                         [](const auto& info) { return info.param ? "Pe32Plus" : "Pe32"; });

TEST(ResourceModule, TheFirstLanguageOfANameIsTaken) {
    PeBuilder b;
    b.Add(RT_BITMAP, "FLAG", {2}, 0x409).Add(RT_BITMAP, "FLAG", {1}, 0x407);
    ResourceModule module;
    ASSERT_TRUE(module.Open(b.Build()));
    EXPECT_EQ(module.FindResource(RT_BITMAP, "FLAG"), Bytes{1});
}

TEST(ResourceModule, OpensAFileAndRefusesWhatIsNoModule) {
    const std::string folder =
        (std::filesystem::temp_directory_path() / ("tarvel-res-" + std::to_string(::getpid()))).string();
    std::filesystem::create_directories(folder);
    const Bytes image = SampleModule(false).Build();
    WriteFileBytes(folder + "/style.msstyles", image.data(), image.size());
    WriteFileBytes(folder + "/text.txt", "MZ not a module", 15);
    WriteFileBytes(folder + "/empty.dll", "", 0);
    PeBuilder none;  // a module without resources
    Bytes bare = none.Build();
    PeBuilder::Put32(bare, none.LastLayout().resourceEntry, 0);
    WriteFileBytes(folder + "/bare.dll", bare.data(), bare.size());

    ResourceModule module;
    ASSERT_TRUE(module.Open(folder + "/style.msstyles"));
    EXPECT_EQ(module.FindResource(RT_BITMAP, "normal_bmp"), kNormal);
    for (const char* name : {"/missing.dll", "/text.txt", "/empty.dll", "/bare.dll", ""}) {
        SCOPED_TRACE(name);
        EXPECT_FALSE(module.Open(folder + name));
        EXPECT_FALSE(module.IsOpen());
        EXPECT_EQ(module.FindResource(RT_BITMAP, "NORMAL_BMP"), std::nullopt);
    }
    std::filesystem::remove_all(folder);
}

// The file offsets of the type-2 directory's first entry and of that entry's name.
struct TreeWalk {
    size_t typeEntry;  // the root's entry for RT_BITMAP
    size_t typeDir;
    size_t nameEntry;  // the first (named) entry of the bitmap directory
    size_t nameString;
    size_t nameDir;
    size_t languageEntry;
};

TreeWalk Walk(const Bytes& b, const PeBuilder::Layout& l) {
    TreeWalk w{};
    const size_t root = l.tree;
    const size_t count = b[root + 12] + b[root + 14];
    for (size_t i = 0; i < count; ++i)
        if (PeBuilder::Get32(b, root + 16 + 8 * i) == RT_BITMAP) w.typeEntry = root + 16 + 8 * i;
    w.typeDir = l.tree + (PeBuilder::Get32(b, w.typeEntry + 4) & 0x7FFFFFFF);
    w.nameEntry = w.typeDir + 16;
    w.nameString = l.tree + (PeBuilder::Get32(b, w.nameEntry) & 0x7FFFFFFF);
    w.nameDir = l.tree + (PeBuilder::Get32(b, w.nameEntry + 4) & 0x7FFFFFFF);
    w.languageEntry = w.nameDir + 16;
    return w;
}

struct Damage {
    const char* what;
    std::function<void(Bytes&, const PeBuilder::Layout&, const TreeWalk&)> apply;
    bool opens;
};

TEST(ResourceModule, DamagedModulesAnswerNothing) {
    using P = PeBuilder;
    const uint32_t kDir = 0x80000000u;
    const Damage cases[] = {
        {"new header pointer past the end", [](Bytes& b, auto&, auto&) { P::Put32(b, 0x3C, 0xFFFFFFF0u); },
         false},
        {"no PE signature", [](Bytes& b, auto& l, auto&) { b[l.peHeader + 1] = 'X'; }, false},
        {"not MZ", [](Bytes& b, auto&, auto&) { b[0] = 'Z'; }, false},
        {"optional header past the end",
         [](Bytes& b, auto& l, auto&) { P::Put16(b, l.peHeader + 20, 0xFFFF); }, false},
        {"optional header too short", [](Bytes& b, auto& l, auto&) { P::Put16(b, l.peHeader + 20, 90); },
         false},
        {"unknown optional header", [](Bytes& b, auto& l, auto&) { P::Put16(b, l.optionalHeader, 0x107); },
         false},
        {"two data directories", [](Bytes& b, auto& l, auto&) { P::Put32(b, l.resourceEntry - 20, 2); },
         false},
        {"huge section count", [](Bytes& b, auto& l, auto&) { P::Put16(b, l.peHeader + 6, 0xFFFF); }, false},
        {"section data past the end",
         [](Bytes& b, auto& l, auto&) { P::Put32(b, l.sectionTable + 20, 0xFFFFFF00u); }, false},
        {"resources outside every section",
         [](Bytes& b, auto& l, auto&) { P::Put32(b, l.resourceEntry, 0x90000); }, false},
        {"huge root entry count", [](Bytes& b, auto& l, auto&) { P::Put16(b, l.tree + 12, 0xFFFF); }, true},
        {"huge name entry count", [](Bytes& b, auto&, auto& w) { P::Put16(b, w.typeDir + 14, 0xFFFF); },
         true},
        {"type pointing at the root", [=](Bytes& b, auto&, auto& w) { P::Put32(b, w.typeEntry + 4, kDir); },
         true},
        {"name pointing at its own directory",
         [=](Bytes& b, auto& l, auto& w) {
             P::Put32(b, w.nameEntry + 4, kDir | uint32_t(w.typeDir - l.tree));
         },
         true},
        {"language pointing at the root",
         [=](Bytes& b, auto&, auto& w) { P::Put32(b, w.languageEntry + 4, kDir); }, true},
        {"subdirectory past the tree",
         [=](Bytes& b, auto&, auto& w) { P::Put32(b, w.typeEntry + 4, 0xFFFFFFFFu); }, true},
        {"data entry past the tree",
         [](Bytes& b, auto&, auto& w) { P::Put32(b, w.languageEntry + 4, 0x7FFFFFF8u); }, true},
        {"data past the end",
         [](Bytes& b, auto& l, auto&) { P::Put32(b, l.dataEntries.at("#2/EMPTY"), 0xFFFFFF00u); }, true},
        {"huge data size",
         [](Bytes& b, auto& l, auto&) { P::Put32(b, l.dataEntries.at("#2/EMPTY") + 4, 0xFFFFFFFFu); }, true},
        {"data wrapping past 4 GiB",
         [](Bytes& b, auto& l, auto&) {
             P::Put32(b, l.dataEntries.at("#2/EMPTY"), 0xFFFFFFF0u);
             P::Put32(b, l.dataEntries.at("#2/EMPTY") + 4, 0x20);
         },
         true},
        {"name longer than the tree", [](Bytes& b, auto&, auto& w) { P::Put16(b, w.nameString, 0xFFFF); },
         true},
        {"name past the tree", [](Bytes& b, auto&, auto& w) { P::Put32(b, w.nameEntry, 0xFFFFFFFFu); }, true},
    };
    for (const Damage& d : cases) {
        SCOPED_TRACE(d.what);
        PeBuilder builder;
        // One resource, so every damaged entry is the one looked up.
        builder.Add(RT_BITMAP, "EMPTY", {1, 2, 3, 4});
        Bytes image = builder.Build();
        ResourceModule module;
        ASSERT_TRUE(module.Open(image));
        ASSERT_EQ(module.FindResource(RT_BITMAP, "EMPTY"), (Bytes{1, 2, 3, 4}));
        d.apply(image, builder.LastLayout(), Walk(image, builder.LastLayout()));
        EXPECT_EQ(module.Open(image), d.opens);
        EXPECT_EQ(module.FindResource(RT_BITMAP, "EMPTY"), std::nullopt);
    }
}

// A directory of 65535 entries that all name one 65535-letter name: looking
// up a short name or a long one that differs only in its last letter never
// compares the long name 65535 times.
TEST(ResourceModule, ManyLongNamesCostOnlyTheirEntries) {
    PeBuilder builder;
    builder.Add(RT_BITMAP, "A", {1});
    Bytes image = builder.Build();
    const PeBuilder::Layout& l = builder.LastLayout();
    const TreeWalk w = Walk(image, l);
    const uint32_t dir = static_cast<uint32_t>(image.size() - l.tree);
    const uint32_t count = 0xFFFF;
    const uint32_t name = dir + 16 + 8 * count;
    image.resize(image.size() + 16 + 8 * count + 2 + 2 * 0xFFFF, 0);
    PeBuilder::Put32(image, l.tree + dir + 8, 0);
    PeBuilder::Put32(image, l.tree + dir + 12, count);  // named entries, no numbered ones
    for (uint32_t i = 0; i < count; ++i) {
        PeBuilder::Put32(image, l.tree + dir + 16 + 8 * i, 0x80000000u | name);
        PeBuilder::Put32(image, l.tree + dir + 20 + 8 * i, 0x80000000u | uint32_t(w.nameDir - l.tree));
    }
    PeBuilder::Put16(image, l.tree + name, 0xFFFF);
    for (uint32_t i = 0; i < 0xFFFF; ++i) PeBuilder::Put16(image, l.tree + name + 2 + 2 * i, 'a');
    PeBuilder::Put32(image, w.typeEntry + 4, 0x80000000u | dir);
    const uint32_t sectionSize = static_cast<uint32_t>(image.size() - l.tree);
    PeBuilder::Put32(image, l.sectionTable + 8, sectionSize);
    PeBuilder::Put32(image, l.sectionTable + 16, sectionSize);

    ResourceModule module;
    ASSERT_TRUE(module.Open(image));
    EXPECT_EQ(module.FindResource(RT_BITMAP, "A"), std::nullopt);
    EXPECT_EQ(module.FindResource(RT_BITMAP, "#1"), std::nullopt);
    EXPECT_EQ(module.FindResource(RT_BITMAP, std::string(0xFFFF, 'A')), Bytes{1});  // the first entry
    EXPECT_EQ(module.FindResource(RT_BITMAP, std::string(0xFFFE, 'A') + "B"), std::nullopt);
}

TEST(ResourceModule, SectionSizesBeyondTheFileAreCutToIt) {
    PeBuilder builder;
    builder.Add(RT_BITMAP, "A", {9, 8});
    Bytes image = builder.Build();
    PeBuilder::Put32(image, builder.LastLayout().sectionTable + 8, 0xFFFFFFFFu);   // virtual size
    PeBuilder::Put32(image, builder.LastLayout().sectionTable + 16, 0xFFFFFFFFu);  // raw size
    ResourceModule module;
    ASSERT_TRUE(module.Open(image));
    EXPECT_EQ(module.FindResource(RT_BITMAP, "A"), (Bytes{9, 8}));
}

// Every cut of the file, and every byte set to a few extremes, either still
// gives the resource's bytes or gives nothing; the sanitizers watch the reads.
TEST(ResourceModule, TruncatedOrCorruptedAnywhereNeverOverReads) {
    PeBuilder builder(true);
    builder.Add(RT_BITMAP, "SHADOW", {5, 6, 7, 8}).Add(RT_BITMAP, uint16_t{3}, {1});
    const Bytes image = builder.Build();
    ResourceModule module;
    for (size_t size = 0; size <= image.size(); ++size) {
        module.Open(Bytes(image.begin(), image.begin() + static_cast<std::ptrdiff_t>(size)));
        const auto found = module.FindResource(RT_BITMAP, "shadow");
        EXPECT_TRUE(!found || *found == (Bytes{5, 6, 7, 8})) << size;
    }
    const size_t end = builder.LastLayout().tree + 0x100;
    for (size_t at = 0; at < std::min(end, image.size()); ++at) {
        for (uint8_t value : {0x00, 0x7F, 0x80, 0xFF}) {
            Bytes damaged = image;
            damaged[at] = value;
            if (!module.Open(std::move(damaged))) continue;
            for (const ResourceId& name : {ResourceId("SHADOW"), ResourceId(uint16_t{3})}) {
                const auto found = module.FindResource(RT_BITMAP, name);
                EXPECT_TRUE(!found || found->size() <= image.size()) << at;
            }
        }
    }
}

}  // namespace
}  // namespace tarvel
