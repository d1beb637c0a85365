#pragma once
// The two bases of every custom-drawn skinned control. TTeControl has a
// window of its own: bevels and a border around its face, its own drawn
// scroll bars, hover and focus state, and a paint that draws straight, into
// the one shared buffer or into a buffer of its own. TTeGraphicControl is
// windowless: hover state and a drawing lock a parent sets while it paints
// the background behind it. Descendants draw their face in PaintBuffer.
// Neither base subscribes to the theme manager: concrete controls do.

#include <array>
#include <cstdint>
#include <memory>

#include "platform/classlib/Controls.h"
#include "platform/classlib/StdCtrlMessages.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/core/te_bitmap.h"
#include "skin/core/te_theme.h"

namespace tarvel {

class TTeScrollBar;

enum TTePerformance : uint8_t { qvpNoBuffer, qvpSharedBuffer, qvpDoubleBuffer };
enum TTeBevelCut : uint8_t { kbvNone, kbvLowered, kbvRaised, kbvSpace, kbvBorder, kbvFlatBorder };
enum TTeBevelKind : uint8_t { kbkNone, kbkSingle, kbkTile, kbkSoft, kbkBorder, kbkFlat };
enum TTeBevelSide : uint8_t { kbsLeft, kbsTop, kbsRight, kbsBottom };
using TTeBevelSides = TSet<TTeBevelSide>;
// The same order and values as the system's SB_ scroll codes.
enum TTeScrollCode : uint8_t {
    kscLineUp,
    kscLineDown,
    kscPageUp,
    kscPageDown,
    kscPosition,
    kscTrack,
    kscTop,
    kscBottom,
    kscEndScroll
};

// The colours of the bevel lines: left and top take the first table of a
// pair, right and bottom the second.
extern const std::array<TColor, 6> OuterBevelRaisedColor;
extern const std::array<TColor, 6> OuterBevelSunkenColor;
extern const std::array<TColor, 6> InnerBevelRaisedColor;
extern const std::array<TColor, 6> InnerBevelSunkenColor;
// The cuts a bevel kind stands for.
extern const std::array<TTeBevelCut, 6> OuterBevelKind;
extern const std::array<TTeBevelCut, 6> InnerBevelKind;

// One buffer for every control painting with qvpSharedBuffer, a little
// larger than the screen; null before InitControlBases.
extern TteBitmap* SharedBuffer;
// Sizes SharedBuffer to the screen plus 500 each way.
void InitSharedBuffer();

// The start of the control bases: the shared buffer (empty) and the
// background painters. The end frees the buffer. The theme core starts first.
void InitControlBases();
void DoneControlBases();

// A control that carries its form's size grip, such as a status bar in the
// form's bottom-right corner: a skinned frame sizes the window from there.
class TTeSizeGripHost {
public:
    virtual bool IsSizeGripVisible() = 0;
    // In the control's client coordinates.
    virtual TRect GetGripperRect() = 0;

protected:
    ~TTeSizeGripHost() = default;
};

class TTeControl : public TCustomControl {
    TARVEL_CLASS(TTeControl, TCustomControl)

public:
    explicit TTeControl(TComponent* owner);
    ~TTeControl() override;

    virtual void PaintBorder();
    virtual void PaintBuffer();
    // The whole control less border and bevels.
    virtual TRect GetBorderRect();
    virtual TTeScrollBar* CreateScrollBar();
    // The horizontal bar's height and the vertical bar's width.
    virtual int GetScrollBarHeight();
    // After every bevel or border change.
    virtual void BorderChanged() {}

    TRect GetClientRect() override;
    void SetBounds(int left, int top, int width, int height) override;

    TTePerformance Performance() const { return performance_; }
    void SetPerformance(TTePerformance value);
    TScrollStyle ScrollBars() const { return scrollBars_; }
    void SetScrollBars(TScrollStyle value);
    int BorderWidth() const { return borderWidth_; }
    void SetBorderWidth(int value);
    TTeBevelCut BevelInner() const { return bevelInner_; }
    void SetBevelInner(TTeBevelCut value);
    TTeBevelCut BevelOuter() const { return bevelOuter_; }
    void SetBevelOuter(TTeBevelCut value);
    TTeBevelSides BevelSides() const { return bevelSides_; }
    void SetBevelSides(TTeBevelSides value);
    TTeBevelKind BevelKind() const { return bevelKind_; }
    void SetBevelKind(TTeBevelKind value);
    int BevelWidth() const { return bevelWidth_; }
    void SetBevelWidth(int value);
    bool ThemedBorder() const { return themedBorder_; }
    void SetThemedBorder(bool value) { themedBorder_ = value; }
    // Text of the face is drawn with this copy of Font, taken at every paint.
    TFont* PaintFont() { return paintFont_.get(); }
    void SetFont(TFont* font) { paintFont_->Assign(font); }

    bool IsHot() const { return hot_; }
    bool IsFocused() const { return focused_; }
    TTeScrollBar* HorzScrollBar() const { return horzBar_; }
    TTeScrollBar* VertScrollBar() const { return vertBar_; }

    // Without erasing the background.
    void InvalidateRect(const TRect& rect);
    // Invalidates the client rectangle and paints everything waiting at once.
    void InvalidateNow();
    void InvalidateBorder();

    // The window scroll-bar calls, answered by the drawn bars (bar 0
    // horizontal, 1 vertical).
    int GetScrollPos(int bar);
    void GetScrollRange(int bar, int& min, int& max);
    bool GetScrollInfo(int bar, SCROLLINFO& info);
    void SetScrollPos(int bar, int pos, bool redraw);
    void SetScrollRange(int bar, int min, int max, bool redraw);
    void SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw);
    void InitScrollBars();
    void UpdateScrollBars();

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void CreateParams(TCreateParams& params) override;
    void CreateWnd() override;
    void Paint() override;
    virtual void MouseEnter();
    virtual void MouseLeave();
    virtual void HasFocus();
    virtual void KillFocus();

    // The bar's scroll tells the control as a window scroll bar would.
    void DoHScroll(TObject* sender, TTeScrollCode code, int& scrollPos);
    void DoVScroll(TObject* sender, TTeScrollCode code, int& scrollPos);

    int StoredWidth() const { return storedWidth_; }
    int StoredHeight() const { return storedHeight_; }

private:
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void CMEnter(TMessage& m);
    void CMExit(TMessage& m);
    void CMVisibleChanged(TMessage& m);
    void WMWindowPosChanging(TMessage& m);
    void WMEraseBkgnd(TMessage& m);
    void WMThemeChanged(TMessage& m);

    TTeScrollBar* Bar(int bar) const {
        return bar == SB_HORZ ? horzBar_ : bar == SB_VERT ? vertBar_ : nullptr;
    }
    void ChangeBorder();
    void DrawBevels(TRect& r);
    void PaintCorner();
    TRect CornerRect(const TRect& within) const;

    TTePerformance performance_ = qvpNoBuffer;
    bool focused_ = false;
    bool hot_ = false;
    TTeScrollBar* horzBar_ = nullptr;
    TTeScrollBar* vertBar_ = nullptr;
    TScrollStyle scrollBars_ = ssNone;
    std::unique_ptr<TFont> paintFont_;
    int borderWidth_ = 0;
    TTeBevelCut bevelInner_ = kbvLowered;
    TTeBevelCut bevelOuter_ = kbvLowered;
    TTeBevelSides bevelSides_{kbsLeft, kbsTop, kbsRight, kbsBottom};
    TTeBevelKind bevelKind_ = kbkNone;
    int bevelWidth_ = 0;
    bool themedBorder_ = true;
    int storedWidth_ = 100;
    int storedHeight_ = 30;
};

class TTeGraphicControl : public TGraphicControl {
    TARVEL_CLASS(TTeGraphicControl, TGraphicControl)

public:
    explicit TTeGraphicControl(TComponent* owner);
    ~TTeGraphicControl() override;

    // Fills the client rectangle with Color.
    virtual void PaintBuffer();

    TTePerformance Performance() const { return performance_; }
    void SetPerformance(TTePerformance value) { performance_ = value; }
    TFont* PaintFont() { return paintFont_.get(); }
    void SetFont(TFont* font) { paintFont_->Assign(font); }
    bool IsHot() const { return hot_; }
    bool DrawingDisabled() const { return drawingDisabled_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void Paint() override;
    virtual void MouseEnter();
    virtual void MouseLeave();

private:
    void CMMouseEnter(TMessage& m);
    void CMMouseLeave(TMessage& m);
    void WMDisableDrawing(TMessage& m);

    std::unique_ptr<TFont> paintFont_;
    TTePerformance performance_ = qvpNoBuffer;
    bool hot_ = false;
    bool drawingDisabled_ = false;
};

// Moves the control to the bounds its theme gives the named object
// (10000 or a negative edge keeps the control's own); with no such bounds
// only repaints when asked to.
void UpdateThemeLink(TControl* control, TteCustomThemeLink* link, const String& objectName, bool repaint);

}  // namespace tarvel
