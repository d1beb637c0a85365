#include "skin/forms/te_forms_popupmenu.h"

#include "platform/classlib/Application.h"
#include "platform/winsys/MessageApi.h"
#include "skin/forms/te_forms_popup.h"

namespace tarvel {

TTePopupMenu* ActivePopupMenu = nullptr;
TTeDefaultMenuOptions DefaultMenuOptions;

TTePopupMenu::TTePopupMenu(TComponent* owner) : TPopupMenu(owner) {
    RegisterItemContainer<TTePopupMenu>();
    items_ = new TTeItem(this);
    items_->ParentComponent = this;
}

TTePopupMenu::~TTePopupMenu() {
    if (ActivePopupMenu == this) ActivePopupMenu = nullptr;
    items_->SetPopupMenuOptions(nullptr);
    delete items_;
    items_ = nullptr;
    UnregisterContainerClass(TTePopupMenu::StaticClass());
}

void TTePopupMenu::SetPopupMenuOptions(TTePopupMenuOptions* value) {
    if (value && value != &options_) options_.Assign(value);
    items_->SetPopupMenuOptions(&options_);
}

void TTePopupMenu::SetThemeLink(TteCustomThemeLink* value) {
    if (value == themeLink_) return;
    themeLink_ = value;
    if (value) value->FreeNotification(this);
}

void TTePopupMenu::Notification(TComponent* component, TOperation operation) {
    TPopupMenu::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeLink_) themeLink_ = nullptr;
}

void TTePopupMenu::GetChildren(const std::function<void(TComponent* child)>& proc) {
    TPopupMenu::GetChildren(proc);
    for (int i = 0; i < items_->Count(); ++i) proc(items_->GetItem(i));
}

void TTePopupMenu::Close() {
    auto* owner = dynamic_cast<TWinControl*>(Owner());
    if (!owner || !owner->HandleAllocated()) return;
    // A running loop of ours is ended and its windows go at once, so a menu
    // opened meanwhile does not show over them; any other loop takes the
    // posted non-client click as a click outside.
    for (int i = 0; i < items_->Count(); ++i)
        if (TTeItemView* view = items_->GetItem(i)->View; view && view->InLoop) {
            view->CloseMenu();
            for (TTeItemView* v = view; v; v = v->ChildView)
                if (auto* window = dynamic_cast<TTePopupWindow*>(v->CaptureControl))
                    window->SetVisible(false);
            return;
        }
    PostMessage(owner->Handle(), WM_NCMBUTTONDBLCLK, 0, 0);
}

void TTePopupMenu::Popup(int x, int y) {
    items_->SetThemeLink(themeLink_);
    if (ActivePopupMenu) {
        ActivePopupMenu->Close();
        if (Application) Application->ProcessMessages();
    }
    TTePopupMenu* const outer = ActivePopupMenu;
    ActivePopupMenu = this;
    struct Reset {
        TTePopupMenu* outer;
        ~Reset() { ActivePopupMenu = outer == ActivePopupMenu ? outer : nullptr; }
    } reset{outer};
    SetPopupMenuOptions(&options_);
    if (DefaultMenuOptions.Enabled) {
        options_.SetShadow(&DefaultMenuOptions.Shadow);
        options_.SetAnimation(&DefaultMenuOptions.Animation);
        options_.SetBlending(&DefaultMenuOptions.Blending);
    }
    if (auto* owner = dynamic_cast<TWinControl*>(Owner())) items_->SetOwnerForm(owner);
    items_->SetFirst(true);
    items_->SetOnlyFirst(true);
    if (OnPopup) OnPopup(this);
    items_->Popup(nullptr, x, y, TRect{});
}

}  // namespace tarvel
