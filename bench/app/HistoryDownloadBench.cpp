// A full history download of 1,000 alarm records from the simulated module,
// its bytes paced at 9600 baud, from the request to the filled grid, set
// against the time its replies take on the wire. It runs in real time for
// about a minute and a half, so once.
#include <benchmark/benchmark.h>

#include <chrono>
#include <filesystem>
#include <fstream>
#include <string>
#include <thread>

#include "app/Main.h"
#include "app/Startup.h"
#include "platform/base/Paths.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/TempFolderFixture.h"
#include "tools/bms-sim/SimLink.h"

using namespace tarvel;

namespace {

constexpr uint32_t kBaud = 9600;
constexpr uint16_t kRecords = 1000;
constexpr size_t kReplyBytes = 437;  // five 84-byte records a reply

void BM_FullHistoryDownloadAt9600Baud(benchmark::State& state) {
    tarvel::testing::TempFolder folder;
    const auto previous = std::filesystem::current_path();
    std::filesystem::current_path(folder.Path());
    SetApplicationFolder(folder.Path().string());
    // The record files of an earlier run, so that no box about them waits.
    std::ofstream(folder.File("ParaRecord.dat"), std::ios::binary) << std::string(264, '\0');
    std::ofstream(folder.File("Version.dat"), std::ios::binary) << std::string(1, '\0');

    sim::SimConfig config;
    config.baud = kBaud;
    sim::SimLink line(config);
    if (!line.Start()) {
        state.SkipWithError(line.Error().c_str());
        return;
    }
    line.Sim().UpdateModule(0, [](sim::ModuleState& m) {
        m.records.alarms = kRecords;
        m.loggedIn = true;
    });
    SetCommandLinePort(line.DevicePath().c_str());
    {
        TUiDriver ui{TSize{1280, 1024}};
        InitSkinLibrary();
        TMainForm* form = nullptr;
        Application->SetTitle(kAppName);
        Application->CreateForm(form);
        form->Show();
        form->BindHisAlarmHandlers();
        form->PC_All->SetActivePage(form->TS_HisAlarm);
        ui.RunUntilIdle();
        form->KillPollTimer();
        if (!form->OpenPort()) state.SkipWithError("the port did not open");
        form->LoggedIn = 1;
        form->ExportRunning = 1;  // no success box to answer

        double seconds = 0;
        for (auto _ : state) {
            form->DoneHisAlarm = 0;
            const auto start = std::chrono::steady_clock::now();
            form->RequestAllHisAlarms();
            const auto limit = start + std::chrono::minutes(3);
            while (form->DoneHisAlarm == 0 && std::chrono::steady_clock::now() < limit) {
                ui.RunUntilIdle();
                std::this_thread::sleep_for(std::chrono::milliseconds(1));
            }
            seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
        }
        if (form->DoneHisAlarm != 1 || form->SG_HisAlarm->Cells(0, kRecords) != std::to_string(kRecords))
            state.SkipWithError("the download did not fill the grid");

        const double wireSeconds = (kRecords / 5) * kReplyBytes * 10.0 / kBaud;
        state.counters["wire_s"] = wireSeconds;
        // The goal: at most 1.10.
        state.counters["to_wire_time"] = seconds / static_cast<double>(state.iterations()) / wireSeconds;
        delete form;
        ui.RunUntilIdle();
        DoneSkinLibrary();
    }
    line.Stop();
    SetCommandLinePort("");
    SetApplicationFolder("");
    std::filesystem::current_path(previous);
}
BENCHMARK(BM_FullHistoryDownloadAt9600Baud)->Unit(benchmark::kSecond)->Iterations(1)->UseRealTime();

}  // namespace
