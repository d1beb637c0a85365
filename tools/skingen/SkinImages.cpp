#include "tools/skingen/SkinImages.h"

#include <cmath>
#include <memory>
#include <string_view>

#include "skin/core/te_bitmap.h"

namespace tarvel {

namespace {

// Colours as 0xRRGGBB; pixels get full alpha.
constexpr uint32_t kKey = 0x007F007F;  // left out where drawn
constexpr uint32_t Opaque(uint32_t rgb) { return 0xFF000000u | rgb; }

class Painter {
public:
    Painter(TteBitmapList& list, const char* name, int width, int height) : image_(new TteBitmap) {
        image_->Name = name;
        image_->SetSize(width, height);
        image_->Clear(kKey);
        list.Add(image_);
    }
    // Straight alpha, blended by the drawing code.
    void SetAlphaBlend() { image_->AlphaBlend = true; }
    void SetTransparent() { image_->Transparent = true; }

    void Pixel(int x, int y, uint32_t argb) { image_->SetPixel(x, y, argb); }
    void Fill(int x, int y, int w, int h, uint32_t rgb) {
        for (int j = y; j < y + h; ++j)
            for (int i = x; i < x + w; ++i) Pixel(i, j, Opaque(rgb));
    }
    // A vertical gradient from top to bottom.
    void Gradient(int x, int y, int w, int h, uint32_t top, uint32_t bottom) {
        for (int j = 0; j < h; ++j) {
            const uint32_t c = Mix(top, bottom, h > 1 ? j * 255 / (h - 1) : 0);
            Fill(x, y + j, w, 1, c);
        }
    }
    void Frame(int x, int y, int w, int h, uint32_t rgb) {
        Fill(x, y, w, 1, rgb);
        Fill(x, y + h - 1, w, 1, rgb);
        Fill(x, y, 1, h, rgb);
        Fill(x + w - 1, y, 1, h, rgb);
    }
    // Leaves the four corner pixels to the key colour: a 1-pixel rounding.
    void RoundCorners(int x, int y, int w, int h) {
        for (auto [cx, cy] : {std::pair{x, y}, {x + w - 1, y}, {x, y + h - 1}, {x + w - 1, y + h - 1}})
            Pixel(cx, cy, kKey);
    }
    // Rows of '#' (the colour) and '.' (untouched), centred in the cell.
    void Glyph(int cellX, int cellY, int cellW, int cellH, std::initializer_list<std::string_view> rows,
               uint32_t rgb) {
        const int h = static_cast<int>(rows.size());
        const int w = static_cast<int>(rows.begin()->size());
        const int x0 = cellX + (cellW - w) / 2, y0 = cellY + (cellH - h) / 2;
        int y = y0;
        for (std::string_view row : rows) {
            for (int x = 0; x < static_cast<int>(row.size()); ++x) {
                if (row[static_cast<size_t>(x)] == '#') Pixel(x0 + x, y, Opaque(rgb));
            }
            ++y;
        }
    }
    static uint32_t Mix(uint32_t a, uint32_t b, int weightB) {
        uint32_t out = 0;
        for (int shift : {0, 8, 16}) {
            const int ca = (a >> shift) & 0xFF, cb = (b >> shift) & 0xFF;
            out |= static_cast<uint32_t>((ca * (255 - weightB) + cb * weightB + 127) / 255) << shift;
        }
        return out;
    }

private:
    TteBitmap* image_;
};

// ---- palette ----
constexpr uint32_t kTeal = 0x24707A;      // active caption
constexpr uint32_t kTealHot = 0x3B8D97;   // hovered caption button
constexpr uint32_t kTealDark = 0x185C64;  // pressed caption button
constexpr uint32_t kAccent = 0x2E8A94;    // focus, checked, selection
constexpr uint32_t kFace = 0xF2F4F5;
constexpr uint32_t kWhite = 0xFFFFFF;
constexpr uint32_t kBorder = 0xA3AFB3;
constexpr uint32_t kBorderSoft = 0xB7C2C5;
constexpr uint32_t kBorderDisabled = 0xCBD2D4;
constexpr uint32_t kDisabledFace = 0xF3F5F6;
constexpr uint32_t kGlyph = 0x46555A;
constexpr uint32_t kGlyphDisabled = 0xB5BEC1;

// "Buttons": caption glyphs, cells 24x18. Columns: close, maximize, restore,
// minimize, roll up, roll down, tray. Rows: inactive, active, hot, pressed.
void DrawCaptionButtons(TteBitmapList& list) {
    Painter p(list, "Buttons", 7 * 24, 4 * 18);
    p.SetTransparent();
    const std::initializer_list<std::string_view> glyphs[] = {
        {"##.....##", ".##...##.", "..##.##..", "...###...", "..##.##..", ".##...##.", "##.....##"},
        {"#########", "#########", "#.......#", "#.......#", "#.......#", "#.......#", "#########"},
        {"..#######", "..#.....#", "#######.#", "#######.#", "#.....###", "#.....#..", "#######.."},
        {".........", ".........", ".........", ".........", ".........", "#########", "#########"},
        {"....#....", "...###...", "..##.##..", ".##...##.", "##.....##"},
        {"##.....##", ".##...##.", "..##.##..", "...###...", "....#...."},
        {"...###...", "...###...", ".#######.", "..#####..", "...###...", "....#....", ".........",
         "#########"}};
    for (int col = 0; col < 7; ++col) {
        const bool close = col == 0;
        const int x = col * 24;
        for (int row = 0; row < 4; ++row) {
            const int y = row * 18;
            if (row == 2) p.Fill(x + 1, y + 1, 22, 16, close ? 0xD0493F : kTealHot);
            if (row == 3) p.Fill(x + 1, y + 1, 22, 16, close ? 0xA8372E : kTealDark);
            if (row >= 2) p.RoundCorners(x + 1, y + 1, 22, 16);
            p.Glyph(x, y, 24, 18, glyphs[col], row == 0 ? 0xE6EBEC : kWhite);
        }
    }
}

struct FaceLook {
    uint32_t border, top, bottom;
};

// "Button": push-button faces, cells 18x18 with 3-pixel margins. Columns:
// normal, hot, focused, pressed, disabled.
void DrawPushButtons(TteBitmapList& list) {
    Painter p(list, "Button", 5 * 18, 18);
    p.SetTransparent();
    const FaceLook looks[] = {{kBorder, kWhite, 0xEBEFF0},
                              {0x3E96A0, 0xF4FAFB, 0xDDEEF0},
                              {kAccent, kWhite, 0xEBEFF0},
                              {0x1F6F78, 0xC6E0E3, 0xD8EAEC},
                              {kBorderDisabled, kDisabledFace, kDisabledFace}};
    for (int i = 0; i < 5; ++i) {
        const int x = i * 18;
        p.Gradient(x, 0, 18, 18, looks[i].top, looks[i].bottom);
        p.Frame(x, 0, 18, 18, looks[i].border);
        if (i == 2) p.Frame(x + 1, 1, 16, 16, 0xA8D3D8);
        p.RoundCorners(x, 0, 18, 18);
    }
}

// "Flat": borderless faces, cells 12x12 with 3-pixel margins. Columns:
// scroll button, hot, pressed, tool button, disabled scroll button; then a
// 2-pixel tool-bar separator at x 60.
void DrawFlatButtons(TteBitmapList& list) {
    Painter p(list, "Flat", 62, 12);
    p.SetTransparent();
    const FaceLook looks[] = {{0xEEF1F2, 0xEEF1F2, 0xEEF1F2},
                              {kBorderSoft, 0xE3EEF0, 0xE3EEF0},
                              {kAccent, 0xC9E1E4, 0xC9E1E4},
                              {kFace, kFace, kFace},
                              {0xEEF1F2, 0xEEF1F2, 0xEEF1F2}};
    for (int i = 0; i < 5; ++i) {
        const int x = i * 12;
        p.Fill(x, 0, 12, 12, looks[i].top);
        p.Frame(x, 0, 12, 12, looks[i].border);
        if (i == 1 || i == 2) p.RoundCorners(x, 0, 12, 12);
    }
    p.Fill(60, 0, 1, 12, 0xC5CDD0);
    p.Fill(61, 0, 1, 12, kWhite);
}

// "Arrows": 7x7 cells. Columns: up, down, left, right. Rows: normal, hot,
// disabled.
void DrawArrows(TteBitmapList& list) {
    Painter p(list, "Arrows", 4 * 7, 3 * 7);
    p.SetTransparent();
    const std::initializer_list<std::string_view> arrows[] = {
        {"...#...", "..###..", ".#####.", "#######"},
        {"#######", ".#####.", "..###..", "...#..."},
        {"...#", "..##", ".###", "####", ".###", "..##", "...#"},
        {"#...", "##..", "###.", "####", "###.", "##..", "#..."}};
    const uint32_t colours[] = {kGlyph, 0x1F6F78, kGlyphDisabled};
    for (int row = 0; row < 3; ++row)
        for (int col = 0; col < 4; ++col) p.Glyph(col * 7, row * 7, 7, 7, arrows[col], colours[row]);
}

// "Check": 13x13 boxes. Columns: normal, hot, pressed, disabled. Rows:
// unchecked, checked, mixed.
void DrawCheckBoxes(TteBitmapList& list) {
    Painter p(list, "Check", 4 * 13, 3 * 13);
    const uint32_t emptyBorder[] = {0x8E9CA1, kAccent, 0x1F6F78, kBorderDisabled};
    const uint32_t emptyFill[] = {kWhite, 0xF2F9FA, 0xDCEDEF, kDisabledFace};
    const uint32_t fullFill[] = {kAccent, 0x3E9AA4, 0x1F6F78, 0xC5CDD0};
    const uint32_t fullBorder[] = {kTeal, kAccent, kTealDark, 0xB5BEC1};
    for (int col = 0; col < 4; ++col) {
        const int x = col * 13;
        p.Fill(x, 0, 13, 13, emptyFill[col]);
        p.Frame(x, 0, 13, 13, emptyBorder[col]);
        for (int row = 1; row < 3; ++row) {
            p.Fill(x, row * 13, 13, 13, fullFill[col]);
            p.Frame(x, row * 13, 13, 13, fullBorder[col]);
        }
        const uint32_t mark = col == 3 ? kDisabledFace : kWhite;
        p.Glyph(x, 13, 13, 13,
                {"........#", ".......##", "#.....##.", "##...##..", ".##.##...", "..###....", "...#....."},
                mark);
        p.Fill(x + 3, 26 + 5, 7, 2, mark);
    }
}

// "Radio": 13x13 rings with straight alpha. Columns: normal, hot, pressed,
// disabled. Rows: unchecked, checked.
void DrawRadioButtons(TteBitmapList& list) {
    Painter p(list, "Radio", 4 * 13, 2 * 13);
    p.SetAlphaBlend();
    const uint32_t ring[] = {0x8E9CA1, kAccent, 0x1F6F78, kBorderDisabled};
    const uint32_t fill[] = {kWhite, 0xF2F9FA, 0xDCEDEF, kDisabledFace};
    const uint32_t dot[] = {kAccent, 0x3E9AA4, 0x1F6F78, 0xB5BEC1};
    constexpr int kSamples = 4;
    for (int row = 0; row < 2; ++row)
        for (int col = 0; col < 4; ++col)
            for (int y = 0; y < 13; ++y)
                for (int x = 0; x < 13; ++x) {
                    // Coverage and colour averaged over a 4x4 grid inside the pixel.
                    int covered = 0;
                    int sum[3] = {0, 0, 0};
                    for (int sy = 0; sy < kSamples; ++sy)
                        for (int sx = 0; sx < kSamples; ++sx) {
                            const double dx = x + (sx + 0.5) / kSamples - 6.5;
                            const double dy = y + (sy + 0.5) / kSamples - 6.5;
                            const double r = std::sqrt(dx * dx + dy * dy);
                            if (r > 6.5) continue;
                            uint32_t c = r > 5.4 ? ring[col] : fill[col];
                            if (row == 1 && r <= 3.0) c = dot[col];
                            ++covered;
                            for (int k = 0; k < 3; ++k) sum[k] += (c >> (8 * k)) & 0xFF;
                        }
                    if (covered == 0) {
                        p.Pixel(col * 13 + x, row * 13 + y, 0);
                        continue;
                    }
                    uint32_t rgb = 0;
                    for (int k = 0; k < 3; ++k) rgb |= static_cast<uint32_t>(sum[k] / covered) << (8 * k);
                    const uint32_t alpha = static_cast<uint32_t>(covered * 255 / (kSamples * kSamples));
                    p.Pixel(col * 13 + x, row * 13 + y, (alpha << 24) | rgb);
                }
}

// "Frame": fields and frames, cells 8x8 drawn with 2-pixel margins.
// Columns: field, field hot, field disabled, popup menu, hint, tab page,
// progress track, status bar, status panel.
void DrawFrames(TteBitmapList& list) {
    Painter p(list, "Frame", 9 * 8, 8);
    const struct {
        uint32_t border, fill;
    } looks[] = {{kBorder, kWhite},       {kAccent, kWhite},    {kBorderDisabled, kDisabledFace},
                 {0x98A6AB, kWhite},      {0x8E9CA1, 0xFBFBF7}, {kBorderSoft, 0xFBFCFC},
                 {kBorderSoft, 0xE6EBEC}, {0xEBEFF0, 0xEBEFF0}, {0xEBEFF0, 0xEBEFF0}};
    for (int i = 0; i < 9; ++i) {
        p.Fill(i * 8, 0, 8, 8, looks[i].fill);
        p.Frame(i * 8, 0, 8, 8, looks[i].border);
    }
    p.Fill(7 * 8, 0, 8, 1, 0xC5CDD0);      // the status bar's top line
    p.Fill(8 * 8 + 7, 1, 1, 6, 0xC9D1D4);  // a status panel's right edge
}

// "Group": a rounded 9x9 frame with an open centre, 4-pixel margins. The
// line is the border colour: anything lighter vanishes on a grey face.
void DrawGroupFrame(TteBitmapList& list) {
    Painter p(list, "Group", 9, 9);
    p.SetTransparent();
    constexpr uint32_t kLine = kBorder;
    p.Fill(2, 0, 5, 1, kLine);
    p.Fill(2, 8, 5, 1, kLine);
    p.Fill(0, 2, 1, 5, kLine);
    p.Fill(8, 2, 1, 5, kLine);
    for (auto [x, y] : {std::pair{1, 1}, {7, 1}, {1, 7}, {7, 7}}) p.Fill(x, y, 1, 1, kLine);
}

// "Tabs": tab faces, cells 12x12 with 3-pixel margins. Columns: normal,
// hot, active, disabled. Drawn for a top strip; the theme turns them for
// the other sides.
void DrawTabs(TteBitmapList& list) {
    Painter p(list, "Tabs", 4 * 12, 12);
    p.SetTransparent();
    const struct {
        uint32_t border, fill;
    } looks[] = {
        {kBorderSoft, 0xE6EBEC}, {0x8FBFC4, 0xF1F6F7}, {kBorderSoft, 0xFBFCFC}, {0xCED5D7, 0xEEF1F2}};
    for (int i = 0; i < 4; ++i) {
        const int x = i * 12;
        p.Fill(x, 0, 12, 12, looks[i].fill);
        p.Fill(x, 0, 12, 1, looks[i].border);
        p.Fill(x, 0, 1, 12, looks[i].border);
        p.Fill(x + 11, 0, 1, 12, looks[i].border);
        if (i == 2) {
            p.Fill(x, 0, 12, 2, kAccent);
        } else {
            p.Fill(x, 11, 12, 1, kBorderSoft);
        }
        p.Pixel(x, 0, kKey);
        p.Pixel(x + 11, 0, kKey);
    }
}

// "Scroll": scroll thumbs, cells 12x12 with 3-pixel margins. Columns:
// normal, hot, pressed, disabled.
void DrawScrollThumbs(TteBitmapList& list) {
    Painter p(list, "Scroll", 4 * 12, 12);
    p.SetTransparent();
    const FaceLook looks[] = {
        {0xAEBBBF, 0xC4CED1, 0}, {0x93A5AA, 0xAAB9BD, 0}, {kTeal, kAccent, 0}, {0xD0D7D9, 0xDDE3E5, 0}};
    for (int i = 0; i < 4; ++i) {
        p.Fill(i * 12, 0, 12, 12, looks[i].top);
        p.Frame(i * 12, 0, 12, 12, looks[i].border);
        p.RoundCorners(i * 12, 0, 12, 12);
    }
}

// "Cells": grid cells and header sections, 8x8 with a right and bottom
// line. Columns: fixed, fixed hot, fixed pressed, cell, cell hot, cell
// selected, cell disabled.
void DrawCells(TteBitmapList& list) {
    Painter p(list, "Cells", 7 * 8, 8);
    const struct {
        uint32_t fill, line;
    } looks[] = {{0xEEF1F2, 0xC9D1D4}, {0xE3EEF0, 0xC9D1D4}, {0xD3E5E8, 0xC9D1D4}, {kWhite, 0xE1E6E8},
                 {0xF2F8F9, 0xE1E6E8}, {0xCFE7EA, 0xE1E6E8}, {0xF6F7F8, 0xE1E6E8}};
    for (int i = 0; i < 7; ++i) {
        p.Fill(i * 8, 0, 8, 8, looks[i].fill);
        p.Fill(i * 8 + 7, 0, 1, 8, looks[i].line);
        p.Fill(i * 8, 7, 8, 1, looks[i].line);
    }
}

// "Bar": the progress chunk, 4x14, stretched.
void DrawProgressBar(TteBitmapList& list) {
    Painter p(list, "Bar", 4, 14);
    p.Gradient(0, 0, 4, 14, 0x4FB0B9, 0x23808A);
}

// "Gripper": the size gripper's dots, 12x12.
void DrawGripper(TteBitmapList& list) {
    Painter p(list, "Gripper", 12, 12);
    p.SetTransparent();
    for (int row = 0; row < 4; ++row)
        for (int col = 3 - row; col < 4; ++col) {
            p.Fill(col * 3 + 1, row * 3 + 1, 1, 1, kWhite);
            p.Fill(col * 3, row * 3, 1, 1, 0x9AA8AD);
        }
}

}  // namespace

void DrawSkinImages(TteBitmapList& images) {
    DrawArrows(images);
    DrawProgressBar(images);
    DrawPushButtons(images);
    DrawCaptionButtons(images);
    DrawCells(images);
    DrawCheckBoxes(images);
    DrawFlatButtons(images);
    DrawFrames(images);
    DrawGripper(images);
    DrawGroupFrame(images);
    DrawRadioButtons(images);
    DrawScrollThumbs(images);
    DrawTabs(images);
}

}  // namespace tarvel
