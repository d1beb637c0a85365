// The full frame on an MDI main form: it takes over the MDI client's look
// (no edge, the frame's own client background, no background under a
// maximized child, skinned scroll bars and a size grip) and keeps a window
// menu of the MDI children.

#include "platform/classlib/WindowScrollBars.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils_draw.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {

namespace {

// The frame's own entries of the window menu carry this in their names.
constexpr char kWindowItemMark[] = "qvmdiwi_rty";

String WindowItemName(bool separator) {
    static unsigned serial = 0;
    ++serial;
    return String(kWindowItemMark) + "_" + IntToStr(static_cast<int>(serial)) + (separator ? "_sep" : "");
}

bool IsWindowItem(const TTeItem* item) { return item->Name().find(kWindowItemMark) != String::npos; }

}  // namespace

void TTeDefaultForm::HookMDIClient() {
    TCustomForm* form = GetForm();
    if (Designing() || mdiClient_ || !form || form->FormStyle() != fsMDIForm) return;
    // The client window comes with the form's own: make it now, so the
    // frame paints around the children from the first show on.
    form->HandleNeeded();
    HWND client = form->ClientHandle();
    if (!client) return;
    mdiClient_ = client;
    mdiClientProc_ =
        MakeWindowProc([this](HWND h, UINT msg, WPARAM w, LPARAM l) { return ClientWndProc(h, msg, w, l); });
    mdiClientOldProc_ = SetWindowProc(client, mdiClientProc_);
    // The frame draws what lies around the children: no sunken edge.
    SetWindowLong(client, GWL_EXSTYLE, GetWindowLong(client, GWL_EXSTYLE) & ~LONG_PTR(WS_EX_CLIENTEDGE));
    SetWindowPos(client, nullptr, 0, 0, 0, 0,
                 SWP_NOSIZE | SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE | SWP_FRAMECHANGED);
    if (windowMenu_) SetWindowMenu(windowMenu_);
}

void TTeDefaultForm::UnhookMDIClient() {
    if (!mdiClient_) return;
    if (IsWindow(mdiClient_) && GetWindowProc(mdiClient_) == mdiClientProc_)
        SetWindowProc(mdiClient_, mdiClientOldProc_);
    FreeWindowProc(mdiClientProc_);
    mdiClient_ = nullptr;
    mdiClientProc_ = mdiClientOldProc_ = nullptr;
}

LRESULT TTeDefaultForm::ClientWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    auto previous = [&] { return CallWindowProc(mdiClientOldProc_, hwnd, msg, wParam, lParam); };
    auto onGrip = [&] {
        return dragging_.Sizeable && !gripperRect_.IsEmpty() &&
               gripperRect_.Contains(PointFromLParam(lParam));
    };
    switch (msg) {
        case WM_WINDOWPOSCHANGED: {
            const LRESULT r = previous();
            ScrollBarUpdate();
            // The bars stay above the client they lie over.
            auto* wp = reinterpret_cast<const WINDOWPOS*>(lParam);
            if (wp && !(wp->flags & SWP_NOZORDER))
                for (TWinControl* host : {vertHost_, horzHost_})
                    if (host && host->HandleAllocated()) host->BringToFront();
            return r;
        }
        case WM_NCPAINT:
            // The bars are the skinned ones: only the grip is painted here.
            PaintMDIGripper();
            ScrollBarUpdate();
            return 0;
        case WM_HSCROLL:
        case WM_VSCROLL: {
            const LRESULT r = previous();
            ScrollBarUpdate();
            return r;
        }
        case WM_SETCURSOR: {
            TPoint p;
            GetCursorPos(p);
            ::tarvel::ScreenToClient(hwnd, p);
            if (dragging_.Sizeable && gripperRect_.Contains(p)) {
                SetCursor(LoadCursor(IDC_SIZENWSE));
                return 1;
            }
            return previous();
        }
        case WM_ERASEBKGND: {
            bool maximized = false;
            SendMessage(hwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
            if (!maximized && GetHandle()) SendMessage(GetHandle(), WM_ERASEBKGND, wParam, 0);
            return 1;
        }
        case WM_NCHITTEST: {
            TPoint p = PointFromLParam(lParam);
            ::tarvel::ScreenToClient(hwnd, p);
            if (!gripperRect_.IsEmpty() && gripperRect_.Contains(p)) return HTCLIENT;
            const LRESULT hit = previous();
            return hit == HTCLIENT ? HTTRANSPARENT : hit == HTSYSMENU ? HTCLIENT : hit;
        }
        case WM_LBUTTONDOWN:
            // A press on the grip sizes the form; the client takes no other clicks.
            if (onGrip() && GetHandle()) {
                TPoint p = PointFromLParam(lParam);
                ::tarvel::ClientToScreen(hwnd, p);
                SendMessage(GetHandle(), WM_NCLBUTTONDOWN, HTBOTTOMRIGHT, PointToLParam(p));
            }
            return 0;
        default: return previous();
    }
}

// ---- the skinned scroll bars and the grip ----

void TTeDefaultForm::ScrollBarUpdate() {
    TCustomForm* form = GetForm();
    if (!mdiClient_ || !form || !form->HandleAllocated()) return;
    const TRect formClient = form->ClientRect();
    for (int bar : {SB_VERT, SB_HORZ}) {
        TWinControl*& host = bar == SB_VERT ? vertHost_ : horzHost_;
        TTeScrollBar*& skinned = bar == SB_VERT ? vertBar_ : horzBar_;
        SCROLLBARINFO info;
        if (!GetScrollBarInfo(mdiClient_, bar == SB_VERT ? OBJID_VSCROLL : OBJID_HSCROLL, info) ||
            (info.rgstate[0] & STATE_SYSTEM_INVISIBLE)) {
            if (host) host->SetVisible(false);
            continue;
        }
        if (!host) {
            host = new TWinControl(this);
            skinned = new TTeScrollBar(this);
            skinned->SetParent(host);
            skinned->SetAlign(alClient);
            skinned->SetBorderWidth(0);
            skinned->SetOrientation(bar == SB_VERT ? ksoVertical : ksoHorizontal);
            skinned->SetThemeLink(BarsThemeLink());
            skinned->OnScroll = [this, bar](TObject*, TTeScrollCode code, int& pos) {
                if (bar == SB_VERT)
                    DoVScroll(code, pos);
                else
                    DoHScroll(code, pos);
            };
            host->SetParent(form);
            host->BringToFront();
        }
        TRect r = info.rcScrollBar;
        const TPoint at = form->ScreenToClient(TPoint{r.left, r.top});
        r.Offset(at.x - r.left, at.y - r.top);
        r = TRect{std::max(r.left, formClient.left), std::max(r.top, formClient.top),
                  std::min(r.right, formClient.right), std::min(r.bottom, formClient.bottom)};
        host->SetBounds(r.left, r.top, std::max(0, r.Width()), std::max(0, r.Height()));
        host->SetVisible(true);
        SCROLLINFO si;
        GetScrollInfo(mdiClient_, bar, si);
        // Each setter repaints the bar: only what changed, the range so that
        // it never passes through an empty one.
        if (si.nMin > skinned->Max()) skinned->SetMax(si.nMax);
        if (si.nMin != skinned->Min()) skinned->SetMin(si.nMin);
        if (si.nMax != skinned->Max()) skinned->SetMax(si.nMax);
        skinned->SetPageSize(static_cast<int>(si.nPage));
        skinned->SetPosition(si.nPos);
        skinned->SetEnabled(form->Enabled());
    }
    const bool both = vertHost_ && horzHost_ && vertHost_->Visible() && horzHost_->Visible();
    if (!both) {
        gripperRect_ = NullRect;
        return;
    }
    // Right of the horizontal bar, below the vertical one.
    TRect grip{vertHost_->Left(), horzHost_->Top(), vertHost_->Left() + vertHost_->Width(),
               horzHost_->Top() + horzHost_->Height()};
    TRect client = WindowRect(mdiClient_);
    const TPoint origin = form->ScreenToClient(TPoint{client.left, client.top});
    grip.Offset(-origin.x, -origin.y);
    gripperRect_ = grip;
}

void TTeDefaultForm::ScrollMDIClient(int bar, TTeScrollCode code, int& scrollPos) {
    TTeScrollBar* skinned = bar == SB_VERT ? vertBar_ : horzBar_;
    if (!mdiClient_ || !skinned) return;
    // The request codes run in the same order as the window system's.
    const WORD sb = static_cast<WORD>(code);
    const UINT msg = bar == SB_VERT ? WM_VSCROLL : WM_HSCROLL;
    if (code == kscLineUp || code == kscLineDown) {
        SendMessage(mdiClient_, msg, sb, 0);
    } else {
        SendMessage(mdiClient_, msg, MAKEWPARAM(sb, static_cast<WORD>(scrollPos & 0xFFFF)), 0);
        const TRect r = ClientRect(mdiClient_);
        ::tarvel::InvalidateRect(mdiClient_, &r, false);
    }
    // The client scrolls by moving its children: its position is what counts.
    if (TTeScrollBar* now = MDIScrollBar(bar)) scrollPos = now->Position();
}

void TTeDefaultForm::DoVScroll(TTeScrollCode code, int& scrollPos) {
    ScrollMDIClient(SB_VERT, code, scrollPos);
}

void TTeDefaultForm::DoHScroll(TTeScrollCode code, int& scrollPos) {
    ScrollMDIClient(SB_HORZ, code, scrollPos);
}

TRect TTeDefaultForm::GetGripperRect() {
    TCustomForm* form = GetForm();
    if (!mdiClient_ || gripperRect_.IsEmpty() || !form || !form->HandleAllocated()) return NullRect;
    // In the form's window coordinates, as the frame's hit test reads it.
    const TRect client = WindowRect(mdiClient_), window = WindowRect(form->Handle());
    TRect r = gripperRect_;
    r.Offset(client.left - window.left, client.top - window.top);
    return r;
}

void TTeDefaultForm::PaintGripper(TCanvas& canvas, const TRect& rect) { FillRect(canvas, rect, clBtnFace); }

void TTeDefaultForm::PaintMDIGripper() {
    if (!mdiClient_ || gripperRect_.IsEmpty()) return;
    HDC dc = GetWindowDC(mdiClient_);
    if (!dc) return;
    const TRect client = ClientRect(mdiClient_);
    ExcludeClipRect(dc, client.left, client.top, client.right, client.bottom);
    TCanvas canvas;
    canvas.SetHandle(dc);
    PaintGripper(canvas, gripperRect_);
    canvas.SetHandle(HDC{});
    ReleaseDC(mdiClient_, dc);
}

void TTeDefaultForm::Cascade() {
    if (TCustomForm* form = GetForm()) form->Cascade();
}

void TTeDefaultForm::Tile() {
    if (TCustomForm* form = GetForm()) form->Tile();
}

// ---- the window menu ----

void TTeDefaultForm::SetWindowMenu(TTeItem* item) {
    windowMenu_ = item;
    if (!item || Designing()) return;
    item->OnBeforeDropDown = [this](TObject*) { UpdateWindowMenu(); };
    if (TTeItem* parent = item->Parent())
        parent->OnBeforeDropDown = [this](TObject*) { DoWindowMenuParentBeforePopup(); };
}

void TTeDefaultForm::DoWindowMenuParentBeforePopup() {
    TCustomForm* form = GetForm();
    if (!windowMenu_ || !form || form->MDIChildCount() == 0) return;
    // Something to drop down; UpdateWindowMenu puts the real entries in.
    auto* item = new TTeItem(windowMenu_->Owner());
    item->SetName(WindowItemName(true));
    windowMenu_->Add(item);
}

void TTeDefaultForm::UpdateWindowMenu() {
    TCustomForm* form = GetForm();
    if (inWindowItemClick_ || !windowMenu_ || !form || form->FormStyle() != fsMDIForm) return;
    int first = 0;
    while (first < windowMenu_->Count() && !IsWindowItem(windowMenu_->GetItem(first))) ++first;
    while (windowMenu_->Count() > first) {
        TTeItem* old = windowMenu_->GetItem(first);
        windowMenu_->Delete(first);
        delete old;
    }
    windowItems_.clear();
    TCustomForm* active = form->ActiveMDIChild();
    for (int i = form->MDIChildCount() - 1; i >= 0; --i) {
        TCustomForm* child = form->MDIChildren(i);
        if (!child) continue;
        if (windowItems_.empty() && windowMenu_->Count() > 0) {
            auto* sep = new TTeItem(windowMenu_->Owner());
            sep->SetName(WindowItemName(true));
            sep->SetCaption(u"-");
            windowMenu_->Add(sep);
        }
        auto* item = new TTeItem(windowMenu_->Owner());
        item->SetName(WindowItemName(false));
        item->SetCaption(Utf8ToWide(child->Caption()));
        item->SetChecked(child == active && GetParentQvMDIChild(child));
        item->OnClick = [this](TObject* sender) { DoWindowItemClick(sender); };
        windowMenu_->Add(item);
        windowItems_.emplace_back(item, child);
    }
}

void TTeDefaultForm::DoWindowItemClick(TObject* sender) {
    TCustomForm* form = GetForm();
    if (!windowMenu_ || !form) return;
    for (const auto& [item, child] : windowItems_) item->SetChecked(false);
    for (const auto& [item, child] : windowItems_) {
        if (item != sender) continue;
        // The child may have gone since the menu was filled.
        for (int i = 0; i < form->MDIChildCount(); ++i) {
            if (form->MDIChildren(i) != child) continue;
            inWindowItemClick_ = true;
            struct Clear {
                bool& flag;
                ~Clear() { flag = false; }
            } clear{inWindowItemClick_};
            child->Show();
            SendMessage(form->ClientHandle(), WM_MDIACTIVATE, reinterpret_cast<WPARAM>(child->Handle()), 0);
        }
        item->SetChecked(true);
    }
}

}  // namespace tarvel
