#pragma once
// The tool's five windows made as the program makes them (the about box
// names the main window); the companions go again before the skin library
// stops.

#include <filesystem>
#include <string>

#include "app/About.h"
#include "app/Comm.h"
#include "app/GetHis.h"
#include "app/SeriNum.h"
#include "app/Startup.h"
#include "platform/system/ProfileFiles.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {

class ToolWindowsTest : public MainWindowTest {
protected:
    void TearDown() override {
        delete GetHisSet;
        delete SerialNum;
        delete AboutBox;
        delete CommForm;
        MainWindowTest::TearDown();
    }

    TMainForm* StartTool() {
        CreateToolWindows(*Application);
        form_ = MainForm;
        form_->Show();
        ui_.RunUntilIdle();
        return form_;
    }

    // Writes key=value into an ini file of the application folder.
    void WriteIni(const char* file, const char* section, const std::string& key, const std::string& value) {
        ASSERT_TRUE(WritePrivateProfileString(section, key, value, folder_.File(file)));
    }
};

}  // namespace tarvel::testing
