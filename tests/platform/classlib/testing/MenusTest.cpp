// Menus: short-cut texts, short-cut keys through the form, popup menus in
// their own windows with the modal menu loop.

#include <gtest/gtest.h>

#include <filesystem>

#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Menus.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/testing/UiDriver.h"

namespace tarvel {
namespace {

TEST(ShortCuts, TextAndKeysConvertBothWays) {
    struct Case {
        TShortCut shortCut;
        const char* text;
    };
    const Case cases[] = {
        {static_cast<TShortCut>('X' | scCtrl | scAlt), "Ctrl+Alt+X"},
        {static_cast<TShortCut>((VK_F1 + 4) | scShift), "Shift+F5"},
        {static_cast<TShortCut>(VK_DELETE), "Del"},
        {static_cast<TShortCut>('S' | scCtrl), "Ctrl+S"},
        {static_cast<TShortCut>('7' | scShift | scCtrl | scAlt), "Shift+Ctrl+Alt+7"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(ShortCutToText(c.shortCut), c.text);
        EXPECT_EQ(TextToShortCut(c.text), c.shortCut);
    }
    EXPECT_EQ(TextToShortCut("ctrl+alt+x"), static_cast<TShortCut>('X' | scCtrl | scAlt));
    EXPECT_EQ(TextToShortCut("Ctrl+Nothing"), scNone);
    EXPECT_EQ(ShortCutToText(scNone), "");
    EXPECT_EQ(ShortCut('A', {ssCtrl, ssShift}), static_cast<TShortCut>('A' | scCtrl | scShift));
}

class MenusTest : public ::testing::Test {
protected:
    TMenuItem* Item(TMenuItem* parent, const char* caption, TShortCut shortCut = scNone) {
        auto* item = new TMenuItem(form);
        item->SetCaption(caption);
        item->SetShortCut(shortCut);
        item->OnClick = [this](TObject* s) { clicked.push_back(static_cast<TMenuItem*>(s)->Caption()); };
        parent->Add(item);
        return item;
    }

    void SetUp() override {
        form = new TForm(Application);
        form->SetName("Main");
        form->SetBounds(100, 100, 300, 200);
        edit = new TEdit(form);
        edit->SetName("Edit");
        edit->SetParent(form);
        edit->SetBounds(10, 10, 200, 21);
    }

    TUiDriver ui;
    TForm* form = nullptr;
    TEdit* edit = nullptr;
    std::vector<String> clicked;
};

TEST_F(MenusTest, AShortCutClicksTheParentsThenTheItemAndADisabledOneStopsTheChain) {
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&Save", static_cast<TShortCut>('S' | scCtrl | scAlt));
    TMenuItem* hidden = Item(file, "&Check", static_cast<TShortCut>('C' | scCtrl | scAlt));
    hidden->SetVisible(false);
    TMenuItem* tools = Item(menu->Items(), "&Tools");
    tools->SetEnabled(false);
    Item(tools, "&Address", static_cast<TShortCut>('A' | scCtrl | scAlt));
    form->SetMenu(menu);
    form->Show();
    ui.Click(edit);

    ui.PressKey('S', {ssCtrl, ssAlt});
    EXPECT_EQ(clicked, (std::vector<String>{"&File", "&Save"}));
    clicked.clear();
    ui.PressKey('C', {ssCtrl, ssAlt});  // hidden, yet its short-cut works
    EXPECT_EQ(clicked, (std::vector<String>{"&File", "&Check"}));
    clicked.clear();
    ui.PressKey('A', {ssCtrl, ssAlt});
    EXPECT_TRUE(clicked.empty());
    EXPECT_EQ(ui.Text(edit), "");  // the key was taken all the same
    ui.PressKey('S', {ssCtrl});    // no such short-cut: not a menu key
    EXPECT_TRUE(clicked.empty());

    delete menu;
    EXPECT_EQ(form->Menu(), nullptr);
    ui.PressKey('S', {ssCtrl, ssAlt});
    EXPECT_TRUE(clicked.empty());
}

TEST_F(MenusTest, ARightClickShowsThePopupMenuAndTheChosenItemIsClickedAfterItCloses) {
    auto* popup = new TPopupMenu(form);
    Item(popup->Items(), "&Copy");
    Item(popup->Items(), "-");
    Item(popup->Items(), "Save and clear    ");
    TMenuItem* disabled = Item(popup->Items(), "&Disabled");
    disabled->SetEnabled(false);
    edit->SetPopupMenu(popup);
    form->Show();

    // With the mouse: the third row (under the separator).
    bool windowShown = false;
    ui.WhenModal([&] {
        HWND menu = ActiveMenuWindow();
        ASSERT_TRUE(menu);
        windowShown = IsWindowVisible(menu);
        const std::string png = (std::filesystem::path(TARVEL_BINARY_DIR) / "popup_menu.png").string();
        ui.Backend().SaveWindowPng(menu, png);
        TRect r = WindowRect(menu);
        TFont menuFont;
        const int row = std::max(MeasureText(&menuFont, "Wg", 0, false).cy + 6, 19);
        TPoint third{r.left + 20, r.top + 3 + row + 8 + row / 2};
        ui.Backend().MouseMove(third);
        ui.Backend().Click(third);
        ui.RunUntilIdle();
    });
    ui.RightClick(edit);
    EXPECT_TRUE(windowShown);
    EXPECT_EQ(clicked, std::vector<String>{"Save and clear    "});
    EXPECT_EQ(popup->PopupComponent(), edit);
    EXPECT_EQ(ActiveMenuWindow(), nullptr);

    // With keys: Down skips the separator; a disabled item cannot be chosen;
    // Escape closes without a choice.
    clicked.clear();
    ui.WhenModal([&] {
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_RETURN);
    });
    ui.WhenModal([&] { ui.PressKey(VK_ESCAPE); });
    ui.RightClick(edit);
    EXPECT_TRUE(clicked.empty());
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(MenusTest, ASubmenuOpensBesideItsItemAndAClickOutsideCancels) {
    auto* popup = new TPopupMenu(form);
    TMenuItem* more = Item(popup->Items(), "&More");
    Item(more, "&Inner");
    form->Show();  // keys go to the active form's focus, where the menu loop takes them
    ui.RunUntilIdle();
    ui.WhenModal([&] {
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_RIGHT);
        ui.PressKey(VK_RETURN);
    });
    popup->Popup(200, 200);
    EXPECT_EQ(clicked, std::vector<String>{"&Inner"});

    clicked.clear();
    ui.WhenModal([&] {
        ui.Backend().Click(TPoint{5, 5});
        ui.RunUntilIdle();
    });
    popup->Popup(200, 200);
    EXPECT_TRUE(clicked.empty());
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(MenusTest, TheMainMenuBarSitsAboveTheClientAreaAndOpensByClickAndByAlt) {
    auto* menu = new TMainMenu(form);
    TMenuItem* file = Item(menu->Items(), "&File");
    Item(file, "&Open");
    Item(file, "E&xit");
    Item(menu->Items(), "&Help");
    form->SetMenu(menu);
    form->Show();
    ui.RunUntilIdle();
    const int bar = GetSystemMetrics(SM_CYMENU);
    EXPECT_EQ(form->ClientOrigin().y - WindowRect(form->Handle()).top, bar);
    EXPECT_EQ(form->ClientHeight(), 200 - bar);
    EXPECT_TRUE(
        ui.SaveScreenshot(form, (std::filesystem::path(TARVEL_BINARY_DIR) / "main_menu.png").string()));

    ui.WhenModal([&] {
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_RETURN);
    });
    TPoint onFile{WindowRect(form->Handle()).left + 12, form->ClientOrigin().y - bar / 2};
    ui.Backend().MouseMove(onFile);
    ui.Backend().Click(onFile);
    ui.RunUntilIdle();
    EXPECT_EQ(clicked, (std::vector<String>{"&File", "E&xit"}));

    clicked.clear();
    ui.Click(edit);
    ui.WhenModal([&] {
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_RETURN);
    });
    ui.PressKey('F', {ssAlt});
    EXPECT_EQ(clicked, (std::vector<String>{"&File", "&Open"}));
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(MenusTest, AnItemShowsItsPictureFromTheMenusImageList) {
    auto* images = new TImageList(form);
    images->SetWidth(16);
    images->SetHeight(16);
    TBitmap red(16, 16);
    red.Canvas()->Brush()->SetColor(clRed);
    red.Canvas()->FillRect(TRect{0, 0, 16, 16});
    images->Add(&red, nullptr);
    auto* popup = new TPopupMenu(form);
    popup->SetImages(images);
    Item(popup->Items(), "&Picture")->SetImageIndex(0);
    Item(popup->Items(), "&Plain");
    form->Show();
    ui.RunUntilIdle();
    uint32_t inColumn = 0, besideText = 0;
    ui.WhenModal([&] {
        HWND menu = ActiveMenuWindow();
        auto pixels = ui.Backend().WindowPixels(menu);
        ASSERT_TRUE(pixels);
        TFont menuFont;
        const int row = std::max(MeasureText(&menuFont, "Wg", 0, false).cy + 6, 19);
        inColumn = pixels->Pixel(3 + 10, 3 + row / 2) & 0xFFFFFF;
        besideText = pixels->Pixel(3 + 10, 3 + row + row / 2) & 0xFFFFFF;
        ui.PressKey(VK_ESCAPE);
    });
    popup->Popup(100, 100);
    EXPECT_EQ(inColumn, 0xFF0000u);
    EXPECT_NE(besideText, 0xFF0000u);
    delete images;
    EXPECT_EQ(popup->Images(), nullptr);
}

class MenuBarTest : public MenusTest {
protected:
    void SetUp() override {
        MenusTest::SetUp();
        auto* menu = new TMainMenu(form);
        TMenuItem* file = Item(menu->Items(), "&File");
        Item(file, "&Open");
        Item(file, "E&xit");
        TMenuItem* editMenu = Item(menu->Items(), "&Edit");
        Item(editMenu, "&Copy");
        Item(Item(editMenu, "&More"), "&Inner");
        Item(Item(menu->Items(), "&Help"), "&About");
        form->SetMenu(menu);
        form->Show();
        ui.Click(edit);
    }
    static String Hot() { return ActiveMenuBarItem() ? ActiveMenuBarItem()->Caption() : String("(none)"); }
    // Whether the bar shows its first item selected.
    bool FirstItemLit() {
        auto pixels = ui.Backend().WindowPixels(form->Handle());
        const TRect wr = WindowRect(form->Handle());
        const int y = form->ClientOrigin().y - wr.top - GetSystemMetrics(SM_CYMENU) / 2;
        const int x = form->ClientOrigin().x - wr.left + 2;
        return pixels && (pixels->Pixel(x, y) & 0xFFFFFF) == ColorRefToPixel(ColorToColorRef(clHighlight));
    }
};

TEST_F(MenuBarTest, AltAloneOrF10SelectsTheFirstItemAndLeftRightMoveAlongTheBar) {
    for (UINT key : {static_cast<UINT>(VK_MENU), static_cast<UINT>(VK_F10)}) {
        SCOPED_TRACE(key);
        std::vector<String> seen;
        bool lit = false;
        ui.WhenModal([&] {
            seen.push_back(Hot());
            lit = FirstItemLit();
            EXPECT_EQ(ActiveMenuWindow(), form->Handle());
            ui.PressKey(VK_RIGHT);
        });
        ui.WhenModal([&] {
            seen.push_back(Hot());
            ui.PressKey(VK_LEFT);
            ui.PressKey(VK_LEFT);
        });
        ui.WhenModal([&] {
            seen.push_back(Hot());
            ui.PressKey(VK_ESCAPE);
        });
        ui.PressKey(key);
        EXPECT_EQ(seen, (std::vector<String>{"&File", "&Edit", "&Help"}));
        EXPECT_TRUE(lit);
        EXPECT_EQ(ActiveMenuBarItem(), nullptr);
        EXPECT_EQ(ActiveMenuWindow(), nullptr);
        EXPECT_FALSE(FirstItemLit()) << "the bar is drawn plain again";
        EXPECT_TRUE(clicked.empty());
        EXPECT_TRUE(ui.Problems().empty());
    }
}

TEST_F(MenuBarTest, FromAnOpenPopupLeftAndRightOpenTheNeighboursPopup) {
    std::vector<String> seen;
    const auto look = [&] {
        seen.push_back(Hot());
        EXPECT_NE(ActiveMenuWindow(), form->Handle()) << "a popup is open";
    };
    ui.WhenModal([&] { ui.PressKey(VK_DOWN); });  // opens File with its first item selected
    ui.WhenModal([&] {
        look();
        ui.PressKey(VK_RIGHT);  // Open has no sub-items: on to Edit
    });
    ui.WhenModal([&] {
        look();
        ui.PressKey(VK_DOWN);
        ui.PressKey(VK_RIGHT);  // More's submenu
        ui.PressKey(VK_LEFT);   // closes only the submenu
        ui.PressKey(VK_LEFT);   // back to File
    });
    ui.WhenModal([&] {
        look();
        ui.PressKey(VK_LEFT);  // round to Help
    });
    ui.WhenModal([&] {
        look();
        ui.PressKey(VK_RETURN);
    });
    ui.PressKey(VK_MENU);
    EXPECT_EQ(seen, (std::vector<String>{"&File", "&Edit", "&File", "&Help"}));
    EXPECT_EQ(clicked, (std::vector<String>{"&File", "&Edit", "&File", "&Help", "&About"}));
    EXPECT_EQ(ActiveMenuBarItem(), nullptr);
    EXPECT_TRUE(ui.Problems().empty());
}

TEST_F(MenuBarTest, EscapeClosesThePopupBackToTheBarAndThenTheBar) {
    std::vector<String> seen;
    ui.WhenModal([&] { ui.PressKey(VK_ESCAPE); });
    ui.WhenModal([&] {
        seen.push_back(Hot());
        EXPECT_EQ(ActiveMenuWindow(), form->Handle());
        ui.PressKey(VK_ESCAPE);
    });
    ui.PressKey('E', {ssAlt});
    EXPECT_EQ(seen, std::vector<String>{"&Edit"});
    EXPECT_EQ(ActiveMenuBarItem(), nullptr);

    // Alt inside an open popup ends everything at once, and letting it go
    // does not select the bar again.
    ui.WhenModal([&] { ui.PressKey(VK_DOWN); });
    ui.WhenModal([&] { ui.PressKey(VK_MENU); });
    ui.PressKey(VK_MENU);
    EXPECT_EQ(ActiveMenuBarItem(), nullptr);
    EXPECT_EQ(ActiveMenuWindow(), nullptr);

    // Opened by a click, Escape leaves the menu at once.
    ui.WhenModal([&] { ui.PressKey(VK_ESCAPE); });
    TPoint onFile{WindowRect(form->Handle()).left + 12,
                  form->ClientOrigin().y - GetSystemMetrics(SM_CYMENU) / 2};
    ui.Backend().MouseMove(onFile);
    ui.Backend().Click(onFile);
    ui.RunUntilIdle();
    EXPECT_EQ(ActiveMenuBarItem(), nullptr);
    EXPECT_EQ(clicked, (std::vector<String>{"&Edit", "&File", "&File"}));
    EXPECT_TRUE(ui.Problems().empty());
}

// A menu drawn elsewhere: holds the capture on its window and waits through
// the application's idle call until it loses the capture or is told to end.
HWND gForeignMenu = nullptr;
HWND ForeignMenuWindow() { return gForeignMenu; }

TEST_F(MenusTest, AProbedForeignMenuLoopIsDrivenAsAMenu) {
    form->Show();
    ui.RunUntilIdle();
    SetMenuWindowProbe(&ForeignMenuWindow);
    int keysSeen = 0;
    auto runLoop = [&](int endAfterKeys) {
        gForeignMenu = form->Handle();
        SetCapture(gForeignMenu);
        // Bounded, so a driver that misses the loop fails rather than hangs.
        for (int waits = 0; GetCapture() == gForeignMenu && keysSeen < endAfterKeys && waits < 100; ++waits) {
            Application->Idle();
            MSG msg;
            while (PeekMessage(&msg, nullptr, 0, 0, PM_REMOVE))
                if (msg.message == WM_KEYDOWN) ++keysSeen;
        }
        if (GetCapture() == gForeignMenu) ReleaseCapture();
        gForeignMenu = nullptr;
    };

    // The scripted key is queued for the loop, not pumped by the driver.
    bool activeInAction = false;
    ui.WhenModal([&] {
        activeInAction = ActiveMenuWindow() == form->Handle();
        ui.PressKey(VK_DOWN);
    });
    runLoop(1);
    EXPECT_TRUE(activeInAction);
    EXPECT_EQ(keysSeen, 1);
    EXPECT_TRUE(ui.Problems().empty());

    // With nothing scripted the driver takes the capture away and says so.
    runLoop(100);
    EXPECT_EQ(keysSeen, 1);
    EXPECT_EQ(ui.Problems().size(), 1u);
    EXPECT_EQ(ActiveMenuWindow(), nullptr);
    SetMenuWindowProbe(nullptr);
}

TEST_F(MenusTest, ItemsFreeTheirSubItemsAndLeaveTheirParent) {
    auto* menu = new TPopupMenu(form);
    TMenuItem* top = Item(menu->Items(), "Top");
    Item(top, "A");
    TMenuItem* b = Item(top, "B");
    const int owned = form->ComponentCount();
    delete b;
    EXPECT_EQ(top->Count(), 1);
    delete top;
    EXPECT_EQ(menu->Items()->Count(), 0);
    EXPECT_EQ(form->ComponentCount(), owned - 3);
    EXPECT_EQ(menu->Items()->Find("top"), nullptr);
}

}  // namespace
}  // namespace tarvel
