// The full frame on an MDI main form: it takes over the MDI client's look
// (no edge, the frame's own client background, no background under a
// maximized child) and keeps a window menu of the MDI children.

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
    switch (msg) {
        case WM_ERASEBKGND: {
            bool maximized = false;
            SendMessage(hwnd, WM_MDIGETACTIVE, 0, reinterpret_cast<LPARAM>(&maximized));
            if (!maximized && GetHandle()) SendMessage(GetHandle(), WM_ERASEBKGND, wParam, 0);
            return 1;
        }
        case WM_NCHITTEST: {
            const LRESULT hit = previous();
            return hit == HTCLIENT ? HTTRANSPARENT : hit == HTSYSMENU ? HTCLIENT : hit;
        }
        case WM_LBUTTONDOWN: return 0;  // the client takes no clicks of its own
        default: return previous();
    }
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
