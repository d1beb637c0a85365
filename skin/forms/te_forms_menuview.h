#pragma once
// The item view: lays out the sub-items of one item, tracks the one under
// the mouse or chosen by the keyboard, scrolls long menus and runs the modal
// loop of one open menu level. The menu bar's view lays out left to right;
// each popup window's view top to bottom. Descendants decide where the
// items are painted and how a change is repainted. The loops of an open
// menu nest: a level's loop opens the next level, whose window runs its own
// loop inside the first.

#include <memory>

#include "platform/classlib/Timers.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {

enum TTeViewOrientation : uint8_t { voVertical, voHorizontal };

// The screen position of the last mouse move that a menu loop handled.
extern TPoint LastMenuMousePos;
// How many menu loops are running, one inside the other.
int MenuLoopLevel();
class TTeItemView;
// The view whose loop runs outermost, or null.
TTeItemView* OutermostMenuView();

class TTeItemView : public TComponent {
    TARVEL_CLASS(TTeItemView, TComponent)

public:
    TTeItemView(TComponent* owner, bool isMenuBar, TTeViewOrientation orientation);
    ~TTeItemView() override;

    TTeItem* RootItem = nullptr;
    TWinControl* LayoutControl = nullptr;
    // Takes the capture; hover and click tests use its coordinates; the
    // loop posts its keys and MM_POPUPSUBMENU to its window.
    TWinControl* CaptureControl = nullptr;
    TTeItem* HotItem = nullptr;
    bool DroppedDown = false;
    bool InLoop = false;
    TCanvas* Canvas = nullptr;
    int OriginX = 0, OriginY = 0;
    int ContentWidth = 0, ContentHeight = 0;
    TTeMenuScrollButton HotScrollButton = ksbNone;
    TTeItemView* ParentView = nullptr;
    TTeItemView* ChildView = nullptr;

    bool IsMenuBar() const { return isMenuBar_; }
    TTeViewOrientation Orientation() const { return orientation_; }
    bool IsScrolled() const;
    bool ScrollTimerRunning() const { return scrollTimer_ != nullptr; }

    virtual void SetSize(const TPoint&) {}
    virtual void SetPosition(const TPoint&) {}
    virtual void InvalidateView() {}
    virtual void InvalidateItem(TTeItem*) {}
    virtual void InvalidateScrollButton(TTeMenuScrollButton) {}
    virtual void InitiateAction();
    virtual void Paint(TCanvas* canvas);

    void CalcSize();
    void GetItemRect(TTeItem* item, TRect& rect);
    void GetScrollButtonRect(TTeMenuScrollButton button, TRect& rect);
    void UpdateHover(TPoint screen);
    void StartScroll();
    void StopScroll();
    void SelectNext();
    void SelectPrev();
    bool CheckDropDown() const;
    bool Popup();
    // Runs the level's loop until the level closes; answers true.
    bool MessageLoop();
    // Ends the loops of this level, of the levels open below it and of the
    // levels it was opened from.
    void CloseMenu();

private:
    // The number of sub-items shown from TopItem on.
    int ShownCount(bool remainingOnly) const;
    bool IsShown(int index) const;
    void DoScrollTimer(TObject* sender);
    void Select(int step);
    void SetHot(TTeItem* item);
    void CloseAll();
    bool HoldsPoint(TPoint screen) const;
    bool PointOnThisLevel(TPoint screen) const;
    bool AnyLevelHoldsPoint(TPoint screen) const;
    void PostToCapture(UINT msg, WPARAM wParam);
    bool HandleKey(UINT key);
    TPoint ToCapture(TPoint screen) const;

    bool isMenuBar_;
    TTeViewOrientation orientation_;
    std::unique_ptr<TTimer> scrollTimer_;
    bool leave_ = false;
};

}  // namespace tarvel
