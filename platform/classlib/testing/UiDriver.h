#pragma once
// The UI driver of the tests. It brings up the window system on the headless
// backend with its test clock, an application object and a scripted dialog
// service, and drives real windows: it finds controls by name, clicks them
// through real mouse messages at their centre, types into the focused
// control, picks list items and grid cells, reads what controls show, and
// dumps a form's control tree.

#include <functional>
#include <memory>
#include <stdexcept>
#include <string>
#include <vector>

#include "platform/classlib/Application.h"
#include "platform/classlib/UiAccess.h"
#include "platform/classlib/testing/ScriptedDialogs.h"
#include "platform/winsys/headless/HeadlessBackend.h"

namespace tarvel {

// Something the test asked for that the UI does not have (a control that
// does not exist or is not showing, an item that is not in the list).
class EUiDriverError : public Exception {
public:
    using Exception::Exception;
};

class TUiDriver {
public:
    explicit TUiDriver(TSize screen = TSize{1024, 768});
    ~TUiDriver();
    TUiDriver(const TUiDriver&) = delete;
    TUiDriver& operator=(const TUiDriver&) = delete;

    HeadlessBackend& Backend() { return *backend_; }
    TScriptedDialogs& Dialogs() { return dialogs_; }

    // ---- finding ----
    // The component of that name owned by `root` or by any component it owns
    // (any case); raises EUiDriverError when there is none.
    TComponent* FindComponent(TComponent* root, const String& name);
    TControl* Find(TComponent* root, const String& name);
    template <class T>
    T* Find(TComponent* root, const String& name) {
        T* found = dynamic_cast<T*>(Find(root, name));
        if (!found) throw EUiDriverError(name + " is not a " + T::StaticClass()->ClassName());
        return found;
    }

    // ---- input (each runs the loop until idle afterwards) ----
    void Click(TControl* control);
    void Click(TComponent* root, const String& name) { Click(Find(root, name)); }
    void DoubleClick(TControl* control);
    void RightClick(TControl* control);
    // A click at a point of the control's client area.
    void ClickAt(TControl* control, TPoint client, MouseButton button = MouseButton::Left);
    void MoveMouseTo(TControl* control, TPoint client);
    // Presses the left button at `from`, moves to `to` in a few steps and
    // lets go there (client points of the control).
    void Drag(TControl* control, TPoint from, TPoint to);
    void Wheel(TControl* control, int delta);
    // Characters to the focused control, as the display's text input sends them.
    void Type(const String& text);
    // A key down and up, with modifiers held around it.
    void PressKey(UINT virtualKey, TShiftState shift = {});
    // Clicks the item of a list (or of a combo box's dropped list).
    void PickItem(TControl* control, const String& itemText);
    void SelectCell(TControl* control, int col, int row);

    // ---- reading ----
    String Caption(TControl* control) { return control->Caption(); }
    String Text(TControl* control) { return control->Text(); }
    String CellText(TControl* control, int col, int row);
    std::vector<String> Items(TControl* control);
    // The control's own value ("checked=1", "position=40" ...); empty for
    // controls that have none beyond their text.
    String State(TControl* control);
    TColor Color(TControl* control) { return control->Color(); }
    TColor FontColor(TControl* control) { return control->Font()->Color(); }
    bool Visible(TControl* control) { return control->Showing(); }
    bool Enabled(TControl* control) { return control->Enabled(); }
    TWinControl* FocusedControl() { return FindControl(GetFocus()); }
    // The innermost modal form now showing, or null.
    TCustomForm* ModalForm();

    // ---- boxes and dialogs (see TScriptedDialogs) ----
    void AnswerNextBox(int answer) { dialogs_.AnswerNextBox(answer); }
    void AnswerNextInput(const std::optional<String>& value) { dialogs_.AnswerNextInput(value); }
    void ChooseNextFile(const std::optional<String>& path) { dialogs_.ChooseNextFile(path); }
    const std::vector<TBoxRecord>& Boxes() const { return dialogs_.Boxes(); }
    const std::vector<TInputRecord>& Inputs() const { return dialogs_.Inputs(); }
    // Puts the standard service (real box forms) in place of the scripted one.
    void UseStandardDialogs();

    // A box form shown modally (IUiBox) with no action waiting takes the
    // next scripted answer the same way: its answer's button is clicked; an
    // input box gets the text typed over its edit and OK clicked, or Cancel.

    // Runs `action` the next time a modal loop (a modal form, a real box, a
    // menu) waits for input. A modal loop that waits with no action left is
    // ended (the form cancelled, the menu escaped) and noted in Problems.
    void WhenModal(std::function<void()> action) { modalActions_.push_back(std::move(action)); }
    const std::vector<String>& Problems() const { return problems_; }

    // ---- time and the loop ----
    // Handles what is waiting; while a menu is open this is left to the
    // menu's own loop.
    void RunUntilIdle();
    // Moves the test clock on in steps of at most `step` ms, running the loop
    // after each, so timers fire as often as they would.
    void AdvanceClock(uint32_t ms, uint32_t step = 10);

    // ---- looking ----
    // One line per control: class, name, caption, bounds and state, children
    // indented below their parent.
    String Dump(TControl* root);
    bool SaveScreenshot(TCustomForm* form, const std::string& path);

private:
    void Press(TPoint screen, MouseButton button);
    TPoint ScreenPointOf(TControl* control, TPoint client);
    void OnIdle(bool& done);
    void AnswerBox(TCustomForm* form, IUiBox& box);
    void DumpInto(TControl* control, int depth, String& out);

    HeadlessBackend* backend_ = nullptr;
    std::unique_ptr<TApplication> application_;
    TScriptedDialogs dialogs_;
    TDialogService* previousService_ = nullptr;
    std::vector<std::function<void()>> modalActions_;
    std::vector<String> problems_;
    int actionLevel_ = 0;
    int forcedEnds_ = 0;
};

}  // namespace tarvel
