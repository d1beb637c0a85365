#pragma once
// The extended combo box: items with an image, a selected image, an
// overlay and an indent (10 px per level in the list, none in the face),
// and data of their own, drawn from an image list.

#include <vector>

#include "platform/classlib/ComCtrlMessages.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/StdCtrls.h"

namespace tarvel {

struct TComboExItem {
    String Caption;
    int ImageIndex = -1;
    int SelectedImageIndex = -1;
    int OverlayImageIndex = -1;
    int Indent = 0;
    TObject* Data = nullptr;
};

// Why an edit in the edit part ended (CBEN_ENDEDIT).
constexpr int CBENF_KILLFOCUS = 1;
constexpr int CBENF_RETURN = 2;
constexpr int CBENF_ESCAPE = 3;  // the text went back to what it was
constexpr int CBENF_DROPDOWN = 4;
constexpr size_t CBEMAXSTRLEN = 260;

struct NMCBEENDEDIT {
    NMHDR hdr;
    bool fChanged = false;           // the text differs from the one the edit began with
    int iNewSelection = -1;          // the item whose caption is the text, or -1
    char szText[CBEMAXSTRLEN] = {};  // the text (UTF-8, cut at a character)
    int iWhy = 0;
};

enum TComboBoxExStyleEx {
    csExCaseSensitive,
    csExNoEditImage,
    csExNoEditImageIndent,
    csExNoSizeLimit,
    csExPathWordBreak
};
using TComboBoxExStyles = TSet<TComboBoxExStyleEx>;

// The extended combo over any combo base: the class library's own combo, or
// a combo layer that another library puts between. Its AddItem takes a whole
// item, beside a base's AddItem of a text and an object.
#pragma GCC diagnostic push
#pragma GCC diagnostic ignored "-Woverloaded-virtual"
template <class Base>
class TComboBoxExOn : public Base {
    TARVEL_CLASS(TComboBoxExOn, Base)

public:
    explicit TComboBoxExOn(TComponent* owner);

    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* images);
    TComboBoxExStyles StyleEx() const { return styleEx_; }
    void SetStyleEx(TComboBoxExStyles s);

    int ItemsExCount() const { return static_cast<int>(itemsEx_.size()); }
    const TComboExItem& ItemsEx(int index) const;
    int AddItem(const TComboExItem& item);
    void InsertItem(int index, const TComboExItem& item);
    void SetItem(int index, const TComboExItem& item);
    void DeleteItem(int index);
    void ClearItems();
    // The item whose caption is `caption` (case counting with csExCaseSensitive), or -1.
    int IndexOfCaption(const String& caption) const;
    void SetText(const String& text) override;

    // With an edit part (csDropDown, csSimple): the user began editing it
    // (the focus came in, or typing after an edit ended) and ended the edit
    // (CBEN_BEGINEDIT / CBEN_ENDEDIT to the parent first).
    TNotifyEvent OnBeginEdit;
    TNotifyEvent OnEndEdit;

    static constexpr int kIndentWidth = 10;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CNCommandEx(TMessage& m);
    void EditCommitKey(WORD key) override;
    bool IsOwnerDraw() const override { return true; }
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    // Item `index`'s indent (in the list only) and image within `rect`;
    // answers where its caption goes.
    TRect DrawItemImage(TCanvas* canvas, int index, const TRect& rect, bool selected, bool face);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CheckIndex(int index, bool allowEnd) const;
    void BeginEdit();
    void EndEdit(int why);
    bool editing_ = false;
    String editBase_;  // the text the edit began with
    TCustomImageList* images_ = nullptr;
    TComboBoxExStyles styleEx_;
    std::vector<TComboExItem> itemsEx_;
};
#pragma GCC diagnostic pop

extern template class TComboBoxExOn<TCustomComboBox>;

class TComboBoxEx : public TComboBoxExOn<TCustomComboBox> {
    TARVEL_CLASS(TComboBoxEx, TComboBoxExOn<TCustomComboBox>)

public:
    using TComboBoxExOn::TComboBoxExOn;
};

}  // namespace tarvel

#include "platform/classlib/ComCtrls_ComboBoxEx_impl.h"
