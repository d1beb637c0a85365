#pragma once
// Identifiers of font values as stored in component streams: character sets
// ("DEFAULT_CHARSET"), styles ("fsBold") and pitches ("fpFixed").

#include <span>
#include <string_view>

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {

bool CharsetToIdent(int charset, String& ident);
// Any case; false for a name the table does not have.
bool IdentToCharset(std::string_view ident, int& charset);

// Names in the order of TFontStyle and TFontPitch.
std::span<const char* const> FontStyleIdents();
std::span<const char* const> FontPitchIdents();

}  // namespace tarvel
