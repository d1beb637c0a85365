#pragma once
// Inside the drawing layer: fonts realised through fontconfig and FreeType,
// with a glyph cache per realised font and a CJK face as fallback for
// characters the chosen face lacks.

#include <cstdint>
#include <memory>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/gdi/Gdi.h"

namespace tarvel {

struct GlyphImage {
    int advance = 0;                // pixels
    int left = 0, top = 0;          // bitmap origin relative to pen position and baseline (top up)
    int width = 0, height = 0;      // coverage bitmap size
    std::vector<uint8_t> coverage;  // 0..255, row by row
};

struct FontFaceFile;

class FontInstance {
public:
    // The realised font for a logical font; instances are shared between
    // equal requests.
    static std::shared_ptr<FontInstance> Realise(const LOGFONTW& log);

    const GlyphImage& Glyph(char32_t ch);

    int EmPixels() const { return em_; }
    int Ascent() const { return ascent_; }
    int Descent() const { return descent_; }
    int Height() const { return ascent_ + descent_; }
    int InternalLeading() const { return Height() - em_; }
    int AveCharWidth() const { return aveCharWidth_; }
    int MaxCharWidth() const { return maxCharWidth_; }
    bool Aliased() const { return mono_; }
    bool Underline() const { return underline_; }
    bool StrikeOut() const { return strikeOut_; }
    int UnderlineOffset() const { return underlineOffset_; }  // below the baseline
    int UnderlineThickness() const { return lineThickness_; }
    int StrikeOffset() const { return strikeOffset_; }  // above the baseline
    const LOGFONTW& Log() const { return log_; }
    std::string FamilyName() const;  // of the face actually used

    FontInstance(const FontInstance&) = delete;
    FontInstance& operator=(const FontInstance&) = delete;
    FontInstance() = default;

private:
    GlyphImage Load(FontFaceFile* face, bool synthBold, bool synthItalic, char32_t ch) const;

    LOGFONTW log_;
    std::shared_ptr<FontFaceFile> face_;
    std::shared_ptr<FontFaceFile> fallback_;
    bool synthBold_ = false, synthItalic_ = false;
    bool fallbackBold_ = false;
    int em_ = 11;
    int ascent_ = 0, descent_ = 0;
    int aveCharWidth_ = 0, maxCharWidth_ = 0;
    bool mono_ = false;
    bool underline_ = false, strikeOut_ = false;
    int underlineOffset_ = 1, lineThickness_ = 1, strikeOffset_ = 3;
    std::unordered_map<char32_t, GlyphImage> glyphs_;
    size_t cachedBytes_ = 0;
};

// UTF-16 (unpaired surrogates become U+FFFD) and UTF-8 to code points.
std::u32string ToCodePoints(std::u16string_view text);
std::u32string ToCodePoints(std::string_view text);

}  // namespace tarvel
