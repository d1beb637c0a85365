#pragma once
// TTeSpeedButton: the windowless tool button. Flat or raised, latching in
// groups, with a glyph or image-list images, a caption, an optional chevron
// with its own menu, a drop-down menu and auto-repeat while held. Four
// reserved captions turn it into a scroll arrow for the bars and spin
// buttons. The divider, the space and the container complete a tool bar.

#include <memory>

#include "platform/classlib/ActnList.h"
#include "platform/classlib/Buttons.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/Timers.h"
#include "platform/gdi/SysColors.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme.h"

namespace tarvel {

enum TTeChevronPos : uint8_t { dmpBottom, dmpRight };
enum TTeSpeedButtonState : uint8_t { ksbsUp, ksbsDisabled, ksbsDown, ksbsExclusive, ksbsChevronDown };

// Captions that make a speed button draw a scroll arrow instead of text.
inline constexpr char16_t kSpeedCaptionUp[] = u"btn_up_54354353";
inline constexpr char16_t kSpeedCaptionDown[] = u"btn_down_54354353";
inline constexpr char16_t kSpeedCaptionLeft[] = u"btn_left_54354353";
inline constexpr char16_t kSpeedCaptionRight[] = u"btn_right_54354353";

// Auto-repeat: the first click after holding this long, then one per step.
inline constexpr UINT kSpeedRepeatDelayMs = 400;
inline constexpr UINT kSpeedRepeatStepMs = 100;

class TTeSpeedButton : public TTeGraphicControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeSpeedButton, TTeGraphicControl)

public:
    explicit TTeSpeedButton(TComponent* owner);
    ~TTeSpeedButton() override;

    bool AllowAllUp() const { return allowAllUp_; }
    void SetAllowAllUp(bool value);
    bool AllowTimer() const { return allowTimer_; }
    void SetAllowTimer(bool value) { allowTimer_ = value; }
    bool BlackAndWhiteGlyph() const { return blackAndWhiteGlyph_; }
    void SetBlackAndWhiteGlyph(bool value);
    const WideString& GetCaption() const { return caption_; }
    void SetCaption(const WideString& value);
    TPopupMenu* ChevronMenu() const { return chevronMenu_; }
    void SetChevronMenu(TPopupMenu* value);
    bool Down() const { return down_; }
    void SetDown(bool value);
    TPopupMenu* DropDownMenu() const { return dropDownMenu_; }
    void SetDropDownMenu(TPopupMenu* value);
    bool Flat() const { return flat_; }
    void SetFlat(bool value);
    TBitmap* Glyph() const { return glyph_.get(); }
    void SetGlyph(TBitmap* value);
    int GroupIndex() const { return groupIndex_; }
    void SetGroupIndex(int value);
    int ImageIndex() const { return imageIndex_; }
    void SetImageIndex(int value);
    int ImageHotIndex() const { return imageHotIndex_; }
    void SetImageHotIndex(int value) { imageHotIndex_ = value; }
    int ImageDisabledIndex() const { return imageDisabledIndex_; }
    void SetImageDisabledIndex(int value) { imageDisabledIndex_ = value; }
    TCustomImageList* Images() const { return images_; }
    void SetImages(TCustomImageList* value);
    TButtonLayout Layout() const { return layout_; }
    void SetLayout(TButtonLayout value);
    int Margin() const { return margin_; }
    void SetMargin(int value);
    TTeChevronPos MenuPosition() const { return menuPosition_; }
    void SetMenuPosition(TTeChevronPos value) { menuPosition_ = value; }
    int NumGlyphs() const { return numGlyphs_; }
    void SetNumGlyphs(int value);
    bool ShowCaption() const { return showCaption_; }
    void SetShowCaption(bool value);
    bool ShowChevron() const { return showChevron_; }
    void SetShowChevron(bool value);
    bool ShowGlyph() const { return showGlyph_; }
    void SetShowGlyph(bool value);
    int Spacing() const { return spacing_; }
    void SetSpacing(int value);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);

    TTeSpeedButtonState State() const { return state_; }
    // The repeat timer, made on the first press with AllowTimer.
    TTimer* RepeatTimer() const { return repeatTimer_; }

    virtual TRect GetButtonRect();
    virtual TRect GetChevronRect();
    virtual TRect GetChevronArrowRect();
    virtual TRect GetGlyphRect();
    virtual TRect GetCaptionRect();
    virtual int GetChevronWidth() { return 14; }
    virtual TSize GetChevronArrowSize() { return TSize{5, 3}; }
    virtual TSize GetGlyphSize();
    virtual TSize GetCaptionSize();
    virtual void DrawChevronArrow(TPoint offset);
    virtual void DrawGlyph(TPoint offset);
    virtual void DrawCaption(TPoint offset);
    void PaintBuffer() override;

    void Click() override;
    virtual void ChevronClick();

    TNotifyEvent OnChevronClick;

protected:
    friend class TTeSpeedButtonActionLink;
    static void DeclareMessages(TMessageTable& t);
    TControlActionLink* CreateActionLink() override;
    // The control's values, then Down from the action's Checked (with
    // `checkDefaults` only while it is up), its caption and its click.
    void ActionChange(TObject* sender, bool checkDefaults) override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;

    // Hot, or drawn as hot for good (the outlook bar's buttons).
    bool Hot() const { return alwaysHot_ || IsHot(); }
    bool alwaysHot_ = false;
    // True for the four reserved captions or a spin button's arrows.
    bool IsArrowButton() const;
    bool IsToolThemed();
    // Up, or exclusive when latched in a group.
    TTeSpeedButtonState RestingState() const { return down_ && groupIndex_ != 0 ? ksbsExclusive : ksbsUp; }

private:
    void CMButtonPressed(TMessage& m);
    void SNMThemeMessage(TMessage& m);
    void SNMLinkChanged(TMessage& m);
    void WMLButtonDblClk(TMessage& m);
    void CMDialogChar(TMessage& m);
    void CMRefresh(TMessage& m);
    void CMTextChanged(TMessage& m);
    void CMEnabledChanged(TMessage& m);

    void UpdateExclusive();
    ButtonColorMap GlyphColorMap();
    void GlyphChanged();
    void RepeatTick();
    void StopRepeat();
    // The picture of the working glyph (Glyph, else the image of the state).
    bool WorkingGlyph(TteBitmap& whole, uint32_t& key, int& cells);
    TteToolItemDrawState ContentItemState() const;
    void PopupAt(TPopupMenu* menu, TPoint client);
    void PaintClassic();

    TTeSpeedButtonState state_ = ksbsUp;
    bool mouseDown_ = false;
    bool actionCheck_ = false;
    TTimer* repeatTimer_ = nullptr;

    bool allowAllUp_ = false;
    bool allowTimer_ = false;
    bool blackAndWhiteGlyph_ = false;
    WideString caption_;
    TPopupMenu* chevronMenu_ = nullptr;
    bool down_ = false;
    TPopupMenu* dropDownMenu_ = nullptr;
    bool flat_ = true;
    std::unique_ptr<TBitmap> glyph_;
    int groupIndex_ = 0;
    int imageIndex_ = -1;
    int imageHotIndex_ = -1;
    int imageDisabledIndex_ = -1;
    TCustomImageList* images_ = nullptr;
    TButtonLayout layout_ = blGlyphLeft;
    int margin_ = -1;
    TTeChevronPos menuPosition_ = dmpBottom;
    int numGlyphs_ = 1;
    bool showCaption_ = true;
    bool showChevron_ = false;
    bool showGlyph_ = true;
    int spacing_ = 4;
    bool transparent_ = false;
};

// Ties a speed button's Down to its action's Checked. The button joins a
// group of its own, from a range no form uses, so that it never unlatches
// buttons of a real group.
class TTeSpeedButtonActionLink : public TControlActionLink {
    TARVEL_CLASS(TTeSpeedButtonActionLink, TControlActionLink)

public:
    explicit TTeSpeedButtonActionLink(TTeSpeedButton* client);
    // Compared before the action stores its new value.
    bool IsCheckedLinked() override;
    void SetChecked(bool value) override;

private:
    TTeSpeedButton* client_;
    int group_ = 0;
};

// A vertical etched line between tool buttons.
class TTeSpeedDivider : public TTeGraphicControl {
    TARVEL_CLASS(TTeSpeedDivider, TTeGraphicControl)

public:
    explicit TTeSpeedDivider(TComponent* owner);
    ~TTeSpeedDivider() override;
    void PaintBuffer() override;

private:
    static void DeclareMessages(TMessageTable& t);
    void SNMThemeMessage(TMessage&) { Invalidate(); }
};

// An empty gap between tool buttons.
class TTeSpeedSpace : public TTeGraphicControl {
    TARVEL_CLASS(TTeSpeedSpace, TTeGraphicControl)

public:
    explicit TTeSpeedSpace(TComponent* owner);
    ~TTeSpeedSpace() override;
    void PaintBuffer() override;

private:
    static void DeclareMessages(TMessageTable& t);
    void SNMThemeMessage(TMessage&) { Invalidate(); }
};

// Holds tool buttons and shows its parent's face behind them.
class TTeSpeedContainer : public TTeControl {
    TARVEL_CLASS(TTeSpeedContainer, TTeControl)

public:
    explicit TTeSpeedContainer(TComponent* owner);
    ~TTeSpeedContainer() override;
    void PaintBuffer() override;

private:
    static void DeclareMessages(TMessageTable& t);
    void SNMThemeMessage(TMessage&) { Invalidate(); }
};

}  // namespace tarvel
