#include <gtest/gtest.h>

#include "FilerFixture.h"

namespace tarvel {
namespace {

using namespace filer_fixture;

std::vector<String> Names(TClass cls) {
    std::vector<String> names;
    for (const TPropInfo* p : GetPropList(cls)) names.push_back(p->Name);
    return names;
}

TEST(PropertyTableTest, AncestorsPropertiesComeFirstAndNamesIgnoreCase) {
    RegisterFixtureClasses();
    EXPECT_EQ(Names(TSeSkinObject::StaticClass()),
              (std::vector<String>{"Tag", "Kind", "Width", "Height", "Color"}));
    EXPECT_EQ(Names(TFont::StaticClass()),
              (std::vector<String>{"Charset", "Color", "Height", "Name", "Pitch", "Style"}));
    // A class without a table of its own answers its ancestors'.
    EXPECT_EQ(Names(TOwnedCollection::StaticClass()), std::vector<String>{});

    const TPropInfo* width = FindPropInfo(TSeSkinObject::StaticClass(), "wIDTH");
    ASSERT_NE(width, nullptr);
    EXPECT_EQ(width->Name, "Width");
    EXPECT_EQ(FindPropInfo(TSeSkinObject::StaticClass(), "tag"),
              FindPropInfo(TComponent::StaticClass(), "Tag"));
    EXPECT_EQ(FindPropInfo(TSeSkinObject::StaticClass(), "Widths"), nullptr);
    EXPECT_EQ(FindPropInfo(TComponent::StaticClass(), "Kind"), nullptr);

    TSeSkinObject object(nullptr);
    width->SetOrd(object, 12);
    EXPECT_EQ(object.Width(), 12);
    EXPECT_EQ(FindPropInfo(TSeSkinObject::StaticClass(), "Kind")->GetOrd(object), skNone);
}

TEST(PropertyTableTest, CharsetIdentifiersBothWays) {
    struct Case {
        int charset;
        const char* ident;
    };
    const Case cases[] = {{0, "ANSI_CHARSET"},     {1, "DEFAULT_CHARSET"},   {2, "SYMBOL_CHARSET"},
                          {134, "GB2312_CHARSET"}, {204, "RUSSIAN_CHARSET"}, {255, "OEM_CHARSET"}};
    for (const Case& c : cases) {
        String ident;
        EXPECT_TRUE(CharsetToIdent(c.charset, ident));
        EXPECT_EQ(ident, c.ident);
        int charset = -1;
        EXPECT_TRUE(IdentToCharset(LowerCase(c.ident), charset));
        EXPECT_EQ(charset, c.charset);
    }
    String ident;
    EXPECT_FALSE(CharsetToIdent(3, ident));
    int charset = 0;
    EXPECT_FALSE(IdentToCharset("LATIN_CHARSET", charset));
}

}  // namespace
}  // namespace tarvel
