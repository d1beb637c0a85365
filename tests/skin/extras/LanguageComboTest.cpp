// The language combo: its list from the system's language table and the
// choice by language id.

#include "skin/extras/te_extended_language.h"

#include <gtest/gtest.h>

#include "tests/skin/controls/RecordingThemeFixture.h"

namespace tarvel {
namespace {

using testing::SkinControlsTest;

class LanguageComboTest : public SkinControlsTest {};

TEST_F(LanguageComboTest, ListsTheSystemsLanguagesOnceEvenWhenMadeAgain) {
    auto* combo = Make<TTeLanguageComboBox>(10, 10);
    EXPECT_EQ(combo->ComboStyle(), kcsDropDownList);
    EXPECT_EQ(combo->Width(), 200);
    combo->HandleNeeded();
    combo->RecreateWnd();
    combo->HandleNeeded();
    const auto languages = Languages();
    ASSERT_EQ(combo->Items()->Count(), static_cast<int>(languages.size()));
    for (size_t i = 0; i < languages.size(); ++i)
        EXPECT_EQ(combo->Items()->Strings(static_cast<int>(i)), String(languages[i].name));
}

TEST_F(LanguageComboTest, ChoosesByIdAndRaisesForAnUnknownOne) {
    struct Case {
        LANGID id;
        LANGID chosen;  // 0: unknown, the choice stays 0409
        const char* text;
    };
    const Case cases[] = {
        {0x0804, 0x0804, "0804"}, {0x0404, 0x0404, "0404"}, {0x0407, 0x0407, "0407"},
        {0x7FFF, 0, "0409"},      {0, 0, "0409"},
    };
    auto* combo = Make<TTeLanguageComboBox>(10, 10);
    combo->HandleNeeded();
    for (const Case& c : cases) {
        SCOPED_TRACE(c.id);
        combo->SetLangID(0x0409);
        if (c.chosen) {
            combo->SetLangID(c.id);
            EXPECT_EQ(combo->GetLangID(), c.chosen);
            EXPECT_EQ(combo->Text(), String(LanguageName(c.chosen)));
        } else {
            try {
                combo->SetLangID(c.id);
                ADD_FAILURE() << "no exception";
            } catch (const Exception& e) {
                EXPECT_STREQ(e.what(), "Unknown Language ID");
            }
            EXPECT_EQ(combo->GetLangID(), 0x0409);
        }
        EXPECT_EQ(combo->GetLangIdAsString(), c.text);
    }
}

}  // namespace
}  // namespace tarvel
