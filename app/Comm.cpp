#include "app/Comm.h"

#include <algorithm>

#include "app/Main.h"
#include "app/ThemeLinks.h"
#include "app/WindowKit.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/serial/PortList.h"
#include "platform/system/ProfileFiles.h"

namespace tarvel {

TCommForm* CommForm = nullptr;

namespace {

constexpr const char* kBaudRates[] = {"2400", "4800", "9600", "19200", "38400", "57600", "115200"};

// The rank of a port in the list: by-id links name the adapter and survive
// replugging, so they come first.
int PortRank(const std::string& path) {
    const std::string name = ExtractFileName(path);
    if (path.find("/serial/by-id/") != std::string::npos) return 0;
    if (name.starts_with("ttyUSB")) return 1;
    if (name.starts_with("ttyACM")) return 2;
    return 3;
}

}  // namespace

std::vector<std::string> PortListForDialog(const std::string& inUse, const std::string& devRoot,
                                           const std::string& sysRoot) {
    std::vector<std::string> ports = ListSerialPorts(devRoot, sysRoot);
    std::stable_sort(ports.begin(), ports.end(),
                     [](const std::string& a, const std::string& b) { return PortRank(a) < PortRank(b); });
    if (!inUse.empty() && std::find(ports.begin(), ports.end(), inUse) == ports.end()) ports.push_back(inUse);
    return ports;
}

uint32_t UsableBaudRate(int32_t rate) { return rate > 0 ? static_cast<uint32_t>(rate) : 9600; }

uint32_t BaudRateOf(std::string_view text) { return UsableBaudRate(StrToIntDef(Trim(text), 9600)); }

TCommForm::TCommForm(TComponent* owner) : TForm(owner) {
    CommForm = this;
    SetName("CommForm");
    SetBorderStyle(bsDialog);
    SetBorderIcons(TBorderIcons{biSystemMenu});
    SetPosition(poMainFormCenter);
    SetClientWidth(400);
    SetClientHeight(232);
    {
        TLoadingScope scope(this);
        TeForm1 = new TTeForm2(this);
        TeForm1->SetName("TeForm1");

        TeEffectGroupBox1 = MakeNamed<TTeEffectGroupBox>(this, this, "TeEffectGroupBox1");
        // Wide enough for the by-id names of adapters, which share a long prefix.
        TeEffectGroupBox1->SetBounds(8, 4, 384, 180);
        const struct {
            TTeAdvancedLabel** label;
            const char* labelName;
            TTeEffectComboBox** combo;
            const char* comboName;
        } rows[] = {
            {&TAL_ComPort, "TAL_ComPort", &TECB_ComPort, "TECB_ComPort"},
            {&TAL_BaudRate, "TAL_BaudRate", &TECB_BaudRate, "TECB_BaudRate"},
            {&TAL_DataBits, "TAL_DataBits", &TECB_DataBits, "TECB_DataBits"},
            {&TAL_Parity, "TAL_Parity", &TECB_Parity, "TECB_Parity"},
            {&TAL_StopBits, "TAL_StopBits", &TECB_StopBits, "TECB_StopBits"},
        };
        int top = 26;
        for (const auto& row : rows) {
            *row.label = MakeNamed<TTeAdvancedLabel>(this, TeEffectGroupBox1, row.labelName);
            (*row.label)->SetBounds(14, top + 3, 84, 16);
            *row.combo = MakeNamed<TTeEffectComboBox>(this, TeEffectGroupBox1, row.comboName);
            (*row.combo)->SetBounds(100, top, 270, 21);
            top += 30;
        }

        TeEffectButton1 = MakeNamed<TTeEffectButton>(this, this, "TeEffectButton1");
        TeEffectButton1->SetBounds(157, 194, 85, 29);
        TeEffectButton1->SetModalResult(mrOk);
        // The dialog wears the main window's skin.
        if (MainForm) LinkSkinnedControls(this, MainForm->TeThemeLink1);
        scope.Finish();
    }
    OnCreate = [this](TObject* sender) { FormCreate(sender); };
    TeEffectButton1->OnClick = [this](TObject* sender) { TeEffectButton1Click(sender); };
}

TCommForm::~TCommForm() {
    if (CommForm == this) CommForm = nullptr;
}

void TCommForm::FormCreate(TObject*) {
    for (const char* rate : kBaudRates) TECB_BaudRate->Items()->Add(rate);
    const std::pair<TControl*, const char*> captions[] = {
        {this, "Port Setting"},       {TeEffectGroupBox1, "Port Setting"}, {TAL_ComPort, "Port Number:"},
        {TAL_BaudRate, "Baud Rate:"}, {TAL_DataBits, "Data Bit:"},         {TAL_Parity, "Parity Bit:"},
        {TAL_StopBits, "Stop Bit:"},  {TeEffectButton1, "Confirm"},
    };
    for (const auto& [control, caption] : captions) control->SetText(caption);
    // The group box draws a caption of its own, apart from its text.
    TeEffectGroupBox1->SetCaption(u"Port Setting");
    const std::pair<TTeEffectComboBox*, const char*> fixed[] = {
        {TECB_DataBits, "8"}, {TECB_Parity, "None"}, {TECB_StopBits, "1"}};
    for (const auto& [combo, text] : fixed) {
        combo->SetComboStyle(kcsDropDownList);
        combo->Items()->Add(text);
        combo->SetItemIndex(0);
        // After the group box has passed its own state on to its children.
        combo->SetEnabled(false);
    }
    if (MainForm) TECB_BaudRate->SetText(UIntToStr(MainForm->Comm1->BaudRate()));
}

void TCommForm::FillPortList(const std::vector<std::string>& ports, const std::string& selected) {
    TECB_ComPort->Items()->Clear();
    for (const std::string& port : ports) TECB_ComPort->Items()->Add(port);
    const auto at = std::find(ports.begin(), ports.end(), selected);
    if (at != ports.end())
        TECB_ComPort->SetItemIndex(static_cast<int>(at - ports.begin()));
    else
        TECB_ComPort->SetText(selected);
}

void TCommForm::TeEffectButton1Click(TObject*) {
    TMainForm* main = MainForm;
    if (!main) return;
    // A restart may reach another module: the old login does not hold there.
    if (main->PortOpen) main->ClosePort();
    const uint32_t rate = BaudRateOf(TECB_BaudRate->Text());
    const String port = TECB_ComPort->Text();
    main->Comm1->SetBaudRate(rate);
    main->Comm1->SetCommName(kDevicePrefix + port);
    const std::string ini = AppPath(kPortSettingsFile);
    if (!WritePrivateProfileString(kPortSection, kPortKey, port, ini) ||
        !WritePrivateProfileString(kPortSection, kBaudRateKey, UIntToStr(rate), ini))
        Application->MessageBox(String(kPortSettingsFile) + " cannot be written!", "",
                                MB_OK | MB_ICONWARNING);
    main->OpenPort();
}

}  // namespace tarvel
