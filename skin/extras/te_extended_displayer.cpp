#include "skin/extras/te_extended_displayer.h"

#include "skin/core/te_const.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"
#include "skin/extras/te_extended_skin.h"

namespace tarvel {

void TTeObjectDisplayer::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeObjectDisplayer::SNMThemeMessage>(SNM_THEMEMESSAGE);
}

TTeObjectDisplayer::TTeObjectDisplayer(TComponent* owner) : TTeExtraControl(owner) {
    TTeExtraControl::SetThemeObject("default");
    fillColor_ = CurrentTheme ? CurrentTheme->Colors()->GetColor(ktcWindow) : ColorToRGB(clWindow);
    AddThemeNotification(this);
}

TTeObjectDisplayer::~TTeObjectDisplayer() { RemoveThemeNotification(this); }

TteTheme* TTeObjectDisplayer::Theme() const { return GetThemeLink(themeLink_); }

void TTeObjectDisplayer::SetThemeObject(const String& value) {
    if (value == ThemeObject()) return;
    TTeExtraControl::SetThemeObject(value);
    if (IsLoading()) return;
    InitObject();
    Invalidate();
}

void TTeObjectDisplayer::SetDefaultObject(const String& value) {
    if (value == defaultObject_) return;
    defaultObject_ = value;
    InitObject();
    Invalidate();
}

void TTeObjectDisplayer::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    if (themeLink_) themeLink_->RemoveFreeNotification(this);
    themeLink_ = value;
    if (themeLink_) themeLink_->FreeNotification(this);
    Invalidate();
}

void TTeObjectDisplayer::SetGetColorFromTheme(bool value) {
    getColorFromTheme_ = value;
    Invalidate();
}

void TTeObjectDisplayer::SetThemedColor(TteThemeColor value) {
    themedColor_ = value;
    Invalidate();
}

void TTeObjectDisplayer::SetDefaultColor(TColor value) {
    defaultColor_ = value;
    Invalidate();
}

void TTeObjectDisplayer::SetFillWithColorWhenObjectIsNotDefined(bool value) {
    fillWhenUndefined_ = value;
    Invalidate();
}

void TTeObjectDisplayer::InitObject() {
    if (IsLoading()) return;
    object_ = nullptr;
    TteTheme* linked = themeLink_ ? themeLink_->GetTheme() : nullptr;
    if (!getColorFromTheme_)
        fillColor_ = defaultColor_;
    else if (TteTheme* theme = linked ? linked : CurrentTheme)
        fillColor_ = theme->Colors()->GetColor(themedColor_);
    else
        fillColor_ = ColorToRGB(defaultColor_);

    TteTheme* theme = Theme();
    if (!IsSkinSource(theme)) return;
    object_ = FindSkinObject(theme, ThemeObject());
    if (object_ || defaultObject_.empty()) return;
    object_ = FindSkinObject(theme, defaultObject_);
    // A panel shows its frame when it has one.
    if (object_ && LowerCase(defaultObject_) == "panel")
        if (TSeSkinObject* frame = SkinObjectChild(object_, "Frame")) object_ = frame;
}

void TTeObjectDisplayer::PaintBuffer() {
    TCanvas& canvas = *Canvas();
    const TRect r{0, 0, Width(), Height()};
    TteTheme* theme = Theme();
    if (IsSkinSource(theme)) {
        if (object_)
            DrawSkinObject(object_, canvas, r);
        else
            FillRect(canvas, r, fillColor_);
        return;
    }
    if (!CurrentTheme) {
        FillRect(canvas, r, fillColor_);
        return;
    }
    String panel;
    if (ThemeObject() == "default") {
        if (theme->IsPanelDefined(kpscPanel, "default")) panel = "default";
    } else if (defaultObject_ == "default" || SameText(defaultObject_, "panel") || !fillWhenUndefined_) {
        panel = "Panel";
    }
    if (panel.empty()) {
        FillRect(canvas, r, fillColor_);
        return;
    }
    if (theme->IsPanelTransparent(kpscPanel, panel)) DrawControlBackground(this, canvas);
    theme->PanelDraw(kpscPanel, canvas, PanelInfo(r), panel);
}

void TTeObjectDisplayer::Loaded() {
    TTeExtraControl::Loaded();
    InitObject();
    Invalidate();
}

void TTeObjectDisplayer::WndProc(TMessage& message) {
    TTeExtraControl::WndProc(message);
    if (message.Msg == WM_WINDOWPOSCHANGED && !IsLoading()) {
        InitObject();
        Invalidate();
    }
}

void TTeObjectDisplayer::Notification(TComponent* component, TOperation operation) {
    TTeExtraControl::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

void TTeObjectDisplayer::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        // The skin the object belongs to is about to go.
        case tmBeforeChange:
        case tmReleased: object_ = nullptr; break;
        case tmAfterChange:
        case tmSystemChanged:
            InitObject();
            Invalidate();
            break;
        default: break;
    }
}

TTeObjectDisplayerContainer::TTeObjectDisplayerContainer(TComponent* owner) : TTeObjectDisplayer(owner) {
    ControlStyle.Include(csAcceptsControls);
}

}  // namespace tarvel
