#pragma once
// The font families installed on this machine, as fontconfig knows them,
// for font lists and font panels.

#include <functional>
#include <string>
#include <vector>

namespace tarvel {

struct FontFamilyInfo {
    std::string name;         // the family's first (usually English) name, UTF-8
    bool fixedPitch = false;  // every face of it is monospaced
    bool scalable = false;    // some face of it is an outline font
};

// Every family once, sorted by name without regard to ASCII case. Read from
// fontconfig once per process.
const std::vector<FontFamilyInfo>& InstalledFontFamilies();

// Hands each family to `callback` in that order until it answers false;
// false when it was stopped.
bool EnumFontFamilies(const std::function<bool(const FontFamilyInfo&)>& callback);

}  // namespace tarvel
