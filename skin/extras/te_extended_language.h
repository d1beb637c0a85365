#pragma once
// A drop-down list of the system's languages, chosen by language id.

#include "platform/system/Locales.h"
#include "skin/controls/te_controls_combo.h"

namespace tarvel {

class TTeLanguageComboBox : public TTeComboBox {
    TARVEL_CLASS(TTeLanguageComboBox, TTeComboBox)

public:
    explicit TTeLanguageComboBox(TComponent* owner);

    // The id of the chosen language; 0 with none chosen.
    LANGID GetLangID() const;
    // Chooses the first language of that id; an id not in the table raises
    // "Unknown Language ID" and leaves the choice as it was.
    void SetLangID(LANGID id);
    // Four upper-case hex digits, "0804"; empty with none chosen.
    String GetLangIdAsString() const;

protected:
    void CreateWnd() override;
};

}  // namespace tarvel
