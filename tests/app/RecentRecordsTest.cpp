// The recent-records dialog against the simulated module: the count checked,
// asked about, sent in the dialog's own frame, and the latest records shown
// in the history-alarm grid.

#include "tests/app/HistoryAlarmFixture.h"
#include "tests/telemetry/DeviceFixture.h"

namespace tarvel::testing {
namespace {

constexpr const char* kAsk =
    "Before not present data query success tips, please do not perform other queries!";
constexpr const char* kRange = "Read part of the records the number range of 0 ~ 256, please reset!";

class RecentRecordsTest : public HistoryAlarmTest {
protected:
    // Opens the dialog from the tab; `inside` runs while it shows. Whether
    // the dialog was still open after `inside`, before it is closed.
    bool InDialog(const std::function<void()>& inside) {
        bool open = false;
        ui_.WhenModal([&] {
            inside();
            open = ui_.ModalForm() == GetHisSet && GetHisSet->ModalResult() == mrNone;
            if (open) GetHisSet->Close();
        });
        ui_.Click(form_->GetanyHisAlarm);
        return open;
    }
    // Types the count and presses "Ensure", answering the question with `answer`.
    void Ensure(const String& count, int answer = mrYes) {
        GetHisSet->GetHisSetNum->SetText(count);
        ui_.AnswerNextBox(answer);
        ui_.Click(GetHisSet->GetHis1);
    }
};

TEST_F(RecentRecordsTest, TheLatestRecordsComeAsADownloadOfTheirOwn) {
    TMainForm* form = StartAlarms(12);
    EXPECT_FALSE(InDialog([&] {
        EXPECT_EQ(GetHisSet->Caption(), "Get Recent Records");
        EXPECT_EQ(GetHisSet->TeLabel1->Caption(), "Get Current ");
        EXPECT_EQ(GetHisSet->TeLabel2->Caption(), "Records");
        EXPECT_EQ(GetHisSet->GetHis1->Caption(), "Ensure");
        Ensure("5");
    }));
    ASSERT_TRUE(WaitUntil([&] { return form->DoneHisAlarm == 1; }));
    EXPECT_EQ(RequestsOf(CmdGetAnyHisAlarm), std::vector<Bytes>{Hex("00 00 05 01 2D 55 AA 05 37")});
    // The request is the dialog's own: nothing of the window's was awaited or built.
    EXPECT_EQ(LastCommand, 0);
    EXPECT_NE(form->TxFrame[4], CmdGetAnyHisAlarm);
    // Alarms 8 to 12 of the module's twelve, numbered from 1.
    EXPECT_EQ(Rows(), 6);
    EXPECT_EQ(Cell(0, 1), "1");
    EXPECT_EQ(Cell(1, 1), "2024-3-8 16:8:30 ");
    EXPECT_EQ(Cell(1, 5), "2024-3-12 10:12:30 ");
    EXPECT_EQ(NewBoxTexts(), (std::vector<String>{kAsk, "Get Alarm Records Success!"}));

    // The dialog keeps the count typed last; none asks for no record at all.
    form->DoneHisAlarm = 0;
    EXPECT_FALSE(InDialog([&] {
        EXPECT_EQ(GetHisSet->GetHisSetNum->Text(), "5");
        Ensure("0");
    }));
    ASSERT_TRUE(WaitUntil([&] { return form->DoneHisAlarm == 1; }));
    EXPECT_EQ(RequestsOf(CmdGetAnyHisAlarm).back(), Hex("00 00 05 01 2D 55 AA 00 32"));
    EXPECT_EQ(Rows(), 1);
    EXPECT_EQ(NewBoxTexts(), (std::vector<String>{kAsk, "Get Alarm Records Success!"}));
    EXPECT_EQ(Buttons(), std::vector<bool>(5, true));
}

TEST_F(RecentRecordsTest, RefusedCountsKeepTheDialogOpenAndSendNothing) {
    const struct {
        const char* count;
        TMsgDlgType type;
        const char* message;
    } cases[] = {
        {"256", mtCustom, kRange},
        {"-1", mtCustom, kRange},
        {"1000", mtCustom, kRange},
        {"", mtError, "Get Current: '' is not a valid integer value."},
        {"5x", mtError, "Get Current: '5x' is not a valid integer value."},
    };
    StartAlarms(12);
    for (const auto& c : cases) {
        SCOPED_TRACE(std::string("count '") + c.count + "'");
        EXPECT_TRUE(InDialog([&] {
            GetHisSet->GetHisSetNum->SetText(c.count);
            ui_.Click(GetHisSet->GetHis1);
        }));
        const std::vector<TBoxRecord> boxes = NewBoxes();
        ASSERT_EQ(boxes.size(), 1u);
        EXPECT_EQ(boxes[0].type, c.type);
        EXPECT_EQ(boxes[0].text, c.message);
    }
    EXPECT_TRUE(RequestsOf(CmdGetAnyHisAlarm).empty());
}

TEST_F(RecentRecordsTest, NoOrTheCloseButtonSendsNothing) {
    StartAlarms(12);
    EXPECT_TRUE(InDialog([&] {
        Ensure("7", mrNo);
        EXPECT_EQ(GetHisSet->GetHisSetNum->Text(), "7");
    }));
    EXPECT_EQ(NewBoxTexts(), std::vector<String>{kAsk});
    EXPECT_TRUE(InDialog([] {}));
    EXPECT_TRUE(NewBoxes().empty());
    ui_.RunUntilIdle();
    EXPECT_TRUE(RequestsOf(CmdGetAnyHisAlarm).empty());
    EXPECT_EQ(Cell(0, 1), "");
}

TEST_F(RecentRecordsTest, WithoutALoginTheDialogDoesNotOpen) {
    StartAlarms(12, false, false);
    bool opened = false;
    ui_.WhenModal([&] { opened = true; });
    ui_.Click(form_->GetanyHisAlarm);
    EXPECT_FALSE(opened);
    EXPECT_EQ(Trim(InfoLine()), "Please login frist!");
    EXPECT_EQ(InfoColor(), kFailureColor);
}

}  // namespace
}  // namespace tarvel::testing
