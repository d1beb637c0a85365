#pragma once
// TTeRangeBar: the track bar with two thumbs. The low and the high thumb
// select LowPosition..HighPosition between Min and Max; pushing one thumb
// past the other carries the other along. A thumb's coordinate is the inner
// edge it shares with the other thumb: the low thumb ends there, the high
// thumb starts there.

#include <cstdint>

#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/extctrls/te_extctrls_trackbar.h"

namespace tarvel {

class TTeRangeBar : public TTeControl, public TTeThemeLinked, public TTeTrackLayout {
    TARVEL_CLASS(TTeRangeBar, TTeControl)

public:
    explicit TTeRangeBar(TComponent* owner);
    ~TTeRangeBar() override;

    int Min() const { return min_; }
    // Refused unless below Max; raises LowPosition.
    void SetMin(int value);
    int Max() const { return max_; }
    // Refused unless above Min; lowers HighPosition.
    void SetMax(int value);
    int LowPosition() const { return low_; }
    // Clamped to Min..Max; a high position below it is pushed up first.
    void SetLowPosition(int value);
    int HighPosition() const { return high_; }
    // Clamped to Min..Max; a low position above it is pushed down first.
    void SetHighPosition(int value);
    int ThumbWidth() const { return thumbWidth_; }
    void SetThumbWidth(int value);
    bool HighlightInterval() const { return highlightInterval_; }
    void SetHighlightInterval(bool value);
    bool LowThumbVisible = true;
    bool HighThumbVisible = true;

    bool DraggingLow() const { return dragLow_; }
    bool DraggingHigh() const { return dragHigh_; }
    bool LowHot() const { return lowHot_; }
    bool HighHot() const { return highHot_; }

    virtual void DrawTrack(int start, int end, int highCoordinate, int lowCoordinate);
    virtual void DrawLowThumb(int coordinate);
    virtual void DrawHighThumb(int coordinate);
    virtual void DrawTick(int value, int coordinate, bool topLeft);
    virtual void DrawTicks();
    virtual int GetSideMargin() { return kTrackSideMargin; }
    virtual int GetTopBottomMargin() { return kTrackTopBottomMargin; }
    virtual int GetThumbWidth() { return thumbWidth_; }
    virtual bool PtInLowThumb(int x, int y);
    virtual bool PtInHighThumb(int x, int y);

    // The inner thumb edge along the bar for a value; 0 when Min equals Max.
    int PositionCoordinate(int value);
    // The clamped value at a coordinate along the bar; no snapping.
    int CoordinatePosition(int coordinate);

    void PaintBuffer() override;

    TNotifyEvent OnLowChange;
    TNotifyEvent OnHighChange;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void LowChange();
    virtual void HighChange();
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

    // The travel between the two inner edges, from a length along the bar.
    int64_t Travel(int length) {
        return int64_t{length} - 2 * GetSideMargin() - 2 * int64_t{GetThumbWidth()} + 1;
    }
    bool Themed();
    void SetLowWide(int64_t value);
    void SetHighWide(int64_t value);
    // The classic outline of a thumb: 4 corners, or none for the rectangle.
    int ThumbPolygon(int coordinate, bool high, TPoint (&points)[4]);
    TRect ThumbRect(int coordinate, bool high);
    bool PtInThumb(int x, int y, bool high);
    void DrawOneThumb(int coordinate, bool high);

    int min_ = 0;
    int max_ = 10;
    int low_ = 3;
    int high_ = 7;
    int thumbWidth_ = 9;
    bool highlightInterval_ = true;
    bool dragLow_ = false;
    bool dragHigh_ = false;
    bool lowHot_ = false;
    bool highHot_ = false;
};

}  // namespace tarvel
