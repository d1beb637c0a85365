#include "skin/extctrls/te_extctrls_listbox.h"

#include "skin/core/te_utils_draw.h"
#include "skin/extctrls/te_extctrls_edits.h"

namespace tarvel {

void TTeSListBox::DeclareMessages(TMessageTable& t) {
    DeclareWrappedMessages(t);
    t.Add<&TTeSListBox::WMNCPaint>(WM_NCPAINT);
    t.Add<&TTeSListBox::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeSListBox::TTeSListBox(TComponent* owner) : TTeWrapped<TListBox>(owner) {
    MakeSubScrollBar([this](TTeScrollBar*& bar, TComponent* o) { CreateScrollBar(bar, o); });
}

void TTeSListBox::CreateScrollBar(TTeScrollBar*& scrollBar, TComponent* owner) {
    scrollBar = new TTeScrollBar(owner);
    scrollBar->SetThemeLink(themeLink_);
}

void TTeSListBox::PaintBorder(TCanvas& canvas, const TRect& rect) {
    // A list has no hot frame: only disabled, focused or normal.
    TteEditDrawState state = kedsNormal;
    if (!Enabled())
        state = kedsDisabled;
    else if (Focused())
        state = kedsFocused;
    if (IsObjectDefined(klscListBox, themeObject_, themeLink_)) {
        GetThemeLink(themeLink_)->EditDraw(kescEdit, canvas, EditInfo(rect, state), "default");
        return;
    }
    PaintClassicEditFrame(canvas, rect);
}

void TTeSListBox::PaintBuffer(TCanvas& canvas, const TRect& rect) { FillRect(canvas, rect, Color()); }

void TTeSListBox::WndProc(TMessage& m) {
    TTeWrapped<TListBox>::WndProc(m);
    if (ComponentState().Contains(csDesigning)) return;
    switch (m.Msg) {
        case WM_KEYDOWN:
        case WM_MOUSEWHEEL: UpdateBars(); break;
        case WM_LBUTTONDOWN: leftDown_ = true; break;
        case WM_LBUTTONUP: leftDown_ = false; break;
        // A drag past the edge scrolls the list.
        case WM_MOUSEMOVE:
            if (leftDown_) UpdateBars();
            break;
        default: break;
    }
}

void TTeSListBox::Resize() {
    TListBox::Resize();
    if (!ComponentState().Contains(csDesigning)) UpdateBars();
}

void TTeSListBox::ItemsUpdated() {
    TListBox::ItemsUpdated();
    UpdateBars();
}

void TTeSListBox::ThemeLinkChanged() {
    for (TTeInplaceScrollBar* bar : {SubScrollBar()->VertBar(), SubScrollBar()->HorzBar()})
        if (bar) bar->ScrollBar()->SetThemeLink(themeLink_);
}

void TTeSListBox::UpdateBars() {
    if (HandleAllocated() && SubScrollBar()) SubScrollBar()->UpdateBars();
}

void TTeSListBox::WMNCPaint(TMessage& m) {
    DispatchFrom(TListBox::StaticClass(), m);
    PaintFrame();
    m.Result = 0;
}

void TTeSListBox::SNMThemeMessage(TMessage& m) {
    if (HandleAllocated() && RepaintsOnThemeMessage(m)) RepaintWrapped(this);
}

}  // namespace tarvel
