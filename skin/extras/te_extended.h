#pragma once
// Plain extra controls that show a piece of the loaded skin or let their
// parent show through: pictures of a named skin object, a divider line
// along an edge, and a transparent container.

#include <memory>

#include "platform/classlib/Pictures.h"
#include "skin/core/te_forms.h"
#include "skin/core/te_forms_link.h"

namespace tarvel {

class TSeSkinObject;

class TTeCustomPicture : public TTeGraphicControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeCustomPicture, TTeGraphicControl)

public:
    explicit TTeCustomPicture(TComponent* owner);
    ~TTeCustomPicture() override;

    bool AutoSize() const { return autoSize_; }
    void SetAutoSize(bool value) override;
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    bool TranparentPicture() const { return tranparentPicture_; }
    void SetTranparentPicture(bool value);

    virtual TPicture* GetPicture() { return picture_.get(); }
    // Takes the picture over; the one held before is freed.
    void SetPicture(std::unique_ptr<TPicture> picture);

    // The picture's size at the control's place; without a picture the
    // bounds stay. Repaints either way.
    virtual void AdjustBounds();
    // The parent's background when transparent; the picture is left to
    // the derived controls.
    void PaintBuffer() override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;

    std::unique_ptr<TPicture> picture_;

private:
    bool autoSize_ = true;
    bool transparent_ = true;
    bool tranparentPicture_ = false;
};

// Shows the skin object named ThemeObject ("Picture") of the linked or the
// current theme, when that theme is a loaded skin.
class TTePicture : public TTeCustomPicture {
    TARVEL_CLASS(TTePicture, TTeCustomPicture)

public:
    explicit TTePicture(TComponent* owner);
    ~TTePicture() override;

    // Null without a skin object; else made on first use from the object.
    TPicture* GetPicture() override;
    void PaintBuffer() override;
    TSeSkinObject* SkinObject() const { return skinObject_; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;

private:
    void SNMThemeMessage(TMessage& m);

    // Belongs to the theme's skin; dropped whenever the theme goes.
    TSeSkinObject* skinObject_ = nullptr;
};

enum TTeDividerOrientation : uint8_t { sdNone, sdHorizontal, sdVertical };

// The skin's "Divider" object as a separator line along the top or the
// left edge, with Space pixels of margin on each side across the line.
class TTeDivider : public TTePicture {
    TARVEL_CLASS(TTeDivider, TTePicture)

public:
    explicit TTeDivider(TComponent* owner);

    TTeDividerOrientation Orientation() const { return orientation_; }
    // Also aligns the divider: to the top, to the left, or not at all.
    void SetOrientation(TTeDividerOrientation value);
    uint8_t Space() const { return space_; }
    void SetSpace(uint8_t value) { space_ = value; }

    void AdjustBounds() override;
    TRect GetClientRect() override;

private:
    TTeDividerOrientation orientation_ = sdHorizontal;
    uint8_t space_ = 0;
};

// A container that shows its parent's background behind its children.
class TTeTransparentPanel : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeTransparentPanel, TTeControl)

public:
    explicit TTeTransparentPanel(TComponent* owner);
    ~TTeTransparentPanel() override;

    bool Transparent() const { return transparent_; }
    void SetTransparent(bool value);
    void PaintBuffer() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SNMThemeMessage(TMessage& m);

    bool transparent_ = true;
};

// A container painted as a dock and tool bar of the current theme, with a
// grip at its left end. Its transparent children show its face.
class TTeSimpleToolBar : public TTeControl, public TTeThemeLinked {
    TARVEL_CLASS(TTeSimpleToolBar, TTeControl)

public:
    explicit TTeSimpleToolBar(TComponent* owner);
    ~TTeSimpleToolBar() override;

    // The bar's own inset of its client area on every side, not the
    // control's drawn border.
    int BorderWidth() const { return toolBorder_; }
    void SetBorderWidth(int value);
    bool DrawAsControlBar() const { return drawAsControlBar_; }
    void SetDrawAsControlBar(bool value);
    bool ControlAlignWithClientRect() const { return controlAlignWithClientRect_; }
    void SetControlAlignWithClientRect(bool value);

    // The current theme's tool object for the bar: ThemeObject, else
    // "default", else "" when the theme has neither.
    String ToolObjectName() const;
    TRect GetClientRect() override;
    void PaintBuffer() override;
    // The bar's face painted into another DC, as the background of a child;
    // the children too when that child is being designed.
    void PaintAsBackground(HDC dc, bool withChildren);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Notification(TComponent* component, TOperation operation) override;

private:
    void SNMThemeMessage(TMessage& m);

    int toolBorder_ = 2;
    bool drawAsControlBar_ = true;
    bool controlAlignWithClientRect_ = true;
    bool paintingBackground_ = false;
};

// Registers the simple tool bar's background painter, once after each
// start of the theme core (whose end forgets the painters).
void RegisterSimpleToolBarBackground();

}  // namespace tarvel
