// The link to the module: requests leave through TxFrame and Comm1, received
// chunks go through the scanner, and each frame found is checked, reported
// on the result line and handed to the action of its reply code.

#include <algorithm>

#include "app/Main.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "link/ReplyValidator.h"
#include "platform/classlib/Application.h"
#include "platform/serial/SerialPort.h"

namespace tarvel {
namespace {

constexpr uint8_t kDeviceText = 0x94;
// What LastCommand holds while the device text is acted on.
constexpr uint8_t kDeviceTextCommand = 20;
constexpr int kChunkCountWrap = 200;

void SetButton(TTeSpeedButton* button, const char* caption, int imageIndex) {
    if (!button) return;
    button->SetText(caption);
    button->SetImageIndex(imageIndex);
}

// Whether a reply is the answer to the request still outstanding. The
// query by serial number goes out as 0x03 and is answered with 0x92.
bool Answers(uint8_t replyCode, uint8_t outstanding) {
    if (outstanding == 0) return false;
    return replyCode == ReplyCode(outstanding) || (outstanding == CmdQuerySbs && replyCode == 0x92);
}

template <class T>
T* Named(TComponent* owner, const char* name) {
    return dynamic_cast<T*>(owner->FindComponent(name));
}

// ---- actions on accepted replies ----

using ReplyAction = void (*)(TMainForm& form);

void LoggedInAction(TMainForm& form) {
    form.LoggedIn = 1;
    SetButton(form.TB_LOG, "Logout", 6);
}

void LoggedOutAction(TMainForm& form) {
    form.LoggedIn = 0;
    SetButton(form.TB_LOG, "Login", 7);
}

// The work-mode group: 0xFF in the first data byte is the normal program.
void WorkModeAction(TMainForm& form) {
    if (form.RxFrameLength <= frame::kReplyData) return;
    const bool normal = form.RxFrame[frame::kReplyData] == 0xFF;
    if (auto* normalButton = Named<TTeRadioButton>(&form, "TeRadioButton1")) normalButton->SetChecked(normal);
    if (auto* agingButton = Named<TTeRadioButton>(&form, "TeRadioButton2")) agingButton->SetChecked(!normal);
    if (auto* modeEdit = Named<TTeSEdit>(&form, "TeSEdit2"))
        modeEdit->SetText(normal ? "正常程序" : "老化程序");
}

struct DispatchRow {
    uint8_t code;
    ReplyAction single;    // in single-module mode
    ReplyAction parallel;  // in parallel mode
};

template <void (TMainForm::*Handler)()>
void Call(TMainForm& form) {
    (form.*Handler)();
}

template <const char* Text>
void Box(TMainForm&) {
    Application->MessageBox(Text);
}

constexpr char kChargeLimitOn[] = "限流回路开启!";
constexpr char kChargeLimitOff[] = "限流回路关闭!";
constexpr char kAutoQueryOff[] = "关闭自动查询TSBS参数功能!";
constexpr char kAutoQueryOn[] = "开启自动查询TSBS参数功能!";
constexpr char kSwitchesOff[] = "设置保护功能关闭成功!";
constexpr char kSetSuccess[] = "Set Success!";

void RunHistoryAction(TMainForm& form) {
    form.DoneRunHistory = 1;
    form.ShowRunHistory();
}

void SerialNumberAction(TMainForm& form) {
    form.DoneSerialNum = 1;
    form.ShowSerialNumber();
}

// A code without a row does nothing. In parallel mode only the telemetry and
// the protection parameters are acted on.
constexpr DispatchRow kDispatch[] = {
    {0x81, LoggedInAction, nullptr},
    {0x82, LoggedOutAction, nullptr},
    {0x83, Call<&TMainForm::ShowTelemetry>, Call<&TMainForm::ShowParallelTelemetry>},
    {0x84, Call<&TMainForm::ShowAdc>, nullptr},
    {0x85, Call<&TMainForm::ShowIoState>, nullptr},
    {0x86, Call<&TMainForm::ShowSoftwareVersion>, nullptr},
    {0x87, Call<&TMainForm::ShowKb>, nullptr},
    {0x8E, RunHistoryAction, nullptr},
    {0x90, SerialNumberAction, nullptr},
    {0x92, Call<&TMainForm::ShowParallelTelemetry>, nullptr},
    {0x94, Call<&TMainForm::ShowDeviceText>, nullptr},
    {0x95, Call<&TMainForm::ShowBmsParameters>, Call<&TMainForm::ShowBmsParameters>},
    {0x97, WorkModeAction, nullptr},
    {0x99, Call<&TMainForm::ShowHisAlarmRecords>, nullptr},
    {0xA1, Call<&TMainForm::ShowAutoTsbsRecords>, nullptr},
    {0xA5, Call<&TMainForm::ShowDisTime>, nullptr},
    {0xA7, Box<kChargeLimitOn>, nullptr},
    {0xA8, Box<kChargeLimitOff>, nullptr},
    {0xA9, Call<&TMainForm::ShowSysDate>, nullptr},
    {0xAA, Call<&TMainForm::ShowFunctionState>, nullptr},
    {0xAB, Box<kAutoQueryOff>, nullptr},
    {0xAC, Box<kAutoQueryOn>, nullptr},
    {0xAD, Call<&TMainForm::ShowHisAlarmRecords>, nullptr},
    {0xAE, Call<&TMainForm::ShowDailyRecords>, nullptr},
    {0xAF, Box<kSwitchesOff>, nullptr},
    {0xB3, Call<&TMainForm::ShowCap>, nullptr},
    {0xB5, Box<kSetSuccess>, nullptr},
    {0xB9, Box<kSetSuccess>, nullptr},
    {0xBA, Call<&TMainForm::ShowLimitCurrent>, nullptr},
};

ReplyAction ActionFor(uint8_t code, bool parallel) {
    for (const DispatchRow& row : kDispatch)
        if (row.code == code) return parallel ? row.parallel : row.single;
    return nullptr;
}

}  // namespace

// ---- sending ----

int TMainForm::ModuleIndex() const { return CB_ModuleAddr ? ModuleAddrIndex : -1; }

void TMainForm::SetModuleIndex(int index) {
    ModuleAddrIndex = index;
    if (CB_ModuleAddr && index >= 0 && index < CB_ModuleAddr->Items()->Count())
        CB_ModuleAddr->SetItemIndex(index);
}

uint8_t TMainForm::ModuleAddress() const { return RequestAddress(ModuleIndex()); }

bool TMainForm::IsLoggedIn() {
    if (LoggedIn != 0) return true;
    // A login cannot help a port that is gone: the loss stays the news.
    ShowInfo(PortLost ? "Serial port lost!" : "Please login frist!", kFailureColor);
    return false;
}

bool TMainForm::WriteFrame(const uint8_t* bytes, uint16_t count) {
    if (count == 0) return false;
    if (PortOpen == 0 || !Comm1->WriteCommData(bytes, count)) {
        ShowInfo("Please open port frist!", kFailureColor);
        return false;
    }
    AwaitedCommand = LastCommand;
    AwaitedTicks = 0;
    return true;
}

void TMainForm::CountAwaitedReply() {
    constexpr int32_t kNoAnswerTicks = 100;  // 10 ms each
    if (AwaitedCommand == 0 || ++AwaitedTicks < kNoAnswerTicks) return;
    const uint8_t command = AwaitedCommand;
    const CommandRow* row = FindCommand(command);
    AwaitedCommand = 0;
    const String name =
        row && row->englishName ? String(row->englishName) : "Request " + HexText(&command, 1);
    const String text = name + "...  No answer!";
    ShowInfo(text, kFailureColor);
    AddInfoLogLine(text, kFailureColor);
}

bool TMainForm::SendCommand(uint8_t address, uint8_t command) {
    if (!IsLoggedIn()) return false;
    const uint8_t outstanding = LastCommand;
    LastCommand = command;
    const FrameBytes request = BuildRequest(address, command);
    std::copy(request.begin(), request.end(), TxFrame.begin());
    RxLength = 0;
    if (WriteFrame(TxFrame.data(), static_cast<uint16_t>(request.size()))) return true;
    // Nothing went out, so nothing new is awaited.
    LastCommand = outstanding;
    return false;
}

void TMainForm::TB_LOGClick(TObject*) {
    if (PortOpen == 0) {
        ShowInfo("Serial port is not open...", kFailureColor);
        return;
    }
    // The caption and LoggedIn change only when the module answers.
    const uint8_t command = LoggedIn ? CmdLogout : CmdLogin;
    LastCommand = command;
    const FrameBytes request = BuildRequest(ModuleAddress(), command);
    std::copy(request.begin(), request.end(), TxFrame.begin());
    WriteFrame(TxFrame.data(), static_cast<uint16_t>(request.size()));
}

// ---- reception ----

void TMainForm::Comm1ReceiveData(const uint8_t* buffer, uint16_t count, uint32_t arrivedMs) {
    RxBuffer.fill(0);
    const size_t copied = std::min<size_t>(count, RxBuffer.size());
    std::copy_n(buffer, copied, RxBuffer.begin());
    RxLength = count;
    RxChunkCount = (RxChunkCount + 1) % kChunkCountWrap;
    // Whatever came, the poll timer stops waiting. The window's own wait
    // ends only with a reply to its request: noise or a reply cut short is
    // no answer.
    RequestBusy = 0;
    // The poll clock's own request waits for its answer, not for any byte.
    if (PollInProgress == 0 && TsbsQueryInProgress == 0) ReplyTimeoutTicks = 0;
    if (copied != 0 && Scanner) Scanner->ScanFrames(ByteSpan(buffer, count), arrivedMs);
}

void TMainForm::HandleFrame(ByteSpan frame) {
    RxFrame.fill(0);
    RxFrameLength = static_cast<uint16_t>(std::min(frame.size(), RxFrame.size()));
    std::copy_n(frame.begin(), RxFrameLength, RxFrame.begin());
    const ByteSpan held(RxFrame.data(), RxFrameLength);

    ReplyContext context;
    context.moduleAddress = ModuleIndex();
    context.loggedIn = LoggedIn != 0;
    ReplyLayouts layouts{KbLayout, HistoryLayout};
    const uint8_t verdict = ValidateReply(held, context, layouts);
    KbLayout = layouts.kbLayout;
    HistoryLayout = layouts.historyLayout;

    const uint8_t code = held[frame::kCommand];
    if (code != kDeviceText) {
        ShowReplyResult(held, verdict);
        // The request has its result line, refused or not: one line each.
        if (Answers(code, AwaitedCommand)) AwaitedCommand = 0;
    }
    if (verdict == ReplyOk) DispatchReply();
}

void TMainForm::DispatchReply() {
    const uint8_t code = RxFrame[frame::kCommand];
    const uint8_t outstanding = LastCommand;
    const bool answer = code != kDeviceText && Answers(code, outstanding);
    const uint8_t acting = code == kDeviceText ? kDeviceTextCommand : code;
    LastCommand = acting;
    if (answer) RequestBusy = 0;

    if (ReplyAction action = ActionFor(ReplyCode(code), MultiModuleMode != 0)) action(*this);

    // A handler that sent a request of its own has set LastCommand to it.
    // Otherwise only the answer ends the wait: a late or repeated reply of
    // something else leaves the outstanding request outstanding.
    if (LastCommand == acting) LastCommand = answer ? 0 : outstanding;
}

void TMainForm::StopAutomaticSenders() {
    // Unticking runs each job's own stop, which gives its controls back.
    for (TTeCheckBox* box :
         {CB_AutoQuery, TSBS_CycQuery, PC_All_Query, CB_AutoReadADC, Auto_Query, CB_SerailQuery})
        if (box && box->Checked()) box->SetChecked(false);
    if (Timer7) Timer7->SetEnabled(false);  // the schedule's window check may have started it unticked
    PollStartPending = TsbsStartPending = TsbsOnceRequest = 0;
    PollDue = QueryDue = 0;
    PollInProgress = TsbsQueryInProgress = 0;
    RequestBusy = ReplyTimeoutTicks = 0;
    // Nothing answers on a lost line: no "No answer!" after the loss.
    AwaitedCommand = 0;
}

// A download the line took away brings no more records: its page is free
// again now, and its silence watch must not put its own failure over the loss.
void TMainForm::EndRecordDownloads() {
    if (HisAlarmSilence && HisAlarmSilence->Enabled()) {
        HisAlarmSilence->SetEnabled(false);
        EnableHisAlarmButtons(true);
    }
    if (DailyWatch && DailyWatch->Enabled()) {
        DailyWatch->SetEnabled(false);
        EnableDailyButtons(true);
    }
}

void TMainForm::Comm1RequestHangup() {
    // The jobs stop while the port still counts as open, so their stops run
    // as a user's untick does.
    StopAutomaticSenders();
    EndRecordDownloads();
    const String port = ResolvePortName(Comm1->CommName());
    ClosePort();
    PortLost = 1;
    ShowInfo("Serial port lost!", kFailureColor);
    AddInfoLogLine("Serial port lost! (" + port + ")", kFailureColor);
}

}  // namespace tarvel
