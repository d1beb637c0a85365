#pragma once
// TTeTrackBar: a slider drawn here. A thumb moves along a track between Min
// and Max, snapped to multiples of Frequency, with ticks on one or both
// sides; dragged, clicked beside (a page step, or a jump with JumpByClick)
// or moved with the keys. The geometry helpers are shared with the range bar.

#include <cstdint>
#include <functional>

#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

enum TTeTrackOrientation : uint8_t { ktoHorizontal, ktoVertical };
enum TTeTickMark : uint8_t { ktbmBoth, ktbmBottomRight, ktbmTopLeft };
enum TIntervalHighlightType : uint8_t { htLowInterval, htHighInterval, htNone };

// Both sliders keep their track 9 pixels from the ends and 7 from the side.
inline constexpr int kTrackSideMargin = 9;
inline constexpr int kTrackTopBottomMargin = 7;

// The thumb's extent across the track: 2.2 times its width, halves to even.
int TrackThumbAcross(int thumbWidth);
// Where the track band lies across the bar (its start and end), for the
// given thumb width and tick placement; the range bar's band is not
// narrowed for ktbmBoth.
void TrackBandAcross(int thumbWidth, TTeTickMark marks, bool showTicks, bool narrowBoth, int& start,
                     int& end);
// The first pixel of the thumb across the bar.
int TrackThumbTop(TTeTickMark marks, bool showTicks);

// What both sliders share of their arithmetic and classic drawing.
// Rounding halves to even, held to the 64-bit range.
int64_t TrackRound(double v);
int TrackClamp(int64_t v, int lo, int hi);
// A rectangle or point given along and across the bar.
TRect TrackOriented(bool vertical, int alongStart, int acrossStart, int alongEnd, int acrossEnd);
TPoint TrackOrientedPoint(bool vertical, int along, int across);
// Min, Max and every multiple of frequency between, unless that is finer
// than a pixel of length: then the ends only.
void ForEachTrackTick(int min, int max, int frequency, int length, const std::function<void(int)>& tick);
// The classic band, with the part between highlight's ends marked.
void DrawClassicTrack(TCanvas& canvas, TRect band, bool enabled, const TRect* highlight);
// The classic rectangular thumb of ktbmBoth.
void DrawClassicBoxThumb(TCanvas& canvas, const TRect& r, bool dragging);
TteTrackThumbClass TrackThumbClass(bool vertical, TTeTickMark marks);
TteTrackThumbDrawState TrackThumbState(bool enabled, bool dragging, bool hot, bool focused);

// What both sliders lay out their track by: the orientation, the ticks, the
// key steps and the transparency. A change repaints the bar.
class TTeTrackLayout {
public:
    TTeTrackLayout(const TTeTrackLayout&) = delete;
    TTeTrackLayout& operator=(const TTeTrackLayout&) = delete;

    TTeTrackOrientation Orientation() const { return orientation_; }
    void SetOrientation(TTeTrackOrientation value);
    TTeTickMark TickMarks() const { return tickMarks_; }
    void SetTickMarks(TTeTickMark value);
    bool ShowTicks() const { return showTicks_; }
    void SetShowTicks(bool value);
    int Frequency() const { return frequency_; }
    // Values below 1 count as 1.
    void SetFrequency(int value);
    int LineSize() const { return lineSize_; }
    void SetLineSize(int value) { lineSize_ = value; }
    int PageSize() const { return pageSize_; }
    void SetPageSize(int value) { pageSize_ = value; }
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

protected:
    TTeTrackLayout(TControl* bar, bool transparent) : bar_(bar), transparent_(transparent) {}
    virtual ~TTeTrackLayout() = default;

    bool Vertical() const { return orientation_ == ktoVertical; }
    // A rectangle or point given along and across the bar, in control coordinates.
    TRect Oriented(int alongStart, int acrossStart, int alongEnd, int acrossEnd) const {
        return TrackOriented(Vertical(), alongStart, acrossStart, alongEnd, acrossEnd);
    }
    TPoint OrientedPoint(int along, int across) const {
        return TrackOrientedPoint(Vertical(), along, across);
    }
    // Each tick of min..max on each side the marks ask for, while ticks show.
    void ForEachTickSide(int min, int max, const std::function<void(int value, bool topLeft)>& tick) const;
    // The classic tick line, longer at the ends; on the far side it starts
    // `farGap` past the thumb (4 more with ticks on both sides).
    void DrawTickLine(TCanvas& canvas, bool end, int coordinate, bool topLeft, int thumbWidth,
                      int farGap) const;

    TControl* bar_;
    TTeTrackOrientation orientation_ = ktoHorizontal;
    TTeTickMark tickMarks_ = ktbmBottomRight;
    bool showTicks_ = true;
    int frequency_ = 1;
    int lineSize_ = 1;
    int pageSize_ = 2;
    bool transparent_;
};

class TTeTrackBar : public TTeControl, public TTeThemeLinked, public TTeTrackLayout {
    TARVEL_CLASS(TTeTrackBar, TTeControl)

public:
    explicit TTeTrackBar(TComponent* owner);
    ~TTeTrackBar() override;

    int Min() const { return min_; }
    // Refused unless below Max; pulls Position up.
    void SetMin(int value);
    int Max() const { return max_; }
    // Refused unless above Min; pulls Position down.
    void SetMax(int value);
    int Position() const { return position_; }
    // Clamped to Min..Max; fires OnChange on every value other than the one held.
    void SetPosition(int value);
    int ThumbHalfWidth() const { return thumbHalfWidth_; }
    void SetThumbHalfWidth(int value);
    TIntervalHighlightType IntervalHighlightType() const { return highlight_; }
    void SetIntervalHighlightType(TIntervalHighlightType value);
    bool JumpByClick() const { return jumpByClick_; }
    void SetJumpByClick(bool value) { jumpByClick_ = value; }
    bool ThumbVisible() const { return thumbVisible_; }
    void SetThumbVisible(bool value);

    bool Dragging() const { return dragging_; }
    bool ThumbHot() const { return thumbHot_; }

    virtual int GetThumbWidth() { return 2 * thumbHalfWidth_ + 1; }
    virtual int GetSideMargin() { return kTrackSideMargin; }
    virtual int GetTopBottomMargin() { return kTrackTopBottomMargin; }
    virtual void DrawTrack(int start, int end, int thumbCoordinate);
    virtual void DrawThumb(int coordinate);
    virtual void DrawTick(int value, int coordinate, bool topLeft);
    virtual void DrawTicks();
    virtual bool PtInThumb(int x, int y);

    // The thumb centre along the bar for a value; 0 when Min equals Max.
    int PositionCoordinate(int value);
    // The snapped, clamped value at a coordinate along the bar.
    int CoordinatePosition(int coordinate);

    void PaintBuffer() override;

    TNotifyEvent OnChange;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void Change();
    void MouseLeave() override;
    void HasFocus() override;
    void KillFocus() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    void WMGetDlgCode(TMessage& m);
    void CMEnabledChanged(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);

    int Length() const { return Vertical() ? Height() : Width(); }
    // The travel of the thumb centre.
    int Travel() { return Length() - 2 * GetSideMargin() - GetThumbWidth(); }
    bool Themed();
    void SetPositionWide(int64_t value);
    // The thumb outline, along/across turned to control coordinates.
    int ThumbPolygon(int coordinate, TPoint (&points)[5]);

    int min_ = 0;
    int max_ = 10;
    int position_ = 3;
    int thumbHalfWidth_ = 4;
    TIntervalHighlightType highlight_ = htNone;
    bool jumpByClick_ = false;
    bool thumbVisible_ = true;
    bool dragging_ = false;
    bool thumbHot_ = false;
};

}  // namespace tarvel
