#pragma once
// Linking a window's skinned controls to one theme link, as the window's
// form data would: each control draws from the link's skin from then on.

#include "skin/core/te_theme.h"

namespace tarvel {

class TComponent;

// Links every skinned control, menu bar and frame that `owner` owns and that
// has no link of its own yet.
void LinkSkinnedControls(TComponent* owner, TteCustomThemeLink* link);

}  // namespace tarvel
