#include "skin/extctrls/te_extctrls_nativetabs.h"

#include <algorithm>

#include "platform/classlib/ControlPaint.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

namespace {

// The caption flags of a tab: centred on one line.
constexpr unsigned kTabTextFlags = DT_CENTER | DT_VCENTER | DT_SINGLELINE;
constexpr int kImageGap = 3;

bool Horizontal(TTabPosition p) { return p == tpTop || p == tpBottom; }

TRect FrameRect(TCustomTabControl& control) {
    const TRect d = control.DisplayRect();
    // The display rectangle grows on both sides, so its inset on the side
    // away from the tabs carries it to the edges.
    if (control.TabPosition() == tpTop || control.TabPosition() == tpLeft)
        return InflatedRect(d, control.Width() - d.right, control.Height() - d.bottom);
    return InflatedRect(d, d.left, d.top);
}

}  // namespace

template <class Base>
TTeNativeTabs<Base>::TTeNativeTabs(TComponent* owner)
    : Base(owner),
      TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}),
      upDown_(false, [this] { return GetThemeLink(ThemeLink()); }) {
    // Over the arrows no tab is hot.
    upDown_.OnMouseMove = [this] { SetHotTab(-1); };
    AddThemeNotification(this);
}

template <class Base>
TTeNativeTabs<Base>::~TTeNativeTabs() {
    RemoveThemeNotification(this);
    UnhookUpDown();
}

template <class Base>
void TTeNativeTabs<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

template <class Base>
bool TTeNativeTabs<Base>::Themed() const {
    return IsObjectDefined(ktscTab, ThemeObject(), ThemeLink());
}

template <class Base>
TRect TTeNativeTabs<Base>::PageFrameRect() {
    return FrameRect(*this);
}

// ---- painting ----------------------------------------------------------------------------------

template <class Base>
void TTeNativeTabs<Base>::Paint() {
    if (!Themed()) {
        Base::Paint();
        return;
    }
    PaintControl(*this->Canvas());
}

template <class Base>
void TTeNativeTabs<Base>::PaintControl(TCanvas& canvas) {
    HDC dc = canvas.Handle();
    const int saved = SaveDC(dc);
    const TRect page = InflatedRect(this->DisplayRect(), 4, 4);
    ExcludeClipRect(dc, page.left, page.top, page.right, page.bottom);
    for (int i = 0; i < this->TabCount(); ++i) {
        const TRect tab = this->TabRect(i);
        if (!tab.IsEmpty()) ExcludeClipRect(dc, tab.left, tab.top, tab.right, tab.bottom);
    }
    DrawControlBackground(this, canvas);
    RestoreDC(dc, saved);

    const int current = this->TabIndex();
    for (int i = 0; i < this->TabCount(); ++i)
        if (i != current) DrawThemedTab(canvas, i);
    GetThemeLink(ThemeLink())->TabDraw(ktscTab, canvas, TabInfo(PageFrameRect()), ThemeObject());
    // Over the frame and its neighbours.
    if (current >= 0) DrawThemedTab(canvas, current);
}

template <class Base>
void TTeNativeTabs<Base>::DrawThemedTab(TCanvas& canvas, int index) {
    TRect tab = this->TabRect(index);
    if (tab.IsEmpty()) return;
    const TTabPosition position = this->TabPosition();
    const bool current = index == this->TabIndex();
    if (current && Horizontal(position)) tab = InflatedRect(tab, 1, 1);
    // Side tabs laid out wide read across like the others.
    const bool across = Horizontal(position) || tab.Width() >= tab.Height();

    TCustomImageList* images = this->Images();
    const int image = this->TabImageIndex(index);
    const bool hasImage = images && image >= 0 && image < images->Count();
    const int imageWidth = hasImage ? images->Width() : 0;
    const int gap = hasImage ? kImageGap : 0;

    canvas.Font()->Assign(this->Font());
    const String caption = this->TabCaption(index);
    const int h = std::max(canvas.TextHeight("Agt"), imageWidth);
    const int length = canvas.TextWidth(caption) + imageWidth + gap;
    TRect content = across ? TRect{0, 0, length, h} : TRect{0, 0, h, length};
    RectCenter(content, tab);

    const TteTabItemDrawState state = current ? ktidsActive : index == hotTab_ ? ktidsHot : ktidsNormal;
    static const TteTabItemClass kClass[] = {ktisTopMiddle, ktisBottomMiddle, ktisLeftMiddle,
                                             ktisRightMiddle};
    const TteTabItemInfo item = TabItemInfo(tab, kClass[position], state);
    TteTheme* theme = GetThemeLink(ThemeLink());
    theme->TabDrawItem(ktscTab, canvas, item, ThemeObject());

    if (hasImage) {
        TRect glyph = content;
        if (across) {
            glyph.right = glyph.left + imageWidth;
            content.left += imageWidth + gap;
        } else if (position == tpLeft) {
            glyph.top = glyph.bottom - imageWidth;
            content.bottom -= imageWidth + gap;
        } else {
            glyph.bottom = glyph.top + imageWidth;
            content.top += imageWidth + gap;
        }
        theme->TabDrawGlyph(ktscTab, canvas, item, GlyphInfo(glyph, images, image, kgfaCenter),
                            ThemeObject());
    }
    theme->TabDrawText(ktscTab, canvas, item, TextInfo(content, Utf8ToWide(caption), kTabTextFlags),
                       ThemeObject());
}

template <class Base>
void TTeNativeTabs<Base>::UpdateTabs() {
    if (this->ComponentState().Contains(csDesigning) || !this->HandleAllocated() || !Themed()) return;
    TCanvas& canvas = *this->Canvas();
    const int current = this->TabIndex();
    for (int i = 0; i < this->TabCount(); ++i)
        if (i != current) DrawThemedTab(canvas, i);
    if (current >= 0) DrawThemedTab(canvas, current);
}

template <class Base>
void TTeNativeTabs<Base>::SetHotTab(int index) {
    if (index == hotTab_) return;
    hotTab_ = index;
    UpdateTabs();
}

// ---- messages ----------------------------------------------------------------------------------

template <class Base>
void TTeNativeTabs<Base>::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_SIZE:
            Base::WndProc(m);
            HookUpDown();
            return;
        case WM_ERASEBKGND:
            if (!Themed()) break;
            m.Result = 1;
            return;
        case WM_HSCROLL:
            // The up-down scrolled the tabs.
            Base::WndProc(m);
            if (Themed()) this->Repaint();
            return;
        case WM_MOUSEMOVE: {
            Base::WndProc(m);
            upDown_.ClearHot();
            const TPoint p = PointFromLParam(m.LParam);
            SetHotTab(this->IndexOfTabAt(p.x, p.y));
            return;
        }
        case CM_MOUSELEAVE:
            Base::WndProc(m);
            // A leave carries no point: nothing stays hot once the mouse is
            // gone. Going onto a child leaves the control too, so the arrows
            // lose their hot half only when the mouse leaves them.
            if (this->IsOwnMouseMessage(m))
                SetHotTab(-1);
            else if (reinterpret_cast<TControl*>(m.LParam) == this->ScrollArrows())
                upDown_.ClearHot();
            return;
        case SNM_THEMEMESSAGE: ThemeMessage(m); return;
        case SNM_LINKCHANGED:
            if (IsOwnLinkMessage(m)) FollowThemeLink(true);
            return;
    }
    Base::WndProc(m);
}

template <class Base>
void TTeNativeTabs<Base>::ThemeMessage(const TMessage& m) {
    if (!this->HandleAllocated()) return;
    switch (m.WParam) {
        case tmChanged:
        case tmSystemChanged: break;
        case tmApply: HookUpDown(); break;
        case tmReleased: UnhookUpDown(); break;
        default: return;
    }
    InvalidateThemed();
}

// ---- the up-down child -------------------------------------------------------------------------

// A control made after the theme came missed its message: the window's
// arrival counts as one.
template <class Base>
void TTeNativeTabs<Base>::CreateHandleDone() {
    Base::CreateHandleDone();
    HookUpDown();
}

template <class Base>
void TTeNativeTabs<Base>::HookUpDown() {
    if (this->ComponentState().Contains(csDesigning) || !this->HandleAllocated() || !Themed()) return;
    if (HWND upDown = FindWindowEx(this->Handle(), nullptr, kUpDownClassName)) upDown_.Hook(upDown);
}

template class TTeNativeTabs<TTabControl>;
template class TTeNativeTabs<TPageControl>;

// ---- TTeSPageControl ---------------------------------------------------------------------------

void TTeSPageControl::SetShowCloseButtons(bool value) {
    if (value == showCloseButtons_) return;
    showCloseButtons_ = value;
    Invalidate();
}

void TTeSPageControl::InvalidateThemed() {
    Invalidate();
    if (TTabSheet* page = ActivePage()) page->Invalidate();
}

// ---- TTeSTabSheet ------------------------------------------------------------------------------

bool TTeSTabSheet::Themed() { return IsObjectDefined(ktscTab, "default", nullptr); }

void TTeSTabSheet::PaintThemedBackground(TCanvas& canvas) {
    const TRect r = InflatedRect(ClientRect(), 4, 4);
    if (auto* control = dynamic_cast<TTeSPageControl*>(Parent()))
        GetThemeLink(control->ThemeLink())->TabDraw(ktscTab, canvas, TabInfo(r), control->ThemeObject());
    else
        CurrentTheme->TabDraw(ktscTab, canvas, TabInfo(r), "default");
}

void TTeSTabSheet::WndProc(TMessage& m) {
    if (m.Msg == WM_ERASEBKGND && Themed()) {
        m.Result = 1;
        return;
    }
    TTabSheet::WndProc(m);
}

// The window's paint draws the page; its child controls follow it.
void TTeSTabSheet::PaintWindow(HDC dc) {
    if (!Themed()) {
        TTabSheet::PaintWindow(dc);
        return;
    }
    TDcCanvas canvas(dc);
    PaintThemedBackground(*canvas);
}

// ---- backgrounds for transparent children ------------------------------------------------------

namespace {

bool PaintTabControlBackground(TCanvas* canvas, const TteBackground& background) {
    auto* control = dynamic_cast<TTeSTabControl*>(background.Parent);
    if (!control) return false;
    if (!control->Themed()) {
        FillRect(*canvas, control->ClientRect(), control->Color());
        return true;
    }
    GetThemeLink(control->ThemeLink())
        ->TabDraw(ktscTab, *canvas, TabInfo(control->PageFrameRect()), control->ThemeObject());
    return true;
}

bool PaintTabSheetBackground(TCanvas* canvas, const TteBackground& background) {
    auto* sheet = dynamic_cast<TTeSTabSheet*>(background.Parent);
    if (!sheet) return false;
    auto* control = dynamic_cast<TTeSPageControl*>(sheet->Parent());
    if (control && IsObjectDefined(ktscTab, control->ThemeObject(), control->ThemeLink()))
        GetThemeLink(control->ThemeLink())
            ->TabDraw(ktscTab, *canvas, TabInfo(InflatedRect(sheet->ClientRect(), 4, 4)), "default");
    else
        FillRect(*canvas, sheet->ClientRect(), sheet->Color());
    return true;
}

}  // namespace

void RegisterNativeTabBackgrounds() {
    RegisterDrawControlBackground(TTeSTabControl::StaticClass(), &PaintTabControlBackground);
    RegisterDrawControlBackground(TTeSTabSheet::StaticClass(), &PaintTabSheetBackground);
}

}  // namespace tarvel
