#pragma once
// The scroll bars of a window (WS_VSCROLL, WS_HSCROLL) in its non-client
// area, right of and below the client: range, page and position, the parts'
// geometry (which a skin needs to paint them itself), the classic look, and
// the mouse, which sends WM_VSCROLL / WM_HSCROLL to the window. A thumb
// dragged is reported with SB_THUMBTRACK; its 32-bit position is the
// nTrackPos of GetScrollInfo.

#include "platform/classlib/StdCtrlMessages.h"

namespace tarvel {

enum class TScrollBarPart { None, LineUp, PageUp, Thumb, PageDown, LineDown };

// Rectangles in window coordinates; empty when the bar is hidden.
struct TScrollBarParts {
    TRect bar, lineUp, lineDown, track, thumb;
    bool scrollable = false;  // the range goes past the page
};

class TWindowScrollBars {
public:
    explicit TWindowScrollBars(TWinControl* owner) : owner_(owner) {}
    // The bars of a window that has no control (the MDI client): requests
    // are sent to it.
    explicit TWindowScrollBars(HWND window) : window_(window) {}
    TWindowScrollBars(const TWindowScrollBars&) = delete;
    TWindowScrollBars& operator=(const TWindowScrollBars&) = delete;
    ~TWindowScrollBars();

    // Seen first by the owner's WndProc: true when the message was taken.
    // WM_NCCALCSIZE and WM_NCPAINT run the owner's default first.
    bool HandleMessage(TMessage& m, const std::function<void(TMessage&)>& inherited);

    // Positions are clamped to [nMin, nMax - nPage + 1]. Answers the position.
    // SIF_TRACKPOS sets the track position a following thumb request reads.
    int SetInfo(int bar, const SCROLLINFO& info, bool redraw);
    SCROLLINFO Info(int bar) const;
    int Position(int bar) const { return state_[Index(bar)].pos; }
    int SetPosition(int bar, int pos);
    void Show(int bar, bool show);
    bool Visible(int bar) const;
    TScrollBarParts Parts(int bar) const;
    TScrollBarPart PressedPart(int bar) const { return tracking_ == bar ? pressed_ : TScrollBarPart::None; }
    // After the owner's window was made (the property that names it).
    void Attach();

private:
    struct State {
        int min = 0, max = 100, page = 0, pos = 0, trackPos = 0;
    };
    static int Index(int bar) { return bar == SB_VERT ? 1 : 0; }
    int MaxPos(const State& s) const;
    TRect ClientInWindow() const;
    void Paint();
    void PaintBar(HDC dc, int bar);
    void Press(int bar, TPoint windowPoint);
    void Drag(TPoint windowPoint);
    void Send(int bar, WORD code, int pos);

    HWND Wnd() const;
    bool WindowEnabled() const;

    TWinControl* owner_ = nullptr;
    HWND window_ = nullptr;
    State state_[2];
    int tracking_ = -1;
    TScrollBarPart pressed_ = TScrollBarPart::None;
    int dragOffset_ = 0;
};

// A window bar as those who paint over it see it: the bar in screen
// coordinates, the arrow size, the thumb's extent from the bar's start, and
// a state for the bar and for each part (up arrow, page up, thumb, page
// down, down arrow).
constexpr int32_t OBJID_VSCROLL = -5;
constexpr int32_t OBJID_HSCROLL = -6;
constexpr uint32_t STATE_SYSTEM_UNAVAILABLE = 0x0001;
constexpr uint32_t STATE_SYSTEM_PRESSED = 0x0008;
constexpr uint32_t STATE_SYSTEM_INVISIBLE = 0x8000;
struct SCROLLBARINFO {
    uint32_t cbSize = 60;
    TRect rcScrollBar;
    int dxyLineButton = 0;
    int xyThumbTop = 0;
    int xyThumbBottom = 0;
    int reserved = 0;
    uint32_t rgstate[6] = {};
};

// A control whose bars are child controls but who answers for them by its
// handle as for window bars (the scroll box): parts in screen coordinates,
// an empty bar when hidden; a set track position is read by the thumb
// requests that follow.
class IScrollBarsAnswer {
public:
    virtual TScrollBarParts ScreenScrollParts(int bar) = 0;
    virtual TScrollBarPart PressedScrollPart(int bar) = 0;
    virtual SCROLLINFO ScrollInfoOf(int bar) = 0;
    virtual int SetScrollInfoOf(int bar, const SCROLLINFO& info) = 0;

protected:
    ~IScrollBarsAnswer() = default;
};

// The scroll bars of a window whose control has them, by its handle (for
// code that knows only the window, as a skin does).
TWindowScrollBars* WindowScrollBarsOf(HWND hwnd);
bool GetScrollInfo(HWND hwnd, int bar, SCROLLINFO& info);
int SetScrollInfo(HWND hwnd, int bar, const SCROLLINFO& info, bool redraw);
int GetScrollPos(HWND hwnd, int bar);
// False for a window without such bars or another object id.
bool GetScrollBarInfo(HWND hwnd, int32_t objectId, SCROLLBARINFO& info);

}  // namespace tarvel
