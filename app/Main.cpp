#include "app/Main.h"

#include "platform/winsys/GuiTasks.h"

namespace tarvel {

TMainForm* MainForm = nullptr;
uint8_t LastCommand = 0;
std::array<uint8_t, 3000> RxBuffer{};
String VersionTextHead;
String VersionTextTail;

TMainForm::TMainForm(TComponent* owner) : TForm(owner) {
    MainForm = this;
    Comm1 = std::make_unique<TComm>(GuiPoster());
    {
        // The controls are made as form data would make them: Loaded runs
        // once every one of them exists.
        TLoadingScope scope(this);
        BuildFrame();
        BuildPages();
        BuildInfoPage();
        BuildTsbsPage();
        scope.Finish();
    }
    LastCommand = 0;
    BindEvents();
    BindFeatureHandlers();
}

// The features bind their own pages' buttons.
void TMainForm::BindFeatureHandlers() {
    BindParamsHandlers();
    BindMonitoringHandlers();
    BindCalibrationHandlers();
    BindCapacityHandlers();
    BindRemoteControlHandlers();
    BindAddressingHandlers();
    BindParallelParamsHandlers();
    BindModuleQueryHandlers();
    BindAutoTsbsHandlers();
    BindDataQueryHandlers();
    BindHisAlarmHandlers();
    BindDailyExportHandlers();
}

TMainForm::~TMainForm() {
    // The port's threads post into this window; stop them before it goes.
    if (Comm1) Comm1->StopComm();
    if (AdcStream.IsOpen()) AdcStream.Close();
    if (SerialDataStream.IsOpen()) SerialDataStream.Close();
    if (MainForm == this) MainForm = nullptr;
}

void TMainForm::BindEvents() {
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    OnCloseQuery = [this](TObject* sender, bool& canClose) { FormCloseQuery(sender, canClose); };
    OnClose = [this](TObject* sender, TCloseAction& action) { FormClose(sender, action); };
    Comm1->OnReceiveData = [this](TComm&, const uint8_t* buffer, uint16_t count, uint32_t arrivedMs) {
        Comm1ReceiveData(buffer, count, arrivedMs);
    };
    Comm1->OnRequestHangup = [this](TComm&) { Comm1RequestHangup(); };
    if (CB_ModuleAddr) {
        ModuleAddrIndex = CB_ModuleAddr->ItemIndex();
        CB_ModuleAddr->OnChange = [this](TObject*) { ModuleAddrIndex = CB_ModuleAddr->ItemIndex(); };
    }
    if (SG_CKB1) SG_CKB1->OnClick = [this](TObject* sender) { SG_CKB1Click(sender); };
}

void TMainForm::FormCreate(TObject*) {
    SetupViewAndFolders();
    ReportUnusableStartFiles();
    MapModuleControls();
    SetupGridsAndText();
    LoadPortSettings();
    MapRemainingControls();
    LoadSerialNumberList();
    LoadModuleSelection();
    InitDatabaseCombos();
    // Until the user saves a polling set-up, no module is polled.
    ParaRecord = PollingRecord{};
    ParaRecord.MultiPeriodSec = 1;
    ParaRecord.SinglePeriodSec = 1;
    WriteParaRecord();
    RequestBusy = 0;
    ReadVersionFile();
    LoadCurrentCalibrationTable();
    LoadAutoCheckValues();
    StartPollTimer();
}

}  // namespace tarvel
