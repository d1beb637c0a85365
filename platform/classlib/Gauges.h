#pragma once
// The gauge: a bar, a column or a pie filled to a share of its range, with
// the percentage written over it when asked.

#include "platform/classlib/Controls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

enum TGaugeKind { gkText, gkHorizontalBar, gkVerticalBar, gkPie };

class TGauge : public TGraphicControl, public IUiState {
    TARVEL_CLASS(TGauge, TGraphicControl)

public:
    String UiState() override { return "progress=" + IntToStr(progress_); }
    explicit TGauge(TComponent* owner);

    TGaugeKind Kind() const { return kind_; }
    void SetKind(TGaugeKind kind) { Change(kind_, kind); }
    TColor ForeColor() const { return foreColor_; }
    void SetForeColor(TColor c) { Change(foreColor_, c); }
    TColor BackColor() const { return backColor_; }
    void SetBackColor(TColor c) { Change(backColor_, c); }
    bool ShowText() const { return showText_; }
    void SetShowText(bool v) { Change(showText_, v); }
    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle s) { Change(borderStyle_, s == bsNone ? bsNone : bsSingle); }

    int MinValue() const { return minValue_; }
    int MaxValue() const { return maxValue_; }
    // The range keeps Min < Max; the progress is pulled back into it.
    void SetMinValue(int v);
    void SetMaxValue(int v);
    int Progress() const { return progress_; }
    void SetProgress(int v);
    void AddProgress(int delta) { SetProgress(progress_ + delta); }
    // 0..100, rounded down.
    int PercentDone() const;

protected:
    void Paint() override;

private:
    template <class T>
    void Change(T& field, T value) {
        if (field == value) return;
        field = value;
        Invalidate();
    }
    void PaintBar(HDC dc, TRect r);
    void PaintPie(HDC dc, TRect r);
    void PaintText(HDC dc, TRect r);
    TRect FilledRect(TRect r) const;

    TGaugeKind kind_ = gkHorizontalBar;
    TColor foreColor_ = clBlack;
    TColor backColor_ = clWhite;
    bool showText_ = true;
    TFormBorderStyle borderStyle_ = bsSingle;
    int minValue_ = 0, maxValue_ = 100, progress_ = 0;
};

}  // namespace tarvel
