#include "skin/extctrls/te_extctrls_edits.h"

#include "platform/classlib/ControlPaint.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_popupmenu.h"

namespace tarvel {

TteEditDrawState SkinnedEditState(TWinControl* control, bool mouseInside) {
    if (!control->Enabled()) return kedsDisabled;
    if (mouseInside) return kedsHot;
    return control->Focused() ? kedsFocused : kedsNormal;
}

void PaintSkinnedEditFrame(TCanvas& canvas, const TRect& rect, TteCustomThemeLink* link, const String& object,
                           TteEditDrawState state) {
    if (IsObjectDefined(kescEdit, object, link)) {
        // The object only decides whether the theme draws; the frame is its default edit.
        GetThemeLink(link)->EditDraw(kescEdit, canvas, EditInfo(rect, state), "default");
        return;
    }
    PaintClassicEditFrame(canvas, rect);
}

void PaintClassicEditFrame(TCanvas& canvas, const TRect& rect) {
    DrawEdge(canvas, rect, clBtnShadow, clBtnHighlight);
    DrawEdge(canvas, InflatedRect(rect, -1, -1), cl3DDkShadow, clBtnFace);
}

void PaintNonClientFrame(TWinControl* control, bool outside,
                         const std::function<void(TCanvas&, const TRect&)>& paintBorder) {
    if (!control->HandleAllocated()) return;
    HWND wnd = control->Handle();
    const TRect window = WindowRect(wnd);
    TRect rect{0, 0, window.Width(), window.Height()};
    if (outside) rect = InflatedRect(rect, 2, 2);
    TPoint client{0, 0};
    ClientToScreen(wnd, client);
    const int x = client.x - window.left, y = client.y - window.top;
    HDC dc = GetWindowDC(wnd);
    if (!dc) return;
    ExcludeClipRect(dc, x, y, x + control->ClientWidth(), y + control->ClientHeight());
    {
        TDcCanvas canvas(dc);
        paintBorder(*canvas, rect);
    }
    ReleaseDC(wnd, dc);
}

bool RepaintsOnThemeMessage(const TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
        case tmReleased:
        case tmSystemChanged: return true;
        default: return false;
    }
}

// ---- TTeSkinnedEdit ------------------------------------------------------------------------

template <class Base>
TTeSkinnedEdit<Base>::TTeSkinnedEdit(TComponent* owner)
    : Base(owner), TTeThemeLinked(this, {ktlrSkipSame, ktlrRepaintOnly}) {
    AddThemeNotification(this);
}

template <class Base>
TTeSkinnedEdit<Base>::~TTeSkinnedEdit() {
    RemoveThemeNotification(this);
}

template <class Base>
void TTeSkinnedEdit<Base>::Notification(TComponent* component, TOperation operation) {
    Base::Notification(component, operation);
    ForgetThemeLink(component, operation);
    if (operation == TOperation::opRemove && component == contextMenu_) contextMenu_ = nullptr;
}

template <class Base>
void TTeSkinnedEdit<Base>::ShowContextMenu(TPoint screen) {
    // Entries act on the edit alone, so they are set once; a choice runs
    // after the menu has closed.
    const auto entries = this->ContextMenuEntries();
    if (!contextMenu_) {
        contextMenu_ = new TTePopupMenu(this);
        for (const auto& e : entries) {
            auto* item = new TTeItem(contextMenu_);
            item->SetCaption(Utf8ToWide(e.caption));
            item->OnClick = [action = e.action](TObject*) {
                if (action) action();
            };
            contextMenu_->Items()->Add(item);
        }
    }
    for (size_t i = 0; i < entries.size(); ++i)
        contextMenu_->Items()->GetItem(static_cast<int>(i))->SetEnabled(entries[i].enabled);
    contextMenu_->SetPopupComponent(this);
    contextMenu_->Popup(screen.x, screen.y);
}

template <class Base>
void TTeSkinnedEdit<Base>::PaintBorder(TCanvas& canvas, const TRect& rect) {
    PaintSkinnedEditFrame(canvas, rect, ThemeLink(), ThemeObject(), SkinnedEditState(this, MouseInside()));
}

template <class Base>
void TTeSkinnedEdit<Base>::PaintBuffer(TCanvas& canvas, const TRect& rect) {
    if (IsObjectDefined(kescEdit, ThemeObject(), ThemeLink()))
        GetThemeLink(ThemeLink())
            ->EditDraw(kescEdit, canvas, EditInfo(rect, SkinnedEditState(this, MouseInside())), "default");
    else
        FillRect(canvas, rect, this->Color());
}

template <class Base>
void TTeSkinnedEdit<Base>::WndProc(TMessage& m) {
    switch (m.Msg) {
        case WM_NCPAINT:
            PaintNonClientFrame(this, this->BorderStyle() == bsNone,
                                [this](TCanvas& c, const TRect& r) { PaintBorder(c, r); });
            m.Result = 0;
            return;
        case WM_ERASEBKGND:
            if (HDC dc = DcFromWParam(m.WParam)) {
                TDcCanvas canvas(dc);
                PaintBuffer(*canvas, InflatedRect(this->ClientRect(), 2, 2));
            }
            m.Result = 1;
            return;
        case WM_KEYDOWN:
            // One line: the vertical arrows walk it as the horizontal ones.
            if (m.WParam == VK_UP) m.WParam = VK_LEFT;
            if (m.WParam == VK_DOWN) m.WParam = VK_RIGHT;
            break;
        case WM_CHAR:
            // Enter and Ctrl+Enter would break the line; OnKeyPress never sees them.
            if (m.WParam == '\r' || m.WParam == '\n') return;
            break;
        case CM_MOUSEENTER:
        case CM_MOUSELEAVE:
            Base::WndProc(m);
            FollowMouse(m, this->IsOwnMouseMessage(m));
            return;
        case SNM_THEMEMESSAGE:
            if (this->HandleAllocated() && RepaintsOnThemeMessage(m)) {
                SendMessage(this->Handle(), WM_NCPAINT, 1, 0);
                InvalidateRect(this->Handle(), nullptr, true);
            }
            return;
        case SNM_LINKCHANGED:
            if (IsOwnLinkMessage(m)) FollowThemeLink(true);
            return;
    }
    Base::WndProc(m);
}

template class TTeSkinnedEdit<TEdit>;
template class TTeSkinnedEdit<TMaskEdit>;

// ---- TTeMonthCalendar ----------------------------------------------------------------------

void ApplyThemeCalColors(TMonthCalColors& colors, TteTheme* theme) {
    colors.BackColor = clNone;
    colors.TitleBackColor = theme->Colors()->GetColor(ktcCaptionNormal);
    colors.TitleTextColor = theme->Fonts()->GetFont(ktfCaptionTextNormal)->Color();
}

void TTeMonthCalendar::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeMonthCalendar::WMEraseBkgnd>(WM_ERASEBKGND);
    t.Add<&TTeMonthCalendar::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeMonthCalendar::TTeMonthCalendar(TComponent* owner)
    : TMonthCalendar(owner), TTeThemeLinked(this, {ktlrRepaintOnly, ktlrDefaultKeepsPlace}) {
    themeObject_.clear();
    saved_.Assign(CalColors());
    AddThemeNotification(this);
}

TTeMonthCalendar::~TTeMonthCalendar() { RemoveThemeNotification(this); }

// A calendar made after the theme came missed its message.
void TTeMonthCalendar::CreateHandleDone() {
    TMonthCalendar::CreateHandleDone();
    if (TteTheme* theme = GetThemeLink(ThemeLink())) {
        TMonthCalColors colors;
        colors.Assign(CalColors());
        ApplyThemeCalColors(colors, theme);
        SetCalColors(&colors);
    }
}

void TTeMonthCalendar::Loaded() {
    TMonthCalendar::Loaded();
    saved_.Assign(CalColors());
}

void TTeMonthCalendar::Notification(TComponent* component, TOperation operation) {
    TMonthCalendar::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTeMonthCalendar::WMEraseBkgnd(TMessage& m) {
    HDC dc = DcFromWParam(m.WParam);
    const bool own = !dc;
    if (own) dc = GetDC(Handle());
    DrawControlBackground(this, dc);
    if (own) ReleaseDC(Handle(), dc);
    m.Result = 1;
}

void TTeMonthCalendar::SNMThemeMessage(TMessage& m) {
    if (!HandleAllocated()) return;
    switch (m.WParam) {
        case tmChanged:
        case tmApply: {
            TMonthCalColors colors;
            colors.Assign(CalColors());
            if (TteTheme* theme = GetThemeLink(ThemeLink())) ApplyThemeCalColors(colors, theme);
            SetCalColors(&colors);
            Invalidate();
            break;
        }
        case tmReleased:
            SetCalColors(&saved_);
            Invalidate();
            break;
        case tmSystemChanged: Invalidate(); break;
        default: break;
    }
}

}  // namespace tarvel
