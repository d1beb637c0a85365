#include "platform/classlib/Colors.h"

#include <algorithm>
#include <cmath>
#include <limits>

#include "platform/base/Exceptions.h"

namespace tarvel {

namespace {

struct ColorIdent {
    TColor value;
    const char* name;
};

// The order of the class library's colour lists: the basic colours, the
// extra named ones, then the system colours and marks by name.
constexpr ColorIdent kColorIdents[] = {
    {clBlack, "clBlack"},
    {clMaroon, "clMaroon"},
    {clGreen, "clGreen"},
    {clOlive, "clOlive"},
    {clNavy, "clNavy"},
    {clPurple, "clPurple"},
    {clTeal, "clTeal"},
    {clGray, "clGray"},
    {clSilver, "clSilver"},
    {clRed, "clRed"},
    {clLime, "clLime"},
    {clYellow, "clYellow"},
    {clBlue, "clBlue"},
    {clFuchsia, "clFuchsia"},
    {clAqua, "clAqua"},
    {clWhite, "clWhite"},
    {clMoneyGreen, "clMoneyGreen"},
    {clSkyBlue, "clSkyBlue"},
    {clCream, "clCream"},
    {clMedGray, "clMedGray"},
    {clActiveBorder, "clActiveBorder"},
    {clActiveCaption, "clActiveCaption"},
    {clAppWorkSpace, "clAppWorkSpace"},
    {clBackground, "clBackground"},
    {clBtnFace, "clBtnFace"},
    {clBtnHighlight, "clBtnHighlight"},
    {clBtnShadow, "clBtnShadow"},
    {clBtnText, "clBtnText"},
    {clCaptionText, "clCaptionText"},
    {clDefault, "clDefault"},
    {clGradientActiveCaption, "clGradientActiveCaption"},
    {clGradientInactiveCaption, "clGradientInactiveCaption"},
    {clGrayText, "clGrayText"},
    {clHighlight, "clHighlight"},
    {clHighlightText, "clHighlightText"},
    {clHotLight, "clHotLight"},
    {clInactiveBorder, "clInactiveBorder"},
    {clInactiveCaption, "clInactiveCaption"},
    {clInactiveCaptionText, "clInactiveCaptionText"},
    {clInfoBk, "clInfoBk"},
    {clInfoText, "clInfoText"},
    {clMenu, "clMenu"},
    {clMenuBar, "clMenuBar"},
    {clMenuHighlight, "clMenuHighlight"},
    {clMenuText, "clMenuText"},
    {clNone, "clNone"},
    {clScrollBar, "clScrollBar"},
    {cl3DDkShadow, "cl3DDkShadow"},
    {cl3DLight, "cl3DLight"},
    {clWindow, "clWindow"},
    {clWindowFrame, "clWindowFrame"},
    {clWindowText, "clWindowText"},
};

}  // namespace

TColor ColorToRGB(TColor color) {
    return IsSystemColor(color) ? static_cast<TColor>(GetSysColor(static_cast<int>(color & 0xFF))) : color;
}

double RelativeLuminance(TColor color) {
    const TColor rgb = ColorToRGB(color);
    const auto linear = [](unsigned byte) {
        const double c = byte / 255.0;
        return c <= 0.04045 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    // A TColor holds red in its low byte.
    return 0.2126 * linear(rgb & 0xFF) + 0.7152 * linear((rgb >> 8) & 0xFF) +
           0.0722 * linear((rgb >> 16) & 0xFF);
}

double ContrastRatio(TColor a, TColor b) {
    const double la = RelativeLuminance(a), lb = RelativeLuminance(b);
    return (std::max(la, lb) + 0.05) / (std::min(la, lb) + 0.05);
}

bool ColorToIdent(TColor color, String& ident) {
    for (const auto& c : kColorIdents) {
        if (c.value == color) {
            ident = c.name;
            return true;
        }
    }
    return false;
}

bool IdentToColor(std::string_view ident, TColor& color) {
    for (const auto& c : kColorIdents) {
        if (SameText(c.name, ident)) {
            color = c.value;
            return true;
        }
    }
    return false;
}

String ColorToString(TColor color) {
    String ident;
    if (ColorToIdent(color, ident)) return ident;
    return "$" + IntToHex(color, 8);
}

TColor StringToColor(std::string_view text) {
    TColor color = 0;
    if (IdentToColor(text, color)) return color;
    // "$80000005" is a system colour, so hexadecimal runs to 32 unsigned bits;
    // negative decimals are the same values written signed.
    int64_t value = 0;
    if (TryStrToInt64(text, value) && value >= std::numeric_limits<int32_t>::min() &&
        value <= static_cast<int64_t>(std::numeric_limits<uint32_t>::max())) {
        return static_cast<TColor>(value);
    }
    throw EConvertError("'" + String(text) + "' is not a valid integer value");
}

void GetColorValues(const std::function<void(const String&)>& proc) {
    for (const auto& c : kColorIdents) proc(c.name);
}

}  // namespace tarvel
