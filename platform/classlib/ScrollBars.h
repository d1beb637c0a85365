#pragma once
// The scroll bar control and the scroll box, which scrolls its children.

#include "platform/classlib/Controls.h"
#include "platform/classlib/UiAccess.h"
#include "platform/classlib/WindowScrollBars.h"

namespace tarvel {

enum TScrollBarKind { sbHorizontal, sbVertical };
enum TScrollCode {
    scLineUp,
    scLineDown,
    scPageUp,
    scPageDown,
    scPosition,
    scTrack,
    scTop,
    scBottom,
    scEndScroll
};
using TScrollEvent = std::function<void(TObject* sender, TScrollCode code, int& scrollPos)>;

// Where the parts of a scroll bar lie: two square arrow buttons at the
// ends, the track between them and the thumb in the track.
struct TScrollParts {
    TRect lineUp, lineDown, track, thumb;
    // The range goes past the page: the arrows work even where the track
    // has no room for a thumb.
    bool scrollable = false;
    enum Part { None, LineUp, LineDown, PageUp, PageDown, Thumb };
    Part HitTest(TPoint p) const;
};
TScrollParts ScrollPartsOf(TRect r, bool vertical, int min, int max, int pageSize, int position);

class TScrollBar : public TCustomControl, public IUiState {
    TARVEL_CLASS(TScrollBar, TCustomControl)

public:
    String UiState() override { return "position=" + IntToStr(position_); }
    explicit TScrollBar(TComponent* owner);

    TScrollBarKind Kind() const { return kind_; }
    void SetKind(TScrollBarKind kind);
    int Min() const { return min_; }
    int Max() const { return max_; }
    int Position() const { return position_; }
    int PageSize() const { return pageSize_; }
    // Position stays in Min .. Max - PageSize + 1 (Max with no page).
    void SetParams(int position, int min, int max);
    void SetMin(int v) { SetParams(position_, v, std::max(v, max_)); }
    void SetMax(int v) { SetParams(position_, std::min(min_, v), v); }
    void SetPosition(int v) { SetParams(v, min_, max_); }
    void SetPageSize(int v);
    int SmallChange() const { return smallChange_; }
    void SetSmallChange(int v) { smallChange_ = std::max(1, v); }
    int LargeChange() const { return largeChange_; }
    void SetLargeChange(int v) { largeChange_ = std::max(1, v); }
    TScrollParts Parts();
    TScrollParts::Part PressedPart() const { return pressed_; }

    TNotifyEvent OnChange;
    TScrollEvent OnScroll;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void WMTimer(TMessage& m);

private:
    int MaxPosition() const { return pageSize_ > 0 ? std::max(min_, max_ - pageSize_ + 1) : max_; }
    // Moves by one scroll step and reports it as a user's scroll would.
    void Scroll(TScrollCode code, int position);
    void RepeatPart();

    TScrollBarKind kind_ = sbHorizontal;
    int min_ = 0, max_ = 100, position_ = 0, pageSize_ = 0;
    int smallChange_ = 1, largeChange_ = 1;
    TScrollParts::Part pressed_ = TScrollParts::None;
    int dragOffset_ = 0;
    TPoint mouse_;
};

// A hidden bar inside `host`, for a control that scrolls its own content;
// `moved` gets each new position.
TScrollBar* MakeInnerScrollBar(TWinControl* host, TScrollBarKind kind,
                               std::function<void(int position)> moved);

// One scroll bar of a scroll box: the range is the extent of the children,
// the position how far they are scrolled.
class TControlScrollBar : public TPersistent {
    TARVEL_CLASS(TControlScrollBar, TPersistent)

public:
    int Range() const { return range_; }
    void SetRange(int v);
    int Position() const { return position_; }
    void SetPosition(int v);
    // Thickness of the bar (0: the system's).
    int Size() const { return size_; }
    void SetSize(int v);
    bool Visible() const { return visible_; }
    void SetVisible(bool v);
    int Increment() const { return increment_; }
    void SetIncrement(int v) { increment_ = std::max(1, v); }
    // Shown: visible and the range exceeds the view.
    bool IsScrollBarVisible() const;

private:
    friend class TScrollBox;
    TControlScrollBar(class TScrollBox* box, TScrollBarKind kind) : box_(box), kind_(kind) {}
    class TScrollBox* box_;
    TScrollBarKind kind_;
    int range_ = 0, position_ = 0, size_ = 0, increment_ = 8;
    bool visible_ = true;
    bool rangeSet_ = false;
};

// Its bars are child controls; by its handle it answers for them as a
// window with window bars does, and takes the same scroll requests.
class TScrollBox : public TCustomControl, public IScrollBarsAnswer {
    TARVEL_CLASS(TScrollBox, TCustomControl)

public:
    explicit TScrollBox(TComponent* owner);
    ~TScrollBox() override;
    TControlScrollBar* VertScrollBar() { return vert_.get(); }
    TControlScrollBar* HorzScrollBar() { return horz_.get(); }
    // Work out the ranges from the children (when not set) and place the bars.
    void UpdateScrollBars();
    void ScrollInView(TControl* control);

    TScrollBarParts ScreenScrollParts(int bar) override;
    TScrollBarPart PressedScrollPart(int bar) override;
    SCROLLINFO ScrollInfoOf(int bar) override;
    int SetScrollInfoOf(int bar, const SCROLLINFO& info) override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    void AlignControls(TControl* control, TRect& rect) override;
    void AdjustClientRect(TRect& r) override;
    void Resize() override;
    bool DoMouseWheel(TShiftState shift, int wheelDelta, TPoint mousePos) override;
    void Paint() override;

private:
    friend class TControlScrollBar;
    void ScrollBy(int dx, int dy);
    int ViewExtent(TScrollBarKind kind);
    int BarThickness(const TControlScrollBar& bar) const;
    void WMScroll(TMessage& m);

    TScrollBar* BarOf(int bar) const { return bar == SB_VERT ? vertBar_ : horzBar_; }
    TControlScrollBar* ScrollOf(int bar) const { return bar == SB_VERT ? vert_.get() : horz_.get(); }

    std::unique_ptr<TControlScrollBar> vert_, horz_;
    TScrollBar* vertBar_ = nullptr;
    TScrollBar* horzBar_ = nullptr;
    bool updating_ = false;
    int trackPos_[2] = {};  // horizontal, vertical
};

// A frame: a scroll box without a border of its own that holds a group of
// controls placed on a form as one.
class TFrame : public TScrollBox {
    TARVEL_CLASS(TFrame, TScrollBox)

public:
    explicit TFrame(TComponent* owner);

protected:
    void CreateParams(TCreateParams& params) override;
};

}  // namespace tarvel
