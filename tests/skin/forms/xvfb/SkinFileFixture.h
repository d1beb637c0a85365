#pragma once
// Registers the skin-file theme. Its header and the class library's both
// name alignments at namespace scope, so only SkinFileFixture.cpp sees it.

namespace tarvel {

void StartSkinFileTheme();

}  // namespace tarvel
