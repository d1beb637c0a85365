// Window-procedure hooks: the order hooks see a message in, handling that
// hides it from the rest, a hook let go under a later subclass, and a window
// re-created under its hooks.

#include <string>
#include <vector>

#include "skin/forms/te_forms_hooks.h"
#include "tests/skin/forms/FrameFixture.h"

namespace tarvel::testing {
namespace {

constexpr UINT kProbe = WM_USER + 77;

class RecordingHook : public TTeHook {
public:
    RecordingHook(TComponent* owner, std::string name, std::vector<std::string>& log)
        : TTeHook(owner), name_(std::move(name)), log_(log) {}
    void DoBeforeMessage(TMessage& m, bool& handled) override {
        if (m.Msg != kProbe) return;
        log_.push_back(name_);
        if (Handles) handled = true;
    }
    bool Handles = false;

private:
    std::string name_;
    std::vector<std::string>& log_;
};

class HooksTest : public FrameTest {
protected:
    void SetUp() override {
        FrameTest::SetUp();
        form_ = new TForm(Application);
        form_->Show();
        ui_.RunUntilIdle();
        TWinControl* form = form_;
        auto own = form_->WindowProc;
        form_->WindowProc = [this, own](TMessage& m) {
            if (m.Msg == kProbe) log_.push_back("form");
            own(m);
        };
        (void)form;
    }
    RecordingHook* Hook(const std::string& name) {
        auto* h = new RecordingHook(form_, name, log_);
        h->SetWinControl(form_);
        h->SetActive(true);
        return h;
    }
    std::vector<std::string> Probe() {
        log_.clear();
        SendMessage(form_->Handle(), kProbe, 0, 0);
        return log_;
    }
    std::vector<std::string> log_;
};

using Log = std::vector<std::string>;

TEST_F(HooksTest, TheHookAddedLastSeesFirstAndHandlingHidesTheRest) {
    const struct {
        const char* first;
        const char* second;
        const char* handler;  // which hook handles, or null
        Log expected;
    } cases[] = {
        {"a", "b", nullptr, {"b", "a", "form"}},
        {"b", "a", nullptr, {"a", "b", "form"}},
        {"a", "b", "b", {"b"}},
        {"a", "b", "a", {"b", "a"}},
        {"b", "a", "a", {"a"}},
    };
    for (const auto& c : cases) {
        RecordingHook* first = Hook(c.first);
        RecordingHook* second = Hook(c.second);
        if (c.handler) (std::string(c.handler) == c.first ? first : second)->Handles = true;
        EXPECT_EQ(Probe(), c.expected) << c.first << c.second << (c.handler ? c.handler : "-");
        EXPECT_EQ(first->ControlHook(), second->ControlHook()) << "one subclass per window";
        delete second;
        delete first;
        EXPECT_EQ(Probe(), (Log{"form"}));
    }
}

TEST_F(HooksTest, AHookLetGoUnderALaterSubclassPassesMessagesThrough) {
    RecordingHook* hook = Hook("hook");
    HWND h = form_->Handle();
    WNDPROC below = GetWindowProc(h);
    WNDPROC later = MakeWindowProc([this, below](HWND hwnd, UINT msg, WPARAM w, LPARAM l) {
        if (msg == kProbe) log_.push_back("later");
        return CallWindowProc(below, hwnd, msg, w, l);
    });
    SetWindowProc(h, later);
    EXPECT_EQ(Probe(), (Log{"later", "hook", "form"}));

    hook->SetActive(false);
    EXPECT_EQ(GetWindowProc(h), later) << "the later subclass is not cut off";
    EXPECT_EQ(Probe(), (Log{"later", "form"}));

    delete hook;
    ui_.RunUntilIdle();
    TControlHook* left = HookList->FindHook(form_);
    EXPECT_TRUE(!left || (left->HookCount() == 0 && !left->Subclassed()));
    EXPECT_EQ(Probe(), (Log{"later", "form"}));

    // A new hook goes above the later subclass.
    RecordingHook* again = Hook("again");
    EXPECT_EQ(Probe(), (Log{"again", "later", "form"}));
    delete again;
    FreeWindowProc(later);
}

TEST_F(HooksTest, ARecreatedWindowIsHookedAgain) {
    RecordingHook* hook = Hook("hook");
    const HWND before = form_->Handle();
    form_->SetBorderStyle(bsDialog);  // re-creates the window
    ui_.RunUntilIdle();
    ASSERT_NE(form_->Handle(), before);
    EXPECT_EQ(Probe(), (Log{"hook", "form"}));
    EXPECT_TRUE(hook->ControlHook()->Subclassed());
    delete hook;
}

TEST_F(HooksTest, ActiveBeforeTheControlHooksOnceAControlIsGiven) {
    auto* hook = new RecordingHook(form_, "early", log_);
    hook->SetActive(true);
    EXPECT_EQ(Probe(), (Log{"form"}));
    hook->SetWinControl(form_);
    EXPECT_EQ(Probe(), (Log{"early", "form"}));
    delete hook;
}

TEST_F(HooksTest, AFormFreedUnderItsHooksLeavesNothingBehind) {
    Hook("a");
    Hook("b");
    delete form_;
    form_ = nullptr;
    ui_.RunUntilIdle();
    EXPECT_EQ(HookList->Count(), 0);
}

}  // namespace
}  // namespace tarvel::testing
