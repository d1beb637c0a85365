// The module's own information on the system-monitor tab: its software
// version and serial number on request, the text it sends by itself, and
// the I/O registers and battery information of the groups no view shows.

#include <algorithm>

#include "app/Main.h"
#include "app/Main_Pages.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Strings.h"
#include "telemetry/DeviceInfo.h"

namespace tarvel {
namespace {

constexpr int kMonitorPanel = 11;
constexpr int kIoRow = 20;  // pixels

constexpr int kButtonRow = 36;  // pixels

// Grows `group` by `height` and moves what stands below it in its column
// down as far.
void MakeRoomBelow(TControl* group, int height) {
    TWinControl* page = group->Parent();
    const int bottom = group->Top() + group->Height();
    for (int i = 0; page && i < page->ControlCount(); ++i) {
        TControl* below = page->Controls(i);
        const bool inColumn = below->Left() >= group->Left() &&
                              below->Left() + below->Width() <= group->Left() + group->Width();
        if (below != group && below->Top() >= bottom && inColumn) below->SetTop(below->Top() + height);
    }
    group->SetHeight(group->Height() + height);
}

ByteSpan HeldFrame(const TMainForm& form) { return ByteSpan(form.RxFrame.data(), form.RxFrameLength); }

template <class T>
T* Named(TComponent& owner, std::string_view name) {
    return dynamic_cast<T*>(owner.FindComponent(name));
}

TTeButton* MakeButton(TMainForm& form, TWinControl* parent, const char* name, const char* caption, int left,
                      int top) {
    auto* button = MakeControl<TTeButton>(&form, parent, name, left, top, 150, 28);
    button->SetCaption(Utf8ToWide(caption));
    return button;
}

// The I/O group of the system-monitor tab, hidden in every view: the read
// button, and per port its grid of bits with each register's label beside
// its row.
void BuildIoGroup(TMainForm& form) {
    auto* group =
        MakeControl<TTeGroupBox>(&form, form.ScrolledPanels[kMonitorPanel], "GB_IOState", 8, 430, 920, 250);
    group->SetCaption(u"IO State");
    group->SetVisible(false);
    MakeButton(form, group, "B_ReadIO", "Read IO", 10, 20)->OnClick = [f = &form](TObject* sender) {
        f->B_ReadIOClick(sender);
    };
    for (int port = 0; port < 8; ++port) {
        const int left = 10 + (port % 4) * 225;
        const int top = 56 + (port / 4) * 90;
        auto* grid = MakeControl<TTeStringGrid>(&form, group, "SG_P" + IntToStr(port), left + 65, top, 150,
                                                3 * kIoRow + 4);
        grid->SetColCount(8);
        grid->SetRowCount(port >= 1 && port <= 3 ? 3 : 2);
        grid->SetFixedCols(0);
        grid->SetFixedRows(0);
        grid->SetDefaultColWidth(18);
        grid->SetDefaultRowHeight(kIoRow);
    }
    for (const IoRegisterPlace& place : IoRegisterPlaces()) {
        const auto* grid = Named<TControl>(form, place.grid);
        auto* label = MakeControl<TLabel>(&form, group, String(place.label), grid->Left() - 65,
                                          grid->Top() + place.row * kIoRow + 2, 60, 16);
        label->SetCaption("0x00");
    }
}

// The battery-information controls of the hidden extended-communication tab.
void BuildExtCommControls(TMainForm& form) {
    TWinControl* page = form.TS_ExtComm;
    auto* moduleNo = MakeControl<TTeComboBox>(&form, page, "CB_ModuleNO", 400, 480, 80, 22);
    for (int i = 1; i <= kModuleCount; ++i) moduleNo->GetItems()->Add(IntToStr(i));
    moduleNo->SetItemIndex(0);
    MakeButton(form, page, "B_QueryExt", "Query", 490, 477)->OnClick = [f = &form](TObject* sender) {
        f->B_QueryExtClick(sender);
    };
    // The reset and boot buttons do nothing.
    MakeButton(form, page, "B_Reset", "Reset", 650, 477);
    MakeButton(form, page, "B_EnterBoot", "Enter Boot", 810, 477);
}

}  // namespace

void TMainForm::BindDeviceInfoHandlers() {
    if (!B_GetVer && TeEffectGroupBox1) {
        MakeRoomBelow(TeEffectGroupBox1, kButtonRow);
        B_GetVer = MakeButton(*this, TeEffectGroupBox1, "B_GetVer", "Get Software Version", 10,
                              TeEffectGroupBox1->Height() - kButtonRow);
        B_GetVer->OnClick = [this](TObject* sender) { B_GetVerClick(sender); };
    }
    if (B_ReadSerialNum) B_ReadSerialNum->OnClick = [this](TObject* sender) { B_ReadSerialNumClick(sender); };
    if (ScrolledPanels[kMonitorPanel] && !FindComponent("B_ReadIO")) BuildIoGroup(*this);
    if (TS_ExtComm && !FindComponent("B_QueryExt")) BuildExtCommControls(*this);
}

void TMainForm::B_GetVerClick(TObject*) { SendCommand(ModuleAddress(), CmdGetVer); }

void TMainForm::B_ReadSerialNumClick(TObject*) { SendCommand(ModuleAddress(), CmdReadSerialNum); }

void TMainForm::B_ReadIOClick(TObject*) { SendCommand(ModuleAddress(), CmdReadIo); }

// The short frame goes out without the login check; its reply is refused.
void TMainForm::B_QueryExtClick(TObject*) {
    auto* moduleNo = Named<TTeComboBox>(*this, "CB_ModuleNO");
    const int index = moduleNo ? std::clamp(moduleNo->ItemIndex(), 0, kModuleCount - 1) : 0;
    LastCommand = CmdQueryExt;
    const FrameBytes frame = BuildShortFrame(static_cast<uint8_t>(index));
    std::copy(frame.begin(), frame.end(), TxFrame.begin());
    WriteFrame(TxFrame.data(), static_cast<uint16_t>(frame.size()));
}

void TMainForm::ShowSoftwareVersion() {
    const std::optional<VersionInfo> version = DecodeVersionReply(HeldFrame(*this));
    if (!version) {
        ShowInfo("Version reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    const auto numbers = VersionNumberCells(*version);
    for (int col = 0; col < 4; ++col) SG_SoftVersion->SetCells(col, 1, numbers[col]);
    // The short layout carries no texts: the cells empty, the export's two
    // parts keep the last long reply's.
    SG_SoftVersion->SetCells(0, 3, version->hardwareText);
    SG_SoftVersion->SetCells(1, 3, version->functionText);
    if (version->longLayout) {
        VersionTexts texts{VersionTextHead, VersionTextTail};
        UpdateVersionTexts(texts, version->hardwareText);
        VersionTextHead = texts.head;
        VersionTextTail = texts.tail;
    }
    DoneVersion = 1;
}

void TMainForm::ShowSerialNumber() {
    const std::optional<std::string> serial = DecodeSerialNumberReply(HeldFrame(*this));
    if (!serial) {
        ShowInfo("Serial number reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    E_ReadSerialNum->SetText(*serial);
}

void TMainForm::ShowDeviceText() {
    const std::optional<std::string> text = DecodeDeviceText(HeldFrame(*this));
    if (!text) {
        ShowInfo("Device text of a wrong length, not shown!", kFailureColor);
        return;
    }
    if (!RE_Info) return;
    // Straight into the log: this reply has no result line. A module that
    // keeps sending text must not grow the log without end.
    RE_Info->AddLine(DeviceTextLogLine(Now(), *text));
    SpillInfoLog();
}

void TMainForm::ShowIoState() {
    const auto registers = DecodeIoState(HeldFrame(*this));
    if (!registers) {
        ShowInfo("IO state reply of a wrong length, not shown!", kFailureColor);
        return;
    }
    for (const IoRegister& r : *registers) {
        if (auto* label = Named<TLabel>(*this, r.label)) label->SetCaption(r.text);
        auto* grid = Named<TStringGrid>(*this, r.grid);
        if (!grid) continue;
        for (int col = 0; col < 8; ++col) grid->SetCells(col, r.row, r.bits[col]);
    }
}

}  // namespace tarvel
