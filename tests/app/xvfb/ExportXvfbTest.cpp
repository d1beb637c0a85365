// The daily-record page after a download and the export page while an export
// runs and after it, under Xvfb on a simulated module that keeps a year of
// daily records.

#include <atomic>
#include <thread>

#include "platform/classlib/DialogService.h"
#include "platform/winsys/GuiTasks.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

// Every box answered Yes (or OK) at once, so none waits for a person.
class YesToEveryBox : public TDialogService {
public:
    int ShowBox(const TBoxRequest& request) override {
        texts.push_back(request.text);
        return request.buttons.Contains(mbYes) ? mrYes : mrOk;
    }
    bool InputQuery(const String&, const String&, String&) override { return false; }
    bool ChooseFile(TFileRequest&) override { return false; }
    std::vector<String> texts;
};

class ExportOnX11 : public ToolOnX11 {
protected:
    void SetUp() override {
        ToolOnX11::SetUp();
        if (!line) return;
        line->Sim().UpdateModule(0, [](sim::ModuleState& m) {
            m.records.days = 300;
            m.records.alarms = 60;
        });
        previousDialogs = SetDialogService(&boxes);
    }
    void TearDown() override {
        if (watcher.joinable()) watcher.join();
        SetDialogService(previousDialogs);
        ToolOnX11::TearDown();
    }
    bool Requested(uint8_t code) {
        for (const auto& request : line->Sim().Requests())
            if (request.size() > 4 && request[4] == code) return true;
        return false;
    }

    YesToEveryBox boxes;
    TDialogService* previousDialogs = nullptr;
    std::thread watcher;
};

TEST_F(ExportOnX11, DailyRecordPageAndExportPage) {
    Application->SetTitle(kAppName);
    Application->CreateForm(MainForm);
    MainForm->BindDailyExportHandlers();
    MainForm->Show();
    Settle(MainForm->Handle());
    MainForm->TB_COMSwitchClick(nullptr);
    ASSERT_TRUE(MainForm->PortOpen);
    MainForm->TB_LOGClick(nullptr);
    ASSERT_TRUE(RunUntil([] { return MainForm->LoggedIn != 0; }));

    MainForm->PC_All->SetActivePage(MainForm->TeTabSheet2);
    MainForm->TeButton17->Click();
    ASSERT_TRUE(RunUntil([] { return MainForm->DoneDaily != 0; }));
    EXPECT_EQ(MainForm->RunState->RowCount(), 301);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-daily-records-page.png"));

    // Pictured from inside the export's wait, once the alarm download is on
    // its way and the bar has moved.
    // However long a loaded machine takes to get there: the watch ends only
    // with the export.
    bool saved = false;
    std::atomic<bool> exportEnded{false};
    watcher = std::thread([&] {
        while (!Requested(0x19)) {
            if (exportEnded) return;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
        }
        PostGuiTask([&] {
            RunUntil([] { return MainForm->TeProgressBar1->Position() >= 10; }, 3000);
            Settle(MainForm->Handle());
            saved = Save(MainForm, "tool-export-running.png");
        });
    });
    MainForm->PC_All->SetActivePage(MainForm->TeTabSheet1);
    MainForm->TeButton16->Click();
    exportEnded = true;
    EXPECT_TRUE(saved);
    EXPECT_EQ(MainForm->Label65->Caption(), "Get ALL Data Success !");
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-export-done.png"));
    ASSERT_FALSE(boxes.texts.empty());
    EXPECT_EQ(boxes.texts.back(), "Get ALL Data Success!");
}

}  // namespace
}  // namespace tarvel
