#include "skin/controls/te_controls_init.h"

#include <algorithm>

#include "platform/base/Ticks.h"
#include "platform/winsys/SystemApi.h"
#include "skin/controls/te_controls_bars.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_const.h"

namespace tarvel {

bool IsWin98 = false;
TteBitmap* TrueTypeBmp = nullptr;
TFont* HintFont = nullptr;

namespace {

// Our own mark for TrueType faces: a dark "T" on the key colour.
TteBitmap* MakeTrueTypeMark() {
    auto* b = new TteBitmap();
    b->SetSize(12, 12);
    b->Clear(teKeyColor);
    b->FillRect(TRect{1, 1, 11, 3}, 0xFF404040);
    b->FillRect(TRect{5, 3, 7, 11}, 0xFF404040);
    b->Transparent = true;
    return b;
}

TFont* MakeHintFont() {
    auto* font = new TFont();
    NONCLIENTMETRICSW metrics;
    if (SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) {
        const LOGFONTW& lf = metrics.lfStatusFont;
        font->SetName(WideToUtf8(lf.lfFaceName));
        if (lf.lfHeight != 0) font->SetHeight(lf.lfHeight);
        TFontStyles style;
        if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
        if (lf.lfItalic) style.Include(fsItalic);
        font->SetStyle(style);
    }
    return font;
}

}  // namespace

void InitControls() {
    IsWin98 = false;
    if (!TrueTypeBmp) TrueTypeBmp = MakeTrueTypeMark();
    RegisterClasses({TTeSpeedContainer::StaticClass(), TTeSpeedDivider::StaticClass(),
                     TTeSpeedSpace::StaticClass(), TTeOutlookBarPanel::StaticClass(),
                     TTeOutlookBarButton::StaticClass(), TTeFrame::StaticClass()});
    DoneButtonGlyphs();
    if (!HintFont) HintFont = MakeHintFont();
}

void DoneControls() {
    DoneButtonGlyphs();
    delete std::exchange(HintFont, nullptr);
    delete std::exchange(TrueTypeBmp, nullptr);
}

// ---- stopwatch ----------------------------------------------------------------------------

int64_t TTeTimer::Counter() {
    int64_t count = 0;
    QueryPerformanceCounter(&count);
    return count;
}

TTeTimer::TTeTimer() {
    CalibrateWindows();
    QueryPerformanceFrequency(&frequency_);
}

// Two readings back to back: what one reading costs.
void TTeTimer::CalibrateWindows() {
    start_ = Counter();
    stop_ = Counter();
    calibration_ = stop_ - start_;
}

long double TTeTimer::GetElapsed() const {
    const int64_t counts = std::max<int64_t>(0, stop_ - start_ - calibration_);
    return static_cast<long double>(counts) / static_cast<long double>(frequency_);
}

void StartTimer(std::unique_ptr<TTeTimer>& timer) {
    if (!timer) timer = std::make_unique<TTeTimer>();
    timer->Start();
}

float StopTimer(std::unique_ptr<TTeTimer>& timer) {
    if (!timer) return 0;
    timer->Stop();
    return static_cast<float>(timer->GetElapsed());
}

}  // namespace tarvel
