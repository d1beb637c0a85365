#include "skin/core/te_forms_link.h"

#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

void TTeThemeLinked::SetThemeLink(TteCustomThemeLink* value) {
    if (rules_.Contains(ktlrSkipSame) && value == themeLink_) return;
    if (themeLink_) themeLink_->RemoveFreeNotification(control_);
    themeLink_ = value;
    if (themeLink_) themeLink_->FreeNotification(control_);
    Changed();
}

void TTeThemeLinked::SetThemeObject(const String& value) {
    if (rules_.Contains(ktlrSkipSame) && value == themeObject_) return;
    themeObject_ = value;
    if (rules_.Contains(ktlrDefaultKeepsPlace) && value == "default") return;
    Changed();
}

void TTeThemeLinked::Changed() {
    if (rules_.Contains(ktlrRepaintOnly))
        control_->Invalidate();
    else
        FollowThemeLink(true);
}

TteTheme* TTeThemeLinked::Theme() const { return GetThemeLink(themeLink_); }

void TTeThemeLinked::FollowThemeLink(bool repaint) const {
    UpdateThemeLink(control_, themeLink_, themeObject_, repaint);
}

void TTeThemeLinked::ForgetThemeLink(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

bool TTeThemeLinked::IsOwnLinkMessage(const TMessage& m) const {
    return reinterpret_cast<TteCustomThemeLink*>(m.LParam) == themeLink_;
}

}  // namespace tarvel
