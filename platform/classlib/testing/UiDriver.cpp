#include "platform/classlib/testing/UiDriver.h"

#include "platform/classlib/Menus.h"
#include "platform/classlib/UiAccess.h"
#include "platform/winsys/Backend.h"

namespace tarvel {

namespace {

constexpr int kMaxIdleRounds = 1000;
constexpr int kMaxForcedEnds = 20;

TComponent* FindOwned(TComponent* root, const String& name) {
    if (TComponent* c = root->FindComponent(name)) return c;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (TComponent* c = FindOwned(root->Components(i), name)) return c;
    return nullptr;
}

// The names the boxes give the buttons of their answers.
const char* ButtonNameOf(int answer) {
    static constexpr const char* kNames[] = {"",    "OK", "Cancel", "Abort",   "Retry",   "Ignore",
                                             "Yes", "No", "All",    "NoToAll", "YesToAll"};
    return answer > 0 && answer < static_cast<int>(std::size(kNames)) ? kNames[answer] : "";
}

TPoint CentreOf(const TRect& r) { return TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2}; }

struct Modifier {
    TShiftStateFlag flag;
    UINT key;
};
constexpr Modifier kModifiers[] = {{ssCtrl, VK_CONTROL}, {ssAlt, VK_MENU}, {ssShift, VK_SHIFT}};

}  // namespace

TUiDriver::TUiDriver(TSize screen) {
    auto backend = std::make_unique<HeadlessBackend>(screen);
    backend_ = backend.get();
    InitWindowSystem(std::move(backend));
    application_ = std::make_unique<TApplication>(nullptr);
    application_->OnIdle = [this](TObject*, bool& done) { OnIdle(done); };
    previousService_ = SetDialogService(&dialogs_);
}

TUiDriver::~TUiDriver() {
    SetDialogService(previousService_);
    application_.reset();
    ShutdownWindowSystem();
}

void TUiDriver::UseStandardDialogs() { SetDialogService(nullptr); }

// ---- finding -------------------------------------------------------------------------------

TComponent* TUiDriver::FindComponent(TComponent* root, const String& name) {
    if (!root) throw EUiDriverError("No component to look for " + name + " in");
    if (SameText(root->Name(), name)) return root;
    TComponent* found = FindOwned(root, name);
    if (!found) throw EUiDriverError("No component named " + name + " in " + root->Name());
    return found;
}

TControl* TUiDriver::Find(TComponent* root, const String& name) {
    auto* control = dynamic_cast<TControl*>(FindComponent(root, name));
    if (!control) throw EUiDriverError(name + " is not a control");
    return control;
}

TCustomForm* TUiDriver::ModalForm() {
    if (!Screen) return nullptr;
    for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->FormState().Contains(fsModal) && f->Visible()) return f;
    }
    return nullptr;
}

// ---- input ------------------------------------------------------------------------------------

TPoint TUiDriver::ScreenPointOf(TControl* control, TPoint client) {
    if (!control) throw EUiDriverError("No control");
    if (!control->Showing()) throw EUiDriverError(control->Name() + " is not showing");
    return control->ClientToScreen(client);
}

void TUiDriver::Press(TPoint screen, MouseButton button) {
    backend_->MouseDown(screen, button);
    backend_->MouseUp(screen, button);
    RunUntilIdle();
}

void TUiDriver::ClickAt(TControl* control, TPoint client, MouseButton button) {
    TPoint screen = ScreenPointOf(control, client);
    backend_->MouseMove(screen);
    Press(screen, button);
}

void TUiDriver::Click(TControl* control) { ClickAt(control, CentreOf(control->ClientRect())); }

void TUiDriver::Drag(TControl* control, TPoint from, TPoint to) {
    const TPoint start = ScreenPointOf(control, from);
    const TPoint end = control->ClientToScreen(to);
    backend_->MouseMove(start);
    backend_->MouseDown(start);
    RunUntilIdle();
    constexpr int kSteps = 4;
    for (int i = 1; i <= kSteps; ++i) {
        backend_->MouseMove(
            TPoint{start.x + (end.x - start.x) * i / kSteps, start.y + (end.y - start.y) * i / kSteps});
        RunUntilIdle();
    }
    backend_->MouseUp(end);
    RunUntilIdle();
}

void TUiDriver::RightClick(TControl* control) {
    ClickAt(control, CentreOf(control->ClientRect()), MouseButton::Right);
}

void TUiDriver::DoubleClick(TControl* control) {
    TPoint screen = ScreenPointOf(control, CentreOf(control->ClientRect()));
    backend_->MouseMove(screen);
    backend_->MouseDown(screen);
    backend_->MouseUp(screen);
    backend_->MouseDown(screen);
    backend_->MouseUp(screen);
    RunUntilIdle();
}

void TUiDriver::MoveMouseTo(TControl* control, TPoint client) {
    backend_->MouseMove(ScreenPointOf(control, client));
    RunUntilIdle();
}

void TUiDriver::Wheel(TControl* control, int delta) {
    backend_->Wheel(ScreenPointOf(control, CentreOf(control->ClientRect())), delta);
    RunUntilIdle();
}

void TUiDriver::Type(const String& text) {
    for (char16_t ch : Utf8ToWide(text)) backend_->TypeChar(ch);
    RunUntilIdle();
}

void TUiDriver::PressKey(UINT virtualKey, TShiftState shift) {
    for (const Modifier& m : kModifiers)
        if (shift.Contains(m.flag)) backend_->KeyDown(m.key);
    backend_->PressKey(virtualKey);
    for (const Modifier& m : kModifiers)
        if (shift.Contains(m.flag)) backend_->KeyUp(m.key);
    RunUntilIdle();
}

void TUiDriver::PickItem(TControl* control, const String& itemText) {
    TControl* list = control;
    auto* items = dynamic_cast<IUiItems*>(control);
    if (!items) {
        if (auto* dropDown = dynamic_cast<IUiDropDown*>(control)) {
            list = dropDown->UiDropDown();
            RunUntilIdle();
            items = dynamic_cast<IUiItems*>(list);
        }
    }
    if (!items) throw EUiDriverError(control->Name() + " shows no items");
    for (int i = 0; i < items->UiItemCount(); ++i) {
        if (items->UiItemText(i) != itemText) continue;
        TRect r = items->UiItemRect(i);
        RunUntilIdle();
        ClickAt(list, CentreOf(r));
        return;
    }
    throw EUiDriverError(control->Name() + " has no item \"" + itemText + "\"");
}

void TUiDriver::SelectCell(TControl* control, int col, int row) {
    auto* cells = dynamic_cast<IUiCells*>(control);
    if (!cells) throw EUiDriverError(control->Name() + " has no cells");
    if (col < 0 || row < 0 || col >= cells->UiColCount() || row >= cells->UiRowCount())
        throw EUiDriverError(control->Name() + " has no cell " + IntToStr(col) + "," + IntToStr(row));
    TRect r = cells->UiCellRect(col, row);
    RunUntilIdle();
    ClickAt(control, CentreOf(r));
}

// ---- reading ----------------------------------------------------------------------------------

String TUiDriver::CellText(TControl* control, int col, int row) {
    auto* cells = dynamic_cast<IUiCells*>(control);
    if (!cells) throw EUiDriverError(control->Name() + " has no cells");
    return cells->UiCellText(col, row);
}

std::vector<String> TUiDriver::Items(TControl* control) {
    auto* items = dynamic_cast<IUiItems*>(control);
    if (!items) throw EUiDriverError(control->Name() + " shows no items");
    std::vector<String> out;
    for (int i = 0; i < items->UiItemCount(); ++i) out.push_back(items->UiItemText(i));
    return out;
}

// ---- the loop ---------------------------------------------------------------------------------

void TUiDriver::RunUntilIdle() {
    // An open menu takes its input in its own loop, once the action that
    // queued it returns.
    if (ActiveMenuWindow()) return;
    for (int round = 0; round < kMaxIdleRounds; ++round) {
        if (!HasPendingMessages()) return;
        Application->ProcessMessages();
    }
    problems_.push_back("the message loop did not go idle");
}

void TUiDriver::AdvanceClock(uint32_t ms, uint32_t step) {
    step = std::max<uint32_t>(step, 1);
    while (ms > 0) {
        uint32_t d = std::min(ms, step);
        backend_->AdvanceClock(d);
        RunUntilIdle();
        ms -= d;
    }
}

void TUiDriver::OnIdle(bool& done) {
    const int level = Application->ModalLevel() + (ActiveMenuWindow() ? 1 : 0);
    if (level == 0 || level <= actionLevel_) return;
    done = false;
    if (!modalActions_.empty()) {
        forcedEnds_ = 0;
        std::function<void()> action = std::move(modalActions_.front());
        modalActions_.erase(modalActions_.begin());
        const int outer = actionLevel_;
        actionLevel_ = level;
        try {
            action();
        } catch (const std::exception& e) {
            problems_.push_back(String("a modal action failed: ") + e.what());
            if (TCustomForm* f = ModalForm()) f->SetModalResult(mrCancel);
        }
        actionLevel_ = outer;
        return;
    }
    if (TCustomForm* f = ModalForm()) {
        if (auto* box = dynamic_cast<IUiBox*>(f)) {
            forcedEnds_ = 0;
            const int outer = actionLevel_;
            actionLevel_ = level;
            try {
                AnswerBox(f, *box);
            } catch (const std::exception& e) {
                problems_.push_back(String("answering a box failed: ") + e.what());
                f->SetModalResult(mrCancel);
            }
            actionLevel_ = outer;
            return;
        }
    }
    // Nothing left to do: end the loop rather than wait for ever.
    if (++forcedEnds_ > kMaxForcedEnds) throw EUiDriverError("a modal loop would not end");
    if (ActiveMenuWindow()) {
        problems_.push_back("a menu waited with nothing to do");
        ReleaseCapture();  // a menu loses its capture and closes
        return;
    }
    if (TCustomForm* f = ModalForm()) {
        problems_.push_back("the modal form " + f->Name() + " waited with nothing to do");
        f->SetModalResult(mrCancel);
    }
}

void TUiDriver::AnswerBox(TCustomForm* form, IUiBox& box) {
    const TBoxRequest request = box.UiBoxRequest();
    if (box.UiInputBox()) {
        auto* edit = dynamic_cast<TWinControl*>(Find(form, "Edit"));
        const std::optional<String> answer =
            dialogs_.TakeInputAnswer(request.caption, request.text, edit->Text());
        if (!answer) {
            Click(form, "Cancel");
            return;
        }
        edit->SetFocus();
        PressKey(VK_HOME);
        PressKey(VK_END, TShiftState{ssShift});
        if (answer->empty())
            PressKey(VK_DELETE);
        else
            Type(*answer);
        Click(form, "OK");
        return;
    }
    const int answer = dialogs_.TakeBoxAnswer(request);
    TComponent* button = form->FindComponent(ButtonNameOf(answer));
    if (auto* control = dynamic_cast<TControl*>(button); control && control->Showing())
        Click(control);
    else
        form->SetModalResult(answer);  // the answer of closing it
}

// ---- looking ----------------------------------------------------------------------------------

void TUiDriver::DumpInto(TControl* control, int depth, String& out) {
    out += String(static_cast<size_t>(depth) * 2, ' ') + control->ClassName() + " " +
           (control->Name().empty() ? String("(unnamed)") : control->Name());
    if (!control->Caption().empty()) out += " \"" + control->Caption() + "\"";
    out += Format(" (%d,%d %dx%d)", control->Left(), control->Top(), control->Width(), control->Height());
    out += control->Visible() ? " visible" : " hidden";
    if (!control->Enabled()) out += " disabled";
    auto* win = dynamic_cast<TWinControl*>(control);
    if (win && win->Focused()) out += " focused";
    if (auto* items = dynamic_cast<IUiItems*>(control))
        out += Format(" items=%d index=%d", items->UiItemCount(), items->UiItemIndex());
    if (const String state = State(control); !state.empty()) out += " " + state;
    out += "\n";
    if (!win) return;
    for (int i = 0; i < win->ControlCount(); ++i) DumpInto(win->Controls(i), depth + 1, out);
}

String TUiDriver::State(TControl* control) {
    auto* state = dynamic_cast<IUiState*>(control);
    return state ? state->UiState() : String();
}

String TUiDriver::Dump(TControl* root) {
    String out;
    if (root) DumpInto(root, 0, out);
    return out;
}

bool TUiDriver::SaveScreenshot(TCustomForm* form, const std::string& path) {
    RunUntilIdle();
    if (!form || !form->HandleAllocated()) return false;
    return backend_->SaveWindowPng(form->Handle(), path);
}

}  // namespace tarvel
