#pragma once
// Input as a person makes it, for the tool's tests on Xvfb: controls found
// by name, clicked and typed into through the X server (XTest), so every
// press travels the display backend and the window system's own
// hit-testing; what the screen shows read back from the server; the boxes
// the tool asks answered by clicking their buttons.

#include <gtest/gtest.h>

#include <SDL2/SDL.h>

#include <chrono>
#include <deque>
#include <functional>
#include <initializer_list>
#include <memory>
#include <optional>
#include <string>
#include <thread>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/UiAccess.h"
#include "platform/winsys/InputApi.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/forms/te_forms_frame.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_menuview.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel::testing {

// The component of that name owned by `root` or anything it owns (any case).
inline TComponent* FindNamed(TComponent* root, const String& name) {
    if (!root) return nullptr;
    if (SameText(root->Name(), name)) return root;
    if (TComponent* c = root->FindComponent(name)) return c;
    for (int i = 0; i < root->ComponentCount(); ++i)
        if (TComponent* c = FindNamed(root->Components(i), name)) return c;
    return nullptr;
}

// The innermost modal form showing, or null.
inline TCustomForm* ShowingModalForm() {
    if (!Screen) return nullptr;
    for (int i = Screen->FormCount() - 1; i >= 0; --i) {
        TCustomForm* f = Screen->Forms(i);
        if (f->FormState().Contains(fsModal) && f->Visible()) return f;
    }
    return nullptr;
}

// The text a control shows: its caption, else its text.
inline String TextOf(TControl* control) {
    if (!control) return {};
    String caption = control->Caption();
    return caption.empty() ? control->Text() : caption;
}

// The window a control is drawn in.
inline HWND WindowOf(TControl* control) {
    for (TControl* c = control; c; c = c->Parent())
        if (auto* win = dynamic_cast<TWinControl*>(c); win && win->HandleAllocated()) return win->Handle();
    return nullptr;
}

// A menu entry's caption as the person reads it: the accelerator's '&'
// left out, the blanks around it trimmed.
inline String ShownMenuCaption(const String& caption) {
    String shown;
    for (size_t i = 0; i < caption.size(); ++i) {
        if (caption[i] == '&' && i + 1 < caption.size() && caption[i + 1] != '&') continue;
        shown += caption[i];
    }
    return Trim(shown);
}

// The entry among `root`'s sub-items that shows `caption` (given as shown
// or as written, '&' and all), or null.
inline TTeItem* MenuEntry(TTeItem* root, const String& caption) {
    if (!root) return nullptr;
    for (int i = 0; i < root->Count(); ++i) {
        TTeItem* item = root->GetItem(i);
        const String written = WideToUtf8(item->Caption());
        if (item->Visible() && ShownMenuCaption(written) == ShownMenuCaption(caption)) return item;
    }
    return nullptr;
}

// A key of the X keyboard: the keysym's name and whether Shift makes it.
struct XKeyOf {
    const char* name = nullptr;
    bool shift = false;
};

inline XKeyOf XKeyOfChar(char16_t c) {
    static const char* const kDigits[] = {"0", "1", "2", "3", "4", "5", "6", "7", "8", "9"};
    static const char* const kLower[] = {"a", "b", "c", "d", "e", "f", "g", "h", "i", "j", "k", "l", "m",
                                         "n", "o", "p", "q", "r", "s", "t", "u", "v", "w", "x", "y", "z"};
    if (c >= '0' && c <= '9') return {kDigits[c - '0']};
    if (c >= 'a' && c <= 'z') return {kLower[c - 'a']};
    if (c >= 'A' && c <= 'Z') return {kLower[c - 'A'], true};
    switch (c) {
        case ' ': return {"space"};
        case '.': return {"period"};
        case ',': return {"comma"};
        case '-': return {"minus"};
        case '_': return {"minus", true};
        case '/': return {"slash"};
        case ':': return {"semicolon", true};
        case ';': return {"semicolon"};
        case '=': return {"equal"};
        case '+': return {"equal", true};
        case '"': return {"apostrophe", true};
        case '\'': return {"apostrophe"};
        case '\n': return {"Return"};
        case '\t': return {"Tab"};
        default: return {};
    }
}

class ScreenInputTest : public SkinXvfbTest {
protected:
    // ---- finding ----
    // The control of that name under `root`; a failure when there is none.
    static TControl* Control(TComponent* root, const String& name) {
        auto* control = dynamic_cast<TControl*>(FindNamed(root, name));
        if (!control) ADD_FAILURE() << "no control named " << name;
        return control;
    }
    // Where a point of the control's client area is on the X screen: the
    // window system's screen point, moved by where the display put the
    // top-level window.
    TPoint XPoint(TControl* control, TPoint client) const {
        const TPoint p = control->ClientToScreen(client);
        HWND top = GetAncestor(WindowOf(control), GA_ROOT);
        TRect bounds;
        SDL_Window* window = sdl->SdlWindowOf(top);
        if (!top || !window || !GetWindowRect(top, bounds)) return p;
        int x = 0, y = 0;
        SDL_GetWindowPosition(window, &x, &y);
        return TPoint{p.x - bounds.left + x, p.y - bounds.top + y};
    }
    // The control's client rectangle on the X screen.
    TRect ScreenRect(TControl* control) const {
        const TRect client = control->ClientRect();
        const TPoint topLeft = XPoint(control, TPoint{client.left, client.top});
        return TRect{topLeft.x, topLeft.y, topLeft.x + client.Width(), topLeft.y + client.Height()};
    }

    // ---- the pointer (each settles the loop afterwards) ----
    // Moves to a client point of the control (its centre by default),
    // presses and lets go there. False, with a failure, when the control is
    // not showing on the screen.
    bool Click(TControl* control, std::optional<TPoint> client = {}, int button = 1) {
        if (!Reachable(control)) return false;
        const TPoint at = XPoint(control, client.value_or(Centre(control)));
        return ClickScreen(at, button);
    }
    bool Click(TComponent* root, const String& name) { return Click(Control(root, name)); }
    // A click on a window of ours returns once the window system has taken
    // the press and the release, so what the click does has been done
    // however slowly the server delivers; `ours` false clicks another
    // program's window and waits for nothing.
    bool ClickScreen(TPoint at, int button = 1, bool ours = true) {
        ForgetHiddenForm();
        // Two clicks in a row on one spot would make a double click.
        Run(kSettleMs);
        bool ok = XMovePointer(at.x, at.y);
        Run(kSettleMs);
        const int key = button == 1 ? VK_LBUTTON : button == 3 ? VK_RBUTTON : VK_MBUTTON;
        auto taken = [&](bool down) {
            if (ours && !Await([&] { return (GetKeyState(key) < 0) == down; }))
                ADD_FAILURE() << "the window system never took the " << (down ? "press" : "release");
        };
        ok = ok && XButton(button, true);
        if (ok) taken(true);
        Run(kSettleMs);
        ok = ok && XButton(button, false);
        if (ok) taken(false);
        Run(kSettleMs);
        return ok;
    }
    // Clicks a caption button (close, maximize ...) the skinned frame draws
    // on its form's window.
    bool ClickCaptionButton(TTeDefaultForm* frame, TTeBorderIcon icon) {
        auto* form = frame ? dynamic_cast<TCustomForm*>(frame->Owner()) : nullptr;
        if (!form || !Reachable(form)) return false;
        const TRect r = frame->GetCaptionButtonRect(icon);
        SDL_Window* window = sdl->SdlWindowOf(form->Handle());
        if (r.IsEmpty() || !window) {
            ADD_FAILURE() << form->Name() << " shows no such caption button";
            return false;
        }
        int x = 0, y = 0;
        SDL_GetWindowPosition(window, &x, &y);
        return ClickScreen(TPoint{x + r.left + r.Width() / 2, y + r.top + r.Height() / 2});
    }
    // Moves the pointer there, nothing pressed.
    bool MovePointer(TControl* control, std::optional<TPoint> client = {}) {
        if (!Reachable(control)) return false;
        const TPoint at = XPoint(control, client.value_or(Centre(control)));
        const bool ok = XMovePointer(at.x, at.y);
        Run(kSettleMs);
        return ok;
    }
    // Presses at one client point and lets go at another, the pointer held
    // down between; `hold` ms pass with the button down.
    bool Press(TControl* control, TPoint client, DWORD hold, std::optional<TPoint> release = {}) {
        if (!Reachable(control)) return false;
        const TPoint at = XPoint(control, client);
        bool ok = XMovePointer(at.x, at.y) && XButton(1, true);
        Run(hold);
        if (release) {
            const TPoint to = XPoint(control, *release);
            ok = ok && XMovePointer(to.x, to.y);
            Run(kSettleMs);
        }
        ok = ok && XButton(1, false);
        Run(kSettleMs);
        return ok;
    }

    // Clicks the page's tab, as a person brings a page to the front; false,
    // with a failure, when the page has no tab or did not come.
    bool ShowPage(TTeTabSheet* page) {
        TTeTabControl* tabs = page ? page->TabControl() : nullptr;
        const int index = page ? page->TabIndex() : -1;
        if (!tabs || index < 0) {
            ADD_FAILURE() << (page ? page->Name() : String("a page")) << " has no tab";
            return false;
        }
        const TRect r = tabs->TabRect(index);
        if (!Click(tabs, TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2})) return false;
        if (Await([&] { return tabs->GetActivePage() == page; })) {
            Settle(page->Handle());
            return true;
        }
        ADD_FAILURE() << "a click on its tab did not bring " << page->Name() << " to the front";
        return false;
    }

    // ---- the keyboard ----
    // Types the text as keys of a US keyboard, to whatever has the focus.
    bool Type(const String& text) {
        bool ok = true;
        for (char16_t c : Utf8ToWide(text)) {
            const XKeyOf key = XKeyOfChar(c);
            if (!key.name) {
                ADD_FAILURE() << "no key types U+" << std::hex << static_cast<int>(c);
                return false;
            }
            ok = ok && Key(key.name, key.shift ? std::initializer_list<const char*>{"Shift_L"}
                                               : std::initializer_list<const char*>{});
        }
        return ok;
    }
    // A key pressed and let go, with modifiers ("Control_L", "Shift_L" ...)
    // held around it.
    bool Key(const char* keysym, std::initializer_list<const char*> held = {}) {
        ForgetHiddenForm();
        bool ok = true;
        for (const char* m : held) ok = ok && XKey(m, true);
        ok = ok && XKey(keysym, true) && XKey(keysym, false);
        for (const char* m : held) ok = ok && XKey(m, false);
        Run(kSettleMs / 2);
        return ok;
    }
    // Clicks into an edit, selects what it holds and types `text` over it.
    bool TypeInto(TControl* edit, const String& text) {
        if (!Click(edit)) return false;
        bool ok = Key("End") && Key("Home", {"Shift_L"});
        if (text.empty()) return ok && Key("Delete");
        return ok && Type(text);
    }

    // Clicks a cell of the grid, types `text` into it and ends the edit with
    // Enter, as a person fills a cell.
    bool TypeIntoCell(TStringGrid* grid, int col, int row, const String& text) {
        if (!grid) return false;
        const TRect r = grid->CellRect(col, row);
        if (r.IsEmpty()) {
            ADD_FAILURE() << grid->Name() << " shows no cell " << col << "," << row;
            return false;
        }
        return Click(grid, TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2}) && Type(text) &&
               Key("Return");
    }

    // ---- the screen ----
    // The colour the X screen shows at a point, as 0xRRGGBB.
    uint32_t ScreenPixel(TPoint at) const {
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        if (!screen || at.x < 0 || at.y < 0 || at.x >= screen->Width() || at.y >= screen->Height())
            return 0xFFFFFFFFu;
        return screen->Pixel(at.x, at.y) & 0xFFFFFFu;
    }
    // The colour at a client point of the control, as a TColor (0xBBGGRR),
    // so it compares with the colours the tool sets.
    TColor PixelIn(TControl* control, TPoint client) const {
        const uint32_t rgb = ScreenPixel(XPoint(control, client));
        return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    // What the X screen shows over the control's client area (or the part
    // `client` of it), row by row.
    std::vector<uint32_t> PixelsOf(TControl* control, std::optional<TRect> client = {}) const {
        std::vector<uint32_t> pixels;
        std::unique_ptr<Surface> screen = sdl->ScreenPixels();
        if (!screen || !control) return pixels;
        TRect r = ScreenRect(control);
        if (client) {
            const TPoint at = XPoint(control, TPoint{client->left, client->top});
            r = TRect{at.x, at.y, at.x + client->Width(), at.y + client->Height()};
        }
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                pixels.push_back(x >= 0 && y >= 0 && x < screen->Width() && y < screen->Height()
                                     ? screen->Pixel(x, y) & 0xFFFFFFu
                                     : 0xFFFFFFFFu);
        return pixels;
    }
    // Saves the whole X screen (every window of ours as placed) under the
    // pictures' folder.
    bool SaveScreen(const std::string& name) const { return sdl->SaveScreenPng(dir + "/" + name); }

    // ---- menus ----
    // The menus run loops of their own inside the press that opens them, so
    // a choice is made in steps, each taken from the loop's idle time once
    // the level it needs shows: a level's entry is clicked or walked to with
    // the arrows, as a person does it. Nothing is sent to the window system's
    // queue; every press goes through the X server.

    // An entry's rectangle on the X screen, in the view that lays it out
    // (the bar's, or an open level's); empty when it is not laid out.
    TRect MenuItemRect(TTeItemView* view, TTeItem* item) const {
        if (!view || !item || !view->CaptureControl) return {};
        TRect r;
        view->GetItemRect(item, r);
        if (r.Width() <= 0 || r.Height() <= 0) return {};
        const TPoint topLeft = XPoint(view->CaptureControl, TPoint{r.left, r.top});
        return TRect{topLeft.x, topLeft.y, topLeft.x + r.Width(), topLeft.y + r.Height()};
    }
    // The open level, innermost first, that holds an entry showing
    // `caption`, with its window on the screen; null when none does.
    TTeItemView* OpenLevelWith(const String& caption) const {
        std::vector<TTeItemView*> levels;
        for (TTeItemView* v = OutermostMenuView(); v; v = v->ChildView) {
            levels.push_back(v);
            if (!v->DroppedDown) break;
        }
        for (auto it = levels.rbegin(); it != levels.rend(); ++it) {
            TTeItemView* v = *it;
            if (!v->InLoop || !v->CaptureControl || !v->CaptureControl->HandleAllocated()) continue;
            if (!MenuEntry(v->RootItem, caption)) continue;
            if (!sdl->SdlWindowOf(GetAncestor(v->CaptureControl->Handle(), GA_ROOT))) continue;
            return v;
        }
        return nullptr;
    }

    // Opens the bar's menus along `path` with the pointer and clicks its last
    // entry; a picture of the screen is saved as `shot` just before that
    // click, the menus open. False, with a failure, when an entry never
    // showed.
    bool ChooseMenu(TTeMenuBar* bar, const std::vector<String>& path, const std::string& shot = {}) {
        if (!bar || path.empty() || !Reachable(bar)) return false;
        TTeItem* first = MenuEntry(bar->Items(), path.front());
        const TRect r = MenuItemRect(bar->View(), first);
        if (r.IsEmpty()) {
            ADD_FAILURE() << "no entry \"" << path.front() << "\" on the menu bar";
            return false;
        }
        for (size_t i = 1; i < path.size(); ++i) PointerSteps(path[i], i + 1 == path.size() ? shot : "");
        return RunMenuSteps(TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2}, {});
    }
    // The same with the keyboard: Alt with the bar entry's accelerator
    // letter, then in each level Down until the entry is hot, Right into a
    // sub-level, Enter on the last.
    bool ChooseMenuByKeys(TTeMenuBar* bar, const std::vector<String>& path, const std::string& shot = {}) {
        if (!bar || path.empty() || !Reachable(bar)) return false;
        TTeItem* first = MenuEntry(bar->Items(), path.front());
        const String written = first ? WideToUtf8(first->Caption()) : String();
        const size_t amp = written.find('&');
        if (!first || amp == String::npos || amp + 1 >= written.size()) {
            ADD_FAILURE() << "no entry \"" << path.front() << "\" with an accelerator on the menu bar";
            return false;
        }
        const XKeyOf letter = XKeyOfChar(static_cast<char16_t>(written[amp + 1]));
        for (size_t i = 1; i < path.size(); ++i)
            KeySteps(path[i], i + 1 == path.size(), i + 1 == path.size() ? shot : "");
        return RunMenuSteps(std::nullopt, letter.name);
    }
    // Right-clicks the control at a client point (its centre by default) and
    // chooses along `path` in the popup menu that opens, with the pointer.
    bool ChooseContextMenu(TControl* control, const std::vector<String>& path,
                           std::optional<TPoint> client = {}, const std::string& shot = {}) {
        if (path.empty() || !Reachable(control)) return false;
        for (size_t i = 0; i < path.size(); ++i) PointerSteps(path[i], i + 1 == path.size() ? shot : "");
        return RunMenuSteps(XPoint(control, client.value_or(Centre(control))), {}, 3);
    }

    // ---- waiting ----
    // Runs the loop until `done` holds, `ms` at the most; false when it
    // never did.
    // Generous: a loaded machine slows the tool many times over, and a wait
    // that is met ends at once.
    static bool Await(const std::function<bool()>& done, DWORD ms = 20000) { return RunUntil(done, ms); }

    // ---- boxes and other modal windows ----
    // What the next modal window gets: a box's button clicked by name
    // ("Yes", "OK" ...), an input box's text typed and OK clicked, or a test's
    // own steps for any other modal form (it ends the form itself). A
    // picture of the window is saved first when `shot` is named.
    struct ModalAnswer {
        String button;
        std::optional<String> typed;
        std::function<void(TCustomForm*)> steps;
        std::string shot;
    };
    // What came, in order: each box's text, or the modal form's name.
    struct ModalSeen {
        String caption;
        String text;
    };

    void AnswerBox(const String& button, const std::string& shot = {}) {
        answers.push_back(ModalAnswer{button, {}, {}, shot});
    }
    void AnswerInput(const String& typed, const std::string& shot = {}) {
        answers.push_back(ModalAnswer{"OK", typed, {}, shot});
    }
    void WhenModal(std::function<void(TCustomForm*)> steps, const std::string& shot = {}) {
        answers.push_back(ModalAnswer{{}, {}, std::move(steps), shot});
    }
    // Installed by the fixture: answers the modal windows from its idle
    // time, the only time a modal loop leaves to others.
    void WatchModalWindows() {
        Application->OnIdle = [this](TObject*, bool& done) {
            if (!OnMenuIdle(done)) OnModalIdle(done);
        };
    }

    std::deque<ModalAnswer> answers;
    std::vector<ModalSeen> seen;

    static constexpr DWORD kSettleMs = 40;

private:
    // One step of a menu choice: true when it has been taken; false to be
    // tried again at the loop's next idle time.
    using MenuStep = std::function<bool()>;
    std::deque<MenuStep> menuSteps_;
    DWORD menuStepAt_ = 0;

    // The entry shown, the pointer moved onto it, a moment later pressed.
    void PointerSteps(const String& caption, const std::string& shot) {
        auto shownAt = std::make_shared<DWORD>(0);
        auto target = std::make_shared<TPoint>();
        menuSteps_.push_back([this, caption, shownAt, target] {
            TTeItemView* level = OpenLevelWith(caption);
            if (!level) return (*shownAt = 0, false);
            // As a person sees the level first.
            if (*shownAt == 0) *shownAt = GetTickCount();
            if (GetTickCount() - *shownAt < kMenuLooksMs) return false;
            const TRect r = MenuItemRect(level, MenuEntry(level->RootItem, caption));
            *target = TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2};
            return XMovePointer(target->x, target->y);
        });
        menuSteps_.push_back([this, target, shot] {
            if (GetTickCount() - menuStepAt_ < kSettleMs) return false;
            if (!shot.empty()) SaveScreen(shot);
            XButton(1, true);
            XButton(1, false);
            return true;
        });
    }
    // Down until the entry is hot in its level, then Right (a sub-level) or
    // Enter (the last).
    void KeySteps(const String& caption, bool last, const std::string& shot) {
        auto shownAt = std::make_shared<DWORD>(0);
        auto presses = std::make_shared<int>(0);
        menuSteps_.push_back([this, caption, last, shot, shownAt, presses] {
            TTeItemView* level = OpenLevelWith(caption);
            if (!level) return (*shownAt = 0, false);
            if (*shownAt == 0) *shownAt = GetTickCount();
            if (GetTickCount() - *shownAt < kMenuLooksMs || GetTickCount() - menuStepAt_ < kSettleMs)
                return false;
            TTeItem* entry = MenuEntry(level->RootItem, caption);
            if (level->HotItem != entry) {
                if (++*presses > level->RootItem->Count()) {
                    ADD_FAILURE() << "the arrows never reach \"" << caption << "\"";
                    menuSteps_.clear();
                    XKey("Escape", true);
                    XKey("Escape", false);
                    return true;
                }
                menuStepAt_ = GetTickCount();
                XKey("Down", true);
                XKey("Down", false);
                return false;
            }
            if (!shot.empty()) SaveScreen(shot);
            const char* key = last ? "Return" : "Right";
            XKey(key, true);
            XKey(key, false);
            return true;
        });
    }

    // Opens the menu (a press at `at` with `button`, or Alt and `letter`)
    // and runs the loop until every step was taken and the menus closed.
    bool RunMenuSteps(std::optional<TPoint> at, const char* letter, int button = 1) {
        ForgetHiddenForm();
        const size_t steps = menuSteps_.size();
        menuStepAt_ = GetTickCount();
        bool ok = true;
        if (at) {
            Run(kSettleMs);
            ok = XMovePointer(at->x, at->y);
            Run(kSettleMs);
            ok = ok && XButton(button, true) && XButton(button, false);
        } else {
            ok = XKey("Alt_L", true) && XKey(letter, true) && XKey(letter, false) && XKey("Alt_L", false);
        }
        if (!ok) {
            menuSteps_.clear();
            return false;
        }
        const bool done = Await([this] { return menuSteps_.empty() && MenuLoopLevel() == 0; });
        if (!menuSteps_.empty()) {
            ADD_FAILURE() << menuSteps_.size() << " of " << steps << " menu steps never taken";
            menuSteps_.clear();
        }
        Run(kSettleMs);
        return done;
    }

    // The menu's steps come first while a menu loop runs; true when one was
    // waiting (the modal windows wait their turn).
    bool OnMenuIdle(bool& done) {
        if (menuSteps_.empty() || MenuLoopLevel() == 0) return false;
        done = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (menuSteps_.front()()) {
            if (!menuSteps_.empty()) menuSteps_.pop_front();
            menuStepAt_ = GetTickCount();
        }
        return true;
    }

    static constexpr DWORD kMenuLooksMs = 150;

    static TPoint Centre(TControl* control) {
        const TRect r = control->ClientRect();
        return TPoint{r.left + r.Width() / 2, r.top + r.Height() / 2};
    }

    bool Reachable(TControl* control) {
        if (!control) return false;
        if (!control->Showing()) {
            ADD_FAILURE() << control->Name() << " is not showing";
            return false;
        }
        HWND top = GetAncestor(WindowOf(control), GA_ROOT);
        if (!RunUntil([&] { return sdl->SdlWindowOf(top) != nullptr; }, 3000)) {
            ADD_FAILURE() << control->Name() << "'s window is not on the screen";
            return false;
        }
        return true;
    }

    // A form kept for showing again (not a box, which goes when answered)
    // is answered again once it has been hidden.
    void ForgetHiddenForm() {
        if (watch_.form && !watch_.form->Visible()) watch_.Watch(nullptr);
    }

    void OnModalIdle(bool& done) {
        ForgetHiddenForm();
        TCustomForm* form = ShowingModalForm();
        if (!form) return;
        if (form == watch_.form) {
            // An answer that never lands must not leave the test waiting for ever.
            done = false;
            std::this_thread::sleep_for(std::chrono::milliseconds(2));
            if (GetTickCount() - answeredAt_ < kAnswerLandsMs) return;
            ADD_FAILURE() << "the answer to " << form->Name() << " never landed";
            form->SetModalResult(mrCancel);
            return;
        }
        // Answered once it has been on the screen a moment, as a person sees it first.
        done = false;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
        if (shownForm_ != form || !sdl->SdlWindowOf(form->Handle())) {
            shownForm_ = sdl->SdlWindowOf(form->Handle()) ? form : nullptr;
            shownAt_ = GetTickCount();
            return;
        }
        if (GetTickCount() - shownAt_ < 150) return;
        shownForm_ = nullptr;
        watch_.Watch(form);
        answeredAt_ = GetTickCount();
        auto* box = dynamic_cast<IUiBox*>(form);
        ModalSeen what{form->Caption(), form->Name()};
        if (box)
            what = ModalSeen{box->UiBoxRequest().caption, box->UiBoxRequest().text};
        else if (auto* message = dynamic_cast<TControl*>(FindNamed(form, "Message")))
            what.text = message->Caption();
        seen.push_back(what);
        if (answers.empty()) {
            ADD_FAILURE() << "a window nobody expected: " << what.caption << " / " << what.text;
            form->SetModalResult(mrCancel);
            return;
        }
        ModalAnswer answer = std::move(answers.front());
        answers.pop_front();
        if (!answer.shot.empty()) Save(form->Handle(), answer.shot);
        if (answer.steps) {
            answer.steps(form);
            return;
        }
        if (answer.typed) {
            auto* edit = dynamic_cast<TControl*>(FindNamed(form, "Edit"));
            if (!edit || !TypeInto(edit, *answer.typed)) {
                ADD_FAILURE() << "no edit to type into in " << form->Name();
                form->SetModalResult(mrCancel);
                return;
            }
        }
        auto* button = dynamic_cast<TControl*>(form->FindComponent(answer.button));
        if (!button || !button->Showing()) {
            ADD_FAILURE() << "no button " << answer.button << " in the box \"" << what.text << "\"";
            form->SetModalResult(mrCancel);
            return;
        }
        const TPoint at = XPoint(button, Centre(button));
        XMovePointer(at.x, at.y);
        XButton(1, true);
        XButton(1, false);
    }

    // The modal form answered last, forgotten when it goes, so a box made
    // at the same address afterwards is answered too.
    struct FormWatch : TComponent {
        FormWatch() : TComponent(nullptr) {}
        ~FormWatch() override { Watch(nullptr); }
        void Watch(TCustomForm* f) {
            if (form) form->RemoveFreeNotification(this);
            form = f;
            if (form) form->FreeNotification(this);
        }
        void Notification(TComponent* component, TOperation operation) override {
            TComponent::Notification(component, operation);
            if (operation == TOperation::opRemove && component == form) form = nullptr;
        }
        TCustomForm* form = nullptr;
    } watch_;
    TCustomForm* shownForm_ = nullptr;
    DWORD shownAt_ = 0;
    DWORD answeredAt_ = 0;
    static constexpr DWORD kAnswerLandsMs = 20000;
};

}  // namespace tarvel::testing
