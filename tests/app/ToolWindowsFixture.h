#pragma once
// The main window made as in MainWindowTest, followed by the companion
// windows the program makes after it (the about box names the main window),
// which go again before the skin library stops.

#include <filesystem>
#include <string>

#include "app/About.h"
#include "app/GetHis.h"
#include "app/SeriNum.h"
#include "platform/system/ProfileFiles.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {

class ToolWindowsTest : public MainWindowTest {
protected:
    void TearDown() override {
        delete GetHisSet;
        delete SerialNum;
        delete AboutBox;
        MainWindowTest::TearDown();
    }

    TMainForm* StartTool() {
        TMainForm* form = Start();
        Application->CreateForm(AboutBox);
        Application->CreateForm(SerialNum);
        Application->CreateForm(GetHisSet);
        ui_.RunUntilIdle();
        return form;
    }

    // Writes key=value into an ini file of the application folder.
    void WriteIni(const char* file, const char* section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileString(section, key, value, folder_.File(file)));
    }
};

}  // namespace tarvel::testing
