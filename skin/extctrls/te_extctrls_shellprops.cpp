#include "skin/extctrls/te_extctrls_shellprops.h"

#include <algorithm>
#include <memory>

#include "platform/base/DateTime.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"
#include "platform/system/ShellNamespace.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {

namespace {

String Kind(const TShellItemInfo& info) {
    if (info.folder) return info.link ? "Link to a folder" : "Folder";
    if (info.link) return "Link";
    return info.executable ? "Program" : "File";
}

// "1,234,567 bytes".
String Bytes(uint64_t size) {
    String digits = UIntToStr(size);
    for (int at = static_cast<int>(digits.size()) - 3; at > 0; at -= 3)
        digits.insert(static_cast<size_t>(at), ",");
    return digits + (size == 1 ? " byte" : " bytes");
}

String When(TDateTime value) { return value ? FormatDateTime("yyyy-mm-dd hh:nn:ss", value) : String("-"); }

}  // namespace

std::vector<TTeShellProperty> ShellProperties(TTeShellFolder* item) {
    TShellItemInfo info;
    if (!item || !ShellItemInfo(item->AbsoluteIdList(), info))
        throw Exception("\"" + (item ? item->PathName() : String()) + "\" is not there any more");
    TIdList parent = item->AbsoluteIdList();
    StripLastIdItem(parent);
    return {
        {"Name:", item->DisplayName()},
        {"Kind:", Kind(info)},
        {"Size:", info.folder ? String("-") : Bytes(info.size)},
        {"Location:", IdListPath(parent)},
        {"Modified:", When(info.modified)},
        {"Accessed:", When(info.accessed)},
        {"Changed:", When(info.changed)},
        {"Owner:", info.owner + " (group " + info.group + ")"},
        {"Permissions:", info.permissions},
    };
}

void ShowShellProperties(TTeShellFolder* item) {
    const std::vector<TTeShellProperty> rows = ShellProperties(item);
    std::unique_ptr<TForm> form(new TForm(Application));
    form->SetName("ShellProperties");
    form->SetCaption(item->DisplayName() + " Properties");
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    constexpr int kRow = 22, kTop = 14, kLabelWidth = 80;
    int top = kTop, widest = 160;
    for (const TTeShellProperty& row : rows) {
        auto* label = new TTeLabel(form.get());
        label->SetParent(form.get());
        label->SetCaption(Utf8ToWide(row.Label));
        label->SetBounds(14, top, kLabelWidth, 16);
        auto* value = new TTeLabel(form.get());
        value->SetParent(form.get());
        String name = row.Label;
        name.erase(std::remove(name.begin(), name.end(), ':'), name.end());
        value->SetName("Value" + name);
        value->SetCaption(Utf8ToWide(row.Value));
        value->SetAutoSize(true);
        value->SetLeft(14 + kLabelWidth + 8);
        value->SetTop(top);
        widest = std::max(widest, value->Width());
        top += kRow;
    }
    auto* ok = new TTeButton(form.get());
    ok->SetParent(form.get());
    ok->SetName("OK");
    ok->SetCaption(u"OK");
    ok->SetModalResult(mrOk);
    ok->SetDefault(true);
    ok->SetCancel(true);
    const int width = 14 + kLabelWidth + 8 + widest + 14;
    ok->SetBounds(width - 14 - 75, top + 8, 75, 25);
    form->SetClientWidth(width);
    form->SetClientHeight(top + 8 + 25 + 12);
    form->ShowModal();
}

}  // namespace tarvel
