// The button-colour map: each fixed colour of a classic button bitmap goes to
// its own colour of the scheme, nothing else moves.

#include "platform/gdi/SysColors.h"

#include <gtest/gtest.h>

#include "platform/gdi/Gdi.h"

namespace tarvel {
namespace {

TEST(ButtonColorMap, EachFixedColourTakesItsOwnSchemeColourAndOthersStay) {
    // A scheme unlike the system's, with five different colours, so a mix-up
    // of any two shows.
    const ButtonColorMap scheme{0x102030, 0x405060, 0x708090, 0xA0B0C0, 0xD0E0F0};
    struct Case {
        uint32_t pixel, mapped;
    };
    const Case cases[] = {
        {0xFF000000, 0xFF102030},                                                      // black: text
        {0xFF808080, 0xFF405060},                                                      // dark grey: shadow
        {0xFFC0C0C0, 0xFF708090},                                                      // light grey: face
        {0xFFDFDFDF, 0xFFA0B0C0},                                                      // 3-D light
        {0xFFFFFFFF, 0xFFD0E0F0},                                                      // white: highlight
        {0x00C0C0C0, 0x00708090},                                                      // the alpha byte stays
        {0xFFC0C0C1, 0xFFC0C0C1},                                                      // near misses stay
        {0xFF7F7F7F, 0xFF7F7F7F}, {0xFF800000, 0xFF800000}, {0xFFFF00FF, 0xFFFF00FF},  // a key colour stays
    };
    for (const Case& c : cases) EXPECT_EQ(MapButtonColor(c.pixel, scheme), c.mapped) << std::hex << c.pixel;
}

TEST(ButtonColorMap, TheSystemMapIsTheButtonColoursOfTheTable) {
    const ButtonColorMap map = SysButtonColorMap();
    EXPECT_EQ(map.text, ColorRefToPixel(GetSysColor(COLOR_BTNTEXT)));
    EXPECT_EQ(map.shadow, ColorRefToPixel(GetSysColor(COLOR_BTNSHADOW)));
    EXPECT_EQ(map.face, ColorRefToPixel(GetSysColor(COLOR_BTNFACE)));
    EXPECT_EQ(map.light, ColorRefToPixel(GetSysColor(COLOR_3DLIGHT)));
    EXPECT_EQ(map.highlight, ColorRefToPixel(GetSysColor(COLOR_BTNHIGHLIGHT)));
    // Pixel order, not the table's: the face is (212, 208, 200).
    EXPECT_EQ(MapButtonColor(0xFFC0C0C0, map), 0xFFD4D0C8u);
}

}  // namespace
}  // namespace tarvel
