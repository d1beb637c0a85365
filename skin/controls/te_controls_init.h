#pragma once
// What the control library sets up once before the first form and frees at
// the end: the older-system flag, the TrueType mark of font lists, the hint
// font, the stock button glyph slots and the classes form data may name.
// And a small stopwatch on the steady clock.

#include <cstdint>
#include <memory>

#include "platform/classlib/Graphics.h"
#include "skin/core/te_bitmap.h"

namespace tarvel {

// Never true here: the older system line (IsWinNT is the theme core's).
extern bool IsWin98;
// 12 x 12 on the key colour; null outside InitControls .. DoneControls.
extern TteBitmap* TrueTypeBmp;
// The font of skinned hints, from the system's status-bar font.
extern TFont* HintFont;

// Both may be called again; DoneControls after InitControls only frees
// what is there.
void InitControls();
void DoneControls();

// Measures seconds between Start and Stop. The clock is steady, so an
// interval never comes out negative.
class TTeTimer {
public:
    TTeTimer();
    void Start() { start_ = Counter(); }
    void Stop() { stop_ = Counter(); }
    // Counts per second.
    int64_t GetFrequency() const { return frequency_; }
    // Seconds from the last Start to the last Stop, less what reading the
    // counter costs; never below 0.
    long double GetElapsed() const;

private:
    static int64_t Counter();
    void CalibrateWindows();

    int64_t start_ = 0;
    int64_t stop_ = 0;
    int64_t frequency_ = 0;
    int64_t calibration_ = 0;
};

// Makes the timer when the variable is empty, then starts it.
void StartTimer(std::unique_ptr<TTeTimer>& timer);
// Stops it and answers the seconds; 0 (and nothing made) for an empty variable.
float StopTimer(std::unique_ptr<TTeTimer>& timer);

}  // namespace tarvel
