// Skin objects: layout, lookups, hit tests, nine-part drawing, state
// swaps that are undone after each drawing, caption-button visibility.
#include <gtest/gtest.h>

#include "platform/base/Strings.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_utils_draw.h"
#include "skin/themes/theme_se3source.h"

namespace tarvel::testing {
namespace {

TSeSkinObject* Child(TSeSkinObject* parent, TSeAlign align, TRect bounds) {
    auto* c = new TSeSkinObject(parent);
    c->SetAlign(align);
    c->SetBoundsRect(bounds);
    return c;
}

TEST(Se3ObjectsTest, AlignmentPlacesChildren) {
    struct Case {
        const char* what;
        TSeAlign align;
        TRect child;
        bool visible;
        TRect expected;
    };
    const Case cases[] = {
        {"most top", saMostTop, {0, 0, 10, 20}, true, {0, 0, 100, 20}},
        {"bottom", saBottom, {0, 0, 10, 20}, true, {0, 30, 100, 50}},
        {"left", saLeft, {0, 0, 15, 5}, true, {0, 0, 15, 50}},
        {"centre of width 11", saCenter, {0, 0, 11, 10}, true, {44, 20, 55, 30}},
        {"client", saClient, {1, 1, 2, 2}, true, {0, 0, 100, 50}},
        {"invisible client keeps its bounds", saClient, {1, 1, 2, 2}, false, {1, 1, 2, 2}},
        {"top right angle", saTopRightAngle, {0, 0, 8, 6}, true, {92, 0, 100, 6}},
        {"all", saAll, {5, 5, 6, 6}, true, {0, 0, 100, 50}},
    };
    for (const Case& c : cases) {
        TSeSkinObject parent(nullptr);
        TSeSkinObject* child = Child(&parent, c.align, c.child);
        child->Visible = c.visible;
        parent.SetBoundsRect(TRect{0, 0, 100, 50});
        EXPECT_EQ(child->GetBoundsRect(), c.expected) << c.what;
    }
}

TEST(Se3ObjectsTest, MostTopThenClientShareTheParent) {
    TSeSkinObject parent(nullptr);
    TSeSkinObject* top = Child(&parent, saMostTop, TRect{0, 0, 1, 20});
    TSeSkinObject* client = Child(&parent, saClient, TRect{});
    parent.SetBoundsRect(TRect{0, 0, 100, 50});
    EXPECT_EQ(top->GetBoundsRect(), (TRect{0, 0, 100, 20}));
    EXPECT_EQ(client->GetBoundsRect(), (TRect{0, 20, 100, 50}));
}

TEST(Se3ObjectsTest, CornerAnchorsFollowTheirEdges) {
    TSeSkinObject parent(nullptr);
    TSeSkinObject* topLeft = Child(&parent, saTopLeft, TRect{5, 5, 10, 10});
    TSeSkinObject* topRight = Child(&parent, saTopRight, TRect{90, 0, 100, 10});
    TSeSkinObject* bottomRight = Child(&parent, saBottomRight, TRect{90, 40, 100, 50});
    parent.SetBoundsRect(TRect{0, 0, 100, 50});  // the first sizing moves nothing
    EXPECT_EQ(topLeft->GetBoundsRect(), (TRect{5, 5, 10, 10}));
    EXPECT_EQ(topRight->GetBoundsRect(), (TRect{90, 0, 100, 10}));
    parent.SetBoundsRect(TRect{10, 0, 130, 70});
    EXPECT_EQ(topLeft->GetBoundsRect(), (TRect{15, 5, 20, 10}));
    EXPECT_EQ(topRight->GetBoundsRect(), (TRect{120, 0, 130, 10}));
    EXPECT_EQ(bottomRight->GetBoundsRect(), (TRect{120, 60, 130, 70}));
    parent.AligningAll();  // laying out again leaves the corner child in place
    EXPECT_EQ(bottomRight->GetBoundsRect(), (TRect{120, 60, 130, 70}));
}

TEST(Se3ObjectsTest, LookupsAndHitTests) {
    TSeSkinObject root(nullptr);
    root.SetBoundsRect(TRect{0, 0, 100, 100});
    TSeSkinObject* a = Child(&root, saNone, TRect{0, 0, 60, 60});
    TSeSkinObject* b = Child(&root, saNone, TRect{40, 40, 100, 100});
    a->SetName("A");
    b->SetName("A");  // names may repeat; lookups take the first
    auto* grandchild = new TSeSkinObject(a);
    grandchild->SetName("Deep");
    grandchild->SetKind(skClient);
    EXPECT_EQ(root.FindObjectByName("deep"), grandchild);
    EXPECT_EQ(root.FindObjectByName("a"), a);
    EXPECT_EQ(root.FindObjectByKind(skClient), grandchild);
    EXPECT_EQ(root.FindObjectByPoint(TPoint{50, 50}), b);
    b->SetKind(skTranparent);
    EXPECT_EQ(root.FindObjectByPoint(TPoint{50, 50}), a);
    b->SetKind(skMaskOnly);
    EXPECT_EQ(root.FindObjectByPointAll(TPoint{90, 90}), &root);
}

TEST(Se3ObjectsTest, SeparatorTextDrawsOneRowInTheFontColour) {
    TteBitmap paper;
    paper.SetSize(40, 20);
    paper.Clear(0xFFFFFFFF);
    TSeSkinObject line(nullptr);
    line.SetBoundsRect(TRect{0, 0, 40, 20});
    line.SetColor(clNone);
    line.Font()->SetColor(0x0000FF);
    line.Text = u"-";
    line.Draw(*paper.GetCanvas(), TRect{});
    for (int y = 0; y < 20; ++y) {
        EXPECT_EQ(paper.GetPixel(20, y) & 0xFFFFFF, y == 9 ? 0xFF0000u : 0xFFFFFFu) << y;
    }
    EXPECT_EQ(paper.GetPixel(2, 9) & 0xFFFFFF, 0xFFFFFFu);
}

// An image whose pixels tell where they came from: x in red, y in green.
TteBitmap* Coded(TSeSkinSource& src, int size) {
    auto* image = new TteBitmap;
    image->SetSize(size, size);
    for (int y = 0; y < size; ++y)
        for (int x = 0; x < size; ++x) image->SetPixel(x, y, 0xFF000000u | (x << 16) | (y << 8));
    image->Name = "Coded";
    src.Bitmaps().Add(image);
    return image;
}

template <class O>
O* Linked(TSeSkinSource& src, int size, int margin, TRect bounds) {
    auto* o = new O(nullptr);
    o->GetBitmap()->Name = "Coded";
    o->GetBitmap()->SetRect(TRect{0, 0, size, size});
    o->SetMarginLeft(margin);
    o->SetMarginTop(margin);
    o->SetMarginRight(margin);
    o->SetMarginBottom(margin);
    o->SetBoundsRect(bounds);
    src.Add(o);
    return o;
}

uint32_t Source(const TteBitmap& paper, int x, int y) { return paper.GetPixel(x, y) & 0xFFFF00; }
uint32_t Code(int x, int y) { return static_cast<uint32_t>((x << 16) | (y << 8)); }

TEST(Se3ObjectsTest, NinePartDrawingKeepsCornersAndStretchesTheRest) {
    struct Case {
        const char* what;
        bool box;
        int size, margin, width, height;
    };
    const Case cases[] = {{"bitmap object", false, 20, 4, 100, 30}, {"bitmap box", true, 16, 3, 40, 20}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TSeSkinSource src(nullptr);
        Coded(src, c.size);
        TSeSkinObject* o = c.box ? static_cast<TSeSkinObject*>(Linked<TSeBitmapBoxObject>(
                                       src, c.size, c.margin, TRect{10, 10, 10 + c.width, 10 + c.height}))
                                 : Linked<TSeBitmapObject>(src, c.size, c.margin,
                                                           TRect{10, 10, 10 + c.width, 10 + c.height});
        if (auto* b = dynamic_cast<TSeBitmapObject*>(o)) b->SetTileStyle(tsStretch);
        if (auto* b = dynamic_cast<TSeBitmapBoxObject*>(o)) b->SetTileStyle(tsStretch);
        TteBitmap paper;
        paper.SetSize(200, 100);
        paper.Clear(0xFFFFFFFF);
        o->Draw(*paper.GetCanvas(), TRect{});
        const int m = c.margin, s = c.size, r = 10 + c.width, b = 10 + c.height;
        // Corners unscaled.
        EXPECT_EQ(Source(paper, 10, 10), Code(0, 0));
        EXPECT_EQ(Source(paper, 10 + m - 1, 10 + m - 1), Code(m - 1, m - 1));
        EXPECT_EQ(Source(paper, r - 1, b - 1), Code(s - 1, s - 1));
        EXPECT_EQ(Source(paper, r - m, 10), Code(s - m, 0));
        EXPECT_EQ(Source(paper, 10, b - m), Code(0, s - m));
        // Edges and centre come from the middle of the source.
        EXPECT_EQ(Source(paper, 10 + c.width / 2, 10) & 0xFF00, Code(0, 0) & 0xFF00);
        const uint32_t centre = Source(paper, 10 + c.width / 2, 10 + c.height / 2);
        EXPECT_GE(centre >> 16, static_cast<uint32_t>(m));
        EXPECT_LT(centre >> 16, static_cast<uint32_t>(s - m));
        // Nothing outside the bounds.
        EXPECT_EQ(paper.GetPixel(r, b) & 0xFFFFFF, 0xFFFFFFu);
        EXPECT_EQ(paper.GetPixel(9, 9) & 0xFFFFFF, 0xFFFFFFu);
    }
}

// A bitmap object's region is what its drawing covers: key-coloured pixels
// (corner or centre) are holes whatever the masked flags say, since drawing
// them opaquely copies the key colour; unmasked and client objects are
// whole rectangles, and an object without an image has no region.
TEST(Se3ObjectsTest, RegionsFollowTheImagesKeyPixels) {
    struct Case {
        const char* what;
        bool masked, maskedParts, linked;
        TSeKind kind;
        bool corner, centre;  // whether these key pixels lie inside
    };
    const Case cases[] = {
        {"masked", true, true, true, skNone, false, false},
        {"borders and angles drawn opaquely", true, false, true, skNone, false, false},
        {"mask only is drawn as plain", true, true, true, skMaskOnly, false, false},
        {"unmasked: the rectangle", false, true, true, skNone, true, true},
        {"client: the rectangle", true, true, true, skClient, true, true},
    };
    for (const Case& c : cases) {
        TSeSkinSource src(nullptr);
        TteBitmap* image = Coded(src, 10);
        image->SetPixel(0, 0, 0x007F007F);
        image->SetPixel(5, 5, 0x007F007F);
        auto* o = Linked<TSeBitmapObject>(src, 10, 2, TRect{10, 20, 20, 30});
        o->SetMasked(c.masked);
        o->SetMaskedBorder(c.maskedParts);
        o->SetMaskedAngles(c.maskedParts);
        o->SetKind(c.kind);
        HRGN region = o->GetRegion();
        ASSERT_NE(region, HRGN{}) << c.what;
        EXPECT_EQ(PtInRegion(region, 10, 20), c.corner) << c.what;
        EXPECT_EQ(PtInRegion(region, 15, 25), c.centre) << c.what;
        EXPECT_TRUE(PtInRegion(region, 19, 29)) << c.what;
        EXPECT_TRUE(PtInRegion(region, 15, 20)) << c.what;
        EXPECT_FALSE(PtInRegion(region, 20, 25)) << c.what;
        EXPECT_EQ(o->GetKind(), c.kind) << c.what << ": the kind is put back";
        EXPECT_EQ(o->GetBoundsRect(), (TRect{10, 20, 20, 30})) << c.what;
        DeleteObject(region);
    }
    TSeSkinSource src(nullptr);
    auto* bare = Linked<TSeBitmapObject>(src, 10, 2, TRect{10, 20, 20, 30});
    EXPECT_EQ(bare->GetRegion(), HRGN{}) << "no image";
}

// A text-sized child is as wide as its text and text margins, measured in
// its own font; it keeps its place and takes no room from the others.
TEST(Se3ObjectsTest, TextAlignedChildrenTakeTheirTextsWidth) {
    const WideString texts[] = {u"Port", u"A longer label", u""};
    for (const WideString& text : texts) {
        TSeSkinObject parent(nullptr);
        TSeSkinObject* label = Child(&parent, saText, TRect{4, 2, 5, 18});
        label->Text = text;
        label->SetTextMarginLeft(3);
        label->SetTextMarginRight(5);
        label->Font()->SetStyle(TFontStyles{fsBold});
        TSeSkinObject* rest = Child(&parent, saClient, TRect{});
        parent.SetBoundsRect(TRect{0, 0, 200, 20});
        TteBitmap measure;
        measure.SetSize(1, 1);
        measure.GetCanvas()->SetFont(label->Font());
        const int width = TextWidth(*measure.GetCanvas(), text) + 8;
        EXPECT_EQ(label->GetBoundsRect(), (TRect{4, 2, 4 + width, 18})) << WideToUtf8(text);
        EXPECT_EQ(rest->GetBoundsRect(), (TRect{0, 0, 200, 20})) << "text children take no room";
    }
}

TEST(Se3ObjectsTest, MissingImagesAndCentredStylesDrawNoImage) {
    TSeSkinSource src(nullptr);
    Coded(src, 8);
    auto* missing = Linked<TSeBitmapObject>(src, 8, 0, TRect{0, 0, 20, 20});
    missing->GetBitmap()->Name = "Nowhere";
    missing->AfterLoad();
    auto* centred = Linked<TSeBitmapSkinObject>(src, 8, 0, TRect{0, 0, 20, 20});
    centred->SetTileStyle(tsVertCenterTile);
    for (TSeSkinObject* o : {static_cast<TSeSkinObject*>(missing), static_cast<TSeSkinObject*>(centred)}) {
        TteBitmap paper;
        paper.SetSize(20, 20);
        paper.Clear(0xFFFFFFFF);
        o->Draw(*paper.GetCanvas(), TRect{});
        EXPECT_EQ(paper.GetPixel(10, 10) & 0xFFFFFF, 0xFFFFFFu) << o->ClassName();
    }
}

TEST(Se3ObjectsTest, StateDrawingUndoesItsSwaps) {
    TteBitmap paper;
    paper.SetSize(10, 10);
    TSeColorButtonObject button(nullptr);
    button.SetBoundsRect(TRect{0, 0, 10, 10});
    button.SetColor(0x00FF00);
    button.SetStateColor(1, 0x0000FF);
    button.StateFont(1)->SetStyle(TFontStyles{fsBold});
    button.SetState(ssPressed);
    button.Draw(*paper.GetCanvas(), TRect{});
    EXPECT_EQ(paper.GetPixel(5, 5) & 0xFFFFFF, 0xFF0000u);  // pressed colour, as pixel
    EXPECT_EQ(button.GetColor(), 0x00FF00);
    EXPECT_EQ(button.Font()->Style(), TFontStyles{});

    TSeSkinSource src(nullptr);
    Coded(src, 4);
    auto* sys = Linked<TSeSystemButton>(src, 4, 0, TRect{0, 0, 4, 4});
    sys->SetActive(true);
    sys->ButtonState = sbsHover;  // no hot image: the normal one stays
    sys->Draw(*paper.GetCanvas(), TRect{});
    EXPECT_TRUE(sys->GetActive());
    EXPECT_EQ(sys->GetBitmap()->Name, "Coded");
}

TEST(Se3ObjectsTest, CaptionButtonsShowByStateAndWindowButtons) {
    struct Case {
        TSeAction action;
        TSeState state;
        bool visible;
    };
    const Case cases[] = {
        {sbaRestore, ssNormal, false},     {sbaRestore, ssMaximized, true}, {sbaMaximize, ssMaximized, false},
        {sbaMinimize, ssMinimized, false}, {sbaClose, ssMinimized, true},   {sbaRollUp, ssRollup, false},
    };
    for (const Case& c : cases) {
        for (bool skinClass : {false, true}) {
            std::unique_ptr<TSeSkinObject> b;
            if (skinClass) {
                auto* s = new TSeSysButtonSkinObject(nullptr);
                s->SetAction(c.action);
                b.reset(s);
            } else {
                auto* s = new TSeSystemButton(nullptr);
                s->SetAction(c.action);
                b.reset(s);
            }
            b->SetState(c.state);
            EXPECT_EQ(b->Visible, c.visible) << c.action << " in " << c.state;
        }
    }
    TSeSystemButton restore(nullptr);
    restore.SetAction(sbaRestore);
    restore.SetState(ssMaximized);
    restore.SetSysButtons(TteWindowButtons{kwbMinRestore});
    EXPECT_FALSE(restore.Visible);
    restore.SetSysButtons(TteWindowButtons{kwbMaxRestore});
    EXPECT_TRUE(restore.Visible);
}

TEST(Se3ObjectsTest, TheSystemMenuButtonDrawsItsIconWithinItsBounds) {
    const TRect bounds{4, 4, 20, 20};
    for (bool skinClass : {false, true}) {
        std::unique_ptr<TSeSkinObject> b;
        if (skinClass) {
            auto* s = new TSeSysButtonSkinObject(nullptr);
            s->SetAction(sbaSysMenu);
            b.reset(s);
        } else {
            auto* s = new TSeSystemButton(nullptr);
            s->SetAction(sbaSysMenu);
            b.reset(s);
        }
        b->SetBoundsRect(bounds);
        TteBitmap paper;
        paper.SetSize(50, 40);
        paper.Clear(0xFFFFFFFF);
        b->Draw(*paper.GetCanvas(), TRect{});
        int inside = 0, outside = 0;
        for (int y = 0; y < 40; ++y)
            for (int x = 0; x < 50; ++x)
                if ((paper.GetPixel(x, y) & 0xFFFFFF) != 0xFFFFFFu)
                    ++(bounds.Contains(TPoint{x, y}) ? inside : outside);
        EXPECT_GT(inside, 0) << skinClass;
        EXPECT_EQ(outside, 0) << skinClass;
    }
}

TEST(Se3ObjectsTest, RollPanelRollsAndUnrollsKeepingItsEdge) {
    TSeSkinObject parent(nullptr);
    auto* panel = new TSeRollPanelObject(&parent);
    panel->SetRollKind(rkTop);
    panel->SetRollValue(20);
    panel->SetBoundsRect(TRect{0, 0, 50, 100});
    panel->Roll();
    EXPECT_EQ(panel->GetBoundsRect(), (TRect{0, 80, 50, 100}));
    panel->Roll();
    EXPECT_EQ(panel->GetBoundsRect(), (TRect{0, 0, 50, 100}));
}

TEST(Se3ObjectsTest, HueLeavesNoneAloneAndCopiesKeepTheTree) {
    TSeActiveObject o(nullptr);
    o.SetActiveColor(clNone);
    o.SetColor(0x0000FF);
    o.ChangeHue(60);
    EXPECT_EQ(o.GetActiveColor(), clNone);
    EXPECT_NE(o.GetColor(), 0x0000FFu);
    new TSeTextObject(&o);
    std::unique_ptr<TSeSkinObject> copy(o.CreateCopy(nullptr));
    ASSERT_NE(copy, nullptr);
    EXPECT_EQ(copy->ClassName(), "TSeActiveObject");
    ASSERT_EQ(copy->GetCount(), 1);
    EXPECT_EQ(copy->GetObject(0)->ClassName(), "TSeTextObject");
}

}  // namespace
}  // namespace tarvel::testing
