// The global theme functions: theme choice, background painting behind
// transparent controls, the stores and the window margins.
#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls_Check.h"
#include "platform/winsys/Winsys.h"
#include "te_themeFixture.h"

namespace tarvel {
namespace {

using testing::FlatClass;
using testing::TRecorded;
using testing::TRecordingControl;
using testing::TTestFlatTheme;

class ThemeApiTest : public testing::ThemeCoreTest {};

TEST_F(ThemeApiTest, ThemeChoiceFallsFromLinkToCurrentToNone) {
    EXPECT_EQ(GetThemeLink(nullptr), nullptr);
    TTeThemeLink empty(nullptr);
    EXPECT_EQ(GetThemeLink(&empty), nullptr);
    ChangeTheme(new TteTheme);
    EXPECT_EQ(GetThemeLink(nullptr), CurrentTheme);
    EXPECT_EQ(GetThemeLink(&empty), CurrentTheme);
    TTeThemeLink flat(nullptr);
    flat.SetThemeBuilding("Flat");
    EXPECT_EQ(GetThemeLink(&flat), flat.GetTheme());
}

TEST_F(ThemeApiTest, ObjectsAreDefinedByTheLinkAloneOrByTheCurrentThemesDefault) {
    TTeThemeLink flat(nullptr);
    flat.SetThemeBuilding("flat");
    EXPECT_FALSE(IsObjectDefined(kwscStandard, "toolbar", nullptr));  // no current theme
    EXPECT_TRUE(IsObjectDefined(kwscStandard, "default", &flat));
    EXPECT_FALSE(IsObjectDefined(kwscStandard, "toolbar", &flat));  // no fall-back through a link
    EXPECT_FALSE(IsObjectDefined(kbscButton, "default", &flat));
    ChangeTheme("flat");
    EXPECT_TRUE(IsObjectDefined(kwscStandard, "toolbar", nullptr));  // the current theme's default
    EXPECT_FALSE(IsObjectDefined(kgscGrid, "toolbar", nullptr));
    TTeThemeLink none(nullptr);
    EXPECT_TRUE(IsObjectDefined(kwscDialog, "toolbar", &none));  // a link without a theme falls through
}

TEST_F(ThemeApiTest, MarginsComeFromTheCurrentThemesWindow) {
    TteTheme probe;
    EXPECT_EQ(probe.Metrics()->GetMargin(ktmiWindowToolbarVert), Margin(0, 0, 0, 0));
    ChangeTheme(new TteTheme);  // defines no window
    EXPECT_EQ(probe.Metrics()->GetMargin(ktmiWindowStandard), Margin(0, 0, 0, 0));
    ChangeTheme("Flat");
    for (TktlMarginId id :
         {ktmiWindowStandard, ktmiWindowDialog, ktmiWindowToolbarVert, ktmiWindowToolbarHorz})
        EXPECT_EQ(probe.Metrics()->GetMargin(id), Margin(3, 20, 5, 6)) << int(id);
}

TEST_F(ThemeApiTest, StoresKeepOneFontCopyAndLowerCasePropertyNames) {
    TFont font;
    font.SetName("Arial");
    AddObjectToStore(&font);
    font.SetName("Courier");
    AddObjectToStore(&font);  // the copy is brought up to date, not doubled
    font.SetName("Tahoma");
    AssignFromStoredObject(&font);
    EXPECT_EQ(font.Name(), "Courier");
    RemoveObjectFromStore(&font);
    font.SetName("Tahoma");
    AssignFromStoredObject(&font);
    EXPECT_EQ(font.Name(), "Tahoma");
    TPen pen;
    AddObjectToStore(&pen);  // only fonts are kept
    pen.SetColor(clRed);
    AssignFromStoredObject(&pen);
    EXPECT_EQ(pen.Color(), clRed);

    AddPropToStore(&font, "Color", 5);
    AddPropToStore(&font, "color", 7);
    EXPECT_EQ(GetPropFromStore(&font, "COLOR"), 7);
    EXPECT_EQ(GetPropFromStore(&pen, "color"), 0);
    RemovePropFromStore(&font, "CoLoR");
    EXPECT_EQ(GetPropFromStore(&font, "color"), 0);
}

TEST_F(ThemeApiTest, WrittenDesignedComponentsHearReleaseThenApply) {
    TRecordingControl control(nullptr);
    AddThemeNotification(&control);
    BeforeWriteState(&control);  // not designed, no theme
    ChangeTheme(new TteTheme);
    control.Heard.clear();
    BeforeWriteState(&control);  // not designed
    EXPECT_TRUE(control.Heard.empty());
    control.SetDesigning(true);
    BeforeWriteState(&control);
    AfterWriteState(&control);
    EXPECT_EQ(control.Heard,
              (std::vector<TRecorded>{{SNM_THEMEMESSAGE, tmReleased, 0}, {SNM_THEMEMESSAGE, tmApply, 0}}));
    RemoveThemeNotification(&control);
}

// ---- background painters ----------------------------------------------------------

class TPaintedParent : public TCustomControl {
    TARVEL_CLASS(TPaintedParent, TCustomControl)

public:
    explicit TPaintedParent(TComponent* owner) : TCustomControl(owner) {}

protected:
    // Red, with a blue square where the child's top-left corner sits.
    void Paint() override {
        Canvas()->Brush()->SetColor(clRed);
        Canvas()->FillRect(TRect{0, 0, Width(), Height()});
        Canvas()->Brush()->SetColor(clBlue);
        Canvas()->FillRect(TRect{12, 40, 22, 50});
    }
};

class TGraphicChild : public TGraphicControl {
    TARVEL_CLASS(TGraphicChild, TGraphicControl)

public:
    explicit TGraphicChild(TComponent* owner) : TGraphicControl(owner) {}
    std::vector<uintptr_t> DisableDrawing;

protected:
    static void DeclareMessages(TMessageTable& t) { t.Add<&TGraphicChild::Disable>(WM_DISABLEDRAWING); }
    void Disable(TMessage& m) { DisableDrawing.push_back(m.WParam); }
};

class BackgroundTest : public testing::ThemeCoreTest {
protected:
    uint32_t At(int x, int y) const { return target.GetPixel(x, y) & 0xFFFFFF; }
    void PrepareTarget(int w, int h) {
        target.SetSize(w, h);
        target.Clear(0xFFFFFFFF);
    }
    TteBitmap target;
};

TEST_F(BackgroundTest, PainterOfTheMostDerivedParentClassWins) {
    int winControl = 0, customEarly = 0, customLate = 0;
    RegisterDrawControlBackground(TCustomControl::StaticClass(), [&](TCanvas*, const TteBackground&) {
        ++customEarly;
        return true;
    });
    RegisterDrawControlBackground(TWinControl::StaticClass(), [&](TCanvas*, const TteBackground&) {
        ++winControl;
        return true;
    });
    RegisterDrawControlBackground(TCustomControl::StaticClass(), [&](TCanvas*, const TteBackground&) {
        ++customLate;
        return true;
    });
    TPaintedParent custom(nullptr);
    TWinControl plain(nullptr);
    TCanvas canvas;
    (*FindBackgroundPainter(&custom))(&canvas, {});
    (*FindBackgroundPainter(&plain))(&canvas, {});
    EXPECT_EQ(customEarly, 1);
    EXPECT_EQ(customLate, 0);
    EXPECT_EQ(winControl, 1);
    TRecordingControl notWindowed(nullptr);
    EXPECT_EQ(FindBackgroundPainter(&notWindowed), nullptr);
    EXPECT_EQ(FindBackgroundPainter(nullptr), nullptr);
}

TEST_F(BackgroundTest, APainterGetsTheControlsBoundsInItsParent) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TGraphicChild child(nullptr);
    child.SetParent(&parent);
    child.SetBounds(12, 40, 50, 20);
    TteBackground seen;
    bool paintCopy = false;
    RegisterDrawControlBackground(TWinControl::StaticClass(), [&](TCanvas* c, const TteBackground& b) {
        seen = b;
        paintCopy = child.ControlState.Contains(csPaintCopy);
        c->Brush()->SetColor(clLime);
        c->FillRect(b.Rect);  // in the parent's coordinates
        return true;
    });
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());
    EXPECT_EQ(seen.Rect, (TRect{12, 40, 62, 60}));
    EXPECT_EQ(seen.ClipRect, seen.Rect);
    EXPECT_EQ(seen.Control, &child);
    EXPECT_EQ(seen.Parent, &parent);
    EXPECT_TRUE(paintCopy);
    EXPECT_FALSE(child.ControlState.Contains(csPaintCopy));
    EXPECT_EQ(At(0, 0), 0x00FF00u);
    EXPECT_EQ(At(49, 19), 0x00FF00u);
    EXPECT_EQ(child.DisableDrawing, (std::vector<uintptr_t>{1, 0}));
    TPoint origin;
    GetWindowOrgEx(target.DC(), &origin);
    EXPECT_EQ(origin, (TPoint{0, 0}));  // the DC is given back as it was
}

// A parent whose painter tiles its whole face paints, into a buffer larger
// than the child (a shared one), the child's rectangle of that face and
// nothing around it.
TEST_F(BackgroundTest, TheParentsFaceLandsOnlyInTheChildsRectangle) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TGraphicChild child(nullptr);
    child.SetParent(&parent);
    child.SetBounds(12, 40, 50, 20);
    TteBitmap tile;
    tile.SetSize(3, 2);
    for (int i = 0; i < 6; ++i) tile.SetPixel(i % 3, i / 3, 0xFF000010u + i);
    RegisterDrawControlBackground(TWinControl::StaticClass(), [&](TCanvas* c, const TteBackground&) {
        tile.Tile(c->Handle(), TRect{0, 0, 200, 100}, tile.BoundsRect());
        return true;
    });
    PrepareTarget(120, 70);
    DrawControlBackground(&child, target.DC());
    for (int y = 0; y < 70; ++y)
        for (int x = 0; x < 120; ++x) {
            const uint32_t face = 0x10u + static_cast<uint32_t>((40 + y) % 2 * 3 + (12 + x) % 3);
            ASSERT_EQ(At(x, y), x < 50 && y < 20 ? face : 0xFFFFFFu) << x << "," << y;
        }
}

TEST_F(BackgroundTest, TheCoreRegistersTheGroupBoxColour) {
    TGroupBox box(nullptr);
    box.SetBounds(0, 0, 200, 100);
    box.SetColor(clTeal);
    TGraphicChild child(nullptr);
    child.SetParent(&box);
    child.SetBounds(12, 40, 50, 20);
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());
    EXPECT_EQ(At(0, 0), 0x008080u);
    EXPECT_EQ(At(49, 19), 0x008080u);
    child.SetParent(nullptr);
}

TEST_F(BackgroundTest, WithoutPainterTheParentPaintsItsLookBehindAGraphicControl) {
    TPaintedParent parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TGraphicChild child(nullptr);
    child.SetParent(&parent);
    child.SetBounds(12, 40, 50, 20);
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());
    EXPECT_EQ(At(0, 0), 0x0000FFu);  // the parent's blue square at (12, 40)
    EXPECT_EQ(At(9, 9), 0x0000FFu);
    EXPECT_EQ(At(10, 10), 0xFF0000u);
    EXPECT_EQ(At(49, 19), 0xFF0000u);
}

// A plain windowless control of one colour that counts its paints.
class TColourChild : public TGraphicControl {
    TARVEL_CLASS(TColourChild, TGraphicControl)

public:
    explicit TColourChild(TComponent* owner) : TGraphicControl(owner) {}
    int Paints = 0;

protected:
    void Paint() override {
        ++Paints;
        Canvas()->Brush()->SetColor(Color());
        Canvas()->FillRect(ClientRect());
    }
};

// What lies behind a windowless control is its parent's own face: neither
// an overlapping sibling nor the control itself is painted into it.
TEST_F(BackgroundTest, WithoutPainterNoWindowlessChildIsPaintedBehindAnother) {
    TPaintedParent parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    TColourChild under(nullptr), over(nullptr);
    under.SetColor(clLime);
    over.SetColor(clYellow);
    under.SetParent(&parent);
    over.SetParent(&parent);
    under.SetBounds(12, 40, 50, 20);
    over.SetBounds(30, 45, 50, 20);
    const struct {
        TColourChild* control;
        TPoint inSibling;  // a point of the control the sibling covers
    } cases[] = {{&under, {25, 10}}, {&over, {5, 5}}};
    for (const auto& c : cases) {
        PrepareTarget(50, 20);
        DrawControlBackground(c.control, target.DC());
        EXPECT_EQ(At(c.inSibling.x, c.inSibling.y), 0xFF0000u) << c.control->Color() << ": the parent's red";
        EXPECT_EQ(At(49, 19), 0xFF0000u) << c.control->Color();
    }
    EXPECT_EQ(At(0, 0), 0xFF0000u);
    EXPECT_EQ(under.Paints, 0) << "painted once, in its own paint";
    EXPECT_EQ(over.Paints, 0);
    under.SetParent(nullptr);
    over.SetParent(nullptr);
}

TEST_F(BackgroundTest, WithoutPainterAPlainParentErasesBehindAWindowedControl) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    parent.SetColor(clYellow);
    TPaintedParent painted(nullptr);  // made before the child, which it would free
    painted.SetBounds(0, 0, 200, 100);
    TWinControl child(nullptr);
    child.SetParent(&parent);
    child.SetBounds(12, 40, 50, 20);
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());
    EXPECT_EQ(At(0, 0), 0xFFFF00u);
    EXPECT_EQ(At(49, 19), 0xFFFF00u);

    child.SetParent(&painted);
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());
    EXPECT_EQ(At(0, 0), 0x0000FFu);
    EXPECT_EQ(At(20, 15), 0xFF0000u);
}

TEST_F(BackgroundTest, NothingForAnEmptyOrOrphanOrCopiedControl) {
    TWinControl parent(nullptr);
    parent.SetBounds(0, 0, 200, 100);
    parent.SetColor(clYellow);
    TGraphicChild child(nullptr);
    child.SetBounds(12, 40, 50, 20);
    PrepareTarget(50, 20);
    DrawControlBackground(&child, target.DC());  // no parent
    child.SetParent(&parent);
    child.SetBounds(12, 40, 0, 20);
    DrawControlBackground(&child, target.DC());  // width 0
    child.SetBounds(12, 40, 50, 20);
    child.ControlState.Include(csPaintCopy);
    DrawControlBackground(&child, target.DC());  // already a copy
    EXPECT_TRUE(child.DisableDrawing.empty());
    EXPECT_EQ(At(0, 0), 0xFFFFFFu);
    DrawControlBackground(static_cast<TControl*>(nullptr), target.DC());
}

// A window's background: its parent is asked with the canvas's DC shifted
// to the window's place, or with one description message.
TEST_F(BackgroundTest, AWindowAsksItsParentWindow) {
    std::vector<TRecorded> heard;
    TRect described;
    WNDPROC proc = MakeWindowProc([&](HWND h, UINT m, WPARAM w, LPARAM l) -> LRESULT {
        if (m == WM_ERASEBKGND || m == WM_PAINT || m == WM_BACKGROUNDDESCRIPTION) {
            heard.push_back(TRecorded{m, w, l});
            if (m == WM_BACKGROUNDDESCRIPTION) described = reinterpret_cast<const TteBackground*>(l)->Rect;
            if (m == WM_ERASEBKGND) {
                TPoint origin;
                GetWindowOrgEx(HDC(static_cast<uint64_t>(w)), &origin);
                heard.push_back(TRecorded{0, static_cast<uintptr_t>(origin.x), origin.y});
            }
            return 1;
        }
        return DefWindowProc(h, m, w, l);
    });
    WNDCLASS wc;
    wc.lpfnWndProc = proc;
    wc.lpszClassName = "ThemeBackgroundParent";
    ASSERT_TRUE(RegisterClass(wc));
    HWND parent = CreateWindowEx(0, "ThemeBackgroundParent", "", WS_OVERLAPPED, 100, 100, 300, 200, nullptr);
    HWND child = CreateWindowEx(0, "ThemeBackgroundParent", "", WS_CHILD, 30, 20, 40, 10, parent);
    ASSERT_TRUE(parent && child);
    PrepareTarget(40, 10);
    TCanvas canvas;
    canvas.SetHandle(target.DC());
    DrawControlBackground(child, canvas);
    const TPoint origin{30, 20};
    ASSERT_EQ(heard.size(), 3u);
    EXPECT_EQ(heard[0].Msg, WM_ERASEBKGND);
    EXPECT_EQ(heard[0].WParam, static_cast<uintptr_t>(target.DC().Value()));
    EXPECT_EQ(heard[1], (TRecorded{0, static_cast<uintptr_t>(origin.x), origin.y}));
    EXPECT_EQ(heard[2].Msg, WM_PAINT);
    heard.clear();
    CustomBackroundDrawing = true;
    DrawControlBackground(child, canvas);
    CustomBackroundDrawing = false;
    ASSERT_EQ(heard.size(), 1u);
    EXPECT_EQ(heard[0].Msg, WM_BACKGROUNDDESCRIPTION);
    EXPECT_EQ(heard[0].WParam, reinterpret_cast<uintptr_t>(&canvas));
    EXPECT_EQ(described, (TRect{30, 20, 70, 30}));
    TPoint after;
    GetWindowOrgEx(target.DC(), &after);
    EXPECT_EQ(after, (TPoint{0, 0}));
    canvas.SetHandle(HDC{});
    heard.clear();
    DrawControlBackground(parent, canvas);  // a top-level window has no parent to ask
    EXPECT_TRUE(heard.empty());
    DestroyWindow(parent);
    UnregisterClass("ThemeBackgroundParent");
    FreeWindowProc(proc);
}

}  // namespace
}  // namespace tarvel
