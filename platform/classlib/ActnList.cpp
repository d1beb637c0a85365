#include "platform/classlib/ActnList.h"

#include <algorithm>

#include "platform/classlib/ImageLists.h"

namespace tarvel {

bool SameHandlerCode(const TNotifyEvent& a, const TNotifyEvent& b) {
    if (!a || !b) return !a && !b;
    if (a.target_type() != b.target_type()) return false;
    using Function = void (*)(TObject*);
    if (const Function* f = a.target<Function>()) return *f == *b.target<Function>();
    return true;
}

// ---- TBasicAction -------------------------------------------------------------------------------

TBasicAction::TBasicAction(TComponent* owner) : TComponent(owner) {}

TBasicAction::~TBasicAction() {
    // Each link's SetAction(null) takes it off the list.
    while (!clients_.empty()) clients_.back()->SetAction(nullptr);
}

bool TBasicAction::Execute() {
    if (!OnExecute) return false;
    OnExecute(this);
    return true;
}

bool TBasicAction::Update() {
    if (!OnUpdate) return false;
    OnUpdate(this);
    return true;
}

void TBasicAction::SetOnExecute(const TNotifyEvent& value) {
    // A handler may drop a link; walk a copy.
    const std::vector<TBasicActionLink*> links = clients_;
    for (TBasicActionLink* link : links) link->SetOnExecute(value);
    OnExecute = value;
    Change();
}

void TBasicAction::Change() {
    const std::vector<TBasicActionLink*> links = clients_;
    for (TBasicActionLink* link : links)
        if (std::ranges::find(clients_, link) != clients_.end()) link->Change();
}

// ---- TBasicActionLink ---------------------------------------------------------------------------

TBasicActionLink::~TBasicActionLink() {
    if (action_) std::erase(action_->clients_, this);
}

void TBasicActionLink::SetAction(TBasicAction* value) {
    if (value == action_) return;
    if (action_) std::erase(action_->clients_, this);
    action_ = value;
    if (action_) action_->clients_.push_back(this);
}

bool TBasicActionLink::Execute(TComponent* component) {
    if (!action_) return false;
    action_->ActionComponent = component;
    const bool ran = action_->Execute();
    // The handler may have freed the action.
    if (action_) action_->ActionComponent = nullptr;
    return ran;
}

bool TBasicActionLink::Update() { return action_ && action_->Update(); }

void TBasicActionLink::Change() {
    if (OnChange) OnChange(action_);
}

// ---- TContainedAction ---------------------------------------------------------------------------

TContainedAction::TContainedAction(TComponent* owner) : TBasicAction(owner) {}

TContainedAction::~TContainedAction() { SetActionList(nullptr); }

void TContainedAction::SetActionList(TCustomActionList* value) {
    if (value == actionList_) return;
    if (actionList_) std::erase(actionList_->actions_, this);
    actionList_ = value;
    if (actionList_) actionList_->actions_.push_back(this);
}

int TContainedAction::Index() const { return actionList_ ? actionList_->IndexOf(this) : -1; }

bool TContainedAction::Execute() {
    return (actionList_ && actionList_->ExecuteAction(this)) || inherited::Execute();
}

bool TContainedAction::Update() {
    return (actionList_ && actionList_->UpdateAction(this)) || inherited::Update();
}

// ---- TCustomAction ------------------------------------------------------------------------------

TCustomAction::TCustomAction(TComponent* owner) : TContainedAction(owner) {}

bool TCustomAction::Execute() {
    Update();
    return enabled_ && inherited::Execute();
}

template <class Fn>
void TCustomAction::ForLinks(Fn fn) {
    for (int i = 0; i < ClientCount(); ++i)
        if (auto* link = dynamic_cast<TActionLink*>(Clients(i))) fn(*link);
}

// Each client is told before the action stores the value, so a link can
// still compare the client with the old one (is it linked?).
void TCustomAction::SetCaption(const String& value) {
    if (value == caption_) return;
    ForLinks([&](TActionLink& l) { l.SetCaption(value); });
    caption_ = value;
    Change();
}

void TCustomAction::SetChecked(bool value) {
    if (value == checked_) return;
    ForLinks([&](TActionLink& l) { l.SetChecked(value); });
    checked_ = value;
    Change();
}

void TCustomAction::SetEnabled(bool value) {
    if (value == enabled_) return;
    ForLinks([&](TActionLink& l) { l.SetEnabled(value); });
    enabled_ = value;
    Change();
}

void TCustomAction::SetHelpContext(int value) {
    if (value == helpContext_) return;
    ForLinks([&](TActionLink& l) { l.SetHelpContext(value); });
    helpContext_ = value;
    Change();
}

void TCustomAction::SetHint(const String& value) {
    if (value == hint_) return;
    ForLinks([&](TActionLink& l) { l.SetHint(value); });
    hint_ = value;
    Change();
}

void TCustomAction::SetImageIndex(int value) {
    if (value == imageIndex_) return;
    ForLinks([&](TActionLink& l) { l.SetImageIndex(value); });
    imageIndex_ = value;
    Change();
}

void TCustomAction::SetShortCut(TShortCut value) {
    if (value == shortCut_) return;
    ForLinks([&](TActionLink& l) { l.SetShortCut(value); });
    shortCut_ = value;
    Change();
}

void TCustomAction::SetVisible(bool value) {
    if (value == visible_) return;
    ForLinks([&](TActionLink& l) { l.SetVisible(value); });
    visible_ = value;
    Change();
}

TCustomImageList* TCustomAction::Images() const { return ActionList() ? ActionList()->Images() : nullptr; }

// ---- TActionLink --------------------------------------------------------------------------------

TCustomAction* TActionLink::CustomAction() const { return dynamic_cast<TCustomAction*>(Action()); }

bool TActionLink::IsCaptionLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsCheckedLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsEnabledLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHelpContextLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsHintLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsImageIndexLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsShortCutLinked() { return CustomAction() != nullptr; }
bool TActionLink::IsVisibleLinked() { return CustomAction() != nullptr; }

// ---- TControlActionLink -------------------------------------------------------------------------

void TControlActionLink::AssignClient(TObject* client) { Client = dynamic_cast<TControl*>(client); }

bool TControlActionLink::IsCaptionLinked() {
    return inherited::IsCaptionLinked() && Client->Caption() == CustomAction()->Caption();
}

bool TControlActionLink::IsEnabledLinked() {
    return inherited::IsEnabledLinked() && Client->Enabled() == CustomAction()->Enabled();
}

bool TControlActionLink::IsHintLinked() {
    return inherited::IsHintLinked() && Client->Hint() == CustomAction()->Hint();
}

bool TControlActionLink::IsVisibleLinked() {
    return inherited::IsVisibleLinked() && Client->Visible() == CustomAction()->Visible();
}

bool TControlActionLink::IsOnExecuteLinked() {
    return inherited::IsOnExecuteLinked() && SameHandlerCode(Client->OnClick, Action()->OnExecute);
}

void TControlActionLink::SetCaption(const String& value) {
    if (IsCaptionLinked()) Client->SetCaption(value);
}

void TControlActionLink::SetEnabled(bool value) {
    if (IsEnabledLinked()) Client->SetEnabled(value);
}

void TControlActionLink::SetHint(const String& value) {
    if (IsHintLinked()) Client->SetHint(value);
}

void TControlActionLink::SetVisible(bool value) {
    if (IsVisibleLinked()) Client->SetVisible(value);
}

void TControlActionLink::SetOnExecute(const TNotifyEvent& value) {
    if (IsOnExecuteLinked()) Client->OnClick = value;
}

// ---- TCustomActionList --------------------------------------------------------------------------

TCustomActionList::TCustomActionList(TComponent* owner) : TComponent(owner) {}

TCustomActionList::~TCustomActionList() {
    while (!actions_.empty()) actions_.back()->SetActionList(nullptr);
}

TContainedAction* TCustomActionList::Actions(int index) const {
    if (index < 0 || index >= ActionCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return actions_[static_cast<size_t>(index)];
}

int TCustomActionList::IndexOf(const TContainedAction* action) const {
    const auto it = std::ranges::find(actions_, action);
    return it == actions_.end() ? -1 : static_cast<int>(it - actions_.begin());
}

void TCustomActionList::RemoveAction(TContainedAction* action) {
    if (action && action->actionList_ == this) action->SetActionList(nullptr);
}

void TCustomActionList::SetImages(TCustomImageList* value) {
    if (value == images_) return;
    if (images_) images_->RemoveFreeNotification(this);
    images_ = value;
    if (images_) images_->FreeNotification(this);
    if (OnChange) OnChange(this);
}

bool TCustomActionList::ExecuteAction(TBasicAction* action) {
    bool handled = false;
    if (OnExecute) OnExecute(action, handled);
    return handled;
}

bool TCustomActionList::UpdateAction(TBasicAction* action) {
    bool handled = false;
    if (OnUpdate) OnUpdate(action, handled);
    return handled;
}

void TCustomActionList::Notification(TComponent* component, TOperation operation) {
    TComponent::Notification(component, operation);
    if (operation != TOperation::opRemove) return;
    if (component == images_) {
        images_ = nullptr;
        if (OnChange) OnChange(this);
    }
    // An action going is taken off by its own destructor.
}

void TCustomActionList::GetChildren(const std::function<void(TComponent* child)>& proc) {
    for (TContainedAction* action : actions_)
        if (action->Owner() == Owner()) proc(action);
}

}  // namespace tarvel
