#pragma once
// TTeScrollBar: a windowless scroll bar drawn entirely here: two arrow
// buttons, a track and a slider, from the theme when it has a scroll-bar
// object, else in the classic look. Buttons and track repeat while held,
// at the keyboard delay and then the keyboard rate, on a window-system timer.

#include <cstdint>
#include <functional>

#include "platform/classlib/Timers.h"
#include "skin/core/te_forms.h"

namespace tarvel {

enum TTeScrollOrientation : uint8_t { ksoHorizontal, ksoVertical };
using TTeScrollEvent = std::function<void(TObject* sender, TTeScrollCode code, int& scrollPos)>;

class TTeScrollBar : public TTeGraphicControl {
    TARVEL_CLASS(TTeScrollBar, TTeGraphicControl)

public:
    explicit TTeScrollBar(TComponent* owner);
    ~TTeScrollBar() override;

    int Position() const { return position_; }
    void SetPosition(int value);
    int Min() const { return min_; }
    void SetMin(int value);
    int Max() const { return max_; }
    void SetMax(int value);
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TTeScrollOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTeScrollOrientation value);
    bool ShowButtons() const { return showButtons_; }
    void SetShowButtons(bool value);
    uint16_t LargeChange() const { return largeChange_; }
    void SetLargeChange(uint16_t value) { largeChange_ = value; }
    uint16_t SmallChange() const { return smallChange_; }
    void SetSmallChange(uint16_t value) { smallChange_ = value; }
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);
    // The thickness of the system's bar plus the border, across the bar.
    void UpdateSytemSize();
    bool AutoScrollUp() const { return autoScrollUp_; }
    void SetAutoSrcollUp(bool value);
    bool AutoScrollDown() const { return autoScrollDown_; }
    void SetAutoSrcollDown(bool value);

    bool GetSliderPressed() const { return dragOffset_ >= 0; }
    bool GetLeftTopBtnPressed() const { return pressed_[kFirstBtn] && hot_[kFirstBtn]; }
    bool GetRightBottomBtnPressed() const { return pressed_[kSecondBtn] && hot_[kSecondBtn]; }
    bool GetLeftTopTrackPressed() const { return pressed_[kFirstTrack] && hot_[kFirstTrack]; }
    bool GetRightBottomTrackPressed() const { return pressed_[kSecondTrack] && hot_[kSecondTrack]; }
    bool SliderHot() const { return hot_[kSlider]; }
    bool LeftTopBtnHot() const { return hot_[kFirstBtn]; }
    bool RightBottomBtnHot() const { return hot_[kSecondBtn]; }
    // The repeat timer (null until the first press).
    TTimer* RepeatTimer() const { return timer_; }

    // One step as the key would make it: line, page, home and end keys.
    void ImitateKeyDown(WORD& key, TShiftState shift);

    virtual void DrawLeftTopBtn();
    virtual void DrawRightBottomBtn();
    virtual void DrawTrack();
    virtual void DrawSlider();
    virtual void DrawBackground();
    virtual void DrawBorder();
    virtual int GetBtnSize();
    virtual int GetSliderSize();
    virtual TRect GetLeftTopBtnRect();
    virtual TRect GetRightBottomBtnRect();
    virtual TRect GetSliderRect();
    virtual TRect GetBackgroundRect();
    virtual TRect GetLeftTopTrackRect();
    virtual TRect GetRightBottomTrackRect();
    virtual bool PtInLeftTopBtn(TPoint p);
    virtual bool PtInRightBottomBtn(TPoint p);
    virtual bool PtInSlider(TPoint p);
    virtual bool PtInLeftTopTrack(TPoint p);
    virtual bool PtInRightBottomTrack(TPoint p);

    // The position a slider edge coordinate stands for, and back.
    int PositionOfCoord(int coord);
    int SliderCoord();

    TNotifyEvent OnChange;
    TTeScrollEvent OnScroll;

    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;
    virtual void Change();
    virtual void Scroll(TTeScrollCode code, int& scrollPos);
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    enum TPart { kSlider, kFirstBtn, kSecondBtn, kFirstTrack, kSecondTrack, kPartCount };

    void CMEnabledChanged(TMessage& m);
    void PartPress(bool first);
    void TimerExpired(TObject*);
    void StopTimer();
    bool Vertical() const { return orientation_ == ksoVertical; }
    int Along(TPoint p) const { return Vertical() ? p.y : p.x; }
    int Leading(const TRect& r) const { return Vertical() ? r.top : r.left; }
    int Trailing(const TRect& r) const { return Vertical() ? r.bottom : r.right; }
    int LongSide(const TRect& r) const { return Vertical() ? r.Height() : r.Width(); }
    // r cut to [from, to) along the bar.
    TRect Span(const TRect& r, int from, int to) const;
    int Range() const;
    bool SliderVisible();
    bool Themed();
    bool PressedAndHot(TPart part) const { return pressed_[part] && hot_[part]; }
    // Moves by the new position through Scroll, as the key table says.
    void Step(int newPosition, TTeScrollCode code);
    void DrawButton(bool first);
    void DrawClassicSlider(const TRect& r);

    int position_ = 0;
    int min_ = 0;
    int max_ = 100;
    int pageSize_ = 0;
    int borderWidth_ = 0;
    TTeScrollOrientation orientation_ = ksoHorizontal;
    bool showButtons_ = true;
    uint16_t largeChange_ = 1;
    uint16_t smallChange_ = 1;
    String themeObject_ = "default";
    TteCustomThemeLink* themeLink_ = nullptr;
    TTimer* timer_ = nullptr;
    bool hot_[kPartCount] = {};
    bool pressed_[kPartCount] = {};  // kSlider unused: the drag offset says it
    int dragOffset_ = -1;
    TPoint lastMouse_{-1, -1};
    bool autoScrollUp_ = false;
    bool autoScrollDown_ = false;
};

}  // namespace tarvel
