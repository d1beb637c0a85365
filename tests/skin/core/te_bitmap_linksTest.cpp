#include "skin/core/te_bitmap_links.h"

#include <gtest/gtest.h>

#include <memory>

#include "skin/core/te_const.h"

namespace tarvel {
namespace {

// A 12 x 12 opaque picture with a link over all of it.
struct LinkFixture {
    TteBitmap bitmap;
    TteBitmapLink link;
    LinkFixture() {
        bitmap.SetSize(12, 12);
        bitmap.Clear(0xFF808080);
        link.Bitmap = &bitmap;
        link.SetRect(TRect{0, 0, 12, 12});
    }
};

TEST(BitmapLinks, MaskedFlagsTable) {
    const TRect m4{4, 4, 4, 4};
    const struct {
        const char* what;
        TPoint at;
        uint32_t pixel;
        TRect margins;
        bool masked, border, angles;
    } cases[] = {
        {"opaque", {-1, -1}, 0, m4, false, false, false},
        {"alpha 254 in the centre", {6, 6}, 0xFE808080, m4, true, false, false},
        {"alpha 254, no margins", {6, 6}, 0xFE808080, {}, true, false, false},
        {"key colour in a corner", {0, 0}, teKeyColor, m4, false, false, true},
        {"key colour at the top edge", {6, 0}, teKeyColor, m4, false, true, false},
        {"key colour at the right edge", {11, 6}, teKeyColor, m4, false, true, false},
        {"bottom-right corner", {11, 11}, 0x00000000, m4, false, false, true},
        {"key colour at an edge, no margins", {0, 0}, teKeyColor, {}, true, false, false},
        {"teNone never masks", {6, 6}, teNone, m4, false, false, false},
    };
    for (const auto& c : cases) {
        LinkFixture f;
        if (c.at.x >= 0) f.bitmap.SetPixel(c.at.x, c.at.y, c.pixel);
        f.link.CheckingMasked(c.margins);
        EXPECT_EQ(f.link.Masked, c.masked) << c.what;
        EXPECT_EQ(f.link.MaskedBorder, c.border) << c.what;
        EXPECT_EQ(f.link.MaskedAngles, c.angles) << c.what;
    }
}

TEST(BitmapLinks, RectangleReachingPastTheBitmapCountsAsMasked) {
    LinkFixture f;
    f.link.SetRect(TRect{8, 0, 14, 4});
    f.link.CheckingMasked();
    EXPECT_TRUE(f.link.Masked);
}

TEST(BitmapLinks, EmptyRectangleIsNotAssignedAndDrawsNothing) {
    LinkFixture f;
    TteBitmap target;
    target.SetSize(4, 4);
    for (TRect r : {TRect{2, 2, 2, 6}, TRect{2, 2, 6, 2}}) {
        f.link.SetRect(r);
        EXPECT_FALSE(f.link.GetAssigned());
        f.link.Draw(target, 0, 0);
        EXPECT_EQ(target.GetPixel(0, 0), 0u);
    }
    f.link.SetRect(TRect{2, 2, 4, 4});
    EXPECT_TRUE(f.link.GetAssigned());
    f.link.Draw(target, 1, 1);
    EXPECT_EQ(target.GetPixel(1, 1), 0xFF808080u);
    EXPECT_EQ(target.GetPixel(3, 3), 0u);
}

TEST(BitmapLinks, StreamRoundTripKeepsNameAndRectNotFlags) {
    LinkFixture f;
    f.link.Name = "Frame";
    f.link.SetRect(TRect{1, 2, 3, 4});
    f.link.Masked = true;
    TMemoryStream s;
    f.link.SaveToStream(s);
    EXPECT_EQ(s.Size(), 4 + 5 + 16);
    s.SetPosition(0);
    TteBitmapLink back;
    back.LoadFromStream(s);
    EXPECT_EQ(back.Name, "Frame");
    EXPECT_EQ(back.Rect(), (TRect{1, 2, 3, 4}));
    EXPECT_FALSE(back.Masked);
    EXPECT_EQ(back.Bitmap, nullptr);
}

TEST(BitmapLinks, AssignCopiesEverything) {
    LinkFixture f;
    f.link.Name = "x";
    f.link.MaskedAngles = true;
    TteBitmapLink copy;
    copy.Assign(&f.link);
    EXPECT_EQ(copy.Bitmap, &f.bitmap);
    EXPECT_EQ(copy.Rect(), f.link.Rect());
    EXPECT_TRUE(copy.MaskedAngles);
    TteBitmap notALink;
    EXPECT_THROW(copy.Assign(&notALink), EConvertError);
}

TEST(BitmapLists, LookupsAndOwnership) {
    TteBitmapList list;
    auto* frame = new TteBitmap;
    frame->Name = "Frame";
    frame->SetSize(8, 8);
    auto* other = new TteBitmap;
    other->Name = "Other";
    list.Add(frame);
    list.Add(other);
    EXPECT_EQ(list.GetImage(0), frame);
    EXPECT_EQ(list.GetImage(-1), nullptr);
    EXPECT_EQ(list.GetImage(2), nullptr);
    EXPECT_EQ(list.GetBitmapByName("FRAME"), frame);
    EXPECT_EQ(list.GetBitmapByName("none"), nullptr);

    std::unique_ptr<TteBitmapLink> link(list.GetBitmapLink("frame", String("1, 2, 5, 6")));
    ASSERT_TRUE(link);
    EXPECT_EQ(link->Bitmap, frame);
    EXPECT_EQ(link->Name, "Frame");
    EXPECT_EQ(link->Rect(), (TRect{1, 2, 5, 6}));
    TteBitmap stranger;
    EXPECT_EQ(list.GetBitmapLink(&stranger, TRect{0, 0, 1, 1}), nullptr);
    std::unique_ptr<TteBitmapLink> byBitmap(list.GetBitmapLink(other, TRect{0, 0, 1, 1}));
    EXPECT_EQ(byBitmap->Bitmap, other);
    list.Clear();  // frees both; the sanitizer checks
    EXPECT_EQ(list.Count(), 0);
}

}  // namespace
}  // namespace tarvel
