#pragma once
// The class library's combo box drawn from the theme. When the theme has an
// Edit element the face is ours: the skinned edit frame, the theme's edit
// interior, the drop-down button and the selected item. When it also has a
// List element every item (the face's and the dropped list's) is drawn as a
// theme list item, and the dropped list's frame and scroll bar are drawn by
// the theme too: its arrows scroll one line a click, its track does nothing,
// its thumb drags the top item and the wheel scrolls a line.

#include "platform/classlib/StdCtrls_ComboBox.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extctrls/te_extctrls_subclass.h"

namespace tarvel {

// The parts of a list's vertical scroll bar in its window's coordinates;
// NullRect for each while the bar is hidden.
struct TListBarParts {
    TRect bar = NullRect, up = NullRect, down = NullRect, track = NullRect, thumb = NullRect;
};
TListBarParts ListBarParts(HWND list);
// The top item a thumb dragged to `y` asks for: its share of the track over
// the items that do not fit, rounded half to even, within 0..count - fit.
int ThumbTopIndex(int y, const TRect& track, int count, int clientHeight, int itemHeight);

// The skin of a class-library combo, for the plain and the extended one.
template <class Base>
class TTeSkinnedCombo : public Base, public TTeThemeLinked, public TTeMouseInside {
    TARVEL_CLASS(TTeSkinnedCombo, Base)

public:
    explicit TTeSkinnedCombo(TComponent* owner);
    ~TTeSkinnedCombo() override;

    // The dropped list is ours to draw.
    HWND SubclassedList() const { return listHook_.Window(); }
    HWND SubclassedEdit() const { return editHook_.Window(); }

    virtual void PaintBorder(TCanvas& canvas, const TRect& rect);
    // The drop-down button (theme), or the colour and a classic button.
    virtual void PaintBuffer(TCanvas& canvas, const TRect& rect);
    // Draws item `index` into `rect` as the list draws it, through the
    // combo's own WM_DRAWITEM.
    void DrawItemThemed(TCanvas& canvas, int index, bool selected, const TRect& rect);

protected:
    static void DeclareMessages(TMessageTable& t);
    void WndProc(TMessage& m) override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void Notification(TComponent* component, TOperation operation) override;
    bool IsOwnerDraw() const override;
    void CNDrawItem(TMessage& m);
    void CNCommandSkin(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    // What a themed item shows over its theme background: the caption in
    // the theme's list-item font. `face` is the item in the combo's face.
    virtual void DrawThemedContent(TCanvas& canvas, TteTheme* theme, int index, TRect rect, bool selected,
                                   bool face);

private:
    bool EditThemed() const;
    bool ListThemed() const;
    TteEditButtonDrawState ButtonState();
    void PaintFace();
    // Hooks or lets go of the edit child and the list as the theme asks.
    void FollowTheme();
    void EditProc(TMessage& m);
    void ListProc(TMessage& m);
    // Answers whether a press at a point of the list's window was on its bar.
    bool PressListBar(TPoint windowPoint);
    void PaintListFrame();
    TPoint ListWindowPoint(TPoint client) const;

    bool thumbPressed_ = false, upPressed_ = false, downPressed_ = false;
    TWindowSubclass editHook_;
    TWindowSubclass listHook_;
};

extern template class TTeSkinnedCombo<TComboBox>;

class TTeSComboBox : public TTeSkinnedCombo<TComboBox> {
    TARVEL_CLASS(TTeSComboBox, TTeSkinnedCombo<TComboBox>)

public:
    using TTeSkinnedCombo::TTeSkinnedCombo;
};

}  // namespace tarvel
