// Panels, labels and group boxes: bevels, caption placement, client areas.

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/StdCtrls_Check.h"
#include "platform/classlib/StdCtrls_Edit.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class PanelTest : public ControlFixture {};

TEST_F(PanelTest, BevelsShrinkTheClientAreaForAlignedChildren) {
    auto* panel = Add<TPanel>("Panel", Bounds(10, 10, 200, 100));
    auto* inner = Add<TPanel>("Inner", Bounds(0, 0, 10, 10), panel);
    inner->SetAlign(alClient);
    struct Case {
        TPanelBevel outer, innerBevel;
        int width, border;
        int inset;
    } cases[] = {{bvRaised, bvNone, 1, 0, 1},
                 {bvRaised, bvLowered, 2, 0, 4},
                 {bvNone, bvNone, 1, 3, 3},
                 {bvLowered, bvNone, 1, 2, 3}};
    for (const Case& c : cases) {
        panel->SetBevelOuter(c.outer);
        panel->SetBevelInner(c.innerBevel);
        panel->SetBevelWidth(c.width);
        panel->SetBorderWidth(c.border);
        EXPECT_EQ(inner->BoundsRect(), Rect(c.inset, c.inset, 200 - c.inset, 100 - c.inset)) << c.inset;
    }
    panel->SetBorderWidth(0);
    panel->SetBevelOuter(bvRaised);
    panel->SetBevelInner(bvNone);
    panel->SetBevelWidth(1);
    inner->SetVisible(false);
    ShowForm();
    EXPECT_EQ(PixelAt(panel, {50, 0}), Rgb(clBtnHighlight));
    EXPECT_EQ(PixelAt(panel, {50, 99}), Rgb(clBtnShadow));
}

// A control that sets no cursor shows the arrow, whatever was shown before.
TEST_F(PanelTest, TheArrowComesBackAfterAnEditsIBeam) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
    auto* panel = Add<TPanel>("Panel", Bounds(10, 50, 100, 40));
    ShowForm();
    const struct {
        TControl* over;
        int shape;
    } steps[] = {{edit, IDC_IBEAM}, {panel, IDC_ARROW}, {edit, IDC_IBEAM}, {form, IDC_ARROW}};
    for (const auto& s : steps) {
        ui.MoveMouseTo(s.over, TPoint{5, 5});
        EXPECT_EQ(GetCursor(), LoadCursor(s.shape)) << s.over->Name();
    }
}

// A window's own painting leaves out its opaque windowless children, which
// paint all of their area themselves.
TEST_F(PanelTest, OpaqueWindowlessChildrenAreLeftOutOfTheParentsPainting) {
    struct TRedPainter : TCustomControl {
        using TCustomControl::TCustomControl;
        void Paint() override { Canvas()->FillRect(ClientRect()); }
    };
    struct TQuietChild : TGraphicControl {
        explicit TQuietChild(TComponent* owner) : TGraphicControl(owner) { ControlStyle.Include(csOpaque); }
        void Paint() override { ++paints; }
        int paints = 0;
    };
    auto* parent = Add<TRedPainter>("Painter", Bounds(10, 10, 120, 80));
    parent->SetColor(clWhite);
    parent->Canvas()->Brush()->SetColor(clRed);
    auto* child = new TQuietChild(form);
    child->SetParent(parent);
    child->SetBounds(20, 20, 40, 30);
    ShowForm();
    EXPECT_GT(child->paints, 0);
    EXPECT_EQ(PixelAt(parent, TPoint{5, 5}), Rgb(clRed));
    EXPECT_EQ(PixelAt(parent, TPoint{30, 30}), Rgb(clWhite));
    child->ControlStyle.Exclude(csOpaque);
    parent->Invalidate();
    Snap();
    EXPECT_EQ(PixelAt(parent, TPoint{30, 30}), Rgb(clRed));
}

TEST_F(PanelTest, CaptionFollowsAlignment) {
    auto* panel = Add<TPanel>("Panel", Bounds(10, 10, 200, 40));
    panel->SetCaption("IIIIIIII");
    panel->Font()->SetColor(clRed);
    auto redColumns = [&] {
        Snap();
        int first = -1;
        for (int x = 0; x < 200 && first < 0; ++x)
            for (int y = 0; y < 40; ++y)
                if ((PixelAt(panel, {x, y}) >> 16) > 0xA0 && ((PixelAt(panel, {x, y}) >> 8) & 0xFF) < 0x60) {
                    first = x;
                    break;
                }
        return first;
    };
    ShowForm();
    const int centred = redColumns();
    panel->SetAlignment(taLeftJustify);
    const int left = redColumns();
    panel->SetAlignment(taRightJustify);
    const int right = redColumns();
    EXPECT_LT(left, 10);
    EXPECT_GT(centred, 50);
    EXPECT_GT(right, centred);
}

TEST_F(PanelTest, LabelLayoutPlacesTheTextVertically) {
    auto* label = Add<TLabel>("Info", Bounds(10, 10, 273, 25));
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 273, 60);
    label->SetCaption("Connected");
    label->SetColor(clYellow);
    label->Font()->SetColor(clBlack);
    auto firstDarkRow = [&] {
        Snap();
        for (int y = 0; y < 60; ++y)
            for (int x = 0; x < 100; ++x)
                if (PixelAt(label, {x, y}) < 0x404040u) return y;
        return -1;
    };
    ShowForm();
    const int top = firstDarkRow();
    label->SetLayout(tlCenter);
    const int centre = firstDarkRow();
    label->SetLayout(tlBottom);
    const int bottom = firstDarkRow();
    EXPECT_LT(top, 5);
    EXPECT_GT(centre, top + 10);
    EXPECT_GT(bottom, centre + 10);
    EXPECT_EQ(PixelAt(label, {200, 2}), 0xFFFF00u);
    label->SetTransparent(true);
    Snap();
    EXPECT_EQ(PixelAt(label, {200, 2}), 0xFFFFFFu);
}

TEST_F(PanelTest, AnAutoSizedLabelWithoutCaptionKeepsABlankWidth) {
    auto* label = Add<TLabel>("Empty", Bounds(10, 10, 100, 17));
    EXPECT_GT(label->Width(), 0);
    EXPECT_GT(label->Height(), 0);
    label->SetCaption("Module 12");
    const int filled = label->Width();
    label->SetCaption("");
    EXPECT_GT(label->Width(), 0);
    EXPECT_LT(label->Width(), filled);
}

TEST_F(PanelTest, GroupBoxKeepsChildrenBelowItsCaption) {
    auto* group = Add<TGroupBox>("Group", Bounds(10, 10, 200, 100));
    group->SetCaption("Alarms");
    auto* box = Add<TCheckBox>("Box", Bounds(0, 0, 50, 17), group);
    box->SetAlign(alTop);
    EXPECT_GE(box->Top(), 10);
    EXPECT_EQ(box->Left(), 2);
    ShowForm();
    EXPECT_EQ(PixelAt(group, {100, 99}), Rgb(clBtnHighlight));
}

}  // namespace
}  // namespace tarvel
