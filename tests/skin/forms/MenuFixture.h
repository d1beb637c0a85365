#pragma once
// What the menu tests share: the frames' unit started on the headless
// display, a shown form under the menus, a container that owns item trees,
// and a script that drives an open menu. The menu loops wait through the
// application's idle call; each wait takes the next scripted step, which
// queues input for the loop to read. A step that answers false waits one
// loop tick (50 ms of the test clock) and is asked again.

#include <deque>
#include <functional>
#include <initializer_list>
#include <string>

#include "skin/forms/te_forms_menus.h"
#include "skin/forms/te_forms_menuview.h"
#include "skin/forms/te_forms_popup.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {

// Owns item trees the way the menu bar and the popup menus do.
class TTestMenu : public TComponent, public TTeLineReduction {
    TARVEL_CLASS(TTestMenu, TComponent)

public:
    using TComponent::TComponent;
};

class MenuTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        menu_ = new TTestMenu(nullptr);
        root_ = new TTeItem(menu_);
        Application->OnIdle = [this](TObject*, bool& done) { Step(done); };
    }
    void TearDown() override {
        Application->OnIdle = nullptr;
        delete menu_;
        menu_ = nullptr;
        FrameTest::TearDown();
    }

    // A sub-item of `parent` with that caption ("-" for a separator).
    TTeItem* Add(TTeItem* parent, const char* caption) {
        auto* item = new TTeItem(menu_);
        item->SetCaption(Utf8ToWide(caption));
        parent->Add(item);
        return item;
    }
    void AddAll(TTeItem* parent, std::initializer_list<const char*> captions) {
        for (const char* c : captions) Add(parent, c);
    }

    // ---- the script ----
    void Then(std::function<void()> action) {
        steps_.push_back([a = std::move(action)] {
            a();
            return true;
        });
    }
    // Lets the clock run until `ready` holds, at most `ms` of it.
    void WaitUntil(std::function<bool()> ready, uint32_t ms = 2000) {
        auto left = std::make_shared<int>(static_cast<int>(ms / 50));
        steps_.push_back([ready = std::move(ready), left] { return ready() || --*left < 0; });
    }
    void Key(UINT vk) { ui_.Backend().PressKey(vk); }
    void MoveTo(TPoint screen) { ui_.Backend().MouseMove(screen); }
    void ClickAt(TPoint screen) {
        ui_.Backend().MouseMove(screen);
        ui_.Backend().Click(screen);
    }
    // The screen centre of an entry of an open level.
    static TPoint CentreOf(TTeItem* item) {
        auto* window = dynamic_cast<TTePopupWindow*>(item->View ? item->View->CaptureControl : nullptr);
        if (!window) return TPoint{-1, -1};
        return window->ClientToScreen(Centre(item->ItemRect));
    }
    // The view of the innermost open level below the one showing `first`.
    static TTeItemView* Innermost(TTeItem* first) {
        TTeItemView* v = first->View;
        while (v && v->ChildView) v = v->ChildView;
        return v;
    }
    // Opens the root's entries at a screen point; returns when the menu closed.
    void Open(TPoint at) {
        ui_.Backend().MouseMove(TPoint{at.x - 20, at.y - 20});
        root_->Popup(nullptr, at.x, at.y, TRect{});
    }
    int StuckMenus() const { return stuck_; }

    TTestMenu* menu_ = nullptr;
    TTeItem* root_ = nullptr;

private:
    void Step(bool& done) {
        if (MenuLoopLevel() == 0) return;
        if (steps_.empty()) {
            // Nothing left to do: the menu loses its capture and closes.
            ++stuck_;
            ReleaseCapture();
            return;
        }
        if (steps_.front()()) {
            steps_.pop_front();
            done = false;
        }
    }

    std::deque<std::function<bool()>> steps_;
    int stuck_ = 0;
};

}  // namespace tarvel::testing
