#include "tests/skin/forms/xvfb/SkinFileFixture.h"

#include "skin/themes/theme_se3.h"

namespace tarvel {

void StartSkinFileTheme() { InitThemeSkinFile(); }

}  // namespace tarvel
