// Menu items: the tree and its notifications, queued clicks, the short-cut
// search, separator reduction, where a sub-menu opens, the container-class
// registry and the sub-menu arrow.

#include <utility>

#include "skin/core/te_utils_draw.h"
#include "tests/skin/forms/MenuFixture.h"

namespace tarvel::testing {
namespace {

using ItemsTest = MenuTest;

TEST_F(ItemsTest, TreeRefusesASecondParentAndBadIndexes) {
    TTeItem* a = Add(root_, "A");
    TTeItem* other = new TTeItem(menu_);
    EXPECT_THROW(other->Add(a), EQvItemError);
    EXPECT_EQ(a->Parent(), root_);
    EXPECT_EQ(other->Count(), 0);
    EXPECT_THROW(root_->GetItem(1), EListError);
    EXPECT_THROW(root_->Delete(-1), EListError);
    TTeItem* a1 = Add(a, "A1");
    EXPECT_TRUE(root_->ContainsItem(a1));
    EXPECT_FALSE(a->ContainsItem(root_));
    // Clear unlinks; the owner still frees the items.
    root_->Clear();
    EXPECT_EQ(a->Parent(), nullptr);
    EXPECT_EQ(root_->Count(), 0);
}

TEST_F(ItemsTest, ChangesNotifyOnlyWhenAValueChanges) {
    TTeItem* a = Add(root_, "A");
    int rootCalls = 0, itemCalls = 0;
    root_->OnInternalChange = [&](TObject*) { ++rootCalls; };
    a->OnInternalChange = [&](TObject*) { ++itemCalls; };
    a->SetCaption(u"A");
    a->SetImageIndex(3);
    EXPECT_EQ(rootCalls + itemCalls, 0);
    a->SetCaption(u"B");
    EXPECT_EQ(itemCalls, 1);
    EXPECT_EQ(rootCalls, 1);
    // A root hears its own change twice: as the item and as the root.
    root_->SetChecked(true);
    EXPECT_EQ(rootCalls, 3);
}

TEST_F(ItemsTest, ClicksRunFromTheQueueAndNeverOnAFreedItem) {
    int clicks = 0;
    TTeItem* a = Add(root_, "A");
    TTeItem* gone = Add(root_, "Gone");
    TTeItem* line = Add(root_, "-");
    TTeItem* parent = Add(root_, "P");
    Add(parent, "P1");
    for (TTeItem* i : {a, gone, line, parent}) i->OnClick = [&](TObject*) { ++clicks; };
    a->DoClick();
    gone->DoClick();
    line->DoClick();
    parent->DoClick();
    EXPECT_EQ(clicks, 0);
    delete gone;
    ui_.RunUntilIdle();
    EXPECT_EQ(clicks, 1);
    a->SetEnabled(false);
    a->DoClick();
    ui_.RunUntilIdle();
    EXPECT_EQ(clicks, 1);
}

TEST_F(ItemsTest, ShortCutsClickHiddenItemsButNotDisabledOnes) {
    MakeForm(false);
    TTeItem* file = Add(root_, "File");
    TTeItem* exit = Add(file, "Exit");
    exit->ShortCut = 0xC058;  // Ctrl+Alt+X
    exit->SetVisible(false);
    int clicks = 0;
    exit->OnClick = [&](TObject*) { ++clicks; };
    const intptr_t altDown = 0x20000000;
    const struct {
        bool enabled;
        UINT key;
        intptr_t keyData;
        bool found;
        int clicks;
    } cases[] = {
        {true, 'X', altDown, true, 1},
        {false, 'X', altDown, true, 0},
        {true, 'X', 0, false, 0},  // Ctrl+X is another short-cut
        {true, 'Y', altDown, false, 0},
    };
    for (const auto& c : cases) {
        clicks = 0;
        exit->SetEnabled(c.enabled);
        ui_.Backend().KeyDown(VK_CONTROL);
        ui_.RunUntilIdle();
        TMessage key{WM_SYSKEYDOWN, c.key, c.keyData, 0};
        EXPECT_EQ(root_->IsShortCut(key), c.found) << c.key << " " << c.enabled;
        ui_.Backend().KeyUp(VK_CONTROL);
        ui_.RunUntilIdle();
        EXPECT_EQ(clicks, c.clicks) << c.key << " " << c.enabled;
    }
}

TEST_F(ItemsTest, ShortCutSearchEndsWhenAClickKeepsRebuildingTheTree) {
    MakeForm(false);
    TTeClickHandler* handler = std::exchange(ClickHandler, nullptr);  // clicks run at once, inside the search
    TTeItem* item = Add(root_, "Rebuild");
    item->ShortCut = 0x4000 | 'R';
    int clicks = 0;
    std::function<void(TObject*)> rebuild = [&](TObject* sender) {
        ++clicks;
        auto* old = static_cast<TTeItem*>(sender);
        TTeItem* fresh = Add(root_, "Rebuild");
        fresh->ShortCut = old->ShortCut;
        fresh->OnClick = rebuild;
        old->ShortCut = scNone;
    };
    item->OnClick = rebuild;
    ui_.Backend().KeyDown(VK_CONTROL);
    ui_.RunUntilIdle();
    TMessage key{WM_KEYDOWN, 'R', 0, 0};
    EXPECT_TRUE(root_->IsShortCut(key));
    EXPECT_GT(clicks, 1);
    EXPECT_LT(clicks, 64);
    ui_.Backend().KeyUp(VK_CONTROL);
    ClickHandler = handler;
}

TEST_F(ItemsTest, SeparatorsAtTheEdgesOrTwiceInARowAreHidden) {
    MakeForm(false);
    const struct {
        TMenuItemAutoFlag reduction;
        std::vector<const char*> entries;
        std::string shown;  // the visible entries, or "closed" when nothing opened
    } cases[] = {
        {maAutomatic, {"-", "A", "-", "-", "B", "-"}, "A-B"},
        {maManual, {"-", "A", "-", "-", "B", "-"}, "-A--B-"},
        {maAutomatic, {"A", "-", "B"}, "A-B"},
        {maAutomatic, {"-", "-"}, "closed"},
    };
    for (const auto& c : cases) {
        root_->Clear();
        menu_->AutoLineReduction = c.reduction;
        for (const char* e : c.entries) Add(root_, e);
        std::string shown = "closed";
        Then([&] {
            shown.clear();
            for (int i = 0; i < root_->Count(); ++i)
                if (root_->GetItem(i)->Visible()) shown += WideToUtf8(root_->GetItem(i)->Caption());
            Key(VK_ESCAPE);
        });
        Open(TPoint{300, 200});
        EXPECT_EQ(shown, c.shown);
    }
    EXPECT_EQ(StuckMenus(), 0);
}

TEST_F(ItemsTest, PlacementKeepsTheMenuOnTheMonitor) {
    const TRect monitor{0, 0, 1024, 768};
    const TSize size{100, 200};
    const struct {
        const char* what;
        TPoint at;
        TRect from;
        bool fromBar;
        TRect expected;
    } cases[] = {
        {"popup at a point", {300, 200}, {}, false, {300, 200, 400, 400}},
        {"popup near the bottom-right corner opens up and left",
         {1000, 700},
         {},
         false,
         {900, 500, 1000, 700}},
        {"beside a popup entry", {500, 100}, {400, 100, 500, 120}, false, {500, 100, 600, 300}},
        {"beside an entry near the bottom: bottoms aligned",
         {500, 700},
         {400, 700, 500, 720},
         false,
         {500, 520, 600, 720}},
        {"beside an entry at the right edge: pushed left",
         {1000, 100},
         {900, 100, 1000, 120},
         false,
         {924, 100, 1024, 300}},
        {"below a bar item", {50, 20}, {50, 0, 90, 20}, true, {50, 20, 150, 220}},
        {"above a bar item near the bottom", {50, 700}, {50, 680, 90, 700}, true, {50, 480, 150, 680}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(PlacePopup(c.at, c.from, c.fromBar, size, monitor), c.expected) << c.what;
    // Too high to flip above the item either: kept at the monitor's top,
    // also on a monitor that does not start at 0.
    EXPECT_EQ(PlacePopup({50, 150}, {50, 130, 90, 150}, true, TSize{100, 700}, monitor),
              (TRect{50, 0, 150, 700}));
    const TRect second{0, 768, 1024, 1536};
    EXPECT_EQ(PlacePopup({50, 1000}, {50, 980, 90, 1000}, true, TSize{100, 700}, second).top, 768);
}

class TBaseContainer : public TComponent {
    TARVEL_CLASS(TBaseContainer, TComponent)

public:
    using TComponent::TComponent;
    std::vector<TTeItem*> received;
};
class TDerivedContainer : public TBaseContainer {
    TARVEL_CLASS(TDerivedContainer, TBaseContainer)

public:
    using TBaseContainer::TBaseContainer;
};

TEST_F(ItemsTest, ContainerClassesCountTheirRegistrations) {
    DoneMenus();  // a registry of its own
    InitMenus();
    auto insert = [](TComponent* c, TTeItem* item) {
        static_cast<TBaseContainer*>(c)->received.push_back(item);
    };
    auto itemClass = [](TClass& cls) { cls = TTeItem::StaticClass(); };
    RegisterContainerClass(TBaseContainer::StaticClass(), insert, itemClass);
    RegisterContainerClass(TBaseContainer::StaticClass(), insert, itemClass);
    EXPECT_EQ(ContainerClassUseCount(TBaseContainer::StaticClass()), 2);
    EXPECT_EQ(GetItemClass(TBaseContainer::StaticClass()), TTeItem::StaticClass());
    EXPECT_EQ(GetItemClass(TDerivedContainer::StaticClass()), nullptr);
    // An item streamed into a derived container goes through the base's record.
    TDerivedContainer derived(nullptr);
    TTeItem* a = Add(root_, "A");
    a->SetParentComponent(&derived);
    EXPECT_EQ(derived.received, std::vector<TTeItem*>{a});
    EXPECT_EQ(a->Parent(), nullptr);
    TTeItem* b = new TTeItem(menu_);
    b->SetParentComponent(root_);
    EXPECT_EQ(b->Parent(), root_);
    UnregisterContainerClass(TBaseContainer::StaticClass());
    EXPECT_EQ(ContainerClassUseCount(TBaseContainer::StaticClass()), 1);
    UnregisterContainerClass(TBaseContainer::StaticClass());
    EXPECT_FALSE(ContainerClassListExists());
}

TEST_F(ItemsTest, MenuResourcesComeFromTheSystemMetrics) {
    NONCLIENTMETRICSW ncm;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, sizeof(ncm), &ncm, 0));
    EXPECT_EQ(MenuItemWidth, ncm.iMenuWidth);
    EXPECT_EQ(MenuItemHeight, ncm.iMenuHeight);
    EXPECT_EQ(MenuFont->Name(), WideToUtf8(ncm.lfMenuFont.lfFaceName));
    ASSERT_TRUE(MenuArrowBitmap);
    EXPECT_EQ(MenuArrowBitmap->Width(), 20);
}

TEST_F(ItemsTest, TheArrowTakesTheTextColourOnATransparentGround) {
    TBitmap target;
    target.SetSize(20, 20);
    FillRect(*target.Canvas(), TRect{0, 0, 20, 20}, clLime);
    DrawMenuArrow(*target.Canvas(), 0, 0, clRed);
    int red = 0, other = 0;
    for (int y = 0; y < 20; ++y)
        for (int x = 0; x < 20; ++x) {
            const TColor px = target.Canvas()->Pixels(x, y);
            if (px == ColorToRGB(clRed))
                ++red;
            else if (px != ColorToRGB(clLime))
                ++other;
        }
    EXPECT_GT(red, 4);
    EXPECT_EQ(other, 0);
}

}  // namespace
}  // namespace tarvel::testing
