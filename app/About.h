#pragma once
// The about box: the tool's name, version, date and holder, and a "Confirm"
// button. Creating it gives the application its title and the main window
// its caption, both the name followed by the version.

#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_label.h"
#include "skin/extras/te_extended_label.h"
#include "skin/extras/te_extra_effect_button.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

class TAboutBox : public TForm {
    TARVEL_CLASS(TAboutBox, TForm)

public:
    explicit TAboutBox(TComponent* owner);
    ~TAboutBox() override;

    // Puts the captions and the values into the labels.
    void FormCreate(TObject* sender);

    TTeForm* TeForm1 = nullptr;
    TTeAdvancedLabel* TeAdvancedLabel1 = nullptr;  // "Name:"
    TTeAdvancedLabel* TeAdvancedLabel2 = nullptr;  // "Version:"
    TTeAdvancedLabel* TeAdvancedLabel5 = nullptr;  // "Date:"
    TTeAdvancedLabel* TeAdvancedLabel4 = nullptr;  // the holder caption
    TTeAdvancedLabel* TeAdvancedLabel3 = nullptr;  // the author caption, never shown
    TTeLabel* TeLabel1 = nullptr;                  // the name
    TTeLabel* TeLabel2 = nullptr;                  // the version
    TTeLabel* TeLabel3 = nullptr;                  // the date
    TTeLabel* TeLabel5 = nullptr;                  // the holder line
    TTeLabel* TeLabel4 = nullptr;                  // the author, never shown
    TTeEffectButton* TeEffectButton1 = nullptr;    // "Confirm"
};

// The box's one instance, made at start and shown by the About item.
extern TAboutBox* AboutBox;

}  // namespace tarvel
