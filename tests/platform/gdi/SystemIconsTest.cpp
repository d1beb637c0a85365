// The standard icons: shared, 32 x 32, each its own picture, drawn where
// the icon is opaque and leaving the rest.

#include <gtest/gtest.h>

#include "GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;

constexpr uint32_t kBack = 0x00102030;

TEST(SystemIcons, EachStandardIconIsSharedAndShowsItsOwnPicture) {
    const struct {
        int id;
        TPoint fillAt;  // a point of the shape's fill, clear of the mark
        uint32_t fill;  // 0xRRGGBB
        TPoint markAt;  // a point of the mark
        uint32_t mark;
    } cases[] = {
        {IDI_HAND, {16, 4}, 0xE01010, {10, 10}, 0xFFFFFF},
        {IDI_EXCLAMATION, {16, 26}, 0xFFD800, {16, 14}, 0x000000},
        {IDI_ASTERISK, {16, 4}, 0x1060E0, {16, 15}, 0xFFFFFF},
        {IDI_QUESTION, {16, 4}, 0x1060E0, {16, 8}, 0xFFFFFF},
        {IDI_APPLICATION, {16, 20}, 0xFFFFFF, {16, 5}, 0x000080},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.id);
        HICON icon = LoadIcon(nullptr, c.id);
        ASSERT_TRUE(icon);
        EXPECT_EQ(LoadIcon(c.id), icon);
        EXPECT_TRUE(DestroyIcon(icon));  // callers release it; it stays
        PixelDc p(32, 32, kBack);
        ASSERT_TRUE(DrawIcon(p.dc, 0, 0, icon));
        EXPECT_EQ(p.At(c.fillAt.x, c.fillAt.y) & 0xFFFFFF, c.fill);
        EXPECT_EQ(p.At(c.markAt.x, c.markAt.y) & 0xFFFFFF, c.mark);
        EXPECT_EQ(p.At(0, 0), kBack);  // the corners are outside every shape
        EXPECT_EQ(p.At(31, 0), kBack);
        ICONINFO info;
        ASSERT_TRUE(GetIconInfo(icon, &info));
        BITMAP bm;
        ASSERT_TRUE(GetObject(info.hbmColor, bm));
        EXPECT_EQ(bm.bmWidth, 32);
        EXPECT_EQ(bm.bmHeight, 32);
        DeleteObject(info.hbmColor);
        DeleteObject(info.hbmMask);
    }
    EXPECT_EQ(LoadIcon(nullptr, IDI_ERROR), LoadIcon(nullptr, IDI_HAND));
    EXPECT_EQ(LoadIcon(nullptr, IDI_WARNING), LoadIcon(nullptr, IDI_EXCLAMATION));
    EXPECT_EQ(LoadIcon(nullptr, IDI_INFORMATION), LoadIcon(nullptr, IDI_ASTERISK));
    for (int unknown : {0, -1, 32511, 32517, 32518}) EXPECT_FALSE(LoadIcon(nullptr, unknown)) << unknown;
}

}  // namespace
}  // namespace tarvel
