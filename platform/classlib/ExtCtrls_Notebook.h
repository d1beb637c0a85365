#pragma once
// A notebook: a stack of pages filling the control, one showing at a time.

#include <memory>
#include <vector>

#include "platform/classlib/Controls.h"
#include "platform/classlib/StringLists.h"

namespace tarvel {

class TNotebook;

// One page of a notebook; its caption is the page's name in Pages().
class TPage : public TCustomControl {
    TARVEL_CLASS(TPage, TCustomControl)

public:
    explicit TPage(TComponent* owner);
    ~TPage() override;
    TNotebook* Notebook() const { return notebook_; }

private:
    friend class TNotebook;
    TNotebook* notebook_ = nullptr;
};

class TNotebook : public TCustomControl {
    TARVEL_CLASS(TNotebook, TCustomControl)

public:
    // Starts with one page, "Default".
    explicit TNotebook(TComponent* owner);
    ~TNotebook() override;

    // The page names in order; adding a line adds a page, deleting one
    // frees its page, changing one renames it.
    TStrings* Pages() { return pagesAccess_.get(); }
    void SetPages(TStrings* pages) { pagesAccess_->Assign(pages); }
    int PageCount() const { return static_cast<int>(pages_.size()); }
    TPage* Page(int index) const;

    // -1 only when there is no page. Out-of-range indexes are ignored.
    int PageIndex() const { return pageIndex_; }
    void SetPageIndex(int index);
    // The active page's name; setting an unknown name changes nothing.
    String ActivePage() const;
    void SetActivePage(const String& name);

    TNotifyEvent OnPageChanged;

protected:
    // The page a new line of Pages() gets; a notebook of other pages
    // makes its own here.
    virtual TPage* CreatePage() { return new TPage(this); }
    // After a page was added at index.
    virtual void PageInserted(int) {}

private:
    class TPageAccess;
    friend class TPage;
    friend class TPageAccess;

    void InsertPage(int index, const String& name);
    void PageDestroyed(TPage* page);
    void ShowActivePage();

    std::vector<TPage*> pages_;
    int pageIndex_ = -1;
    std::unique_ptr<TStrings> pagesAccess_;
};

}  // namespace tarvel
