// The list of the modules' serial numbers on TS_SerialNum (edited, sorted,
// saved to and loaded from a text file), the polling of the listed modules
// by serial number with its day's file in "SerialData", and the write of a
// module's serial number. No view shows these tabs and groups; the list
// itself reaches the detail window's caption and the settings file.

#include <algorithm>
#include <cctype>
#include <vector>

#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/DateTime.h"
#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Boxes.h"
#include "platform/winsys/MessageApi.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {
namespace {

constexpr int kRowsPerColumn = 32;
constexpr int kLastSerialIndex = kModuleCount - 1;
constexpr size_t kSerialChars = 20;
constexpr int kSerialPanel = 5;
constexpr TColor kGreyedColor = 0x808080;

constexpr const char* kSerialNumFilter = "Serial Number(*.txt)|*.txt";
constexpr const char* kSerialNumLoadFilter = "Serial Number (*.txt)|*.txt";

void Inform(const String& text) { MessageDlg(text, mtInformation, TMsgDlgButtons{mbOK}); }

bool Confirmed(const String& question) {
    return MessageDlg(question, mtConfirmation, TMsgDlgButtons{mbYes, mbNo}) == mrYes;
}

// Hidden edits cannot take the focus; the list's checks work all the same.
void Focus(TWinControl* control) {
    if (control && control->CanFocus()) control->SetFocus();
}

void Enable(TControl* control, bool enabled) {
    if (control) control->SetEnabled(enabled);
}

// The 20 bytes a serial number travels in: zero-padded, and a text of 20
// characters or more cut to 19 so that a zero always ends it.
FrameBytes SerialField(const String& text) {
    FrameBytes field(kSerialChars, 0);
    const size_t kept = text.size() >= kSerialChars ? kSerialChars - 1 : text.size();
    std::copy_n(text.begin(), kept, field.begin());
    return field;
}

// The serial-data file's header and rows: TAB after every field, an empty
// field before BattState, before SOC and before TotalDiscSOC.
String SerialDataHeader() {
    std::vector<String> names = {"RecordTime", "SerialNum", "PackV", "BattV"};
    for (int i = 1; i <= 16; ++i) names.push_back("CellV" + IntToStr(i));
    names.push_back("Current");
    for (int i = 1; i <= 8; ++i) names.push_back("T" + IntToStr(i));
    for (const char* name : {"Other", "Alarm", "Protect", "Fail", "BalanceNo", "BattStatus", "SOC_Per", "SOC",
                             "DisTimes", "Dis_SOC"})
        names.push_back(name);
    String line;
    for (const String& name : names) line += name + "\t";
    return line + "\r\n";
}

String SerialDataRow(TDateTime time, const SerialTelemetry& reading) {
    const TelemetryRecord& r = reading.record;
    String row = TimeToStr(time) + "\t" + reading.serialNumber + "\t";
    const auto field = [&row](const String& value) { row += value + "\t"; };
    field(IntToStr(r.PACK));
    field(IntToStr(r.BATT));
    for (uint16_t v : r.V) field(UIntToStr(v));
    field(IntToStr(r.I));
    for (int16_t t : r.T) field(IntToStr(t));
    for (uint32_t word : {r.Others, r.Alarm, r.Protection, r.Fail, r.Balance}) field(UIntToStr(word));
    field("");
    field(UIntToStr(r.BattState));
    field("");
    for (uint32_t value : {uint32_t{r.SOC}, r.SOCHealth, r.DiscTimes}) field(UIntToStr(value));
    field("");
    return row + UIntToStr(r.TotalDiscSOC) + "\r\n";
}

String SerialDataPath() { return AppPath("SerialData/" + DateToStr(Date()) + "数据.txt"); }

template <class Dialog>
void PrepareDialog(Dialog& dialog, const char* title, const char* filter) {
    dialog.Title = title;
    dialog.Filter = filter;
    dialog.DefaultExt = "txt";
    dialog.InitialDir = AppPath("SequenceNum");
}

// A list of 64 numbers of 20 characters, one a line, takes under 1.5 KiB.
constexpr uint64_t kSerialListLimit = 16 << 10;

// Up to 64 words of the file; none, with the reason, when the file cannot be
// read or a word would not fit an entry.
std::optional<std::vector<String>> ReadSerialWords(const String& path, String& failure) {
    String text;
    try {
        text = ReadFileText(path, kSerialListLimit);
    } catch (const Exception& e) {
        failure = "fail!  " + e.Message();
        return std::nullopt;
    }
    const auto blank = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    std::vector<String> words;
    size_t at = 0;
    while (words.size() < static_cast<size_t>(kModuleCount)) {
        while (at < text.size() && blank(text[at])) ++at;
        if (at == text.size()) break;
        const size_t start = at;
        while (at < text.size() && !blank(text[at])) ++at;
        String word = text.substr(start, at - start);
        if (word.size() > kSerialChars) {
            failure = "fail!  \"" + word.substr(0, kSerialChars) + "...\" is longer than 20 characters.";
            return std::nullopt;
        }
        words.push_back(std::move(word));
    }
    return words;
}

}  // namespace

void TMainForm::BindSerialNumHandlers() {
    if (SG_SerialNum && SG_SerialNum->ColCount() < 4) SG_SerialNum->SetColCount(4);
    if (!Timer3) {
        Timer3 = new TTimer(this);
        Timer3->SetName("Timer3");
        Timer3->SetEnabled(false);
        Timer3->SetInterval(1000);
        Timer3->OnTimer = [this](TObject* sender) { Timer3Timer(sender); };
    }
    if (TWinControl* page = ScrolledPanels[kSerialPanel]; page && !E_SerialNumScan) {
        const auto keys = [this](TObject* sender, char16_t& key) { E_SerialNumScanKeyPress(sender, key); };
        E_SerialNumScan = MakeControl<TTeEdit>(this, page, "E_SerialNumScan", 720, 16, 180, 21);
        E_SerialNumScan->OnKeyPress = keys;
        E_SerialNumScan->OnKeyDown = [this](TObject*, WORD& key, TShiftState) {
            if (key == VK_RETURN) AddSerialNumber();
        };
        BindButton(*this, page, "B_ScanSerialNum", "加 入", Area(910, 12, 70, 28),
                   [this] { AddSerialNumber(); });
        BindButton(*this, page, "B_DelSerialNum", "删除", Area(910, 46, 70, 28),
                   [this] { DeleteSerialNumber(); });
        E_SerialNumOld = MakeControl<TTeEdit>(this, page, "E_SerialNumOld", 720, 96, 180, 21);
        E_SerialNumNew = MakeControl<TTeEdit>(this, page, "E_SerialNumNew", 720, 126, 180, 21);
        for (TTeEdit* edit : {E_SerialNumOld, E_SerialNumNew}) edit->OnKeyPress = keys;
        BindButton(*this, page, "B_ReplaceSerialNum", "替换", Area(910, 108, 70, 28),
                   [this] { B_ReplaceSerialNumClick(nullptr); });
        BindButton(*this, page, "B_SortSerialNum", "排序", Area(910, 160, 70, 28), [this] {
            SortSerialNumbers();
        })->SetVisible(false);
        BindButton(*this, page, "SaveSerialNum", "保存序列号", Area(720, 200, 120, 28),
                   [this] { SaveSerialNumClick(nullptr); });
        BindButton(*this, page, "GetSerialNum", "导入序列号", Area(860, 200, 120, 28),
                   [this] { GetSerialNumClick(nullptr); });
    }
    if (TWinControl* page = ScrolledPanels[kTsbsPanel]; page && !TeGroupBox14) {
        TeGroupBox14 = MakeHiddenGroup(*this, page, "TeGroupBox14", Area(180, 425, 380, 60), "");
        CB_SerailQuery = MakeControl<TTeCheckBox>(this, TeGroupBox14, "CB_SerailQuery", 10, 24, 110, 17);
        CB_SerailQuery->SetCaption(Utf8ToWide("Serial Query"));
        CB_SerailQuery->OnClick = [this](TObject* sender) { CB_SerailQueryClick(sender); };
        B_QuerySerialNum = BindButton(*this, TeGroupBox14, "B_QuerySerialNum", "Query", Area(130, 18, 75, 28),
                                      [this] { B_QuerySerialNumClick(nullptr); });
        CB_SerialNumBox = MakeControl<TTeComboBox>(this, TeGroupBox14, "CB_SerialNumBox", 215, 22, 155, 22);
    }
    if (TWinControl* page = ScrolledPanels[kMonitorPanel]; page && !E_WriteSerialNum) {
        auto* group = MakeHiddenGroup(*this, page, "GB_WriteSerialNum", Area(8, 560, 460, 60), "");
        E_WriteSerialNum = MakeControl<TTeEdit>(this, group, "E_WriteSerialNum", 10, 26, 260, 21);
        B_WriteSerialNum = BindButton(*this, group, "B_WriteSerialNum", "Write Serial Number",
                                      Area(290, 22, 150, 28), [this] { B_WriteSerialNumClick(nullptr); });
    }
}

// ---- the list ----

String TMainForm::SerialEntry(int index) const {
    if (!SG_SerialNum || index < 0 || index > kLastSerialIndex) return {};
    return SG_SerialNum->Cells(index / kRowsPerColumn, index % kRowsPerColumn);
}

void TMainForm::SetSerialEntry(int index, const String& text) {
    if (SG_SerialNum && index >= 0 && index <= kLastSerialIndex)
        SG_SerialNum->SetCells(index / kRowsPerColumn, index % kRowsPerColumn, text);
}

namespace {

// The first used entry equal to `text`, -1 when none is.
int FindSerialEntry(const TMainForm& form, const String& text) {
    const int last = std::min<int>(form.LastSerialIndex, kLastSerialIndex);
    for (int i = 0; i <= last; ++i)
        if (form.SerialEntry(i) == text) return i;
    return -1;
}

}  // namespace

void TMainForm::AddSerialNumber() {
    const String text = E_SerialNumScan->GetText();
    const char* refusal = nullptr;
    if (text.empty())
        refusal = "";
    else if (text.size() > kSerialChars)
        refusal = "Please check length of serial number!";
    else if (LastSerialIndex >= kLastSerialIndex)
        refusal = "Serial number is full!";
    else if (FindSerialEntry(*this, text) >= 0)
        refusal = "It exist. Please check again!";
    if (refusal) {
        if (*refusal) Inform(refusal);
    } else {
        ++LastSerialIndex;
        SetSerialEntry(LastSerialIndex, text);
        E_SerialNumScan->SetText("");
    }
    Focus(E_SerialNumScan);
}

void TMainForm::B_ReplaceSerialNumClick(TObject*) { ReplaceSerialNumber(); }

void TMainForm::ReplaceSerialNumber() {
    const String oldText = E_SerialNumOld->GetText();
    const String newText = E_SerialNumNew->GetText();
    for (auto [edit, text] : {std::pair{E_SerialNumOld, oldText}, std::pair{E_SerialNumNew, newText}}) {
        if (!text.empty()) continue;
        Focus(edit);
        return;
    }
    for (auto [edit, text] : {std::pair{E_SerialNumOld, oldText}, std::pair{E_SerialNumNew, newText}}) {
        if (text.size() <= kSerialChars) continue;
        Inform("Length beyond. Please check again!");
        Focus(edit);
        return;
    }
    if (FindSerialEntry(*this, newText) >= 0) {
        Inform("It exist. Please check again!");
        Focus(E_SerialNumNew);
        return;
    }
    const int index = FindSerialEntry(*this, oldText);
    if (index < 0) {
        Inform("It doesn't exist! Please check again!");
        Focus(E_SerialNumOld);
        return;
    }
    if (!Confirmed("Replace?")) {
        Focus(E_SerialNumNew);
        return;
    }
    SetSerialEntry(index, newText);
    E_SerialNumOld->SetText("");
    E_SerialNumNew->SetText("");
    Focus(E_SerialNumOld);
}

void TMainForm::DeleteSerialNumber() {
    const String text = E_SerialNumScan->GetText();
    if (text.empty()) {
        Focus(E_SerialNumScan);
        return;
    }
    if (text.size() > kSerialChars) {
        Inform("Length beyond. Please check again!");
        return;
    }
    const int index = FindSerialEntry(*this, text);
    if (index < 0) {
        Inform("It doesn't exist. Please check again!");
        return;
    }
    if (Confirmed("Delete?")) {
        // The last used entry fills the gap; the order is not kept.
        SetSerialEntry(index, SerialEntry(LastSerialIndex));
        SetSerialEntry(LastSerialIndex, "");
        E_SerialNumScan->SetText("");
        // Entry 0 always counts as used.
        if (LastSerialIndex > 0) --LastSerialIndex;
    }
    Focus(E_SerialNumScan);
}

void TMainForm::SortSerialNumbers() {
    const int last = std::min<int>(LastSerialIndex, kLastSerialIndex);
    std::vector<String> entries;
    for (int i = 0; i <= last; ++i) entries.push_back(SerialEntry(i));
    // Byte order: upper-case letters come before lower-case ones.
    std::stable_sort(entries.begin(), entries.end());
    for (int i = 0; i <= last; ++i) SetSerialEntry(i, entries[static_cast<size_t>(i)]);
}

void TMainForm::E_SerialNumScanKeyPress(TObject*, char16_t& key) {
    const bool accepted = (key >= u'0' && key <= u'9') || (key >= u'A' && key <= u'Z') ||
                          (key >= u'a' && key <= u'z') || key == u'-' || key == u'.' || key == 8 ||
                          key == 13 || key == 17;
    if (!accepted) key = 0;
}

void TMainForm::SaveSerialNumClick(TObject*) {
    TSaveDialog dialog(nullptr);
    PrepareDialog(dialog, "Save", kSerialNumFilter);
    if (!dialog.Execute()) return;
    String text;
    for (int i = 0; i <= kLastSerialIndex; ++i) text += SerialEntry(i) + "\r\n";
    ShowMessage(SaveFileText(dialog.FileName, text) ? "Succee!" : "fail!");
}

void TMainForm::GetSerialNumClick(TObject*) {
    TOpenDialog dialog(nullptr);
    PrepareDialog(dialog, "Load", kSerialNumLoadFilter);
    if (!dialog.Execute()) return;
    String failure;
    const std::optional<std::vector<String>> words = ReadSerialWords(dialog.FileName, failure);
    if (!words) {
        ShowMessage(failure);
        return;
    }
    for (int i = 0; i <= kLastSerialIndex; ++i)
        SetSerialEntry(i, static_cast<size_t>(i) < words->size() ? (*words)[static_cast<size_t>(i)] : "");
    if (!words->empty()) LastSerialIndex = static_cast<uint8_t>(words->size() - 1);
    ShowMessage("Succee!");
}

// ---- polling by serial number ----

void TMainForm::CB_SerailQueryClick(TObject*) {
    const bool on = CB_SerailQuery->Checked();
    Timer3->SetEnabled(on);
    SerialPollOn = on ? 1 : 0;
    for (const char* name : {"B_QuerySerialNum", "B_ScanSerialNum", "B_ReplaceSerialNum"})
        Enable(dynamic_cast<TControl*>(FindComponent(name)), !on);
    if (!on) {
        SerialDataStream.Close();
        return;
    }
    // The poll asks the listed modules in the order of the list.
    SerialPollCount = 0;
    SerialPollIndex = 0;
    if (CB_SerialNumBox) CB_SerialNumBox->GetItems()->Clear();
    for (int i = 0; i <= std::min<int>(LastSerialIndex, kLastSerialIndex); ++i) {
        const String entry = SerialEntry(i);
        if (entry.empty()) continue;
        const FrameBytes field = SerialField(entry);
        std::copy(field.begin(), field.end(), SerialPollTable[SerialPollCount++].begin());
        if (CB_SerialNumBox) CB_SerialNumBox->GetItems()->Add(entry);
    }
    const String path = SerialDataPath();
    const bool exists = FileExists(path);
    try {
        SerialDataStream.Open(path);
        if (!exists) SerialDataStream.Append({}, SerialDataHeader());
        return;
    } catch (const Exception&) {
        SerialDataStream.Close();
    }
    ShowInfo(exists ? "Fail to open record file!" : "Fail to build record file!", kFailureColor);
}

void TMainForm::Timer3Timer(TObject*) {
    LoggedIn = 1;
    if (SerialPollIndex < SerialPollCount) {
        for (int row = 0; SG_TSBS && row < SG_TSBS->RowCount(); ++row) {
            SG_TSBS->SetCells(1, row, "");
            SG_TSBS->SetCells(4, row, "");
        }
        if (L_Info) {
            L_Info->SetCaption("");
            L_Info->SetColor(kGreyedColor);
            L_Info->SetVisible(false);
        }
        if (CB_SerialNumBox) CB_SerialNumBox->SetItemIndex(SerialPollIndex);
        const auto& entry = SerialPollTable[SerialPollIndex];
        SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdQuerySbs, ByteSpan(entry.data(), entry.size())),
                     true);
    }
    if (++SerialPollIndex >= SerialPollCount) SerialPollIndex = 0;
}

void TMainForm::B_QuerySerialNumClick(TObject*) {
    const int chosen = CB_SerialNumBox ? CB_SerialNumBox->ItemIndex() : -1;
    if (chosen < 0 || chosen >= SerialPollCount) {
        ShowInfo("Please choose a serial number first!", kFailureColor);
        return;
    }
    LoggedIn = 1;
    const auto& entry = SerialPollTable[static_cast<size_t>(chosen)];
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdQuerySbs, ByteSpan(entry.data(), entry.size())),
                 true);
}

void TMainForm::B_WriteSerialNumClick(TObject*) {
    if (AutoQueryOn) {
        ShowInfo("Please turn off automatic query frist!", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    const String text = E_WriteSerialNum->GetText();
    if (text == "0") return;
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdWriteSerialNum, SerialField(text)), true);
}

void TMainForm::ShowSerialAnswer() { ShowModuleReading(); }

void TMainForm::WriteSerialDataRow() {
    if (SerialPollOn != 1) return;
    // Only the answer to a query by serial number carries the number.
    const std::optional<SerialTelemetry> reading =
        DecodeSerialTelemetryReply(ByteSpan(RxFrame.data(), RxFrameLength));
    if (reading && SerialDataStream.IsOpen()) {
        try {
            SerialDataStream.Append(SerialDataRow(Now(), *reading));
        } catch (const Exception&) {
            SerialDataStream.Close();
            ShowInfo("Fail to write record file!", kFailureColor);
        }
    }
    if (SG_AutoQuery) PostMessage(SG_AutoQuery->Handle(), WM_HSCROLL, SB_BOTTOM, 0);
}

}  // namespace tarvel
