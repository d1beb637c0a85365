#pragma once
// The base of the small collections the controls keep (status panels, list
// columns, header sections): items owned in order, looked up by index with
// the class library's list-index error.

#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Strings.h"

namespace tarvel {

template <class T>
class TOwnedList {
public:
    int Count() const { return static_cast<int>(items_.size()); }
    T* Items(int index) const {
        if (index < 0 || index >= Count())
            throw EListError("List index out of bounds (" + IntToStr(index) + ")");
        return items_[static_cast<size_t>(index)].get();
    }
    int IndexOf(const T* item) const {
        for (size_t i = 0; i < items_.size(); ++i)
            if (items_[i].get() == item) return static_cast<int>(i);
        return -1;
    }

protected:
    T* Append(T* item) {
        items_.emplace_back(item);
        return item;
    }
    void Remove(int index) {
        Items(index);
        items_.erase(items_.begin() + index);
    }
    void RemoveAll() { items_.clear(); }

private:
    std::vector<std::unique_ptr<T>> items_;
};

}  // namespace tarvel
