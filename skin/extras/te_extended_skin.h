#pragma once
// Whether a theme draws from a loaded skin, and what the extra controls do
// with that skin's objects. The skin's own headers stay behind this one:
// their text-alignment names clash with the class library's.

#include "platform/base/Strings.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {

class TteTheme;
class TSeSkinSource;
class TSeSkinObject;
class TWinControl;

// The theme's working skin, or null when it is no skin file.
TSeSkinSource* GetSkinSource(const TteTheme* theme);
bool IsSkinSource(const TteTheme* theme);
// The top-level object of that name in the theme's skin, or null.
TSeSkinObject* FindSkinObject(const TteTheme* theme, const String& name);

// The object's own bounds.
TRect SkinObjectBounds(const TSeSkinObject* object);
// Draws the object laid out over the rectangle; its own bounds stay.
void DrawSkinObject(TSeSkinObject* object, TCanvas& canvas, const TRect& rect);
// The child of that name directly under the object, or null.
TSeSkinObject* SkinObjectChild(const TSeSkinObject* object, const String& name);
// The margins of a frame-like object: left, top, right and bottom.
TRect SkinObjectMargins(const TSeSkinObject* object);

}  // namespace tarvel
