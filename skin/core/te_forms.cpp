#include "skin/core/te_forms.h"

#include <algorithm>
#include <memory>
#include <optional>
#include <utility>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/ExtCtrls_Notebook.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_const.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_utils_system.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

const std::array<TColor, 6> OuterBevelRaisedColor = {clNone,    clBtnShadow,  clBtnHighlight,
                                                     clBtnFace, cl3DDkShadow, clBtnShadow};
const std::array<TColor, 6> OuterBevelSunkenColor = {clNone,    clBtnHighlight, cl3DDkShadow,
                                                     clBtnFace, cl3DDkShadow,   clBtnShadow};
const std::array<TColor, 6> InnerBevelRaisedColor = {clNone,    cl3DDkShadow, clBtnShadow,
                                                     clBtnFace, clWindow,     clBtnFace};
const std::array<TColor, 6> InnerBevelSunkenColor = {clNone,    clBtnFace, clBtnShadow,
                                                     clBtnFace, clWindow,  clBtnFace};
const std::array<TTeBevelCut, 6> OuterBevelKind = {kbvNone,    kbvLowered, kbvLowered,
                                                   kbvLowered, kbvBorder,  kbvFlatBorder};
const std::array<TTeBevelCut, 6> InnerBevelKind = {kbvNone,    kbvLowered, kbvLowered,
                                                   kbvLowered, kbvBorder,  kbvFlatBorder};

TteBitmap* SharedBuffer = nullptr;

namespace {

// The corner square between two scroll bars.
constexpr int kCornerSize = 20;

// The edit box of the system's visual style, when one is in force.
bool DrawStyledEdit(HDC dc, int state, const TRect& r) {
    const TUxThemeEntryPoints& ux = Te_winapi::UxTheme;
    if (!UseThemes() || !ux.OpenThemeData || !ux.DrawThemeBackground || !ux.CloseThemeData) return false;
    HTHEME theme = ux.OpenThemeData(nullptr, u"Edit");
    if (!theme) return false;
    ux.DrawThemeBackground(theme, dc, 1, state, &r, nullptr);
    ux.CloseThemeData(theme);
    return true;
}

// Asks a TTeControl parent to paint itself into the canvas: what lies
// behind a transparent child.
bool PaintTeControlBackground(TCanvas* canvas, const TteBackground& background) {
    if (!background.Parent) return false;
    background.Parent->Perform(WM_ERASEBKGND, static_cast<WPARAM>(canvas->Handle().Value()), 1);
    return true;
}

// A notebook page shows its notebook's colour behind a transparent child.
bool PaintNotebookPageBackground(TCanvas* canvas, const TteBackground& background) {
    TWinControl* page = background.Control ? background.Control->Parent() : nullptr;
    auto* notebook = page ? dynamic_cast<TNotebook*>(page->Parent()) : nullptr;
    if (!notebook) return true;
    canvas->Brush()->SetColor(notebook->Color());
    canvas->Brush()->SetStyle(bsSolid);
    canvas->FillRect(background.Rect);
    return true;
}

// What a new double buffer holds before a control paints: a TteBitmap
// zeros, a TBitmap white with alpha 0.
constexpr uint32_t kNewBitmapPixel = 0x00000000;
constexpr uint32_t kNewPlainPixel = 0x00FFFFFF;

// The plain bitmap double-buffered controls reuse where the screen has
// fewer than 24 bits; it grows to the largest control painted.
TBitmap* KeptPlainBuffer = nullptr;
// Set while a paint draws into SharedBuffer or KeptPlainBuffer.
bool KeptBufferBusy = false;

// Marks the kept buffers busy for one paint, when they were free.
class TKeptBufferClaim {
public:
    TKeptBufferClaim() : held_(!KeptBufferBusy) { KeptBufferBusy = true; }
    ~TKeptBufferClaim() {
        if (held_) KeptBufferBusy = false;
    }
    TKeptBufferClaim(const TKeptBufferClaim&) = delete;
    TKeptBufferClaim& operator=(const TKeptBufferClaim&) = delete;
    bool Held() const { return held_; }

private:
    bool held_;
};

// The buffer of one double-buffered paint. A control reuses SharedBuffer, or
// the kept plain bitmap, with its area cleared to what a new buffer would
// hold; what it draws beyond its area is never shown. Only while those are
// busy (a paint within a paint) or too small does it get a buffer of its own.
class TDoubleBuffer {
public:
    TDoubleBuffer(int w, int h) : w_(w), h_(h) {
        if (CPixelFormat == pf24bit || CPixelFormat == pf32bit)
            UseBitmap();
        else
            UsePlain();
    }
    TDoubleBuffer(const TDoubleBuffer&) = delete;
    TDoubleBuffer& operator=(const TDoubleBuffer&) = delete;

    HDC DC() const { return dc_; }
    void DrawOn(HDC paintDc) {
        if (bitmap_) {
            bitmap_->Draw(paintDc, 0, 0, TRect{0, 0, w_, h_});
        } else {
            TCanvas temporary;
            temporary.SetHandle(paintDc);
            if (plain_ == KeptPlainBuffer)
                StretchBlt(paintDc, 0, 0, w_, h_, plain_->Canvas()->Handle(), 0, 0, w_, h_,
                           temporary.CopyMode());
            else
                temporary.Draw(0, 0, plain_);
            temporary.SetHandle(HDC{});
        }
    }

private:
    bool Claim() {
        claim_.emplace();
        claimed_ = claim_->Held();
        return claimed_;
    }
    void UseBitmap() {
        if (!SharedBuffer) InitControlBases();
        if (SharedBuffer->Empty()) InitSharedBuffer();
        if (SharedBuffer->Width() >= w_ && SharedBuffer->Height() >= h_ && Claim()) {
            bitmap_ = SharedBuffer;
        } else {
            own_ = std::make_unique<TteBitmap>();
            own_->SetSize(w_, h_);
            bitmap_ = own_.get();
        }
        bitmap_->Transparent = false;
        bitmap_->AlphaBlend = false;
        if (claimed_) bitmap_->FillRect(TRect{0, 0, w_, h_}, kNewBitmapPixel);
        dc_ = bitmap_->DC();
    }
    void UsePlain() {
        if (Claim()) {
            if (!KeptPlainBuffer) KeptPlainBuffer = new TBitmap();
            KeptPlainBuffer->SetSize(std::max(w_, KeptPlainBuffer->Width()),
                                     std::max(h_, KeptPlainBuffer->Height()));
            for (int y = 0; y < h_; ++y) std::fill_n(KeptPlainBuffer->ScanLine(y), w_, kNewPlainPixel);
            plain_ = KeptPlainBuffer;
        } else {
            ownPlain_ = std::make_unique<TBitmap>();
            ownPlain_->SetSize(w_, h_);
            plain_ = ownPlain_.get();
        }
        plain_->SetTransparent(false);
        dc_ = plain_->Canvas()->Handle();
    }

    int w_, h_;
    std::optional<TKeptBufferClaim> claim_;
    bool claimed_ = false;
    HDC dc_;
    TteBitmap* bitmap_ = nullptr;
    TBitmap* plain_ = nullptr;
    std::unique_ptr<TteBitmap> own_;
    std::unique_ptr<TBitmap> ownPlain_;
};

}  // namespace

void InitSharedBuffer() {
    if (!SharedBuffer) return;
    const int w = GetSystemMetrics(SM_CXSCREEN) + 500, h = GetSystemMetrics(SM_CYSCREEN) + 500;
    SharedBuffer->SetSize(w, h);
}

void InitControlBases() {
    if (SharedBuffer) return;
    SharedBuffer = new TteBitmap();
    RegisterDrawControlBackground(TTeControl::StaticClass(), &PaintTeControlBackground);
    RegisterDrawControlBackground(TPage::StaticClass(), &PaintNotebookPageBackground);
}

void DoneControlBases() {
    delete SharedBuffer;
    SharedBuffer = nullptr;
    delete KeptPlainBuffer;
    KeptPlainBuffer = nullptr;
}

// ---- TTeControl -----------------------------------------------------------------------

void TTeControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeControl::CMMouseEnter>(CM_MOUSEENTER);
    t.Add<&TTeControl::CMMouseLeave>(CM_MOUSELEAVE);
    t.Add<&TTeControl::CMEnter>(CM_ENTER);
    t.Add<&TTeControl::CMExit>(CM_EXIT);
    t.Add<&TTeControl::CMVisibleChanged>(CM_VISIBLECHANGED);
    t.Add<&TTeControl::WMWindowPosChanging>(WM_WINDOWPOSCHANGING);
    t.Add<&TTeControl::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeControl::WMThemeChanged>(WM_THEMECHANGED);
}

TTeControl::TTeControl(TComponent* owner) : TCustomControl(owner), paintFont_(std::make_unique<TFont>()) {
    SetDoubleBuffered(false);
    ControlStyle.Include(csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 30);
}

TTeControl::~TTeControl() = default;

TRect TTeControl::GetBorderRect() {
    TRect r{0, 0, storedWidth_, storedHeight_};
    r = RectOffset(r, -borderWidth_);
    const int bevels = (bevelInner_ != kbvNone ? 1 : 0) + (bevelOuter_ != kbvNone ? 1 : 0);
    const int inset = bevelWidth_ * bevels;
    if (bevelSides_.Contains(kbsLeft)) r.left += inset;
    if (bevelSides_.Contains(kbsTop)) r.top += inset;
    if (bevelSides_.Contains(kbsRight)) r.right -= inset;
    if (bevelSides_.Contains(kbsBottom)) r.bottom -= inset;
    return r;
}

TRect TTeControl::GetClientRect() {
    TRect r = GetBorderRect();
    if (vertBar_) r.right -= vertBar_->Width();
    if (horzBar_) r.bottom -= horzBar_->Height();
    return r;
}

TTeScrollBar* TTeControl::CreateScrollBar() { return new TTeScrollBar(this); }

int TTeControl::GetScrollBarHeight() { return GetSystemMetrics(SM_CYVTHUMB); }

void TTeControl::SetBounds(int left, int top, int width, int height) {
    TCustomControl::SetBounds(left, top, width, height);
    storedWidth_ = width;
    storedHeight_ = height;
    UpdateScrollBars();
}

void TTeControl::CreateParams(TCreateParams& params) {
    TCustomControl::CreateParams(params);
    params.Style &= ~(WS_HSCROLL | WS_VSCROLL);
}

void TTeControl::CreateWnd() {
    TCustomControl::CreateWnd();
    if (Parent()) InitScrollBars();
}

void TTeControl::Loaded() {
    TCustomControl::Loaded();
    UpdateScrollBars();
}

// ---- properties -------------------------------------------------------------------------

void TTeControl::ChangeBorder() {
    BorderChanged();
    Invalidate();
}

void TTeControl::SetBevelInner(TTeBevelCut value) {
    if (value == bevelInner_) return;
    bevelKind_ = kbkNone;
    bevelInner_ = value;
    ChangeBorder();
}

void TTeControl::SetBevelOuter(TTeBevelCut value) {
    if (value == bevelOuter_) return;
    bevelKind_ = kbkNone;
    bevelOuter_ = value;
    ChangeBorder();
}

void TTeControl::SetBevelKind(TTeBevelKind value) {
    if (value == bevelKind_) return;
    if (value != kbkNone) {
        bevelInner_ = InnerBevelKind[value];
        bevelOuter_ = OuterBevelKind[value];
    }
    bevelKind_ = value;
    ChangeBorder();
}

void TTeControl::SetBevelSides(TTeBevelSides value) {
    if (value == bevelSides_) return;
    bevelSides_ = value;
    ChangeBorder();
}

void TTeControl::SetBevelWidth(int value) {
    if (value == bevelWidth_) return;
    bevelWidth_ = value;
    ChangeBorder();
}

void TTeControl::SetBorderWidth(int value) {
    if (value == borderWidth_) return;
    borderWidth_ = value;
    ChangeBorder();
}

void TTeControl::SetPerformance(TTePerformance value) {
    if (value == performance_) return;
    performance_ = value;
    Invalidate();
}

void TTeControl::SetScrollBars(TScrollStyle value) {
    if (value == scrollBars_) return;
    scrollBars_ = value;
    if (HandleAllocated())
        RecreateWnd();
    else if (Parent())
        InitScrollBars();
}

// ---- state --------------------------------------------------------------------------------

void TTeControl::MouseEnter() {
    hot_ = true;
    if (OnMouseEnter) OnMouseEnter(this);
}

void TTeControl::MouseLeave() {
    hot_ = false;
    if (OnMouseLeave) OnMouseLeave(this);
}

void TTeControl::HasFocus() {
    focused_ = true;
    Invalidate();
}

void TTeControl::KillFocus() {
    focused_ = false;
    Invalidate();
}

// Of the class library's handling only the parent's notice is kept: the
// events themselves are fired by MouseEnter and MouseLeave.
void TTeControl::CMMouseEnter(TMessage& m) {
    TellParentOfMouse(m);
    MouseEnter();
}
void TTeControl::CMMouseLeave(TMessage& m) {
    TellParentOfMouse(m);
    MouseLeave();
}

void TTeControl::CMEnter(TMessage& m) {
    HasFocus();
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeControl::CMExit(TMessage& m) {
    KillFocus();
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeControl::CMVisibleChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (!Visible()) focused_ = false;
}

void TTeControl::WMWindowPosChanging(TMessage& m) {
    if (const auto* pos = reinterpret_cast<const WINDOWPOS*>(m.LParam); pos && !(pos->flags & SWP_NOSIZE)) {
        storedWidth_ = pos->cx;
        storedHeight_ = pos->cy;
        UpdateScrollBars();
    }
    DispatchFrom(inherited::StaticClass(), m);
}

void TTeControl::WMThemeChanged(TMessage& m) {
    Invalidate();
    DispatchFrom(inherited::StaticClass(), m);
}

// The system never erases a skinned control. With a DC and a non-zero
// lParam the control paints itself into that DC: the background of a
// transparent child. The caller's DC keeps its clip.
void TTeControl::WMEraseBkgnd(TMessage& m) {
    m.Result = 1;
    if (!m.WParam || !m.LParam) return;
    TCanvasOnDC on(*Canvas(), HDC(static_cast<uint64_t>(m.WParam)));
    TCanvasDCState state(*Canvas());
    PaintBorder();
    if (scrollBars_ == ssBoth) {
        const TRect c = GetClientRect();
        IntersectClipRect(state.DC(), c.left, c.top, c.right, c.bottom);
    }
    PaintBuffer();
}

// ---- painting -----------------------------------------------------------------------------

void TTeControl::PaintBuffer() { FillRect(*Canvas(), GetBorderRect(), Color()); }

TRect TTeControl::CornerRect(const TRect& within) const {
    return TRect{within.right - kCornerSize, within.bottom - kCornerSize, within.right, within.bottom};
}

// The square sits in the border rectangle's corner, where the bars meet; at
// the control's own corner it would leave the meeting point of bars inside a
// border unpainted.
void TTeControl::PaintCorner() {
    const TRect corner = CornerRect(GetBorderRect());
    if (themedBorder_ && DrawStyledEdit(Canvas()->Handle(), 0, corner)) return;
    FillRect(*Canvas(), corner, Color());
}

void TTeControl::DrawBevels(TRect& r) {
    if (bevelWidth_ <= 0) return;
    struct TBevel {
        TTeBevelCut cut;
        const std::array<TColor, 6>& first;
        const std::array<TColor, 6>& second;
    };
    const TBevel bevels[] = {{bevelOuter_, OuterBevelRaisedColor, OuterBevelSunkenColor},
                             {bevelInner_, InnerBevelRaisedColor, InnerBevelSunkenColor}};
    TCanvas& c = *Canvas();
    for (const TBevel& b : bevels) {
        if (b.cut == kbvNone) continue;
        const TColor first = b.first[b.cut], second = b.second[b.cut];
        for (int i = 0; i < bevelWidth_; ++i) {
            if (bevelSides_.Contains(kbsLeft)) {
                MoveTo(c, r.left, r.top);
                LineTo(c, r.left, r.bottom, first);
            }
            if (bevelSides_.Contains(kbsTop)) {
                MoveTo(c, r.left, r.top);
                LineTo(c, r.right, r.top, first);
            }
            if (bevelSides_.Contains(kbsBottom)) {
                MoveTo(c, r.left, r.bottom - 1);
                LineTo(c, r.right, r.bottom - 1, second);
            }
            if (bevelSides_.Contains(kbsRight)) {
                MoveTo(c, r.right - 1, r.top);
                LineTo(c, r.right - 1, r.bottom, second);
            }
            if (bevelSides_.Contains(kbsLeft)) ++r.left;
            if (bevelSides_.Contains(kbsTop)) ++r.top;
            if (bevelSides_.Contains(kbsRight)) --r.right;
            if (bevelSides_.Contains(kbsBottom)) --r.bottom;
        }
    }
}

void TTeControl::PaintBorder() {
    if (scrollBars_ == ssBoth) PaintCorner();
    const TRect border = GetBorderRect();
    const TRect whole{0, 0, storedWidth_, storedHeight_};
    if (border == whole) return;
    TCanvas& c = *Canvas();
    if (themedBorder_ && UseThemes()) {
        const int state = !Enabled() ? 4 : focused_ ? 3 : hot_ ? 2 : 1;
        TCanvasDCState saved(c);
        ExcludeClipRect(saved.DC(), border.left, border.top, border.right, border.bottom);
        if (DrawStyledEdit(saved.DC(), state, whole)) return;
    }
    TRect r = whole;
    DrawBevels(r);
    for (int i = 0; i < borderWidth_; ++i) {
        DrawRect(c, r, Color());
        r = RectOffset(r, -1);
    }
}

void TTeControl::Paint() {
    const int w = storedWidth_, h = storedHeight_;
    if (Width() <= 0 || Height() <= 0 || w <= 0 || h <= 0) return;
    TCanvas* canvas = Canvas();
    const HDC paintDc = canvas->Handle();
    std::optional<TKeptBufferClaim> sharedClaim;
    std::optional<TDoubleBuffer> doubleBuffer;
    try {
        switch (performance_) {
            case qvpNoBuffer: break;
            case qvpSharedBuffer:
                sharedClaim.emplace();
                if (!SharedBuffer) InitControlBases();
                SharedBuffer->Transparent = false;
                if (SharedBuffer->Empty()) InitSharedBuffer();
                SharedBuffer->FillRect(TRect{0, 0, w, h}, teKeyColor);
                canvas->SetHandle(SharedBuffer->DC());
                break;
            case qvpDoubleBuffer:
                doubleBuffer.emplace(w, h);
                canvas->SetHandle(doubleBuffer->DC());
                break;
        }
        paintFont_->Assign(Font());
        {
            // Clips set here must not reach the shared buffer's next user,
            // nor the children the window paints after this.
            TCanvasDCState target(*canvas);
            TRect r = GetBorderRect();
            if (scrollBars_ == ssBoth) {
                const TRect client = GetClientRect();
                r.right = client.right;
                r.bottom = client.bottom;
            }
            {
                TCanvasDCState border(*canvas);
                ExcludeClipRect(border.DC(), r.left, r.top, r.right, r.bottom);
                PaintBorder();
            }
            if (scrollBars_ == ssBoth) {
                const TRect client = GetClientRect();
                IntersectClipRect(target.DC(), client.left, client.top, client.right, client.bottom);
            }
            PaintBuffer();
            PaintControls(target.DC(), nullptr);
        }
        if (performance_ == qvpSharedBuffer) {
            // A control larger than the buffer shows the part the buffer holds.
            const TRect part = Intersect(TRect{0, 0, w, h}, SharedBuffer->BoundsRect());
            SharedBuffer->Draw(paintDc, 0, 0, part);
        } else if (doubleBuffer) {
            doubleBuffer->DrawOn(paintDc);
        }
    } catch (...) {
        canvas->SetHandle(paintDc);
        throw;
    }
    canvas->SetHandle(paintDc);
}

// ---- invalidation -------------------------------------------------------------------------

void TTeControl::InvalidateRect(const TRect& rect) {
    if (HandleAllocated()) ::tarvel::InvalidateRect(Handle(), &rect, false);
}

void TTeControl::InvalidateNow() {
    InvalidateRect(GetClientRect());
    MSG msg;
    while (PeekMessage(&msg, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE)) {
        const int got = GetMessage(&msg, nullptr, WM_PAINT, WM_PAINT);
        if (got == -1) break;
        if (got == 0) {
            PostQuitMessage(static_cast<int>(msg.wParam));
            return;
        }
        DispatchMessage(&msg);
        // A window that does not validate what it painted would come back forever.
        MSG next;
        if (PeekMessage(&next, nullptr, WM_PAINT, WM_PAINT, PM_NOREMOVE) && next.hwnd == msg.hwnd) break;
    }
}

void TTeControl::InvalidateBorder() {
    const TRect b = GetBorderRect();
    const TRect whole{0, 0, storedWidth_, storedHeight_};
    if (b == whole) return;
    const TRect strips[] = {{0, 0, whole.right, b.top},
                            {0, b.bottom, whole.right, whole.bottom},
                            {0, 0, b.left, whole.bottom},
                            {b.right, 0, whole.right, whole.bottom}};
    for (const TRect& s : strips)
        if (!s.IsEmpty()) InvalidateRect(s);
    if (scrollBars_ == ssBoth) InvalidateRect(CornerRect(b));
}

// ---- scroll bars ----------------------------------------------------------------------------

int TTeControl::GetScrollPos(int bar) {
    TTeScrollBar* b = Bar(bar);
    return b ? b->Position() : 0;
}

void TTeControl::GetScrollRange(int bar, int& min, int& max) {
    TTeScrollBar* b = Bar(bar);
    min = b ? b->Min() : 0;
    max = b ? b->Max() : 0;
}

bool TTeControl::GetScrollInfo(int bar, SCROLLINFO& info) {
    TTeScrollBar* b = Bar(bar);
    if (!b) return false;
    info.nMin = b->Min();
    info.nMax = b->Max();
    info.nPage = static_cast<UINT>(b->PageSize());
    info.nPos = b->Position();
    return true;
}

void TTeControl::SetScrollPos(int bar, int pos, bool redraw) {
    if (TTeScrollBar* b = Bar(bar)) b->SetPosition(pos);
    if (redraw) Invalidate();
}

void TTeControl::SetScrollRange(int bar, int min, int max, bool redraw) {
    if (TTeScrollBar* b = Bar(bar)) {
        b->SetMin(min);
        b->SetMax(max);
    }
    if (redraw) Invalidate();
}

void TTeControl::SetScrollInfo(int bar, const SCROLLINFO& info, bool redraw) {
    if (TTeScrollBar* b = Bar(bar)) {
        b->SetMin(info.nMin);
        b->SetMax(info.nMax);
        b->SetPageSize(static_cast<int>(std::min<UINT>(info.nPage, INT32_MAX)));
        b->SetPosition(info.nPos);
    }
    if (redraw) Invalidate();
}

void TTeControl::InitScrollBars() {
    struct TMake {
        TTeScrollBar*& bar;
        bool wanted;
        TTeScrollOrientation orientation;
        void (TTeControl::*onScroll)(TObject*, TTeScrollCode, int&);
    };
    const TMake makes[] = {
        {horzBar_, scrollBars_ == ssHorizontal || scrollBars_ == ssBoth, ksoHorizontal,
         &TTeControl::DoHScroll},
        {vertBar_, scrollBars_ == ssVertical || scrollBars_ == ssBoth, ksoVertical, &TTeControl::DoVScroll}};
    for (const TMake& m : makes) {
        delete std::exchange(m.bar, nullptr);
        if (!m.wanted) continue;
        TTeScrollBar* bar = CreateScrollBar();
        bar->SetBorderWidth(0);
        bar->SetParent(this);
        bar->SetOrientation(m.orientation);
        if (m.orientation == ksoHorizontal)
            bar->SetHeight(GetScrollBarHeight());
        else
            bar->SetWidth(GetScrollBarHeight());
        bar->SetVisible(true);
        bar->OnScroll = [this, f = m.onScroll](TObject* s, TTeScrollCode code, int& pos) {
            (this->*f)(s, code, pos);
        };
        m.bar = bar;
    }
    // Placed at once, not only at the next change of size.
    UpdateScrollBars();
}

void TTeControl::UpdateScrollBars() {
    if (storedWidth_ < 0 || storedHeight_ < 0) return;
    TRect a{0, 0, storedWidth_, storedHeight_};
    if (Parent()) {
        if (HandleAllocated()) a = ::tarvel::ClientRect(Handle());
        const TRect b = GetBorderRect();
        a.left += b.left;
        a.top += b.top;
        a.right -= storedWidth_ - b.right;
        a.bottom -= storedHeight_ - b.bottom;
    }
    const int vertWidth = vertBar_ ? vertBar_->Width() : 0;
    const int horzHeight = horzBar_ ? horzBar_->Height() : 0;
    if (horzBar_)
        horzBar_->SetBoundsRect(TRect{a.left, a.bottom - horzHeight, a.right - vertWidth, a.bottom});
    if (vertBar_) vertBar_->SetBoundsRect(TRect{a.right - vertWidth, a.top, a.right, a.bottom - horzHeight});
}

void TTeControl::DoHScroll(TObject*, TTeScrollCode code, int& scrollPos) {
    Perform(WM_HSCROLL, code, scrollPos);
    scrollPos = horzBar_ ? horzBar_->Position() : scrollPos;
}

void TTeControl::DoVScroll(TObject*, TTeScrollCode code, int& scrollPos) {
    Perform(WM_VSCROLL, code, scrollPos);
    scrollPos = vertBar_ ? vertBar_->Position() : scrollPos;
}

// ---- TTeGraphicControl ----------------------------------------------------------------------

void TTeGraphicControl::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeGraphicControl::CMMouseEnter>(CM_MOUSEENTER);
    t.Add<&TTeGraphicControl::CMMouseLeave>(CM_MOUSELEAVE);
    t.Add<&TTeGraphicControl::WMDisableDrawing>(WM_DISABLEDRAWING);
}

TTeGraphicControl::TTeGraphicControl(TComponent* owner)
    : TGraphicControl(owner), paintFont_(std::make_unique<TFont>()) {
    ControlStyle.Exclude(csOpaque);
    SetColor(clBtnFace);
    SetBounds(0, 0, 100, 30);
}

TTeGraphicControl::~TTeGraphicControl() = default;

void TTeGraphicControl::Loaded() {
    TGraphicControl::Loaded();
    Invalidate();
}

void TTeGraphicControl::PaintBuffer() { FillRect(*Canvas(), ClientRect(), Color()); }

void TTeGraphicControl::Paint() {
    if (Width() <= 0 || Height() <= 0 || drawingDisabled_) return;
    paintFont_->Assign(Font());
    PaintBuffer();
}

void TTeGraphicControl::MouseEnter() {
    hot_ = true;
    if (OnMouseEnter) OnMouseEnter(this);
}

void TTeGraphicControl::MouseLeave() {
    hot_ = false;
    if (OnMouseLeave) OnMouseLeave(this);
}

void TTeGraphicControl::CMMouseEnter(TMessage& m) {
    TellParentOfMouse(m);
    MouseEnter();
}
void TTeGraphicControl::CMMouseLeave(TMessage& m) {
    TellParentOfMouse(m);
    MouseLeave();
}

void TTeGraphicControl::WMDisableDrawing(TMessage& m) {
    DefaultHandler(m);
    drawingDisabled_ = m.WParam >= 1;
}

// ---- theme bounds ---------------------------------------------------------------------------

void UpdateThemeLink(TControl* control, TteCustomThemeLink* link, const String& objectName, bool repaint) {
    if (!control) return;
    TteTheme* theme = GetThemeLink(link);
    TRect r = theme ? theme->GetBounds(objectName) : NullRect;
    if (r.Width() > 0 && r.Height() > 0) {
        if (r.left == 10000) {
            r.right = r.Width() + control->Left();
            r.left = -1;
        }
        if (r.top == 10000) {
            r.bottom = r.Height() + control->Top();
            r.top = -1;
        }
        if (r.left < 0) r.left = control->Left();
        if (r.top < 0) r.top = control->Top();
        if (r.Width() < 0) r.right = control->Left() + control->Width();
        if (r.Height() < 0) r.bottom = control->Top() + control->Height();
        control->SetBoundsRect(r);
        return;
    }
    if (repaint) control->Invalidate();
}

}  // namespace tarvel
