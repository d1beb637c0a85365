#pragma once
// The option groups of the skinned frames and menus: small persistent
// objects that stream as nested properties and copy as a whole.

#include <algorithm>
#include <cstdint>
#include <memory>

#include "platform/classlib/Graphics.h"
#include "platform/classlib/Persistent.h"

namespace tarvel {

class TTeBlending : public TPersistent {
    TARVEL_CLASS(TTeBlending, TPersistent)

public:
    void Assign(TPersistent* source) override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    int Value() const { return value_; }
    void SetValue(int value);  // 0..255
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    bool enabled_ = false;
    int value_ = 150;
};

class TTeShadow : public TPersistent {
    TARVEL_CLASS(TTeShadow, TPersistent)

public:
    void Assign(TPersistent* source) override;
    bool Enabled() const { return enabled_; }
    void SetEnabled(bool value);
    // 0..20; no size is no shadow, so 0 also disables it.
    int Size() const { return size_; }
    void SetSize(int value);
    // The width of the shadow strip as the geometry sees it.
    int Extent() const { return enabled_ ? size_ : 0; }
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    bool enabled_ = false;
    int size_ = 4;
};

enum TTeGravitationKind : uint8_t { kgkDock, kgkSite };

class TTeGravitation : public TPersistent {
    TARVEL_CLASS(TTeGravitation, TPersistent)

public:
    void Assign(TPersistent* source) override;
    bool Enabled = true;
    bool SnapToForms = false;
    bool SnapToDesktop = true;
    bool OwnedForm = false;
    TTeGravitationKind Kind = kgkDock;
    int Size() const { return size_; }
    void SetSize(int value);  // 1..50

private:
    int size_ = 20;
};

enum TTeFormDragMode : uint8_t { kfdmBorder, kfdmFullDrag, kfdmSystemSettings };

class TTeDragging : public TPersistent {
    TARVEL_CLASS(TTeDragging, TPersistent)

public:
    void Assign(TPersistent* source) override;
    bool Moveable = true;
    bool Sizeable = true;
    TTeFormDragMode DragMode = kfdmFullDrag;
};

enum TTeDirection : uint8_t { kdNone, kdNoRotate, kdRotate90, kdRotate180, kdRotate270 };

// What a transition effect is told about itself.
struct TteShowAnimationRec {
    String EffectKind = "[ RANDOM ] - Random selection";
    bool Enabled = false;
    int Rotation = 0;  // quarter turns
    int Resolution = 1;
    int TileCount = 1;
    int Time = 400;  // milliseconds
};

class TTeAnimation : public TPersistent {
    TARVEL_CLASS(TTeAnimation, TPersistent)

public:
    TTeAnimation() : rec_(std::make_unique<TteShowAnimationRec>()) {}
    void Assign(TPersistent* source) override;
    TteShowAnimationRec& Rec() { return *rec_; }
    TTeDirection Direction() const;
    void SetDirection(TTeDirection value);
    bool Enabled() const { return rec_->Enabled; }
    void SetEnabled(bool value) { rec_->Enabled = value; }
    const String& EffectKind() const { return rec_->EffectKind; }
    void SetEffectKind(const String& value) { rec_->EffectKind = value; }
    int Resolution() const { return rec_->Resolution; }
    // Held to what the transition effects can run: 1-10 steps, 1-20 tiles,
    // 50-9000 ms.
    void SetResolution(int value) { rec_->Resolution = std::clamp(value, 1, 10); }
    int TileCount() const { return rec_->TileCount; }
    void SetTileCount(int value) { rec_->TileCount = std::clamp(value, 1, 20); }
    int Time() const { return rec_->Time; }
    void SetTime(int value) { rec_->Time = std::clamp(value, 50, 9000); }

private:
    std::unique_ptr<TteShowAnimationRec> rec_;
};

// The look of a frame or of a popup menu: blending, shadow, animation.
class TTeFormOptions : public TPersistent {
    TARVEL_CLASS(TTeFormOptions, TPersistent)

public:
    void Assign(TPersistent* source) override;
    TTeBlending* Blending() { return &blending_; }
    TTeShadow* Shadow() { return &shadow_; }
    TTeAnimation* Animation() { return &animation_; }
    void SetBlending(TTeBlending* value);
    void SetShadow(TTeShadow* value);
    void SetAnimation(TTeAnimation* value);
    TNotifyEvent OnChange;

private:
    void Changed() {
        if (OnChange) OnChange(this);
    }
    TTeBlending blending_;
    TTeShadow shadow_;
    TTeAnimation animation_;
};

class TTePopupMenuOptions : public TTeFormOptions {
    TARVEL_CLASS(TTePopupMenuOptions, TTeFormOptions)
};

class TTeFontOptions : public TPersistent {
    TARVEL_CLASS(TTeFontOptions, TPersistent)

public:
    void Assign(TPersistent* source) override;
    // Adds the styles asked for (never removes one), shifts the size,
    // replaces the name and colour when they are set.
    void ApplyOptions(TFont* font) const;

    bool Bold() const { return bold_; }
    void SetBold(bool v) { Set(bold_, v); }
    bool Italic() const { return italic_; }
    void SetItalic(bool v) { Set(italic_, v); }
    bool Underline() const { return underline_; }
    void SetUnderline(bool v) { Set(underline_, v); }
    bool StrikeOut() const { return strikeOut_; }
    void SetStrikeOut(bool v) { Set(strikeOut_, v); }
    int SizeDelta() const { return sizeDelta_; }
    void SetSizeDelta(int v) { Set(sizeDelta_, v); }
    const String& FontName() const { return fontName_; }
    void SetFontName(const String& v) { Set(fontName_, v); }
    TColor FontColor() const { return fontColor_; }
    void SetFontColor(TColor v) { Set(fontColor_, v); }
    TNotifyEvent OnChange;

private:
    template <class T>
    void Set(T& field, const T& value) {
        if (field == value) return;
        field = value;
        if (OnChange) OnChange(this);
    }
    bool bold_ = false, italic_ = false, underline_ = false, strikeOut_ = false;
    int sizeDelta_ = 0;
    String fontName_;
    TColor fontColor_ = clDefault;
};

}  // namespace tarvel
