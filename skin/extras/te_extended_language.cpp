#include "skin/extras/te_extended_language.h"

#include <cstdio>

#include "platform/base/Exceptions.h"

namespace tarvel {

TTeLanguageComboBox::TTeLanguageComboBox(TComponent* owner) : TTeComboBox(owner) {
    SetComboStyle(kcsDropDownList);
    SetWidth(200);
}

void TTeLanguageComboBox::CreateWnd() {
    TTeComboBox::CreateWnd();
    // Refilled, not appended to, when the window is made again.
    Items()->Clear();
    for (const LanguageInfo& language : Languages()) Items()->Add(String(language.name));
}

LANGID TTeLanguageComboBox::GetLangID() const {
    const auto languages = Languages();
    const int index = ItemIndex();
    return index >= 0 && static_cast<size_t>(index) < languages.size() ? languages[index].id : 0;
}

void TTeLanguageComboBox::SetLangID(LANGID id) {
    const auto languages = Languages();
    for (size_t i = 0; i < languages.size(); ++i)
        if (languages[i].id == id) {
            SetItemIndex(static_cast<int>(i));
            return;
        }
    throw Exception("Unknown Language ID");
}

String TTeLanguageComboBox::GetLangIdAsString() const {
    if (ItemIndex() < 0) return "";
    char text[8];
    std::snprintf(text, sizeof text, "%04X", GetLangID());
    return text;
}

}  // namespace tarvel
