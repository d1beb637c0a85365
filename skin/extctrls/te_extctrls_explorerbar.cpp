#include "skin/extctrls/te_extctrls_explorerbar.h"

#include <algorithm>
#include <string>
#include <vector>

#include "skin/core/te_theme_api.h"

namespace tarvel {

TTeExplorerBar::TTeExplorerBar(TComponent* owner) : TTeControl(owner) {
    auto* bar = new TTeScrollBar(this);
    bar->SetParent(this);
    bar->SetOrientation(ksoVertical);
    bar->SetBorderWidth(0);
    bar->SetWidth(kScrollBarWidth);
    bar->SetVisible(false);
    bar->OnChange = [this](TObject*) { Realign(); };
    scrollBar_ = bar;
}

void TTeExplorerBar::SetBorderWidth(int value) {
    if (value == border_) return;
    border_ = value;
    Realign();
}

TRect TTeExplorerBar::GetClientRect() {
    const TRect r = TTeControl::GetClientRect();
    return TRect{r.left + border_, r.top + border_, r.right - border_, r.bottom - border_};
}

void TTeExplorerBar::PaintBuffer() { DrawControlBackground(this, *Canvas()); }

void TTeExplorerBar::Hook(TTeHeaderPanel* panel) {
    panel->OnPanelChange = [this](TObject*) { Realign(); };
}

TTeHeaderPanel* TTeExplorerBar::AddPanel() {
    // Names from a counter: an address may come back after a free.
    static int counter = 0;
    auto* panel = new TTeHeaderPanel(Owner() ? Owner() : this);
    panel->SetParent(this);
    panel->SetTop(Height());
    panel->SetName(String("ep") + std::to_string(++counter));
    panel->SetCaption(u"");
    Hook(panel);
    panel->SetVisible(true);
    Realign();
    return panel;
}

void TTeExplorerBar::Loaded() {
    TTeControl::Loaded();
    for (int i = 0; i < ControlCount(); ++i)
        if (auto* panel = dynamic_cast<TTeHeaderPanel*>(Controls(i))) Hook(panel);
}

void TTeExplorerBar::AlignControls(TControl*, TRect&) {
    if (!scrollBar_) return;  // still being built
    TRect r = GetClientRect();
    std::vector<TControl*> list;
    int total = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (!c->Visible() || c->Is<TTeScrollBar>()) continue;
        total += c->Height() + border_;
        list.push_back(c);
    }
    std::stable_sort(list.begin(), list.end(),
                     [](const TControl* a, const TControl* b) { return a->Top() < b->Top(); });
    if (Height() < total) {
        scrollBar_->SetBounds(Width() - kScrollBarWidth, 0, kScrollBarWidth, Height());
        scrollBar_->SetMax(total + border_ - Height());  // may pull the position down
        scrollBar_->SetVisible(true);
        r.right -= kScrollBarWidth;
    } else {
        // Once all fits nothing stays scrolled away out of reach.
        scrollBar_->SetVisible(false);
        scrollBar_->SetPosition(0);
    }
    r.Offset(0, -scrollBar_->Position());
    for (TControl* c : list) {
        const int height = c->Height();
        c->SetBounds(r.left, r.top, r.Width(), height);
        r.top += height + border_;
    }
}

}  // namespace tarvel
