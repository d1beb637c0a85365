// Element-info records and their builders.
#include <gtest/gtest.h>

#include "platform/classlib/Bitmaps.h"
#include "skin/core/te_theme_types.h"

namespace tarvel {
namespace {

TEST(TextInfoTest, DrawTextFlagsBecomeAlignmentAndStyles) {
    const struct {
        unsigned flags;
        TteTextAlign align;
        TteTextStyles style;
    } cases[] = {
        {DT_CENTER | DT_VCENTER | DT_SINGLELINE, ktxaMiddleCenter, {ktxsSingleLine}},
        {DT_RIGHT | DT_BOTTOM, ktxaBottomRight, {}},
        {0, ktxaTopLeft, {}},
        {DT_BOTTOM, ktxaBottomLeft, {}},
        {DT_VCENTER | DT_BOTTOM, ktxaMiddleLeft, {}},  // middle wins over bottom
        {DT_CENTER | DT_RIGHT, ktxaTopCenter, {}},     // centre wins over right
        {DT_RIGHT | DT_VCENTER, ktxaMiddleRight, {}},
        {DT_RTLREADING | DT_NOPREFIX | DT_WORDBREAK,
         ktxaTopLeft,
         {ktxsRTLReading, ktxsNoPrefix, ktxsWordBreak}},
        {DT_CALCRECT | DT_END_ELLIPSIS, ktxaTopLeft, {}},  // other flags are dropped
    };
    for (const auto& c : cases) {
        const TteTextInfo t = TextInfo(TRect{1, 2, 3, 4}, u"x", c.flags);
        EXPECT_EQ(t.Align, c.align) << std::hex << c.flags;
        EXPECT_EQ(t.Style, c.style) << std::hex << c.flags;
        EXPECT_EQ(t.Orientation, ktxoHorizontal);
        EXPECT_FALSE(t.Style.Contains(ktxsDropShadow));
    }
}

TEST(ElementInfoTest, BarInfoTakesBevelBeforeCaption) {
    const TteBarInfo info = BarInfo(TRect{0, 0, 5, 5}, true, false);
    EXPECT_TRUE(info.ShowBevel);
    EXPECT_FALSE(info.ShowCaption);
}

TEST(ElementInfoTest, WindowButtonsMapToHitTests) {
    const struct {
        TteWindowButtonClass button;
        TteWindowHitTest hit;
    } cases[] = {
        {kwbSysMenu, kwhtSysMenu},      {kwbClose, kwhtCloseButton},    {kwbHelp, kwhtHelpButton},
        {kwbMin, kwhtMinButton},        {kwbMinRestore, kwhtMinButton}, {kwbMax, kwhtMaxButton},
        {kwbMaxRestore, kwhtMaxButton}, {kwbRoll, kwhtRollButton},      {kwbRollRestore, kwhtRollButton},
        {kwbTray, kwhtTrayButton},      {kwbTopmost, kwhtClient},       {kwbTopmostRestore, kwhtClient},
        {kwbCustom, kwhtClient},
    };
    for (const auto& c : cases) EXPECT_EQ(WindowButtonToHitTest(c.button), c.hit) << int(c.button);
}

TEST(ElementInfoTest, EmptyGlyphBuildersAnswerTheNullRectangle) {
    EXPECT_EQ(GlyphInfo().Rect, NullRect);
    EXPECT_EQ(GlyphInfo().Bitmap, nullptr);
    EXPECT_EQ(MenuGlyphInfo().Glyph, kmgNone);
    EXPECT_EQ(ToolGlyphInfo().Glyph, ktgNone);
    EXPECT_EQ(MenuGlyphInfo(TRect{0, 0, 9, 9}, kmgCheckGlyph).Align, kgfaCenter);
    EXPECT_EQ(ListGlyphInfo(TRect{0, 0, 9, 9}, klgMixed).Align, kgfaCenter);
}

class GlyphFromGraphicTest : public ::testing::Test {
protected:
    void SetUp() override {
        red.SetSize(3, 2);
        red.Canvas()->Brush()->SetColor(clRed);
        red.Canvas()->FillRect(TRect{0, 0, 3, 2});
        blue.SetSize(5, 4);
        blue.Canvas()->Brush()->SetColor(clBlue);
        blue.Canvas()->FillRect(TRect{0, 0, 5, 4});
    }
    TBitmap red, blue;
};

TEST_F(GlyphFromGraphicTest, ListPicturesAreAlwaysCentred) {
    const TteListGlyphInfo info = ListGlyphInfo(TRect{0, 0, 20, 20}, &red, kgfaTopLeft);
    EXPECT_EQ(info.Align, kgfaCenter);
    EXPECT_EQ(info.Glyph, klgCustom);
}

// Two records built one after the other both keep a picture of their own:
// the first one's bitmap is not freed by the second build.
TEST_F(GlyphFromGraphicTest, TwoRecordsBuiltInARowKeepTheirOwnBitmaps) {
    const TteGlyphInfo first = GlyphInfo(TRect{0, 0, 8, 8}, &red, kgfaTopLeft);
    const TteMenuGlyphInfo second = MenuGlyphInfo(TRect{0, 0, 8, 8}, &blue, kgfaCenter);
    ASSERT_NE(first.Bitmap, nullptr);
    ASSERT_NE(second.Bitmap, nullptr);
    EXPECT_NE(first.Bitmap, second.Bitmap);
    EXPECT_EQ(first.Bitmap->Width(), 3);
    EXPECT_EQ(first.Bitmap->GetPixel(1, 1) & 0xFFFFFF, 0xFF0000u);
    EXPECT_EQ(second.Bitmap->Width(), 5);
    EXPECT_EQ(second.Bitmap->GetPixel(1, 1) & 0xFFFFFF, 0x0000FFu);
    EXPECT_EQ(second.Glyph, kmgGlyph);

    // A copy of a record keeps the picture alive after the record is gone.
    TteGlyphInfo copy;
    {
        const TteGlyphInfo temporary = GlyphInfo(TRect{0, 0, 8, 8}, &blue, kgfaTopLeft);
        copy = temporary;
    }
    EXPECT_EQ(copy.Bitmap->Height(), 4);
}

TEST_F(GlyphFromGraphicTest, ACallersBitmapIsNotOwned) {
    TteBitmap own;
    own.SetSize(2, 2);
    const TteGlyphInfo info = GlyphInfo(TRect{0, 0, 2, 2}, &own, kgfaBottomRight);
    EXPECT_EQ(info.Bitmap, &own);
    EXPECT_EQ(info.Owned, nullptr);
}

TEST(ElementInfoTest, ImagesOfAMaskedListBecomeKeyedBitmaps) {
    TImageList images(nullptr);
    images.SetSize(4, 4);
    images.SetMasked(true);
    TBitmap picture;
    picture.SetSize(4, 4);
    picture.Canvas()->Brush()->SetColor(clLime);
    picture.Canvas()->FillRect(TRect{0, 0, 4, 4});
    images.AddMasked(&picture, clFuchsia);
    const TteGlyphInfo info = GlyphInfo(TRect{0, 0, 4, 4}, &images, 0, kgfaCenter);
    ASSERT_NE(info.Bitmap, nullptr);
    EXPECT_TRUE(info.Bitmap->Transparent);
    EXPECT_EQ(info.Bitmap->Width(), 4);
    EXPECT_EQ(info.Bitmap->GetPixel(2, 2) & 0xFFFFFF, 0x00FF00u);
    // An index the list does not hold leaves the key colour.
    const TteGlyphInfo none = GlyphInfo(TRect{0, 0, 4, 4}, &images, 7, kgfaCenter);
    EXPECT_EQ(none.Bitmap->GetPixel(2, 2) & 0xFFFFFF, 0x7F007Fu);
}

}  // namespace
}  // namespace tarvel
