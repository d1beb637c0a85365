#pragma once
// TTeNotebook: the class library's notebook with see-through pages. A page
// paints whatever lies behind the notebook and lets the mouse pass to what
// lies beneath it, so the notebook vanishes into a skinned form and only
// the page's controls show. Adding a page shows it.

#include "platform/classlib/ExtCtrls_Notebook.h"

namespace tarvel {

class TTePage : public TPage {
    TARVEL_CLASS(TTePage, TPage)

public:
    explicit TTePage(TComponent* owner);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;

private:
    void WMNCHitTest(TMessage& m);
    void WMEraseBkgnd(TMessage& m) { m.Result = 1; }
};

class TTeNotebook : public TNotebook {
    TARVEL_CLASS(TTeNotebook, TNotebook)

public:
    explicit TTeNotebook(TComponent* owner);

    TTePage* ActivePageControl() const;

protected:
    TPage* CreatePage() override { return new TTePage(this); }
    void PageInserted(int index) override { SetPageIndex(index); }
    void Paint() override {}
};

}  // namespace tarvel
