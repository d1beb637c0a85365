// Notebooks: the page list, which page shows, and the page-change event.

#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/ExtCtrls_Notebook.h"
#include "platform/classlib/StdCtrls_Edit.h"

#include "ControlFixture.h"

namespace tarvel {
namespace {

class NotebookTest : public ControlFixture {
protected:
    TNotebook* MakeNotebook() {
        auto* nb = Add<TNotebook>("Notebook", Bounds(10, 10, 200, 120));
        nb->Pages()->SetText("One\nTwo\nThree\n");
        nb->OnPageChanged = [this](TObject*) { ++changes; };
        return nb;
    }
    static std::vector<bool> Shown(TNotebook* nb) {
        std::vector<bool> shown;
        for (int i = 0; i < nb->PageCount(); ++i) shown.push_back(nb->Page(i)->Visible());
        return shown;
    }
    int changes = 0;
};

TEST_F(NotebookTest, PagesAreWindowedChildrenNamedByTheirLines) {
    auto* nb = Add<TNotebook>("Notebook", Bounds(10, 10, 200, 120));
    EXPECT_EQ(nb->Pages()->CommaText(), "Default");
    EXPECT_EQ(nb->PageIndex(), 0);
    nb->Pages()->SetText("One\nTwo\n");
    ASSERT_EQ(nb->PageCount(), 2);
    EXPECT_EQ(nb->PageIndex(), 0);
    EXPECT_EQ(nb->ActivePage(), "One");
    for (int i : {1, 0}) {
        nb->SetPageIndex(i);
        EXPECT_EQ(nb->Page(i)->Parent(), nb);
        EXPECT_EQ(nb->Page(i)->Notebook(), nb);
        EXPECT_EQ(nb->Page(i)->BoundsRect(), nb->ClientRect()) << "the showing page fills the notebook";
    }
    nb->Pages()->Put(1, "Renamed");
    EXPECT_EQ(nb->Page(1)->Caption(), "Renamed");
    EXPECT_EQ(nb->Pages()->IndexOf("Renamed"), 1);
    EXPECT_THROW(nb->Page(2), EListError);
}

TEST_F(NotebookTest, OnlyTheActivePageShowsAndEachRealChangeIsReported) {
    auto* nb = MakeNotebook();
    changes = 0;
    struct Step {
        const char* how;
        int index;  // SetPageIndex, or -2 for SetActivePage(name)
        String name;
        int expectIndex, expectChanges;
    } steps[] = {
        {"to two", 1, "", 1, 1},      {"same again", 1, "", 1, 1},    {"out of range", 7, "", 1, 1},
        {"negative", -1, "", 1, 1},   {"by name", -2, "Three", 2, 2}, {"unknown name", -2, "Nope", 2, 2},
        {"back to one", 0, "", 0, 3},
    };
    for (const Step& s : steps) {
        if (s.index == -2)
            nb->SetActivePage(s.name);
        else
            nb->SetPageIndex(s.index);
        EXPECT_EQ(nb->PageIndex(), s.expectIndex) << s.how;
        EXPECT_EQ(changes, s.expectChanges) << s.how;
        for (int i = 0; i < nb->PageCount(); ++i)
            EXPECT_EQ(nb->Page(i)->Visible(), i == s.expectIndex) << s.how;
    }
}

TEST_F(NotebookTest, AddingAndFreeingPagesKeepsTheActivePageOrMovesToItsNeighbour) {
    auto* nb = MakeNotebook();
    nb->SetPageIndex(1);
    TPage* two = nb->Page(1);
    nb->Pages()->Insert(0, "Zero");
    EXPECT_EQ(nb->Page(nb->PageIndex()), two) << "inserting before keeps the same page active";
    changes = 0;
    delete nb->Page(0);  // a page freed from outside leaves the list
    EXPECT_EQ(nb->Pages()->CommaText(), "One,Two,Three");
    EXPECT_EQ(nb->Page(nb->PageIndex()), two);
    EXPECT_EQ(changes, 0);

    nb->Pages()->Exchange(0, 2);
    nb->Pages()->Move(0, 1);
    EXPECT_EQ(nb->Pages()->CommaText(), "Two,Three,One");
    EXPECT_EQ(nb->Page(nb->PageIndex()), two) << "reordering keeps the page, not the place, active";
    EXPECT_EQ(nb->Page(2)->Caption(), "One");
    nb->Pages()->Move(0, 1);
    nb->Pages()->Exchange(0, 2);
    EXPECT_EQ(nb->Pages()->CommaText(), "One,Two,Three");

    nb->Pages()->Delete(1);  // the active one
    EXPECT_EQ(nb->ActivePage(), "Three");
    EXPECT_EQ(Shown(nb), (std::vector<bool>{false, true}));
    EXPECT_EQ(changes, 1);
    nb->Pages()->Delete(1);
    EXPECT_EQ(nb->ActivePage(), "One");
    nb->Pages()->Clear();
    EXPECT_EQ(nb->PageIndex(), -1);
    EXPECT_EQ(nb->ActivePage(), "");
    nb->Pages()->Add("Fresh");
    EXPECT_EQ(nb->PageIndex(), 0) << "the first page of an empty notebook becomes active";
    EXPECT_TRUE(nb->Page(0)->Visible());
}

TEST_F(NotebookTest, OnlyTheActivePagesChildrenAreOnScreen) {
    auto* nb = MakeNotebook();
    TColor colours[] = {clRed, clLime, clBlue};
    for (int i = 0; i < 3; ++i) {
        auto* panel = Add<TPanel>("Panel" + IntToStr(i), Bounds(0, 0, 50, 50), nb->Page(i));
        panel->SetAlign(alClient);
        panel->SetBevelOuter(bvNone);
        panel->SetColor(colours[i]);
    }
    ShowForm();
    for (int i : {0, 2, 1}) {
        nb->SetPageIndex(i);
        Snap();
        EXPECT_EQ(PixelAt(nb, {100, 60}), Rgb(colours[i])) << i;
        EXPECT_TRUE(nb->Page(i)->Showing());
        EXPECT_FALSE(nb->Page((i + 1) % 3)->Showing());
    }
}

TEST_F(NotebookTest, AControlOnAPageThatHidesLosesTheFocus) {
    auto* nb = MakeNotebook();
    auto* edit = Add<TEdit>("Edit", Bounds(10, 10, 100, 21), nb->Page(0));
    ShowForm();
    ui.Click(edit);
    ASSERT_TRUE(edit->Focused());
    nb->SetPageIndex(1);
    ui.RunUntilIdle();
    EXPECT_FALSE(edit->Focused());
    EXPECT_NE(form->ActiveControl(), edit);
}

TEST_F(NotebookTest, FreeingTheNotebookFreesItsPages) {
    auto* nb = MakeNotebook();
    auto* inner = Add<TPanel>("Inner", Bounds(0, 0, 20, 20), nb->Page(2));
    bool innerGone = false;
    struct Watch : TComponent {
        bool* gone;
        explicit Watch(bool* g) : TComponent(nullptr), gone(g) {}
        void Notification(TComponent*, TOperation op) override {
            if (op == TOperation::opRemove) *gone = true;
        }
    } watch(&innerGone);
    inner->FreeNotification(&watch);
    delete nb;
    EXPECT_TRUE(innerGone);
}

}  // namespace
}  // namespace tarvel
