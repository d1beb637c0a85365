#pragma once
// Actions: a command kept apart from the controls and menu entries that run
// it. An action holds what its clients show (caption, enabled, checked,
// image, short-cut, hint, help context, visible) and what they run; each
// client holds one link to its action, and the action pushes every change
// through its clients' links. An action list groups a form's actions, may
// run and update them itself, and holds the images their indexes name.
//
// While the application is idle every shown form asks the action clients on
// it to update their actions (TCustomForm::UpdateActions), so an action
// list's OnUpdate runs before the application waits for input.

#include <functional>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/classlib/Menus.h"

namespace tarvel {

class TBasicActionLink;
class TCustomActionList;
class TCustomImageList;

// Two handlers run the same code when both are empty, or when they hold the
// same function, or callables of one type (one lambda whatever it captured):
// the handler's code is compared, not its data.
bool SameHandlerCode(const TNotifyEvent& a, const TNotifyEvent& b);

class TBasicAction : public TComponent {
    TARVEL_CLASS(TBasicAction, TComponent)

public:
    explicit TBasicAction(TComponent* owner);
    // Its links lose the action; their clients keep what they show.
    ~TBasicAction() override;

    // OnExecute when assigned; true when it ran.
    virtual bool Execute();
    // OnUpdate when assigned; true when it ran.
    virtual bool Update();

    // The client that ran the action last (through its link).
    TComponent* ActionComponent = nullptr;
    int ClientCount() const { return static_cast<int>(clients_.size()); }
    TBasicActionLink* Clients(int index) const { return clients_[static_cast<size_t>(index)]; }

    TNotifyEvent OnExecute;
    TNotifyEvent OnUpdate;

    // Sets OnExecute and tells the clients whose click is linked to it.
    void SetOnExecute(const TNotifyEvent& value);

protected:
    // Every link's change event: the clients take the action's values again.
    virtual void Change();

private:
    friend class TBasicActionLink;
    std::vector<TBasicActionLink*> clients_;
};

// One client's end of the tie to an action.
class TBasicActionLink : public TObject {
    TARVEL_CLASS(TBasicActionLink, TObject)

public:
    TBasicActionLink() = default;
    ~TBasicActionLink() override;

    TBasicAction* Action() const { return action_; }
    virtual void SetAction(TBasicAction* value);
    // Runs the action on behalf of `component`; true when it ran.
    virtual bool Execute(TComponent* component = nullptr);
    virtual bool Update();
    // Whether the client's click is the action's execute handler.
    virtual bool IsOnExecuteLinked() { return true; }
    virtual void SetOnExecute(const TNotifyEvent&) {}

    // Called with the action whenever the action changes.
    TNotifyEvent OnChange;

protected:
    virtual void AssignClient(TObject*) {}
    virtual void Change();

private:
    friend class TBasicAction;
    TBasicAction* action_ = nullptr;
};

// An action that belongs to an action list.
class TContainedAction : public TBasicAction {
    TARVEL_CLASS(TContainedAction, TBasicAction)

public:
    explicit TContainedAction(TComponent* owner);
    ~TContainedAction() override;

    TCustomActionList* ActionList() const { return actionList_; }
    void SetActionList(TCustomActionList* value);
    int Index() const;
    String Category;

    // The list's OnExecute first; when that does not handle it, OnExecute.
    bool Execute() override;
    // The list's OnUpdate first; when that does not handle it, OnUpdate.
    bool Update() override;

private:
    friend class TCustomActionList;
    TCustomActionList* actionList_ = nullptr;
};

// The action with the values its clients show.
class TCustomAction : public TContainedAction {
    TARVEL_CLASS(TCustomAction, TContainedAction)

public:
    explicit TCustomAction(TComponent* owner);

    // Updates first; a disabled action does not run.
    bool Execute() override;

    const String& Caption() const { return caption_; }
    void SetCaption(const String& value);
    bool Checked() const { return checked_; }
    void SetChecked(bool value);
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int HelpContext() const { return helpContext_; }
    void SetHelpContext(int value);
    const String& Hint() const { return hint_; }
    void SetHint(const String& value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    TShortCut ShortCut() const { return shortCut_; }
    void SetShortCut(TShortCut value);
    bool Visible() const { return visible_; }
    void SetVisible(bool value);

    // The image list of the action's list, or null.
    TCustomImageList* Images() const;

private:
    template <class Fn>
    void ForLinks(Fn fn);

    String caption_;
    bool checked_ = false;
    bool enabled_ = true;
    int helpContext_ = 0;
    String hint_;
    int imageIndex_ = -1;
    TShortCut shortCut_ = scNone;
    bool visible_ = true;
};

class TAction : public TCustomAction {
    TARVEL_CLASS(TAction, TCustomAction)

public:
    using TCustomAction::TCustomAction;
};

// The link a client of a TCustomAction holds. Each Is…Linked answers
// whether the client follows that value of the action; the setters pass a
// new value on to a client that follows it. This base follows every value
// of a TCustomAction and shows none; clients override both.
class TActionLink : public TBasicActionLink {
    TARVEL_CLASS(TActionLink, TBasicActionLink)

public:
    virtual bool IsCaptionLinked();
    virtual bool IsCheckedLinked();
    virtual bool IsEnabledLinked();
    virtual bool IsHelpContextLinked();
    virtual bool IsHintLinked();
    virtual bool IsImageIndexLinked();
    virtual bool IsShortCutLinked();
    virtual bool IsVisibleLinked();
    virtual void SetCaption(const String&) {}
    virtual void SetChecked(bool) {}
    virtual void SetEnabled(bool) {}
    virtual void SetHelpContext(int) {}
    virtual void SetHint(const String&) {}
    virtual void SetImageIndex(int) {}
    virtual void SetShortCut(TShortCut) {}
    virtual void SetVisible(bool) {}

protected:
    // The action as a TCustomAction, or null.
    TCustomAction* CustomAction() const;
};

// A control's link: the control follows a value of the action while it
// still shows what the action holds.
class TControlActionLink : public TActionLink {
    TARVEL_CLASS(TControlActionLink, TActionLink)

public:
    explicit TControlActionLink(TControl* client) { AssignClient(client); }

    bool IsCaptionLinked() override;
    bool IsEnabledLinked() override;
    bool IsHintLinked() override;
    bool IsVisibleLinked() override;
    bool IsOnExecuteLinked() override;
    void SetCaption(const String& value) override;
    void SetEnabled(bool value) override;
    void SetHint(const String& value) override;
    void SetVisible(bool value) override;
    void SetOnExecute(const TNotifyEvent& value) override;

protected:
    void AssignClient(TObject* client) override;
    TControl* Client = nullptr;
};

// What an action list is asked about one of its actions: set `handled` to
// keep the action's own handler from running.
using TActionEvent = std::function<void(TBasicAction* action, bool& handled)>;

class TCustomActionList : public TComponent {
    TARVEL_CLASS(TCustomActionList, TComponent)

public:
    explicit TCustomActionList(TComponent* owner);
    // The actions leave the list (their owner frees them).
    ~TCustomActionList() override;

    int ActionCount() const { return static_cast<int>(actions_.size()); }
    // EListError for a bad index.
    TContainedAction* Actions(int index) const;
    int IndexOf(const TContainedAction* action) const;
    void AddAction(TContainedAction* action) { action->SetActionList(this); }
    void RemoveAction(TContainedAction* action);

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);

    // OnExecute / OnUpdate; true when the handler set `handled`.
    virtual bool ExecuteAction(TBasicAction* action);
    virtual bool UpdateAction(TBasicAction* action);

    TActionEvent OnExecute;
    TActionEvent OnUpdate;
    // Any action of the list or the images changed.
    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent* child)>& proc) override;

private:
    friend class TContainedAction;
    std::vector<TContainedAction*> actions_;
    TCustomImageList* images_ = nullptr;
};

class TActionList : public TCustomActionList {
    TARVEL_CLASS(TActionList, TCustomActionList)

public:
    using TCustomActionList::TCustomActionList;
};

}  // namespace tarvel
