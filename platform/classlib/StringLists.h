#pragma once
// Lists of text lines, each with an object pointer (not owned): the abstract
// TStrings with everything built on its few primitives, and TStringList.

#include <functional>
#include <vector>

#include "platform/classlib/Persistent.h"

namespace tarvel {

class TStream;

class EStringListError : public EListError {
public:
    using EListError::EListError;
};

enum class TDuplicates { dupIgnore, dupAccept, dupError };

class TStrings : public TPersistent {
    TARVEL_CLASS(TStrings, TPersistent)

public:
    // ---- the primitives a descendant supplies
    virtual int Count() const = 0;
    virtual String Get(int index) const = 0;
    virtual TObject* GetObject(int index) const;   // null unless the list keeps objects
    virtual void Put(int index, const String& s);  // keeps the line's object
    virtual void PutObject(int index, TObject* object);
    virtual void Insert(int index, const String& s) = 0;
    virtual void InsertObject(int index, const String& s, TObject* object);
    virtual void Delete(int index) = 0;
    virtual void Clear() = 0;

    String Strings(int index) const { return Get(index); }
    TObject* Objects(int index) const { return GetObject(index); }

    virtual int Add(const String& s);
    virtual int AddObject(const String& s, TObject* object);
    void Append(const String& s) { Add(s); }
    void AddStrings(TStrings* strings);
    virtual void Exchange(int index1, int index2);
    virtual void Move(int from, int to);
    // Lines compare as CompareStrings says (case-insensitive here).
    virtual int IndexOf(const String& s) const;
    int IndexOfObject(TObject* object) const;
    bool Equals(TStrings* other) const;  // same lines, case counting

    // "name=value" lines. Names(i) is "" for a line without "=".
    String Names(int index) const;
    int IndexOfName(const String& name) const;
    String Values(const String& name) const;
    String ValueFromIndex(int index) const;
    // An empty value removes the line.
    void SetValues(const String& name, const String& value);

    // Every line followed by LineBreak. Setting splits at CR LF, LF or CR;
    // a final line break adds no empty line.
    virtual String Text() const;
    virtual void SetText(const String& text);
    String LineBreak = "\r\n";

    // Lines separated by commas; a line that is empty or holds a blank, a
    // control character, a comma or a double quote is written in double quotes
    // with its quotes doubled (so an empty line survives the round trip).
    // Reading also splits unquoted text at blanks.
    String CommaText() const;
    void SetCommaText(const String& text);

    virtual void LoadFromStream(TStream& stream);  // from the position to the end
    virtual void SaveToStream(TStream& stream);
    void LoadFromFile(const String& fileName);
    void SaveToFile(const String& fileName);

    void BeginUpdate();
    void EndUpdate();

    // From another TStrings: the lines and objects are copied.
    void Assign(TPersistent* source) override;

protected:
    // Called when the first BeginUpdate starts (true) and the last EndUpdate ends it.
    virtual void SetUpdateState(bool updating);
    virtual int CompareStrings(const String& a, const String& b) const;
    int UpdateCount() const { return updateCount_; }
    [[noreturn]] static void Error(const String& message);  // EStringListError

private:
    int updateCount_ = 0;
};

class TStringList : public TStrings {
    TARVEL_CLASS(TStringList, TStrings)

public:
    ~TStringList() override;

    int Count() const override { return static_cast<int>(items_.size()); }
    String Get(int index) const override;
    TObject* GetObject(int index) const override;
    void Put(int index, const String& s) override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const String& s) override;
    void InsertObject(int index, const String& s, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    int AddObject(const String& s, TObject* object) override;
    void Exchange(int index1, int index2) override;
    int IndexOf(const String& s) const override;

    // A sorted list keeps its lines in CompareStrings order; lines go in by
    // Add, and Insert or Put raise "Operation not allowed on sorted list".
    bool Sorted() const { return sorted_; }
    void SetSorted(bool sorted);
    TDuplicates Duplicates = TDuplicates::dupIgnore;  // what Add does with a line already in a sorted list
    bool CaseSensitive() const { return caseSensitive_; }
    void SetCaseSensitive(bool caseSensitive);
    // Binary search of a sorted list: true when found; `index` is where the
    // line is, or would go (the first of equal lines).
    bool Find(const String& s, int& index) const;
    virtual void Sort();
    void CustomSort(const std::function<int(TStringList* list, int index1, int index2)>& compare);

    TNotifyEvent OnChange;
    TNotifyEvent OnChanging;

protected:
    void SetUpdateState(bool updating) override;
    int CompareStrings(const String& a, const String& b) const override;
    virtual void Changing();
    virtual void Changed();

private:
    struct Item {
        String text;
        TObject* object = nullptr;
    };
    void CheckIndex(int index, int limit) const;
    void InsertItem(int index, const String& s, TObject* object);
    void SortItems(const std::function<bool(const Item&, const Item&)>& less);

    std::vector<Item> items_;
    bool sorted_ = false;
    bool caseSensitive_ = false;
};

}  // namespace tarvel
