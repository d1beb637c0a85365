// Draws one of everything into a picture for people to look at,
// build/<dir>/gdi_contact_sheet.png, and compares it with its reference.

#include <gtest/gtest.h>

#include <filesystem>
#include <string>

#include "platform/base/Strings.h"
#include "tests/platform/gdi/GdiFixture.h"
#include "tests/platform/gdi/ReferencePictureFixture.h"

namespace tarvel {
namespace {

using gditest::PixelDc;
using gditest::ScopedFont;

void Label(HDC dc, int x, int y, const char* text) {
    SetTextColor(dc, RGB(0, 0, 0));
    TextOutA(dc, x, y, text);
}

void Primitives(HDC dc) {
    HPEN pen = CreatePen(PS_SOLID, 1, RGB(0, 0, 128));
    HPEN wide = CreatePen(PS_SOLID, 3, RGB(200, 0, 0));
    HBRUSH fill = CreateSolidBrush(RGB(255, 220, 120));
    HPEN oldPen = SelectObject(dc, pen);
    HBRUSH oldBrush = SelectObject(dc, fill);
    Rectangle(dc, 10, 30, 60, 70);
    Ellipse(dc, 70, 30, 130, 70);
    RoundRect(dc, 140, 30, 200, 70, 16, 16);
    const TPoint triangle[] = {{210, 70}, {235, 30}, {260, 70}};
    Polygon(dc, triangle, 3);
    const TPoint check[] = {{270, 48}, {278, 58}, {298, 34}};
    SelectObject(dc, wide);
    Polyline(dc, check, 3);
    SelectObject(dc, pen);
    for (int i = 0; i < 8; ++i) {
        MoveToEx(dc, 310, 30 + i * 5, nullptr);
        LineTo(dc, 360, 30 + i * 7);
    }
    DrawFocusRect(dc, Rect(370, 30, 430, 70));
    PixelDc pattern(2, 2, 0x00FFFFFF);
    pattern.surface->SetPixel(0, 0, 0x00808080);
    pattern.surface->SetPixel(1, 1, 0x00808080);
    HBRUSH halftone = CreatePatternBrush(pattern.bitmap);
    FillRect(dc, Rect(440, 30, 490, 70), halftone);
    TRect edge = Rect(500, 30, 550, 70);
    DrawEdge(dc, &edge, EDGE_RAISED, BF_RECT | BF_MIDDLE);
    edge = Rect(560, 30, 610, 70);
    DrawEdge(dc, &edge, EDGE_SUNKEN, BF_RECT);
    SelectObject(dc, oldPen);
    SelectObject(dc, oldBrush);
    for (HGDIOBJ o : {HGDIOBJ(pen), HGDIOBJ(wide), HGDIOBJ(fill), HGDIOBJ(halftone)}) DeleteObject(o);
}

void FrameControls(HDC dc) {
    struct Kind {
        unsigned type, state;
    };
    const Kind kinds[] = {
        {DFC_CAPTION, DFCS_CAPTIONCLOSE},   {DFC_CAPTION, DFCS_CAPTIONMIN},  {DFC_CAPTION, DFCS_CAPTIONMAX},
        {DFC_CAPTION, DFCS_CAPTIONRESTORE}, {DFC_CAPTION, DFCS_CAPTIONHELP}, {DFC_MENU, DFCS_MENUARROW},
        {DFC_SCROLL, DFCS_SCROLLUP},        {DFC_SCROLL, DFCS_SCROLLDOWN},   {DFC_SCROLL, DFCS_SCROLLLEFT},
        {DFC_SCROLL, DFCS_SCROLLRIGHT},     {DFC_BUTTON, DFCS_BUTTONPUSH}};
    const unsigned states[] = {0, DFCS_PUSHED, DFCS_FLAT, DFCS_INACTIVE};
    int x = 10;
    for (const Kind& k : kinds) {
        for (int s = 0; s < 4; ++s) {
            TRect r = Bounds(x, 100 + s * 20, 16, 14);
            DrawFrameControl(dc, &r, k.type, k.state | states[s]);
        }
        TRect big = Bounds(x, 185, 32, 28);
        DrawFrameControl(dc, &big, k.type, k.state);
        x += 40;
    }
}

void Texts(HDC dc) {
    SetBkMode(dc, TRANSPARENT);
    const char* faces[] = {"MS Sans Serif", "Tahoma", "Arial", "宋体"};
    int y = 240;
    for (const char* face : faces) {
        ScopedFont font(face, -11), bold(face, -11, FW_BOLD),
            aliased(face, -11, FW_NORMAL, NONANTIALIASED_QUALITY);
        SelectObject(dc, font.font);
        TextOutA(dc, 10, y, (String(face) + ": The battery module 电池模块 12.5 V").c_str());
        SelectObject(dc, bold.font);
        TextOutA(dc, 330, y, "Bold 加粗");
        SelectObject(dc, aliased.font);
        TextOutA(dc, 430, y, "Aliased 无平滑");
        SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
        y += 18;
    }
    LOGFONTW styled;
    SetFaceName(styled, "Tahoma");
    styled.lfHeight = -13;
    styled.lfItalic = 1;
    styled.lfUnderline = 1;
    HFONT italic = CreateFontIndirectW(styled);
    styled.lfItalic = 0;
    styled.lfUnderline = 0;
    styled.lfStrikeOut = 1;
    HFONT struck = CreateFontIndirectW(styled);
    SelectObject(dc, italic);
    TextOutA(dc, 430, 320, "Italic underlined");
    SelectObject(dc, struck);
    TextOutA(dc, 430, 345, "Struck out 删除");
    SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
    DeleteObject(italic);
    DeleteObject(struck);
    ScopedFont font("Tahoma", -11);
    SelectObject(dc, font.font);
    TRect box = Rect(10, 320, 200, 400);
    FrameRect(dc, box, HBRUSH(GetStockObject(GRAY_BRUSH)));
    DrawTextW(dc, u"Word-wrapped text in a box: the lines break between words, and 中文文字在汉字之间换行。",
              &box, DT_WORDBREAK | DT_CENTER);
    TRect line = Rect(220, 320, 400, 340);
    FrameRect(dc, line, HBRUSH(GetStockObject(GRAY_BRUSH)));
    DrawTextW(dc, u"&File  —  a shortened caption that is far too long", &line,
              DT_SINGLELINE | DT_VCENTER | DT_END_ELLIPSIS);
    TRect path = Rect(220, 350, 400, 370);
    FrameRect(dc, path, HBRUSH(GetStockObject(GRAY_BRUSH)));
    DrawTextW(dc, u"C:\\Program Files\\Tarvel\\DataAccess\\Data.db", &path, DT_SINGLELINE | DT_PATH_ELLIPSIS);
    TRect right = Rect(220, 380, 400, 400);
    FrameRect(dc, right, HBRUSH(GetStockObject(GRAY_BRUSH)));
    DrawTextW(dc, u"Right aligned", &right, DT_SINGLELINE | DT_RIGHT | DT_BOTTOM);
    SelectObject(dc, HFONT(GetStockObject(DEFAULT_GUI_FONT)));
}

TEST(ContactSheet, WritesAPictureOfEverything) {
    PixelDc sheet(640, 420, 0x00FFFFFF);
    FillRect(sheet.dc, Rect(0, 0, 640, 420), HBRUSH(GetStockObject(WHITE_BRUSH)));
    SetBkMode(sheet.dc, TRANSPARENT);
    Label(sheet.dc, 10, 10, "Primitives, edges and pattern brush");
    Primitives(sheet.dc);
    Label(sheet.dc, 10, 80, "Frame controls: normal, pushed, flat, inactive; large");
    FrameControls(sheet.dc);
    Texts(sheet.dc);
    const std::string path = std::string(TARVEL_BINARY_DIR) + "/gdi_contact_sheet.png";
    ASSERT_TRUE(WritePng(*sheet.surface, path.c_str()));
    EXPECT_GT(std::filesystem::file_size(path), 1000u);
    EXPECT_TRUE(reference::MatchesReference(*sheet.surface, "platform/gdi/contact_sheet.png"));
    EXPECT_FALSE(WritePng(*sheet.surface, "/nonexistent-folder/x.png"));
    EXPECT_FALSE(WritePng(Surface(0, 0), path.c_str()));
}

}  // namespace
}  // namespace tarvel
