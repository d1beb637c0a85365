// Any bytes as the tool's record files: byte 0 as "Version.dat" (the product
// variant), the rest as "ParaRecord.dat" (the polling set-up), each taken up
// by the window that uses it: the calibration table, the check values and
// the initial protection values of the variant; the set-up's check boxes and
// periods, and the poll clock running a poll over it.
#include <cstdint>
#include <cstdlib>
#include <span>

#include "tests/app/FuzzWindow.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testing::FuzzWindow* world = new testing::FuzzWindow("fuzz_app_records");
    if (size == 0) return 0;
    const auto here = world->InFolder();
    TMainForm* form = world->form;

    form->ProductVariant = data[0];
    form->LoadCurrentCalibrationTable();
    form->LoadAutoCheckValues();
    form->PM_LoadBMSClick(nullptr);

    const std::span<const uint8_t> record(data + 1, size - 1);
    form->ParaRecord = ParaRecordFromBytes(record, PollingRecord{});
    form->ShowModuleSelection();
    for (int i = 0; i < kModuleCount; ++i)
        if (form->ModuleChecks[i] &&
            form->ModuleChecks[i]->Checked() != (form->ParaRecord.ModuleSelected[i] != 0))
            std::abort();

    // Two seconds of the poll clock over the set-up, polling on.
    form->PC_All_Query->SetChecked(true);
    form->PollStartPending = 1;
    form->TsbsStartPending = 1;
    form->TSBS_CycQuery->SetChecked(true);
    for (int tick = 0; tick < 200; ++tick) form->PollTick();
    form->PC_All_Query->SetChecked(false);
    form->TSBS_CycQuery->SetChecked(false);
    form->RequestBusy = 0;
    form->PollInProgress = 0;
    form->TsbsQueryInProgress = 0;
    world->Settle();
    return 0;
}
