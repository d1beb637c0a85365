#pragma once
// A plain list of pointers. It owns nothing; a descendant that owns its
// items frees them in Notify and calls Clear in its own destructor (by the
// time ~TList runs, the descendant's Notify is gone).

#include <functional>
#include <vector>

#include "platform/classlib/Objects.h"

namespace tarvel {

enum class TListNotification { lnAdded, lnExtracted, lnDeleted };

class TList : public TObject {
    TARVEL_CLASS(TList, TObject)

public:
    TList() = default;

    int Count() const { return static_cast<int>(items_.size()); }
    // Raises EListError "List index out of bounds (i)" for a bad index.
    void* Items(int index) const;
    void SetItem(int index, void* item);
    void* First() const { return Items(0); }
    void* Last() const { return Items(Count() - 1); }

    int Add(void* item);
    void Insert(int index, void* item);
    void Delete(int index);
    int Remove(void* item);     // the index it had, or -1
    void* Extract(void* item);  // removed without lnDeleted; null when absent
    void Clear();
    int IndexOf(void* item) const;
    void Exchange(int index1, int index2);
    void Move(int from, int to);
    void Pack();  // drops the null entries
    void Sort(const std::function<int(void*, void*)>& compare);

protected:
    // Every addition and removal passes here, after the list has changed.
    virtual void Notify(void* item, TListNotification action);

private:
    void CheckIndex(int index, int limit) const;

    std::vector<void*> items_;
};

}  // namespace tarvel
