// The frame's painting: the non-client area into a buffer chosen by
// Performance and copied to the window around the client area, the client
// background, and painting into a foreign DC.

#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_draw.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

namespace {

HICON SmallIcon(HWND h) {
    const LRESULT icon = h ? SendMessage(h, WM_GETICON, 0, 0) : 0;
    return icon ? HICON(static_cast<uint64_t>(icon)) : LoadIcon(IDI_APPLICATION);
}

}  // namespace

void DrawFrameIcon(HDC dc, HWND h, const TRect& r) {
    if (r.IsEmpty()) return;
    const int cx = GetSystemMetrics(SM_CXSMICON), cy = GetSystemMetrics(SM_CYSMICON);
    DrawIconEx(dc, r.left + (r.Width() - cx) / 2, r.top + (r.Height() - cy) / 2, SmallIcon(h), cx, cy, 0,
               HBRUSH{}, DI_NORMAL);
}

std::unique_ptr<TteBitmap> FrameIconGlyph(HWND h) {
    auto glyph = std::make_unique<TteBitmap>();
    glyph->SetSize(16, 16);
    glyph->Clear(teKeyColor);
    glyph->Transparent = true;
    if (h) DrawFrameIcon(glyph->DC(), h, glyph->BoundsRect());
    return glyph;
}

bool DrawClassicCaptionButton(HDC dc, HWND h, const TRect& rect, TTeBorderIcon icon, bool pressed,
                              bool minimized, bool maximized) {
    TRect r = rect;
    const unsigned push = pressed ? static_cast<unsigned>(DFCS_PUSHED) : 0u;
    switch (icon) {
        case kbiSystemMenu: DrawFrameIcon(dc, h, r); return true;
        case kbiClose: DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONCLOSE | push); return true;
        case kbiHelp: DrawFrameControl(dc, &r, DFC_CAPTION, DFCS_CAPTIONHELP | push); return true;
        case kbiMinimize:
            DrawFrameControl(dc, &r, DFC_CAPTION, (minimized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMIN) | push);
            return true;
        case kbiMaximize:
            DrawFrameControl(dc, &r, DFC_CAPTION, (maximized ? DFCS_CAPTIONRESTORE : DFCS_CAPTIONMAX) | push);
            return true;
        default: return false;
    }
}

void DrawThemedWindowTitle(TteTheme* theme, TteWindowSubclass s, TCanvas& canvas, TteWindowInfo info,
                           const String& object) {
    const TRect title = theme->WindowGetTitleRect(s, info, object);
    if (title.IsEmpty()) return;
    info.Caption = FormatStr(canvas.Handle(), info.Caption, title.Width());
    theme->WindowDrawText(s, canvas, info, title, object);
}

void PaintClassicBorders(TCanvas& canvas, TSize size, const TRect& cb) {
    TRect r{0, 0, size.cx, size.cy};
    DrawEdge(canvas.Handle(), &r, EDGE_RAISED, BF_RECT);
    r = tedraw::Shrink(r, 2);
    FillRect(canvas, TRect{r.left, cb.top, cb.left, r.bottom}, clBtnFace);
    FillRect(canvas, TRect{cb.right, cb.top, r.right, r.bottom}, clBtnFace);
    FillRect(canvas, TRect{r.left, cb.bottom, r.right, r.bottom}, clBtnFace);
    FillRect(canvas, TRect{r.left, r.top, r.right, cb.top}, clBtnFace);
}

void DrawClassicCaptionBand(TCanvas& canvas, const TRect& band, bool active, bool tool, bool iconSquare,
                            const WideString& text, int room, unsigned flags) {
    canvas.Font()->Assign(tool ? SmCaptionFont : CaptionFont);
    FillGradientRect(canvas, band, active ? clActiveCaption : clInactiveCaption,
                     active ? clGradientActiveCaption : clGradientInactiveCaption, false);
    const WideString shown = FormatStr(canvas.Handle(), text, room);
    TRect t = band;
    if (iconSquare) t.left += band.Height();
    t = TRect{t.left + 2, t.top, t.right - 2, t.bottom};
    canvas.Font()->SetColor(active ? clCaptionText : clInactiveCaptionText);
    canvas.Brush()->SetStyle(bsClear);
    DrawText(canvas, shown, t, flags);
}

void TTeDefaultForm::UpdateNonClientArea() {
    HWND h = GetHandle();
    if (!h || !Active()) return;
    const TRect cb = GetClientBounds();
    if ((cb.left == 0 && cb.top == 0 && !shadow_.Enabled()) || windowWidth_ < 1 || windowHeight_ < 1 ||
        !drawingEnabled_)
        return;
    const bool toBitmap = paintToBitmap_ && paintTarget_;
    // Shadow and blending are composed in a buffer, whatever the buffer mode.
    if (!toBitmap && performance_ == qvfpNoBuffer && ShadowSize() == 0 && !blending_.Enabled()) {
        HDC dc = GetWindowDC(h);
        if (!dc) return;
        SaveDC(dc);
        ExcludeClipRect(dc, cb.left, cb.top, cb.right, cb.bottom);
        {
            CanvasOnDc on(dc);
            PaintNonClientArea(on.canvas);
        }
        RestoreDC(dc, -1);
        ReleaseDC(h, dc);
        return;
    }
    std::unique_ptr<TteBitmap> temporary;
    TteBitmap* target = paintTarget_;
    if (toBitmap) {
    } else if (performance_ != qvfpSharedBuffer && performance_ != qvfpPersistentBuffer) {
        temporary = std::make_unique<TteBitmap>();
        target = temporary.get();
    } else {
        if (!buffer_) buffer_ = std::make_unique<TteBitmap>();
        target = buffer_.get();
    }
    if (!toBitmap && (target->Width() != windowWidth_ || target->Height() != windowHeight_))
        target->SetSize(windowWidth_, windowHeight_);
    HDC bufferDc = target->DC();
    PaintShadow(*target, cb);
    SaveDC(bufferDc);
    ExcludeClipRect(bufferDc, cb.left, cb.top, cb.right, cb.bottom);
    {
        CanvasOnDc on(bufferDc);
        PaintNonClientArea(on.canvas);
    }
    RestoreDC(bufferDc, -1);
    if (blending_.Enabled()) BlendFrameStrips(*target, cb);
    if (toBitmap) return;
    // Only the four strips around the client area reach the window.
    HDC dc = GetWindowDC(h);
    if (!dc) return;
    const int WW = windowWidth_, WH = windowHeight_;
    target->Draw(dc, 0, 0, TRect{0, 0, WW, cb.top});
    target->Draw(dc, cb.left, cb.bottom, TRect{cb.left, cb.bottom, cb.right, WH});
    target->Draw(dc, 0, cb.top, TRect{0, cb.top, cb.left, WH});
    target->Draw(dc, cb.right, cb.top, TRect{cb.right, cb.top, WW, WH});
    ReleaseDC(h, dc);
}

void TTeDefaultForm::BlendOverSnapshot(TteBitmap& target, const TRect& rect, TPoint fromWindow) {
    if (rect.IsEmpty()) return;
    target.SetAlpha(static_cast<uint8_t>(blending_.Value()), rect);
    // Composited, the display mixes by the window's alpha mask.
    if (!snapshot_ || composited_) return;
    TRect behind = rect;
    behind.Offset(fromWindow.x, fromWindow.y);
    target.MergeDraw(*snapshot_, rect.left, rect.top, behind);
    // The mix is what the window shows: opaque from here on.
    target.SetAlpha(255, rect);
}

void TTeDefaultForm::BlendFrameStrips(TteBitmap& target, const TRect& cb) {
    const int W = formWidth_, H = formHeight_;
    // The four strips around the client area, none over another.
    for (const TRect& r : {TRect{0, 0, W, cb.top}, TRect{0, cb.bottom, W, H},
                           TRect{0, cb.top, cb.left, cb.bottom}, TRect{cb.right, cb.top, W, cb.bottom}})
        BlendOverSnapshot(target, r, TPoint{0, 0});
}

void TTeDefaultForm::PaintNonClientArea(TCanvas& canvas) {
    if (borderStyle_ == kbsNone && !shadow_.Enabled()) return;
    TRect r{0, 0, formWidth_, formHeight_};
    const TRect cb = GetClientBounds();
    if (DisabledNCArea) FillRect(canvas, cb, clBtnFace);
    PaintClassicBorders(canvas, TSize{r.right, r.bottom}, cb);
    DrawCaption(canvas);
}

int TTeDefaultForm::CaptionButtonCount() const {
    int n = 1;
    for (TTeBorderIcon i : {kbiMaximize, kbiClose, kbiMinimize, kbiHelp, kbiRollup, kbiTray})
        if (borderIcons_.Contains(i)) ++n;
    return n;
}

void TTeDefaultForm::DrawCaption(TCanvas& canvas) {
    const TRect cb = GetClientBounds();
    const TRect band{cb.left, DefaultBorderWidth, cb.right, cb.top};
    if (band.IsEmpty()) return;
    const bool tool = borderStyle_ == kbsToolWindow;
    const int room = tool ? formWidth_ - cb.left - 2 * DefaultToolCaptionHeight
                          : formWidth_ - cb.left - CaptionButtonCount() * DefaultButtonHeight;
    DrawClassicCaptionBand(canvas, band, frameActive_, tool, borderIcons_.Contains(kbiSystemMenu) && !tool,
                           Caption(), room, DT_SINGLELINE | DT_VCENTER | DT_NOPREFIX);
    const struct {
        TTeBorderIcon icon;
        TteWindowHitTest part;
    } buttons[] = {{kbiClose, kwhtCloseButton},  {kbiSystemMenu, kwhtSysMenu}, {kbiMinimize, kwhtMinButton},
                   {kbiMaximize, kwhtMaxButton}, {kbiRollup, kwhtRollButton},  {kbiTray, kwhtTrayButton},
                   {kbiHelp, kwhtHelpButton}};
    for (const auto& b : buttons) {
        if (!borderIcons_.Contains(b.icon) || (tool && b.icon != kbiClose)) continue;
        const TteWindowButtonDrawState s = ButtonDrawState(b.part);
        DrawCaptionButton(canvas, GetCaptionButtonRect(b.icon), b.icon, s == kwbdsHot, s == kwbdsPressed);
    }
}

void TTeDefaultForm::DrawCaptionButton(TCanvas& canvas, const TRect& rect, TTeBorderIcon icon, bool,
                                       bool pressed) {
    if (!GetForm() || rect.IsEmpty()) return;
    HDC dc = canvas.Handle();
    TRect r = rect;
    const unsigned push = pressed ? static_cast<unsigned>(DFCS_PUSHED) : 0u;
    if (DrawClassicCaptionButton(dc, GetHandle(), r, icon, pressed, windowState_ == kwsMinimized,
                                 windowState_ == kwsMaximized))
        return;
    switch (icon) {
        case kbiRollup:
        case kbiTray: {
            DrawFrameControl(dc, &r, DFC_BUTTON, DFCS_BUTTONPUSH | push);
            canvas.Brush()->SetColor(clBlack);
            canvas.Pen()->SetColor(clBlack);
            const int shift = pressed ? 0 : -1;
            if (icon == kbiRollup) {
                TRect g{r.left + 4 + shift, r.top + 5 + shift, r.right - 4 + shift, r.bottom - 5 + shift};
                const int mid = (g.left + g.right) / 2;
                if (windowState_ == kwsRollup) {
                    const TPoint tri[] = {{g.left, g.top}, {g.right, g.top}, {mid, g.bottom}};
                    canvas.Polygon(tri);
                } else {
                    const TPoint tri[] = {{g.left, g.bottom}, {g.right, g.bottom}, {mid, g.top}};
                    canvas.Polygon(tri);
                }
            } else {
                TRect g = tedraw::Shrink(r, 5);
                g.Offset(pressed ? 1 : 0, pressed ? 3 : 2);
                canvas.Ellipse(g);
            }
            break;
        }
        default: break;
    }
}

void TTeDefaultForm::PaintClientArea(TCanvas& canvas) {
    if (TCustomForm* form = GetForm()) FillRect(canvas, GetClientRect(), form->Color());
}

void TTeDefaultForm::WMNCPaint(TMessage& m) {
    UpdateNonClientArea();
    m.Result = 0;
    MessageHandled();
}

void TTeDefaultForm::WMNCActivate(TMessage& m) {
    HookApplication();
    frameActive_ = m.WParam != 0;
    UpdateNonClientArea();
    m.Result = 1;
    MessageHandled();
}

void TTeDefaultForm::WMActivate(TMessage& m) {
    // Minimized from outside: take the state on, unless it is ours already.
    if (LOWORD(m.WParam) == WA_INACTIVE && HIWORD(m.WParam) && !frameActive_ &&
        windowState_ != kwsMinimized && windowState_ != kwsTray)
        Minimize();
    UpdateNonClientArea();
}

namespace {
// The erase request the frame is answering: only a record the frame itself
// handed out counts, as lParam of WM_ERASEBKGND may carry a DC elsewhere.
const TEraseBackgroundInfo* gEraseRequest = nullptr;
}  // namespace

void TTeDefaultForm::InvalidateRect(const TRect& rect) {
    HWND h = GetHandle();
    if (!h) return;
    const TRect window = WindowRect(h);
    TEraseBackgroundInfo info;
    info.Action = keaInvalidateRect;
    info.Rect = Intersect(rect, TRect{0, 0, window.Width(), window.Height()});
    info.Trailing = true;
    if (info.Rect.IsEmpty()) return;
    const TEraseBackgroundInfo* outer = gEraseRequest;
    gEraseRequest = &info;
    TMessage m{WM_ERASEBKGND, 0, reinterpret_cast<LPARAM>(&info), 0};
    WMEraseBkgnd(m);
    gEraseRequest = outer;
}

void TTeDefaultForm::WMEraseBkgnd(TMessage& m) {
    HDC given = DcFromWParam(m.WParam);
    // The form's own painter takes a transparent child's background; the
    // message goes on to the form.
    if (backgroundRequest_ && DisabledNCArea && OnPaintBackground) {
        OnPaintBackground(this, given, backgroundRect_);
        return;
    }
    MessageHandled();
    m.Result = 1;
    UpdateAlphaMask();  // children may have moved, come or gone
    const TEraseBackgroundInfo* info = nullptr;
    if (gEraseRequest && m.LParam == reinterpret_cast<LPARAM>(gEraseRequest)) info = gEraseRequest;
    PaintBackground(given, info);
}

void TTeDefaultForm::PaintBackground(HDC given, const TEraseBackgroundInfo* info) {
    HWND h = GetHandle();
    if (!drawingEnabled_ || !h) return;
    const TRect cb = GetClientBounds();
    // Without a non-client area the frame lies in the client area.
    auto paint = [&](TCanvas& canvas) {
        if (DisabledNCArea)
            PaintNonClientArea(canvas);
        else if (paintEvent_ && OnPaint && !Loading())
            OnPaint(this);
        else
            PaintClientArea(canvas);
    };
    if (paintToBitmap_ && paintTarget_ && !given && !info) {
        HDC dc = paintTarget_->DC();
        SaveDC(dc);
        IntersectClipRect(dc, 0, 0, cb.right, cb.bottom);
        MoveWindowOrg(dc, cb.left, cb.top);
        {
            CanvasOnDc on(dc);
            paint(on.canvas);
        }
        RestoreDC(dc, -1);
        if (blending_.Enabled()) BlendOverSnapshot(*paintTarget_, cb, TPoint{0, 0});
        return;
    }
    HDC dc = given;
    const bool own = !dc;
    if (own) dc = GetDC(h);
    const int saved = SaveDC(dc);
    if (backgroundRequest_)
        IntersectClipRect(dc, backgroundRect_.left, backgroundRect_.top, backgroundRect_.right,
                          backgroundRect_.bottom);
    // A request for part of the background: only its rectangle (in the
    // client's coordinates) is drawn and blended.
    const TRect client = GetClientRect();
    TRect part = client;
    if (info && info->Action == keaInvalidateRect && RepaintsPartOfTheBackground()) {
        const TPoint origin = DisabledNCArea ? TPoint{0, 0} : TPoint{cb.left, cb.top};
        part = info->Rect;
        part.Offset(-origin.x, -origin.y);
        part = Intersect(part, client);
        IntersectClipRect(dc, part.left, part.top, part.right, part.bottom);
    }
    if (!part.IsEmpty()) {
        if (blending_.Enabled() && !(paintEvent_ && OnPaint && !Loading())) {
            // The background is mixed with the screen behind it; the children
            // paint over it opaque.
            TteBitmap buffer;
            buffer.SetSize(client.Width(), client.Height());
            {
                CanvasOnDc on(buffer.DC());
                paint(on.canvas);
            }
            BlendOverSnapshot(buffer, part, TPoint{cb.left, cb.top});
            buffer.Draw(dc, part.left, part.top, part);
        } else {
            CanvasOnDc on(dc);
            paint(on.canvas);
        }
    }
    RestoreDC(dc, saved);
    if (own) ReleaseDC(h, dc);
}

void TTeDefaultForm::WMPaint(TMessage&) {
    if (shown_) return;
    shown_ = true;
    if (OnFormShown) OnFormShown(this);
}

void TTeDefaultForm::CMPaintToBitmap(TMessage& m) {
    MessageHandled();
    HDC dc = HDC(static_cast<uint64_t>(m.LParam));
    if (!dc) {
        m.Result = 0;
        return;
    }
    const int x = static_cast<int16_t>(LOWORD(m.WParam)), y = static_cast<int16_t>(HIWORD(m.WParam));
    const bool wasActive = frameActive_;
    frameActive_ = true;
    struct Back {
        bool& flag;
        bool value;
        ~Back() { flag = value; }
    } back{frameActive_, wasActive};
    const TRect cb = GetClientBounds();
    CanvasOnDc on(dc);
    TPoint old;
    GetWindowOrgEx(dc, &old);
    MoveWindowOrg(dc, x, y);
    PaintNonClientArea(on.canvas);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
    MoveWindowOrg(dc, x + cb.left, y + cb.top);
    if (paintEvent_ && OnPaint && !Loading())
        OnPaint(this);
    else
        PaintClientArea(on.canvas);
    SetWindowOrgEx(dc, old.x, old.y, nullptr);
    m.Result = 1;
}

// ---- TTeForm ----

void TTeForm::PaintNonClientArea(TCanvas& canvas) {
    if (!Themed()) return inherited::PaintNonClientArea(canvas);
    TteTheme* theme = Theme();
    const TteWindowSubclass s = WindowSubclass(this);
    TteWindowInfo info = MakeWindowInfo();
    theme->WindowDraw(s, canvas, info, themeObject_);
    if (DisabledNCArea) theme->WindowDrawClient(s, canvas, GetClientBounds(), themeObject_);
    DrawThemedWindowTitle(theme, s, canvas, info, themeObject_);
    const struct {
        TTeBorderIcon icon;
        TteWindowHitTest part;
    } buttons[] = {{kbiClose, kwhtCloseButton},  {kbiSystemMenu, kwhtSysMenu}, {kbiMinimize, kwhtMinButton},
                   {kbiMaximize, kwhtMaxButton}, {kbiHelp, kwhtHelpButton},    {kbiRollup, kwhtRollButton},
                   {kbiTray, kwhtTrayButton}};
    for (const auto& b : buttons) {
        if (!BorderIcons().Contains(b.icon)) continue;
        const TRect r = GetCaptionButtonRect(b.icon);
        if (b.icon == kbiSystemMenu) {
            DrawFrameIcon(canvas.Handle(), GetHandle(), r);
            continue;
        }
        const TteWindowButtonClass button = WindowButtonOf(b.icon, WindowState());
        theme->WindowDrawButton(s, canvas, WindowButtonInfo(r, button, ButtonDrawState(b.part), nullptr),
                                themeObject_);
    }
}

void TTeForm::PaintClientArea(TCanvas& canvas) {
    if (!Themed()) return inherited::PaintClientArea(canvas);
    Theme()->WindowDrawClient(WindowSubclass(this), canvas, GetClientRect(), themeObject_);
}

void TTeForm::PaintGripper(TCanvas& canvas, const TRect& rect) {
    if (!Themed()) return inherited::PaintGripper(canvas, rect);
    Theme()->WindowDrawGripper(WindowSubclass(this), canvas, WindowGripperInfo(rect, Dragging()->Sizeable),
                               themeObject_);
}

}  // namespace tarvel
