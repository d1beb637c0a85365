#pragma once
// The values of a visual style's ini text: the enumerations its objects
// store and the parsers that turn value texts into them. Keyword parsers
// never fail (an unknown word gives the first value); colours, points and
// font sizes raise EConvertError on a malformed number; rectangles and
// margins answer (0, 0, 0, 0) instead.

#include <cstdint>

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {

enum TmsuxBgType : uint8_t { msbtFill, msbtBorderFill, msbtImage, msbtNone };
enum TmsuxTileStyle : uint8_t {
    uxtlsTileAll,
    uxtlsStretchAll,
    uxtlsTileVertical,
    uxtlsTileHorizontal,
    uxtlsTrueSize,
    uxtlsBorderTileClientStretch,
    uxtlsBorderStretchClientTile
};
enum TmsuxTransparentStyle : uint8_t {
    uxtsFullOpaque,
    uxtsClientOpaque,
    uxtsClientAndBorderOpaque,
    uxtsFullTransparent
};
enum TmsuxImageLayout : uint8_t { msilVertical, msilHorizontal };
enum TmsuxImageSelectType : uint8_t { msisNone, msisDpi, msisSize };
enum TmsuxGlyphType : uint8_t { msgtNone, msgtImage };
enum TmsuxAlignment : uint8_t { msaLeft, msaCenter, msaRight };
enum TmsuxTextShadow : uint8_t { uxtsNone, uxtsSingle, uxtsContinuous };

// Their own namespace: the skin-file theme has parsers of the same names
// that read other forms.
namespace msux {

// Coordinates a style may give (points, rectangles, margins, metrics) are
// held to this much either way: rectangle arithmetic on them cannot overflow.
constexpr int kMaxCoordinate = 32767;
int ClampCoordinate(int value);

// "true", "1" or "yes" in any case.
bool StringToBool(const String& text);
// "R G B" in decimal, each channel held to 0..255; missing channels are 0.
TColor StringToColor(const String& text);
TPoint StringToPoint(const String& text);
// "(L, T, R, B" or "L T R B".
TRect StringToRect(const String& text);
// "L, R, T, B" (the style's order) into the rectangle's left, right, top
// and bottom.
TRect StringToMargin(const String& text);
TmsuxBgType StringToBgType(const String& text);
TmsuxTileStyle StringToTileStyle(const String& text);
TmsuxImageLayout StringToImageLayout(const String& text);
TmsuxImageSelectType StringToImageSelectType(const String& text);
TmsuxGlyphType StringToGlyphType(const String& text);
TmsuxAlignment StringToAligment(const String& text);
TmsuxTextShadow StringToTextShadow(const String& text);
// An image file path of the style as the name of its bitmap resource:
// "Blue\Button.bmp" is "Blue_Button_bmp".
String StringToImage(const String& text);

// Font texts: "Name, size[, style words]" separated by commas.
String StringToFontName(const String& text);
int StringToFontSize(const String& text);
// The words bold, italic, underline and strikeout among the fields after
// the size, in any case and order; other words add nothing.
TFontStyles StringToFontStyle(const String& text);

}  // namespace msux

}  // namespace tarvel
