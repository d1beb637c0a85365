#include <gtest/gtest.h>

#include "platform/base/Exceptions.h"
#include "skin/controls/te_controls_undo.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

TEST(OrderedListTest, StackIsLastInFirstOutAndQueueFirstInFirstOut) {
    int a = 1, b = 2, c = 3;
    TTeStack stack;
    TTeQueue queue;
    for (int* p : {&a, &b, &c}) {
        stack.Push(p);
        queue.Push(p);
    }
    EXPECT_EQ(stack.Peek(), &c);
    EXPECT_EQ(queue.Peek(), &a);
    std::vector<int> fromStack, fromQueue;
    while (stack.AtLeast(1)) fromStack.push_back(*static_cast<int*>(stack.Pop()));
    while (queue.AtLeast(1)) fromQueue.push_back(*static_cast<int*>(queue.Pop()));
    EXPECT_EQ(fromStack, (std::vector<int>{3, 2, 1}));
    EXPECT_EQ(fromQueue, (std::vector<int>{1, 2, 3}));
    EXPECT_TRUE(stack.AtLeast(0));
    EXPECT_THROW(stack.Pop(), EListError);
    EXPECT_THROW(queue.Peek(), EListError);
}

TEST(OrderedListTest, FindInstanceOfHonoursExactnessAndStart) {
    TTeStack s1, s2;
    TTeQueue q;
    TTeObjectList list(false);
    list.Add(&q);
    list.Add(&s1);
    list.Add(&s2);
    struct Case {
        TClass cls;
        bool exact;
        int start, want;
    } cases[] = {
        {TTeStack::StaticClass(), true, 0, 1},         {TTeStack::StaticClass(), true, 2, 2},
        {TTeOrderedList::StaticClass(), true, 0, -1},  {TTeOrderedList::StaticClass(), false, 0, 0},
        {TTeOrderedList::StaticClass(), false, 5, -1}, {TTeQueue::StaticClass(), true, 1, -1},
    };
    for (const Case& c : cases)
        EXPECT_EQ(list.FindInstanceOf(c.cls, c.exact, c.start), c.want)
            << c.cls->ClassName() << " " << c.start;
    EXPECT_FALSE(list.OwnsObjects());
}

TEST(OrderedListTest, TypedStacksQueuesAndListsKeepOrderAndDoNotOwn) {
    TComponent a(nullptr), b(nullptr), c(nullptr);
    TTeObjectStack stack;
    TTeObjectQueue queue;
    for (TComponent* o : {&a, &b, &c}) {
        EXPECT_EQ(stack.Push(o), o);
        EXPECT_EQ(queue.Push(o), o);
    }
    EXPECT_EQ(stack.Peek(), &c);
    EXPECT_EQ(queue.Peek(), &a);
    EXPECT_EQ(stack.Pop(), &c);
    EXPECT_EQ(queue.Pop(), &a);
    EXPECT_EQ(stack.Count(), 2);
    EXPECT_EQ(queue.Peek(), &b);

    {
        auto components = std::make_unique<TTeComponentList>();
        EXPECT_TRUE(components->OwnsObjects());
        components->Add(&a);
        components->Insert(0, &c);
        EXPECT_EQ(components->Items(0), &c);
        EXPECT_EQ(components->IndexOf(&a), 1);
        components->SetItem(1, &b);
        EXPECT_EQ(components->Remove(&c), 0);
        EXPECT_EQ(components->Items(0), &b);
        EXPECT_EQ(components->FindInstanceOf(TComponent::StaticClass()), 0);
    }  // freeing the list leaves its components alone (ASan would see a double free)

    TTeClassList classes;
    classes.Add(TTeStack::StaticClass());
    classes.Insert(0, TTeQueue::StaticClass());
    EXPECT_EQ(classes.Items(0), TTeQueue::StaticClass());
    EXPECT_EQ(classes.IndexOf(TTeStack::StaticClass()), 1);
    EXPECT_EQ(classes.IndexOf(TTeObjectList::StaticClass()), -1);
    classes.SetItem(1, TTeObjectStack::StaticClass());
    EXPECT_EQ(classes.Remove(TTeQueue::StaticClass()), 0);
    EXPECT_EQ(classes.Items(0), TTeObjectStack::StaticClass());
    EXPECT_THROW(classes.Items(1), EListError);
}

// The history as the user builds it with keys.
class UndoHistoryTest : public EditTest {};

TEST_F(UndoHistoryTest, StepsFollowRunsOfTypingAndDeleting) {
    struct Case {
        const char* name;
        const char* start;
        std::function<void(UndoHistoryTest&, TTeEdit*)> act;
        int records;
        // After one undo: the text and the selection.
        const char* afterOne;
        int selStart, selLength;
    } cases[] = {
        {"three typed characters are one step", "", [](auto& t, auto*) { t.Ui().Type("abc"); }, 1, "", 0, 0},
        {"a caret move splits typing", "",
         [](auto& t, auto*) {
             t.Ui().Type("ab");
             t.Keys({VK_HOME});
             t.Ui().Type("c");
         },
         2, "ab", 0, 0},
        {"three Backspaces are one deletion", "abcde",
         [](auto& t, auto*) {
             t.Keys({VK_BACK, VK_BACK, VK_BACK});
         },
         1, "abcde", 2, 3},
        {"Backspace, Left, Backspace are two", "abcde",
         [](auto& t, auto*) {
             t.Keys({VK_BACK, VK_LEFT, VK_BACK});
         },
         2, "abcd", 2, 1},
        {"Delete pressed at one place is one step", "abcde",
         [](auto& t, auto*) {
             t.Keys({VK_HOME, VK_DELETE, VK_DELETE});
         },
         1, "abcde", 0, 2},
        {"a replaced selection is one chained step", "abc",
         [](auto& t, auto* e) {
             e->SetSelStart(1);
             e->SetSelLength(1);
             t.Ui().Type("x");
         },
         2, "abc", 1, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeEdit* e = Focused(c.start);
        c.act(*this, e);
        EXPECT_EQ(e->UndoStack()->Count(), c.records);
        EXPECT_TRUE(e->UnDo());
        EXPECT_EQ(e->GetText(), c.afterOne);
        EXPECT_EQ(e->SelStart(), c.selStart);
        EXPECT_EQ(e->SelLength(), c.selLength);
        while (e->UnDo()) {
        }
        EXPECT_EQ(e->GetText(), c.start);
        delete e;
    }
}

TEST_F(UndoHistoryTest, ThreeBackspacesKeepTheirCharactersInOneRecord) {
    TTeEdit* e = Focused("abcde");
    Keys({VK_BACK, VK_BACK, VK_BACK});
    ASSERT_EQ(e->UndoStack()->Count(), 1);
    const TEditAction* top = e->UndoStack()->Top();
    EXPECT_EQ(top->Kind, eakDeleted);
    EXPECT_EQ(top->Position, 3);
    EXPECT_EQ(WideToUtf8(top->Text), "cde");
}

TEST_F(UndoHistoryTest, EmptyHistoryUndoesNothingAndProgramTextForgetsIt) {
    TTeEdit* e = Focused("");
    EXPECT_FALSE(e->UnDo());
    Ui().Type("12345");
    e->SetText("xy");
    // Old steps would cut characters out of a text they never saw.
    EXPECT_FALSE(e->UnDo());
    EXPECT_EQ(e->GetText(), "xy");
}

TEST_F(UndoHistoryTest, RefusedTypingAtMaxLengthRecordsNothing) {
    TTeEdit* e = Focused("ab");
    e->SetMaxLength(4);
    Ui().Type("cdef");
    EXPECT_EQ(e->GetText(), "abcd");
    EXPECT_EQ(e->UndoStack()->Count(), 1);
    EXPECT_TRUE(e->UnDo());
    EXPECT_EQ(e->GetText(), "ab");
}

}  // namespace
}  // namespace tarvel::testing
