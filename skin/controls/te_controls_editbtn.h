#pragma once
// Edits with a control laid inside their frame beside the text:
// TTeInplaceControlEdit holds any control there, TTeEditButton a push
// button with its own, a default or an ellipsis glyph. The text rectangle
// gives up the button's width on the button's side.

#include <functional>

#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_edit.h"

namespace tarvel {

class TReader;
class TWriter;

enum TTeButtonAlign : uint8_t { baLeft, baRight };
enum TGlyphKind : uint8_t { gkCustom, gkDefault, gkEllipsis };

class TTeInplaceControlEdit : public TTeEdit {
    TARVEL_CLASS(TTeInplaceControlEdit, TTeEdit)

public:
    explicit TTeInplaceControlEdit(TComponent* owner);
    ~TTeInplaceControlEdit() override;

    TTeControl* Button() const { return button_; }
    TTeButtonAlign ButtonAlign() const { return buttonAlign_; }
    void SetButtonAlign(TTeButtonAlign value);
    virtual int GetButtonWidth() { return button_ ? button_->Width() : 0; }
    virtual void SetButtonWidth(int value);
    // Does what a click of the button does.
    void DoClick() { ButtonClick(); }

    TNotifyEvent OnButtonClick;

    TRect GetEditRect() override;
    void SetBounds(int left, int top, int width, int height) override;
    virtual void UpdateButtonBounds();

protected:
    // The embedded control is made by the descendant's factory.
    using TButtonFactory = std::function<TTeControl*(TTeInplaceControlEdit*)>;
    TTeInplaceControlEdit(TComponent* owner, const TButtonFactory& makeButton);
    static void DeclareMessages(TMessageTable& t);
    // "ButtonData": the button's caption, hint, hint flag and width.
    void DefineProperties(TFiler& filer) override;
    void CreateWnd() override;
    void PaintBackground(const TRect& rect, TCanvas& canvas) override;
    virtual void ButtonClick();
    void EditButtonClick(TObject*) { ButtonClick(); }

private:
    void CMEnabledChangedInplace(TMessage& m);
    void ReadButtonData(TReader& reader);
    void WriteButtonData(TWriter& writer);

    TTeControl* button_ = nullptr;
    TTeButtonAlign buttonAlign_ = baRight;
};

class TTeInplaceButton : public TTeButton {
    TARVEL_CLASS(TTeInplaceButton, TTeButton)

public:
    using TTeButton::TTeButton;
};

class TTeEditButton : public TTeInplaceControlEdit {
    TARVEL_CLASS(TTeEditButton, TTeInplaceControlEdit)

public:
    explicit TTeEditButton(TComponent* owner);
    ~TTeEditButton() override;

    // The push button a factory made: an inplace button unless a descendant
    // makes another kind.
    TTeButton* InplaceButton() const { return static_cast<TTeButton*>(Button()); }
    TGlyphKind GlyphKind() const { return glyphKind_; }
    void SetGlyphKind(TGlyphKind value);
    TBitmap* Glyph() const { return InplaceButton()->Glyph(); }
    void SetGlyph(TBitmap* value);
    void SetButtonWidth(int value) override;
    // Whether form data keeps the width.
    bool BtnWidthStored();

protected:
    TTeEditButton(TComponent* owner, const std::function<TTeButton*(TTeInplaceControlEdit*)>& makeButton);
    // The default glyph; the base has none.
    virtual TBitmap* GetDefaultBitmap(bool& freeIt) {
        freeIt = false;
        return nullptr;
    }
    int defaultNumGlyphs_ = 1;

private:
    void RecreateGlyph();
    TGlyphKind glyphKind_ = gkCustom;
};

// The ellipsis glyph of a button `buttonWidth` wide: three 2 x 2 dots on a
// white strip 4 pixels high.
std::unique_ptr<TBitmap> MakeEllipsisGlyph(int buttonWidth);

}  // namespace tarvel
