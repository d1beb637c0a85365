#include "skin/extctrls/te_extctrls_notebook.h"

#include "platform/winsys/WinConstants.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

// ---- TTePage --------------------------------------------------------------------------------

void TTePage::DeclareMessages(TMessageTable& t) {
    t.Add<&TTePage::WMNCHitTest>(WM_NCHITTEST);
    t.Add<&TTePage::WMEraseBkgnd>(WM_ERASEBKGND);
}

TTePage::TTePage(TComponent* owner) : TPage(owner) { ControlStyle.Include(csNoDesignVisible); }

void TTePage::Paint() {
    if (auto* notebook = dynamic_cast<TTeNotebook*>(Parent())) DrawControlBackground(notebook, *Canvas());
}

void TTePage::WMNCHitTest(TMessage& m) {
    if (ComponentState().Contains(csDesigning)) {
        DispatchFrom(inherited::StaticClass(), m);
        return;
    }
    m.Result = HTTRANSPARENT;
}

// ---- TTeNotebook ----------------------------------------------------------------------------

TTeNotebook::TTeNotebook(TComponent* owner) : TNotebook(owner) {
    SetTabStop(false);
    SetColor(clWindow);
    SetParentColor(true);
    // The base made its first page before this notebook could choose the
    // page class.
    Pages()->Clear();
    Pages()->Add("Default");
}

TTePage* TTeNotebook::ActivePageControl() const {
    return PageIndex() >= 0 ? static_cast<TTePage*>(Page(PageIndex())) : nullptr;
}

}  // namespace tarvel
