#include <gtest/gtest.h>

#include <vector>

#include "platform/base/Strings.h"
#include "platform/gdi/Fonts.h"
#include "tests/platform/gdi/GdiFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::ScopedFont;

constexpr uint32_t kPaper = 0xFFFFFFFF;  // opaque white, so text's alpha 0 shows

// Pixels of `text` drawn black with `format` into `rect` of a 160 x 60 surface.
std::vector<uint32_t> Render(HFONT font, std::u16string_view text, TRect rect, unsigned format) {
    PixelDc p(160, 60, kPaper);
    SelectObject(p.dc, font);
    SetBkMode(p.dc, TRANSPARENT);
    DrawTextW(p.dc, text, &rect, format);
    return std::vector<uint32_t>(p.surface->Bits(), p.surface->Bits() + 160 * 60);
}

TSize Extent(HFONT font, std::u16string_view text) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    TSize size;
    GetTextExtentPoint32W(dc, text, &size);
    DeleteDC(dc);
    return size;
}

TRect CalcRect(HFONT font, std::u16string_view text, TRect rect, unsigned format) {
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font);
    DrawTextW(dc, text, &rect, format | DT_CALCRECT);
    DeleteDC(dc);
    return rect;
}

constexpr unsigned kLine = DT_SINGLELINE | DT_NOCLIP;

TEST(Text, MeasuredWidthIsTheWidthDrawingUses) {
    ScopedFont font("Tahoma", -11);
    for (std::u16string_view text : {u"Hello World", u"Wij", u"电池 Module 12", u"a"}) {
        const TRect calc = CalcRect(font.font, text, Rect(10, 5, 10, 5), DT_SINGLELINE);
        const TSize size = Extent(font.font, text);
        EXPECT_EQ(calc, Rect(10, 5, 10 + size.cx, 5 + size.cy));
        // In a box exactly that wide, left, centred and right alignment agree.
        const auto left = Render(font.font, text, calc, kLine | DT_LEFT);
        EXPECT_EQ(Render(font.font, text, calc, kLine | DT_CENTER), left);
        EXPECT_EQ(Render(font.font, text, calc, kLine | DT_RIGHT), left);
        // And the ink lies within it (a pixel of overhang allowed).
        PixelDc p(160, 60, kPaper);
        SelectObject(p.dc, font.font);
        SetBkMode(p.dc, TRANSPARENT);
        TRect r = calc;
        DrawTextW(p.dc, text, &r, kLine);
        const TRect ink = p.Ink(kPaper);
        EXPECT_GE(ink.left, calc.left - 1);
        EXPECT_LE(ink.right, calc.right + 1);
        EXPECT_GE(ink.top, calc.top);
        EXPECT_LE(ink.bottom, calc.bottom);
        EXPECT_GE(ink.Width(), size.cx / 2);
    }
}

TEST(Text, CentredAndRightAlignedTextIsPlacedByItsWidth) {
    ScopedFont font("Arial", -12);
    const std::u16string_view text = u"Centre me";
    const TSize size = Extent(font.font, text);
    const TRect box = Rect(5, 4, 150, 50);
    EXPECT_EQ(Render(font.font, text, box, kLine | DT_CENTER),
              Render(font.font, text, Rect(5 + (145 - size.cx) / 2, 4, 150, 50), kLine));
    EXPECT_EQ(Render(font.font, text, box, kLine | DT_RIGHT),
              Render(font.font, text, Rect(150 - size.cx, 4, 150, 50), kLine));
    EXPECT_EQ(Render(font.font, text, box, kLine | DT_VCENTER),
              Render(font.font, text, Rect(5, 4 + (46 - size.cy) / 2, 150, 50), kLine));
    EXPECT_EQ(Render(font.font, text, box, kLine | DT_BOTTOM),
              Render(font.font, text, Rect(5, 50 - size.cy, 150, 50), kLine));

    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font.font);
    TRect r = box;
    EXPECT_EQ(DrawTextW(dc, text, &r, DT_SINGLELINE | DT_VCENTER), (46 - size.cy) / 2 + size.cy);
    EXPECT_EQ(DrawTextW(dc, text, &r, DT_SINGLELINE), size.cy);
    DeleteDC(dc);
}

TEST(Text, WordBreakWrapsAtTheRectWidth) {
    ScopedFont font("Tahoma", -11);
    const int lineHeight = Extent(font.font, u"x").cy;
    const int width = Extent(font.font, u"aaa bbb").cx;
    struct Case {
        std::u16string_view text;
        int lines;
    };
    const Case cases[] = {
        {u"aaa bbb ccc ddd", 2},
        {u"aaa bbb aaa bbb aaa", 3},
        {u"aaa\naaa bbb aaa", 3},
        {u"aaa bbb", 1},
        {u"", 1},
        {u"电池电池电池电池电池电池电池电池电池电池电池电池", 0},  // breaks between ideographs: at least 2
    };
    for (const Case& c : cases) {
        const TRect r = CalcRect(font.font, c.text, Rect(0, 0, width, 0), DT_WORDBREAK);
        if (c.lines > 0)
            EXPECT_EQ(r.bottom, c.lines * lineHeight) << WideToUtf8(c.text);
        else
            EXPECT_GE(r.bottom, 2 * lineHeight);
        EXPECT_LE(r.right, width) << WideToUtf8(c.text);
    }
    // A word longer than the line stays whole on a line of its own.
    const TRect r = CalcRect(font.font, u"aaaaaaaaaaaaaaaa bb", Rect(0, 0, width, 0), DT_WORDBREAK);
    EXPECT_EQ(r.bottom, 2 * lineHeight);
    EXPECT_EQ(r.right, Extent(font.font, u"aaaaaaaaaaaaaaaa").cx);
    // Without DT_WORDBREAK line feeds still break, unless single line.
    EXPECT_EQ(CalcRect(font.font, u"a\r\nb", Rect(0, 0, 0, 0), 0).bottom, 2 * lineHeight);
    EXPECT_EQ(CalcRect(font.font, u"a\r\nb", Rect(0, 0, 0, 0), DT_SINGLELINE).bottom, lineHeight);
}

TEST(Text, AmpersandPrefixes) {
    ScopedFont font("Tahoma", -11);
    struct Case {
        std::u16string_view text;
        unsigned format;
        std::u16string_view measuredAs;
    };
    const Case cases[] = {
        {u"&File", 0, u"File"},
        {u"Save && Exit", 0, u"Save & Exit"},
        {u"&File", DT_NOPREFIX, u"&File"},
        {u"&File", DT_HIDEPREFIX, u"File"},
        {u"End&", 0, u"End"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(CalcRect(font.font, c.text, Rect(0, 0, 0, 0), DT_SINGLELINE | c.format).right,
                  Extent(font.font, c.measuredAs).cx)
            << WideToUtf8(c.text);
    // The marked letter is underlined: more ink, reaching lower.
    PixelDc plain(60, 20, kPaper), marked(60, 20, kPaper), hidden(60, 20, kPaper);
    for (PixelDc* p : {&plain, &marked, &hidden}) {
        SelectObject(p->dc, font.font);
        SetBkMode(p->dc, TRANSPARENT);
    }
    TRect r = Rect(0, 0, 60, 20);
    DrawTextW(plain.dc, u"File", &r, DT_SINGLELINE);
    DrawTextW(marked.dc, u"&File", &r, DT_SINGLELINE);
    DrawTextW(hidden.dc, u"&File", &r, DT_SINGLELINE | DT_HIDEPREFIX);
    EXPECT_GT(marked.Ink(kPaper).bottom, plain.Ink(kPaper).bottom);
    EXPECT_EQ(hidden.Picture(0, kPaper), plain.Picture(0, kPaper));
}

// The forms were laid out with these faces; their metric-compatible
// stand-ins keep captions the widths they were given.
TEST(Text, LayoutFacesResolveToMetricCompatibleFaces) {
    const std::pair<const char*, const char*> faces[] = {{"MS Sans Serif", "Liberation Sans"},
                                                         {"Tahoma", "Liberation Sans"},
                                                         {"Arial", "Liberation Sans"},
                                                         {"Courier New", "Liberation Mono"}};
    for (auto [face, resolved] : faces) {
        for (int weight : {FW_NORMAL, FW_BOLD}) {
            LOGFONTW log;
            SetFaceName(log, face);
            log.lfHeight = -11;
            log.lfWeight = weight;
            EXPECT_EQ(FontInstance::Realise(log)->FamilyName(), resolved) << face << " " << weight;
        }
    }
    LOGFONTW song;
    SetFaceName(song, "宋体");
    song.lfHeight = -12;
    EXPECT_NE(FontInstance::Realise(song)->FamilyName().find("Liberation"), 0u)
        << "a Chinese face stays Chinese";
}

// Fonts and face matches outlive the font objects that asked for them; a
// request made again, after others and after its own font was deleted,
// draws as the first time, and weight, slant and size still tell apart.
TEST(Text, FontsRealisedAgainDrawAsBefore) {
    struct Request {
        const char* face;
        int height, weight;
        bool italic;
    };
    const Request requests[] = {
        {"Tahoma", -11, FW_NORMAL, false},
        {"tahoma", -11, FW_NORMAL, false},
        {"Tahoma", -11, FW_BOLD, false},
        {"Tahoma", -11, FW_NORMAL, true},
        {"Tahoma", -13, FW_NORMAL, false},
        {"Tahoma", -13, FW_BOLD, true},
        {"Courier New", -11, FW_NORMAL, false},
        {"Courier New", -13, FW_BOLD, false},
        {"Verdana", -11, 0, false},
        {"Verdana", -12, FW_SEMIBOLD, false},
        {"宋体", -12, FW_NORMAL, false},
    };
    auto draw = [](const Request& r) {
        LOGFONTW log;
        SetFaceName(log, r.face);
        log.lfHeight = r.height;
        log.lfWeight = r.weight;
        log.lfItalic = r.italic;
        HFONT font = CreateFontIndirectW(log);
        std::vector<uint32_t> picture = Render(font, u"Wxg 电", TRect{2, 2, 158, 58}, DT_SINGLELINE);
        DeleteObject(font);
        return picture;
    };
    std::vector<std::vector<uint32_t>> first;
    for (const Request& r : requests) first.push_back(draw(r));
    EXPECT_EQ(first[0], first[1]) << "face names match whatever their case";
    for (int other : {2, 3, 4}) EXPECT_NE(first[0], first[other]) << requests[other].face << " " << other;
    for (size_t i = std::size(requests); i-- > 0;)
        EXPECT_EQ(draw(requests[i]), first[i]) << requests[i].face << " " << requests[i].height << " "
                                               << requests[i].weight << " " << requests[i].italic;
}

TEST(Text, ChineseRendersThroughTheFallbackFace) {
    // A Latin face asked for Chinese falls back per character; a Chinese
    // face name maps to a Chinese face directly.
    for (const char* face : {"Tahoma", "宋体"}) {
        ScopedFont font(face, -12);
        const TSize size = Extent(font.font, u"电池");
        EXPECT_GE(size.cx, 2 * 10) << face;  // ideographs are about an em wide
        PixelDc p(60, 20, kPaper);
        SelectObject(p.dc, font.font);
        SetBkMode(p.dc, TRANSPARENT);
        TextOutW(p.dc, 2, 2, u"电池");
        int dark = 0;
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 60; ++x) dark += (p.At(x, y) & 0xFF) < 128;
        EXPECT_GT(dark, 20) << face;
        EXPECT_FALSE(p.Ink(kPaper).IsEmpty());
        // Real glyphs, not the same missing-glyph box twice.
        EXPECT_NE(Render(font.font, u"电", Rect(0, 0, 40, 20), 0),
                  Render(font.font, u"池", Rect(0, 0, 40, 20), 0))
            << face;
    }
}

TEST(Text, TextWritesAlphaZeroAndAliasedTextHasOnlyTwoColours) {
    ScopedFont smooth("Tahoma", -13), aliased("Tahoma", -13, FW_NORMAL, NONANTIALIASED_QUALITY);
    int intermediate[2] = {};
    HFONT fonts[2] = {smooth.font, aliased.font};
    for (int i = 0; i < 2; ++i) {
        PixelDc p(80, 20, kPaper);
        SelectObject(p.dc, fonts[i]);
        SetBkMode(p.dc, TRANSPARENT);
        SetTextColor(p.dc, RGB(0, 0, 255));
        TextOutW(p.dc, 1, 1, u"Gradient @ 42");
        for (int y = 0; y < 20; ++y)
            for (int x = 0; x < 80; ++x) {
                const uint32_t px = p.At(x, y);
                if (px == kPaper) continue;
                EXPECT_EQ(px >> 24, 0u);  // every touched pixel has alpha 0
                if (px != 0x000000FF) ++intermediate[i];
            }
    }
    EXPECT_GT(intermediate[0], 0);  // antialiased edges
    EXPECT_EQ(intermediate[1], 0);  // aliased: text colour or untouched
}

TEST(Text, TabsExpandToEightAverageWidths) {
    ScopedFont font("Tahoma", -11);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, font.font);
    TEXTMETRICW tm;
    ASSERT_TRUE(GetTextMetricsW(dc, &tm));
    DeleteDC(dc);
    const TRect r = CalcRect(font.font, u"a\tb", Rect(0, 0, 0, 0), DT_SINGLELINE | DT_EXPANDTABS);
    EXPECT_EQ(r.right, 8 * tm.tmAveCharWidth + Extent(font.font, u"b").cx);
}

TEST(Text, EllipsesShortenToTheWidth) {
    ScopedFont font("Tahoma", -11);
    const std::u16string_view longText = u"A rather long caption that does not fit";
    const int width = Extent(font.font, u"A rather long").cx;
    const TRect end = CalcRect(font.font, longText, Rect(0, 0, width, 0), DT_SINGLELINE | DT_END_ELLIPSIS);
    EXPECT_LE(end.right, width);
    EXPECT_GT(end.right, Extent(font.font, u"A rather...").cx - 1);
    const std::u16string_view path = u"C:\\Program Files\\Tarvel\\data\\file.txt";
    const int pathWidth = Extent(font.font, u"C:\\Program...\\file.txt").cx;
    const TRect p = CalcRect(font.font, path, Rect(0, 0, pathWidth, 0), DT_SINGLELINE | DT_PATH_ELLIPSIS);
    EXPECT_LE(p.right, pathWidth);
    EXPECT_GE(p.right, Extent(font.font, u"...\\file.txt").cx);
    // Too narrow for anything: just the dots.
    EXPECT_EQ(CalcRect(font.font, longText, Rect(0, 0, 1, 0), DT_SINGLELINE | DT_END_ELLIPSIS).right,
              Extent(font.font, u"...").cx);
}

TEST(Text, MetricsFollowTheRequestedHeight) {
    HDC dc = CreateCompatibleDC(nullptr);
    for (int height : {-11, -16, 20}) {
        ScopedFont font("MS Sans Serif", height);
        SelectObject(dc, font.font);
        TEXTMETRICW tm;
        ASSERT_TRUE(GetTextMetricsW(dc, &tm));
        EXPECT_EQ(tm.tmHeight, tm.tmAscent + tm.tmDescent);
        if (height < 0)
            EXPECT_EQ(tm.tmHeight - tm.tmInternalLeading, -height);
        else
            EXPECT_EQ(tm.tmHeight, height);
        EXPECT_GT(tm.tmAveCharWidth, 0);
        TSize size;
        GetTextExtentPoint32W(dc, u"", &size);
        EXPECT_EQ(size.cx, 0);
        EXPECT_EQ(size.cy, tm.tmHeight);
        SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
    }
    DeleteDC(dc);
    EXPECT_EQ(PointsToFontHeight(8), -11);
    EXPECT_EQ(PointsToFontHeight(9), -12);
    EXPECT_EQ(FontHeightToPoints(-11), 8);
}

TEST(Text, UnderlineStrikeOutAndItalicChangeTheInk) {
    auto ink = [](LOGFONTW log) {
        HFONT font = CreateFontIndirectW(log);
        PixelDc p(80, 24, kPaper);
        SelectObject(p.dc, font);
        SetBkMode(p.dc, TRANSPARENT);
        TextOutW(p.dc, 4, 2, u"mmmm");
        SelectObject(p.dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
        DeleteObject(font);
        return std::make_pair(p.Ink(kPaper), p.Picture(0, kPaper));
    };
    LOGFONTW log;
    SetFaceName(log, "Tahoma");
    log.lfHeight = -13;
    const auto plain = ink(log);
    LOGFONTW underlined = log;
    underlined.lfUnderline = 1;
    EXPECT_GT(ink(underlined).first.bottom, plain.first.bottom);  // a line below the baseline
    LOGFONTW struck = log;
    struck.lfStrikeOut = 1;
    EXPECT_EQ(ink(struck).first.bottom, plain.first.bottom);
    EXPECT_NE(ink(struck).second, plain.second);
    LOGFONTW italic = log;
    italic.lfItalic = 1;
    EXPECT_NE(ink(italic).second, plain.second);
}

TEST(Text, BoldIsWiderAndUtf8MatchesUtf16) {
    ScopedFont normal("Tahoma", -11), bold("Tahoma", -11, FW_BOLD);
    EXPECT_GT(Extent(bold.font, u"Module").cx, Extent(normal.font, u"Module").cx);
    HDC dc = CreateCompatibleDC(nullptr);
    SelectObject(dc, normal.font);
    TSize a, b;
    GetTextExtentPoint32A(dc, "电池 ok", &a);
    GetTextExtentPoint32W(dc, u"电池 ok", &b);
    EXPECT_EQ(a, b);
    DeleteDC(dc);
}

TEST(Text, OpaqueBackgroundAndClipping) {
    ScopedFont font("Tahoma", -11);
    PixelDc p(60, 20, kPaper);
    SelectObject(p.dc, font.font);
    SetBkColor(p.dc, RGB(0, 255, 0));
    const TSize size = Extent(font.font, u"Hi");
    TextOutW(p.dc, 3, 2, u"Hi");  // opaque by default: the cell is filled
    EXPECT_EQ(p.At(3, 2), 0x0000FF00u);
    EXPECT_EQ(p.At(3 + size.cx - 1, 2 + size.cy - 1), 0x0000FF00u);
    EXPECT_EQ(p.At(3 + size.cx, 2), kPaper);

    PixelDc q(60, 20, kPaper);
    SelectObject(q.dc, font.font);
    SetBkMode(q.dc, TRANSPARENT);
    const TRect clip = Rect(0, 0, 4, 20);
    ExtTextOutW(q.dc, 0, 0, ETO_CLIPPED, &clip, u"WWWW");
    EXPECT_LE(q.Ink(kPaper).right, 4);
    const TRect fill = Rect(10, 10, 20, 15);
    SetBkColor(q.dc, RGB(255, 0, 0));
    ExtTextOutW(q.dc, 10, 10, ETO_OPAQUE, &fill, u"");
    EXPECT_EQ(q.At(19, 14), 0x00FF0000u);

    // DrawText clips to its rectangle unless told not to.
    PixelDc r(60, 20, kPaper);
    SelectObject(r.dc, font.font);
    SetBkMode(r.dc, TRANSPARENT);
    TRect narrow = Rect(0, 0, 5, 20);
    DrawTextW(r.dc, u"WWWW", &narrow, DT_SINGLELINE);
    EXPECT_LE(r.Ink(kPaper).right, 5);
}

TEST(Text, BadInputFails) {
    TRect r;
    EXPECT_EQ(DrawTextW(HDC(), u"x", &r, 0), 0);
    HDC dc = CreateCompatibleDC(nullptr);
    EXPECT_EQ(DrawTextW(dc, u"x", nullptr, 0), 0);
    EXPECT_FALSE(GetTextExtentPoint32W(dc, u"x", nullptr));
    EXPECT_FALSE(GetTextMetricsW(dc, nullptr));
    EXPECT_FALSE(TextOutW(HDC(), 0, 0, u"x"));
    // Broken UTF-16 and UTF-8 still measure and draw.
    const char16_t lone[] = {u'a', char16_t(0xD800), u'b'};
    TSize size;
    EXPECT_TRUE(GetTextExtentPoint32W(dc, std::u16string_view(lone, 3), &size));
    EXPECT_TRUE(GetTextExtentPoint32A(dc, "\xff\xfe bad", &size));
    // Huge rectangles and positions are cut to the surface.
    PixelDc p(20, 20, kPaper);
    for (unsigned format :
         {0u, unsigned(DT_CENTER | DT_VCENTER | DT_SINGLELINE), unsigned(DT_WORDBREAK | DT_RIGHT),
          unsigned(DT_BOTTOM | DT_SINGLELINE | DT_END_ELLIPSIS)}) {
        TRect huge = Rect(INT32_MIN, INT32_MIN, INT32_MAX, INT32_MAX);
        EXPECT_GT(DrawTextW(p.dc, u"Huge text 大", &huge, format), 0);
        huge = Rect(INT32_MAX, INT32_MAX, INT32_MIN, INT32_MIN);
        DrawTextW(p.dc, u"Inverted", &huge, format);
    }
    EXPECT_TRUE(TextOutW(p.dc, INT32_MAX, INT32_MIN, u"far away"));
    SetWindowOrgEx(p.dc, INT32_MIN, INT32_MAX, nullptr);
    EXPECT_TRUE(TextOutW(p.dc, INT32_MAX, INT32_MIN, u"far away"));
    // Absurd heights are limited, not honoured.
    for (int height : {INT32_MIN, INT32_MAX, -100000}) {
        ScopedFont font("Tahoma", height);
        SelectObject(dc, font.font);
        EXPECT_TRUE(GetTextExtentPoint32W(dc, u"x", &size));
        EXPECT_LE(size.cy, 4096);
        SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
    }
    DeleteDC(dc);
}

}  // namespace
}  // namespace tarvel
