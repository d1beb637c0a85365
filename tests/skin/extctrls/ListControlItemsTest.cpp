// The item collection behind the extended combo box: sorting by caption
// (with or without case, or by a comparison of the caller's), exchanges
// and copies of whole items, and a list control moving its selection.

#include <gtest/gtest.h>

#include <vector>

#include "skin/extctrls/te_extctrls_listctrl.h"

namespace tarvel {
namespace {

std::vector<String> Captions(const TTeListControlItems& items) {
    std::vector<String> out;
    for (int i = 0; i < items.Count(); ++i) out.push_back(items.ListItem(i)->Caption());
    return out;
}

void Fill(TTeListControlItems& items, const std::vector<String>& captions) {
    int data = 0;
    for (const String& caption : captions) {
        TTeListControlItem* item = items.Add();
        item->SetCaption(caption);
        item->SetData(reinterpret_cast<void*>(static_cast<intptr_t>(++data)));
    }
}

TEST(ListControlItemsTest, SortingFollowsTheOrderAndTheComparison) {
    struct Case {
        const char* name;
        TTeListItemsSortType sortType;
        bool caseSensitive, byLength;
        std::vector<String> in, out;
    };
    const std::vector<String> cells = {"cell b", "Cell C", "cell a", "Cell A"};
    const Case cases[] = {
        {"no order leaves them", stNone, false, false, cells, cells},
        {"without case, equal ones keep their order",
         stText,
         false,
         false,
         cells,
         {"cell a", "Cell A", "cell b", "Cell C"}},
        {"with case, capitals first", stText, true, false, cells, {"Cell A", "Cell C", "cell a", "cell b"}},
        {"the caller's comparison", stBoth, false, true, {"ccc", "a", "bb"}, {"a", "bb", "ccc"}},
        {"one item", stText, false, false, {"z"}, {"z"}},
        {"none", stText, false, false, {}, {}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeListControlItems items(nullptr);
        items.SetCaseSensitive(c.caseSensitive);
        if (c.byLength)
            items.OnCompare = [](TTeListControlItems*, TTeListControlItem* a, TTeListControlItem* b) {
                return static_cast<int>(a->Caption().size()) - static_cast<int>(b->Caption().size());
            };
        Fill(items, c.in);
        items.SetSortType(c.sortType);
        EXPECT_EQ(Captions(items), c.out);
        items.Sort();
        EXPECT_EQ(Captions(items), c.out);
        // Each item keeps its own data through the sort.
        for (int i = 0; i < items.Count(); ++i) {
            const auto* item = items.ListItem(i);
            const auto at = std::find(c.in.begin(), c.in.end(), item->Caption()) - c.in.begin();
            EXPECT_EQ(reinterpret_cast<intptr_t>(item->Data()), at + 1) << item->Caption();
        }
    }
}

TEST(ListControlItemsTest, ExchangeAndAssignMoveWholeItems) {
    TTeListControlItems items(nullptr);
    Fill(items, {"a", "b", "c", "d"});
    items.ListItem(0)->SetImageIndex(7);
    items.ExchangeItems(0, 3);
    EXPECT_EQ(Captions(items), (std::vector<String>{"d", "b", "c", "a"}));
    EXPECT_EQ(items.ListItem(3)->ImageIndex(), 7);
    EXPECT_EQ(reinterpret_cast<intptr_t>(items.ListItem(3)->Data()), 1);
    items.ExchangeItems(2, 1);
    EXPECT_EQ(Captions(items), (std::vector<String>{"d", "c", "b", "a"}));

    TTeListControlItem* copy = items.Add();
    EXPECT_EQ(copy->ImageIndex(), -1);
    EXPECT_EQ(copy->DisplayName(), "TTeListControlItem");
    copy->Assign(items.ListItem(3));
    EXPECT_EQ(copy->Caption(), "a");
    EXPECT_EQ(copy->ImageIndex(), 7);
    EXPECT_EQ(copy->Data(), items.ListItem(3)->Data());
    EXPECT_EQ(copy->DisplayName(), "a");
}

class TFakeList : public TTeCustomListControl {
public:
    std::vector<String> items;
    int index = -1;
    int GetCount() override { return static_cast<int>(items.size()); }
    int GetItemIndex() override { return index; }
    void SetItemIndex(int i) override { index = i; }
    void AddItem(const String& text, TObject*) override { items.push_back(text); }
    void Clear() override { items.clear(); }
    void ClearSelection() override { index = -1; }
    void CopySelection(TTeCustomListControl* destination) override {
        if (index >= 0) destination->AddItem(items[index], nullptr);
    }
    void DeleteSelected() override {
        if (index >= 0) items.erase(items.begin() + index);
        index = -1;
    }
    void SelectAll() override {}
};

TEST(ListControlItemsTest, MovingTheSelectionCopiesThenDeletes) {
    TFakeList from, to;
    from.items = {"one", "two"};
    from.SetItemIndex(1);
    from.MoveSelection(&to);
    EXPECT_EQ(from.items, (std::vector<String>{"one"}));
    EXPECT_EQ(to.items, (std::vector<String>{"two"}));
    from.MoveSelection(&to);  // nothing selected: nothing moves
    EXPECT_EQ(to.items.size(), 1u);
}

}  // namespace
}  // namespace tarvel
