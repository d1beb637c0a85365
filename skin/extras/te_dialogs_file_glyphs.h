#pragma once
// The small pictures of the file dialogs and file controls, drawn here as
// character maps. Each one's bottom-left pixel is its transparent colour.

#include <memory>

#include "platform/classlib/Bitmaps.h"

namespace tarvel {

enum class TTeFileGlyph {
    Back,  // 16 x 16, the tool buttons
    Up,
    NewFolder,
    OpenFolder,  // 16 x 15, the folder states and file kinds
    ClosedFolder,
    CurrentFolder,
    Executable,
    UnknownFile,
    FixedDrive,  // 16 x 16
    EditButton,  // 14 x 12, the file-name and directory edits' button
    ViewMenu,    // 16 x 16, the view-style tool button
};

// A fresh bitmap of the glyph, each pixel `scale` x `scale` pixels; the
// caller owns it.
std::unique_ptr<TBitmap> MakeFileGlyph(TTeFileGlyph glyph, int scale = 1);

}  // namespace tarvel
