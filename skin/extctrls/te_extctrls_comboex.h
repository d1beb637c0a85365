#pragma once
// The extended combo box dressed by the skin: the face, the drop-down
// button and the dropped list as the skinned combo draws them, each themed
// item with its indent (in the list only) and its image. The strings classes
// read and write a combo's items through its window, so what they show is
// what the window holds.

#include "platform/classlib/ComCtrls_ComboBoxEx.h"
#include "platform/classlib/StringLists.h"
#include "skin/extctrls/te_extctrls_combo.h"

namespace tarvel {

// The items of any combo window, asked for with CB_ messages.
class TTeCustomComboBoxStrings : public TStrings {
    TARVEL_CLASS(TTeCustomComboBoxStrings, TStrings)

public:
    explicit TTeCustomComboBoxStrings(TWinControl* combo) : combo_(combo) {}

    int Count() const override;
    // Any length; empty for an index outside the list.
    String Get(int index) const override;
    TObject* GetObject(int index) const override;
    void PutObject(int index, TObject* object) override;
    void Insert(int index, const String& s) override;
    void Delete(int index) override;
    // The items go, the combo's text stays.
    void Clear() override;
    // Ignoring case.
    int IndexOf(const String& s) const override;

protected:
    void SetUpdateState(bool updating) override;
    HWND Window() const { return combo_->Handle(); }
    TWinControl* Combo() const { return combo_; }
    void CheckIndex(int index, int count) const;

private:
    TWinControl* combo_;
};

extern template class TTeSkinnedCombo<TComboBoxEx>;

class TTeComboBoxEx;

// The extended combo's items as strings: each change is a whole item of the
// combo, image and indent included.
class TTeComboBoxExStrings : public TTeCustomComboBoxStrings {
    TARVEL_CLASS(TTeComboBoxExStrings, TTeCustomComboBoxStrings)

public:
    explicit TTeComboBoxExStrings(TTeComboBoxEx* combo);

    // A new item with caption s; Put changes the caption of item i.
    void Insert(int index, const String& s) override;
    void InsertObject(int index, const String& s, TObject* object) override;
    void Put(int index, const String& s) override;
    void PutObject(int index, TObject* object) override;
    void Delete(int index) override;
    void Clear() override;
    // Whole items trade places.
    void Exchange(int index1, int index2) override;

private:
    TTeComboBoxEx* ex_;
};

class TTeComboBoxEx : public TTeSkinnedCombo<TComboBoxEx> {
    TARVEL_CLASS(TTeComboBoxEx, TTeSkinnedCombo<TComboBoxEx>)

public:
    explicit TTeComboBoxEx(TComponent* owner);
    ~TTeComboBoxEx() override;

    TTeComboBoxExStrings* ItemStrings() const { return strings_; }

protected:
    void DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect, bool selected,
                           bool face) override;

private:
    TTeComboBoxExStrings* strings_;
};

}  // namespace tarvel
