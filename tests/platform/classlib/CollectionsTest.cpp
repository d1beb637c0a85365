#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/classlib/Collections.h"
#include "platform/classlib/Lists.h"

namespace tarvel {
namespace {

class Panel : public TCollectionItem {
    TARVEL_CLASS(Panel, TCollectionItem)

public:
    using TCollectionItem::TCollectionItem;

    std::string text = "new";
    int width = 50;
    void SetWidth(int w) {
        width = w;
        Changed(false);
    }

    void Assign(TPersistent* source) override {
        if (auto* p = dynamic_cast<Panel*>(source)) {
            text = p->text;
            width = p->width;
            return;
        }
        TCollectionItem::Assign(source);
    }

protected:
    String GetDisplayName() override { return text.empty() ? TCollectionItem::GetDisplayName() : text; }
};

// Records the updates it receives, as a status bar would to relayout.
class Panels : public TOwnedCollection {
    TARVEL_CLASS(Panels, TOwnedCollection)

public:
    explicit Panels(TPersistent* owner) : TOwnedCollection(owner, Panel::StaticClass()) {}
    Panel* Items(int i) const { return static_cast<Panel*>(TCollection::Items(i)); }
    std::vector<std::string> updates;

protected:
    // A relayout reads every panel, the newest included.
    void Update(TCollectionItem* item) override {
        if (item) {
            updates.push_back(static_cast<Panel*>(item)->text);
            return;
        }
        std::string all = "all";
        for (int i = 0; i < Count(); ++i) all += " " + Items(i)->text;
        updates.push_back(all);
    }
};

TEST(CollectionsTest, AddMakesItemsOfTheItemClass) {
    TPersistent bar;
    Panels panels(&bar);
    auto* first = panels.Add();
    ASSERT_TRUE(first->Is<Panel>());
    static_cast<Panel*>(first)->text = "first";
    auto* second = static_cast<Panel*>(panels.Add());
    second->text = "second";
    EXPECT_EQ(panels.Count(), 2);
    EXPECT_EQ(second->Index(), 1);
    EXPECT_EQ(second->Collection(), &panels);
    EXPECT_EQ(second->GetOwner(), &panels);
    EXPECT_EQ(panels.GetOwner(), &bar);
    EXPECT_NE(first->ID(), second->ID());
    EXPECT_EQ(panels.FindItemID(second->ID()), second);
    EXPECT_EQ(second->DisplayName(), "second");
    auto* nameless = static_cast<Panel*>(panels.Add());
    nameless->text.clear();
    EXPECT_EQ(nameless->DisplayName(), "Panel");
}

TEST(CollectionsTest, UpdatesNameTheChangedItemOrTheWhole) {
    Panels panels(nullptr);
    auto* p = static_cast<Panel*>(panels.Add());
    p->text = "p";
    panels.updates.clear();
    p->SetWidth(80);
    EXPECT_EQ(panels.updates, std::vector<std::string>{"p"});

    panels.updates.clear();
    panels.BeginUpdate();
    panels.Add();
    p->SetWidth(90);
    panels.Delete(1);
    panels.EndUpdate();
    EXPECT_EQ(panels.updates, std::vector<std::string>{"all p"}) << "one update at the end";

    panels.updates.clear();
    panels.Add();
    EXPECT_EQ(panels.updates, std::vector<std::string>{"all p new"}) << "the update sees the item fully made";

    panels.updates.clear();
    delete p;
    EXPECT_EQ(panels.updates, std::vector<std::string>{"all new"});
}

TEST(CollectionsTest, IndexMovesAnItem) {
    Panels panels(nullptr);
    for (const char* t : {"a", "b", "c"}) static_cast<Panel*>(panels.Add())->text = t;
    panels.Items(2)->SetIndex(0);
    EXPECT_EQ(panels.Items(0)->text, "c");
    EXPECT_EQ(panels.Items(1)->text, "a");
    panels.Items(0)->SetIndex(99);
    EXPECT_EQ(panels.Items(2)->text, "c") << "an index past the end means the last place";
    auto* inserted = static_cast<Panel*>(panels.Insert(1));
    EXPECT_EQ(inserted->Index(), 1);
    EXPECT_THROW(panels.Items(4), EListError);
}

TEST(CollectionsTest, ItemsMoveBetweenCollections) {
    Panels from(nullptr), to(nullptr);
    auto* p = static_cast<Panel*>(from.Add());
    p->SetCollection(&to);
    EXPECT_EQ(from.Count(), 0);
    EXPECT_EQ(to.Count(), 1);
    EXPECT_EQ(p->Collection(), &to);
}

TEST(CollectionsTest, AssignCopiesItemByItem) {
    Panels source(nullptr), dest(nullptr);
    for (const char* t : {"x", "y"}) static_cast<Panel*>(source.Add())->text = t;
    source.Items(1)->width = 7;
    dest.Add();
    dest.Assign(&source);
    ASSERT_EQ(dest.Count(), 2);
    EXPECT_EQ(dest.Items(1)->text, "y");
    EXPECT_EQ(dest.Items(1)->width, 7);
}

TEST(CollectionsTest, PlainItemsCannotBeAssigned) {
    TCollection plain(TCollectionItem::StaticClass());
    TCollection other(TCollectionItem::StaticClass());
    other.Add();
    try {
        plain.Assign(&other);
        FAIL();
    } catch (const EConvertError& e) {
        EXPECT_EQ(e.Message(), "Cannot assign a TCollectionItem to a TCollectionItem");
    }
    EXPECT_THROW(TCollection{TList::StaticClass()}, EClassError);
}

TEST(ListsTest, PointerListBasics) {
    int a = 1, b = 2, c = 3;
    TList list;
    list.Add(&a);
    list.Add(nullptr);
    list.Add(&b);
    list.Insert(0, &c);
    EXPECT_EQ(list.Count(), 4);
    EXPECT_EQ(list.IndexOf(&b), 3);
    list.Pack();
    EXPECT_EQ(list.Count(), 3);
    list.Sort([](void* x, void* y) { return *static_cast<int*>(x) - *static_cast<int*>(y); });
    EXPECT_EQ(list.First(), &a);
    EXPECT_EQ(list.Last(), &c);
    EXPECT_EQ(list.Remove(&a), 0);
    EXPECT_EQ(list.Remove(&a), -1);
    EXPECT_EQ(list.Extract(&c), &c);
    EXPECT_EQ(list.Count(), 1);
    try {
        list.Items(1);
        FAIL();
    } catch (const EListError& e) {
        EXPECT_EQ(e.Message(), "List index out of bounds (1)");
    }
}

// A list that owns its items frees them through Notify.
class OwningList : public TList {
public:
    ~OwningList() override { Clear(); }

protected:
    void Notify(void* item, TListNotification action) override {
        if (action == TListNotification::lnDeleted) delete static_cast<std::string*>(item);
    }
};

TEST(ListsTest, NotifyLetsADescendantOwnItsItems) {
    OwningList list;
    list.Add(new std::string("one"));
    list.Add(new std::string("two"));
    auto* kept = new std::string("three");
    list.Add(kept);
    list.Delete(0);
    EXPECT_EQ(list.Extract(kept), kept);  // handed back, not freed
    delete kept;
    // The rest goes with the list; ASan reports a leak otherwise.
}

}  // namespace
}  // namespace tarvel
