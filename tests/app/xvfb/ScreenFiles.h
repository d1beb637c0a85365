#pragma once
// The tool's files as a person meets them on Xvfb: the open and save dialogs answered by typing a path into
// them and clicking their button, and what the tool wrote read back.

#include <fstream>
#include <iterator>
#include <string>

#include "tests/CsvReader.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {

class ToolPagesOnX11 : public ToolOnX11 {
protected:
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
