#include "platform/gdi/FontList.h"

#include <fontconfig/fontconfig.h>

#include <algorithm>
#include <map>

#include "platform/base/Strings.h"

namespace tarvel {

namespace {

struct NoCase {
    bool operator()(const std::string& a, const std::string& b) const { return CompareText(a, b) < 0; }
};

std::vector<FontFamilyInfo> ReadFamilies() {
    // A configuration of our own, released when done, so the list leaves
    // nothing of fontconfig behind and the text code's configuration alone.
    FcConfig* config = FcInitLoadConfigAndFonts();
    if (!config) return {};
    FcPattern* all = FcPatternCreate();
    FcObjectSet* wanted = FcObjectSetBuild(FC_FAMILY, FC_SPACING, FC_SCALABLE, nullptr);
    FcFontSet* fonts = all && wanted ? FcFontList(config, all, wanted) : nullptr;
    std::map<std::string, FontFamilyInfo, NoCase> families;
    for (int i = 0; fonts && i < fonts->nfont; ++i) {
        FcChar8* family = nullptr;
        if (FcPatternGetString(fonts->fonts[i], FC_FAMILY, 0, &family) != FcResultMatch || !family ||
            !*family)
            continue;
        const std::string name = reinterpret_cast<const char*>(family);
        int spacing = FC_PROPORTIONAL;
        FcPatternGetInteger(fonts->fonts[i], FC_SPACING, 0, &spacing);
        FcBool scalable = FcFalse;
        FcPatternGetBool(fonts->fonts[i], FC_SCALABLE, 0, &scalable);
        const bool fixed = spacing == FC_MONO || spacing == FC_CHARCELL;
        auto [it, added] = families.try_emplace(name, FontFamilyInfo{name, fixed, scalable == FcTrue});
        if (!added) {
            it->second.fixedPitch = it->second.fixedPitch && fixed;
            it->second.scalable = it->second.scalable || scalable == FcTrue;
        }
    }
    if (fonts) FcFontSetDestroy(fonts);
    if (wanted) FcObjectSetDestroy(wanted);
    if (all) FcPatternDestroy(all);
    FcConfigDestroy(config);
    std::vector<FontFamilyInfo> out;
    for (auto& [name, info] : families) out.push_back(std::move(info));
    return out;
}

}  // namespace

const std::vector<FontFamilyInfo>& InstalledFontFamilies() {
    static const std::vector<FontFamilyInfo> families = ReadFamilies();
    return families;
}

bool EnumFontFamilies(const std::function<bool(const FontFamilyInfo&)>& callback) {
    for (const FontFamilyInfo& family : InstalledFontFamilies())
        if (!callback(family)) return false;
    return true;
}

}  // namespace tarvel
