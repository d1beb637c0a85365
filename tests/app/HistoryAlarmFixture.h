#pragma once
// The history-alarm tab against the simulated module: its buttons bound, the
// recent-records dialog made, the module stocked with alarm records in the
// layout of its firmware, the port open and the module logged in.

#include <fstream>
#include <iterator>
#include <string>
#include <vector>

#include "app/GetHis.h"
#include "tests/app/LinkFixture.h"

namespace tarvel::testing {

class HistoryAlarmTest : public LinkTest {
protected:
    TMainForm* StartAlarms(uint16_t alarms, bool shortRecords = false, bool login = true) {
        TMainForm* form = StartLinked();
        form->BindHisAlarmHandlers();
        if (!GetHisSet) new TGetHisSet(form);  // goes with the window
        Module().UpdateModule(kModuleAddress, [&](sim::ModuleState& m) {
            m.records.alarms = alarms;
            // The older firmware keeps the short calibration block and 80-byte records.
            if (shortRecords) m.kb.resize(58);
        });
        form->PC_All->SetActivePage(form->TS_HisAlarm);
        OpenAndLogIn(login);
        boxes_ = ui_.Boxes().size();
        return form;
    }

    // "Get all Records", answered Yes, until the download has ended.
    void DownloadAll() {
        form_->DoneHisAlarm = 0;
        ui_.AnswerNextBox(mrYes);
        ui_.Click(form_->GetHisAlarm);
        ASSERT_TRUE(WaitUntil([&] { return form_->DoneHisAlarm == 1; }));
    }

    // The boxes shown since the start, or since the last call.
    std::vector<TBoxRecord> NewBoxes() {
        std::vector<TBoxRecord> shown(ui_.Boxes().begin() + static_cast<std::ptrdiff_t>(boxes_),
                                      ui_.Boxes().end());
        boxes_ = ui_.Boxes().size();
        return shown;
    }
    std::vector<String> NewBoxTexts() {
        std::vector<String> texts;
        for (const TBoxRecord& box : NewBoxes()) texts.push_back(box.text);
        return texts;
    }

    String Cell(int col, int row) { return ui_.CellText(form_->SG_HisAlarm, col, row); }
    int Rows() { return form_->SG_HisAlarm->RowCount(); }

    // Each text of the grid within its column, with the cell's inset.
    void ExpectEveryTextWhole() {
        TStringGrid& grid = *form_->SG_HisAlarm;
        for (int col = 0; col < grid.ColCount(); ++col)
            for (int row = 0; row < grid.RowCount(); ++row)
                EXPECT_LE(grid.Canvas()->TextWidth(grid.Cells(col, row)), grid.ColWidths(col) - 4)
                    << grid.Cells(col, row);
    }

    // The five buttons of the tab, each enabled (true) or not.
    std::vector<bool> Buttons() {
        std::vector<bool> enabled;
        for (TControl* button : {form_->GetHisAlarm, form_->GetanyHisAlarm, form_->ClearLookData,
                                 form_->SaveHisAlarm, form_->ClearHisAlarm})
            enabled.push_back(button->Enabled());
        return enabled;
    }

    // The requests of `code` the module has received.
    std::vector<Bytes> RequestsOf(uint8_t code) {
        std::vector<Bytes> found;
        for (const Bytes& request : Module().Requests())
            if (request.size() > 4 && request[4] == code) found.push_back(request);
        return found;
    }

    static std::string FileBytes(const std::string& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    static std::string Fixture(const std::string& name) {
        return FileBytes(std::string(TARVEL_SOURCE_DIR) + "/tests/fixtures/app/" + name);
    }

    size_t boxes_ = 0;
};

}  // namespace tarvel::testing
