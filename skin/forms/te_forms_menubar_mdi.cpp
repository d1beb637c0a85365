// The menu bar's MDI items: on an MDI main form the maximized child's
// system item and its minimize, restore and close buttons.

#include "platform/classlib/Application.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_mdichild.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_resources.h"

namespace tarvel {

void TTeMenuBar::CreateMDIItems() {
    auto* form = dynamic_cast<TCustomForm*>(Owner());
    if (ComponentState().Contains(csDesigning) || !form || form->FormStyle() != fsMDIForm || MDISysItem)
        return;
    auto make = [&](TTeMDIItemKind kind, const char* caption, int image) {
        auto* item = new TTeItem(form);
        item->MDIKind = kind;
        if (caption) item->SetCaption(Utf8ToWide(caption));
        if (image >= 0) {
            item->SetImages(SysMenuImages);
            item->SetImageIndex(image);
        }
        if (!caption || String(caption) != "-")
            item->OnClick = [this](TObject* sender) { DoMDIItemClick(sender); };
        return item;
    };
    MDISysItem = make(mikSysMenu, nullptr, -1);
    MDISysItem->SetVisible(false);
    items_->Insert(0, MDISysItem);
    MDIRestoreItem = make(mikNone, SSysMenuRestore, kimRestore);
    MDIMinimizeItem = make(mikNone, SSysMenuMinimize, kimMinimize);
    MDIMaximizeItem = make(mikNone, SSysMenuMaximize, kimMaximize);
    MDIMaximizeItem->SetEnabled(false);
    MDICloseItem = make(mikNone, SSysMenuClose, kimClose);
    MDICloseItem->ShortCut = ShortCut(VK_F4, TShiftState{ssCtrl});
    MDINextItem = make(mikNone, SMDINext, -1);
    MDINextItem->ShortCut = ShortCut(VK_F6, TShiftState{ssCtrl});
    for (TTeItem* sub : {MDIRestoreItem, MDIMinimizeItem, MDIMaximizeItem, make(mikNone, "-", -1),
                         MDICloseItem, make(mikNone, "-", -1), MDINextItem})
        MDISysItem->Add(sub);
    MDIMinimizeButton = make(mikMinimize, nullptr, -1);
    MDIRestoreButton = make(mikRestore, nullptr, -1);
    MDICloseButton = make(mikClose, nullptr, -1);
    for (TTeItem* b : {MDIMinimizeButton, MDIRestoreButton, MDICloseButton}) {
        b->SetVisible(false);
        items_->Add(b);
    }
}

void TTeMenuBar::ShowMDIItems(TCustomForm* child) {
    // A bar off an MDI main form has no such items.
    if (!MDISysItem) return;
    changeLock_ = true;
    for (TTeItem* i : {MDISysItem, MDIMinimizeButton, MDIRestoreButton, MDICloseButton}) i->SetVisible(true);
    MDIChild = child;
    items_->SetActiveMDIForm(child);
    changeLock_ = false;
    ItemsChanged();
}

void TTeMenuBar::HideMDIItems() {
    if (!MDISysItem) return;
    changeLock_ = true;
    for (TTeItem* i : {MDISysItem, MDIMinimizeButton, MDIRestoreButton, MDICloseButton}) i->SetVisible(false);
    MDIChild = nullptr;
    items_->SetActiveMDIForm(nullptr);
    changeLock_ = false;
    ItemsChanged();
}

void TTeMenuBar::DoMDIItemClick(TObject* sender) {
    TCustomForm* main = Application ? Application->MainForm() : nullptr;
    TCustomForm* child = main ? main->ActiveMDIChild() : nullptr;
    auto* item = dynamic_cast<TTeItem*>(sender);
    if (!item || !child) return;
    MDIChild = child;
    if (item == MDIRestoreItem)
        child->SetWindowState(wsNormal);
    else if (item == MDIMinimizeItem)
        child->SetWindowState(wsMinimized);
    else if (item == MDICloseItem)
        child->Close();
    else if (item == MDINextItem)
        main->Next();
    else if (item->MDIKind == mikClose)
        child->Close();
    else if (item->MDIKind == mikRestore)
        child->SetWindowState(wsNormal);
    else if (item->MDIKind == mikMinimize)
        child->SetWindowState(wsMinimized);
}

}  // namespace tarvel
