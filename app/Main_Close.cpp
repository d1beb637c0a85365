// Closing the main window: the poll clock and the port stop, the on-screen
// logs go to the day's files in "Info", and the serial-number list goes to
// "ParaSeting.ini".

#include "app/Main.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/system/ProfileFiles.h"

namespace tarvel {
namespace {

constexpr int kSerialNumRows = 32;

}  // namespace

void TMainForm::FormCloseQuery(TObject*, bool& canClose) {
    if (!KillPollTimer()) Application->MessageBox("delete timer fail");
    canClose = true;
}

void TMainForm::FormClose(TObject*, TCloseAction&) {
    // The reader thread ends here, so no chunk is handled while the logs go.
    Comm1->StopComm();
    if (AdcStream.IsOpen()) AdcStream.Close();
    // Before the logs go: a reading the database could not take is told there.
    DrainReadingStore();

    // A log that cannot be written keeps its text and the info line says so.
    SaveLogAndClear(RE_Info, "信息.txt");
    ShowInfoAndExtLog(UIntToStr(PollRequestCount), kLogSuccessColor);
    ShowInfoAndExtLog(UIntToStr(ReplyTimeoutCount), kLogSuccessColor);
    SaveLogAndClear(RE_ExtInfo, "外部信息.txt");
    SaveLogAndClear(RE_CommData, "通信数据.txt");

    // Every key is written, empty cells as empty values, so the list reads
    // back whole at the next start.
    const std::string ini = AppPath("ParaSeting.ini");
    bool stored = true;
    for (int n = 1; n <= kModuleCount && stored; ++n) {
        const String cell =
            SG_SerialNum ? SG_SerialNum->Cells((n - 1) / kSerialNumRows, (n - 1) % kSerialNumRows) : String();
        stored = WritePrivateProfileString("SequenceNum", "Num" + IntToStr(n), cell, ini);
    }
    if (stored)
        stored = WritePrivateProfileString("SequenceNum", "TotalNum", IntToStr(LastSerialIndex + 1), ini);
    if (!stored) ShowInfo("Cannot write " + ini + "!", kFailureColor);
}

void TMainForm::TB_ExitClick(TObject*) { Close(); }

}  // namespace tarvel
