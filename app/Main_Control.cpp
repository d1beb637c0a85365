// Direct commands to one module: the tubes and the buzzer, the over-current
// delays, the charge current-limit circuit, the limit value and current, the
// charge circuit, single protection functions switched off, and the work
// mode. Their groups stand hidden on the system-monitor tab; the protection
// switches, the limit value and the charge-circuit buttons on the
// remote-control tab, which no view shows either.

#include "app/Main.h"
#include "app/Main_HiddenGroups.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/classlib/Application.h"

namespace tarvel {
namespace {

struct PlainButton {
    const char* name;
    const char* caption;
    uint8_t command;
    TRect bounds;
};

constexpr PlainButton kTubeButtons[] = {
    {"B_OpenChg", "打开充电管", CmdOpenChg, {10, 22, 150, 50}},
    {"B_CloseChg", "关闭充电管", CmdCloseChg, {160, 22, 300, 50}},
    {"B_OpenDis", "打开放电管", CmdOpenDis, {10, 58, 150, 86}},
    {"B_CloseDis", "关闭放电管", CmdCloseDis, {160, 58, 300, 86}},
    {"B_OpenSpeaker", "开启蜂鸣器", CmdOpenSpeaker, {310, 22, 450, 50}},
};

constexpr PlainButton kChargeLimitButtons[] = {
    {"Openchlimit", "开启限流回路", CmdOpenChLimit, {10, 22, 150, 50}},
    {"Closechlimit", "关闭限流回路", CmdCloseChLimit, {160, 22, 300, 50}},
};

// The delays in frame order; the line carries counts of 100 ms.
struct DelayField {
    const char* edit;
    const char* label;
    int maxCount;
    const char* rangeMessage;
    const char* preset;  // "导入默认值"
};

constexpr DelayField kDelays[] = {
    {"Ch1ctime", "1C充电过流保护延时：", 300, "1C充电过流保护时间设置范围为 0~30000【mS】!", "15000"},
    {"Ch2ctime", "2C充电电流保护延时：", 5, "2C充电过流保护时间设置范围为 0~500【mS】!", "300"},
    {"Dis1ctime", "1C放电过流保护延时：", 610, "1C放电过流保护时间设置范围为 0~61000【mS】!", "60000"},
    {"Dis2ctime", "2C放电过流保护延时：", 5, "2C放电过流保护时间设置范围为 0~500【mS】!", "400"},
};

constexpr const char* kSwitchCaptions[] = {
    "电池组过压告警功能关闭", "电池组过压保护功能关闭", "电池组欠压告警功能关闭", "电芯欠压告警功能关闭",
    "电芯欠压保护功能关闭",   "电芯过压告警功能关闭",   "电芯过压保护功能关闭",   "放电短路保护功能关闭",
    "充电过流保护功能关闭",   "电池组过温告警功能关闭", "电池过温保护功能关闭",   "电池组低温告警功能关闭",
    "电池组低温保护功能关闭",
};
constexpr size_t kSwitchBytes = 20;  // 13 flags, then zeros

// The charge-circuit buttons: mode 0 the main circuit, 1 through the limit at `rate`.
struct CircuitButton {
    const char* name;
    const char* caption;
    uint8_t mode, rate;
    TRect bounds;
};

constexpr CircuitButton kControlTabCircuitButtons[] = {
    {"TeButton7", "关闭限流回路", 0, 1, {10, 60, 120, 88}},
    {"TeButton8", "0.1C限流", 1, 1, {130, 60, 230, 88}},
    {"TeButton9", "0.2C限流", 1, 2, {240, 60, 340, 88}},
    {"TeButton10", "0.5C限流", 1, 5, {350, 60, 450, 88}},
};

constexpr CircuitButton kMonitorCircuitButtons[] = {
    {"TeButton14", "Main Circuit Charge", 0, 1, {10, 18, 170, 46}},
    {"TeButton15", "10A Limint Charge", 1, 5, {180, 18, 340, 46}},
};

// The limit-current codes and the items that show them.
struct LimitCurrent {
    uint8_t code;
    const char* item;
};
constexpr LimitCurrent kLimitCurrents[] = {{7, "0.7"}, {16, "10"}};

bool AnyZero(const std::array<double, 4>& counts) {
    for (double count : counts)
        if (count == 0) return true;
    return false;
}

}  // namespace

// ---- sending ----

bool TMainForm::SendOwnFrame(const FrameBytes& frame, bool awaitReply) {
    if (frame.size() <= frame::kCommand || frame.size() > TxFrame.size()) return false;
    const uint8_t outstanding = LastCommand;
    if (awaitReply) LastCommand = frame[frame::kCommand];
    std::copy(frame.begin(), frame.end(), TxFrame.begin());
    if (WriteFrame(TxFrame.data(), static_cast<uint16_t>(frame.size()))) return true;
    LastCommand = outstanding;
    return false;
}

void TMainForm::SendControlCommand(uint8_t command) { SendCommand(ModuleAddress(), command); }

void TMainForm::B_CloseSpeakerClick(TObject*) {
    // The message does not wait for the module's answer.
    if (SendCommand(ModuleAddress(), CmdCloseSpeaker)) Application->MessageBox("成功关闭蜂鸣器!");
}

void TMainForm::LoadvaluesClick(TObject*) {
    for (size_t i = 0; i < DelayEdits.size(); ++i)
        if (DelayEdits[i]) DelayEdits[i]->SetText(kDelays[i].preset);
}

void TMainForm::B_SetdistimeClick(TObject*) {
    if (AutoQueryOn) {
        ShowInfo("请先关闭自动查询！", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    std::array<double, 4> counts{};
    for (size_t i = 0; i < counts.size(); ++i)
        counts[i] = StrToFloat(DelayEdits[i] ? DelayEdits[i]->Text() : String()) / 100;
    if (AnyZero(counts)) {
        Application->MessageBox("请对每项延时进行编辑后进行设置!");
        return;
    }
    for (size_t i = 0; i < counts.size(); ++i) {
        if (counts[i] < 0 || counts[i] > kDelays[i].maxCount) {
            Application->MessageBox(kDelays[i].rangeMessage);
            return;
        }
    }
    FrameBytes data;
    // A delay that is no whole multiple of 100 ms is no integer here and raises.
    for (double count : counts) AppendLe16(data, static_cast<uint16_t>(StrToInt(FloatToStr(count))));
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdSetDisTime, data), true);
}

void TMainForm::SetprotectClick(TObject*) {
    FrameBytes flags(kSwitchBytes, 0);
    for (size_t i = 0; i < ProtectSwitches.size(); ++i)
        flags[i] = ProtectSwitches[i] && ProtectSwitches[i]->Checked() ? 1 : 0;
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdSetProtect, flags), true);
}

void TMainForm::TeEffectButton2Click(TObject*) {
    if (AutoQueryOn) {
        ShowInfo("请先关闭自动查询！", kFailureColor);
        return;
    }
    if (!IsLoggedIn()) return;
    const uint8_t mode = TeRadioButton1 && TeRadioButton1->Checked() ? 0xFF : 0x00;
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdSetWorkMode, ByteSpan(&mode, 1)), true);
}

void TMainForm::TeButton6Click(TObject*) {
    if (!valueset) return;
    const int32_t value = StrToInt(valueset->Text());
    const uint8_t command = value == 5 ? CmdSetLimit5A : value == 10 ? CmdSetLimit10A : 0;
    if (command == 0) {
        ShowInfo("The limit value must be 5 or 10!", kFailureColor);
        return;
    }
    SendOwnFrame(BuildRequest(ModuleAddress(), command), false);
}

void TMainForm::TeButton12Click(TObject*) {
    if (TeComboBox2) {
        TeComboBox2->SetItemIndex(-1);
        TeComboBox2->SetText("");
    }
    SendControlCommand(CmdGetLimitCurrent);
}

void TMainForm::TeButton13Click(TObject*) {
    const String chosen = TeComboBox2 ? TeComboBox2->Text() : String();
    for (const LimitCurrent& limit : kLimitCurrents) {
        if (chosen == limit.item) {
            SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdSetLimitCurrent, ByteSpan(&limit.code, 1)),
                         false);
            return;
        }
    }
    ShowInfo("Please choose a limit current first!", kFailureColor);
}

void TMainForm::SetChargeCircuit(uint8_t mode, uint8_t rate) {
    const uint8_t data[] = {mode, rate};
    SendOwnFrame(tarvel::BuildFrame(ModuleAddress(), CmdSetChargeCircuit, data), false);
}

// ---- replies ----

void TMainForm::ShowDisTime() {
    const auto data = ReplyData(ByteSpan(RxFrame.data(), RxFrameLength), ReplyCode(CmdCheckDisTime), {13});
    if (!data) return;
    for (size_t i = 0; i < DelayEdits.size(); ++i)
        if (DelayEdits[i]) DelayEdits[i]->SetText(IntToStr(int64_t{ReadU16(*data, 2 * i)} * 100));
}

void TMainForm::ShowLimitCurrent() {
    const auto data = ReplyData(ByteSpan(RxFrame.data(), RxFrameLength), ReplyCode(CmdGetLimitCurrent), {6});
    if (!data || !TeComboBox2) return;
    for (const LimitCurrent& limit : kLimitCurrents) {
        if ((*data)[0] != limit.code) continue;
        TeComboBox2->SetItemIndex(TeComboBox2->Items()->IndexOf(limit.item));
        TeComboBox2->SetText(limit.item);
    }
}

// ---- controls ----

namespace {

void BuildMonitorGroups(TMainForm& f) {
    TWinControl* page = f.ScrolledPanels[kMonitorPanel];
    if (!page) return;

    auto* tubes = MakeHiddenGroup(f, page, "", Area(8, 410, 460, 96), "充放电及蜂鸣器控制");
    for (const PlainButton& b : kTubeButtons)
        BindButton(f, tubes, b.name, b.caption, b.bounds, [&f, c = b.command] { f.SendControlCommand(c); });
    BindButton(f, tubes, "B_CloseSpeaker", "关闭蜂鸣器", Area(310, 58, 140, 28),
               [&f] { f.B_CloseSpeakerClick(nullptr); });

    auto* delays = MakeHiddenGroup(f, page, "", Area(480, 432, 446, 160), "过流保护延时设置");
    for (size_t i = 0; i < std::size(kDelays); ++i) {
        const int top = 24 + static_cast<int>(i) * 30;
        MakeCaptionLabel(f, delays, kDelays[i].label, 10, top + 3, 150);
        f.DelayEdits[i] = MakeControl<TTeEdit>(&f, delays, kDelays[i].edit, 164, top, 90, 21);
        MakeCaptionLabel(f, delays, "【mS】", 258, top + 3, 50);
    }
    BindButton(f, delays, "B_Checkdistime", "查询时间", Area(330, 20, 100, 28),
               [&f] { f.SendControlCommand(CmdCheckDisTime); });
    BindButton(f, delays, "B_Setdistime", "设置时间", Area(330, 56, 100, 28),
               [&f] { f.B_SetdistimeClick(nullptr); });
    BindButton(f, delays, "Loadvalues", "导入默认值", Area(330, 92, 100, 28),
               [&f] { f.LoadvaluesClick(nullptr); });

    auto* chargeLimit = MakeHiddenGroup(f, page, "", Area(8, 312, 460, 60), "充电限流回路设置");
    for (const PlainButton& b : kChargeLimitButtons)
        BindButton(f, chargeLimit, b.name, b.caption, b.bounds,
                   [&f, c = b.command] { f.SendControlCommand(c); });

    auto* limitCurrent = MakeHiddenGroup(f, page, "", Area(8, 512, 460, 60), "Limit Current Setting");
    f.TeComboBox2 = MakeControl<TTeComboBox>(&f, limitCurrent, "TeComboBox2", 10, 26, 70, 22);
    for (const LimitCurrent& limit : kLimitCurrents) f.TeComboBox2->Items()->Add(limit.item);
    BindButton(f, limitCurrent, "TeButton12", "Get Limit Current", Area(100, 22, 150, 28),
               [&f] { f.TeButton12Click(nullptr); });
    BindButton(f, limitCurrent, "TeButton13", "Set Limit Current", Area(260, 22, 150, 28),
               [&f] { f.TeButton13Click(nullptr); });

    auto* circuit = MakeHiddenGroup(f, page, "", Area(480, 312, 446, 50), "Charge Circuit Setting");
    for (const CircuitButton& b : kMonitorCircuitButtons)
        BindButton(f, circuit, b.name, b.caption, b.bounds,
                   [&f, m = b.mode, r = b.rate] { f.SetChargeCircuit(m, r); });

    // The work mode's group is a page's; its two buttons are not.
    if (TTeGroupBox* mode = f.TeGroupBox25) {
        BindButton<TTeEffectButton>(f, mode, "TeEffectButton1", "查询", Area(320, 22, 50, 28),
                                    [&f] { f.SendControlCommand(CmdGetWorkMode); });
        BindButton<TTeEffectButton>(f, mode, "TeEffectButton2", "设置", Area(378, 22, 50, 28),
                                    [&f] { f.TeEffectButton2Click(nullptr); });
    }
    if (f.TeRadioButton1 && f.TeRadioButton1->Caption().empty()) f.TeRadioButton1->SetCaption(u"正常");
    if (f.TeRadioButton2 && f.TeRadioButton2->Caption().empty()) f.TeRadioButton2->SetCaption(u"老化");
}

// The remote-control tab: the switches get their captions and the set
// button; the limit group gets the value's confirm button and the whole row
// of charge-circuit buttons, the variant choosing between 0.1C and 0.5C.
void BuildControlTab(TMainForm& f) {
    TWinControl* switches = f.ProtectSwitches[0] ? f.ProtectSwitches[0]->Parent() : nullptr;
    if (switches) {
        switches->SetBounds(8, 8, 560, 214);
        for (size_t i = 0; i < f.ProtectSwitches.size(); ++i) {
            TTeCheckBox* box = f.ProtectSwitches[i];
            if (!box) continue;
            box->SetBounds(10 + static_cast<int>(i % 3) * 180, 24 + static_cast<int>(i / 3) * 28, 175, 20);
            box->SetCaption(Utf8ToWide(kSwitchCaptions[i]));
        }
        BindButton(f, switches, "Setprotect", "设置", Area(450, 176, 100, 28),
                   [&f] { f.SetprotectClick(nullptr); });
    }
    TWinControl* limits = f.valueset ? f.valueset->Parent() : nullptr;
    if (!limits) return;
    limits->SetBounds(8, 230, 560, 100);
    BindButton(f, limits, "TeButton6", "确认", Area(170, 24, 60, 28), [&f] { f.TeButton6Click(nullptr); });
    for (const CircuitButton& b : kControlTabCircuitButtons)
        BindButton(f, limits, b.name, b.caption, b.bounds,
                   [&f, m = b.mode, r = b.rate] { f.SetChargeCircuit(m, r); });
}

}  // namespace

void TMainForm::BindRemoteControlHandlers() {
    // Bound once; a second call changes nothing.
    if (FindComponent("Setprotect")) return;
    BuildMonitorGroups(*this);
    BuildControlTab(*this);
    BindClockHandlers();
    BindAutoCheckHandlers();
}

}  // namespace tarvel
