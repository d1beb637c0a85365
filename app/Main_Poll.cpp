// The 10 ms poll clock: the parallel poll of the selected modules, the reply
// time-out of the clock's own requests, and the polling record's file.
//
// The timer thread only posts ticks; PollTick runs on the GUI thread in the
// same queue as the received chunks, so a tick and the receive handler never
// interleave and nothing here needs a lock.

#include <algorithm>

#include "app/Main.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/LittleEndian.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/system/MultimediaTimer.h"
#include "platform/system/RecordFile.h"
#include "platform/winsys/GuiTasks.h"

namespace tarvel {
namespace {

constexpr uint32_t kTickMs = 10;
constexpr int32_t kTicksPerSecond = 100;
// A request is given up when its counter passes this: the 39th tick after
// the one that sent it.
constexpr int32_t kReplyTimeoutTicks = 40;

constexpr TColor kPolledColor = 0x00FFFF;
constexpr TColor kAnsweredColor = 0x00FF00;
constexpr TColor kSilentColor = 0xB0ACB9;

constexpr const char* kParaRecordFile = "ParaRecord.dat";
constexpr size_t kParaRecordSize = 264;
constexpr size_t kMultiPeriodOffset = 256;
constexpr size_t kSinglePeriodOffset = 260;

using ParaRecordBytes = std::array<uint8_t, kParaRecordSize>;

ParaRecordBytes EncodeParaRecord(const PollingRecord& record) {
    ParaRecordBytes bytes{};
    for (size_t i = 0; i < record.ModuleSelected.size(); ++i)
        StoreLe32(&bytes[i * 4], static_cast<uint32_t>(record.ModuleSelected[i]));
    StoreLe32(&bytes[kMultiPeriodOffset], static_cast<uint32_t>(record.MultiPeriodSec));
    StoreLe32(&bytes[kSinglePeriodOffset], static_cast<uint32_t>(record.SinglePeriodSec));
    return bytes;
}

// A missing record file is made empty so the next access finds it; the user
// is told, as the set-up it should hold is not there.
bool EnsureParaRecordFile(const char* missingMessage) {
    if (FileExists(kParaRecordFile)) return true;
    const uint8_t none = 0;
    WriteFileAt(kParaRecordFile, 0, &none, 0);
    Application->MessageBox(missingMessage);
    return false;
}

// The seconds counter a job starts from: the period the edit shows makes the
// job due at the next whole second. A text that is no whole number of
// seconds starts it from the saved period, which has the same effect.
int32_t PresetSeconds(const TTeEdit* edit, int32_t period) {
    const int32_t ceiling = std::max(period, 0);
    int32_t shown = 0;
    if (!edit || !TryStrToInt(edit->GetText(), shown)) return ceiling;
    return std::clamp(shown, 0, ceiling);
}

// The first slot selected with exactly 1, stepping round the ring from
// `index`; the slot itself comes last. -1 when none is.
int SelectedNeighbour(const PollingRecord& record, int index, int step) {
    const int from = (index % kModuleCount + kModuleCount) % kModuleCount;
    for (int i = 1; i <= kModuleCount; ++i) {
        const int slot = ((from + step * i) % kModuleCount + kModuleCount) % kModuleCount;
        if (record.ModuleSelected[static_cast<size_t>(slot)] == 1) return slot;
    }
    return -1;
}

bool IsChecked(const TTeCheckBox* box) { return box && box->Checked(); }

// One more second on a job's counter: true, with the counter back at 0, when
// that makes its period. A counter preset to the longest period a record
// holds must not run past the largest number.
bool SecondMakesPeriod(int32_t& seconds, int32_t period) {
    if (int64_t{seconds} + 1 >= period) {
        seconds = 0;
        return true;
    }
    ++seconds;
    return false;
}

void ColourGauge(TGauge* gauge, TColor fore, TColor back) {
    if (!gauge) return;
    gauge->SetForeColor(fore);
    gauge->SetBackColor(back);
}

}  // namespace

PollingRecord ParaRecordFromBytes(std::span<const uint8_t> bytes, const PollingRecord& base) {
    ParaRecordBytes record = EncodeParaRecord(base);
    std::copy_n(bytes.begin(), std::min(bytes.size(), record.size()), record.begin());
    PollingRecord decoded;
    for (size_t i = 0; i < decoded.ModuleSelected.size(); ++i)
        decoded.ModuleSelected[i] = static_cast<int32_t>(LoadLe32(&record[i * 4]));
    decoded.MultiPeriodSec = static_cast<int32_t>(LoadLe32(&record[kMultiPeriodOffset]));
    decoded.SinglePeriodSec = static_cast<int32_t>(LoadLe32(&record[kSinglePeriodOffset]));
    return decoded;
}

TMainForm::PollTimerGuard::~PollTimerGuard() {
    if (id != 0) TimeKillEvent(id);
}

void TMainForm::StartPollTimer() {
    PollTimerId = TimeSetEvent(
        kTickMs, [this] { PollTick(); }, GuiPoster());
    PollTimer.id = PollTimerId;
    if (PollTimerId == 0) Application->MessageBox("创建精确定时任务失败");
}

bool TMainForm::KillPollTimer() {
    if (PollTimerId == 0) return false;
    TimeKillEvent(PollTimerId);
    PollTimerId = 0;
    PollTimer.id = 0;
    return true;
}

void TMainForm::PollTick() {
    CountAwaitedReply();
    ++PollTicks;
    ++QueryTicks;
    if (PollStartPending) {
        PollStartPending = 0;
        PollSeconds = PresetSeconds(PS_Cyc, ParaRecord.MultiPeriodSec);
    }
    if (TsbsStartPending) {
        TsbsStartPending = 0;
        QuerySeconds = PresetSeconds(TSBS_Cyc, ParaRecord.SinglePeriodSec);
    }
    if (PollTicks >= kTicksPerSecond) {
        PollTicks = 0;
        if (SecondMakesPeriod(PollSeconds, ParaRecord.MultiPeriodSec) && IsChecked(PC_All_Query)) PollDue = 1;
    }
    if (QueryTicks >= kTicksPerSecond) {
        QueryTicks = 0;
        if (SecondMakesPeriod(QuerySeconds, ParaRecord.SinglePeriodSec) && IsChecked(TSBS_CycQuery))
            QueryDue = 1;
    }

    // Within one tick the parallel poll goes first, then the cyclic query,
    // then the one-shot query; each waits while a request is outstanding.
    if (PollDue && RequestBusy == 0) {
        PollDue = 0;
        RequestBusy = 1;
        // Only this request's flag: an answer to an earlier one-module query
        // must not be taken for this one's.
        PollInProgress = 1;
        TsbsQueryInProgress = 0;
        if (PollStep()) {
            ++PollRequestCount;
            ReplyTimeoutTicks = 1;
        } else {
            RequestBusy = 0;
            PollInProgress = 0;
        }
    }
    // The query of one module raises its flag and starts the time-out itself.
    if (QueryDue && RequestBusy == 0) {
        QueryDue = 0;
        if (StartTsbsQuery(true)) ++PollRequestCount;
    }
    if (TsbsOnceRequest && RequestBusy == 0) {
        TsbsOnceRequest = 0;
        StartTsbsQuery(false);
    }

    if (ReplyTimeoutTicks != 0 && ++ReplyTimeoutTicks > kReplyTimeoutTicks) {
        ++ReplyTimeoutCount;
        ReplyTimeoutTicks = 0;
        if (RequestBusy == 1) RequestBusy = 0;
        PollInProgress = 0;
        TsbsQueryInProgress = 0;
    }
}

bool TMainForm::PollStep() {
    if (NextSelectedModule(0) < 0) return false;
    // Only the set-up and this step move the ring; a slot from elsewhere
    // restarts it at the first selected module.
    if (NextPollModule < 0 || NextPollModule >= kModuleCount)
        NextPollModule = NextSelectedModule(kModuleCount - 1);
    const int slot = NextPollModule;
    SendPollQuery(slot);
    PollIndex = slot;
    PrevPollModule = PrevSelectedModule(slot);
    NextPollModule = NextSelectedModule(slot);

    if (PollCycleStarted == 0) {
        // The first step after polling starts has no answer to show yet.
        PollCycleStarted = 1;
    } else {
        SettleAskedTile(PrevPollModule);
    }
    // The gauges changed ask for their own repaint; the tick runs no pass of
    // the message loop, so received chunks wait until its work is done.
    return true;
}

void TMainForm::SettleAskedTile(int slot) {
    if (slot < 0 || slot >= kModuleCount) return;
    TGauge* body = RunStateGauges[slot];
    if (PolledModuleAnswered == 1) {
        const TColor stored = BatColorStore ? BatColorStore->BackColor() : TColor{0xFFFFFF};
        ColourGauge(body, kAnsweredColor, stored);
        if (PosGauges[slot]) PosGauges[slot]->SetBackColor(stored);
        PolledModuleAnswered = 0;
        return;
    }
    ColourGauge(body, kSilentColor, kSilentColor);
    if (body) {
        body->SetProgress(0);
        // No reading, so no percentage: "0%" would read as an empty battery.
        body->SetShowText(false);
    }
    if (PosGauges[slot]) PosGauges[slot]->SetBackColor(kSilentColor);
}

void TMainForm::SendPollQuery(int moduleIndex) {
    if (moduleIndex < 0 || moduleIndex >= kModuleCount) return;
    ColourGauge(RunStateGauges[moduleIndex], kPolledColor, kPolledColor);
    // The module numbers run 1..64, so slot 63 is module 64: one past the
    // box's last item "63".
    const uint8_t address = static_cast<uint8_t>(moduleIndex + 1);
    SetModuleIndex(address);
    LastCommand = CmdQuerySbs;
    const FrameBytes request = BuildRequest(address, CmdQuerySbs);
    std::copy(request.begin(), request.end(), TxFrame.begin());
    Comm1->WriteCommData(TxFrame.data(), static_cast<uint16_t>(request.size()));
}

int TMainForm::PrevSelectedModule(int index) { return SelectedNeighbour(ParaRecord, index, -1); }

int TMainForm::NextSelectedModule(int index) { return SelectedNeighbour(ParaRecord, index, +1); }

bool TMainForm::ReadParaRecord() {
    if (!EnsureParaRecordFile("No paraRecord.dat for read！")) return false;
    // A short file fills only the front of the record; the rest stays.
    ParaRecordBytes bytes{};
    const int64_t read = ReadFileAt(kParaRecordFile, 0, bytes.data(), bytes.size());
    if (read < 0) {
        // Something that is no file (a pipe, a device) stands in its place.
        Application->MessageBox(String(kParaRecordFile) + " cannot be read!");
        return false;
    }
    ParaRecord = ParaRecordFromBytes(std::span(bytes).first(static_cast<size_t>(read)), ParaRecord);
    return true;
}

bool TMainForm::WriteParaRecord() {
    EnsureParaRecordFile("No paraRecord.dat for write!");
    const ParaRecordBytes bytes = EncodeParaRecord(ParaRecord);
    if (WriteFileAt(kParaRecordFile, 0, bytes.data(), bytes.size())) return true;
    Application->MessageBox(String(kParaRecordFile) + " cannot be written!");
    return false;
}

}  // namespace tarvel
