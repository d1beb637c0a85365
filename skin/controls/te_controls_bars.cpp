#include "skin/controls/te_controls_bars.h"

#include <algorithm>
#include <vector>

#include "skin/core/te_theme_api.h"

namespace tarvel {

namespace {

// Names from a counter: an address may come back after a free.
String UniqueName(const char* prefix) {
    static int counter = 0;
    return String(prefix) + std::to_string(++counter);
}

void SortByTop(std::vector<TControl*>& list) {
    std::stable_sort(list.begin(), list.end(),
                     [](const TControl* a, const TControl* b) { return a->Top() < b->Top(); });
}

TRect Shrunk(const TRect& r, int by) { return TRect{r.left + by, r.top + by, r.right - by, r.bottom - by}; }

}  // namespace

// ---- outlook bar pages and buttons ----------------------------------------------------------

TTeOutlookBarButton::TTeOutlookBarButton(TComponent* owner) : TTeSpeedButton(owner) { alwaysHot_ = true; }

TTeOutlookBarButton::~TTeOutlookBarButton() {
    if (page_) page_->SetButton(nullptr);
}

void TTeOutlookBarButton::SetPage(TTeOutlookBarPanel* page) {
    if (page_) page_->RemoveFreeNotification(this);
    page_ = page;
    if (page_) page_->FreeNotification(this);
}

void TTeOutlookBarButton::Notification(TComponent* component, TOperation operation) {
    TTeSpeedButton::Notification(component, operation);
    if (operation == TOperation::opRemove && component == page_) page_ = nullptr;
}

TTeOutlookBarPanel::~TTeOutlookBarPanel() {
    if (button_) button_->SetPage(nullptr);
}

void TTeOutlookBarPanel::SetButton(TTeOutlookBarButton* button) {
    if (button_) button_->RemoveFreeNotification(this);
    button_ = button;
    if (button_) button_->FreeNotification(this);
}

void TTeOutlookBarPanel::Notification(TComponent* component, TOperation operation) {
    TTeTransPanel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == button_) button_ = nullptr;
}

// ---- TTeOutlookBar --------------------------------------------------------------------------

TTeOutlookBar::TTeOutlookBar(TComponent* owner) : TTeControl(owner) {}

void TTeOutlookBar::SetBorderWidth(int value) {
    if (value == border_) return;
    border_ = value;
    Realign();
}

void TTeOutlookBar::SetButtonHeight(int value) {
    if (value == buttonHeight_) return;
    buttonHeight_ = value;
    Realign();
}

TRect TTeOutlookBar::GetClientRect() { return Shrunk(TTeControl::GetClientRect(), border_); }

void TTeOutlookBar::PaintBuffer() { DrawControlBackground(this, *Canvas()); }

void TTeOutlookBar::SetActiveBar(TTeOutlookBarPanel* page) {
    if (!page || page->Parent() != this || page == activeBar_) return;
    if (activeBar_) activeBar_->RemoveFreeNotification(this);
    activeBar_ = page;
    activeBar_->FreeNotification(this);
    Realign();
}

TTeOutlookBarPanel* TTeOutlookBar::AddPanel() {
    TComponent* owner = Owner() ? Owner() : this;
    auto* button = new TTeOutlookBarButton(owner);
    button->SetParent(this);
    button->SetTop(Height());
    button->SetName(UniqueName("btn"));
    button->SetCaption(u"");
    button->OnClick = [this](TObject* s) { DoButtonClick(s); };
    auto* page = new TTeOutlookBarPanel(owner);
    page->SetParent(this);
    page->SetTop(Height());
    page->SetName(UniqueName("tp"));
    page->SetCaption("");
    page->SetButton(button);
    button->SetPage(page);
    if (activeBar_) activeBar_->RemoveFreeNotification(this);
    activeBar_ = page;
    page->FreeNotification(this);
    Realign();
    return page;
}

void TTeOutlookBar::DoButtonClick(TObject* sender) {
    if (auto* button = dynamic_cast<TTeOutlookBarButton*>(sender)) SetActiveBar(button->Page());
    Realign();
}

void TTeOutlookBar::Loaded() {
    TTeControl::Loaded();
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (auto* button = dynamic_cast<TTeOutlookBarButton*>(c))
            button->OnClick = [this](TObject* s) { DoButtonClick(s); };
        if (auto* page = dynamic_cast<TTeOutlookBarPanel*>(c); page && page->Button())
            page->Button()->SetPage(page);
    }
}

void TTeOutlookBar::Notification(TComponent* component, TOperation operation) {
    TTeControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == activeBar_) activeBar_ = nullptr;
}

void TTeOutlookBar::AlignControls(TControl*, TRect&) {
    TRect r = GetClientRect();
    std::vector<TControl*> list;
    int counter = 0;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (auto* page = dynamic_cast<TTeOutlookBarPanel*>(c)) {
            if (page != activeBar_) {
                page->SetHeight(0);
                page->SetVisible(false);
                continue;
            }
            page->SetVisible(true);
            continue;
        }
        c->SetVisible(true);
        auto* button = dynamic_cast<TTeOutlookBarButton*>(c);
        if (button && activeBar_ && button->Page() == activeBar_) counter = 0;
        list.push_back(c);
        ++counter;
    }
    SortByTop(list);
    if (activeBar_) activeBar_->BringToFront();
    for (TControl* c : list) {
        if (c->Is<TTeOutlookBarButton>()) c->BringToFront();
        c->SetBounds(r.left, r.top, r.Width(), buttonHeight_);
        r.top += buttonHeight_;
        auto* button = dynamic_cast<TTeOutlookBarButton*>(c);
        if (button && activeBar_ && button->Page() == activeBar_) {
            const int bottom = Height() - border_ - (counter - 1) * buttonHeight_;
            activeBar_->SetBounds(r.left, r.top, r.Width(), std::max(0, bottom - r.top));
            r.top = bottom;
        }
    }
}

// ---- TTeButtonBar ---------------------------------------------------------------------------

TTeButtonBarScroll::TTeButtonBarScroll(TComponent* owner) : TTeSpeedButton(owner) { SetFlat(false); }

TTeButtonBar::TTeButtonBar(TComponent* owner) : TTeControl(owner) {
    ControlStyle.Include(csAcceptsControls);
    for (TTeButtonBarScroll** b : {&back_, &forward_}) {
        *b = new TTeButtonBarScroll(this);
        (*b)->SetParent(this);
        (*b)->SetVisible(false);
        (*b)->SetAllowTimer(true);
        (*b)->SetBounds(0, 0, 16, 16);
        (*b)->SetShowCaption(false);
        (*b)->OnClick = [this](TObject* s) { DoScrollClick(s); };
    }
}

void TTeButtonBar::SetBorderWidth(int value) {
    if (value == border_) return;
    border_ = value;
    Realign();
}

TRect TTeButtonBar::GetClientRect() { return Shrunk(TTeControl::GetClientRect(), border_); }

void TTeButtonBar::PaintBuffer() { DrawControlBackground(this, *Canvas()); }

void TTeButtonBar::DoScrollClick(TObject* sender) {
    scrollOffset_ += sender == forward_ ? itemSize_ : -itemSize_;
    Realign();
}

void TTeButtonBar::AlignControls(TControl*, TRect&) {
    if (!back_ || !forward_) return;  // still being built
    TRect r = GetClientRect();
    itemSize_ = std::min(Width(), Height()) - 2 * border_;
    const bool horizontal = Width() > Height();
    back_->SetCaption(horizontal ? kSpeedCaptionLeft : kSpeedCaptionUp);
    forward_->SetCaption(horizontal ? kSpeedCaptionRight : kSpeedCaptionDown);
    std::vector<TControl*> list;
    for (int i = 0; i < ControlCount(); ++i) {
        TControl* c = Controls(i);
        if (c->Visible() && !c->Is<TTeButtonBarScroll>()) list.push_back(c);
    }
    const int total = itemSize_ * static_cast<int>(list.size());
    SortByTop(list);
    forward_->BringToFront();
    back_->BringToFront();
    if (horizontal) {
        forward_->SetBounds(Width() - 16, 0, 16, 16);
        back_->SetBounds(0, 0, 16, 16);
    } else {
        forward_->SetBounds(Width() - 16, Height() - 16, 16, 16);
        back_->SetBounds(Width() - 16, 0, 16, 16);
    }
    const int extent = horizontal ? Width() : Height();
    const bool overflow = total > extent;
    back_->SetVisible(overflow);
    forward_->SetVisible(overflow);
    if (overflow) {
        scrollOffset_ = std::min(scrollOffset_, total - extent + 2 * border_);
        scrollOffset_ = std::max(scrollOffset_, 0);
    }
    if (horizontal)
        r.Offset(-scrollOffset_, 0);
    else
        r.Offset(0, -scrollOffset_);
    for (TControl* c : list) {
        if (horizontal) {
            c->SetBounds(r.left, r.top, itemSize_, r.Height());
            r.left += itemSize_;
        } else {
            c->SetBounds(r.left, r.top, r.Width(), itemSize_);
            r.top += itemSize_;
        }
    }
}

}  // namespace tarvel
