#pragma once
// The text an edit, memo or rich edit holds: lines of UTF-16 with an
// optional colour per character, a selection, a one-step undo (undoing
// twice redoes) and a length limit. Positions count UTF-16 units, a line
// break two (CR LF), as in the text the control answers. Appending lines
// costs what the line costs, so logs of many thousands of lines stay fast.

#include <climits>
#include <cstdlib>
#include <functional>
#include <string>
#include <string_view>
#include <unordered_map>
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
    void SetInsertColor(TColor color) {
        insertColor_ = color;
        insertAt_ = caret_;
    }
    // Sets the colour of the selected characters.
    void SetSelColor(TColor color);
    TColor ColorAt(int pos) const;

    bool CanUndo() const { return hasUndo_; }
    bool Undo();
    void ClearUndo() {
        hasUndo_ = false;
        undo_ = Snapshot{};
    }

    // Word bounds around a position (for double clicks and Ctrl+arrows).
    int WordStart(int pos) const;
    int WordEnd(int pos) const;

    // The lines changed since the last call: those before `first` and the
    // last `keptTail` are as they were (both INT_MAX when nothing changed).
    // The rows of a view follow the text from this.
    struct LineChanges {
        int first = INT_MAX;
        int keptTail = INT_MAX;
    };
    LineChanges TakeLineChanges();

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
    // Lines `first` to `lastNow` (counted after the change) are new or changed.
    void LinesChanged(int first, int lastNow);
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
    LineChanges changes_{0, 0};
};

// Where the lines of a text break into rows on the screen: a row per line,
// or, when wrapping, rows no wider than a width, broken after blanks (a
// word wider than a row breaks between characters; blanks at a row's end
// hang past it). Wrapping is only the view: the text keeps its lines. The
// rows are kept per line and brought up to date from the lines the text
// reports changed, so a log that grows lays out only its new lines.
class TEditRows {
public:
    // The width of a piece of text in pixels; widths add up.
    using Measure = std::function<int(std::u16string_view)>;
    struct Row {
        int line = 0;
        int start = 0, end = 0;  // the row's columns of the line: [start, end)
        bool lastOfLine = true;
    };

    explicit TEditRows(TEditText& text) : text_(text) {}

    // 0: no wrapping. A new width lays every line out again.
    void SetWrapWidth(int width);
    int WrapWidth() const { return width_; }
    // Every line again, with new widths (the font changed).
    void Reset();
    void Sync(const Measure& measure);

    int Count() const;
    Row At(int row) const;
    int FirstRow(int line) const;
    // The row showing a position. Where a line wraps, a position is both the
    // end of one row and the start of the next: `atRowEnd` picks the first.
    int RowOf(int pos, bool atRowEnd) const;

private:
    std::vector<int> BreakLine(std::u16string_view line, const Measure& measure);
    int Advance(std::u16string_view unit, const Measure& measure);
    void CountUpTo(int line) const;

    TEditText& text_;
    int width_ = 0;
    bool reset_ = true;
    // Per line, the columns where its second and later rows start.
    std::vector<std::vector<int>> breaks_;
    mutable std::vector<int> firstRow_;  // per line, then the row count
    mutable int validFirst_ = 0;
    std::vector<int> scratch_;
    std::vector<int> latinAdvances_;  // below kLatinEnd, -1 until measured
    std::unordered_map<char32_t, int> advances_;
};

// Lines split at CR LF, LF or CR.
std::vector<std::u16string_view> SplitLines(std::u16string_view text);

}  // namespace tarvel
