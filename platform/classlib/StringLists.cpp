#include "platform/classlib/StringLists.h"

#include <algorithm>
#include <numeric>

#include "platform/classlib/Streams.h"

namespace tarvel {

namespace {

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

bool NeedsQuotes(const String& s) {
    if (s.empty()) return true;
    return std::any_of(s.begin(), s.end(), [](char c) { return IsBlank(c) || c == ',' || c == '"'; });
}

String Quoted(const String& s) {
    String out = "\"";
    for (char c : s) {
        if (c == '"') out += '"';
        out += c;
    }
    return out + "\"";
}

// Reads a quoted item starting at text[i] == '"'; a doubled quote stands for
// one. An unterminated item runs to the end of the text.
String ReadQuoted(const String& text, size_t& i) {
    String out;
    ++i;
    while (i < text.size()) {
        if (text[i] == '"') {
            if (i + 1 < text.size() && text[i + 1] == '"') {
                out += '"';
                i += 2;
                continue;
            }
            ++i;
            break;
        }
        out += text[i++];
    }
    return out;
}

}  // namespace

// ---- TStrings ------------------------------------------------------------------

void TStrings::Error(const String& message) { throw EStringListError(message); }

TObject* TStrings::GetObject(int) const { return nullptr; }

void TStrings::PutObject(int, TObject*) {}

void TStrings::Put(int index, const String& s) {
    TObject* object = GetObject(index);
    BatchUpdate(*this, [&] {
        Delete(index);
        InsertObject(index, s, object);
    });
}

void TStrings::InsertObject(int index, const String& s, TObject* object) {
    Insert(index, s);
    PutObject(index, object);
}

int TStrings::Add(const String& s) { return AddObject(s, nullptr); }

int TStrings::AddObject(const String& s, TObject* object) {
    const int index = Count();
    InsertObject(index, s, object);
    return index;
}

void TStrings::AddStrings(TStrings* strings) {
    BatchUpdate(*this, [&] {
        for (int i = 0; i < strings->Count(); ++i) AddObject(strings->Get(i), strings->GetObject(i));
    });
}

void TStrings::Exchange(int index1, int index2) {
    const String s1 = Get(index1);
    TObject* o1 = GetObject(index1);
    BatchUpdate(*this, [&] {
        Put(index1, Get(index2));
        PutObject(index1, GetObject(index2));
        Put(index2, s1);
        PutObject(index2, o1);
    });
}

void TStrings::Move(int from, int to) {
    if (from == to) return;
    const String s = Get(from);
    TObject* object = GetObject(from);
    BatchUpdate(*this, [&] {
        Delete(from);
        InsertObject(to, s, object);
    });
}

int TStrings::IndexOf(const String& s) const {
    for (int i = 0; i < Count(); ++i) {
        if (CompareStrings(Get(i), s) == 0) return i;
    }
    return -1;
}

int TStrings::IndexOfObject(TObject* object) const {
    for (int i = 0; i < Count(); ++i) {
        if (GetObject(i) == object) return i;
    }
    return -1;
}

bool TStrings::Equals(TStrings* other) const {
    if (other->Count() != Count()) return false;
    for (int i = 0; i < Count(); ++i) {
        if (Get(i) != other->Get(i)) return false;
    }
    return true;
}

String TStrings::Names(int index) const {
    const String s = Get(index);
    const size_t eq = s.find('=');
    return eq == String::npos ? String() : s.substr(0, eq);
}

int TStrings::IndexOfName(const String& name) const {
    for (int i = 0; i < Count(); ++i) {
        const String s = Get(i);
        const size_t eq = s.find('=');
        if (eq != String::npos && CompareStrings(s.substr(0, eq), name) == 0) return i;
    }
    return -1;
}

String TStrings::ValueFromIndex(int index) const {
    const String s = Get(index);
    const size_t eq = s.find('=');
    return eq == String::npos ? String() : s.substr(eq + 1);
}

String TStrings::Values(const String& name) const {
    const int index = IndexOfName(name);
    return index < 0 ? String() : ValueFromIndex(index);
}

void TStrings::SetValues(const String& name, const String& value) {
    const int index = IndexOfName(name);
    if (value.empty()) {
        if (index >= 0) Delete(index);
    } else if (index < 0) {
        Add(name + "=" + value);
    } else {
        Put(index, name + "=" + value);
    }
}

String TStrings::Text() const {
    String out;
    for (int i = 0; i < Count(); ++i) out += Get(i) + LineBreak;
    return out;
}

void TStrings::SetText(const String& text) {
    BatchUpdate(*this, [&] {
        Clear();
        size_t i = 0;
        while (i < text.size()) {
            const size_t end = text.find_first_of("\r\n", i);
            if (end == String::npos) {
                Add(text.substr(i));
                break;
            }
            Add(text.substr(i, end - i));
            i = end + ((text[end] == '\r' && end + 1 < text.size() && text[end + 1] == '\n') ? 2 : 1);
        }
    });
}

String TStrings::CommaText() const {
    String out;
    for (int i = 0; i < Count(); ++i) {
        const String s = Get(i);
        if (i > 0) out += ',';
        out += NeedsQuotes(s) ? Quoted(s) : s;
    }
    return out;
}

void TStrings::SetCommaText(const String& text) {
    BatchUpdate(*this, [&] {
        Clear();
        size_t i = 0;
        while (i < text.size() && IsBlank(text[i])) ++i;
        while (i < text.size()) {
            String item;
            if (text[i] == '"') {
                item = ReadQuoted(text, i);
            } else {
                const size_t start = i;
                while (i < text.size() && !IsBlank(text[i]) && text[i] != ',') ++i;
                item = text.substr(start, i - start);
            }
            Add(item);
            while (i < text.size() && IsBlank(text[i])) ++i;
            if (i < text.size() && text[i] == ',') {
                ++i;
                while (i < text.size() && IsBlank(text[i])) ++i;
            }
        }
    });
}

void TStrings::LoadFromStream(TStream& stream) {
    const int64_t size = std::max<int64_t>(0, stream.Size() - stream.Position());
    String text;
    try {
        text.resize(static_cast<size_t>(size));
    } catch (const std::exception&) {
        throw EOutOfMemory();
    }
    stream.ReadBuffer(text.data(), size);
    SetText(text);
}

void TStrings::SaveToStream(TStream& stream) {
    const String text = Text();
    stream.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void TStrings::LoadFromFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead | fmShareDenyWrite, kMaxTextListFileBytes);
    LoadFromStream(file);
}

void TStrings::SaveToFile(const String& fileName) {
    TFileStream file(fileName, fmCreate);
    SaveToStream(file);
}

void TStrings::BeginUpdate() {
    if (updateCount_ == 0) SetUpdateState(true);
    ++updateCount_;
}

void TStrings::EndUpdate() {
    if (updateCount_ > 0 && --updateCount_ == 0) SetUpdateState(false);
}

void TStrings::Assign(TPersistent* source) {
    auto* strings = dynamic_cast<TStrings*>(source);
    if (!strings) {
        TPersistent::Assign(source);
        return;
    }
    BatchUpdate(*this, [&] {
        Clear();
        AddStrings(strings);
    });
}

void TStrings::SetUpdateState(bool) {}

int TStrings::CompareStrings(const String& a, const String& b) const { return CompareText(a, b); }

// ---- TStringList ---------------------------------------------------------------

TStringList::~TStringList() {
    OnChange = nullptr;
    OnChanging = nullptr;
}

void TStringList::CheckIndex(int index, int limit) const {
    if (index < 0 || index >= limit) Error("List index out of bounds (" + IntToStr(index) + ")");
}

String TStringList::Get(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].text;
}

TObject* TStringList::GetObject(int index) const {
    CheckIndex(index, Count());
    return items_[static_cast<size_t>(index)].object;
}

void TStringList::Put(int index, const String& s) {
    if (sorted_) Error("Operation not allowed on sorted list");
    CheckIndex(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].text = s;
    Changed();
}

void TStringList::PutObject(int index, TObject* object) {
    CheckIndex(index, Count());
    Changing();
    items_[static_cast<size_t>(index)].object = object;
    Changed();
}

void TStringList::Insert(int index, const String& s) { InsertObject(index, s, nullptr); }

void TStringList::InsertObject(int index, const String& s, TObject* object) {
    if (sorted_) Error("Operation not allowed on sorted list");
    CheckIndex(index, Count() + 1);
    InsertItem(index, s, object);
}

void TStringList::InsertItem(int index, const String& s, TObject* object) {
    Changing();
    items_.insert(items_.begin() + index, Item{s, object});
    Changed();
}

void TStringList::Delete(int index) {
    CheckIndex(index, Count());
    Changing();
    items_.erase(items_.begin() + index);
    Changed();
}

void TStringList::Clear() {
    if (items_.empty()) return;
    Changing();
    items_.clear();
    Changed();
}

int TStringList::AddObject(const String& s, TObject* object) {
    int index = Count();
    if (sorted_ && Find(s, index)) {
        if (Duplicates == TDuplicates::dupIgnore) return index;
        if (Duplicates == TDuplicates::dupError) Error("String list does not allow duplicates");
    }
    InsertItem(index, s, object);
    return index;
}

void TStringList::Exchange(int index1, int index2) {
    CheckIndex(index1, Count());
    CheckIndex(index2, Count());
    Changing();
    std::swap(items_[static_cast<size_t>(index1)], items_[static_cast<size_t>(index2)]);
    Changed();
}

int TStringList::IndexOf(const String& s) const {
    if (!sorted_) return TStrings::IndexOf(s);
    int index = 0;
    return Find(s, index) ? index : -1;
}

bool TStringList::Find(const String& s, int& index) const {
    auto it = std::lower_bound(items_.begin(), items_.end(), s, [this](const Item& item, const String& key) {
        return CompareStrings(item.text, key) < 0;
    });
    index = static_cast<int>(it - items_.begin());
    return it != items_.end() && CompareStrings(it->text, s) == 0;
}

void TStringList::SetSorted(bool sorted) {
    if (sorted == sorted_) return;
    if (sorted) Sort();
    sorted_ = sorted;
}

void TStringList::SetCaseSensitive(bool caseSensitive) {
    if (caseSensitive == caseSensitive_) return;
    caseSensitive_ = caseSensitive;
    if (sorted_) Sort();
}

void TStringList::Sort() {
    SortItems([this](const Item& a, const Item& b) { return CompareStrings(a.text, b.text) < 0; });
}

void TStringList::CustomSort(const std::function<int(TStringList*, int, int)>& compare) {
    if (Count() < 2) return;
    // The comparison sees the list unchanged; the order is applied afterwards.
    std::vector<int> order(items_.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(), [&](int a, int b) { return compare(this, a, b) < 0; });
    std::vector<Item> sorted;
    sorted.reserve(items_.size());
    for (int i : order) sorted.push_back(std::move(items_[static_cast<size_t>(i)]));
    Changing();
    items_ = std::move(sorted);
    Changed();
}

void TStringList::SortItems(const std::function<bool(const Item&, const Item&)>& less) {
    if (Count() < 2) return;
    Changing();
    std::stable_sort(items_.begin(), items_.end(), less);
    Changed();
}

void TStringList::SetUpdateState(bool updating) {
    if (updating) {
        Changing();
    } else {
        Changed();
    }
}

int TStringList::CompareStrings(const String& a, const String& b) const {
    if (!caseSensitive_) return CompareText(a, b);
    return a.compare(b) < 0 ? -1 : (a == b ? 0 : 1);
}

void TStringList::Changing() {
    if (UpdateCount() == 0 && OnChanging) OnChanging(this);
}

void TStringList::Changed() {
    if (UpdateCount() == 0 && OnChange) OnChange(this);
}

}  // namespace tarvel
