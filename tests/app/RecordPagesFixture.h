#pragma once
// The daily-record and export pages against the simulated module: the
// window bound, the port open on the module and logged in.

#include <string>
#include <vector>

#include "platform/base/Paths.h"
#include "tests/app/LinkFixture.h"

namespace tarvel::testing {

class RecordPagesTest : public LinkTest {
protected:
    TMainForm* StartRecords(TTeTabSheet* TMainForm::*page) {
        TMainForm* form = StartLinked();
        form->BindDailyExportHandlers();
        form->PC_All->SetActivePage(form->*page);
        EXPECT_TRUE(form->OpenPort()) << LastBoxText();
        form->TB_LOG->Click();
        EXPECT_TRUE(WaitUntil([&] { return form->LoggedIn == 1; }));
        Module().ClearRequests();
        boxes_ = ui_.Boxes().size();
        return form;
    }

    void StockDays(uint16_t days) {
        Module().UpdateModule(kModuleAddress, [days](sim::ModuleState& m) { m.records.days = days; });
    }

    // The texts of the boxes shown since the start, or since the last call.
    std::vector<String> TakeBoxTexts() {
        std::vector<String> texts;
        for (size_t i = boxes_; i < ui_.Boxes().size(); ++i) texts.push_back(ui_.Boxes()[i].text);
        boxes_ = ui_.Boxes().size();
        return texts;
    }

    // The codes of the requests the module received.
    std::vector<uint8_t> RequestCodes() {
        std::vector<uint8_t> codes;
        for (const Bytes& request : Module().Requests()) codes.push_back(request.size() > 4 ? request[4] : 0);
        return codes;
    }

    std::vector<String> Row(TStringGrid* grid, int row, int columns) {
        std::vector<String> cells;
        for (int col = 0; col < columns; ++col) cells.push_back(ui_.CellText(grid, col, row));
        return cells;
    }

    // The file's lines, each checked to end with CR LF.
    static std::vector<std::string> CrLfLines(const std::string& path) {
        const std::string text = ReadFileText(path);
        std::vector<std::string> lines;
        size_t start = 0;
        while (start < text.size()) {
            const size_t end = text.find("\r\n", start);
            EXPECT_NE(end, std::string::npos) << "a line without CR LF: " << text.substr(start);
            if (end == std::string::npos) break;
            lines.push_back(text.substr(start, end - start));
            start = end + 2;
        }
        return lines;
    }

    size_t boxes_ = 0;
};

}  // namespace tarvel::testing
