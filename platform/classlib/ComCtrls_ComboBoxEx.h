#pragma once
// The extended combo box: items with an image, a selected image, an
// overlay and an indent (10 px per level in the list, none in the face),
// and data of their own, drawn from an image list.

#include <vector>

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

enum TComboBoxExStyleEx { csExCaseSensitive, csExNoEditImage, csExNoEditImageIndent, csExNoSizeLimit, csExPathWordBreak };
using TComboBoxExStyles = TSet<TComboBoxExStyleEx>;

class TComboBoxEx : public TCustomComboBox {
    TARVEL_CLASS(TComboBoxEx, TCustomComboBox)

public:
    explicit TComboBoxEx(TComponent* owner);

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

    static constexpr int kIndentWidth = 10;

protected:
    bool IsOwnerDraw() const override { return true; }
    void DrawItem(int index, const TRect& rect, TOwnerDrawState state) override;
    void Notification(TComponent* component, TOperation operation) override;

private:
    void CheckIndex(int index, bool allowEnd) const;
    TCustomImageList* images_ = nullptr;
    TComboBoxExStyles styleEx_;
    std::vector<TComboExItem> itemsEx_;
};

}  // namespace tarvel
