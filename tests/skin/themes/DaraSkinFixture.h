#pragma once
// The tool's own skin, as the build makes it, for the galleries: the test
// programs that include this depend on the skin's build target.

#include <filesystem>
#include <string_view>

#include "skin/core/te_theme_api.h"

namespace tarvel {
// From the skin-file theme; its header is not taken in here, as its text
// alignment names clash with the controls'.
void InitThemeSkinFile();
}  // namespace tarvel

namespace tarvel::testing {

inline std::filesystem::path DaraSkinPath() {
    return std::filesystem::path(TARVEL_BINARY_DIR) / "res" / "theme" / "dara.mskn";
}

// Loads the skin and makes it the current theme; false, with the current
// theme kept, when it cannot be read.
inline bool ChangeToDaraSkin() {
    InitThemeSkinFile();
    TteTheme* skin = LoadThemeFromFile(DaraSkinPath().string());
    if (!skin) return false;
    ChangeTheme(skin);
    return true;
}

// A gallery's look by name: "dara" the tool's skin, "" the classic look
// (no theme), else a registered theme; false when it cannot be had.
inline bool ChangeToLook(std::string_view name) {
    if (name == "dara") return ChangeToDaraSkin();
    if (name.empty()) {
        ReleaseTheme();
        return true;
    }
    ChangeTheme(name);
    return CurrentTheme != nullptr;
}

}  // namespace tarvel::testing
