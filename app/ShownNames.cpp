#include "app/ShownNames.h"

#include <climits>
#include <regex>

#include "platform/base/Strings.h"
#include "platform/classlib/StdCtrls.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {
namespace {

bool IsNumber(const String& text) {
    int64_t value = 0;
    return TryStrToInt64(text, value);
}

// A caption as a message quotes it: trimmed, without its closing colon.
String Bare(String text) {
    text = Trim(text);
    for (const char* colon : {":", "："})
        if (text.ends_with(colon)) text = Trim(text.substr(0, text.size() - std::string_view(colon).size()));
    return text;
}

TWinControl* FocusOf(const TControl* label) {
    if (auto* plain = dynamic_cast<const TLabel*>(label)) return plain->FocusControl();
    if (auto* skinned = dynamic_cast<const TTeLabel*>(label)) return skinned->FocusControl();
    return nullptr;
}

// What a label shows: a skinned label keeps its caption apart from its text.
String LabelText(const TControl* label) {
    if (auto* skinned = dynamic_cast<const TTeLabel*>(label)) return WideToUtf8(skinned->GetCaption());
    return label->GetText();
}

bool IsLabel(const TControl* control) {
    return dynamic_cast<const TLabel*>(control) || dynamic_cast<const TTeLabel*>(control);
}

}  // namespace

String CellTitle(const TStringGrid& grid, int col, int row) {
    String rowTitle;
    for (int c = col - 1; c >= 0 && rowTitle.empty(); --c) {
        const String text = Trim(grid.Cells(c, row));
        if (!text.empty() && !IsNumber(text)) rowTitle = text;
    }
    String colTitle;
    if (grid.FixedRows() > 0 && row >= grid.FixedRows()) {
        const String text = Trim(grid.Cells(col, 0));
        if (!IsNumber(text)) colTitle = text;
    }
    if (rowTitle.empty()) return colTitle;
    return colTitle.empty() ? rowTitle : rowTitle + ", " + colTitle;
}

String FieldCaption(const TControl& control) {
    const TWinControl* parent = control.Parent();
    if (!parent) return {};
    // A caption before the edit ends with a colon; a word after it ("月" after
    // the month) names it too. The nearest on the edit's line wins, a
    // caption before it first.
    const TControl* beside = nullptr;
    bool besideIsCaption = false;
    int nearest = INT_MAX;
    for (int i = 0; i < parent->ControlCount(); ++i) {
        const TControl* other = parent->Controls(i);
        if (!IsLabel(other) || Bare(LabelText(other)).empty()) continue;
        if (FocusOf(other) == &control) return Bare(LabelText(other));
        const int middle = other->Top() + other->Height() / 2;
        if (middle < control.Top() || middle > control.Top() + control.Height()) continue;
        const int before = control.Left() - (other->Left() + other->Width());
        const int after = other->Left() - (control.Left() + control.Width());
        const int gap = before >= -4 ? before : after >= -4 ? after : -1;
        if (gap < -4 || (before < -4 && after < -4)) continue;
        const String text = Trim(LabelText(other));
        const bool caption = before >= -4 && (text.ends_with(":") || text.ends_with("："));
        if ((caption && !besideIsCaption) || (caption == besideIsCaption && gap < nearest)) {
            nearest = gap;
            beside = other;
            besideIsCaption = caption;
        }
    }
    if (beside) return Bare(LabelText(beside));
    if (auto* group = dynamic_cast<const TTeGroupBox*>(parent)) return Bare(WideToUtf8(group->GetCaption()));
    return Bare(parent->GetText());
}

String WithShownNames(const TComponent& owner, const String& message) {
    static const std::regex cell(R"((?:P\d+ \()?([A-Za-z_][A-Za-z0-9_]*) column (\d+), row (\d+)\)?)");
    static const std::regex leading(R"(^([A-Za-z_][A-Za-z0-9_]*): )");
    String out;
    auto from = message.cbegin();
    for (std::sregex_iterator it(message.begin(), message.end(), cell), end; it != end; ++it) {
        const std::smatch& m = *it;
        String shown;
        if (auto* grid = dynamic_cast<const TStringGrid*>(owner.FindComponent(m[1].str())))
            shown = CellTitle(*grid, StrToIntDef(m[2].str(), -1), StrToIntDef(m[3].str(), -1));
        out.append(from, m[0].first);
        out += shown.empty() ? m[0].str() : shown;
        from = m[0].second;
    }
    out.append(from, message.cend());
    std::smatch m;
    if (std::regex_search(out, m, leading)) {
        if (auto* control = dynamic_cast<const TControl*>(owner.FindComponent(m[1].str()))) {
            const String caption = FieldCaption(*control);
            if (!caption.empty()) out = caption + out.substr(static_cast<size_t>(m[1].length()));
        }
    }
    return out;
}

}  // namespace tarvel
