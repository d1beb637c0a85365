#pragma once
// The plain, file-name, directory and spin edits whose embedded buttons are effect
// controls: the edit carries an animation and hands it down, so its button
// or arrows cross-fade on hover while the edit itself never animates.

#include <memory>

#include "skin/controls/te_controls_spin.h"
#include "skin/extras/te_dialogs_file_edit.h"
#include "skin/extras/te_extra_effect_button.h"

namespace tarvel {

// The button is made while the base is built, before the edit's own
// animation exists: it starts with the effect-control defaults.
class TTeEffectEditButton : public TTeEditButton {
    TARVEL_CLASS(TTeEffectEditButton, TTeEditButton)

public:
    explicit TTeEffectEditButton(TComponent* owner);
    TARVEL_EFFECT_EDIT_PROPERTIES(animation_)

private:
    TTeEffectButtonAnimation animation_;
};

class TTeEffectFilenameEdit : public TTeFilenameEdit {
    TARVEL_CLASS(TTeEffectFilenameEdit, TTeFilenameEdit)

public:
    explicit TTeEffectFilenameEdit(TComponent* owner);
    TARVEL_EFFECT_EDIT_PROPERTIES(animation_)

private:
    TTeEffectButtonAnimation animation_;
};

class TTeEffectDirectoryEdit : public TTeDirectoryEdit {
    TARVEL_CLASS(TTeEffectDirectoryEdit, TTeDirectoryEdit)

public:
    explicit TTeEffectDirectoryEdit(TComponent* owner);
    TARVEL_EFFECT_EDIT_PROPERTIES(animation_)

private:
    TTeEffectButtonAnimation animation_;
};

// A spin button's arrow that cross-fades on hover like the effect speed
// button; a held arrow follows the press, not the hover.
class TTeEffectSpinArrow : public TTeSpinArrow {
    TARVEL_CLASS(TTeEffectSpinArrow, TTeSpinArrow)

public:
    TTeEffectSpinArrow(TComponent* owner, bool up);
    ~TTeEffectSpinArrow() override;
    TARVEL_EFFECT_PROPERTIES(fx_)

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void MouseEnter() override;
    void MouseLeave() override;
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;

private:
    TTeEffectParts fx_;
};

// A spin button whose arrows are effect arrows; its animation goes to both.
class TTeEffectSpinButton : public TTeSpinButton {
    TARVEL_CLASS(TTeEffectSpinButton, TTeSpinButton)

public:
    explicit TTeEffectSpinButton(TComponent* owner);
    ~TTeEffectSpinButton() override;

    TTeEffectSpinArrow* EffectArrow(bool up) const {
        return static_cast<TTeEffectSpinArrow*>(up ? UpButton() : DownButton());
    }
    TTeAdvancedAnimation* Animation() const { return animation_.get(); }
    // Copies the value into its own and both arrows'; none does nothing.
    void SetAnimation(TTeAdvancedAnimation* value);
    // Kept, and nothing more.
    TTeExtraSoundOptions SoundOptions;
    String VersionExtra() const { return kExtraVersion; }
    void SetVersionExtra(const String&) {}

protected:
    void Loaded() override;

private:
    std::unique_ptr<TTeAdvancedAnimation> animation_;
};

// A spin edit whose spin button is an effect spin button. Its animation is
// copied into the spin button's own object only, so the arrows keep theirs
// until the spin button hands its own down.
class TTeEffectSpinEdit : public TTeSpinEdit {
    TARVEL_CLASS(TTeEffectSpinEdit, TTeSpinEdit)

public:
    explicit TTeEffectSpinEdit(TComponent* owner);
    ~TTeEffectSpinEdit() override;

    TTeEffectSpinButton* EffectSpinButton() const { return static_cast<TTeEffectSpinButton*>(SpinButton()); }
    TTeAdvancedAnimation* Animation() const { return animation_.get(); }
    // None does nothing.
    void SetAnimation(TTeAdvancedAnimation* value);
    String VersionExtra() const { return kExtraVersion; }
    void SetVersionExtra(const String&) {}

protected:
    void Loaded() override;

private:
    std::unique_ptr<TTeAdvancedAnimation> animation_;
};

}  // namespace tarvel
