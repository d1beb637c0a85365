// Controls: ownership, parents, notifications, message routing, painting of
// windowless controls, mouse tracking.

#include <gtest/gtest.h>

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

// A windowless control that fills itself with one colour.
class TSwatch : public TGraphicControl {
public:
    TSwatch(TComponent* owner, TColor color) : TGraphicControl(owner), color_(color) {}

protected:
    void Paint() override {
        Canvas()->Brush()->SetColor(color_);
        Canvas()->FillRect(ClientRect());
    }

private:
    TColor color_;
};

class ControlsTest : public ::testing::Test {
protected:
    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(50, 50, 300, 200);
    }

    template <class T>
    T* Add(const char* name, TRect bounds, TWinControl* parent = nullptr) {
        T* c = new T(form);
        c->SetName(name);
        c->SetParent(parent ? parent : form);
        c->SetBoundsRect(bounds);
        return c;
    }

    // Records the numbers of the messages a control's WindowProc sees.
    std::vector<UINT>& Record(TControl* c) {
        auto& log = logs_[c];
        auto old = c->WindowProc;
        c->WindowProc = [&log, old](TMessage& m) {
            log.push_back(m.Msg);
            old(m);
        };
        return log;
    }

    static int Count(const std::vector<UINT>& log, UINT msg) {
        return static_cast<int>(std::count(log.begin(), log.end(), msg));
    }

    TUiDriver ui;
    TForm* form = nullptr;
    std::map<TControl*, std::vector<UINT>> logs_;
};

TEST_F(ControlsTest, ParentFreesItsChildrenAndOwnerForgetsThem) {
    auto* panel = Add<TWinControl>("Panel", Bounds(0, 0, 100, 100));
    auto* inner = Add<TButton>("Inner", Bounds(5, 5, 50, 20), panel);
    auto* label = Add<TLabel>("Label", Bounds(5, 30, 50, 20), panel);
    form->Show();
    ui.RunUntilIdle();
    ASSERT_TRUE(inner->HandleAllocated());
    const HWND innerWindow = inner->Handle();
    ASSERT_EQ(panel->ControlCount(), 2);
    const int before = form->ComponentCount();

    delete panel;
    EXPECT_EQ(form->ComponentCount(), before - 3);
    EXPECT_EQ(form->FindComponent("Inner"), nullptr);
    EXPECT_EQ(form->FindComponent("Label"), nullptr);
    EXPECT_FALSE(IsWindow(innerWindow));
    EXPECT_EQ(form->ControlCount(), 0);
    (void)label;
}

TEST_F(ControlsTest, HoldersForgetControlsAndMenusThatAreFreed) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
    auto* other = Add<TEdit>("Other", Bounds(10, 40, 100, 21));
    auto* label = Add<TLabel>("Caption", Bounds(120, 10, 50, 17));
    label->SetFocusControl(edit);
    auto* menu = new TPopupMenu(nullptr);
    other->SetPopupMenu(menu);
    form->Show();
    ui.Click(edit);
    ASSERT_EQ(form->ActiveControl(), edit);

    delete edit;
    EXPECT_EQ(label->FocusControl(), nullptr);
    EXPECT_EQ(form->ActiveControl(), nullptr);
    delete menu;
    EXPECT_EQ(other->PopupMenu(), nullptr);
    // The form still works: focus moves on with a click.
    ui.Click(other);
    EXPECT_EQ(form->ActiveControl(), other);
}

TEST_F(ControlsTest, ParentFontAndColourAreFollowedUntilTheControlSetsItsOwn) {
    auto* follower = Add<TLabel>("Follower", Bounds(0, 0, 50, 17));
    auto* own = Add<TLabel>("Own", Bounds(0, 20, 50, 17));
    own->Font()->SetSize(12);
    EXPECT_FALSE(own->ParentFont());
    auto& log = Record(follower);

    form->Font()->SetName("Arial");
    form->SetColor(clYellow);
    EXPECT_EQ(follower->Font()->Name(), "Arial");
    EXPECT_TRUE(follower->ParentFont());
    EXPECT_EQ(follower->Color(), clYellow);
    EXPECT_EQ(own->Font()->Name(), "MS Sans Serif");
    EXPECT_EQ(own->Font()->Size(), 12);
    EXPECT_GE(Count(log, CM_FONTCHANGED), 1);
    EXPECT_EQ(Count(log, CM_COLORCHANGED), 1);

    follower->SetColor(clRed);
    EXPECT_FALSE(follower->ParentColor());
    form->SetColor(clBlue);
    EXPECT_EQ(follower->Color(), clRed);
}

TEST_F(ControlsTest, StateChangesSendTheirNotificationsOncePerChangeEvenWithoutAWindow) {
    TControl loose(nullptr);  // no parent, no window
    auto& log = Record(&loose);
    loose.SetCaption("a");
    loose.SetCaption("a");
    loose.SetText("b");
    loose.SetVisible(false);
    loose.SetVisible(false);
    loose.SetEnabled(false);
    loose.SetColor(clRed);
    EXPECT_EQ(Count(log, CM_TEXTCHANGED), 2);
    EXPECT_EQ(Count(log, CM_VISIBLECHANGED), 1);
    EXPECT_EQ(Count(log, CM_ENABLEDCHANGED), 1);
    EXPECT_EQ(Count(log, CM_COLORCHANGED), 1);
    char buf[8] = {};
    EXPECT_EQ(loose.Perform(WM_GETTEXT, sizeof buf, reinterpret_cast<LPARAM>(buf)), 1);
    EXPECT_STREQ(buf, "b");
}

TEST_F(ControlsTest, WindowedTextFollowsItsWindow) {
    auto* button = Add<TButton>("Button", Bounds(10, 10, 75, 25));
    form->Show();
    ui.RunUntilIdle();
    auto& log = Record(button);
    button->SetCaption("Go");
    EXPECT_EQ(GetWindowText(button->Handle()), "Go");
    SetWindowText(button->Handle(), "Stop");
    EXPECT_EQ(button->Caption(), "Stop");
    EXPECT_EQ(Count(log, CM_TEXTCHANGED), 2);
}

TEST_F(ControlsTest, AReplacedWindowProcSeesAndCanSwallowMessages) {
    auto* button = Add<TButton>("Button", Bounds(10, 10, 75, 25));
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ui.Click(button);
    ASSERT_EQ(clicks, 1);

    auto original = button->WindowProc;
    button->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_LBUTTONUP) return;  // swallowed
        original(m);
    };
    ui.Click(button);
    EXPECT_EQ(clicks, 1);
    button->WindowProc = original;
    ui.Click(button);
    EXPECT_EQ(clicks, 2);
}

TEST_F(ControlsTest, AClickNeedsTheReleaseInsideTheControl) {
    auto* button = Add<TButton>("Button", Bounds(10, 10, 75, 25));
    int clicks = 0;
    button->OnClick = [&](TObject*) { ++clicks; };
    form->Show();
    ui.RunUntilIdle();
    TPoint inside = button->ClientToScreen({10, 10});
    TPoint outside = button->ClientToScreen({200, 100});
    ui.Backend().MouseMove(inside);
    ui.Backend().MouseDown(inside);
    ui.Backend().MouseMove(outside);
    ui.Backend().MouseUp(outside);
    ui.RunUntilIdle();
    EXPECT_EQ(clicks, 0);
    EXPECT_EQ(GetCapture(), nullptr);
}

TEST_F(ControlsTest, WindowlessControlsArePaintedByTheParentAtTheirPlace) {
    for (bool doubleBuffered : {false, true}) {
        SCOPED_TRACE(doubleBuffered);
        TForm* f = new TForm(Application);
        f->SetBorderStyle(bsNone);
        f->SetBounds(0, 0, 100, 80);
        f->SetColor(clWhite);
        f->SetDoubleBuffered(doubleBuffered);
        auto* red = new TSwatch(f, clRed);
        red->SetParent(f);
        red->SetBounds(30, 20, 10, 10);
        auto* hidden = new TSwatch(f, clBlue);
        hidden->SetParent(f);
        hidden->SetBounds(60, 20, 10, 10);
        hidden->SetVisible(false);
        f->Show();
        ui.RunUntilIdle();
        auto pixels = ui.Backend().WindowPixels(f->Handle());
        ASSERT_TRUE(pixels);
        auto rgb = [&](int x, int y) { return pixels->Pixel(x, y) & 0xFFFFFF; };
        EXPECT_EQ(rgb(30, 20), 0xFF0000u);
        EXPECT_EQ(rgb(39, 29), 0xFF0000u);
        EXPECT_EQ(rgb(29, 20), 0xFFFFFFu);
        EXPECT_EQ(rgb(40, 30), 0xFFFFFFu);
        EXPECT_EQ(rgb(65, 25), 0xFFFFFFu);
        delete f;
    }
}

TEST_F(ControlsTest, MouseEnterAndLeaveFollowThePointer) {
    auto* label = Add<TLabel>("Label", Bounds(10, 10, 60, 20));
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 20);
    auto* button = Add<TButton>("Button", Bounds(100, 10, 75, 25));
    std::vector<String> events;
    for (TControl* c : {static_cast<TControl*>(label), static_cast<TControl*>(button)}) {
        c->OnMouseEnter = [&events](TObject* s) {
            events.push_back("enter " + static_cast<TControl*>(s)->Name());
        };
        c->OnMouseLeave = [&events](TObject* s) {
            events.push_back("leave " + static_cast<TControl*>(s)->Name());
        };
    }
    form->Show();
    ui.MoveMouseTo(label, {5, 5});
    ui.MoveMouseTo(label, {6, 6});
    ui.MoveMouseTo(button, {5, 5});
    ui.MoveMouseTo(form, {250, 150});
    EXPECT_EQ(events, (std::vector<String>{"enter Label", "leave Label", "enter Button", "leave Button"}));
}

// A parent hears of the pointer entering and leaving its controls, its
// children's children too, each time with the control concerned.
TEST_F(ControlsTest, MouseEnterAndLeaveReachEveryParentWithTheControlConcerned) {
    auto* panel = Add<TPanel>("Panel", Bounds(10, 10, 200, 100));
    auto* label = Add<TLabel>("Label", Bounds(10, 10, 60, 20), panel);
    label->SetAutoSize(false);
    label->SetBounds(10, 10, 60, 20);
    std::vector<String> heard, events;
    for (TControl* listener : {static_cast<TControl*>(form), static_cast<TControl*>(panel)}) {
        auto inherited = listener->WindowProc;
        listener->WindowProc = [listener, inherited, &heard](TMessage& m) {
            if (m.Msg == CM_MOUSEENTER || m.Msg == CM_MOUSELEAVE) {
                auto* about = reinterpret_cast<TControl*>(m.LParam);
                heard.push_back(listener->Name() + (m.Msg == CM_MOUSEENTER ? " enter " : " leave ") +
                                (about ? about->Name() : String("(0)")));
            }
            inherited(m);
        };
        listener->OnMouseEnter = [&events](TObject* s) {
            events.push_back("enter " + static_cast<TControl*>(s)->Name());
        };
        listener->OnMouseLeave = [&events](TObject* s) {
            events.push_back("leave " + static_cast<TControl*>(s)->Name());
        };
    }
    form->Show();
    ui.MoveMouseTo(panel, {150, 80});
    heard.clear();
    events.clear();
    ui.MoveMouseTo(label, {5, 5});
    ui.MoveMouseTo(panel, {150, 80});
    EXPECT_EQ(heard, (std::vector<String>{"Panel leave Panel", "Main leave Panel", "Panel enter Label",
                                          "Main enter Label", "Panel leave Label", "Main leave Label",
                                          "Panel enter Panel", "Main enter Panel"}));
    EXPECT_EQ(events, (std::vector<String>{"leave Panel", "enter Panel"}))
        << "events fire only for the control itself";
}

TEST_F(ControlsTest, TheWheelGoesToTheFocusedControlAndThenUpItsParents) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
    int formDelta = 0;
    form->OnMouseWheel = [&](TObject*, TShiftState, int delta, TPoint, bool& handled) {
        formDelta += delta;
        handled = true;
    };
    form->Show();
    ui.Click(edit);
    ui.Wheel(edit, -120);
    EXPECT_EQ(formDelta, -120);
}

TEST_F(ControlsTest, RecreatingTheWindowKeepsTextBoundsAndChildren) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
    edit->SetTextValue("kept");
    form->Show();
    ui.RunUntilIdle();
    const HWND before = form->Handle();
    form->SetBorderStyle(bsDialog);
    ui.RunUntilIdle();
    EXPECT_NE(form->Handle(), before);
    EXPECT_FALSE(IsWindow(before));
    ASSERT_TRUE(edit->HandleAllocated());
    EXPECT_TRUE(IsChild(form->Handle(), edit->Handle()));
    EXPECT_EQ(GetWindowText(edit->Handle()), "kept");
    EXPECT_EQ(edit->BoundsRect(), Bounds(10, 10, 100, 21));
}

TEST_F(ControlsTest, CursorOfTheControlUnderTheMouseIsShownUnlessTheScreenOverridesIt) {
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21));
    auto* label = Add<TLabel>("Label", Bounds(10, 50, 60, 20));
    label->SetCaption("Link");
    label->SetCursor(crHandPoint);
    form->Show();
    ui.MoveMouseTo(edit, {5, 5});
    EXPECT_EQ(ui.Backend().CursorShape(), IDC_IBEAM);
    ui.MoveMouseTo(label, {2, 2});
    EXPECT_EQ(ui.Backend().CursorShape(), IDC_HAND);
    Screen->SetCursor(crHourGlass);
    ui.MoveMouseTo(edit, {6, 6});
    EXPECT_EQ(ui.Backend().CursorShape(), IDC_WAIT);
    Screen->SetCursor(crDefault);
}

}  // namespace
}  // namespace tarvel
