#pragma once
// Builds the tool's own skin from readable sources in one folder:
//
//   info.txt       the five information strings, "Name = text" a line
//   objects/*.txt  one top-level object tree each, in the component text
//                  form; a value written #RRGGBB is a colour
//   sections.txt   [Colors], [SysColors] and [Fonts] entries, "Name = value",
//                  over what the objects imply
//
// and from the images DrawSkinImages paints. The output is the same bytes
// for the same sources: no clock, a fixed compression level, objects in the
// order of their file names.

#include "platform/classlib/Streams.h"
#include "skin/themes/theme_se3source.h"

namespace tarvel {

// Raises EReadError naming the file (and line) of a bad source.
void BuildSkinSource(const String& sourceFolder, TSeSkinSource& source);
// The maximum-compressed file of the source; raises the stream's errors.
void WriteMaximumSkin(TSeSkinSource& source, TStream& stream);
void WriteMaximumSkin(TSeSkinSource& source, const String& fileName);

// A #RRGGBB value of a property line turned into the decimal TColor the
// component text form takes; other lines stay as they are.
String ExpandColorValues(const String& text);

}  // namespace tarvel
