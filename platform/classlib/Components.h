#pragma once
// Components: named objects in an owner tree. An owner frees what it owns;
// components learn of each other's removal through Notification, from their
// owner's tree and from the free notifications they asked for.

#include <functional>
#include <vector>

#include "platform/classlib/Persistent.h"
#include "platform/classlib/Sets.h"

namespace tarvel {

class EComponentError : public Exception {
public:
    using Exception::Exception;
};

enum class TOperation { opInsert, opRemove };

enum TComponentStateFlag {
    csLoading,  // being built from its description; Loaded ends it
    csReading,  // its properties are being set by that build
    csWriting,
    csDestroying,  // its destruction has begun
    csDesigning,   // shown in a designer (never set by the tool itself)
    csAncestor,
    csUpdating,
    csFixups,
    csFreeNotification,  // some component asked to hear of its removal
    csInline,
    csDesignInstance,
};
using TComponentState = TSet<TComponentStateFlag>;

class TComponent : public TPersistent {
    TARVEL_CLASS(TComponent, TPersistent)

public:
    using TCreateArgs = std::tuple<TComponent*>;

    // Joins `owner`'s components (when given), which then frees it.
    explicit TComponent(TComponent* owner);
    // Tells the components that asked for free notification, frees the owned
    // components (last created first) and leaves the owner. A descendant whose
    // owned components may still use it calls Destroying() and
    // DestroyComponents() first in its own destructor.
    ~TComponent() override;

    TComponent* Owner() const { return owner_; }
    TPersistent* GetOwner() override { return owner_; }

    const String& Name() const { return name_; }
    // Raises EComponentError for a name that is not an identifier
    // ("'x' is not a valid component name") or that another component of the
    // same owner has ("A component named X already exists").
    virtual void SetName(const String& name);

    TComponentState ComponentState() const { return state_; }
    int ComponentCount() const { return static_cast<int>(components_.size()); }
    TComponent* Components(int index) const;  // EListError for a bad index
    // The owned component of that name, ignoring case; null when none.
    TComponent* FindComponent(std::string_view name) const;

    void InsertComponent(TComponent* component);
    void RemoveComponent(TComponent* component);
    void DestroyComponents();
    void Destroying();  // sets csDestroying here and in the owned components

    // `component` will receive Notification(this, opRemove) when this goes,
    // and this when `component` goes.
    void FreeNotification(TComponent* component);
    void RemoveFreeNotification(TComponent* component);

    void SetDesigning(bool designing, bool includeOwned = true);

    int Tag = 0;

protected:
    // A component was added to (opInsert) or is leaving (opRemove) this one's
    // owner tree, or one this component holds a free notification with is
    // going. The default passes it on to the owned components. An inserted
    // component is still being made, and a removed one may be half destroyed:
    // either identifies as a plain TComponent, so compare it, don't use it.
    virtual void Notification(TComponent* component, TOperation operation);
    // The end of a build: csLoading is cleared here, so a descendant calls the
    // inherited Loaded before its own work.
    virtual void Loaded();
    // The components a component stream stores after this one's properties,
    // as its children; none by default.
    virtual void GetChildren(const std::function<void(TComponent* child)>&) {}

private:
    friend class TLoadingScope;
    friend class TWriter;
    void NotifyOwned(TComponent* component, TOperation operation);

    TComponent* owner_ = nullptr;
    String name_;
    TComponentState state_;
    std::vector<TComponent*> components_;
    std::vector<TComponent*> freeNotifies_;
};

// Builds a component tree in code the way a description would be read:
// while the scope lasts, the root and every component inserted into a
// component being read carry csLoading and csReading. Finish clears csReading
// and calls Loaded on each of them, the root first, then in creation order.
// A scope left without Finish (an exception while building) only clears the
// flags.
class TLoadingScope {
public:
    explicit TLoadingScope(TComponent* root);
    ~TLoadingScope();
    TLoadingScope(const TLoadingScope&) = delete;
    TLoadingScope& operator=(const TLoadingScope&) = delete;

    void Finish();

private:
    std::vector<TComponent*> Loading() const;

    TComponent* root_;
    bool finished_ = false;
};

}  // namespace tarvel
