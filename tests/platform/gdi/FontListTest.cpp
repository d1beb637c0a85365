#include "platform/gdi/FontList.h"

#include <gtest/gtest.h>

#include "platform/base/Strings.h"

namespace tarvel {
namespace {

// The faces the tool installs with it are known by name.
TEST(FontList, InstalledFamiliesWithPitchAndOutlines) {
    const auto& families = InstalledFontFamilies();
    const struct {
        const char* name;
        bool fixedPitch;
    } cases[] = {
        {"Liberation Sans", false},
        {"Liberation Serif", false},
        {"Liberation Mono", true},
        {"DejaVu Sans Mono", true},
    };
    for (const auto& c : cases) {
        const auto it = std::find_if(families.begin(), families.end(),
                                     [&](const FontFamilyInfo& f) { return f.name == c.name; });
        ASSERT_NE(it, families.end()) << c.name;
        EXPECT_EQ(it->fixedPitch, c.fixedPitch) << c.name;
        EXPECT_TRUE(it->scalable) << c.name;
    }
    // Each family once, in the order a sorted font list shows them.
    for (size_t i = 1; i < families.size(); ++i)
        EXPECT_LT(CompareText(families[i - 1].name, families[i].name), 0) << families[i].name;
}

TEST(FontList, EnumerationStopsWhenAsked) {
    std::vector<std::string> seen;
    EXPECT_TRUE(EnumFontFamilies([&](const FontFamilyInfo& f) {
        seen.push_back(f.name);
        return true;
    }));
    ASSERT_EQ(seen.size(), InstalledFontFamilies().size());
    ASSERT_GE(seen.size(), 2u);
    int calls = 0;
    EXPECT_FALSE(EnumFontFamilies([&](const FontFamilyInfo&) { return ++calls < 2; }));
    EXPECT_EQ(calls, 2);
}

}  // namespace
}  // namespace tarvel
