// The main window wearing the tool's skin: from nothing to its first painted
// picture on a real X server (an Xvfb of its own), a full repaint, and the
// GUI thread's work for one telemetry reply - from the received chunk
// through the check, the grid, the lamps and the gauge to the CSV line and
// the database row.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <memory>
#include <string>
#include <vector>

#include "app/Main.h"
#include "app/Startup.h"
#include "link/CommandTable.h"
#include "link/DeviceFrame.h"
#include "platform/base/Paths.h"
#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/testing/UiDriver.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/PaintApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tools/bms-sim/ModuleState.h"
#include "tools/bms-sim/SimFrame.h"

using namespace tarvel;
namespace fs = std::filesystem;

namespace {

// A fresh folder with the skin and the record files of an earlier run (so no
// box waits for a person), made the application and the current folder.
class ToolFolder {
public:
    ToolFolder() {
        std::string pattern = (fs::temp_directory_path() / "tarvel_bench_app_XXXXXX").string();
        path_ = ::mkdtemp(pattern.data());
        fs::create_directories(path_ / "res/theme");
        fs::copy_file(fs::path(TARVEL_BINARY_DIR) / "res/theme/dara.mskn", path_ / "res/theme/dara.mskn");
        std::ofstream(path_ / "ParaRecord.dat", std::ios::binary) << std::string(264, '\0');
        std::ofstream(path_ / "Version.dat", std::ios::binary) << std::string(1, '\0');
        previous_ = fs::current_path();
        fs::current_path(path_);
        SetApplicationFolder(path_.string());
    }
    ~ToolFolder() {
        SetApplicationFolder("");
        fs::current_path(previous_);
        std::error_code ignored;
        fs::remove_all(path_, ignored);
    }

private:
    fs::path path_, previous_;
};

// The main window on the headless backend, shown, its clock stopped so the
// 10 ms poll does not run between iterations.
struct HeadlessTool {
    ToolFolder folder;
    TUiDriver ui{TSize{1280, 1024}};
    TMainForm* form = nullptr;

    HeadlessTool() {
        InitSkinLibrary();
        Application->SetTitle(kAppName);
        Application->CreateForm(form);
        form->Show();
        ui.RunUntilIdle();
        form->KillPollTimer();
    }
    ~HeadlessTool() {
        delete form;
        ui.RunUntilIdle();
        DoneSkinLibrary();
    }
};

void BM_MainWindowFullRepaint(benchmark::State& state) {
    HeadlessTool tool;
    tool.form->PC_All->SetActivePage(tool.form->TS_TSBS);
    tool.ui.RunUntilIdle();
    for (auto _ : state) {
        RedrawWindow(tool.form->Handle(), nullptr, nullptr,
                     RDW_INVALIDATE | RDW_ERASE | RDW_FRAME | RDW_ALLCHILDREN | RDW_UPDATENOW);
    }
}
BENCHMARK(BM_MainWindowFullRepaint)->Unit(benchmark::kMillisecond);

void BM_TelemetryReplyOnTheGuiThread(benchmark::State& state) {
    HeadlessTool tool;
    tool.form->PC_All->SetActivePage(tool.form->TS_TSBS);
    tool.ui.RunUntilIdle();
    sim::ModuleState module = sim::ModuleState::Make(0);
    const sim::Bytes reply = sim::MakeReply(0, ReplyCode(CmdQuerySbs), 0, module.EncodeTelemetry());
    tool.form->LoggedIn = 1;
    for (auto _ : state) {
        LastCommand = CmdQuerySbs;
        tool.form->Comm1ReceiveData(reply.data(), static_cast<uint16_t>(reply.size()), GetTickCount());
        // What the reply made dirty is painted too.
        UpdateWindow(tool.form->Handle());
        tool.ui.RunUntilIdle();
    }
    if (tool.form->DoneTsbs != 1) state.SkipWithError("the reply was not shown");
    // A failed insert would have taken the info line.
    if (tool.form->L_Info->Caption().find("Succeed") == String::npos)
        state.SkipWithError("the reading was not stored");
    // Each reading became a CSV line (the database row comes with it).
    std::ifstream csv("DataAccess/NoModule.csv", std::ios::binary);
    int64_t lines = 0;
    for (std::string line; std::getline(csv, line);) ++lines;
    state.counters["csv_lines_per_reply"] =
        static_cast<double>(lines - 1) / static_cast<double>(state.iterations());
}
BENCHMARK(BM_TelemetryReplyOnTheGuiThread)->Unit(benchmark::kMillisecond);

// One step of the parallel poll with 64 modules and its answer: the tiles
// recoloured, the answer stored (tile, CSV line, database row) and what
// changed painted, all on the GUI thread.
void BM_PollAnswerWith64Tiles(benchmark::State& state) {
    HeadlessTool tool;
    TMainForm* form = tool.form;
    form->ModeSwitchClick(nullptr);
    form->ParaRecord.ModuleSelected.fill(1);
    form->ParaRecord.MultiPeriodSec = 1;
    auto execute = std::move(form->PC_All_Query->OnClick);
    form->PC_All_Query->SetChecked(true);
    form->PC_All_Query->OnClick = std::move(execute);
    form->PC_All->SetActivePage(form->TS_RunState);
    tool.ui.RunUntilIdle();
    std::vector<sim::Bytes> replies;
    for (uint8_t k = 1; k <= kModuleCount; ++k) {
        sim::ModuleState module = sim::ModuleState::Make(k);
        module.telemetry.battState = static_cast<uint16_t>(k % 5);
        module.telemetry.soc = k;
        replies.push_back(sim::MakeReply(k, ReplyCode(CmdQuerySbs), 0, module.EncodeTelemetry()));
    }
    int64_t stored = 0;
    for (auto _ : state) {
        form->PollDue = 1;
        form->PollTick();
        const sim::Bytes& reply = replies[static_cast<size_t>(form->PollIndex)];
        form->Comm1ReceiveData(reply.data(), static_cast<uint16_t>(reply.size()), GetTickCount());
        stored += form->PolledModuleAnswered;
        UpdateWindow(form->Handle());
        tool.ui.RunUntilIdle();
    }
    if (stored != state.iterations()) state.SkipWithError("not every answer was stored");
}
BENCHMARK(BM_PollAnswerWith64Tiles)->Unit(benchmark::kMillisecond);

// From the application object to the main window's first picture on the
// display, then torn down again.
void BM_StartToFirstPaintedMainWindow(benchmark::State& state) {
    static bool xvfb = [] {
        std::string why;
        return StartXvfb(why);
    }();
    if (!xvfb) {
        state.SkipWithError("Xvfb cannot start");
        return;
    }
    ToolFolder folder;
    std::string error;
    auto backend = SdlBackend::Open("x11", &error);
    if (!backend) {
        state.SkipWithError(error.c_str());
        return;
    }
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    InitSkinLibrary();
    for (auto _ : state) {
        auto app = std::make_unique<TApplication>(nullptr);
        app->SetTitle(kAppName);
        app->CreateForm(MainForm);
        MainForm->Show();
        const uint32_t start = GetTickCount();
        while (!sdl->WindowPixels(MainForm->Handle()) && GetTickCount() - start < 5000)
            app->ProcessMessages();
        state.PauseTiming();
        MainForm->KillPollTimer();
        app.reset();
        state.ResumeTiming();
    }
    DoneSkinLibrary();
    ShutdownWindowSystem();
}
BENCHMARK(BM_StartToFirstPaintedMainWindow)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

// The mode switch as the tool-bar button makes it, both ways, until the new
// page is painted: into the parallel view, and back with its box answered Yes.
void SwitchAndPaint(HeadlessTool& tool) {
    tool.form->ModeSwitchClick(nullptr);
    UpdateWindow(tool.form->Handle());
    tool.ui.RunUntilIdle();
}

void BM_ModeSwitchToParallel(benchmark::State& state) {
    HeadlessTool tool;
    for (auto _ : state) {
        SwitchAndPaint(tool);
        state.PauseTiming();
        tool.ui.AnswerNextBox(mrYes);
        SwitchAndPaint(tool);
        state.ResumeTiming();
    }
    if (tool.form->MultiModuleMode != 0) state.SkipWithError("the switch back did not happen");
}
BENCHMARK(BM_ModeSwitchToParallel)->Unit(benchmark::kMillisecond);

void BM_ModeSwitchToSingle(benchmark::State& state) {
    HeadlessTool tool;
    for (auto _ : state) {
        state.PauseTiming();
        SwitchAndPaint(tool);
        tool.ui.AnswerNextBox(mrYes);
        state.ResumeTiming();
        SwitchAndPaint(tool);
    }
    if (tool.form->MultiModuleMode != 0) state.SkipWithError("the switch back did not happen");
}
BENCHMARK(BM_ModeSwitchToSingle)->Unit(benchmark::kMillisecond);
