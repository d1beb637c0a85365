// Text output and measuring: TextOut, ExtTextOut, DrawText (alignment,
// word breaks, tabs, & prefixes, ellipses), extents and metrics. Measuring
// and drawing walk the same glyphs, so what DT_CALCRECT reports is what
// drawing covers.

#include <cmath>

#include "platform/gdi/Blend.h"
#include "platform/gdi/Fonts.h"
#include "platform/gdi/Paint.h"

namespace tarvel {

namespace {

constexpr uint32_t kColourBits = 0x00FFFFFF;
constexpr std::u32string_view kEllipsis = U"...";

struct TextLine {
    std::u32string text;
    std::vector<uint8_t> underline;  // per character: an & prefix marked it
};

std::shared_ptr<FontInstance> DcFont(const Canvas& c) {
    const FontObject* font = c.dc->state.font.get();
    return font ? font->Instance() : nullptr;
}

// Calls visit(index, x, glyph) for each character; x is relative to the
// start of the text. A tab jumps to the next stop when tabWidth > 0.
template <class Visit>
int64_t WalkGlyphs(FontInstance& font, std::u32string_view text, int tabWidth, Visit&& visit) {
    int64_t x = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] == U'\t' && tabWidth > 0) {
            x = (x / tabWidth + 1) * tabWidth;
            continue;
        }
        const GlyphImage& glyph = font.Glyph(text[i]);
        visit(i, x, glyph);
        x += glyph.advance;
    }
    return x;
}

int64_t TextWidth(FontInstance& font, std::u32string_view text, int tabWidth) {
    return WalkGlyphs(font, text, tabWidth, [](size_t, int64_t, const GlyphImage&) {});
}

void BlitGlyph(const Canvas& c, const GlyphImage& g, int64_t left, int64_t top, uint32_t colour) {
    if (g.width == 0) return;
    for (int row = 0; row < g.height; ++row) {
        const int64_t y = top + row;
        const uint8_t* cover = g.coverage.data() + static_cast<size_t>(row) * g.width;
        ForVisible(c, y, left, left + g.width, [&](int a, int b) {
            uint32_t* out = c.surface->Row(static_cast<int>(y));
            c.dc->Damage(static_cast<int>(y), a, b);
            for (int x = a; x < b; ++x) {
                const uint32_t w = cover[x - left];
                if (w == 255)
                    out[x] = colour;
                else if (w != 0)
                    out[x] = MixPixels(colour, out[x], w) & kColourBits;
            }
        });
    }
}

// One line of text with its top-left at (x, y) in surface coordinates.
void DrawLine(const Canvas& c, FontInstance& font, int64_t x, int64_t y, std::u32string_view text,
              const std::vector<uint8_t>* underline, int tabWidth, COLORREF color) {
    const uint32_t colour = ColorRefToPixel(color);
    const PixelPaint lines = SolidPaint(color);
    const int64_t baseline = y + font.Ascent();
    auto rule = [&](int64_t from, int64_t to, int64_t top) {
        for (int i = 0; i < font.UnderlineThickness(); ++i) PaintSpan(c, top + i, from, to, lines);
    };
    const int64_t width = WalkGlyphs(font, text, tabWidth, [&](size_t i, int64_t gx, const GlyphImage& g) {
        BlitGlyph(c, g, x + gx + g.left, baseline - g.top, colour);
        if (underline && (*underline)[i]) rule(x + gx, x + gx + g.advance, baseline + font.UnderlineOffset());
    });
    if (font.Underline()) rule(x, x + width, baseline + font.UnderlineOffset());
    if (font.StrikeOut()) rule(x, x + width, baseline - font.StrikeOffset());
}

// The background of text in opaque mode, in logical coordinates.
void FillBackground(const Canvas& c, int64_t left, int64_t top, int64_t right, int64_t bottom) {
    PaintRect(c, SurfaceRect(c, left, top, right, bottom), SolidPaint(c.dc->state.bkColor));
}

bool ExtTextOutImpl(HDC dc, int x, int y, unsigned options, const TRect* rect, std::u32string_view text) {
    Canvas c;
    if (!ResolveCanvas(dc, c)) return false;
    auto font = DcFont(c);
    if (!font) return false;
    if (rect && (options & ETO_OPAQUE)) FillBackground(c, rect->left, rect->top, rect->right, rect->bottom);
    if (rect && (options & ETO_CLIPPED))
        c.CutTo(SurfaceRect(c, rect->left, rect->top, rect->right, rect->bottom));
    if (c.dc->state.bkMode == OPAQUE && !(rect && (options & ETO_OPAQUE))) {
        const int64_t width = TextWidth(*font, text, 0);
        FillBackground(c, x, y, x + width, int64_t{y} + font->Height());
    }
    DrawLine(c, *font, c.X(x), c.Y(y), text, nullptr, 0, c.dc->state.textColor);
    return true;
}

// ---------------------------------------------------------------------------
// DrawText layout

bool IsCjk(char32_t ch) {
    return (ch >= 0x2E80 && ch <= 0x9FFF) || (ch >= 0xAC00 && ch <= 0xD7AF) ||
           (ch >= 0xF900 && ch <= 0xFAFF) || (ch >= 0xFF00 && ch <= 0xFFEF) ||
           (ch >= 0x20000 && ch <= 0x2FFFF);
}

bool IsSpace(char32_t ch) { return ch == U' ' || ch == U'\t' || ch == 0x3000; }

// A line may break before character i.
bool BreakBefore(std::u32string_view s, size_t i) {
    if (i == 0 || i >= s.size() || IsSpace(s[i])) return false;
    return IsSpace(s[i - 1]) || IsCjk(s[i]) || IsCjk(s[i - 1]);
}

// The text with its & prefixes resolved: "&&" is "&", "&x" marks x.
TextLine ResolvePrefixes(std::u32string_view text, unsigned format) {
    TextLine out;
    const bool prefixes = !(format & DT_NOPREFIX);
    const bool show = !(format & DT_HIDEPREFIX);
    bool mark = false;
    for (size_t i = 0; i < text.size(); ++i) {
        if (prefixes && text[i] == U'&') {
            if (i + 1 < text.size() && text[i + 1] == U'&') {
                ++i;
            } else {
                mark = show;
                continue;
            }
        }
        out.text.push_back(text[i]);
        out.underline.push_back(mark ? 1 : 0);
        mark = false;
    }
    return out;
}

TextLine Slice(const TextLine& line, size_t from, size_t to) {
    TextLine out;
    out.text = line.text.substr(from, to - from);
    out.underline.assign(line.underline.begin() + static_cast<ptrdiff_t>(from),
                         line.underline.begin() + static_cast<ptrdiff_t>(to));
    return out;
}

std::vector<TextLine> SplitParagraphs(const TextLine& text, bool singleLine) {
    std::vector<TextLine> out;
    TextLine current;
    for (size_t i = 0; i < text.text.size(); ++i) {
        const char32_t ch = text.text[i];
        if (ch == U'\r' || ch == U'\n') {
            if (singleLine) continue;
            out.push_back(std::move(current));
            current = TextLine{};
            if (ch == U'\r' && i + 1 < text.text.size() && text.text[i + 1] == U'\n') ++i;
            continue;
        }
        current.text.push_back(ch);
        current.underline.push_back(text.underline[i]);
    }
    out.push_back(std::move(current));
    return out;
}

// Greedy word wrapping at `width`. A word that does not fit alone stays
// whole on its own line, as the system did; spaces at a break vanish.
void WrapParagraph(FontInstance& font, const TextLine& para, int64_t width, int tabWidth,
                   std::vector<TextLine>& lines) {
    const std::u32string_view s = para.text;
    size_t pos = 0;
    do {
        size_t end = s.size();
        size_t lastBreak = 0;
        int64_t x = 0;
        for (size_t i = pos; i < s.size(); ++i) {
            if (i > pos && BreakBefore(s, i)) lastBreak = i;
            int64_t advance;
            if (s[i] == U'\t' && tabWidth > 0)
                advance = (x / tabWidth + 1) * tabWidth - x;
            else
                advance = font.Glyph(s[i]).advance;
            if (x + advance > width && i > pos && !IsSpace(s[i])) {
                if (lastBreak > pos) {
                    end = lastBreak;
                } else {
                    end = i;
                    while (end < s.size() && !BreakBefore(s, end)) ++end;
                }
                break;
            }
            x += advance;
        }
        size_t trimmed = end;
        while (trimmed > pos && IsSpace(s[trimmed - 1])) --trimmed;
        lines.push_back(Slice(para, pos, trimmed));
        pos = end;
        while (pos < s.size() && IsSpace(s[pos])) ++pos;
    } while (pos < s.size());
}

TextLine WithEllipsis(const TextLine& head, const TextLine& tail) {
    TextLine out = head;
    out.text += kEllipsis;
    out.underline.resize(out.text.size(), 0);
    out.text += tail.text;
    out.underline.insert(out.underline.end(), tail.underline.begin(), tail.underline.end());
    return out;
}

// The longest head of the line that, followed by "..." and `tail`, fits.
TextLine EndEllipsis(FontInstance& font, const TextLine& line, const TextLine& tail, int64_t width,
                     int tabWidth) {
    const int64_t rest = TextWidth(font, kEllipsis, 0) + TextWidth(font, tail.text, 0);
    size_t keep = 0;
    WalkGlyphs(font, line.text, tabWidth, [&](size_t i, int64_t x, const GlyphImage& g) {
        if (x + g.advance + rest <= width && keep == i) keep = i + 1;
    });
    return WithEllipsis(Slice(line, 0, keep), tail);
}

// "C:\dir\sub\file.txt" keeps its last part: "C:\di...\file.txt".
TextLine PathEllipsis(FontInstance& font, const TextLine& line, int64_t width, int tabWidth) {
    const size_t sep = line.text.find_last_of(U"\\/");
    if (sep == std::u32string::npos) return EndEllipsis(font, line, TextLine{}, width, tabWidth);
    const TextLine head = Slice(line, 0, sep);
    const TextLine tail = Slice(line, sep, line.text.size());
    const TextLine shortened = EndEllipsis(font, head, tail, width, tabWidth);
    if (TextWidth(font, shortened.text, tabWidth) <= width) return shortened;
    return EndEllipsis(font, WithEllipsis(TextLine{}, tail), TextLine{}, width, tabWidth);
}

int DrawTextImpl(HDC dc, std::u32string_view text, TRect* rect, unsigned format) {
    Canvas c;
    if (!rect || !ResolveCanvas(dc, c)) return 0;
    auto fontPtr = DcFont(c);
    if (!fontPtr) return 0;
    FontInstance& font = *fontPtr;
    const bool singleLine = format & DT_SINGLELINE;
    const int tabWidth = (format & DT_EXPANDTABS) ? 8 * font.AveCharWidth() : 0;
    const int64_t width = int64_t{rect->right} - rect->left;

    std::vector<TextLine> lines;
    for (const TextLine& para : SplitParagraphs(ResolvePrefixes(text, format), singleLine)) {
        if ((format & DT_WORDBREAK) && !singleLine)
            WrapParagraph(font, para, width, tabWidth, lines);
        else
            lines.push_back(para);
    }
    std::vector<int64_t> widths;
    int64_t widest = 0;
    for (TextLine& line : lines) {
        int64_t w = TextWidth(font, line.text, tabWidth);
        if (w > width && (format & (DT_END_ELLIPSIS | DT_PATH_ELLIPSIS))) {
            line = (format & DT_PATH_ELLIPSIS) ? PathEllipsis(font, line, width, tabWidth)
                                               : EndEllipsis(font, line, TextLine{}, width, tabWidth);
            w = TextWidth(font, line.text, tabWidth);
        }
        widths.push_back(w);
        widest = std::max(widest, w);
    }
    const int64_t lineHeight = font.Height();
    const int64_t total = lineHeight * static_cast<int64_t>(lines.size());
    auto toInt = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };

    if (format & DT_CALCRECT) {
        rect->right = toInt(rect->left + widest);
        rect->bottom = toInt(rect->top + total);
        return toInt(total);
    }

    int64_t top = rect->top;
    if (singleLine && (format & DT_VCENTER))
        top = rect->top + (int64_t{rect->bottom} - rect->top - total) / 2;
    else if (singleLine && (format & DT_BOTTOM))
        top = int64_t{rect->bottom} - total;
    if (!(format & DT_NOCLIP)) c.CutTo(SurfaceRect(c, rect->left, rect->top, rect->right, rect->bottom));

    for (size_t i = 0; i < lines.size(); ++i) {
        int64_t left = rect->left;
        if (format & DT_CENTER)
            left += (width - widths[i]) / 2;
        else if (format & DT_RIGHT)
            left = int64_t{rect->right} - widths[i];
        const int64_t y = top + lineHeight * static_cast<int64_t>(i);
        if (c.dc->state.bkMode == OPAQUE) FillBackground(c, left, y, left + widths[i], y + lineHeight);
        DrawLine(c, font, c.X(left), c.Y(y), lines[i].text, &lines[i].underline, tabWidth,
                 c.dc->state.textColor);
    }
    if (singleLine && (format & (DT_VCENTER | DT_BOTTOM))) return toInt(top + total - rect->top);
    return toInt(total);
}

bool ExtentImpl(HDC dc, std::u32string_view text, TSize* size) {
    Canvas c;
    if (!size || !ResolveCanvas(dc, c)) return false;
    auto font = DcFont(c);
    if (!font) return false;
    size->cx = static_cast<int>(std::min<int64_t>(TextWidth(*font, text, 0), INT32_MAX));
    size->cy = font->Height();
    return true;
}

}  // namespace

bool TextOutW(HDC dc, int x, int y, std::u16string_view text) {
    return ExtTextOutImpl(dc, x, y, 0, nullptr, ToCodePoints(text));
}

bool TextOutA(HDC dc, int x, int y, std::string_view text) {
    return ExtTextOutImpl(dc, x, y, 0, nullptr, ToCodePoints(text));
}

bool ExtTextOutW(HDC dc, int x, int y, unsigned options, const TRect* rect, std::u16string_view text) {
    return ExtTextOutImpl(dc, x, y, options, rect, ToCodePoints(text));
}

bool ExtTextOutA(HDC dc, int x, int y, unsigned options, const TRect* rect, std::string_view text) {
    return ExtTextOutImpl(dc, x, y, options, rect, ToCodePoints(text));
}

int DrawTextW(HDC dc, std::u16string_view text, TRect* rect, unsigned format) {
    return DrawTextImpl(dc, ToCodePoints(text), rect, format);
}

int DrawTextA(HDC dc, std::string_view text, TRect* rect, unsigned format) {
    return DrawTextImpl(dc, ToCodePoints(text), rect, format);
}

bool GetTextExtentPoint32W(HDC dc, std::u16string_view text, TSize* size) {
    return ExtentImpl(dc, ToCodePoints(text), size);
}

bool GetTextExtentPoint32A(HDC dc, std::string_view text, TSize* size) {
    return ExtentImpl(dc, ToCodePoints(text), size);
}

bool GetTextMetricsW(HDC dc, TEXTMETRICW* metrics) {
    Canvas c;
    if (!metrics || !ResolveCanvas(dc, c)) return false;
    auto font = DcFont(c);
    if (!font) return false;
    *metrics = TEXTMETRICW{};
    metrics->tmHeight = font->Height();
    metrics->tmAscent = font->Ascent();
    metrics->tmDescent = font->Descent();
    metrics->tmInternalLeading = font->InternalLeading();
    metrics->tmAveCharWidth = font->AveCharWidth();
    metrics->tmMaxCharWidth = font->MaxCharWidth();
    const LOGFONTW& log = font->Log();
    metrics->tmWeight = log.lfWeight <= 0 ? FW_NORMAL : log.lfWeight;
    metrics->tmItalic = log.lfItalic ? 1 : 0;
    metrics->tmUnderlined = log.lfUnderline ? 1 : 0;
    metrics->tmStruckOut = log.lfStrikeOut ? 1 : 0;
    metrics->tmCharSet = log.lfCharSet;
    metrics->tmPitchAndFamily = log.lfPitchAndFamily;
    return true;
}

int PointsToFontHeight(int points) { return -static_cast<int>(std::lround(points * 96.0 / 72.0)); }

int FontHeightToPoints(int height) { return -static_cast<int>(std::lround(height * 72.0 / 96.0)); }

}  // namespace tarvel
