#pragma once
// Small containers of the control library (a stack, a queue, object lists)
// and the undo history of the library-drawn edit. The history keeps one
// record per step the user would undo at once: a run of typed characters,
// a run of Backspace or Delete presses, or a replaced selection together
// with what replaced it. There is no redo: undo walks back.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Components.h"
#include "platform/classlib/Lists.h"

namespace tarvel {

class TTeEdit;

// A list of untyped pointers that it does not own. Pop and Peek on an empty
// list raise the class library's list index error.
class TTeOrderedList : public TObject {
    TARVEL_CLASS(TTeOrderedList, TObject)

public:
    TTeOrderedList() = default;
    int Count() const { return list_.Count(); }
    bool AtLeast(int n) const { return Count() >= n; }
    void* Push(void* p) {
        PushItem(p);
        return p;
    }
    void* Pop() { return PopItem(); }
    void* Peek() { return PeekItem(); }

protected:
    virtual void PushItem(void* p) = 0;
    virtual void* PopItem();
    virtual void* PeekItem();
    TList& List() { return list_; }

private:
    TList list_;
};

class TTeStack : public TTeOrderedList {
    TARVEL_CLASS(TTeStack, TTeOrderedList)

protected:
    void PushItem(void* p) override { List().Add(p); }
};

class TTeQueue : public TTeOrderedList {
    TARVEL_CLASS(TTeQueue, TTeOrderedList)

protected:
    void PushItem(void* p) override { List().Insert(0, p); }
};

class TTeObjectStack : public TTeStack {
    TARVEL_CLASS(TTeObjectStack, TTeStack)

public:
    TObject* Push(TObject* o) { return static_cast<TObject*>(TTeStack::Push(o)); }
    TObject* Pop() { return static_cast<TObject*>(TTeStack::Pop()); }
    TObject* Peek() { return static_cast<TObject*>(TTeStack::Peek()); }
};

class TTeObjectQueue : public TTeQueue {
    TARVEL_CLASS(TTeObjectQueue, TTeQueue)

public:
    TObject* Push(TObject* o) { return static_cast<TObject*>(TTeQueue::Push(o)); }
    TObject* Pop() { return static_cast<TObject*>(TTeQueue::Pop()); }
    TObject* Peek() { return static_cast<TObject*>(TTeQueue::Peek()); }
};

// A list of objects. OwnsObjects is only kept: the list never frees its items.
class TTeObjectList : public TList {
    TARVEL_CLASS(TTeObjectList, TList)

public:
    explicit TTeObjectList(bool ownsObjects = true) : ownsObjects_(ownsObjects) {}
    bool OwnsObjects() const { return ownsObjects_; }
    void SetOwnsObjects(bool v) { ownsObjects_ = v; }
    int Add(TObject* o) { return TList::Add(o); }
    int IndexOf(TObject* o) const { return TList::IndexOf(o); }
    void Insert(int index, TObject* o) { TList::Insert(index, o); }
    int Remove(TObject* o) { return TList::Remove(o); }
    TObject* Items(int index) const { return static_cast<TObject*>(TList::Items(index)); }
    void SetItem(int index, TObject* o) { TList::SetItem(index, o); }
    // The first item at or after `start` of class `cls` (exact) or of a
    // class derived from it; -1 when none.
    int FindInstanceOf(TClass cls, bool exact = true, int start = 0) const;

private:
    bool ownsObjects_;
};

// A list of components, typed.
class TTeComponentList : public TTeObjectList {
    TARVEL_CLASS(TTeComponentList, TTeObjectList)

public:
    using TTeObjectList::TTeObjectList;
    int Add(TComponent* c) { return TTeObjectList::Add(c); }
    int IndexOf(TComponent* c) const { return TTeObjectList::IndexOf(c); }
    void Insert(int index, TComponent* c) { TTeObjectList::Insert(index, c); }
    int Remove(TComponent* c) { return TTeObjectList::Remove(c); }
    TComponent* Items(int index) const { return static_cast<TComponent*>(TTeObjectList::Items(index)); }
    void SetItem(int index, TComponent* c) { TTeObjectList::SetItem(index, c); }
};

// A list of class references.
class TTeClassList : public TList {
    TARVEL_CLASS(TTeClassList, TList)

public:
    int Add(TClass c) { return TList::Add(Untyped(c)); }
    int IndexOf(TClass c) const { return TList::IndexOf(Untyped(c)); }
    void Insert(int index, TClass c) { TList::Insert(index, Untyped(c)); }
    int Remove(TClass c) { return TList::Remove(Untyped(c)); }
    TClass Items(int index) const { return static_cast<TClass>(TList::Items(index)); }
    void SetItem(int index, TClass c) { TList::SetItem(index, Untyped(c)); }

private:
    static void* Untyped(TClass c) { return const_cast<TMetaClass*>(c); }
};

enum TEditActionKind : uint8_t { eakDeleted, eakInserted };

struct TEditAction {
    TEditActionKind Kind = eakDeleted;
    bool Chained = false;
    int32_t Position = 0;  // 1-based index of the fragment's first character
    WideString Text;       // deletions: what was deleted
    int32_t Length = 0;    // insertions: how many characters came in
};
using PEditAction = TEditAction*;

class TEditActionStack : public TTeStack {
    TARVEL_CLASS(TEditActionStack, TTeStack)

public:
    explicit TEditActionStack(TTeEdit* edit) : edit_(edit) {}
    ~TEditActionStack() override;
    TEditActionStack(const TEditActionStack&) = delete;
    TEditActionStack& operator=(const TEditActionStack&) = delete;

    // Before `text` is deleted from the 1-based position.
    void FragmentDeleted(int position, const WideString& text);
    // Before `length` characters are inserted at the 1-based position;
    // chained when they replace a selection whose deletion was just recorded.
    void FragmentInserted(int position, int length, bool chained);
    // Caret moves are not part of the history and end no run.
    void CaretMovedBy(int) {}
    // Undoes one step; false when there was none.
    bool RollBackAction();
    // Forgets every step (the program replaced the text).
    void Clear();

    const TEditAction* Top() { return Count() ? static_cast<PEditAction>(Peek()) : nullptr; }
    const TEditAction* At(int index) { return static_cast<PEditAction>(List().Items(index)); }

private:
    TTeEdit* edit_;
};

}  // namespace tarvel
