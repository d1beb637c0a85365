#pragma once
// The port-settings dialog: the port and the baud rate the tool opens the
// serial line with. Its button stores both in "ParaSeting.ini" and opens the
// port with them. The line format (8 data bits, no parity, 1 stop bit) is
// fixed; its three combos only show it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/classlib/Forms.h"
#include "skin/extras/te_extended_label.h"
#include "skin/extras/te_extra_effect_button.h"
#include "skin/extras/te_extra_effect_group.h"
#include "skin/forms/te_forms_frame2.h"

namespace tarvel {

class TCommForm : public TForm {
    TARVEL_CLASS(TCommForm, TForm)

public:
    explicit TCommForm(TComponent* owner);
    ~TCommForm() override;

    void FormCreate(TObject* sender);
    // Puts the ports in the port list and shows `selected` in the combo.
    void FillPortList(const std::vector<std::string>& ports, const std::string& selected);
    // "Confirm": stores the port and rate and (re)opens the port with them.
    void TeEffectButton1Click(TObject* sender);

    TTeForm2* TeForm1 = nullptr;
    TTeEffectGroupBox* TeEffectGroupBox1 = nullptr;
    TTeAdvancedLabel* TAL_ComPort = nullptr;
    TTeAdvancedLabel* TAL_BaudRate = nullptr;
    TTeAdvancedLabel* TAL_DataBits = nullptr;
    TTeAdvancedLabel* TAL_Parity = nullptr;
    TTeAdvancedLabel* TAL_StopBits = nullptr;
    TTeEffectComboBox* TECB_ComPort = nullptr;
    TTeEffectComboBox* TECB_BaudRate = nullptr;
    TTeEffectComboBox* TECB_DataBits = nullptr;
    TTeEffectComboBox* TECB_Parity = nullptr;
    TTeEffectComboBox* TECB_StopBits = nullptr;
    TTeEffectButton* TeEffectButton1 = nullptr;
};

extern TCommForm* CommForm;

// The section and keys of the port settings in "ParaSeting.ini".
inline constexpr const char* kPortSettingsFile = "ParaSeting.ini";
inline constexpr const char* kPortSection = "CommSeting";
inline constexpr const char* kPortKey = "commset";
inline constexpr const char* kBaudRateKey = "baudrate";
// The device-namespace prefix the stored port names are opened under.
inline constexpr const char* kDevicePrefix = "//./";
// Stored port names are device paths, so the buffer they are read into is a path's.
inline constexpr size_t kPortNameSize = 4096;

// The serial ports for the port list: the stable /dev/serial/by-id links
// first, then USB adapters, modems and on-board ports, then `inUse` (a device
// path) when it is none of them, whatever it is (a pseudo-terminal, a port
// unplugged). The roots are for tests.
std::vector<std::string> PortListForDialog(const std::string& inUse, const std::string& devRoot = "/dev",
                                           const std::string& sysRoot = "/sys");

// A rate that can be used: 9600 for one that is not positive (a rate of 0
// would hang the line up).
uint32_t UsableBaudRate(int32_t rate);
// A rate as typed: its decimal value, 9600 for anything that is not a
// positive number.
uint32_t BaudRateOf(std::string_view text);

}  // namespace tarvel
