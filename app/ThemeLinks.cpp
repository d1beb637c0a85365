#include "app/ThemeLinks.h"

#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_forms_link.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/extctrls/te_extctrls_tabs.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menubar.h"

namespace tarvel {
namespace {

// The skinned kinds that keep their link themselves rather than through
// TTeThemeLinked.
template <class T>
bool LinkIfUnlinked(TComponent* component, TteCustomThemeLink* link) {
    auto* control = dynamic_cast<T*>(component);
    if (!control) return false;
    if (!control->ThemeLink()) control->SetThemeLink(link);
    return true;
}

}  // namespace

void LinkSkinnedControls(TComponent* owner, TteCustomThemeLink* link) {
    for (int i = 0; i < owner->ComponentCount(); ++i) {
        TComponent* c = owner->Components(i);
        if (auto* linked = dynamic_cast<TTeThemeLinked*>(c)) {
            if (!linked->ThemeLink()) linked->SetThemeLink(link);
            continue;
        }
        LinkIfUnlinked<TTeTabControl>(c, link) || LinkIfUnlinked<TTeStatusBar>(c, link) ||
            LinkIfUnlinked<TTeScrollBar>(c, link) || LinkIfUnlinked<TTeProgressBar>(c, link) ||
            LinkIfUnlinked<TTeMenuBar>(c, link) || LinkIfUnlinked<TTeForm>(c, link);
    }
}

}  // namespace tarvel
