#pragma once
// File names for the library's file dialogs and file controls: filters and
// their masks, the extension a save completes, names typed as a command
// line, path shortening, and the library's file-name tests. Paths are Linux
// paths: one root "/", names case-sensitive, masks matched in any case.

#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/Graphics.h"

namespace tarvel {

// One entry of a filter "Description|*.a;*.b|...".
struct TTeFileType {
    String description;
    String maskText;  // as written, "*.a;*.b"
    std::vector<String> masks;
};

// The description and mask pairs of a filter; a last description without
// a mask is dropped. Masks are split at ';' with blanks trimmed.
std::vector<TTeFileType> ParseFilter(const String& filter);
// The masks of a mask list "*.a; *.b".
std::vector<String> SplitMasks(const String& maskText);

// A file mask as the class library's dialogs match it (MatchesMasks):
// '*', '?' and "[a-c]" sets, letter case ignored; "*.*" takes every name,
// with or without a dot, as it does on the system the filters were written for.
bool MatchesMask(const String& name, const String& mask);

// Whether the name (no folder) has an extension: a dot that is not its
// first character. ".profile" has none.
bool HasExtension(const String& name);
// The extension a saved name without one gets: the single mask's ("*.txt"
// gives ".txt") when the type has exactly one mask and its extension has no
// wildcard, else DefaultExt with a '.' before it; "" when that is empty.
String SaveExtension(const TTeFileType* type, const String& defaultExt);
// `path` with `extension` appended when its name has none.
String CompleteFileName(const String& path, const String& extension);

// Names read the way a command line is split: blanks end a name outside
// double quotes; the quotes are not part of the name; an empty name ends
// the list. No length limit.
std::vector<String> SplitNameList(const String& text);
// `name` in double quotes when it holds a blank and does not start with one.
String QuoteFileName(const String& name);

// ---- the library's file-name functions ----
// False for an empty name or one holding any of < > " ? * |; folders ('/')
// are allowed, as the whole path is checked.
bool ValidFileName(const String& name);
bool DirExists(const String& name);
// One trailing '/' removed, unless the path is the root.
String RemoveBackSlash(const String& path);
// Linux keeps one name per file: the last component when it exists, else "".
String ShortToLongFileName(const String& name);
String LongToShortFileName(const String& name);
// Every component kept; a component that does not exist becomes "".
String ShortToLongPath(const String& path);
String LongToShortPath(const String& path);
inline String ResStr(const String& text) { return text; }

// Shortens a path until it is at most `maxWidth` pixels on the canvas:
// folders are cut from the front and "..." stands for them, then the root
// and the dots go; the file name is never cut.
String MinimizeName(const String& name, TCanvas& canvas, int maxWidth);

}  // namespace tarvel
