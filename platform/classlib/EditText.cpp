// The text model of edits, memos and rich edits.

#include "platform/classlib/EditText.h"

#include <algorithm>
#include <cstddef>
#include <utility>

namespace tarvel {

namespace {
constexpr int kBreak = 2;  // CR LF

bool IsBlank(char16_t c) { return c == u' ' || c == u'\t'; }

bool IsWordChar(char16_t c) {
    return c == u'_' || c >= 0x80 || (c >= u'0' && c <= u'9') || ((c | 0x20) >= u'a' && (c | 0x20) <= u'z');
}
}  // namespace

std::vector<std::u16string_view> SplitLines(std::u16string_view text) {
    std::vector<std::u16string_view> out;
    size_t start = 0;
    for (size_t i = 0; i < text.size(); ++i) {
        if (text[i] != u'\r' && text[i] != u'\n') continue;
        out.push_back(text.substr(start, i - start));
        if (text[i] == u'\r' && i + 1 < text.size() && text[i + 1] == u'\n') ++i;
        start = i + 1;
    }
    out.push_back(text.substr(start));
    return out;
}

WideString TEditText::Text() const {
    WideString out;
    out.reserve(static_cast<size_t>(length_));
    for (size_t i = 0; i < lines_.size(); ++i) {
        if (i) out += u"\r\n";
        out += lines_[i].text;
    }
    return out;
}

std::u16string_view TEditText::Filter(std::u16string_view text, std::u16string& buffer) const {
    if (multiLine_ || text.find_first_of(u"\r\n") == std::u16string_view::npos) return text;
    buffer.clear();
    for (char16_t c : text)
        if (c != u'\r' && c != u'\n') buffer += c;
    return buffer;
}

void TEditText::Recount() {
    int64_t total = 0;
    for (const LineData& l : lines_) total += static_cast<int64_t>(l.text.size());
    total += int64_t{kBreak} * (static_cast<int64_t>(lines_.size()) - 1);
    length_ = static_cast<int>(std::min<int64_t>(total, 0x7FFFFFFF));
}

void TEditText::SetText(std::u16string_view text) {
    std::u16string buffer;
    text = Filter(text, buffer);
    lines_.clear();
    for (std::u16string_view line : SplitLines(text)) lines_.push_back(LineData{std::u16string(line), {}});
    Recount();
    Invalidate(0);
    LinesChanged(0, LineCount() - 1);
    anchor_ = caret_ = 0;
    insertAt_ = -1;
    ClearUndo();
}

int TEditText::LineStart(int line) const {
    line = std::clamp(line, 0, LineCount() - 1);
    if (static_cast<int>(starts_.size()) < LineCount()) starts_.resize(lines_.size());
    for (int i = validStarts_; i <= line; ++i)
        starts_[static_cast<size_t>(i)] = starts_[static_cast<size_t>(i - 1)] +
                                          static_cast<int>(lines_[static_cast<size_t>(i - 1)].text.size()) +
                                          kBreak;
    validStarts_ = std::max(validStarts_, line + 1);
    return starts_[static_cast<size_t>(line)];
}

int TEditText::LineOf(int pos) const {
    LineStart(LineCount() - 1);
    auto it = std::upper_bound(starts_.begin(), starts_.begin() + LineCount(), pos);
    return std::max(0, static_cast<int>(it - starts_.begin()) - 1);
}

TPoint TEditText::PosToLineCol(int pos) const {
    pos = ClampPos(pos);
    int line = LineOf(pos);
    return TPoint{pos - LineStart(line), line};
}

int TEditText::LineColToPos(int line, int col) const {
    line = std::clamp(line, 0, LineCount() - 1);
    return LineStart(line) + std::clamp(col, 0, static_cast<int>(Line(line).size()));
}

int TEditText::ClampPos(int pos) const {
    pos = std::clamp(pos, 0, length_);
    int line = LineOf(pos);
    int start = LineStart(line);
    return start + std::min(pos - start, static_cast<int>(Line(line).size()));
}

void TEditText::SetSel(int anchor, int caret) {
    anchor_ = ClampPos(anchor);
    caret_ = ClampPos(caret);
}

WideString TEditText::SelText() const {
    TPoint a = PosToLineCol(SelStart());
    TPoint b = PosToLineCol(SelStart() + SelLength());
    WideString out;
    for (int line = a.y; line <= b.y; ++line) {
        const std::u16string& t = Line(line);
        size_t from = line == a.y ? static_cast<size_t>(a.x) : 0;
        size_t to = line == b.y ? static_cast<size_t>(b.x) : t.size();
        if (line > a.y) out += u"\r\n";
        out += t.substr(from, to - from);
    }
    return out;
}

TColor TEditText::ColorAt(int pos) const {
    TPoint p = PosToLineCol(pos);
    const LineData& l = lines_[static_cast<size_t>(p.y)];
    if (l.colors.empty() || p.x >= static_cast<int>(l.colors.size())) return clDefault;
    return l.colors[static_cast<size_t>(p.x)];
}

TColor TEditText::InsertColor() const {
    if (insertAt_ == caret_ && anchor_ == caret_) return insertColor_;
    // New text takes the colour of the character before it, across a line break.
    TPoint p = PosToLineCol(SelStart());
    if (p.x == 0 && p.y > 0) {
        --p.y;
        p.x = static_cast<int>(Line(p.y).size());
    }
    const std::vector<TColor>& colors = LineColors(p.y);
    if (p.x == 0 || colors.empty()) return clDefault;
    return colors[static_cast<size_t>(std::min<int>(p.x, static_cast<int>(colors.size()))) - 1];
}

bool TEditText::Replace(std::u16string_view text, TColor color, bool undoable, bool limited) {
    std::u16string buffer;
    text = Filter(text, buffer);
    const int selLength = SelLength();
    if (limited && maxLength_ > 0) {
        const int room = std::max(0, maxLength_ - (length_ - selLength));
        if (static_cast<int>(text.size()) > room) {
            text = text.substr(0, static_cast<size_t>(room));
            if (!text.empty() && text.back() == u'\r') text.remove_suffix(1);
        }
    }
    if (text.empty() && selLength == 0) return false;
    if (undoable) {
        undo_ = Snapshot{lines_, anchor_, caret_};
        hasUndo_ = true;
    }
    const TPoint a = PosToLineCol(SelStart());
    const TPoint b = PosToLineCol(SelStart() + selLength);
    LineData& first = lines_[static_cast<size_t>(a.y)];
    const LineData& last = lines_[static_cast<size_t>(b.y)];
    std::u16string tail = last.text.substr(static_cast<size_t>(b.x));
    std::vector<TColor> tailColors;
    if (!last.colors.empty())
        tailColors.assign(last.colors.begin() + std::min<size_t>(b.x, last.colors.size()), last.colors.end());
    first.text.resize(static_cast<size_t>(a.x));
    const bool colored = color != clDefault || !first.colors.empty() || !tailColors.empty();
    if (colored) first.colors.resize(static_cast<size_t>(a.x), clDefault);
    lines_.erase(lines_.begin() + a.y + 1, lines_.begin() + b.y + 1);

    std::vector<std::u16string_view> parts = SplitLines(text);
    std::vector<LineData> added;
    for (size_t i = 1; i < parts.size(); ++i) added.push_back(LineData{std::u16string(parts[i]), {}});
    LineData* current = &first;
    auto put = [&](LineData& l, std::u16string_view part) {
        l.text += part;
        if (colored) l.colors.resize(l.text.size(), color);
    };
    put(first, parts[0]);
    if (!added.empty()) {
        lines_.insert(lines_.begin() + a.y + 1, added.begin(), added.end());
        for (size_t i = 1; i < parts.size(); ++i) {
            LineData& l = lines_[static_cast<size_t>(a.y) + i];
            l.text.clear();
            put(l, parts[i]);
        }
        current = &lines_[static_cast<size_t>(a.y) + parts.size() - 1];
    }
    const int caretCol = static_cast<int>(current->text.size());
    const int caretLine = a.y + static_cast<int>(parts.size()) - 1;
    current->text += tail;
    if (colored) {
        current->colors.resize(static_cast<size_t>(caretCol), clDefault);
        tailColors.resize(tail.size(), clDefault);
        current->colors.insert(current->colors.end(), tailColors.begin(), tailColors.end());
    }
    Recount();
    Invalidate(a.y);
    LinesChanged(a.y, caretLine);
    caret_ = anchor_ = LineColToPos(caretLine, caretCol);
    insertAt_ = -1;
    return true;
}

void TEditText::AppendLine(std::u16string_view text, TColor color) {
    const int lastBefore = LineCount() - 1;
    std::u16string buffer;
    text = Filter(text, buffer);
    const bool startsLine = !multiLine_ || lines_.back().text.empty();
    std::vector<std::u16string_view> parts = SplitLines(text);
    for (size_t i = 0; i < parts.size(); ++i) {
        if (i > 0 || !startsLine) {
            if (!multiLine_) break;
            lines_.emplace_back();
            length_ += kBreak;
        }
        LineData& l = lines_.back();
        l.text += parts[i];
        if (color != clDefault || !l.colors.empty()) l.colors.resize(l.text.size(), color);
        length_ += static_cast<int>(parts[i].size());
    }
    // A memo's lines end in a line break, so the next line starts clean.
    if (multiLine_) {
        lines_.emplace_back();
        length_ += kBreak;
    }
    Invalidate(lastBefore);
    LinesChanged(lastBefore, LineCount() - 1);
}

void TEditText::SetSelColor(TColor color) {
    TPoint a = PosToLineCol(SelStart());
    TPoint b = PosToLineCol(SelStart() + SelLength());
    for (int line = a.y; line <= b.y; ++line) {
        LineData& l = lines_[static_cast<size_t>(line)];
        size_t from = line == a.y ? static_cast<size_t>(a.x) : 0;
        size_t to = line == b.y ? static_cast<size_t>(b.x) : l.text.size();
        if (from >= to) continue;
        l.colors.resize(l.text.size(), clDefault);
        std::fill(l.colors.begin() + static_cast<std::ptrdiff_t>(from),
                  l.colors.begin() + static_cast<std::ptrdiff_t>(to), color);
    }
}

bool TEditText::Undo() {
    if (!hasUndo_) return false;
    Snapshot now{lines_, anchor_, caret_};
    lines_ = std::move(undo_.lines);
    if (lines_.empty()) lines_.emplace_back();
    Recount();
    Invalidate(0);
    LinesChanged(0, LineCount() - 1);
    SetSel(undo_.anchor, undo_.caret);
    undo_ = std::move(now);
    return true;
}

void TEditText::LinesChanged(int first, int lastNow) {
    changes_.first = std::min(changes_.first, first);
    changes_.keptTail = std::min(changes_.keptTail, LineCount() - 1 - lastNow);
}

TEditText::LineChanges TEditText::TakeLineChanges() { return std::exchange(changes_, LineChanges{}); }

int TEditText::WordStart(int pos) const {
    TPoint p = PosToLineCol(pos);
    const std::u16string& t = Line(p.y);
    int x = p.x;
    while (x > 0 && !IsWordChar(t[static_cast<size_t>(x - 1)])) --x;
    while (x > 0 && IsWordChar(t[static_cast<size_t>(x - 1)])) --x;
    return LineStart(p.y) + x;
}

int TEditText::WordEnd(int pos) const {
    TPoint p = PosToLineCol(pos);
    const std::u16string& t = Line(p.y);
    int x = p.x;
    const int n = static_cast<int>(t.size());
    while (x < n && IsWordChar(t[static_cast<size_t>(x)])) ++x;
    while (x < n && t[static_cast<size_t>(x)] == u' ') ++x;
    return LineStart(p.y) + x;
}

// ---- TEditRows --------------------------------------------------------------------------------

void TEditRows::SetWrapWidth(int width) {
    width = std::max(0, width);
    if (width == width_) return;
    width_ = width;
    reset_ = true;
}

void TEditRows::Reset() {
    reset_ = true;
    latinAdvances_.clear();
    advances_.clear();
}

void TEditRows::Sync(const Measure& measure) {
    TEditText::LineChanges changes = text_.TakeLineChanges();
    if (reset_) changes = TEditText::LineChanges{0, 0};
    reset_ = false;
    const int oldCount = static_cast<int>(breaks_.size());
    const int newCount = text_.LineCount();
    if (changes.first == INT_MAX && oldCount == newCount) return;
    const int first = std::min({changes.first, oldCount, newCount});
    const int tail = std::min({changes.keptTail, oldCount - first, newCount - first});
    breaks_.erase(breaks_.begin() + first, breaks_.begin() + (oldCount - tail));
    breaks_.insert(breaks_.begin() + first, static_cast<size_t>(newCount - first - tail), std::vector<int>{});
    if (width_ > 0)
        for (int i = first; i < newCount - tail; ++i)
            breaks_[static_cast<size_t>(i)] = BreakLine(text_.Line(i), measure);
    validFirst_ = std::min(validFirst_, first);
}

int TEditRows::Advance(std::u16string_view unit, const Measure& measure) {
    // The common characters in a table, the rest in a map.
    constexpr char16_t kLatinEnd = 0x800;
    if (unit.size() == 1 && unit[0] < kLatinEnd) {
        if (latinAdvances_.empty()) latinAdvances_.assign(kLatinEnd, -1);
        int& advance = latinAdvances_[unit[0]];
        if (advance < 0) advance = measure(unit);
        return advance;
    }
    const char32_t key = unit.size() == 2
                             ? 0x10000 + ((char32_t{unit[0]} - 0xD800) << 10) + (char32_t{unit[1]} - 0xDC00)
                             : unit[0];
    auto it = advances_.find(key);
    if (it == advances_.end()) it = advances_.emplace(key, measure(unit)).first;
    return it->second;
}

std::vector<int> TEditRows::BreakLine(std::u16string_view line, const Measure& measure) {
    // Widths add up, so characters measured once each make every width.
    std::vector<int>& advances = scratch_;
    advances.assign(line.size(), 0);
    for (size_t i = 0; i < line.size();) {
        const bool pair = line[i] >= 0xD800 && line[i] < 0xDC00 && i + 1 < line.size() &&
                          line[i + 1] >= 0xDC00 && line[i + 1] < 0xE000;
        const size_t n = pair ? 2 : 1;
        advances[i] = Advance(line.substr(i, n), measure);
        i += n;
    }
    std::vector<int> breaks;
    size_t rowStart = 0, lastBlank = 0;  // lastBlank: just after the row's last blank, or its start
    int x = 0;
    for (size_t i = 0; i < line.size(); ++i) {
        if (IsBlank(line[i])) {
            x += advances[i];
            lastBlank = i + 1;
            continue;
        }
        // The low half of a pair has no width of its own and never starts a row.
        if (advances[i] > 0 && x + advances[i] > width_ && i > rowStart) {
            // After the last blank of the row, or inside a word too long for one.
            rowStart = lastBlank > rowStart ? lastBlank : i;
            breaks.push_back(static_cast<int>(rowStart));
            x = 0;
            for (size_t j = rowStart; j < i; ++j) x += advances[j];
            lastBlank = rowStart;
        }
        x += advances[i];
    }
    return breaks;
}

void TEditRows::CountUpTo(int line) const {
    if (static_cast<int>(firstRow_.size()) < static_cast<int>(breaks_.size()) + 1)
        firstRow_.resize(breaks_.size() + 1);
    firstRow_[0] = 0;
    for (int i = validFirst_; i < line; ++i)
        firstRow_[static_cast<size_t>(i) + 1] =
            firstRow_[static_cast<size_t>(i)] + 1 + static_cast<int>(breaks_[static_cast<size_t>(i)].size());
    validFirst_ = std::max(validFirst_, line);
}

int TEditRows::Count() const {
    const int lines = static_cast<int>(breaks_.size());
    CountUpTo(lines);
    return std::max(1, firstRow_[static_cast<size_t>(lines)]);
}

int TEditRows::FirstRow(int line) const {
    line = std::clamp(line, 0, static_cast<int>(breaks_.size()));
    CountUpTo(line);
    return firstRow_[static_cast<size_t>(line)];
}

TEditRows::Row TEditRows::At(int row) const {
    const int lines = std::min(static_cast<int>(breaks_.size()), text_.LineCount());
    if (lines == 0) return Row{};
    row = std::clamp(row, 0, Count() - 1);
    auto begin = firstRow_.begin();
    const int line = std::clamp(static_cast<int>(std::upper_bound(begin, begin + lines + 1, row) - begin) - 1,
                                0, lines - 1);
    const std::vector<int>& breaks = breaks_[static_cast<size_t>(line)];
    const size_t k = static_cast<size_t>(row - firstRow_[static_cast<size_t>(line)]);
    const int length = static_cast<int>(text_.Line(line).size());
    Row r;
    r.line = line;
    r.start = std::min(length, k == 0 || k > breaks.size() ? 0 : breaks[k - 1]);
    r.end = std::min(length, k < breaks.size() ? breaks[k] : length);
    r.lastOfLine = k >= breaks.size();
    return r;
}

int TEditRows::RowOf(int pos, bool atRowEnd) const {
    const TPoint p = text_.PosToLineCol(pos);
    if (breaks_.empty()) return 0;
    const int line = std::min(p.y, static_cast<int>(breaks_.size()) - 1);
    const std::vector<int>& breaks = breaks_[static_cast<size_t>(line)];
    auto k = std::upper_bound(breaks.begin(), breaks.end(), p.x) - breaks.begin();
    if (atRowEnd && k > 0 && breaks[static_cast<size_t>(k) - 1] == p.x) --k;
    return FirstRow(line) + static_cast<int>(k);
}

}  // namespace tarvel
