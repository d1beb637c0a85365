#pragma once
// What the tool needs running before its first window: the skin library's
// units, started in the order they build on one another, and stopped in
// reverse. The program entry and the tests share it.

namespace tarvel {

class TApplication;

void InitSkinLibrary();
void DoneSkinLibrary();

// Runs the tool on the window system already installed: the application
// object, its title, the five windows in order, the message loop. An escaped
// exception goes to the standard error box. Answers the exit code.
int RunTool();
// The application's title and its five windows, in the order the program
// makes them: the main window first, so it is the main form.
void CreateToolWindows(TApplication& app);

// The port given on the command line for this run ("" for none); it
// overrides the stored port setting.
void SetCommandLinePort(const char* path);
const char* CommandLinePort();

}  // namespace tarvel
