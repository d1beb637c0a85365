#include "skin/controls/te_controls_memo.h"

#include <type_traits>

#include "platform/gdi/Gdi.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

namespace {

// The corner where both native bars meet, painted in the classic look.
constexpr int kMemoCorner = 25;

// The theme's face, else the classic one with its corner square.
template <class Draw>
void PaintWithElement(bool themed, TteTheme* theme, Draw draw, TCanvas& canvas, const TRect& rect) {
    if (themed && theme)
        draw(theme);
    else
        PaintClassicWrappedBorder(canvas, rect, kMemoCorner, true);
}

}  // namespace

// ---- the memo and the rich edit ------------------------------------------------------------

template <class Base>
void TTeMemoSkin<Base>::DeclareMemoMessages(TMessageTable& t) {
    TTeWrapped<Base>::DeclareWrappedMessages(t);
    t.Add<&TTeMemoSkin::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeMemoSkin::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

template <class Base>
TTeMemoSkin<Base>::TTeMemoSkin(TComponent* owner) : TTeWrapped<Base>(owner) {
    this->MakeSubScrollBar();
}

// The hot look ranks above focus here.
template <class Base>
TteMemoDrawState TTeMemoSkin<Base>::DrawState() {
    if (!this->Enabled()) return kmdsDisabled;
    if (this->Hot()) return kmdsHot;
    if (this->Focused()) return kmdsFocused;
    return kmdsNormal;
}

template <class Base>
void TTeMemoSkin<Base>::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintWithElement(
        IsObjectDefined(kmscMemo, this->themeObject_, this->themeLink_), GetThemeLink(this->themeLink_),
        [&](TteTheme* theme) { theme->MemoDraw(kmscMemo, canvas, MemoInfo(rect, DrawState()), "default"); },
        canvas, rect);
}

template <class Base>
void TTeMemoSkin<Base>::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    TteTheme* theme = GetThemeLink(this->themeLink_);
    if (IsObjectDefined(kmscMemo, this->themeObject_, this->themeLink_) && theme)
        theme->MemoDraw(kmscMemo, canvas, MemoInfo(rect, DrawState()), "default");
    else
        FillRect(canvas, rect, this->Color());
}

template <class Base>
void TTeMemoSkin<Base>::WMNCPaint(TMessage& m) {
    this->DispatchFrom(Base::StaticClass(), m);
    this->PaintFrame();
    m.Result = 0;
}

template <class Base>
void TTeMemoSkin<Base>::SNMThemeMessage(TMessage& m) {
    if (!this->HandleAllocated()) return;
    constexpr bool rich = std::is_base_of_v<TRichEdit, Base>;
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            if constexpr (rich)
                if (TteTheme* theme = GetThemeLink(this->themeLink_))
                    this->SetColor(theme->Colors()->GetColor(ktcEditNormal));
            break;
        case tmReleased:
            if constexpr (rich) this->SetColor(clWindow);
            break;
        case tmSystemChanged: break;
        default: return;
    }
    RepaintWrapped(this);
}

template class TTeMemoSkin<TMemo>;
template class TTeMemoSkin<TRichEdit>;

void TTeMemo::DeclareMessages(TMessageTable& t) {
    DeclareMemoMessages(t);
    t.Add<&TTeMemo::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeMemo::WMPaint>(WM_PAINT);
    t.Add<&TTeMemo::CNCtlColor>(CN_CTLCOLOREDIT);
    t.Add<&TTeMemo::CNCtlColor>(CN_CTLCOLORSTATIC);
}

void TTeMemo::WMPaint(TMessage& m) {
    DispatchFrom(TMemo::StaticClass(), m);
    if (!painting_) DoPaint();
}

void TTeMemo::CNCtlColor(TMessage& m) {
    DispatchFrom(TMemo::StaticClass(), m);
    SetBkMode(DcFromWParam(m.WParam), TRANSPARENT);
}

void TTeMemo::Change() {
    DoPaint();
    TMemo::Change();
}

void TTeMemo::DoPaint() {
    if (!Parent() || !HandleAllocated()) return;
    const HWND h = Handle();
    painting_ = true;
    HideCaret(h);
    HDC dc = GetDC(h);
    HDC memory = CreateCompatibleDC(dc);
    HBITMAP bitmap = CreateCompatibleBitmap(dc, Width(), Height());
    HGDIOBJ old = SelectObject(memory, bitmap);
    struct Release {
        TTeMemo* memo;
        HWND h;
        HDC dc, memory;
        HBITMAP bitmap;
        HGDIOBJ old;
        ~Release() {
            SelectObject(memory, old);
            DeleteObject(bitmap);
            DeleteDC(memory);
            ReleaseDC(h, dc);
            ShowCaret(h);
            memo->painting_ = false;
        }
    } release{this, h, dc, memory, bitmap, old};
    PaintTo(memory, 0, 0);
    // PaintTo draws the window with its frame; the client starts where the frame ends.
    const TRect window = WindowRect(h);
    const TPoint client = ClientToScreen(TPoint{0, 0});
    BitBlt(dc, 0, 0, ClientWidth(), ClientHeight(), memory, client.x - window.left, client.y - window.top,
           SRCCOPY);
}

// ---- the scroll box ---------------------------------------------------------------------------

void TTeScrollBox::DeclareMessages(TMessageTable& t) {
    DeclareWrappedMessages(t);
    t.Add<&TTeScrollBox::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeScrollBox::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeScrollBox::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeScrollBox::TTeScrollBox(TComponent* owner) : TTeWrapped<TScrollBox>(owner) {
    MakeSubScrollBar();
    // Its own scroll messages change nothing the bars do not hear of otherwise.
    SubScrollBar()->SetIgnoreScrollMessages(true);
}

void TTeScrollBox::ThemeLinkChanged() { HandThemeLinkToBars(SubScrollBar(), themeLink_); }

void TTeScrollBox::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintWithElement(
        IsObjectDefined(kbdscBarDock, themeObject_, themeLink_), GetThemeLink(themeLink_),
        [&](TteTheme* theme) { theme->BarDockDraw(kbdscBarDock, canvas, BarDockInfo(rect), "default"); },
        canvas, rect);
}

void TTeScrollBox::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    TteTheme* theme = GetThemeLink(themeLink_);
    if (IsObjectDefined(kbdscBarDock, themeObject_, themeLink_) && theme)
        FillRect(canvas, rect, theme->SysColors()->GetColor(clBtnFace));
    else
        FillRect(canvas, rect, Color());
}

void TTeScrollBox::WMNCPaint(TMessage& m) {
    PaintFrame(false);
    m.Result = 0;
}

void TTeScrollBox::WMEraseBkgnd(TMessage& m) {
    const TRect window = HandleAllocated() ? WindowRect(Handle()) : TRect{};
    EraseWith(m, TRect{-2, -2, window.Width() + 2, window.Height() + 2});
}

void TTeScrollBox::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated()) return;
    if (m.WParam == tmChanged || m.WParam == tmApply || m.WParam == tmReleased || m.WParam == tmSystemChanged)
        RepaintWrapped(this);
}

}  // namespace tarvel
