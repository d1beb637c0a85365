#include "app/Startup.h"

#include <string>

#include "app/About.h"
#include "app/Comm.h"
#include "app/GetHis.h"
#include "app/Main.h"
#include "app/SeriNum.h"
#include "platform/classlib/Application.h"

namespace tarvel {
namespace {
std::string commandLinePort;
}

void SetCommandLinePort(const char* path) { commandLinePort = path ? path : ""; }
const char* CommandLinePort() { return commandLinePort.c_str(); }

void CreateToolWindows(TApplication& app) {
    app.SetTitle(kAppName);
    app.CreateForm(MainForm);
    app.CreateForm(CommForm);
    app.CreateForm(AboutBox);
    app.CreateForm(SerialNum);
    app.CreateForm(GetHisSet);
}

int RunTool() {
    try {
        TApplication app(nullptr);
        app.Initialize();
        CreateToolWindows(app);
        app.Run();
    } catch (const Exception& e) {
        if (Application) Application->ShowException(e);
    } catch (...) {
        if (Application) Application->ShowException(Exception(""));
    }
    return 0;
}

}  // namespace tarvel
