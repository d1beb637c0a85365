#pragma once
// Drawing helpers shared by the standard controls, the boxes and the menus.

#include <string_view>

#include "platform/classlib/Graphics.h"

namespace tarvel {

void FillColor(HDC dc, const TRect& r, TColor color);
// DrawText in the font and colour, on a transparent background.
void DrawCaption(HDC dc, TFont* font, const String& text, TRect r, unsigned format, TColor color);
int TextWidthOf(TFont* font, std::u16string_view text);
// A solid brush answering a colour request (WM_CTLCOLOR...): it stays valid
// until the next answer, which is all the asker needs.
HBRUSH AnswerBrush(TColor color);

}  // namespace tarvel
