#include "skin/controls/te_controls_panel.h"

#include "skin/core/te_const.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel {

// ---- TTePanel -------------------------------------------------------------------------------

void TTePanel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTePanel::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTePanel::SNMLinkChanged>(SNM_LINKCHANGED);
    t.Add<&TTePanel::WMEraseBkgnd>(WM_ERASEBKGND);
}

TTePanel::TTePanel(TComponent* owner) : TPanel(owner), TTeThemeLinked(this, {ktlrDefaultKeepsPlace}) {
    SetColor(clBtnFace);
    SetBounds(Left(), Top(), 100, 90);
    AddThemeNotification(this);
}

TTePanel::~TTePanel() { RemoveThemeNotification(this); }

void TTePanel::Loaded() {
    TPanel::Loaded();
    FollowThemeLink(false);
}

void TTePanel::Notification(TComponent* component, TOperation operation) {
    TPanel::Notification(component, operation);
    ForgetThemeLink(component, operation);
}

void TTePanel::SNMThemeMessage(TMessage& m) {
    switch (m.WParam) {
        case tmChanged:
        case tmApply:
            Invalidate();
            if (TteTheme* theme = GetThemeLink(themeLink_)) {
                const TRect bounds = theme->GetBounds(themeObject_);
                if (!bounds.IsEmpty()) SetBoundsRect(bounds);
            }
            Realign();
            break;
        case tmReleased:
        case tmSystemChanged:
            Invalidate();
            Realign();
            break;
        default: break;
    }
}

void TTePanel::SNMLinkChanged(TMessage& m) {
    if (IsOwnLinkMessage(m)) FollowThemeLink(true);
}

bool TTePanel::Themed() {
    return IsObjectDefined(kpscPanel, themeObject_, themeLink_) && GetThemeLink(themeLink_);
}

TRect TTePanel::GetClientRect() {
    if (!Themed()) return TPanel::GetClientRect();
    return GetThemeLink(themeLink_)
        ->PanelGetClientRect(kpscPanel, PanelInfo(TRect{0, 0, Width(), Height()}), themeObject_);
}

void TTePanel::Paint() {
    if (!Themed()) {
        TPanel::Paint();
        return;
    }
    TteTheme* theme = GetThemeLink(themeLink_);
    TCanvas& c = *Canvas();
    const TRect whole{0, 0, Width(), Height()};
    if (theme->IsPanelTransparent(kpscPanel, themeObject_)) DrawControlBackground(this, c);
    theme->PanelDraw(kpscPanel, c, PanelInfo(whole), themeObject_);
    c.Font()->Assign(Font());
    if (TFont* f = theme->Fonts()->GetFontForObject(Enabled() ? ktfPanelTextNormal : ktfPanelTextDisabled,
                                                    themeObject_))
        c.Font()->Assign(f);
    const int h = TextHeight(c, u"W");
    const TRect text{0, (Height() - h) / 2, Width(), (Height() - h) / 2 + h};
    static const unsigned kAlign[] = {DT_LEFT, DT_RIGHT, DT_CENTER};
    theme->PanelDrawText(
        kpscPanel, c, PanelInfo(ClientRect()),
        TextInfo(text, Utf8ToWide(Caption()), kAlign[Alignment()] | DT_VCENTER | DT_EXPANDTABS),
        themeObject_);
}

// ---- TTeTransPanel --------------------------------------------------------------------------

void TTeTransPanel::DeclareMessages(TMessageTable& t) {
    t.Add<&TTeTransPanel::SNMThemeMessage>(SNM_THEMEMESSAGE);
    t.Add<&TTeTransPanel::WMEraseBkgnd>(WM_ERASEBKGND);
}

TTeTransPanel::TTeTransPanel(TComponent* owner) : TPanel(owner) {
    SetBounds(Left(), Top(), 100, 90);
    AddThemeNotification(this);
}

TTeTransPanel::~TTeTransPanel() { RemoveThemeNotification(this); }

void TTeTransPanel::SNMThemeMessage(TMessage& m) {
    if (m.WParam == tmChanged || m.WParam == tmApply || m.WParam == tmReleased || m.WParam == tmSystemChanged)
        Invalidate();
}

void TTeTransPanel::Paint() { DrawControlBackground(this, *Canvas()); }

}  // namespace tarvel
