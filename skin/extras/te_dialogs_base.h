#pragma once
// The skinned dialog components. Each Execute builds a plain modal form with
// a skinned frame, lets the concrete dialog put its panel and buttons on it,
// shows it and reads the result back from the panel. The form lives only
// while Execute runs; the component keeps its properties between runs.

#include <functional>
#include <memory>

#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_listbox.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

class TTeColorPanel;
class TTeFontPanel;
class TTeDirectoryPanel;

// The Tag of every form a dialog component builds.
constexpr int kDialogFormTag = 99;

// A windowless box that paints and takes the mouse through its events: the
// swatches, spectrum, bars and samples of the dialog panels.
class TTeDialogPaintBox : public TGraphicControl {
    TARVEL_CLASS(TTeDialogPaintBox, TGraphicControl)

public:
    explicit TTeDialogPaintBox(TComponent* owner) : TGraphicControl(owner) {}

    std::function<void(TTeDialogPaintBox* sender, TCanvas& canvas)> OnPaint;

protected:
    void Paint() override {
        if (OnPaint) OnPaint(this, *Canvas());
    }
};

// The body of a dialog: a plain container that shows what lies behind it.
class TTeDialogPanel : public TCustomControl {
    TARVEL_CLASS(TTeDialogPanel, TCustomControl)

public:
    explicit TTeDialogPanel(TComponent* owner) : TCustomControl(owner) {}

protected:
    void Paint() override;
};

// A skinned push button of a dialog, put on `parent` at `bounds`.
TTeButton* AddDialogButton(TWinControl* parent, const char* name, TBitBtnKind kind, const char* caption,
                           const TRect& bounds, TAnchors anchors);

// The panel fills the form's client area, less room for buttons, and
// follows its size.
void PlaceDialogPanel(TForm* form, TControl* panel, int extraWidth, int extraHeight);
// OK (default) and Cancel, 70 x 25, side by side centred under a panel.
void AddCentredDialogButtons(TForm* form, TControl* panel);

class TTeCustomDialog : public TComponent {
    TARVEL_CLASS(TTeCustomDialog, TComponent)

public:
    explicit TTeCustomDialog(TComponent* owner) : TComponent(owner) {}

    TTeShadow* Shadow() { return &shadow_; }
    void SetShadow(TTeShadow* value) { shadow_.Assign(value); }

    // True when the user accepted (the form closed with mrOk).
    virtual bool Execute();

    // The form and its frame of the running Execute, else null.
    TForm* Form() const { return form_; }
    TTeForm* Frame() const { return frame_; }

protected:
    // Fills the form.
    virtual void CreateControls() {}
    // Reads the results back, after an accepted run.
    virtual void EndDialog() {}
    // Runs after every run, accepted or not.
    virtual void SaveState() {}

    // The form's bounds kept by SaveState; the next run opens there.
    bool savedBounds_ = false;
    TRect bounds_;

private:
    TTeShadow shadow_;
    TForm* form_ = nullptr;
    TTeForm* frame_ = nullptr;
};

enum TColorDialogOption : uint8_t { cdFullOpen, cdPreventFullOpen, cdShowHelp, cdSolidColor, cdAnyColor };
using TColorDialogOptions = TSet<TColorDialogOption>;

class TTeColorDialog : public TTeCustomDialog {
    TARVEL_CLASS(TTeColorDialog, TTeCustomDialog)

public:
    explicit TTeColorDialog(TComponent* owner);

    TColor Color() const { return color_; }
    void SetColor(TColor value) { color_ = value; }
    TStrings* CustomColors() const { return customColors_.get(); }
    void SetCustomColors(TStrings* value) { customColors_->Assign(value); }
    TColorDialogOptions Options;

    TTeColorPanel* Panel() const { return panel_; }

protected:
    void CreateControls() override;
    void EndDialog() override;

private:
    TColor color_ = clBlack;
    std::unique_ptr<TStringList> customColors_;
    TTeColorPanel* panel_ = nullptr;
};

enum TFontDialogOption : uint8_t {
    fdAnsiOnly,
    fdTrueTypeOnly,
    fdEffects,
    fdFixedPitchOnly,
    fdForceFontExist,
    fdNoFaceSel,
    fdNoOEMFonts,
    fdNoSimulations,
    fdNoSizeSel,
    fdNoStyleSel,
    fdNoVectorFonts,
    fdShowHelp,
    fdWysiwyg,
    fdLimitSize,
    fdScalableOnly,
    fdApplyButton
};
using TFontDialogOptions = TSet<TFontDialogOption>;

// Sender and the dialog's window handle (always null here).
using TFDApplyEvent = std::function<void(TObject* sender, HWND wnd)>;

class TTeFontDialog : public TTeCustomDialog {
    TARVEL_CLASS(TTeFontDialog, TTeCustomDialog)

public:
    explicit TTeFontDialog(TComponent* owner);

    TFont* Font() const { return font_.get(); }
    void SetFont(TFont* value) { font_->Assign(value); }
    TTeFontDevice Device = fdScreen;
    int MinFontSize = 0;
    int MaxFontSize = 0;
    TFontDialogOptions Options{fdEffects};
    TFDApplyEvent OnApply;

    TTeFontPanel* Panel() const { return panel_; }

protected:
    void CreateControls() override;
    void EndDialog() override;

private:
    void ApplyClick(TObject*);

    std::unique_ptr<TFont> font_;
    TTeFontPanel* panel_ = nullptr;
};

class TTeDirectoryDialog : public TTeCustomDialog {
    TARVEL_CLASS(TTeDirectoryDialog, TTeCustomDialog)

public:
    explicit TTeDirectoryDialog(TComponent* owner) : TTeCustomDialog(owner) {}

    String Directory;

    TTeDirectoryPanel* Panel() const { return panel_; }

protected:
    void CreateControls() override;
    void EndDialog() override;

private:
    TTeDirectoryPanel* panel_ = nullptr;
};

}  // namespace tarvel
