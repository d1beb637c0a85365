#pragma once
// The module detail window: the stored reading of one parallel module,
// opened from its tile.

#include <array>
#include <string>

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Gauges.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/core/te_engine.h"
#include "skin/forms/te_forms_frame.h"
#include "telemetry/TelemetryRecord.h"

namespace tarvel {

class TSerialNum : public TForm {
    TARVEL_CLASS(TSerialNum, TForm)

public:
    explicit TSerialNum(TComponent* owner);
    ~TSerialNum() override;

    void FormCreate(TObject* sender);
    // The grid's titles and the English captions.
    void PanelInit();
    // Fills the window from module `module`'s (1..64) last reading and shows
    // it modally; returns when it is closed.
    void ShowModule(int module, const ModuleReading& reading, const String& serialNumber);
    // The same without showing: what the window will show.
    void FillModule(int module, const ModuleReading& reading, const String& serialNumber);
    void SN_SaveDataClick(TObject* sender);

    TTeThemeLink* TeThemeLink1 = nullptr;
    TTeForm* TeForm1 = nullptr;
    TTeStringGrid* SG_TSBS = nullptr;
    TTeGroupBox* TeGroupBox3 = nullptr;  // "Alarm/Prot State"
    TTeGroupBox* TeGroupBox1 = nullptr;  // "Fail State"
    TTeGroupBox* TeGroupBox5 = nullptr;  // "Others"
    TTeGroupBox* TeGroupBox4 = nullptr;  // "Battery State"
    TTeGroupBox* TeGroupBox2 = nullptr;  // the balance lamps, never shown
    TGauge* TSBS_BatRunState = nullptr;
    TGauge* BatPositiveCG = nullptr;
    TTeButton* SN_SaveData = nullptr;  // never shown
    // Lamps by row: the alarm and protection lamps of "Alarm/Prot State"
    // (two hidden for bit 4 at the end), fail lamps by bit, Others by bit,
    // balance by cell, and the four battery-state lamps.
    std::array<TShape*, 19> AlarmLamps{};
    std::array<TShape*, 19> ProtectionLamps{};
    std::array<TShape*, 9> FailLamps{};
    std::array<TShape*, 5> OthersLamps{};
    std::array<TShape*, 16> BalanceLamps{};
    std::array<TShape*, 4> StateLamps{};  // Charge, Discharge, Full, Idle
};

extern TSerialNum* SerialNum;

}  // namespace tarvel
