// TNotebook and its pages.

#include "platform/classlib/ExtCtrls_Notebook.h"

#include <algorithm>
#include <utility>

#include "platform/classlib/Forms.h"

namespace tarvel {

// ---- TPage ----------------------------------------------------------------------------------

TPage::TPage(TComponent* owner) : TCustomControl(owner) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csSetCaption, csOpaque, csDoubleClicks};
    SetVisible(false);
    SetAlign(alClient);
}

TPage::~TPage() {
    if (notebook_) notebook_->PageDestroyed(this);
}

// ---- the Pages list -------------------------------------------------------------------------

class TNotebook::TPageAccess : public TStrings {
public:
    explicit TPageAccess(TNotebook& notebook) : notebook_(notebook) {}

    int Count() const override { return notebook_.PageCount(); }
    String Get(int index) const override { return notebook_.Page(index)->Caption(); }
    TObject* GetObject(int index) const override { return notebook_.Page(index); }
    void Put(int index, const String& s) override { notebook_.Page(index)->SetCaption(s); }
    void PutObject(int, TObject*) override {}
    void Insert(int index, const String& s) override {
        if (index < 0 || index > Count())
            throw EListError("List index out of bounds (" + IntToStr(index) + ")");
        notebook_.InsertPage(index, s);
    }
    void Delete(int index) override { delete notebook_.Page(index); }
    void Clear() override {
        while (Count() > 0) delete notebook_.Page(Count() - 1);
    }
    // Pages move with their names; the active page stays active.
    void Move(int from, int to) override {
        Reorder(from, to, [&](std::vector<TPage*>& pages) {
            TPage* moved = pages[static_cast<size_t>(from)];
            pages.erase(pages.begin() + from);
            pages.insert(pages.begin() + to, moved);
        });
    }
    void Exchange(int index1, int index2) override {
        Reorder(index1, index2, [&](std::vector<TPage*>& pages) {
            std::swap(pages[static_cast<size_t>(index1)], pages[static_cast<size_t>(index2)]);
        });
    }

private:
    template <class F>
    void Reorder(int a, int b, F change) {
        notebook_.Page(a);  // range checks
        notebook_.Page(b);
        TPage* active = notebook_.pageIndex_ >= 0 ? notebook_.Page(notebook_.pageIndex_) : nullptr;
        auto& pages = notebook_.pages_;
        change(pages);
        if (active)
            notebook_.pageIndex_ =
                static_cast<int>(std::find(pages.begin(), pages.end(), active) - pages.begin());
    }

    TNotebook& notebook_;
};

// ---- TNotebook ------------------------------------------------------------------------------

TNotebook::TNotebook(TComponent* owner)
    : TCustomControl(owner), pagesAccess_(std::make_unique<TPageAccess>(*this)) {
    ControlStyle = {csAcceptsControls, csCaptureMouse, csClickEvents, csOpaque, csDoubleClicks};
    SetBounds(0, 0, 150, 150);
    InsertPage(0, "Default");
}

TNotebook::~TNotebook() {
    // The pages die with the children; they must not call back into a
    // half-destroyed notebook.
    for (TPage* page : pages_) page->notebook_ = nullptr;
    pages_.clear();
}

TPage* TNotebook::Page(int index) const {
    if (index < 0 || index >= PageCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return pages_[static_cast<size_t>(index)];
}

void TNotebook::InsertPage(int index, const String& name) {
    TPage* page = CreatePage();
    page->notebook_ = this;
    page->SetCaption(name);
    page->SetParent(this);
    pages_.insert(pages_.begin() + index, page);
    if (pageIndex_ < 0) {
        SetPageIndex(index);
    } else if (index <= pageIndex_) {
        ++pageIndex_;  // the same page stays active
    }
    PageInserted(index);
}

void TNotebook::PageDestroyed(TPage* page) {
    auto it = std::find(pages_.begin(), pages_.end(), page);
    if (it == pages_.end()) return;
    const int index = static_cast<int>(it - pages_.begin());
    pages_.erase(it);
    if (index > pageIndex_) return;
    if (index < pageIndex_) {
        --pageIndex_;
        return;
    }
    // The active page went: its place goes to the next page, or the last.
    pageIndex_ = std::min(index, PageCount() - 1);
    ShowActivePage();
    if (OnPageChanged) OnPageChanged(this);
}

void TNotebook::SetPageIndex(int index) {
    if (index < 0 || index >= PageCount() || index == pageIndex_) return;
    pageIndex_ = index;
    ShowActivePage();
    if (OnPageChanged) OnPageChanged(this);
}

void TNotebook::ShowActivePage() {
    TPage* active = pageIndex_ >= 0 ? pages_[static_cast<size_t>(pageIndex_)] : nullptr;
    if (active) {
        active->BringToFront();
        active->SetVisible(true);
    }
    for (TPage* page : pages_) {
        if (page == active) continue;
        // Focus on a page that hides moves to the notebook's form.
        if (TCustomForm* form = GetParentForm(this)) {
            TWinControl* focused = form->ActiveControl();
            if (focused && (focused == page || page->ContainsControl(focused))) {
                form->SetActiveControl(nullptr);
                if (form->HandleAllocated()) ::tarvel::SetFocus(form->Handle());
            }
        }
        page->SetVisible(false);
    }
}

String TNotebook::ActivePage() const { return pageIndex_ >= 0 ? Page(pageIndex_)->Caption() : String(); }

void TNotebook::SetActivePage(const String& name) { SetPageIndex(pagesAccess_->IndexOf(name)); }

}  // namespace tarvel
