#pragma once
// The tool's pages and files as a person meets them on Xvfb: a page opened
// by clicking its tab, the port opened and the module logged in from the
// tool bar, the open and save dialogs answered by typing a path into them
// and clicking their button, and what the tool wrote read back.

#include <fstream>
#include <iterator>
#include <string>

#include "tests/CsvReader.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {

class ToolPagesOnX11 : public ToolOnX11 {
protected:
    // Clicks the tab of that page of PC_All, where a person would, and waits
    // until the page is in front.
    bool ClickTab(TTeTabSheet* sheet) {
        TTePageControl* pages = MainForm->PC_All;
        const int tab = pages->GetTabIndexFromPageIndex(sheet->PageIndex());
        const TRect r = pages->GetTabRect(tab);
        if (tab < 0 || r.Width() <= 0) {
            ADD_FAILURE() << sheet->Name() << " has no tab showing";
            return false;
        }
        if (!Click(pages, TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2})) return false;
        const bool shown = Await([&] { return pages->GetActivePage() == sheet; });
        if (!shown)
            ADD_FAILURE() << "the click on the tab of " << sheet->Name() << " did not bring it in front";
        Settle(MainForm->Handle());
        return shown;
    }

    // Clicks a cell of the grid and types over it, Enter ending the edit.
    bool TypeIntoCell(TStringGrid* grid, int col, int row, const String& text) {
        const TRect cell = grid->CellRect(col, row);
        if (!Click(grid, TPoint{cell.left + cell.Width() / 2, cell.top + cell.Height() / 2})) return false;
        return Type(text) && Key("Return");
    }

    // Opens the port and logs in with the tool bar's buttons.
    void OpenAndLogIn() {
        ASSERT_TRUE(Click("TB_COMSwitch"));
        ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; })) << InfoLine();
        ASSERT_TRUE(Click("TB_LOG"));
        ASSERT_TRUE(Await([] { return MainForm->LoggedIn != 0; })) << InfoLine();
    }

    // The next modal window is the open or save dialog: `path` is typed as
    // its file name and its button clicked. The dialog's title is kept.
    void AnswerFileDialog(const std::string& path, const std::string& shot = {}) {
        WhenModal(
            [this, path](TCustomForm* dialog) {
                dialogTitles.push_back(dialog->Caption());
                TControl* name = Control(dialog, "FileName");
                TControl* ok = Control(dialog, "OK");
                if (!name || !ok || !TypeInto(name, path) || !Click(ok)) dialog->SetModalResult(mrCancel);
            },
            shot);
    }

    // The whole file, or empty when there is none.
    static std::string ReadFileText(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), {});
    }

    std::vector<String> dialogTitles;
};

}  // namespace tarvel
