#include "skin/extctrls/te_extctrls_pages.h"

#include <algorithm>
#include <string>

#include "platform/base/Exceptions.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

// ---- TTeTabControl: pages -------------------------------------------------------------------

int TTeTabControl::PageIndexOf(const TTeTabSheet* sheet) const {
    const auto it = std::find(pages_.begin(), pages_.end(), sheet);
    return it == pages_.end() ? -1 : static_cast<int>(it - pages_.begin());
}

TTeTabSheet* TTeTabControl::GetPage(int index) const {
    return index >= 0 && index < GetPageCount() ? pages_[index] : nullptr;
}

TTeTabSheet* TTeTabControl::GetActivePage() const {
    return usePages_ && activePage_ && PageIndexOf(activePage_) >= 0 ? activePage_ : nullptr;
}

int TTeTabControl::GetActivePageIndex() const { return usePages_ ? PageIndexOf(activePage_) : -1; }

int TTeTabControl::GetPageIndexFromTabIndex(int tabIndex) const {
    if (usePages_ && pages_.empty()) return -1;
    int visible = -1;
    for (int p = 0; p < GetPageCount(); ++p) {
        if (pages_[p]->PageVisible()) ++visible;
        if (visible == tabIndex && pages_[p]->PageVisible()) return p;
    }
    return -1;
}

int TTeTabControl::GetTabIndexFromPageIndex(int pageIndex) const {
    if ((usePages_ && pages_.empty()) || pageIndex < 0 || pageIndex >= GetPageCount()) return -1;
    int visible = 0;
    for (int p = 0; p <= pageIndex; ++p)
        if (pages_[p]->PageVisible()) ++visible;
    return visible - 1;
}

void TTeTabControl::SetUsePages(bool value) {
    if (value == usePages_) return;
    usePages_ = value;
    if (ComponentState().Contains(csLoading)) return;
    if (value)
        while (ControlCount() > 0) delete Controls(0);
    TabsChanged();
}

void TTeTabControl::InsertPage(int index, TTeTabSheet* sheet) {
    if (!sheet || PageIndexOf(sheet) >= 0) return;
    if (sheet->tabControl_) sheet->SetTabControl(nullptr);
    index = std::clamp(index, 0, GetPageCount());
    pages_.insert(pages_.begin() + index, sheet);
    sheet->tabControl_ = this;
    sheet->SetParent(this);
    TabsChanged();
    if (sheet->Text().empty()) sheet->SetText("New Page " + std::to_string(GetTabCount() - 1));
    Invalidate();
}

void TTeTabControl::RemovePage(TTeTabSheet* sheet) {
    const int index = PageIndexOf(sheet);
    if (index < 0) return;
    const int tab = sheet->TabIndex();
    inTabsChanged_ = true;
    if (tab >= 0 && tab < GetTabCount()) tabs_->DeleteQuietly(tab);
    pages_.erase(pages_.begin() + index);
    inTabsChanged_ = false;
    sheet->tabControl_ = nullptr;
    if (sheet == activePage_) {
        activePage_ = nullptr;
        sheet->SetVisible(false);
        const auto first =
            std::find_if(pages_.begin(), pages_.end(), [](TTeTabSheet* p) { return p->PageVisible(); });
        tabIndex_ = -1;
        if (first != pages_.end()) SetActivePage(*first);
    }
    if (!sheet->destroying_) delete sheet;
    TabsChanged();
    Invalidate();
}

void TTeTabControl::MovePage(TTeTabSheet* sheet, int index) {
    const int current = PageIndexOf(sheet);
    if (current < 0 || index == current) return;
    if (index < 0 || index >= GetPageCount())
        throw EListError("List index out of bounds (" + std::to_string(index) + ")");
    std::swap(pages_[current], pages_[index]);
    TabsChanged();
}

void TTeTabControl::SetActivePageIndex(int index) {
    if (TTeTabSheet* page = GetPage(index)) SetActivePage(page);
}

void TTeTabControl::SetActivePage(TTeTabSheet* sheet) {
    if (!sheet || PageIndexOf(sheet) < 0) return;
    if (sheet == activePage_) {
        sheet->SetVisible(true);
        sheet->BringToFront();
        return;
    }
    if (activePage_ && PageIndexOf(activePage_) >= 0) activePage_->SetVisible(false);
    activePage_ = sheet;
    sheet->SetVisible(true);
    sheet->BringToFront();
    // A sheet without a tab selects none, so no other tab looks selected.
    tabIndex_ = sheet->TabIndex();
    ScrollIntoView();
    InvalidateTabs();
    Change();
}

TTeTabSheet* TTeTabControl::GrowPagesFromTabs() {
    TTeTabSheet* grown = nullptr;
    for (int k = 0; k < GetTabCount(); ++k) {
        const String caption = tabs_->Get(k);
        int inTabs = 0, inPages = 0;
        for (int i = 0; i < GetTabCount(); ++i)
            if (tabs_->Get(i) == caption) ++inTabs;
        for (TTeTabSheet* page : pages_)
            if (page->Text() == caption) ++inPages;
        if (inPages >= inTabs) continue;
        auto* sheet = new TTeTabSheet(Owner() ? Owner() : this);
        sheet->SetText(caption);
        InsertPage(std::min(k, GetPageCount()), sheet);
        grown = sheet;
    }
    return grown;
}

void TTeTabControl::SyncActivePage(int oldTabIndex, bool rowChanged) {
    const int count = GetTabCount();
    if (TTeTabSheet* active = GetActivePage()) {
        const int tab = active->TabIndex();
        if (tab >= 0) {
            // The user stays on the page whatever comes or goes before it.
            tabIndex_ = tab;
            ScrollIntoView();
            return;
        }
        if (oldTabIndex < 0) return;  // shown without a tab on purpose
        if (count == 0) {
            active->SetVisible(false);
            activePage_ = nullptr;
            tabIndex_ = -1;
            Change();
            return;
        }
        SetActivePageIndex(GetPageIndexFromTabIndex(std::min(oldTabIndex, count - 1)));
        return;
    }
    if (count == 0) {
        tabIndex_ = -1;
        return;
    }
    tabIndex_ = std::clamp(tabIndex_, 0, count - 1);
    if (rowChanged || !activePage_) SetActivePageIndex(GetPageIndexFromTabIndex(tabIndex_));
}

void TTeTabControl::TabsChanged() {
    if (inTabsChanged_ || ComponentState().Contains(csDestroying)) return;
    inTabsChanged_ = true;
    try {
        const int oldTabIndex = tabIndex_;
        const bool loading = ComponentState().Contains(csLoading);
        if (!usePages_) {
            const int count = GetTabCount();
            tabIndex_ = count == 0 ? -1 : std::clamp(tabIndex_, 0, count - 1);
        } else {
            TTeTabSheet* grown = loading ? nullptr : GrowPagesFromTabs();
            const String before = tabs_->CommaText();
            tabs_->ClearQuietly();
            for (TTeTabSheet* page : pages_)
                if (page->PageVisible()) tabs_->AddQuietly(page->Text());
            if (grown)
                SetActivePage(grown);
            else if (!loading)
                SyncActivePage(oldTabIndex, tabs_->CommaText() != before);
        }
        if (!updating_) {
            InvalidateTabs();
            if (usePages_) Realign();
        }
    } catch (...) {
        inTabsChanged_ = false;
        throw;
    }
    inTabsChanged_ = false;
}

// ---- TTeTabSheet ------------------------------------------------------------------------------

void TTeTabSheet::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeTabSheet::CMTextChanged>(CM_TEXTCHANGED);
    t.Add<&TTeTabSheet::WMEraseBkgnd>(WM_ERASEBKGND);
}

TTeTabSheet::TTeTabSheet(TComponent* owner) : TCustomControl(owner) {
    SetAlign(alClient);
    ControlStyle.Include(csAcceptsControls);
    ControlStyle.Include(csNoDesignVisible);
    TCustomControl::SetVisible(false);
}

TTeTabSheet::~TTeTabSheet() {
    destroying_ = true;
    if (!tabControl_) return;
    if (!tabControl_->ComponentState().Contains(csDestroying)) {
        tabControl_->RemovePage(this);
        return;
    }
    // The control goes too: it only has to forget this sheet.
    std::erase(tabControl_->pages_, this);
    if (tabControl_->activePage_ == this) tabControl_->activePage_ = nullptr;
}

void TTeTabSheet::SetTabControl(TTeTabControl* control) {
    if (control == tabControl_) return;
    if (TTeTabControl* old = tabControl_) {
        // Out of the old control's list, its tab gone; the sheet itself stays.
        const int index = old->PageIndexOf(this);
        if (index >= 0) {
            if (old->activePage_ == this) old->activePage_ = nullptr;
            old->pages_.erase(old->pages_.begin() + index);
            tabControl_ = nullptr;
            old->TabsChanged();
        }
        tabControl_ = nullptr;
        pageVisible_ = false;
    }
    if (control) control->AddPage(this);
}

int TTeTabSheet::PageIndex() const { return tabControl_ ? tabControl_->PageIndexOf(this) : -1; }

void TTeTabSheet::SetPageIndex(int index) {
    if (ComponentState().Contains(csLoading) || !tabControl_) return;
    tabControl_->MovePage(this, index);
}

int TTeTabSheet::TabIndex() const {
    return tabControl_ && pageVisible_ ? tabControl_->GetTabIndexFromPageIndex(PageIndex()) : -1;
}

void TTeTabSheet::SetPageVisible(bool value) {
    if (ComponentState().Contains(csLoading)) {
        pageVisible_ = value;
        return;
    }
    if (value == pageVisible_) return;
    pageVisible_ = value;
    if (tabControl_) tabControl_->TabsChanged();
}

void TTeTabSheet::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    imageIndex_ = value;
    if (tabControl_) tabControl_->Invalidate();
}

void TTeTabSheet::SetVisible(bool visible) {
    const bool was = Visible();
    TCustomControl::SetVisible(visible);
    if (was == visible || destroying_) return;
    if (visible)
        DoShow();
    else
        DoHide();
}

void TTeTabSheet::DoShow() {
    if (OnShow) OnShow(this);
}

void TTeTabSheet::DoHide() {
    if (OnHide) OnHide(this);
}

void TTeTabSheet::CMTextChanged(TMessage& m) {
    DispatchFrom(inherited::StaticClass(), m);
    if (!tabControl_) return;
    const int tab = TabIndex();
    if (tab >= 0 && tab < tabControl_->GetTabCount()) tabControl_->Tabs()->Put(tab, Text());
}

void TTeTabSheet::PaintOwnerBackground(HDC dc) {
    if (!Parent() || !tabControl_) return;
    const int saved = SaveDC(dc);
    TPoint previous;
    SetWindowOrgEx(dc, Left(), Top(), &previous);
    TCanvas& canvas = *tabControl_->Canvas();
    const HDC old = canvas.HandleAllocated() ? canvas.Handle() : HDC{};
    canvas.SetHandle(dc);
    try {
        tabControl_->DrawBorder();
    } catch (...) {
        canvas.SetHandle(old);
        SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
        RestoreDC(dc, saved);
        throw;
    }
    canvas.SetHandle(old);
    SetWindowOrgEx(dc, previous.x, previous.y, nullptr);
    RestoreDC(dc, saved);
}

void TTeTabSheet::Paint() {
    if (tabControl_ && tabControl_->GetActivePage() == this) PaintOwnerBackground(Canvas()->Handle());
}

// ---- TTePageControl ---------------------------------------------------------------------------

TTePageControl::TTePageControl(TComponent* owner) : TTeTabControl(owner) { SetUsePages(true); }

void RegisterTabSheetBackground() {
    RegisterDrawControlBackground(TTeTabSheet::StaticClass(), [](TCanvas* canvas, const TteBackground& bg) {
        auto* sheet = dynamic_cast<TTeTabSheet*>(bg.Parent);
        if (!sheet) return false;
        sheet->PaintOwnerBackground(canvas->Handle());
        return true;
    });
}

}  // namespace tarvel
