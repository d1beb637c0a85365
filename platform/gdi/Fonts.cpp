#include "platform/gdi/Fonts.h"

#include <fontconfig/fontconfig.h>
#include <ft2build.h>
#include FT_FREETYPE_H
#include FT_SYNTHESIS_H
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <deque>
#include <map>
#include <tuple>

#include "platform/base/Strings.h"
#include "platform/gdi/Objects.h"

namespace tarvel {

struct FontFaceFile {
    FT_Face face = nullptr;
    std::string family;
    bool bold = false;
    bool italic = false;
    ~FontFaceFile() {
        if (face) FT_Done_Face(face);
    }
    bool Has(char32_t ch) const { return face && FT_Get_Char_Index(face, ch) != 0; }
};

namespace {

// Face names the system's texts and skins use, and what stands in for them:
// a metric-compatible face where one exists, so captions keep the widths
// the forms were laid out for, else a fontconfig generic family. The CJK
// names ask fontconfig for a Chinese face by language.
struct FaceAlias {
    const char* name;     // lower case
    const char* metric;   // the face with the same advance widths, or null
    const char* generic;  // fontconfig generic family
    const char* lang;     // or null
};

constexpr const char* kSans = "Liberation Sans";
constexpr const char* kMono = "Liberation Mono";
constexpr const char* kSerif = "Liberation Serif";

constexpr FaceAlias kFaceAliases[] = {
    {"ms sans serif", kSans, "sans-serif", nullptr}, {"microsoft sans serif", kSans, "sans-serif", nullptr},
    {"ms shell dlg", kSans, "sans-serif", nullptr},  {"ms shell dlg 2", kSans, "sans-serif", nullptr},
    {"tahoma", kSans, "sans-serif", nullptr},        {"arial", kSans, "sans-serif", nullptr},
    {"verdana", nullptr, "sans-serif", nullptr},     {"segoe ui", nullptr, "sans-serif", nullptr},
    {"system", nullptr, "sans-serif", nullptr},      {"times new roman", kSerif, "serif", nullptr},
    {"courier new", kMono, "monospace", nullptr},    {"courier", kMono, "monospace", nullptr},
    {"fixedsys", nullptr, "monospace", nullptr},     {"lucida console", nullptr, "monospace", nullptr},
    {"宋体", nullptr, "sans-serif", "zh-cn"},        {"新宋体", nullptr, "sans-serif", "zh-cn"},
    {"simsun", nullptr, "sans-serif", "zh-cn"},      {"nsimsun", nullptr, "sans-serif", "zh-cn"},
    {"黑体", nullptr, "sans-serif", "zh-cn"},        {"simhei", nullptr, "sans-serif", "zh-cn"},
    {"微软雅黑", nullptr, "sans-serif", "zh-cn"},    {"microsoft yahei", nullptr, "sans-serif", "zh-cn"},
    {"楷体_gb2312", nullptr, "sans-serif", "zh-cn"}, {"仿宋_gb2312", nullptr, "sans-serif", "zh-cn"},
};

constexpr int kDefaultEm = 11;
constexpr int kMaxEm = 1024;
// The glyph cache of a font is dropped whole when it grows past this.
constexpr size_t kMaxCachedGlyphBytes = size_t{16} << 20;
// Realised fonts kept after their last user is gone.
constexpr size_t kKeptFonts = 8;

FT_Library Library() {
    static FT_Library library = [] {
        FT_Library lib = nullptr;
        if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
        return lib;
    }();
    return library;
}

struct FaceKey {
    std::string file;
    int index;
    bool operator<(const FaceKey& o) const { return std::tie(file, index) < std::tie(o.file, o.index); }
};

std::shared_ptr<FontFaceFile> OpenFace(const std::string& file, int index) {
    static std::map<FaceKey, std::shared_ptr<FontFaceFile>> faces;
    const FaceKey key{file, index};
    auto it = faces.find(key);
    if (it != faces.end()) return it->second;
    auto face = std::make_shared<FontFaceFile>();
    if (!Library() || FT_New_Face(Library(), file.c_str(), index, &face->face) != 0) {
        face->face = nullptr;
        face = nullptr;
    } else {
        FT_Select_Charmap(face->face, FT_ENCODING_UNICODE);
    }
    faces[key] = face;
    return face;
}

// fontconfig's best match for the pattern, opened.
std::shared_ptr<FontFaceFile> MatchFace(FcPattern* pattern) {
    // fontconfig keeps its configuration until FcFini; release it at exit
    // so leak checkers see only our own allocations.
    static const bool finiAtExit = [] { return std::atexit([] { FcFini(); }) == 0; }();
    (void)finiAtExit;
    FcConfigSubstitute(nullptr, pattern, FcMatchPattern);
    FcDefaultSubstitute(pattern);
    FcResult result = FcResultNoMatch;
    FcPattern* match = FcFontMatch(nullptr, pattern, &result);
    std::shared_ptr<FontFaceFile> face;
    if (match) {
        FcChar8* file = nullptr;
        int index = 0;
        if (FcPatternGetString(match, FC_FILE, 0, &file) == FcResultMatch) {
            FcPatternGetInteger(match, FC_INDEX, 0, &index);
            face = OpenFace(reinterpret_cast<const char*>(file), index);
            if (face) {
                FcChar8* family = nullptr;
                if (FcPatternGetString(match, FC_FAMILY, 0, &family) == FcResultMatch)
                    face->family = reinterpret_cast<const char*>(family);
                // The match may claim the requested weight and slant for a
                // face that only has them by synthesis; the face itself tells.
                face->bold = (face->face->style_flags & FT_STYLE_FLAG_BOLD) != 0;
                face->italic = (face->face->style_flags & FT_STYLE_FLAG_ITALIC) != 0;
            }
        }
        FcPatternDestroy(match);
    }
    FcPatternDestroy(pattern);
    return face;
}

const FaceAlias* FindAlias(const std::string& name) {
    const std::string lower = LowerCase(name);
    for (const FaceAlias& alias : kFaceAliases)
        if (lower == alias.name) return &alias;
    return nullptr;
}

std::shared_ptr<FontFaceFile> MatchNamedFace(const std::string& name, int weight, bool italic) {
    FcPattern* pattern = FcPatternCreate();
    const FaceAlias* alias = FindAlias(name);
    auto addFamily = [&](const char* family) {
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>(family));
    };
    if (!name.empty()) addFamily(name.c_str());
    if (alias && alias->metric) addFamily(alias->metric);
    addFamily(alias ? alias->generic : "sans-serif");
    if (alias && alias->lang)
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>(alias->lang));
    FcPatternAddInteger(pattern, FC_WEIGHT, FcWeightFromOpenType(weight));
    FcPatternAddInteger(pattern, FC_SLANT, italic ? FC_SLANT_ITALIC : FC_SLANT_ROMAN);
    return MatchFace(pattern);
}

// A fontconfig match costs about a millisecond, and every new window's
// canvas asks again for the same few faces; the answer is kept for good
// (the opened faces are kept anyway).
std::shared_ptr<FontFaceFile> ResolveFace(const std::string& name, int weight, bool italic) {
    static std::map<std::tuple<std::string, int, bool>, std::shared_ptr<FontFaceFile>> resolved;
    weight = weight <= 0 ? FW_NORMAL : std::min(weight, 1000);
    auto key = std::make_tuple(LowerCase(name), weight, italic);
    auto it = resolved.find(key);
    if (it == resolved.end())
        it = resolved.emplace(std::move(key), MatchNamedFace(name, weight, italic)).first;
    return it->second;
}

// The face that supplies Chinese characters the chosen face lacks.
std::shared_ptr<FontFaceFile> CjkFallback() {
    static std::shared_ptr<FontFaceFile> face = [] {
        FcPattern* pattern = FcPatternCreate();
        FcPatternAddString(pattern, FC_FAMILY, reinterpret_cast<const FcChar8*>("sans-serif"));
        FcPatternAddString(pattern, FC_LANG, reinterpret_cast<const FcChar8*>("zh-cn"));
        return MatchFace(pattern);
    }();
    return face;
}

int Scale(double fontUnits, int em, int unitsPerEm) {
    return static_cast<int>(std::lround(fontUnits * em / unitsPerEm));
}

std::string CacheKey(const LOGFONTW& log) {
    const std::u16string_view face(log.lfFaceName, std::char_traits<char16_t>::length(log.lfFaceName));
    return LowerCase(WideToUtf8(face)) + Format("|%d|%d|%d|%d|%d|%d", log.lfHeight, log.lfWeight,
                                                log.lfItalic != 0, log.lfUnderline != 0, log.lfStrikeOut != 0,
                                                log.lfQuality == NONANTIALIASED_QUALITY);
}

}  // namespace

std::shared_ptr<FontInstance> FontObject::Instance() const {
    if (!instance_) instance_ = FontInstance::Realise(log);
    return instance_;
}

std::shared_ptr<FontInstance> FontInstance::Realise(const LOGFONTW& log) {
    static std::map<std::string, std::weak_ptr<FontInstance>> realised;
    // The last fonts realised stay alive, glyphs and all, after their last
    // user goes: menus and dialogs realise the same font again on each opening.
    static std::deque<std::shared_ptr<FontInstance>> recent;
    auto keep = [](const std::shared_ptr<FontInstance>& font) {
        auto same = std::find(recent.begin(), recent.end(), font);
        if (same != recent.end()) recent.erase(same);
        recent.push_front(font);
        if (recent.size() > kKeptFonts) recent.pop_back();
        return font;
    };
    const std::string key = CacheKey(log);
    if (auto existing = realised[key].lock()) return keep(existing);

    auto font = std::make_shared<FontInstance>();
    font->log_ = log;
    font->mono_ = log.lfQuality == NONANTIALIASED_QUALITY;
    font->underline_ = log.lfUnderline != 0;
    font->strikeOut_ = log.lfStrikeOut != 0;
    const bool bold = log.lfWeight >= FW_SEMIBOLD;
    const std::u16string_view faceName(log.lfFaceName, std::char_traits<char16_t>::length(log.lfFaceName));
    font->face_ = ResolveFace(WideToUtf8(faceName), log.lfWeight, log.lfItalic != 0);
    font->fallback_ = CjkFallback();
    if (font->fallback_ == font->face_) font->fallback_ = nullptr;
    if (font->face_) {
        font->synthBold_ = bold && !font->face_->bold;
        font->synthItalic_ = log.lfItalic && !font->face_->italic;
    }
    font->fallbackBold_ = bold;

    FT_Face face = font->face_ ? font->face_->face : nullptr;
    const int upem = (face && face->units_per_EM) ? face->units_per_EM : 1000;
    double ascender = 800, descender = 200;
    double avgWidth = 0, strike = 0;
    if (face) {
        ascender = face->ascender;
        descender = -face->descender;
        const auto* os2 = static_cast<const TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
        if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
            ascender = os2->usWinAscent;
            descender = os2->usWinDescent;
            avgWidth = os2->xAvgCharWidth;
            strike = os2->yStrikeoutPosition;
        }
    }
    // Negative heights give the character height, positive ones the cell.
    const int64_t height = log.lfHeight;
    if (height < 0)
        font->em_ = static_cast<int>(std::min<int64_t>(-height, kMaxEm));
    else if (height > 0)
        font->em_ = static_cast<int>(
            std::clamp<double>(std::round(static_cast<double>(std::min<int64_t>(height, kMaxEm)) * upem /
                                          (ascender + descender)),
                               1.0, kMaxEm));
    else
        font->em_ = kDefaultEm;
    const int em = font->em_;
    font->ascent_ = std::max(1, Scale(ascender, em, upem));
    font->descent_ = std::max(0, Scale(descender, em, upem));
    if (height > 0 && height <= kMaxEm)
        font->descent_ = std::max(0, static_cast<int>(height) - font->ascent_);
    font->maxCharWidth_ = face ? std::max(1, Scale(face->max_advance_width, em, upem)) : em;
    font->aveCharWidth_ =
        avgWidth > 0 ? std::max(1, Scale(avgWidth, em, upem)) : std::max(1, font->Glyph(U'x').advance);
    if (face) {
        font->lineThickness_ = std::max(1, Scale(face->underline_thickness, em, upem));
        font->underlineOffset_ = std::max(1, Scale(-face->underline_position, em, upem));
        if (font->descent_ >= 2)
            font->underlineOffset_ = std::min(font->underlineOffset_, font->descent_ - font->lineThickness_);
        font->underlineOffset_ = std::max(1, font->underlineOffset_);
    }
    font->strikeOffset_ = strike > 0 ? std::max(1, Scale(strike, em, upem)) : std::max(1, em * 3 / 10);
    realised[key] = font;
    return keep(font);
}

std::string FontInstance::FamilyName() const { return face_ ? face_->family : std::string(); }

const GlyphImage& FontInstance::Glyph(char32_t ch) {
    auto it = glyphs_.find(ch);
    if (it != glyphs_.end()) return it->second;
    if (cachedBytes_ > kMaxCachedGlyphBytes) {
        glyphs_.clear();
        cachedBytes_ = 0;
    }
    GlyphImage image;
    if (ch < 0x20 || ch == 0x7F) {
        // Control characters take no room and show nothing.
    } else if (face_ && (face_->Has(ch) || !fallback_ || !fallback_->Has(ch))) {
        image = Load(face_.get(), synthBold_, synthItalic_, ch);
    } else if (fallback_) {
        image =
            Load(fallback_.get(), fallbackBold_ && !fallback_->bold, log_.lfItalic && !fallback_->italic, ch);
    } else {
        image.advance = std::max(1, em_ / 2);
    }
    cachedBytes_ += image.coverage.size() + sizeof(GlyphImage);
    return glyphs_.emplace(ch, std::move(image)).first->second;
}

GlyphImage FontInstance::Load(FontFaceFile* file, bool synthBold, bool synthItalic, char32_t ch) const {
    GlyphImage image;
    FT_Face face = file->face;
    if (FT_Set_Pixel_Sizes(face, 0, static_cast<FT_UInt>(em_)) != 0) return image;
    FT_Matrix slant{0x10000, 0x366A, 0, 0x10000};  // about 12 degrees
    FT_Set_Transform(face, synthItalic ? &slant : nullptr, nullptr);
    const FT_Int32 flags = FT_LOAD_NO_BITMAP | (mono_ ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_LIGHT);
    const FT_UInt index = FT_Get_Char_Index(face, ch);
    if (FT_Load_Glyph(face, index, flags) != 0) return image;
    FT_GlyphSlot slot = face->glyph;
    if (synthBold) FT_GlyphSlot_Embolden(slot);
    image.advance = static_cast<int>((slot->advance.x + 32) >> 6);
    if (FT_Render_Glyph(slot, mono_ ? FT_RENDER_MODE_MONO : FT_RENDER_MODE_NORMAL) != 0) return image;
    const FT_Bitmap& bm = slot->bitmap;
    image.left = slot->bitmap_left;
    image.top = slot->bitmap_top;
    image.width = static_cast<int>(bm.width);
    image.height = static_cast<int>(bm.rows);
    image.coverage.assign(static_cast<size_t>(image.width) * static_cast<size_t>(image.height), 0);
    for (int y = 0; y < image.height; ++y) {
        const unsigned char* row = bm.buffer + static_cast<ptrdiff_t>(y) * bm.pitch;
        uint8_t* out = image.coverage.data() + static_cast<size_t>(y) * image.width;
        for (int x = 0; x < image.width; ++x) {
            if (bm.pixel_mode == FT_PIXEL_MODE_MONO)
                out[x] = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            else if (bm.pixel_mode == FT_PIXEL_MODE_GRAY)
                out[x] = row[x];
        }
    }
    return image;
}

std::u32string ToCodePoints(std::u16string_view text) {
    std::u32string out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const char16_t c = text[i];
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < text.size() && text[i + 1] >= 0xDC00 &&
            text[i + 1] < 0xE000) {
            out.push_back(0x10000 + ((char32_t(c) - 0xD800) << 10) + (char32_t(text[i + 1]) - 0xDC00));
            ++i;
        } else if (c >= 0xD800 && c < 0xE000) {
            out.push_back(0xFFFD);
        } else {
            out.push_back(c);
        }
    }
    return out;
}

std::u32string ToCodePoints(std::string_view text) { return ToCodePoints(Utf8ToWide(text)); }

}  // namespace tarvel
