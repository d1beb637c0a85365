// The built skin as the tool loads it: every object its windows ask for,
// every image link resolving, and a picture of the objects for people.
#include <gtest/gtest.h>

#include <filesystem>

#include "platform/classlib/PropertyTable.h"
#include "platform/gdi/Gdi.h"
#include "skin/core/te_bitmap.h"
#include "skin/themes/theme_se3.h"
#include "skin/themes/theme_se3source.h"
#include "tests/skin/themes/ThemeSheetFixture.h"

namespace tarvel {
namespace {

const String kBuilt = TARVEL_BINARY_DIR "/res/theme/dara.mskn";

class DaraSkin : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(source.LoadFromFile(kBuilt)) << kBuilt; }
    TSeSkinObject* Find(const String& path) { return source.GetObjectByName(path); }
    TSeSkinSource source{nullptr};
};

TEST_F(DaraSkin, DefinesEveryObjectTheToolsWindowsUse) {
    const char* const paths[] = {"Form",
                                 "NoBorder",
                                 "NoBorder\\Client",
                                 "MenuBar\\Frame",
                                 "MenuBar\\Item",
                                 "MenuBar\\separator",
                                 "PopupMenu\\Frame",
                                 "PopupMenu\\Item",
                                 "PopupMenu\\Separator",
                                 "Button",
                                 "Checkbox\\Checked",
                                 "Checkbox\\Unchecked",
                                 "Checkbox\\Mixed",
                                 "RadioButton\\Checked",
                                 "RadioButton\\Unchecked",
                                 "GroupBox\\Frame",
                                 "Edit\\Frame",
                                 "Edit\\Button",
                                 "ComboBox\\Button",
                                 "ScrollBar\\TopButton",
                                 "ScrollBar\\BottomButton",
                                 "ScrollBar\\LeftButton",
                                 "ScrollBar\\RightButton",
                                 "ScrollBar\\HorzSlider",
                                 "ScrollBar\\VertSlider",
                                 "ScrollBar\\HorzFrame",
                                 "ScrollBar\\VertFrame",
                                 "ScrollBox\\Frame",
                                 "Tabs\\Frame",
                                 "Tabs\\Tab",
                                 "Tabs\\LeftButton",
                                 "Tabs\\RightButton",
                                 "StatusBar\\Frame",
                                 "StatusBar\\Panel",
                                 "StatusBar\\Gripper",
                                 "ToolBar",
                                 "SpeedButton\\Face",
                                 "SpeedButton\\Separator",
                                 "ControlBar",
                                 "ProgressBar\\Frame",
                                 "ProgressBar\\Bar",
                                 "Grid\\Frame",
                                 "Grid\\Fixed",
                                 "Grid\\Cell",
                                 "Hint",
                                 "Header\\Section",
                                 "ListBox\\Frame",
                                 "ListBox\\Item",
                                 "Container\\Panel"};
    for (const char* path : paths) EXPECT_NE(Find(path), nullptr) << path;

    for (const char* size : {"Checkbox\\Checked", "Checkbox\\Unchecked", "Checkbox\\Mixed",
                             "RadioButton\\Checked", "RadioButton\\Unchecked"}) {
        TSeSkinObject* o = Find(size);
        ASSERT_NE(o, nullptr) << size;
        EXPECT_EQ(o->GetWidth(), 13) << size;
        EXPECT_EQ(o->GetHeight(), 13) << size;
    }
}

TEST_F(DaraSkin, TheFrameIsRectangularWithEveryPartAndCaptionButton) {
    TSeSkinObject* form = source.GetForm();
    ASSERT_NE(form, nullptr);
    EXPECT_FALSE(form->GetMasked());
    for (TSeKind kind : {skForm, skCaption, skTitle, skTop, skLeft, skRight, skBottom, skBottomLeft,
                         skBottomRight, skClient})
        EXPECT_NE(form->FindObjectByKind(kind), nullptr) << SeKindIdents()[kind];
    for (TSeAction action :
         {sbaSysMenu, sbaClose, sbaMinimize, sbaMaximize, sbaRestore, sbaRollUp, sbaRollDown, sbaTray}) {
        auto* button = dynamic_cast<TSeSystemButton*>(form->FindObjectByAction(action));
        ASSERT_NE(button, nullptr) << SeActionIdents()[action];
        if (action == sbaSysMenu) continue;  // the window's icon is drawn there
        for (TteBitmapLink* link : {button->GetBitmap(), button->GetActiveBitmap(), button->GetBitmapHot(),
                                    button->GetBitmapPressed()}) {
            EXPECT_TRUE(link->GetAssigned()) << SeActionIdents()[action];
            EXPECT_TRUE(SameText(link->Name, "Buttons"));
            EXPECT_TRUE(link->Masked) << "the caption shows around the glyph";
        }
    }
}

// Every link named in the tree, with the object's path.
void CollectLinks(TSeSkinObject* o, const String& path,
                  std::vector<std::pair<String, TteBitmapLink*>>& links) {
    for (const TPropInfo* info : GetPropList(o->ClassType())) {
        if (info->Kind != TPropKind::Class) continue;
        if (auto* link = dynamic_cast<TteBitmapLink*>(info->GetObject(*o)))
            links.emplace_back(path + "." + info->Name, link);
    }
    for (int i = 0; i < o->GetCount(); ++i)
        CollectLinks(o->GetObject(i), path + "\\" + o->GetObject(i)->Name(), links);
}

TEST_F(DaraSkin, EveryImageLinkResolvesInsideItsImage) {
    std::vector<std::pair<String, TteBitmapLink*>> links;
    for (int i = 0; i < source.GetCount(); ++i)
        CollectLinks(source.GetObject(i), source.GetObject(i)->Name(), links);
    ASSERT_GT(links.size(), 50u);
    int named = 0;
    for (const auto& [where, link] : links) {
        if (link->Name.empty()) continue;
        ++named;
        TteBitmap* image = source.Bitmaps().GetBitmapByName(link->Name);
        ASSERT_NE(image, nullptr) << where << " names " << link->Name;
        const TRect r = link->Rect();
        EXPECT_TRUE(r.left >= 0 && r.top >= 0 && r.right > r.left && r.bottom > r.top &&
                    r.right <= image->Width() && r.bottom <= image->Height())
            << where << " " << r.left << "," << r.top << "," << r.right << "," << r.bottom << " in "
            << link->Name;
        EXPECT_TRUE(link->GetAssigned()) << where;
    }
    EXPECT_GT(named, 50);
}

TEST_F(DaraSkin, HasNoDefaultObjectAndNoBoundsThatWouldMoveControls) {
    EXPECT_EQ(Find("default"), nullptr);
    for (int i = 0; i < source.GetCount(); ++i) {
        TSeSkinObject* o = source.GetObject(i);
        EXPECT_EQ(o->FindObjectByName("Bounds"), nullptr) << o->Name();
    }
}

TEST(DaraSkinTheme, EveryTableEntryTheToolsWindowsUseResolves) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    // Elements the tool's windows never show; their entries stay empty.
    const std::vector<String> unused = {"TrackBar", "Frame", "Splitter", "SpinButton", "ToolWindow", "Panel"};
    for (const TSkinFileObjectName& entry : SkinFileObjectNames()) {
        if (std::find(unused.begin(), unused.end(), entry.Name) != unused.end()) continue;
        EXPECT_NE(theme.ObjectTable(entry.Entry), nullptr) << entry.Name;
    }
    for (TSkinFileEntry made : {kseFormClient, kseFormButtonRects, kseFormButtons, kseFormClientObject})
        EXPECT_NE(theme.ObjectTable(made), nullptr) << int{made};
    EXPECT_TRUE(theme.IsWindowDefined(kwscStandard, "default"));
    EXPECT_TRUE(theme.IsWindowDefined(kwscNoBorder, "NoBorder"));
}

// The caption's text runs from after the window icon to the leftmost button
// on the right, over most of the caption, with and without a system menu.
TEST(DaraSkinTheme, TitleTextFillsTheCaptionBetweenIconAndButtons) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    const TRect window{0, 0, 400, 200};
    const WideString caption = u"Tarvel BMS - module 3 of 4 - connected on /dev/ttyUSB0 at 115200 baud";
    const TteWindowButtons right{kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp};
    TteWindowButtons withMenu = right;
    withMenu.Include(kwbSysMenu);
    for (const TteWindowButtons& buttons : {withMenu, right}) {
        const bool menu = buttons.Contains(kwbSysMenu);
        const TteWindowInfo info = WindowInfo(window, {kwdsActive}, NullRect, buttons, caption, false);
        const TRect title = theme.WindowGetTitleRect(kwscStandard, info, "default");
        EXPECT_GE(title.Width(), window.Width() / 2) << menu;
        const TRect icon = theme.WindowGetButtonRect(kwscStandard, info, kwbSysMenu, "default");
        EXPECT_EQ(icon.IsEmpty(), !menu);
        int buttonsLeft = window.right;
        for (TteWindowButtonClass b : {kwbClose, kwbMax, kwbMin, kwbRoll, kwbTray, kwbHelp}) {
            const TRect r = theme.WindowGetButtonRect(kwscStandard, info, b, "default");
            if (!r.IsEmpty()) buttonsLeft = std::min(buttonsLeft, r.left);
        }

        testing::TPaper frame(window.Width(), window.Height()), text(window.Width(), window.Height());
        theme.WindowDraw(kwscStandard, frame.canvas, info, "default");
        theme.WindowDraw(kwscStandard, text.canvas, info, "default");
        theme.WindowDrawText(kwscStandard, text.canvas, info, title, "default");
        int inkLeft = window.right, inkRight = window.left;  // the columns the text changed
        for (int y = title.top; y < title.bottom; ++y)
            for (int x = 0; x < window.right; ++x)
                if (text.At(x, y) != frame.At(x, y)) {
                    inkLeft = std::min(inkLeft, x);
                    inkRight = std::max(inkRight, x + 1);
                }
        ASSERT_LT(inkLeft, inkRight) << "no title text drawn, menu " << menu;
        EXPECT_GE(inkLeft, menu ? icon.right : title.left) << "the text stays clear of the icon";
        EXPECT_LE(inkRight, buttonsLeft) << "the text stops before the buttons";
        EXPECT_GE(inkRight - inkLeft, window.Width() / 2) << menu;
    }
}

// How far two colours are apart: the sum of the channel differences.
int Contrast(uint32_t a, uint32_t b) {
    int sum = 0;
    for (int shift : {0, 8, 16})
        sum += std::abs(static_cast<int>((a >> shift) & 0xFF) - static_cast<int>((b >> shift) & 0xFF));
    return sum;
}

// One generic tab serves every side: a side-specific child would be drawn
// unturned, and the bottom strip borrows the right-hand one.
TEST_F(DaraSkin, TabsHaveOneGenericTabForEverySide) {
    EXPECT_NE(Find("Tabs\\Tab"), nullptr);
    for (const char* side : {"Tabs\\TabLeft", "Tabs\\TabRight"}) EXPECT_EQ(Find(side), nullptr) << side;
}

// A tab on any side has a shape of its own, and the active one carries its
// accent on the edge away from the page.
TEST(DaraSkinTheme, TabsOnEverySideDrawTheirShapeAndTheActiveTab) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    constexpr uint32_t kAccent = 0x2E8A94;
    const struct {
        const char* side;
        TteTabItemClass item;
        TRect rect;
        TPoint accent;  // the middle of the outer edge
    } cases[] = {{"top", ktisTopMiddle, {0, 0, 60, 20}, {30, 0}},
                 {"bottom", ktisBottomMiddle, {0, 0, 60, 20}, {30, 19}},
                 {"left", ktisLeftMiddle, {0, 0, 20, 60}, {0, 30}},
                 {"right", ktisRightMiddle, {0, 0, 20, 60}, {19, 30}}};
    for (const auto& c : cases) {
        testing::TPaper normal(c.rect.Width(), c.rect.Height()), active(c.rect.Width(), c.rect.Height());
        theme.TabDrawItem(ktscTab, normal.canvas, TabItemInfo(c.rect, c.item, ktidsNormal), "default");
        theme.TabDrawItem(ktscTab, active.canvas, TabItemInfo(c.rect, c.item, ktidsActive), "default");
        int inked = 0;
        for (int y = 0; y < c.rect.Height(); ++y)
            for (int x = 0; x < c.rect.Width(); ++x) inked += normal.At(x, y) != 0xFFFFFF;
        EXPECT_GT(inked, c.rect.Width() * c.rect.Height() / 2) << c.side;
        EXPECT_FALSE(normal.SameAs(active)) << c.side;
        EXPECT_EQ(active.At(c.accent.x, c.accent.y), kAccent) << c.side;
        EXPECT_NE(normal.At(c.accent.x, c.accent.y), kAccent) << c.side;
    }
}

// The group frame is a 1-pixel line in the border colour that stands out
// on the skin's face and on the grey of an unskinned form alike.
TEST(DaraSkinTheme, GroupFrameIsAClearBorderLine) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    const uint32_t border = testing::Rgb(theme.Colors()->GetColor(ktcBorder));
    for (uint32_t face : {0xF2F4F5u, 0xD4D0C8u}) {
        testing::TPaper paper(120, 80);
        paper.bitmap.Clear(0xFF000000u | face);
        theme.GroupDraw(kgscGroupBox, paper.canvas, GroupInfo({0, 0, 120, 80}, {}, kgdsNormal), "default");
        for (TPoint edge : {TPoint{0, 40}, TPoint{119, 40}, TPoint{60, 0}, TPoint{60, 79}}) {
            EXPECT_EQ(paper.At(edge.x, edge.y), border) << edge.x << "," << edge.y;
            EXPECT_GE(Contrast(paper.At(edge.x, edge.y), face), 64) << std::hex << face;
        }
        EXPECT_EQ(paper.At(1, 40), face) << "one pixel wide";
        EXPECT_EQ(paper.At(60, 40), face) << "open in the middle";
    }
}

// Every hovered look of a push button has its own face and border.
TEST(DaraSkinTheme, HotPushButtonStandsOutFromTheNormalOne) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    const TRect r{0, 0, 75, 25};
    testing::TPaper normal(75, 25);
    theme.ButtonDraw(kbscButton, normal.canvas, ButtonInfo(r, kbdsNormal), "default");
    for (TteButtonDrawState hot : {kbdsHot, kbdsFocusedHot, kbdsDefaultHot}) {
        testing::TPaper paper(75, 25);
        theme.ButtonDraw(kbscButton, paper.canvas, ButtonInfo(r, hot), "default");
        EXPECT_GE(Contrast(paper.At(37, 0), normal.At(37, 0)), 64) << "border " << int{hot};
        EXPECT_NE(paper.At(37, 12), normal.At(37, 12)) << "face " << int{hot};
    }
}

// Every element family drawn through the skin-file theme with the tool's
// skin, for people to look at beside the flat and office-style sheets.
TEST(DaraSkinTheme, SheetOfEveryFamily) {
    TTeSkinFile theme;
    ASSERT_TRUE(theme.LoadFromFile(kBuilt));
    testing::TPaper paper(1040, 760);
    testing::DrawSheet(theme, paper);
    const auto out = std::filesystem::path(TARVEL_BINARY_DIR) / "skin-sheets";
    std::filesystem::create_directories(out);
    EXPECT_TRUE(WritePng(*GetBitmapSurface(paper.bitmap.Handle()), (out / "dara_theme_sheet.png").c_str()));
}

// ---- the picture ----

class Sheet {
public:
    Sheet(int w, int h) {
        image.SetSize(w, h);
        image.Clear(0xFFFFFFFF);
    }
    // The object drawn by its own Draw at `r` in `state`.
    void Draw(TSeSkinObject* o, const TRect& r, TSeState state = ssNormal, bool active = false) {
        ASSERT_NE(o, nullptr);
        o->SetActive(active);
        o->SetState(state);
        o->SetBoundsRect(r);
        o->AligningAll();
        o->Draw(*image.GetCanvas(), TRect{});
    }
    uint32_t Rgb(int x, int y) const { return image.GetPixel(x, y) & 0xFFFFFF; }
    TteBitmap image;
};

TEST_F(DaraSkin, DrawsCalmlyAtItsDesignSizes) {
    Sheet sheet(680, 470);
    const TteWindowButtons all{kwbSysMenu, kwbClose, kwbMin, kwbMax, kwbRoll, kwbTray};
    TSeSkinObject* form = source.GetForm();
    form->SetSysButtons(all);
    form->FindObjectByKind(skTitle)->Text = u"Tarvel BMS - active";
    auto* close = dynamic_cast<TSeSystemButton*>(form->FindObjectByAction(sbaClose));
    auto* minimize = dynamic_cast<TSeSystemButton*>(form->FindObjectByAction(sbaMinimize));
    close->ButtonState = sbsHover;
    minimize->ButtonState = sbsDown;
    sheet.Draw(form, {10, 10, 330, 210}, ssNormal, true);
    // The hovered close button turns red, the pressed one dark teal.
    EXPECT_EQ(sheet.Rgb(close->GetLeft() + 2, close->GetTop() + 2), 0xD0493Fu);
    EXPECT_EQ(sheet.Rgb(minimize->GetLeft() + 2, minimize->GetTop() + 2), 0x185C64u);
    close->ButtonState = sbsNormal;
    minimize->ButtonState = sbsNormal;
    form->FindObjectByKind(skTitle)->Text = u"Tarvel BMS - inactive";
    sheet.Draw(form, {350, 10, 670, 210}, ssNormal, false);
    // Caption colours: deep teal when active, slate when not.
    EXPECT_EQ(sheet.Rgb(150, 25), 0x24707Au);
    EXPECT_EQ(sheet.Rgb(490, 25), 0x8A9AA0u);

    const TSeState states[] = {ssNormal, ssHot, ssFocused, ssPressed, ssDisabled};
    int x = 10;
    for (TSeState s : states) {
        TSeSkinObject* button = Find("Button");
        button->Text.clear();
        sheet.Draw(button, {x, 225, x + 75, 250}, s);
        sheet.Draw(Find("Checkbox\\Checked"), {x, 260, x + 13, 273}, s);
        sheet.Draw(Find("Checkbox\\Unchecked"), {x + 20, 260, x + 33, 273}, s);
        sheet.Draw(Find("Checkbox\\Mixed"), {x + 40, 260, x + 53, 273}, s);
        sheet.Draw(Find("RadioButton\\Checked"), {x, 280, x + 13, 293}, s);
        sheet.Draw(Find("RadioButton\\Unchecked"), {x + 20, 280, x + 33, 293}, s);
        sheet.Draw(Find("Edit\\Frame"), {x, 300, x + 75, 321}, s);
        sheet.Draw(Find("ComboBox\\Button"), {x + 56, 302, x + 73, 319}, s);
        sheet.Draw(Find("Tabs\\Tab"), {x, 330, x + 60, 350}, s);
        sheet.Draw(Find("ScrollBar\\TopButton"), {x, 360, x + 17, 377}, s);
        sheet.Draw(Find("ScrollBar\\VertSlider"), {x + 20, 360, x + 37, 400}, s);
        sheet.Draw(Find("ScrollBar\\RightButton"), {x + 40, 360, x + 57, 377}, s);
        sheet.Draw(Find("SpeedButton\\Face"), {x + 40, 380, x + 63, 402}, s);
        sheet.Draw(Find("Grid\\Fixed"), {x, 410, x + 64, 430}, s);
        sheet.Draw(Find("Grid\\Cell"), {x, 430, x + 64, 450}, s);
        x += 90;
    }
    sheet.Draw(Find("GroupBox\\Frame"), {460, 225, 670, 290});
    sheet.Draw(Find("ProgressBar\\Frame"), {460, 300, 670, 318});
    sheet.Draw(Find("ProgressBar\\Bar"), {462, 302, 560, 316});
    sheet.Draw(Find("Tabs\\Frame"), {460, 349, 670, 400});
    sheet.Draw(Find("Tabs\\Tab"), {462, 330, 522, 350}, ssFocused);
    sheet.Draw(Find("Tabs\\Tab"), {522, 332, 582, 350});
    sheet.Draw(Find("StatusBar\\Frame"), {460, 440, 670, 460});
    sheet.Draw(Find("StatusBar\\Panel"), {460, 441, 560, 460});
    sheet.Draw(Find("StatusBar\\Gripper"), {656, 446, 668, 458});
    sheet.Draw(Find("Hint"), {460, 410, 560, 430});
    sheet.Draw(Find("PopupMenu\\Frame"), {580, 405, 670, 438});
    sheet.Draw(Find("PopupMenu\\Item"), {582, 407, 668, 423}, ssHot);

    // A focused push button keeps its accent border; a disabled one is grey.
    EXPECT_EQ(sheet.Rgb(10 + 2 * 90 + 30, 225), 0x2E8A94u);
    EXPECT_EQ(sheet.Rgb(10 + 4 * 90 + 30, 225), 0xCBD2D4u);

    const std::filesystem::path out = TARVEL_BINARY_DIR "/skin-sheets";
    std::filesystem::create_directories(out);
    EXPECT_TRUE(WritePng(*GetBitmapSurface(sheet.image.Handle()), (out / "dara.png").c_str()));
    // Three times as large, pixel for pixel, to see the 1-pixel work.
    TteBitmap large;
    large.SetSize(sheet.image.Width() * 3, sheet.image.Height() * 3);
    sheet.image.Draw(large.DC(), large.BoundsRect());
    EXPECT_TRUE(WritePng(*GetBitmapSurface(large.Handle()), (out / "dara-3x.png").c_str()));
}

}  // namespace
}  // namespace tarvel
