#pragma once
// The text an edit, memo or rich edit holds: lines of UTF-16 with an
// optional colour per character, a selection, a one-step undo (undoing
// twice redoes) and a length limit. Positions count UTF-16 units, a line
// break two (CR LF), as in the text the control answers. Appending lines
// costs what the line costs, so logs of many thousands of lines stay fast.

#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Colors.h"
#include "platform/gdi/Geometry.h"

namespace tarvel {

class TEditText {
public:
    explicit TEditText(bool multiLine) : multiLine_(multiLine) { lines_.emplace_back(); }

    bool MultiLine() const { return multiLine_; }
    // 0: no limit. Typed and pasted text is cut to fit; text set by the
    // program is not.
    int MaxLength() const { return maxLength_; }
    void SetMaxLength(int n) { maxLength_ = std::max(0, n); }

    int Length() const { return length_; }
    int LineCount() const { return static_cast<int>(lines_.size()); }
    const std::u16string& Line(int line) const { return lines_[static_cast<size_t>(line)].text; }
    // The colour of each character of the line; empty when all are the default.
    const std::vector<TColor>& LineColors(int line) const { return lines_[static_cast<size_t>(line)].colors; }
    WideString Text() const;
    // Replaces everything; the selection goes to the start and undo is emptied.
    // A one-line text drops line breaks.
    void SetText(std::u16string_view text);

    int LineStart(int line) const;
    int LineOf(int pos) const;
    TPoint PosToLineCol(int pos) const;  // x: column, y: line
    int LineColToPos(int line, int col) const;

    int Anchor() const { return anchor_; }
    int Caret() const { return caret_; }
    int SelStart() const { return std::min(anchor_, caret_); }
    int SelLength() const { return std::abs(caret_ - anchor_); }
    // Both clamped to the text; a position inside a line break moves before it.
    void SetSel(int anchor, int caret);
    WideString SelText() const;

    // Replaces the selection by `text` in `color` (clDefault: the font's);
    // the caret ends after it. `limited` applies MaxLength. False when
    // nothing changed.
    bool Replace(std::u16string_view text, TColor color, bool undoable, bool limited);
    // Adds a line at the end (after a line break when the text does not end
    // in an empty line) without touching the selection or undo.
    void AppendLine(std::u16string_view text, TColor color);
    // The colour new text at the caret takes, set by the program
    // (SelAttributes) and forgotten when the caret moves.
    TColor InsertColor() const;
    void SetInsertColor(TColor color) { insertColor_ = color; insertAt_ = caret_; }
    // Sets the colour of the selected characters.
    void SetSelColor(TColor color);
    TColor ColorAt(int pos) const;

    bool CanUndo() const { return hasUndo_; }
    bool Undo();
    void ClearUndo() { hasUndo_ = false; undo_ = Snapshot{}; }

    // Word bounds around a position (for double clicks and Ctrl+arrows).
    int WordStart(int pos) const;
    int WordEnd(int pos) const;

private:
    struct LineData {
        std::u16string text;
        std::vector<TColor> colors;
    };
    struct Snapshot {
        std::vector<LineData> lines;
        int anchor = 0, caret = 0;
    };
    int ClampPos(int pos) const;
    void Invalidate(int fromLine) const { validStarts_ = std::min(validStarts_, fromLine + 1); }
    void Recount();
    std::u16string_view Filter(std::u16string_view text, std::u16string& buffer) const;

    bool multiLine_;
    int maxLength_ = 0;
    std::vector<LineData> lines_;
    int length_ = 0;
    mutable std::vector<int> starts_{0};
    mutable int validStarts_ = 1;
    int anchor_ = 0, caret_ = 0;
    TColor insertColor_ = clDefault;
    int insertAt_ = -1;
    bool hasUndo_ = false;
    Snapshot undo_;
};

// Lines split at CR LF, LF or CR.
std::vector<std::u16string_view> SplitLines(std::u16string_view text);

}  // namespace tarvel
