// The application: the error box for escaped exceptions, modal forms and
// their nested loop, closing, the main form and Run.

#include <gtest/gtest.h>

#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/Timers.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

constexpr UINT WM_CHUNK = WM_USER + 7;

class ApplicationTest : public ::testing::Test {
protected:
    TForm* MakeForm(const char* name, TComponent* owner = nullptr) {
        auto* f = new TForm(owner ? owner : Application);
        f->SetName(name);
        f->SetCaption(name);
        f->SetBounds(100, 100, 240, 160);
        return f;
    }

    TButton* AddButton(TForm* f, const char* name, int x) {
        auto* b = new TButton(f);
        b->SetName(name);
        b->SetParent(f);
        b->SetCaption(name);
        b->SetBounds(x, 100, 75, 25);
        return b;
    }

    TUiDriver ui;
};

TEST_F(ApplicationTest, AnExceptionInAHandlerShowsItsMessageSkipsTheRestAndTheLoopGoesOn) {
    Application->SetTitle("Tarvel BMS Software");
    TForm* form = MakeForm("Main");
    TButton* convert = AddButton(form, "Convert", 10);
    TButton* other = AddButton(form, "Other", 100);
    int after = 0, otherClicks = 0;
    convert->OnClick = [&](TObject*) {
        StrToInt("12a");
        ++after;
    };
    other->OnClick = [&](TObject*) {
        ++otherClicks;
        throw std::runtime_error("not one of ours");
    };
    form->Show();

    ui.Click(convert);
    ASSERT_EQ(ui.Boxes().size(), 1u);
    EXPECT_EQ(after, 0);
    EXPECT_EQ(ui.Boxes()[0].type, mtError);
    EXPECT_EQ(ui.Boxes()[0].buttons, TMsgDlgButtons{mbOK});
    EXPECT_EQ(ui.Boxes()[0].caption, "Tarvel BMS Software");
    EXPECT_EQ(ui.Boxes()[0].text, "'12a' is not a valid integer value.");

    // The loop goes on: the next click is handled, and a foreign exception
    // gets the box with an empty message.
    ui.Click(other);
    EXPECT_EQ(otherClicks, 1);
    ASSERT_EQ(ui.Boxes().size(), 2u);
    EXPECT_EQ(ui.Boxes()[1].text, "");
    ui.Click(convert);
    EXPECT_EQ(ui.Boxes().size(), 3u);
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(ApplicationTest, OnExceptionTakesThePlaceOfTheBox) {
    TForm* form = MakeForm("Main");
    TButton* b = AddButton(form, "Go", 10);
    b->OnClick = [](TObject*) { throw EConvertError("bad"); };
    String seen;
    TObject* sender = nullptr;
    Application->OnException = [&](TObject* s, const Exception& e) {
        seen = e.Message();
        sender = s;
    };
    form->Show();
    ui.Click(b);
    EXPECT_EQ(seen, "bad");
    EXPECT_EQ(sender, b);
    EXPECT_TRUE(ui.Boxes().empty());
}

TEST_F(ApplicationTest, AModalFormRunsTimersAndPostedMessagesInItsNestedLoop) {
    TForm* main = MakeForm("Main");
    int chunks = 0;
    bool chunkWhileModal = false;
    auto mainProc = main->WindowProc;
    main->WindowProc = [&](TMessage& m) {
        if (m.Msg == WM_CHUNK) {
            ++chunks;
            chunkWhileModal = Application->ModalLevel() > 0;
            return;
        }
        mainProc(m);
    };
    main->Show();
    ui.RunUntilIdle();

    TForm* dialog = MakeForm("Dialog");
    TButton* ok = AddButton(dialog, "OK", 10);
    ok->SetModalResult(mrOk);
    auto* timer = new TTimer(dialog);
    timer->SetInterval(100);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) { ++ticks; };

    bool mainDisabled = false;
    ui.WhenModal([&] {
        mainDisabled = !IsWindowEnabled(main->Handle());
        PostMessage(main->Handle(), WM_CHUNK, 0, 0);
        ui.AdvanceClock(350);
        ui.Click(ui.Find(dialog, "OK"));
    });
    EXPECT_EQ(dialog->ShowModal(), mrOk);
    EXPECT_EQ(ticks, 3);
    EXPECT_EQ(chunks, 1);
    EXPECT_TRUE(chunkWhileModal);
    EXPECT_TRUE(mainDisabled);
    EXPECT_TRUE(IsWindowEnabled(main->Handle()));
    EXPECT_FALSE(dialog->Visible());
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(ApplicationTest, CloseAsksCloseQueryAndFollowsTheCloseAction) {
    struct Case {
        bool canClose;
        TCloseAction action;
        bool visibleAfter;
        bool freed;
    };
    const Case cases[] = {
        {false, caHide, true, false},    {true, caNone, true, false}, {true, caHide, false, false},
        {true, caMinimize, true, false}, {true, caFree, false, true},
    };
    MakeForm("Main")->Show();  // the main form; closing it would end the run
    for (const Case& c : cases) {
        SCOPED_TRACE(static_cast<int>(c.action));
        TForm* f = MakeForm("Child");
        int queries = 0;
        f->OnCloseQuery = [&](TObject*, bool& can) {
            ++queries;
            can = c.canClose;
        };
        f->OnClose = [&](TObject*, TCloseAction& a) { a = c.action; };
        f->Show();
        ui.RunUntilIdle();
        const int formsBefore = Screen->FormCount();
        ui.Backend().RequestClose(f->Handle());  // the caption button
        ui.RunUntilIdle();
        EXPECT_EQ(queries, 1);
        EXPECT_EQ(Screen->FormCount(), c.freed ? formsBefore - 1 : formsBefore);
        if (c.freed) continue;
        EXPECT_EQ(f->Visible(), c.visibleAfter);
        if (c.action == caMinimize) {
            EXPECT_EQ(f->WindowState(), wsMinimized);
        }
        delete f;
    }
    EXPECT_FALSE(Application->Terminated());
}

TEST_F(ApplicationTest, TheFirstCreatedFormIsTheMainFormAndClosingItEndsRun) {
    TForm* first = nullptr;
    TForm* second = nullptr;
    Application->CreateForm(first);
    Application->CreateForm(second);
    EXPECT_EQ(Application->MainForm(), first);
    auto* timer = new TTimer(first);
    timer->SetInterval(1000);
    int ticks = 0;
    timer->OnTimer = [&](TObject*) {
        if (++ticks == 2) first->Close();
    };
    Application->Run();  // waits on the test clock until the timer closes the form
    EXPECT_TRUE(Application->Terminated());
    EXPECT_EQ(ticks, 2);
    EXPECT_TRUE(first->Visible());  // the run ended; the form was not hidden on the way
}

TEST_F(ApplicationTest, CreateFormRunsOnCreateOnceTheFormIsBuilt) {
    struct TBuilt : public TForm {
        explicit TBuilt(TComponent* owner) : TForm(owner) {
            auto* b = new TButton(this);
            b->SetName("Built");
            OnCreate = [this](TObject*) { foundAtCreate = FindComponent("Built") != nullptr; };
        }
        bool foundAtCreate = false;
    };
    TBuilt* form = nullptr;
    Application->CreateForm(form);
    EXPECT_TRUE(form->foundAtCreate);
}

TEST_F(ApplicationTest, ShowingACentredFormRunsItsEventsAndFocusEntersItsFirstControl) {
    TForm* f = MakeForm("Centred");
    f->SetPosition(poScreenCenter);
    TButton* first = AddButton(f, "First", 10);
    TButton* second = AddButton(f, "Second", 100);
    std::vector<String> events;
    f->OnCreate = [&](TObject*) { events.push_back("create"); };
    f->OnShow = [&](TObject*) { events.push_back("show"); };
    f->OnActivate = [&](TObject*) { events.push_back("activate"); };
    for (TButton* b : {first, second}) {
        b->OnEnter = [&events](TObject* s) {
            events.push_back("enter " + static_cast<TControl*>(s)->Name());
        };
        b->OnExit = [&events](TObject* s) { events.push_back("exit " + static_cast<TControl*>(s)->Name()); };
    }
    f->Show();
    ui.RunUntilIdle();
    ui.PressKey(VK_TAB);
    EXPECT_EQ(events, (std::vector<String>{"create", "show", "enter First", "activate", "exit First",
                                           "enter Second"}));
    const TRect area = Screen->WorkAreaRect();
    EXPECT_EQ(f->Left(), area.left + (area.Width() - 240) / 2);
    EXPECT_EQ(f->Top(), area.top + (area.Height() - 160) / 2);
    EXPECT_EQ(Screen->ActiveForm(), f);
    EXPECT_EQ(Screen->ActiveControl(), second);
}

TEST_F(ApplicationTest, ShowModalRefusesAVisibleForm) {
    TForm* f = MakeForm("Shown");
    f->Show();
    EXPECT_THROW(f->ShowModal(), EInvalidOperation);
}

TEST_F(ApplicationTest, CloseOfAModalFormCancelsItUnlessCloseQueryRefuses) {
    TForm* f = MakeForm("Modal");
    int queries = 0;
    f->OnCloseQuery = [&](TObject*, bool& can) { can = ++queries > 1; };
    ui.WhenModal([&] {
        ui.Backend().RequestClose(f->Handle());
        ui.RunUntilIdle();
    });
    ui.WhenModal([&] { f->Close(); });
    EXPECT_EQ(f->ShowModal(), mrCancel);
    EXPECT_EQ(queries, 2);
}

}  // namespace
}  // namespace tarvel
