#pragma once
// The main window. It owns the device state of the whole tool: the link to
// the module (send, receive, dispatch), the 10 ms poll clock, the polling
// record, the modes and views, and every control of its tab sheets. The
// feature files (Main_*.cpp) each implement one group of its methods; the
// controls are public so the other windows and the tests reach them by name
// or directly, as the features reach one another's.

#include <array>
#include <atomic>
#include <cstdint>
#include <fstream>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <vector>

#include "adjust/ProtectionParameters.h"
#include "link/ReplyScanner.h"
#include "link/SerialComm.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Chart.h"
#include "platform/classlib/ComCtrls_DateTime.h"
#include "platform/classlib/ComCtrls_RichEdit.h"
#include "platform/classlib/DBGrids.h"
#include "platform/classlib/Dialogs.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Gauges.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Check.h"
#include "platform/classlib/Timers.h"
#include "records/ReadingStore.h"
#include "records/RecordBatch.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_controls_scrollbar.h"
#include "skin/core/te_engine.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "skin/extras/te_extra_effect_button.h"
#include "skin/extras/te_extra_effect_group.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_popupmenu.h"
#include "telemetry/TelemetryRecord.h"  // ModuleReading

namespace tarvel {

constexpr int kModuleCount = 64;

// The polling set-up, mirrored byte for byte in "ParaRecord.dat" (264 bytes,
// little-endian).
struct PollingRecord {
    std::array<int32_t, kModuleCount> ModuleSelected{};
    int32_t MultiPeriodSec = 0;
    int32_t SinglePeriodSec = 0;
};

// The bytes of "ParaRecord.dat" (the 64 flags, then the two periods, each
// 32 bits little-endian) over `base`: a short file sets only the front of
// the record, and bytes past its end are ignored.
PollingRecord ParaRecordFromBytes(std::span<const uint8_t> bytes, const PollingRecord& base);

class TMainForm : public TForm {
    TARVEL_CLASS(TMainForm, TForm)

public:
    explicit TMainForm(TComponent* owner);
    ~TMainForm() override;

    // ---- start-up (Main.cpp, Main_Frame.cpp) ----
    void FormCreate(TObject* sender);
    void SetupViewAndFolders();
    // Temporary files of saves cut off by a crash or a kill, in the tool's folders.
    void RemoveCutOffSaves();
    // The settings and skin files that are there but cannot be read, on the
    // info line and in the log.
    void ReportUnusableStartFiles();
    void LoadSerialNumberList();
    void LoadModuleSelection();
    // The check boxes and the period edits of the polling set-up from ParaRecord.
    void ShowModuleSelection();
    void LoadCurrentCalibrationTable();
    void LoadAutoCheckValues();
    void StartPollTimer();

    // ---- building the window (Main_Frame.cpp, Main_Pages.cpp, Main_Link.cpp, Main_Telemetry.cpp) ----
    void BuildFrame();         // theme link, skinned frame, menu bar, tool bar, status bar, info line, pages
    void BuildPages();         // the tab sheets' contents not built by the feature files below
    void BuildInfoPage();      // TS_Info: the two logs and their popup menus
    void BuildTsbsPage();      // TS_TSBS: telemetry grid, lamps, gauge, query buttons
    void MapModuleControls();  // the module check boxes and protection switches
    void MapRemainingControls();  // panels, tile gauges, edits, labels
    void SetupGridsAndText();     // grid sizes, units, English titles and captions

    // ---- views and switches (Main_Views.cpp) ----
    // The six view operations; a view sets only what differs from the one it follows.
    void ShowUserView();                       // the start view: user edition, single module
    void ShowEngineeringView();                // the password switch to the engineering view
    void ShowSingleUserView();                 // back to the user view in single-module mode
    void ShowParallelUserView();               // back to the user view in parallel mode
    void ShowParallelParameterView();          // entering parallel mode
    void ShowSingleView();                     // leaving parallel mode
    void EditionSwitchClick(TObject* sender);  // M_ConvertEdition
    void ModeSwitchClick(TObject* sender);     // TB_SingleConvert
    void VariantClick(TObject* sender);        // CustomItem2 "3U", CustomItem3 "BMS"
    void SG_CKB1Click(TObject* sender);
    // ProductVariant from byte 0 of "Version.dat" in the current folder.
    void ReadVersionFile();
    // ProductVariant to byte 0 of "Version.dat"; false, after a box naming the file, when it failed.
    bool WriteVersionFile();

    // ---- sending, login, reception and dispatch (Main_Link.cpp) ----
    // Sends the plain 8-byte request `command` to `address` behind the login
    // check; false when it was refused.
    bool SendCommand(uint8_t address, uint8_t command);
    bool IsLoggedIn();
    bool WriteFrame(const uint8_t* bytes, uint16_t count);
    void TB_LOGClick(TObject* sender);
    void Comm1ReceiveData(const uint8_t* buffer, uint16_t count, uint32_t arrivedMs);
    // The line hung up: every automatic sender stops and unticks its box,
    // the port closes, and the loss stays on the info line and in the log.
    void Comm1RequestHangup();
    void StopAutomaticSenders();
    void EndRecordDownloads();
    void DispatchReply();
    // The item index CB_ModuleAddr reports (-1 without the box) and the
    // address byte a request to it carries. The poll and automatic
    // addressing set it to 1..64: 64 is one past the box's items "0".."63",
    // so the box keeps its text while the index says 64.
    int ModuleIndex() const;
    void SetModuleIndex(int index);
    int32_t ModuleAddrIndex = 0;
    // A request sent from the window that nothing has answered yet: after a
    // second of silence the info line says so, once. The poll's own requests
    // are counted as time-outs instead.
    void CountAwaitedReply();
    uint8_t AwaitedCommand = 0;
    int32_t AwaitedTicks = 0;
    uint8_t ModuleAddress() const;
    // The scanner's frame handler: check, report and dispatch one frame.
    void HandleFrame(ByteSpan frame);
    uint16_t RxFrameLength = 0;  // the bytes of RxFrame that hold its frame

    // ---- result line, info line and logs (Main_Link.cpp) ----
    void ShowInfo(const String& text, TColor color);
    void ShowReplyResult(ByteSpan frame, uint8_t verdict);
    void ShowInfoAndExtLog(const String& text, TColor color);
    // A dated line in RE_Info in `color`; past 20 lines the log goes to its file.
    void AddInfoLogLine(const String& text, TColor color);
    // Past 20 lines RE_Info goes to its file and starts again.
    void SpillInfoLog();
    // Appends the memo's text to "Info/<yyyy-mm-dd><ending>" and clears it.
    // A write that fails keeps the text, says so on the info line and gives false.
    bool SaveLogAndClear(TRichEdit* memo, const String& ending);
    void PM_SaveInfoClick(TObject* sender);
    void PM_SaveExtInfoClick(TObject* sender);
    void PM_SaveCommDataClick(TObject* sender);

    // ---- port settings (Main_Port.cpp) ----
    void LoadPortSettings();
    void TB_COMSwitchClick(TObject* sender);
    void M_SetCOMClick(TObject* sender);
    // Opens the port with the settings now held; false (with its message) when it refused.
    bool OpenPort();
    void ClosePort();

    // ---- poll clock (Main_Poll.cpp) ----
    void PollTick();
    bool PollStep();  // true when it sent a request
    void SendPollQuery(int moduleIndex);
    // The tile of the module asked last leaves its "asked" colour: answered
    // (the state colour kept for it) or silent.
    void SettleAskedTile(int slot);
    int PrevSelectedModule(int index);
    int NextSelectedModule(int index);
    // The whole record from or to "ParaRecord.dat" in the current folder;
    // false when the file was missing or could not be read or written.
    bool ReadParaRecord();
    bool WriteParaRecord();
    // Stops the timer and drops its queued ticks; false when none ran.
    bool KillPollTimer();
    // What the tick carries from one tick to the next.
    int32_t PollTicks = 0, QueryTicks = 0, PollSeconds = 0, QuerySeconds = 0;
    int32_t PollDue = 0, QueryDue = 0;
    // Kills the timer should the window go without a close request, so no
    // tick ever reaches a window that is gone.
    struct PollTimerGuard {
        uint32_t id = 0;
        ~PollTimerGuard();
    } PollTimer;

    // ---- closing (Main_Close.cpp) ----
    void FormCloseQuery(TObject* sender, bool& canClose);
    void FormClose(TObject* sender, TCloseAction& action);
    void TB_ExitClick(TObject* sender);

    // ---- telemetry display and reading store (Main_Telemetry.cpp) ----
    void ShowTelemetry();
    void ShowStatusWords();
    void StoreReading();
    void InitDatabaseCombos();
    void B_QueryClick(TObject* sender);
    // The record of the telemetry reply in RxFrame; none when the frame is
    // not a whole telemetry reply.
    std::optional<TelemetryRecord> RxTelemetry() const;
    // The lamps, the status cells of SG_TSBS and the battery picture.
    void ShowStatusWords(const TelemetryRecord& record);
    // The CSV line, then the database row; failures go to the info line and,
    // once per error, to the information log.
    void StoreReadingTexts(ReadingTable table, const String& timeText, const String& serialNo,
                           const TelemetryTexts& values);
    void MakeReadingStore();
    void ShowStoreReport(const StoreReport& report);
    // Waits, visibly, until every queued database row is written or given
    // up, and shows what became of them (closing).
    void DrainReadingStore();

    // ---- panel scrolling and the about item (Main_Frame.cpp) ----
    void TeScrollBar1Change(TObject* sender);
    void TeScrollBar2Change(TObject* sender);
    void M_HelpClick(TObject* sender);

    // ---- reply handlers of the single-module features; the dispatcher calls them ----
    // device information, ADC, automatic query (Main_DeviceInfo.cpp, Main_Adc.cpp, Main_AutoQuery.cpp)
    void ShowSoftwareVersion();
    void ShowSerialNumber();
    void ShowDeviceText();
    void ShowIoState();
    void ShowAdc();
    void AppendAutoQueryColumn();
    // protection parameters and their files (Main_Params.cpp)
    void ShowBmsParameters();
    void TB_LoadClick(TObject* sender);
    void TB_SaveClick(TObject* sender);
    // calibration, capacity, life and run history (Main_Calibration.cpp, Main_Capacity.cpp)
    void ShowSampledVoltages();
    void ShowSampledCurrent();
    void ShowKb();
    void ShowCap();
    void ShowRunHistory();
    // remote control, device clock, automatic check (Main_Control.cpp, Main_Clock.cpp, Main_AutoCheck.cpp)
    void ShowDisTime();
    void ShowLimitCurrent();
    void ShowSysDate();

    // ---- polling set-up, poll store and module tiles (Main_Parallel.cpp) ----
    void BindParallelHandlers();  // makes the never-shown set-up controls; again changes nothing
    void ShowParallelTelemetry();
    void StorePolledModule();
    void TeButton1Click(TObject* sender);  // "Confirm"
    void PC_All_QueryClick(TObject* sender);
    void TSBS_CycKeyPress(TObject* sender, char16_t& key);
    void Bat_Cell_AllClick(TObject* sender);
    void Bat_Cell_CancelClick(TObject* sender);
    void PS_DefPraClick(TObject* sender);
    void PS_NewPraClick(TObject* sender);
    void PS_SavePraClick(TObject* sender);
    void Bat_Label1Click(TObject* sender);  // every tile's click label; the tag is the slot
    TTeCheckBox* Bat_Cell_Cancel = nullptr;
    TTeRadioButton* PS_DefPra = nullptr;
    TTeRadioButton* PS_NewPra = nullptr;
    TTeGroupBox* SetSolveBox = nullptr;

    // ---- reply handlers of the records (Main_HisAlarm.cpp, Main_AutoTsbs.cpp, Main_Daily.cpp) ----
    void ShowHisAlarmRecords();
    void ShowAutoTsbsRecords();
    void ShowFunctionState();
    void ShowDailyRecords();

    // ---- protection parameters, their files and the presets (Main_Params.cpp, Main_KbFiles.cpp) ----
    // Binds the parameter tab, the tool bar's Load Data and Save Data, and
    // makes the controls the pages lack: the grid's popup menu, the file
    // dialogs and the hidden preset group.
    void BindParamsHandlers();
    void B_ReadBMSClick(TObject* sender);
    void B_WriteBMSClick(TObject* sender);
    void SG_TBMSClick(TObject* sender);
    void SG_TBMSDrawCell(TObject* sender, int col, int row, TRect rect, TGridDrawState state);
    void PM_LoadBMSClick(TObject* sender);
    void PM_ClearBMSClick(TObject* sender);
    void Function_SelectClick(TObject* sender);
    void TeButton2Click(TObject* sender);
    // The 48 value cells of SG_TBMS, P1..P48.
    ProtectionTexts BmsCells() const;
    // Into SG_TBMS and, when asked, the threshold grids that mirror them.
    void SetBmsCells(const ProtectionTexts& values, bool mirrors);
    // Request 0x09 from SG_TBMS to the module; false when a cell refused it
    // (nothing is sent then) or the port took nothing.
    bool SendBmsWrite();

    // ---- calibration, rated capacity, life and run history (Main_Calibration.cpp, Main_KbFiles.cpp,
    //      Main_Capacity.cpp) ----
    // Bind the calibration tab and the monitor tab's capacity, life and
    // run-history groups, and make the controls the pages lack: the
    // temperature-K edit, the grids' popup menus, the run-history request.
    void BindCalibrationHandlers();
    void BindCapacityHandlers();
    void B_SampleVClick(TObject* sender);
    void B_SampleCClick(TObject* sender);
    // Raises `flag` and queries the telemetry the flag's sample display takes.
    void AwaitSample(uint8_t& flag);
    void B_CalcVKClick(TObject* sender);
    void B_CalcCKBClick(TObject* sender);
    void B_ReadKBClick(TObject* sender);
    void B_WriteKBClick(TObject* sender);
    void SG_VKBClick(TObject* sender);
    void SG_CKBClick(TObject* sender);
    void SG_VKBKeyPress(TObject* sender, char16_t& key);
    void E_TempKKeyPress(TObject* sender, char16_t& key);
    void PM_LoadVKClick(TObject* sender);
    void PM_CopyVKClick(TObject* sender);
    void PM_LoadCKBClick(TObject* sender);
    void PM_CopyCKBClick(TObject* sender);
    // The current grid KbLayout uses: SG_CKB (full) or SG_CKB1 (short).
    TStringGrid* CurrentKbGrid() const;
    // The ".kb" steps of Load Data and Save Data; false when nothing was
    // loaded or saved (the info line says why).
    bool LoadKbFile(const String& path);
    bool SaveKbFile(const String& path);
    void GetcapClick(TObject* sender);
    void SetcapClick(TObject* sender);
    void B_SetLifeClick(TObject* sender);
    void SG_LifeClick(TObject* sender);
    void B_GetHistoryClick(TObject* sender);
    void B_SetHistoryClick(TObject* sender);
    void SG_HistoryClick(TObject* sender);
    // The life or run-history write of column 1 of `grid`, named `name`.
    void WriteValueColumn(TStringGrid& grid, const char* name, uint8_t command,
                          RequestBuild (*build)(uint8_t address, const std::array<std::string, 4>& cells));
    // A write request of this tab's own: a refusal goes to the info line
    // and nothing is sent; false when nothing went out.
    bool SendOwnRequest(uint8_t command, const RequestBuild& request);

    // ---- device information, ADC readout and log, automatic query
    //      (Main_DeviceInfo.cpp, Main_Adc.cpp, Main_AutoQuery.cpp) ----
    // Binds the three features' buttons, check boxes, timers and key filters,
    // and makes the controls the pages lack. Running it again changes nothing.
    void BindMonitoringHandlers();
    void BindDeviceInfoHandlers();
    void BindAdcHandlers();
    void BindAutoQueryHandlers();
    void B_GetVerClick(TObject* sender);
    void B_ReadSerialNumClick(TObject* sender);
    void B_ReadIOClick(TObject* sender);
    void B_QueryExtClick(TObject* sender);
    void B_ReadADCClick(TObject* sender);
    void CB_AutoReadADCClick(TObject* sender);
    void Timer2Timer(TObject* sender);
    void OpenAdcLog();
    void CB_AutoQueryClick(TObject* sender);
    void Timer1Timer(TObject* sender);
    void E_AutoQueryIntervalKeyPress(TObject* sender, char16_t& key);
    // The period an interval edit holds, in ms: its whole seconds, 10 s when
    // it holds no integer. None, with the refusal on the info line, below
    // 1 s or beyond what a timer can count.
    std::optional<uint32_t> PeriodFromEdit(TTeEdit* edit);
    // Disables, or enables again, what the automatic query or the periodic
    // ADC reading locks while it runs. The controls are found by name when
    // used: other features make some of them in their own bind steps.
    enum class PeriodicJob { AutoQuery, Adc };
    void LockForPeriodicJob(PeriodicJob job, bool locked);

    // ---- remote control, device clock, automatic check (Main_Control.cpp, Main_Clock.cpp,
    //      Main_AutoCheck.cpp) ----
    // Makes the controls of the three features the pages lack and binds their buttons.
    void BindRemoteControlHandlers();
    void BindClockHandlers();
    void BindAutoCheckHandlers();
    // remote control
    void SendControlCommand(uint8_t command);  // the plain request, behind the login check
    void B_CloseSpeakerClick(TObject* sender);
    void B_SetdistimeClick(TObject* sender);
    void LoadvaluesClick(TObject* sender);
    void SetprotectClick(TObject* sender);
    void TeEffectButton2Click(TObject* sender);  // work-mode write
    void TeButton6Click(TObject* sender);        // limit value
    void TeButton12Click(TObject* sender);       // "Get Limit Current"
    void TeButton13Click(TObject* sender);       // "Set Limit Current"
    void SetChargeCircuit(uint8_t mode, uint8_t rate);
    // Copies a frame into TxFrame and writes it, first making its command the
    // one awaited when `awaitReply`; false when it did not go out.
    bool SendOwnFrame(const FrameBytes& frame, bool awaitReply);
    std::array<TTeEdit*, 4> DelayEdits{};  // Ch1ctime, Ch2ctime, Dis1ctime, Dis2ctime
    TTeComboBox* TeComboBox2 = nullptr;    // limit current, "0.7" or "10"
    // device clock
    void SysDate_SetClick(TObject* sender);
    void GetNowDateClick(TObject* sender);
    void Sysdate_GetClick(TObject* sender);
    // YearEdit, MonthEdit, DayEdit, HourEdit, MinEdit, SecEdit, WeekEdit
    std::array<TTeEdit*, 7> SysDateEdits{};
    // automatic check
    void TeButton11Click(TObject* sender);
    int CheckModuleValues();  // 0 all limits kept, 1 cells, 2 temperatures, 3 current, 4 pack voltage
    // Appends the check line to "DataAccess/AutoCheck.csv": the reading shown and
    // a fresh verdict, or, for a module that did not answer, "no answer".
    void WriteAutoCheckRow(bool answered = true);
    // Handles window messages until `ms` have passed.
    void WaitMs(uint32_t ms);
    TTeButton* TeButton11 = nullptr;  // "Automatic Check"

    // ---- automatic addressing and the parameter writes of parallel modules
    //      (Main_Addressing.cpp, Main_ParallelParams.cpp) ----
    // Bind "Auto GetAddress" and the parallel parameter group; the first
    // makes the probe memos M_send and M_Receive, which the pages lack.
    void BindAddressingHandlers();
    void BindParallelParamsHandlers();
    void TeButton3Click(TObject* sender);
    void TBMS_SerilNumEnter(TObject* sender);
    void SingleModule_GetClick(TObject* sender);
    void SingleModule_SetClick(TObject* sender);
    void AllModule_SetClick(TObject* sender);
    // What a run over the modules needs: the port open and no poll or
    // automatic query sending meanwhile; false, with the refusal on the info
    // line, when one is missing. A run already going refuses silently.
    bool ReadyForModuleRun();
    // Sends `request` to each of `modules` in turn (its address in byte 0,
    // which the sum leaves out) and waits up to `waitMs` for that module's
    // reply `replyCode` with status 0, handling window messages meanwhile.
    // `answered` hears each module's outcome. The module-address box and
    // LastCommand are as before when it ends; false when a frame could not be
    // written, which ends the run there.
    bool SendToEachModule(const std::vector<uint8_t>& modules, FrameBytes request, uint8_t replyCode,
                          uint32_t waitMs, const std::function<void(uint8_t module)>& sending,
                          const std::function<void(uint8_t module, bool acknowledged)>& answered);
    TMemo* M_send = nullptr;
    TMemo* M_Receive = nullptr;

    // ---- query of one parallel module, serial-number list and polling, scheduled query
    //      (Main_TsbsQuery.cpp, Main_SerialNum.cpp, Main_Schedule.cpp) ----
    // Binds the three features and makes the controls and timers the pages
    // lack. Running it again changes nothing.
    void BindModuleQueryHandlers();
    void BindTsbsQueryHandlers();
    void BindSerialNumHandlers();
    void BindScheduleHandlers();
    // query of one module
    void TSBS_SeqNumEnter(TObject* sender);
    void TSBS_OnceQueryClick(TObject* sender);
    void TSBS_CycQueryClick(TObject* sender);
    // The poll clock's query of one module with its flag and time-out; false
    // when nothing went out (the info line says why). The cyclic query also
    // needs a period it can keep.
    bool StartTsbsQuery(bool cyclic);
    bool SendTsbsQuery();
    // The answers the parallel display hands over: the one-module query's
    // (0x83) and the query by serial number's (0x92).
    void ShowOneModuleAnswer();
    void ShowSerialAnswer();
    // Either answer's reading: the grid, the status displays, the store and
    // what follows a shown reading.
    void ShowModuleReading();
    // serial-number list; entry i is cell (i / 32, i % 32) of SG_SerialNum
    String SerialEntry(int index) const;
    void SetSerialEntry(int index, const String& text);
    void AddSerialNumber();
    void B_ReplaceSerialNumClick(TObject* sender);
    void ReplaceSerialNumber();
    void DeleteSerialNumber();
    void SortSerialNumbers();
    void E_SerialNumScanKeyPress(TObject* sender, char16_t& key);
    void SaveSerialNumClick(TObject* sender);
    void GetSerialNumClick(TObject* sender);
    // serial-number polling and the serial-number requests
    void CB_SerailQueryClick(TObject* sender);
    void Timer3Timer(TObject* sender);
    void B_QuerySerialNumClick(TObject* sender);
    void B_WriteSerialNumClick(TObject* sender);
    void WriteSerialDataRow();
    // scheduled query
    void Timer6Timer(TObject* sender);
    void Timer7Timer(TObject* sender);
    void Timer8Timer(TObject* sender);
    void Auto_QueryClick(TObject* sender);
    void EnsureTimeClick(TObject* sender);
    // Whether the schedule's pickers put the current time inside its window.
    bool QueryWindowOpen() const;

    // ---- device auto-save schedule and device-logged telemetry (Main_AutoTsbs.cpp), data query and
    //      chart (Main_DataQuery.cpp) ----
    // Makes what the pages lack: the two schedule groups (system-monitor and
    // remote-control tabs), the record tab's buttons and the download's
    // silence timer; sizes the record grid and binds them all.
    void BindAutoTsbsHandlers();
    // Each schedule set: 0 on the system-monitor tab, 1 on the remote-control tab.
    void settimeClick(int set);  // also EnsuresettimeClick
    void CheckfunctionClick(TObject* sender);
    void BegingetsbsClick(int set);
    void EndgetsbsClick(int set);
    void GetAutoTSBSDataClick(TObject* sender);
    void ClearAutoTSBSDataClick(TObject* sender);
    void ClearTSBSlookDataClick(TObject* sender);
    void SaveAutoTSBSDataClick(TObject* sender);
    // No batch of a download for 10 s: the failure goes to the info line and
    // the record buttons are enabled again.
    void AutoTsbsSilenceTimer(TObject* sender);
    void EnableAutoTsbsRecordButtons(bool enabled);
    void EmptyAutoTsbsRows();  // every data row's cells, then the row count cut to the title row
    struct ScheduleSet {
        TDateTimePicker *NowDate = nullptr, *NowTime = nullptr, *BeginDate = nullptr, *BeginTime = nullptr,
                        *EndDate = nullptr, *EndTime = nullptr;
        TTeEdit *Period = nullptr, *MinPeriod = nullptr;
        TTeButton *Check = nullptr, *State = nullptr, *Begin = nullptr, *End = nullptr;
    };
    std::array<ScheduleSet, 2> ScheduleSets{};
    TTeButton* GetAutoTSBSData = nullptr;    // "读取TSBS数据"
    TTeButton* ClearAutoTSBSData = nullptr;  // "清除FLASH数据"
    TTeButton* ClearTSBSlookData = nullptr;  // "清空记录"
    TTeButton* SaveAutoTSBSData = nullptr;   // "保存TSBS数据"
    TTimer* AutoTsbsSilence = nullptr;

    // ---- data query and chart (Main_DataQuery.cpp) ----
    // Makes the data grid and the chart, which the pages lack, and binds the
    // two pages' buttons, combo boxes and scroll bar and the form's wheel.
    void BindDataQueryHandlers();
    void DQ_OrderModeEnter(TObject* sender);
    void DQ_SeqNumEnter(TObject* sender);
    void DBC_SeqNumEnter(TObject* sender);
    void DQ_QueryClick(TObject* sender);
    // False when the date range was refused.
    bool RunDataQuery();
    void DQ_DeleteClick(TObject* sender);
    void DBC_OnceQueryClick(TObject* sender);
    void DBScrollBarChange(TObject* sender);
    void FormMouseWheelUp(TObject* sender);
    void FormMouseWheelDown(TObject* sender);
    bool CheckDateRange(TDateTime end, TDateTime begin);
    void ShowNoChartData();
    void ApplyChartZoom();
    void UpdateChartAxisFormat();
    // The pages' connection to the readings database, opened and checked at
    // its first use, and again after an error or when the file at the path
    // is no longer the one opened; ADOQuery1 keeps it while it reads.
    std::shared_ptr<ReadingDatabase> QueryDatabase();
    // Closes the queries and the connection.
    void CloseQueryDatabase();
    // Runs `use` with the connection; an EDatabaseError closes it and goes on.
    template <typename Use>
    auto WithQueryDatabase(Use use);
    std::vector<std::string> SerialsOf(const String& tableName);
    std::shared_ptr<ReadingDatabase> QueryDb;
    TQuery* ADOQuery1 = nullptr;
    TDataSource* DataSource1 = nullptr;
    TDBGrid* DBGrid1 = nullptr;
    TChart* cht = nullptr;
    TLineSeries* LineSeries2 = nullptr;
    TQuery* ChartQuery = nullptr;

    // ---- history alarms, the recent-records dialog and the date filter
    //      (Main_HisAlarm.cpp, Main_AlarmFilter.cpp, GetHis.cpp) ----
    // Binds the history-alarm tab's buttons and makes what the pages lack:
    // the silence timer and the hidden date-filter group.
    void BindHisAlarmHandlers();
    void GetHisAlarmClick(TObject* sender);
    void GetanyHisAlarmClick(TObject* sender);
    void ClearLookDataClick(TObject* sender);
    void SaveHisAlarmClick(TObject* sender);
    void ClearHisAlarmClick(TObject* sender);
    // Request 0x19 without asking; once it went out the grid's data rows are
    // emptied and the silence watch runs. False when it did not go out.
    bool RequestAllHisAlarms();
    // A download whose request went out: the data rows emptied and the watch
    // started, so a module that falls silent cannot leave the tab locked.
    void BeginHisAlarmDownload();
    void HisAlarmSilenceTimer(TObject* sender);
    void EnableHisAlarmButtons(bool enabled);
    // Every data row's cells emptied, the row count cut to the title row.
    void EmptyHisAlarmRows();
    // Rows 1 to the row count minus 1, 29 texts each, as the grid shows them.
    std::vector<RecordRow> HisAlarmGridRows() const;
    // A record grid's rows into a CSV file the user names; the dialog asks
    // before it replaces a file (the record pages share this).
    struct RecordCsvSave {
        const char* nameEnding;  // after the date and time
        const char* title;
        const char* filter;
        const char* folder;  // beside the executable
        const char* createFailure;
        std::string (*text)(const std::vector<RecordRow>& rows);
    };
    void SaveRecordRows(const RecordCsvSave& save, const std::vector<RecordRow>& rows);
    // Rows 1 to rowCount - 1 of a record grid, `columns` texts each, as it shows them.
    static std::vector<RecordRow> RecordGridRows(const TStringGrid& grid, size_t columns, int rowCount);
    void BindAlarmFilterHandlers();
    void HAD_QueryClick(TObject* sender);
    void HAD_SaveClick(TObject* sender);
    TTeGroupBox* HAD_TimeQuery = nullptr;  // never shown
    TDateTimePicker* HAD_BeginDatePiker = nullptr;
    TDateTimePicker* HAD_EndDatePiker = nullptr;
    TTeEffectButton* HAD_Query = nullptr;
    TTeButton* HAD_Save = nullptr;

    // ---- daily records and the full export (Main_Daily.cpp, Main_Export.cpp) ----
    // Binds both pages, makes Timer9 and the daily download's watch, and sets
    // the daily grid's fixed column.
    void BindDailyExportHandlers();
    void BindDailyHandlers();
    void TeButton17Click(TObject* sender);  // "Get"
    void TeButton18Click(TObject* sender);  // "Save As"
    void TeButton19Click(TObject* sender);  // "Clear"
    void DailyWatchTimer(TObject* sender);
    void EnableDailyButtons(bool enabled);
    // Empties every data row of RunState and leaves only the title row.
    void ClearDailyGrid();
    // Rows 1 to rowCount - 1 of RunState, 6 texts each, as the grid shows them.
    std::vector<RecordRow> DailyGridRows(int rowCount) const;
    void TeButton16Click(TObject* sender);  // "Get ALL Data"
    void TeButton20Click(TObject* sender);  // "Get DateFile"
    void Timer9Timer(TObject* sender);
    // Handles window messages until `done` is set (true), or until `limitMs`
    // pass, 10 s pass without a received chunk, the port closes or the
    // application ends (false).
    bool WaitExportReply(uint32_t limitMs, const uint8_t& done);

    // ================= controls =================
    // Frame (Main_Frame.cpp)
    TTeThemeLink* TeThemeLink1 = nullptr;
    TTeForm* TeForm1 = nullptr;
    TMainMenu* MainMenu1 = nullptr;
    TTeMenuBar* TeMenuBar1 = nullptr;
    // The bar's skinned items, made from MainMenu1's (which step aside as "<name>_old").
    TTeItem* M_File = nullptr;
    TTeItem* M_Exit = nullptr;
    TTeItem* M_COMSettings = nullptr;
    TTeItem* M_SetCOM = nullptr;
    TTeItem* M_Versionset = nullptr;
    TTeItem* CustomItem2 = nullptr;  // "3U"
    TTeItem* CustomItem3 = nullptr;  // "BMS"
    TTeItem* M_About = nullptr;
    TTeItem* M_Help = nullptr;
    TTeItem* M_ConvertEdition = nullptr;
    TImageList* ImageList1 = nullptr;
    TTeToolBar* TeToolBar1 = nullptr;
    TTeSpeedButton* TB_COMSwitch = nullptr;
    TTeSpeedButton* TB_LOG = nullptr;
    TTeSpeedButton* TB_SingleConvert = nullptr;
    TTeSpeedButton* TB_Load = nullptr;
    TTeSpeedButton* TB_Save = nullptr;
    TTeSpeedButton* TB_Exit = nullptr;
    TTeSpeedButton* TB_LanguageConvert = nullptr;
    TTeScrollingLabel* TeScrollingLabel1 = nullptr;  // "Hint:"
    TLabel* L_Info = nullptr;                        // the info line
    TTeLabel* Version = nullptr;                     // "Current Version:"
    TTeLabel* Version1 = nullptr;                    // "3U" or "BMS"
    TTeScrollingLabel* TeScrollingLabel2 = nullptr;  // "Module Address"
    TTeComboBox* CB_ModuleAddr = nullptr;
    TTeStatusBar* TeStatusBar1 = nullptr;
    TTePanel* MainPanel = nullptr;
    TTeScrollBar* TeScrollBar1 = nullptr;  // horizontal
    TTeScrollBar* TeScrollBar2 = nullptr;  // vertical
    TTeCheckBox* PC_All_Query = nullptr;
    TTePageControl* PC_All = nullptr;
    TGauge* BatColorStore = nullptr;

    // Tab sheets, in page order.
    TTeTabSheet* TS_RunState = nullptr;
    TTeTabSheet* TS_TSBS = nullptr;
    TTeTabSheet* TS_DataQuery = nullptr;
    TTeTabSheet* TS_DBChart = nullptr;
    TTeTabSheet* TS_PraSet = nullptr;
    TTeTabSheet* TS_SerialNum = nullptr;
    TTeTabSheet* TS_TBMS = nullptr;
    TTeTabSheet* TS_Adjust = nullptr;
    TTeTabSheet* TS_Info = nullptr;
    TTeTabSheet* TS_AutoQuery = nullptr;
    TTeTabSheet* TS_TADC = nullptr;
    TTeTabSheet* TS_Monitor = nullptr;
    TTeTabSheet* TS_HisAlarm = nullptr;
    TTeTabSheet* TS_AutoTSBSData = nullptr;
    TTeTabSheet* TS_Control = nullptr;
    TTeTabSheet* TeTabSheet1 = nullptr;  // "Export System Data"
    TTeTabSheet* TeTabSheet2 = nullptr;  // "Daily Records"
    TTeTabSheet* TS_ExtComm = nullptr;

    // The content panels the two scroll bars move, LenGroupBox1..12, one on
    // each of the first twelve sheets: a page's controls go on its panel.
    std::array<TTeGroupBox*, 12> ScrolledPanels{};

    // Pages (Main_Pages.cpp): add each page's controls in its block.
    // -- TS_RunState: the 64 module tiles
    std::array<TGauge*, kModuleCount> RunStateGauges{};    // Bat_RunState1..64
    std::array<TGauge*, kModuleCount> PosGauges{};         // BatPosCG1..64
    std::array<TTeLabel*, kModuleCount> ModuleLabels{};    // Bat_Label1..64
    std::array<TTeSEdit*, kModuleCount> TileEdits{};       // TeSEdit201..264
    std::array<TTeLabel*, kModuleCount> PositionLabels{};  // BatPosi1..64
    std::array<TTeLabel*, kModuleCount> VoltageLabels{};   // Batt_Vol1..64
    std::array<TTeLabel*, kModuleCount> CurrentLabels{};   // Bat_Curr1..64
    TTeGroupBox* RunColor = nullptr;                       // the colour legend
    // The rest of each tile that answers a click as its click label does:
    // the tile, the cap, the body and the two readings.
    std::array<std::array<TControl*, 5>, kModuleCount> TileParts{};
    // -- TS_PraSet
    std::array<TTeCheckBox*, kModuleCount> ModuleChecks{};  // Bat_Cell1..64
    TTeCheckBox* Bat_Cell_All = nullptr;
    TTeEdit* PS_Cyc = nullptr;
    TTeEdit* TSBS_Cyc = nullptr;
    TTeGroupBox* BatCellBox = nullptr;
    TTeGroupBox* QueryCycBox = nullptr;
    TTeButton* TeButton1 = nullptr;  // "Confirm"
    TTeButton* TeButton3 = nullptr;  // "Auto GetAddress"
    // -- TS_SerialNum
    TStringGrid* SG_SerialNum = nullptr;
    // -- TS_TBMS
    TStringGrid* SG_TBMS = nullptr;
    TTeButton* B_ReadBMS = nullptr;
    TTeButton* B_WriteBMS = nullptr;
    TTeGroupBox* TeGroupBox33 = nullptr;  // one module of the parallel system
    TTeComboBox* TBMS_SerilNum = nullptr;
    TTeButton* SingleModule_Get = nullptr;
    TTeButton* SingleModule_Set = nullptr;
    TTeButton* AllModule_Set = nullptr;
    // The seven threshold grids, in a group never shown.
    TStringGrid* SG_Overcurrset = nullptr;
    TStringGrid* SG_Highcvset = nullptr;
    TStringGrid* SG_Lowbvset = nullptr;
    TStringGrid* SG_Lowcvset = nullptr;
    TStringGrid* SG_Highbvset = nullptr;
    TStringGrid* SG_Hightempset = nullptr;
    TStringGrid* SG_Lowtempset = nullptr;
    // -- TS_Adjust
    TStringGrid* SG_VKB = nullptr;
    TStringGrid* SG_CKB = nullptr;
    TStringGrid* SG_CKB1 = nullptr;
    TTeButton* B_SampleV = nullptr;
    TTeButton* B_CalcVK = nullptr;
    TTeButton* B_SampleC = nullptr;
    TTeButton* B_CalcCKB = nullptr;
    TTeButton* B_ReadKB = nullptr;
    TTeButton* B_WriteKB = nullptr;
    // -- TS_AutoQuery
    TStringGrid* SG_AutoQueryTitle = nullptr;
    TStringGrid* SG_AutoQuery = nullptr;
    TTeCheckBox* CB_AutoSaveClear = nullptr;
    TTeEdit* E_AutoSaveClear = nullptr;
    // -- TS_TADC
    TStringGrid* SG_VADC = nullptr;
    TStringGrid* SG_CADC = nullptr;
    TStringGrid* SG_TADC = nullptr;
    TTeCheckBox* CB_AutoReadADC = nullptr;
    TTeEdit* CB_AutoReadADCInterval = nullptr;
    TTeButton* B_ReadADC = nullptr;
    // -- TS_Monitor
    TStringGrid* SG_SoftVersion = nullptr;
    TStringGrid* SG_History = nullptr;
    TStringGrid* SG_Life = nullptr;
    TTeGroupBox* TeGroupBox34 = nullptr;
    std::array<TTeEdit*, 6> AutoCheckEdits{};        // TeEdit1..6
    TTeEffectGroupBox* TeEffectGroupBox1 = nullptr;  // version
    TTeEffectGroupBox* TeEffectGroupBox4 = nullptr;  // serial number
    TTeEffectGroupBox* TeEffectGroupBox5 = nullptr;  // capacity life
    TTeGroupBox* GB_History = nullptr;               // run history, never shown
    TTeGroupBox* TeGroupBox38 = nullptr;             // automatic check, hidden
    TTeGroupBox* TeGroupBox25 = nullptr;             // work mode, hidden
    TTeEdit* E_ReadSerialNum = nullptr;
    TTeButton* B_ReadSerialNum = nullptr;
    TTeButton* B_SetLife = nullptr;
    TTeButton* B_SetHistory = nullptr;
    TTeEdit* Capdis = nullptr;
    TTeButton* Getcap = nullptr;
    TTeButton* Setcap = nullptr;
    TTeRadioButton* TeRadioButton1 = nullptr;
    TTeRadioButton* TeRadioButton2 = nullptr;
    TTeSEdit* TeSEdit2 = nullptr;
    // -- TS_HisAlarm
    TStringGrid* SG_HisAlarm = nullptr;
    TTeButton* GetHisAlarm = nullptr;
    TTeButton* GetanyHisAlarm = nullptr;
    TTeButton* ClearLookData = nullptr;
    TTeButton* SaveHisAlarm = nullptr;
    TTeButton* ClearHisAlarm = nullptr;
    // -- TS_Control
    TTeButton* TeButton8 = nullptr;
    TTeButton* TeButton10 = nullptr;
    std::array<TTeCheckBox*, 13> ProtectSwitches{};  // Protect_OFF1..13
    TTeComboBox* limitvalueset = nullptr;
    TTeComboBox* valueset = nullptr;
    // -- TS_DataQuery, TS_DBChart
    TDateTimePicker* DQ_BeginDate = nullptr;
    TDateTimePicker* DQ_EndDate = nullptr;
    TDateTimePicker* DBC_BeginDate = nullptr;
    TDateTimePicker* DBC_EndDate = nullptr;
    TTeComboBox* DQ_Table = nullptr;
    TTeComboBox* DBC_Table = nullptr;
    TTeComboBox* DQ_SeqNum = nullptr;
    TTeComboBox* DQ_OrderMode = nullptr;
    TTeComboBox* DBC_SeqNum = nullptr;
    TTeComboBox* DBC_Curve = nullptr;
    TTeEffectButton* DQ_Query = nullptr;
    TTeEffectButton* DQ_Delete = nullptr;
    TTeEffectButton* DBC_OnceQuery = nullptr;
    TTeScrollBar* DBScrollBar = nullptr;
    // -- TS_AutoTSBSData
    TStringGrid* SG_AutoTSBSData = nullptr;
    // -- TeTabSheet1: the full export
    TTeGroupBox* TeGroupBox39 = nullptr;
    TTeButton* TeButton16 = nullptr;  // "Get ALL Data"
    TTeProgressBar* TeProgressBar1 = nullptr;
    TLabel* Label65 = nullptr;
    TTeGroupBox* TeGroupBox41 = nullptr;
    std::array<TTeCheckBox*, 6> ExportStepChecks{};  // TeCheckBox1..6
    TTeButton* TeButton20 = nullptr;                 // "Get DateFile"
    // -- TeTabSheet2
    TStringGrid* RunState = nullptr;
    TTeGroupBox* TeGroupBox40 = nullptr;
    TTeButton* TeButton17 = nullptr;  // "Get"
    TTeButton* TeButton18 = nullptr;  // "Save As"
    TTeButton* TeButton19 = nullptr;  // "Clear"
    // -- TS_ExtComm
    TStringGrid* SG_ExtData = nullptr;
    TRichEdit* RE_ExtInfo = nullptr;

    // TS_Info (Main_Link.cpp)
    TRichEdit* RE_Info = nullptr;
    TRichEdit* RE_CommData = nullptr;
    TTeGroupBox* GB_Info = nullptr;
    TTeGroupBox* GB_CommData = nullptr;
    TTePopupMenu* PopupMenuInfo = nullptr;
    TTePopupMenu* PopupMenuCommData = nullptr;
    TTePopupMenu* PopupMenuExtInfo = nullptr;
    TTeItem* PM_SaveInfo = nullptr;  // "保存并清空    " of each log
    TTeItem* PM_SaveCommData = nullptr;
    TTeItem* PM_SaveExtInfo = nullptr;

    // TS_TSBS (Main_Telemetry.cpp)
    TStringGrid* SG_TSBS = nullptr;
    TStringGrid* Detailinfo = nullptr;
    TGauge* TSBS_BatRunState = nullptr;
    TTeButton* B_Query = nullptr;
    TTeCheckBox* CB_AutoQuery = nullptr;
    TTeEdit* TSBS_SeqNum = nullptr;
    TGauge* BatPositiveCG = nullptr;  // the battery picture's terminal cap
    TTeButton* TSBS_OnceQuery = nullptr;
    TTeCheckBox* TSBS_CycQuery = nullptr;
    TTeEdit* CB_AutoQueryInterval = nullptr;
    TTeProgressBar* PB_SOC = nullptr;  // hidden
    TLabel* L_SOC = nullptr;           // hidden
    // The indicator lamps by name: S_Alarm1.., S_Protect1.., S_Fail1.., the
    // Others and battery-state lamps, Bls1..16.
    std::map<String, TShape*, std::less<>> Lamps;
    // The latest status fields seen, shared with the parallel display.
    struct StatusWordSet {
        uint32_t Others = 0, Alarm = 0, Protection = 0, Fail = 0, Balance = 0;
        uint16_t BattState = 0, SOC = 0;
        uint32_t SOCHealth = 0, DiscTimes = 0, TotalDiscSOC = 0;
    };
    StatusWordSet LastStatusWords;
    std::unique_ptr<ReadingStore> Readings;  // "DataAccess" beside the executable

    // Non-visual
    std::unique_ptr<TComm> Comm1;
    std::unique_ptr<ReplyScanner> Scanner;  // its frames go to the link's frame handler

    // ================= state =================
    // Device link
    std::array<uint8_t, 500> TxFrame{};
    std::array<uint8_t, 5000> RxFrame{};
    uint16_t RxLength = 0;
    int32_t RxChunkCount = 0;
    uint8_t LoggedIn = 0;
    int32_t KbLayout = 1;
    int32_t HistoryLayout = 1;

    // Poll clock and time-out. The ticks run on the GUI thread (the timer
    // thread only posts them), so these need no lock.
    uint32_t PollTimerId = 0;
    int32_t RequestBusy = 0;
    int32_t ReplyTimeoutTicks = 0;
    uint32_t PollRequestCount = 0;
    uint32_t ReplyTimeoutCount = 0;
    int32_t PollInProgress = 0;
    int32_t TsbsQueryInProgress = 0;
    uint8_t PollStartPending = 0;
    uint8_t TsbsStartPending = 0;
    uint8_t TsbsOnceRequest = 0;

    // Polling record and parallel modules
    PollingRecord ParaRecord;
    int32_t NextPollModule = 0;
    int32_t PrevPollModule = 0;
    int32_t PollCycleStarted = 0;
    int32_t PollIndex = 0;
    uint8_t PolledModuleAnswered = 0;
    std::array<ModuleReading, kModuleCount> ModuleReadings{};
    std::array<String, 40> ReadingRow{};
    String ReplyAddressText;
    String TsbsSeqNumText;
    int32_t ModulesAddressed = 0;

    // Modes and views
    uint8_t EngineeringEdition = 0;
    uint8_t MultiModuleMode = 0;
    int32_t ProductVariant = 0;

    // Feature flags and counters
    uint8_t PortOpen = 0;
    uint8_t PortLost = 0;  // the line hung up and the port was not opened since
    uint8_t AutoQueryOn = 0;
    uint8_t AutoAdcOn = 0;
    int32_t AutoQueryColumns = 0;
    uint8_t SampleVoltageOn = 0;
    uint8_t SampleCurrentOn = 0;
    int32_t CurrentSampleRow = 0;
    uint8_t SerialPollOn = 0;
    uint8_t SerialPollCount = 0;
    uint8_t SerialPollIndex = 0;
    uint8_t LastSerialIndex = 0;
    uint8_t DoneTsbs = 0, DoneHisAlarm = 0, DoneDaily = 0;
    uint8_t DoneSerialNum = 0, DoneCap = 0, DoneVersion = 0, DoneRunHistory = 0;
    uint8_t ExportRunning = 0;

    // Record streams
    AppendFile SerialDataStream;
    AppendFile AdcStream;

    // Protection parameters, their files and presets (Main_Params.cpp): the
    // grid's popup menu, the shared file dialogs and the preset group, which
    // no view shows.
    TTePopupMenu* PopupMenuBMS = nullptr;
    TTeItem* PM_LoadBMS = nullptr;
    TTeItem* PM_ClearBMS = nullptr;
    TOpenDialog* OpenDialog1 = nullptr;
    TSaveDialog* SaveDialog1 = nullptr;
    TGroupBox* GroupBox2 = nullptr;
    std::array<TCheckBox*, 15> PresetChecks{};  // CheckBox1..15
    TTeButton* Function_Select = nullptr;
    TTeButton* TeButton2 = nullptr;

    // Device information, ADC and automatic query (Main_DeviceInfo.cpp,
    // Main_Adc.cpp, Main_AutoQuery.cpp); the bind step makes these.
    TTimer* Timer1 = nullptr;  // automatic query: 500 ms until its first tick sets the period
    TTimer* Timer2 = nullptr;  // periodic ADC reading
    TTeButton* B_GetVer = nullptr;
    uint8_t AutoSaveClearOn = 1;
    // The automatic-query grid keeps this many of the latest readings.
    static constexpr int kAutoQueryColumnsKept = 10000;

    // Calibration and run history (Main_Calibration.cpp, Main_Capacity.cpp):
    // the controls the pages lack.
    TTeLabel* L_TempK = nullptr;
    TTeEdit* E_TempK = nullptr;
    TTePopupMenu* PopupMenuVK = nullptr;  // SG_VKB's, also on SG_Life
    TTeItem* PM_LoadVK = nullptr;
    TTeItem* PM_CopyVK = nullptr;
    TTePopupMenu* PopupMenuCKB = nullptr;  // SG_CKB's and SG_CKB1's
    TTeItem* PM_LoadCKB = nullptr;
    TTeItem* PM_CopyCKB = nullptr;
    TTeButton* B_GetHistory = nullptr;

    // Automatic check (Main_AutoCheck.cpp): set while a check runs, so a click
    // handled inside its waits cannot start a second one.
    uint8_t AutoCheckRunning = 0;

    // Automatic addressing and the all-module write (Main_Addressing.cpp,
    // Main_ParallelParams.cpp): set while one runs, so a click handled inside
    // its waits cannot start another.
    uint8_t ModuleRunActive = 0;

    // Query of one module, serial numbers, scheduled query (Main_TsbsQuery.cpp,
    // Main_SerialNum.cpp, Main_Schedule.cpp); the bind step makes these.
    std::array<std::array<uint8_t, 20>, kModuleCount> SerialPollTable{};
    TTimer* Timer3 = nullptr;  // serial-number polling, 1 s
    TTimer* Timer6 = nullptr;  // the schedule's clock, 1 s
    TTimer* Timer7 = nullptr;  // the scheduled query: 500 ms until the window opens, then the period
    TTimer* Timer8 = nullptr;  // the schedule's window check, 5 s
    TTeEdit* E_SerialNumScan = nullptr;
    TTeEdit* E_SerialNumOld = nullptr;
    TTeEdit* E_SerialNumNew = nullptr;
    TTeGroupBox* TeGroupBox14 = nullptr;  // serial-number polling, never shown
    TTeCheckBox* CB_SerailQuery = nullptr;
    TTeButton* B_QuerySerialNum = nullptr;
    TTeComboBox* CB_SerialNumBox = nullptr;
    TTeEdit* E_WriteSerialNum = nullptr;
    TTeButton* B_WriteSerialNum = nullptr;
    TTeEffectGroupBox* TeEffectGroupBox6 = nullptr;  // the scheduled query, never shown
    TDateTimePicker* NowTime_Date = nullptr;
    TDateTimePicker* NowTime_Time = nullptr;
    TDateTimePicker* BeginQuery_Date = nullptr;
    TDateTimePicker* BeginQuery_Time = nullptr;
    TDateTimePicker* EndQuery_Date = nullptr;
    TDateTimePicker* EndQuery_Time = nullptr;
    TTeEdit* CycleTimeEdit = nullptr;
    TTeButton* EnsureTime = nullptr;
    TTeCheckBox* Auto_Query = nullptr;
    // Where the schedule reads the current local time; tests put a clock of
    // their own here.
    std::function<TDateTime()> ScheduleClock = [] { return Now(); };
    // Device auto-save schedule (Main_AutoTsbs.cpp): the data of the last request 0x2C.
    std::array<uint8_t, 18> AutoTsbsSchedule{};
    // History alarms (Main_HisAlarm.cpp): a download that brings no batch
    // for 10 s is given up; the highest data row that has held texts, so a
    // new download empties the rows a cut has hidden too.
    static constexpr UINT kHisAlarmSilenceMs = 10000;
    TTimer* HisAlarmSilence = nullptr;
    int32_t HisAlarmRowsHeld = 0;

    // Daily records and the full export (Main_Daily.cpp, Main_Export.cpp).
    TTimer* Timer9 = nullptr;      // the export's progress animation
    TTimer* DailyWatch = nullptr;  // ends a daily download after 10 s without a reply

private:
    void BindEvents();
    void BindFeatureHandlers();
};

// The window's one instance.
extern TMainForm* MainForm;
// The code of the last request sent; 0 while none is outstanding.
extern uint8_t LastCommand;
// The last received chunk.
extern std::array<uint8_t, 3000> RxBuffer;
extern String VersionTextHead;
extern String VersionTextTail;

// The main window's caption and the application's title once the about box exists.
inline constexpr const char* kAppName = "Tarvel BMS Software";
inline constexpr const char* kAppVersion = " V1.1.0";

// The info line's colours: success, and failure or refusal. The logs write
// their success lines in dark green.
inline constexpr TColor kSuccessColor = 0x80D98D;
inline constexpr TColor kFailureColor = 0x6A6AFF;
inline constexpr TColor kLogSuccessColor = 0x008000;

}  // namespace tarvel
