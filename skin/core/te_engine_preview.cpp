#include "skin/core/te_engine_preview.h"

#include "platform/winsys/Winsys.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {

constexpr char16_t kActiveWindow[] = u"Active Window";
constexpr char16_t kButton[] = u"Button";
constexpr unsigned kCaptionTextFlags = DT_NOPREFIX | DT_SINGLELINE | DT_VCENTER;

// Visual-style parts and states of the "Window" class.
constexpr int WP_CAPTION = 1, WP_FRAMELEFT = 7, WP_FRAMERIGHT = 8, WP_FRAMEBOTTOM = 9, WP_MINBUTTON = 15,
              WP_MAXBUTTON = 17, WP_CLOSEBUTTON = 18, WP_HELPBUTTON = 23;

TRect Shrink(const TRect& r, int dx, int dy) {
    return TRect{r.left + dx, r.top + dy, r.right - dx, r.bottom - dy};
}

// The "Window" class of the visual style, open for the length of a scope.
class TWindowStyle {
public:
    explicit TWindowStyle(HWND wnd) {
        if (UseThemes() && Te_winapi::UxTheme.OpenThemeData)
            theme_ = Te_winapi::UxTheme.OpenThemeData(wnd, u"Window");
    }
    ~TWindowStyle() {
        if (theme_ && Te_winapi::UxTheme.CloseThemeData) Te_winapi::UxTheme.CloseThemeData(theme_);
    }
    TWindowStyle(const TWindowStyle&) = delete;
    TWindowStyle& operator=(const TWindowStyle&) = delete;

    void Background(HDC dc, int part, int state, const TRect& r) const {
        if (theme_ && Te_winapi::UxTheme.DrawThemeBackground)
            Te_winapi::UxTheme.DrawThemeBackground(theme_, dc, part, state, &r, nullptr);
    }
    void Text(HDC dc, int part, int state, std::u16string_view text, unsigned flags, const TRect& r) const {
        if (theme_ && Te_winapi::UxTheme.DrawThemeText)
            Te_winapi::UxTheme.DrawThemeText(theme_, dc, part, state, text.data(),
                                             static_cast<int>(text.size()), flags, 0, &r);
    }

private:
    HTHEME theme_ = nullptr;
};

}  // namespace

TteFrameMetrics SystemFrameMetrics() {
    return TteFrameMetrics{GetSystemMetrics(SM_CXFRAME), GetSystemMetrics(SM_CYSIZE)};
}

void GetSystemCaptionFont(TFont& font) {
    NONCLIENTMETRICSW metrics;
    if (!SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(metrics), &metrics, 0)) return;
    const LOGFONTW& lf = metrics.lfCaptionFont;
    font.SetName(WideToUtf8(lf.lfFaceName));
    font.SetHeight(lf.lfHeight);
    TFontStyles style;
    if (lf.lfWeight >= FW_BOLD) style.Include(fsBold);
    if (lf.lfItalic) style.Include(fsItalic);
    if (lf.lfUnderline) style.Include(fsUnderline);
    if (lf.lfStrikeOut) style.Include(fsStrikeOut);
    font.SetStyle(style);
}

TteFrameMetrics TTeThemePreview::FrameMetrics() const { return SystemFrameMetrics(); }

void TTeThemePreview::SetCaptionFont(TFont& font) const { GetSystemCaptionFont(font); }

bool TTeThemePreview::Styled() const { return UseThemes(); }

int TTeThemePreview::CaptionButtonGap(TTeBorderIcon icon, bool) const {
    // The classic look keeps 2 more before the roll-up and the help button.
    return icon == kbiRollup || icon == kbiHelp ? 4 : 2;
}

void TTeThemePreview::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeThemePreview::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeThemePreview::SNMLinkChanged>(SNM_LINKCHANGED);
}

TTeThemePreview::TTeThemePreview(TComponent* owner) : TTeControl(owner) {
    SetBounds(Left(), Top(), 100, 100);
    AddThemeNotification(this);
}

TTeThemePreview::~TTeThemePreview() { RemoveThemeNotification(this); }

void TTeThemePreview::SetThemeLink(TteCustomThemeLink* link) {
    if (link == themeLink_) return;
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = link;
    if (link) link->FreeNotification(this);
    Invalidate();
}

void TTeThemePreview::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) {
        themeLink_ = nullptr;  // half destroyed: forgotten, not asked
        Invalidate();
    }
}

void TTeThemePreview::SNMLinkChanged(TMessage& message) {
    if (themeLink_ && message.LParam == reinterpret_cast<intptr_t>(themeLink_)) Invalidate();
}

void TTeThemePreview::SNMThemeMessage(TMessage& message) {
    switch (message.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

TIcon* TTeThemePreview::GetIcon() {
    // The application carries no icon of its own here, so the copy is empty.
    icon_ = std::make_unique<TIcon>();
    return icon_.get();
}

void TTeThemePreview::PaintBuffer() {
    TCanvas& canvas = *Canvas();
    DrawControlBackground(this, canvas);
    TteTheme* theme = themeLink_ ? themeLink_->GetTheme() : nullptr;
    if (theme)
        PaintWithTheme(canvas, *theme);
    else
        PaintPlain(canvas);
}

void TTeThemePreview::PaintWithTheme(TCanvas& canvas, TteTheme& t) {
    const TRect c = ClientRect();
    const String obj = "default";
    const TteWindowInfo info = WindowInfo(TRect{0, 0, Width(), Height()}, {kwdsActive}, NullRect,
                                          {kwbSysMenu, kwbClose, kwbMin, kwbMax}, kActiveWindow, false);
    t.WindowDrawClient(kwscStandard, canvas, TRect{c.left + 3, c.top + 10, c.right - 3, c.bottom - 3}, obj);
    t.WindowDraw(kwscStandard, canvas, info, obj);
    const TRect title = t.WindowGetTitleRect(kwscStandard, info, obj);
    if (!title.IsEmpty()) t.WindowDrawText(kwscStandard, canvas, info, title, obj);

    auto button = [&](TteWindowButtonClass cls, TteBitmap* bitmap) {
        t.WindowDrawButton(
            kwscStandard, canvas,
            WindowButtonInfo(t.WindowGetButtonRect(kwscStandard, info, cls, obj), cls, kwbdsNormal, bitmap),
            obj);
    };
    button(kwbClose, nullptr);
    {
        TteBitmap glyph;
        glyph.SetSize(std::max(1, GetSystemMetrics(SM_CXSMICON)), std::max(1, GetSystemMetrics(SM_CYSMICON)));
        glyph.Clear(teKeyColor);
        glyph.Transparent = true;
        TIcon* icon = GetIcon();
        if (!icon->Empty()) {
            TCanvas onGlyph;
            onGlyph.SetHandle(glyph.DC());
            icon->DrawCentered(onGlyph, glyph.BoundsRect());
            onGlyph.SetHandle(HDC{});
        }
        button(kwbSysMenu, &glyph);
    }
    for (TteWindowButtonClass cls : {kwbMin, kwbMax, kwbRoll, kwbTray}) button(cls, nullptr);

    const TRect f = Shrink(c, 5, 5);
    const TRect b{f.left + 25, f.top + 33, f.right - 30, f.top + 58};
    const TteButtonInfo buttonInfo = ButtonInfo(b, kbdsNormal);
    t.ButtonDraw(kbscButton, canvas, buttonInfo, obj);
    canvas.SetFont(t.Fonts()->GetFont(ktfButtonTextNormal));
    t.ButtonDrawText(kbscButton, canvas, buttonInfo,
                     TextInfo(b, kButton, ktxaMiddleCenter, {}, ktxoHorizontal), obj);
}

void TTeThemePreview::PaintPlain(TCanvas& canvas) {
    TRect c = ClientRect();
    TRect f = Shrink(c, 5, 5);
    f.top += 18;
    if (Styled()) {
        TWindowStyle style(HandleAllocated() ? Handle() : nullptr);
        HDC dc = canvas.Handle();
        FillRect(canvas, TRect{c.left + 3, c.top + 10, c.right - 3, c.bottom - 3}, clBtnFace);
        style.Background(dc, WP_FRAMELEFT, 1, TRect{c.left, f.top, f.left, f.bottom});
        style.Background(dc, WP_FRAMERIGHT, 1, TRect{f.right, f.top, c.right, f.bottom});
        style.Background(dc, WP_FRAMEBOTTOM, 1, TRect{c.left, f.bottom, c.right, c.bottom});
        style.Background(dc, WP_CAPTION, 1, TRect{c.left, c.top, c.right, f.top});
        DrawCaption(canvas, f);
        return;
    }
    TRect edge = c;
    DrawEdge(canvas.Handle(), &edge, EDGE_RAISED, BF_RECT);
    c = Shrink(c, 2, 2);
    FillRect(canvas, c, clBtnFace);
    DrawCaption(canvas, f);
}

TRect TTeThemePreview::GetCaptionButtonRect(TTeBorderIcon icon, const TRect& r) const {
    const TteFrameMetrics metrics = FrameMetrics();
    const int bandTop = metrics.BorderWidth + 1;
    const int h = r.top - bandTop;
    if (icon == kbiSystemMenu) return TRect{r.left, bandTop, r.left + h, r.top};
    const bool styled = Styled();
    const int w = styled ? h - 4 : h - 2, bh = h - 4;
    const int top = styled ? bandTop + 1 : bandTop + 2;
    // Right to left from the band's end; the visual style has no roll-up,
    // tray or help button.
    static constexpr TTeBorderIcon kOrder[] = {kbiClose,  kbiMaximize, kbiMinimize,
                                               kbiRollup, kbiTray,     kbiHelp};
    int right = r.right;
    for (TTeBorderIcon slot : kOrder) {
        if (styled && slot == kbiRollup) break;
        right -= CaptionButtonGap(slot, styled);
        if (slot == icon) return TRect{right - w, top, right, top + bh};
        right -= w;
    }
    return TRect{0, 0, 0, 0};
}

void TTeThemePreview::DrawCaption(TCanvas& canvas, const TRect& r) {
    const TteFrameMetrics metrics = FrameMetrics();
    const TRect k{r.left, metrics.BorderWidth, r.right, r.top};
    SetCaptionFont(*canvas.Font());
    const WideString text =
        FormatStr(canvas.Handle(), kActiveWindow, Width() - k.left - 7 * metrics.ButtonHeight);
    TRect textRect{k.left + k.Height(), k.top, k.right, k.bottom};
    textRect = Shrink(textRect, 2, 0);
    if (Styled()) {
        canvas.Font()->SetColor(clCaptionText);
        TWindowStyle style(HandleAllocated() ? Handle() : nullptr);
        style.Text(canvas.Handle(), WP_CAPTION, 1, text, kCaptionTextFlags, textRect);
    } else {
        FillGradientRect(canvas, k, clActiveCaption, clGradientActiveCaption, false);
    }
    canvas.Brush()->SetStyle(bsClear);
    DrawText(canvas, text, textRect, kCaptionTextFlags);
    for (TTeBorderIcon icon :
         {kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize, kbiRollup, kbiTray, kbiHelp})
        DrawCaptionButton(canvas, GetCaptionButtonRect(icon, r), icon, false, false);
}

void TTeThemePreview::DrawCaptionButton(TCanvas& canvas, const TRect& r, TTeBorderIcon icon, bool pressed,
                                        bool hot) {
    const unsigned flags = pressed ? unsigned{DFCS_PUSHED} : 0u;
    const int state = pressed ? 3 : hot ? 2 : 1;
    const bool styled = Styled();
    HDC dc = canvas.Handle();
    TRect box = r;
    static constexpr struct {
        TTeBorderIcon Icon;
        int Part;
        unsigned Glyph;
    } kCaptionGlyphs[] = {{kbiClose, WP_CLOSEBUTTON, DFCS_CAPTIONCLOSE},
                          {kbiMinimize, WP_MINBUTTON, DFCS_CAPTIONMIN},
                          {kbiMaximize, WP_MAXBUTTON, DFCS_CAPTIONMAX},
                          {kbiHelp, WP_HELPBUTTON, DFCS_CAPTIONHELP}};
    for (const auto& g : kCaptionGlyphs)
        if (g.Icon == icon) {
            if (styled)
                TWindowStyle(HandleAllocated() ? Handle() : nullptr).Background(dc, g.Part, state, r);
            else
                DrawFrameControl(dc, &box, DFC_CAPTION, g.Glyph | flags);
            return;
        }
    switch (icon) {
        case kbiSystemMenu: DrawIcon(canvas, r, GetIcon()); break;
        case kbiRollup: {
            if (styled) break;
            DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH | flags);
            TRect g = Shrink(r, 4, 5);
            if (!pressed) g.Offset(-1, -1);
            TPoint triangle[] = {{g.left, g.bottom}, {g.right, g.bottom}, {(g.left + g.right) / 2, g.top}};
            FillPolygon(canvas, triangle, 2, clBlack);
            break;
        }
        case kbiTray: {
            if (styled) break;
            DrawFrameControl(dc, &box, DFC_BUTTON, DFCS_BUTTONPUSH | flags);
            TRect g = Shrink(r, 5, 5);
            g.Offset(0, 2);
            if (pressed) g.Offset(1, 1);
            FillEllipse(canvas, g, clBlack);
            break;
        }
        default: break;
    }
}

}  // namespace tarvel
