// A sheet of every element family drawn by the visual-style theme from a
// container this test paints itself (gradients, bevels and glyphs made
// pixel by pixel), saved as screenshots/msstyles_sheet.png in the build
// folder for people to look at.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

#include "MsStylesFixture.h"
#include "ThemeSheetFixture.h"

namespace tarvel::testing {
namespace {

uint32_t Rgb(int r, int g, int b) {
    const auto c = [](int v) { return static_cast<uint32_t>(std::clamp(v, 0, 255)); };
    return 0xFF000000u | c(r) << 16 | c(g) << 8 | c(b);
}
uint32_t Mix(uint32_t a, uint32_t b, double t) {
    const auto ch = [&](int shift) {
        return static_cast<int>(((a >> shift) & 0xFF) * (1 - t) + ((b >> shift) & 0xFF) * t);
    };
    return Rgb(ch(16), ch(8), ch(0));
}
constexpr uint32_t kKey = 0xFFFF00FF;  // magenta: the style's transparent colour

// How one frame of a picture looks.
struct TLook {
    uint32_t Top, Bottom, Border;
    int Radius = 2;  // corners cut by this much become transparent
};

// A bevelled, gradient-filled box of w x h with cut corners.
uint32_t Bevel(const TLook& look, int x, int y, int w, int h) {
    if (look.Top == kKey) return kKey;
    const int dx = std::min(x, w - 1 - x), dy = std::min(y, h - 1 - y);
    if (dx + dy < look.Radius - 1) return kKey;
    if (dx == 0 || dy == 0) return look.Border;
    const uint32_t fill = Mix(look.Top, look.Bottom, h > 1 ? double(y) / (h - 1) : 0);
    return dx == 1 || dy == 1 ? Mix(fill, 0xFFFFFFFF, y < h / 2 ? 0.45 : 0.1) : fill;
}

// A picture of `looks.size()` frames of w x h, stacked downwards, each a
// bevel with an optional glyph (mask of the frame's pixels) on it.
TStyleImage Frames(const std::string& name, int w, int h, const std::vector<TLook>& looks,
                   const std::function<bool(int frame, int x, int y)>& glyph = {},
                   uint32_t ink = 0xFF202020) {
    return TStyleImage::Paint(name, w, h * static_cast<int>(looks.size()), [&](int x, int y) {
        const int frame = y / h, fy = y % h;
        if (glyph && glyph(frame, x, fy)) return ink;
        return Bevel(looks[static_cast<size_t>(frame)], x, fy, w, h);
    });
}

// Four looks of a push face: normal, hot, pressed, disabled (and focused).
std::vector<TLook> Faces(uint32_t base, int radius = 2) {
    return {{Mix(base, 0xFFFFFFFF, 0.7), base, Mix(base, 0xFF000000, 0.5), radius},
            {Mix(base, 0xFFFFFFFF, 0.85), Mix(base, 0xFFFFFFFF, 0.3), Mix(base, 0xFF000000, 0.4), radius},
            {Mix(base, 0xFF000000, 0.2), Mix(base, 0xFFFFFFFF, 0.4), Mix(base, 0xFF000000, 0.6), radius},
            {0xFFEEEEEE, 0xFFDDDDDD, 0xFFBBBBBB, radius},
            {Mix(base, 0xFFFFFFFF, 0.7), base, 0xFF1E5AC8, radius}};
}

bool Triangle(int dir, int x, int y, int size) {  // 0 up, 1 down, 2 left, 3 right
    const int c = size / 2, dx = x - c, dy = y - c;
    switch (dir) {
        case 0: return dy >= -2 && dy <= 1 && std::abs(dx) <= dy + 2;
        case 1: return dy >= -1 && dy <= 2 && std::abs(dx) <= 2 - dy;
        case 2: return dx >= -2 && dx <= 1 && std::abs(dy) <= dx + 2;
        default: return dx >= -1 && dx <= 2 && std::abs(dy) <= 2 - dx;
    }
}

bool Cross(int x, int y, int size) {
    const int a = x - size / 2, b = y - size / 2;
    return std::abs(a) <= 4 &&
           (std::abs(a - b) <= 0 || std::abs(a + b) <= 0 || std::abs(a - b) == 1 || std::abs(a + b) == 1) &&
           std::abs(b) <= 4;
}

std::vector<TStyleImage> Pictures() {
    const uint32_t blue = 0xFF2F6FD0, grey = 0xFF9AA3AE, green = 0xFF3DAA4F;
    std::vector<TStyleImage> p;
    // Caption: active and inactive gradients, the frame one colour each.
    p.push_back(TStyleImage::Paint("CAPTION_BMP", 8, 60, [&](int, int y) {
        return y < 30 ? Mix(0xFF5C9BF2, 0xFF1B4FA8, y / 29.0) : Mix(0xFFC9D1DA, 0xFF8E99A6, (y - 30) / 29.0);
    }));
    p.push_back(
        TStyleImage::Paint("FRAME_BMP", 4, 8, [&](int, int y) { return y < 4 ? 0xFF1B4FA8 : 0xFF8E99A6; }));
    // Caption buttons: a cross or a bar on a bevel, four states.
    const std::vector<TLook> red = Faces(0xFFD0402F);
    p.push_back(Frames(
        "CLOSE_BMP", 21, 21, {red[0], red[1], red[2], red[3]},
        [](int, int x, int y) { return Cross(x, y, 21); }, 0xFFFFFFFF));
    const std::vector<TLook> caps = Faces(0xFF3F7FE0);
    p.push_back(Frames(
        "MIN_BMP", 21, 21, {caps[0], caps[1], caps[2], caps[3]},
        [](int, int x, int y) { return y >= 13 && y <= 14 && x >= 6 && x <= 14; }, 0xFFFFFFFF));
    p.push_back(Frames(
        "MAX_BMP", 21, 21, {caps[0], caps[1], caps[2], caps[3]},
        [](int, int x, int y) {
            return x >= 6 && x <= 14 && y >= 6 && y <= 14 && (x == 6 || x == 14 || y <= 7 || y == 14);
        },
        0xFFFFFFFF));
    p.push_back(Frames("BUTTON_BMP", 20, 22, Faces(grey, 3)));
    // Check and radio boxes: 12 and 8 states (unchecked, checked, mixed x normal, hot, pressed, disabled).
    std::vector<TLook> boxes;
    for (int i = 0; i < 12; ++i) boxes.push_back(Faces(0xFFB8C4D0, 0)[static_cast<size_t>(i % 4)]);
    p.push_back(Frames("CHECK_BMP", 13, 13, boxes, [](int f, int x, int y) {
        if (f >= 8) return y >= 5 && y <= 7 && x >= 3 && x <= 9;
        if (f < 4) return false;
        return (x >= 3 && x <= 5 && y == x + 3) || (x >= 5 && x <= 9 && y == 13 - x) ||
               (x >= 3 && x <= 5 && y == x + 2) || (x >= 5 && x <= 9 && y == 12 - x);
    }));
    std::vector<TLook> rounds(boxes.begin(), boxes.begin() + 8);
    for (TLook& l : rounds) l.Radius = 5;
    p.push_back(Frames("RADIO_BMP", 13, 13, rounds, [](int f, int x, int y) {
        return f >= 4 && (x - 6) * (x - 6) + (y - 6) * (y - 6) <= 5;
    }));
    // Scroll arrows (up, down, left, right x four states), thumbs, tracks.
    std::vector<TLook> arrows;
    for (int i = 0; i < 16; ++i) arrows.push_back(Faces(0xFFA9B8C8)[static_cast<size_t>(i % 4)]);
    p.push_back(
        Frames("ARROW_BMP", 17, 17, arrows, [](int f, int x, int y) { return Triangle(f / 4, x, y, 17); }));
    p.push_back(Frames("DOWN_BMP", 17, 17, {arrows[0], arrows[1], arrows[2], arrows[3]},
                       [](int, int x, int y) { return Triangle(1, x, y, 17); }));
    const std::vector<TLook> thumbs = Faces(0xFF8FA9C8);
    p.push_back(Frames("THUMB_BMP", 17, 17, {thumbs[0], thumbs[1], thumbs[2], thumbs[3]}));
    p.push_back(Frames(
        "GRIPPER_BMP", 8, 8, {TLook{0xFF8FA9C8, 0xFF8FA9C8, 0xFF8FA9C8, 0}},
        [](int, int x, int y) { return (y == 2 || y == 4 || y == 6) && x >= 1 && x <= 6; }, 0xFFEEF3F8));
    // Progress: a sunken bar and green chunks.
    p.push_back(Frames("BAR_BMP", 10, 10, {TLook{0xFFE4E8EC, 0xFFF8FAFC, 0xFF8E99A6, 1}}));
    p.push_back(Frames("CHUNK_BMP", 8, 12, {TLook{Mix(green, 0xFFFFFFFF, 0.5), green, green, 0}}));
    // Track-bar thumb at its true size, tabs, header items, tool-bar buttons.
    p.push_back(Frames("KNOB_BMP", 11, 21, Faces(blue, 3)));
    const std::vector<TLook> tabs{{0xFFF4F6F8, 0xFFDCE2E8, 0xFF8E99A6, 3},
                                  {0xFFFFFFFF, 0xFFE6F0FF, 0xFF5C9BF2, 3},
                                  {0xFFFFFFFF, 0xFFFFFFFF, 0xFF8E99A6, 3},
                                  {0xFFEEEEEE, 0xFFEEEEEE, 0xFFBBBBBB, 3}};
    p.push_back(Frames("TAB_BMP", 20, 20, tabs));
    const std::vector<TLook> heads = Faces(0xFFDCE2E8, 0);
    p.push_back(Frames("HEADER_BMP", 16, 18, {heads[0], heads[1], heads[2]}));
    std::vector<TLook> tools = Faces(0xFFCBD8E8);
    tools[0] = TLook{kKey, kKey, kKey, 0};  // a flat tool button shows nothing until hot
    tools.push_back(tools[2]);
    p.push_back(Frames("TOOL_BMP", 20, 20, tools));
    return p;
}

const char* kStyle =
    "; painted by the sheet test\r\n"
    "[Window.Caption]\r\nimagefile=caption.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\ncontentalignment="
    "left\r\n"
    "captionmargins=6, 0, 0, 0\r\n"
    "[Window.Caption(Active)]\r\ntextshadowtype=single\r\ntextshadowoffset=1 1\r\n"
    "[Window.FrameLeft]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.FrameRight]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.FrameBottom]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.SmallCaption]\r\nimagefile=caption.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.SmallFrameLeft]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.SmallFrameRight]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.SmallFrameBottom]\r\nimagefile=frame.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[Window.CloseButton]\r\nimagefile=close.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,"
    "3,3,3\r\n"
    "[Window.SmallCloseButton]\r\nimagefile=close.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[Window.MinButton]\r\nimagefile=min.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,"
    "3\r\n"
    "[Window.MaxButton]\r\nimagefile=max.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,"
    "3\r\n"
    "[Window.RestoreButton]\r\nimagefile=max.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,"
    "3,3,3\r\n"
    "[Window.HelpButton]\r\nimagefile=min.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,"
    "3\r\n"
    "[Window.MDICloseButton]\r\nimagefile=close.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[Button.Pushbutton]\r\nimagefile=button.bmp\r\nimagecount=5\r\nimagelayout=vertical\r\n"
    "sizingmargins=4,4,4,4\r\nfillcolorhint=230 233 236\r\ntextcolor=20 30 40\r\n"
    "[Button.Pushbutton(Disabled)]\r\ntextcolor=150 150 150\r\n"
    "[Spin.Up]\r\nimagefile=arrow.bmp\r\nimagecount=16\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,3\r\n"
    "[Spin.Down]\r\nimagefile=down.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,3\r\n"
    "[button.checkbox]\r\nimagefile=check.bmp\r\nimagecount=12\r\nimagelayout=vertical\r\nsizingtype="
    "truesize\r\n"
    "[button.radiobutton]\r\nimagefile=radio.bmp\r\nimagecount=8\r\nimagelayout=vertical\r\nsizingtype="
    "truesize\r\n"
    "[ScrollBar.ArrowBtn]\r\nimagefile=arrow.bmp\r\nimagecount=16\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[ScrollBar.ThumbBtnHorz]\r\nimagefile=thumb.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[ScrollBar.ThumbBtnVert]\r\nimagefile=thumb.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[ScrollBar.GripperHorz]\r\nimagefile=gripper.bmp\r\nsizingtype=truesize\r\n"
    "[ScrollBar.GripperVert]\r\nimagefile=gripper.bmp\r\nsizingtype=truesize\r\n"
    "[ScrollBar.UpperTrackHorz]\r\nfillcolor=232 236 240\r\n"
    "[ScrollBar.UpperTrackVert]\r\nfillcolor=232 236 240\r\n"
    "[Progress]\r\nfillcolor=255 255 255\r\n"
    "[Progress.Bar]\r\nimagefile=bar.bmp\r\nsizingmargins=3,3,3,3\r\n"
    "[Progress.Chunk]\r\nimagefile=chunk.bmp\r\nsizingmargins=0,0,2,2\r\nsizingtype=tile\r\n"
    "[TrackBar]\r\nfillcolor=240 240 240\r\n"
    "[TrackBar.Track]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=142 153 166\r\nfillcolor=228 232 "
    "236\r\n"
    "[TrackBar.Thumb]\r\nimagefile=knob.bmp\r\nimagecount=5\r\nimagelayout=vertical\r\nsizingtype="
    "truesize\r\n"
    "[button.groupbox]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=142 153 166\r\nfillcolor=248 249 "
    "250\r\n"
    "[edit]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=110 140 180\r\nfillcolor=255 255 255\r\n"
    "[edit.edittext(disabled)]\r\nfillcolor=236 236 236\r\n"
    "[edit.edittext(readonly)]\r\nfillcolor=246 246 240\r\n"
    "[combobox]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=110 140 180\r\nfillcolor=255 255 255\r\n"
    "[Combobox.DropDownButton]\r\nimagefile=down.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[header]\r\nfillcolor=236 240 244\r\n"
    "[header.headeritem]\r\nimagefile=header.bmp\r\nimagecount=3\r\nimagelayout=vertical\r\nsizingmargins=2,"
    "2,2,2\r\n"
    "[status]\r\nfillcolor=220 226 232\r\n"
    "[status.pane]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=170 180 190\r\nfillcolor=232 236 "
    "240\r\n"
    "[status.gripper]\r\nimagefile=gripper.bmp\r\nsizingtype=truesize\r\n"
    "[rebar]\r\nfillcolor=214 224 236\r\n"
    "[toolbar.button]\r\nimagefile=tool.bmp\r\nimagecount=6\r\nimagelayout=vertical\r\nsizingmargins=3,3,3,"
    "3\r\n"
    "[toolbar.separator]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=160 170 180\r\nfillcolor=214 "
    "224 236\r\n"
    "[toolbar.splitbuttondropdown]\r\nimagefile=tool.bmp\r\nimagecount=6\r\nimagelayout=vertical\r\n"
    "sizingmargins=3,3,3,3\r\n"
    "[rebar.gripper]\r\nimagefile=gripper.bmp\r\nsizingtype=truesize\r\n"
    "[tab]\r\nfillcolor=240 240 240\r\n"
    "[tab.pane]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=142 153 166\r\nfillcolor=255 255 255\r\n"
    "[tab.toptabitem]\r\nimagefile=tab.bmp\r\nimagecount=4\r\nimagelayout=vertical\r\nsizingmargins=4,4,4,"
    "1\r\n"
    "[explorerbar]\r\nfillcolor=200 214 236\r\n"
    "[explorerbar.SpecialGroupBackground]\r\nfillcolor=214 226 246\r\n"
    "[explorerbar.NormalGroupHead]\r\nimagefile=caption.bmp\r\nimagecount=2\r\nimagelayout=vertical\r\n"
    "[explorerbar.NormalGroupCollapse]\r\nimagefile=arrow.bmp\r\nimagecount=16\r\nimagelayout=vertical\r\n"
    "[explorerbar.NormalGroupExpand]\r\nimagefile=arrow.bmp\r\nimagecount=16\r\nimagelayout=vertical\r\n"
    "[listview]\r\nbgtype=borderfill\r\nbordersize=1\r\nbordercolor=110 140 180\r\nfillcolor=255 255 255\r\n"
    "[SysMetrics]\r\nCaptionBarHeight=25\r\nBorderWidth=4\r\nSMCaptionBarHeight=18\r\nSMBorderWidth=3\r\n"
    "Window=255 255 255\r\nBtnFace=236 239 242\r\nHighlight=47 111 208\r\nBtnShadow=142 153 166\r\n"
    "HighlightText=255 255 255\r\nMenu=250 250 252\r\nMenuHilight=188 212 246\r\n"
    "CaptionFont=Tahoma, 10, bold\r\nCaptionText=255 255 255\r\nInactiveCaptionText=60 64 70\r\n"
    "MenuFont=Tahoma, 8\r\nStatusFont=Tahoma, 8\r\nMsgBoxFont=Tahoma, 8\r\n";

using MsStylesSheetTest = MsStylesTest;

TEST_F(MsStylesSheetTest, EveryFamilyDrawnFromAPaintedContainer) {
    ASSERT_TRUE(LoadContainer(theme, Container("Painted slate", kStyle, Pictures())));
    EXPECT_FALSE(theme.IsThemeEmpty());
    TPaper paper(1040, 760);
    DrawSheet(theme, paper);
    const auto dir = std::filesystem::path(TARVEL_BINARY_DIR) / "screenshots";
    std::filesystem::create_directories(dir);
    ASSERT_TRUE(
        WritePng(*GetBitmapSurface(paper.bitmap.Handle()), (dir / "msstyles_sheet.png").string().c_str()));
    // The active caption's blue gradient and the close button's red are there.
    const uint32_t caption = paper.At(150, 3);
    EXPECT_GT(caption & 0xFF, caption >> 16);
    const TteWindowInfo info = WindowInfo({10, 0, 310, 160}, {kwdsActive}, NullRect, {kwbClose}, u"", false);
    const TRect close = theme.WindowGetButtonRect(kwscStandard, info, kwbClose, "default");
    const uint32_t red = paper.At(close.left + 3, close.top + 10);
    EXPECT_GT(red >> 16, (red >> 8) & 0xFF);
}

}  // namespace
}  // namespace tarvel::testing
