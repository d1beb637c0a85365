#include "platform/classlib/Components.h"

#include <algorithm>

namespace tarvel {

namespace {

bool IsValidIdent(const String& s) {
    auto letter = [](char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; };
    if (s.empty() || !letter(s[0])) return false;
    return std::all_of(s.begin() + 1, s.end(), [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

void CollectLoading(TComponent* c, std::vector<TComponent*>& out) {
    if (c->ComponentState().Contains(csLoading)) out.push_back(c);
    for (int i = 0; i < c->ComponentCount(); ++i) CollectLoading(c->Components(i), out);
}

bool InTree(const TComponent* root, const TComponent* c) {
    if (root == c) return true;
    for (int i = 0; i < root->ComponentCount(); ++i) {
        if (InTree(root->Components(i), c)) return true;
    }
    return false;
}

}  // namespace

TComponent::TComponent(TComponent* owner) {
    if (owner) owner->InsertComponent(this);
}

TComponent::~TComponent() {
    Destroying();
    while (!freeNotifies_.empty()) {
        TComponent* other = freeNotifies_.back();
        freeNotifies_.pop_back();
        std::erase(other->freeNotifies_, this);
        other->Notification(this, TOperation::opRemove);
    }
    DestroyComponents();
    if (owner_) owner_->RemoveComponent(this);
}

void TComponent::SetName(const String& name) {
    if (name == name_) return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError("'" + name + "' is not a valid component name");
    if (owner_ && !name.empty()) {
        TComponent* other = owner_->FindComponent(name);
        if (other && other != this) throw EComponentError("A component named " + name + " already exists");
    }
    name_ = name;
}

TComponent* TComponent::Components(int index) const {
    if (index < 0 || index >= ComponentCount())
        throw EListError("List index out of bounds (" + IntToStr(index) + ")");
    return components_[static_cast<size_t>(index)];
}

TComponent* TComponent::FindComponent(std::string_view name) const {
    if (name.empty()) return nullptr;
    for (TComponent* c : components_) {
        if (SameText(c->name_, name)) return c;
    }
    return nullptr;
}

void TComponent::InsertComponent(TComponent* component) {
    if (component->owner_ == this) return;
    if (FindComponent(component->name_)) {
        throw EComponentError("A component named " + component->name_ + " already exists");
    }
    if (component->owner_) component->owner_->RemoveComponent(component);
    components_.push_back(component);
    component->owner_ = this;
    if (state_.Contains(csReading)) component->state_ += {csLoading, csReading};
    if (state_.Contains(csDesigning)) component->SetDesigning(true);
    Notification(component, TOperation::opInsert);
}

void TComponent::RemoveComponent(TComponent* component) {
    if (component->owner_ != this) return;
    Notification(component, TOperation::opRemove);
    std::erase(components_, component);
    component->owner_ = nullptr;
}

void TComponent::DestroyComponents() {
    while (!components_.empty()) delete components_.back();
}

void TComponent::Destroying() {
    if (state_.Contains(csDestroying)) return;
    state_.Include(csDestroying);
    for (TComponent* c : components_) c->Destroying();
}

void TComponent::FreeNotification(TComponent* component) {
    if (!component || component == this) return;
    if (std::find(freeNotifies_.begin(), freeNotifies_.end(), component) == freeNotifies_.end()) {
        freeNotifies_.push_back(component);
    }
    if (std::find(component->freeNotifies_.begin(), component->freeNotifies_.end(), this) ==
        component->freeNotifies_.end()) {
        component->freeNotifies_.push_back(this);
    }
    state_.Include(csFreeNotification);
}

void TComponent::RemoveFreeNotification(TComponent* component) {
    if (!component) return;
    std::erase(freeNotifies_, component);
    std::erase(component->freeNotifies_, this);
    if (freeNotifies_.empty()) state_.Exclude(csFreeNotification);
}

void TComponent::SetDesigning(bool designing, bool includeOwned) {
    if (designing) {
        state_.Include(csDesigning);
    } else {
        state_.Exclude(csDesigning);
    }
    if (includeOwned) {
        for (TComponent* c : components_) c->SetDesigning(designing, true);
    }
}

void TComponent::Notification(TComponent* component, TOperation operation) {
    if (operation == TOperation::opRemove) RemoveFreeNotification(component);
    NotifyOwned(component, operation);
}

void TComponent::NotifyOwned(TComponent* component, TOperation operation) {
    // A handler may free components of this owner: walk down from the end and
    // keep the index within the list as it shrinks.
    for (int i = ComponentCount() - 1; i >= 0; --i) {
        if (i >= ComponentCount()) {
            i = ComponentCount();
            continue;
        }
        TComponent* c = components_[static_cast<size_t>(i)];
        if (c != component) c->Notification(component, operation);
    }
}

void TComponent::Loaded() { state_.Exclude(csLoading); }

// ---- TLoadingScope -------------------------------------------------------------

TLoadingScope::TLoadingScope(TComponent* root) : root_(root) { root_->state_ += {csLoading, csReading}; }

TLoadingScope::~TLoadingScope() {
    if (finished_) return;
    for (TComponent* c : Loading()) c->state_ -= {csLoading, csReading};
}

std::vector<TComponent*> TLoadingScope::Loading() const {
    std::vector<TComponent*> out;
    CollectLoading(root_, out);
    return out;
}

void TLoadingScope::Finish() {
    if (finished_) return;
    finished_ = true;
    const std::vector<TComponent*> loading = Loading();
    for (TComponent* c : loading) c->state_.Exclude(csReading);
    for (TComponent* c : loading) {
        // Loaded of one component may free another of the tree.
        if (InTree(root_, c)) c->Loaded();
    }
}

}  // namespace tarvel
