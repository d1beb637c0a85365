// The visual-style functions answered from the current theme: pseudo
// handles, which element operation a (handle, part, state) reaches (checked
// with a theme that records its calls), window parts through key-coloured
// bitmaps, the fixed answers, and that nothing forwards on this platform.
#include <gtest/gtest.h>

#include <vector>

#include "MsStylesFixture.h"
#include "skin/core/te_theme_api.h"
#include "skin/themes/te_uxtheme.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel::testing {
namespace {

namespace ux = Te_uxtheme;

HTHEME H(ux::THandle h) { return reinterpret_cast<HTHEME>(static_cast<uintptr_t>(h)); }

// Writes down each operation it is asked for: name, subclass or class, state.
class TRecordingTheme : public TteTheme {
public:
    std::vector<String> Calls;

    void Note(const char* op, int a, int b) { Calls.push_back(Format("%s %d %d", op, a, b)); }

    void ButtonDraw(TteButtonSubclass s, TCanvas&, const TteButtonInfo& i, const String&) override {
        Note("Button", s, i.DrawState);
    }
    void CheckDraw(TteCheckSubclass s, TCanvas&, const TteCheckInfo& i, const String&) override {
        Note("Check", s, i.DrawState);
    }
    void GroupDraw(TteGroupSubclass s, TCanvas&, const TteGroupInfo& i, const String&) override {
        Note("Group", s, i.DrawState);
    }
    void EditDraw(TteEditSubclass s, TCanvas&, const TteEditInfo& i, const String&) override {
        Note("Edit", s, i.DrawState);
    }
    void EditDrawButton(TteEditSubclass s, TCanvas&, const TteEditButtonInfo& i, const String&) override {
        Note("EditButton", s * 100 + i.ButtonClass, i.DrawState);
    }
    void HeaderDraw(TteHeaderSubclass s, TCanvas&, const TteHeaderInfo&, const String&) override {
        Note("Header", s, 0);
    }
    void HeaderDrawSection(TteHeaderSubclass, TCanvas&, const TteHeaderSectionInfo& i,
                           const String&) override {
        Note("Section", i.SectionState, i.DrawState);
    }
    void TreeDraw(TteTreeSubclass s, TCanvas&, const TteTreeInfo&, const String&) override {
        Note("Tree", s, 0);
    }
    void ListDraw(TteListSubclass s, TCanvas&, const TteListInfo&, const String&) override {
        Note("List", s, 0);
    }
    void TabDraw(TteTabSubclass s, TCanvas&, const TteTabInfo&, const String&) override { Note("Tab", s, 0); }
    void TabDrawItem(TteTabSubclass, TCanvas&, const TteTabItemInfo& i, const String&) override {
        Note("TabItem", i.ItemClass, i.DrawState);
    }
    void StatusDraw(TteStatusSubclass s, TCanvas&, const TteStatusInfo&, const String&) override {
        Note("Status", s, 0);
    }
    void StatusDrawPanel(TteStatusSubclass, TCanvas&, const TteStatusPanelInfo& i, const String&) override {
        Note("Panel", i.PanelClass, 0);
    }
    void ScrollDrawButton(TteScrollSubclass, TCanvas&, const TteScrollButtonInfo& i, const String&) override {
        Note("ScrollButton", i.ButtonClass, i.DrawState);
    }
    void ScrollDrawArea(TteScrollSubclass, TCanvas&, const TteScrollAreaInfo& i, const String&) override {
        Note("ScrollArea", i.AreaClass, i.DrawState);
    }
    void WindowDrawGripper(TteWindowSubclass s, TCanvas&, const TteWindowGripperInfo& i,
                           const String&) override {
        Note("Gripper", s, i.Sizeable);
    }
    void DockDraw(TteDockSubclass s, TCanvas&, const TteDockInfo&, const String&) override {
        Note("Dock", s, 0);
    }
    void ToolDraw(TteToolSubclass s, TCanvas&, const TteToolInfo&, const String&) override {
        Note("Tool", s, 0);
    }
    void ToolDrawItem(TteToolSubclass, TCanvas&, const TteToolItemInfo& i, const String&) override {
        Note("ToolItem", i.ItemClass, i.DrawState);
    }
    void WindowDrawClient(TteWindowSubclass s, TCanvas&, const TRect&, const String&) override {
        Note("Client", s, 0);
    }
    void MenuDrawItem(TteMenuSubclass s, TCanvas&, const TteMenuItemInfo& i, const String&) override {
        Note("MenuItem", s * 100 + i.ItemClass, i.DrawState);
    }
    void WindowDraw(TteWindowSubclass s, TCanvas&, const TteWindowInfo& i, const String&) override {
        Note("Frame", s, i.DrawState.Contains(kwdsActive));
    }
    void WindowDrawButton(TteWindowSubclass s, TCanvas&, const TteWindowButtonInfo& i,
                          const String&) override {
        Note("CaptionButton", s * 100 + i.ButtonClass, i.DrawState);
    }
};

class UxThemeTest : public BuiltInThemeTest {
protected:
    TRecordingTheme& Recording() {
        auto* recording = new TRecordingTheme;
        ChangeTheme(recording);  // the manager owns it
        return *recording;
    }
};

TEST_F(UxThemeTest, ClassNamesOpenTheirPseudoHandles) {
    const struct {
        const char16_t* name;
        uintptr_t handle;
    } cases[] = {
        {u"button", 0xFFFF10},    {u"BUTTON", 0xFFFF10}, {u"Edit", 0xFFFF11},
        {u"combobox", 0xFFFF12},  {u"header", 0xFFFF13}, {u"treeview", 0xFFFF14},
        {u"listview", 0xFFFF15},  {u"tab", 0xFFFF16},    {u"status", 0xFFFF17},
        {u"scrollbar", 0xFFFF18}, {u"spin", 0xFFFF19},   {u"rebar", 0xFFFF20},
        {u"toolbar", 0xFFFF21},   {u"menu", 0xFFFF22},   {u"Window", 0xFFFF23},
        {u"button;edit", 0},      {u"buttons", 0},       {u"", 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(reinterpret_cast<uintptr_t>(ux::OpenThemeData(nullptr, c.name)), c.handle)
            << WideToUtf8(c.name);
    EXPECT_EQ(ux::OpenThemeData(nullptr, nullptr), nullptr);
}

TEST_F(UxThemeTest, DrawingReachesTheCurrentThemesOperations) {
    TRecordingTheme& t = Recording();
    const struct {
        ux::THandle handle;
        int part, state;
        const char* call;  // "" for nothing
    } cases[] = {
        {ux::khButton, 1, 1, "Button 0 0"},
        {ux::khButton, 1, 2, "Button 0 1"},
        {ux::khButton, 1, 5, "Button 0 4"},
        {ux::khButton, 1, 9, "Button 0 0"},
        {ux::khButton, 3, 1, "Check 0 5"},
        {ux::khButton, 3, 6, "Check 0 1"},
        {ux::khButton, 3, 12, "Check 0 13"},
        {ux::khButton, 2, 8, "Check 1 3"},
        {ux::khButton, 2, 9, ""},
        {ux::khButton, 4, 1, "Group 0 0"},
        {ux::khButton, 4, 2, "Group 0 1"},
        {ux::khEdit, 1, 2, "Edit 0 1"},
        {ux::khEdit, 1, 3, "Edit 0 0"},
        {ux::khEdit, 1, 5, "Edit 0 2"},
        {ux::khEdit, 1, 6, "Edit 0 4"},
        {ux::khEdit, 0, 4, "Edit 0 0"},
        {ux::khEdit, 2, 6, "Edit 0 0"},
        {ux::khComboBox, 0, 3, "Edit 0 0"},
        {ux::khComboBox, 1, 3, "EditButton 600 2"},
        {ux::khHeader, 0, 1, "Header 0 0"},
        {ux::khHeader, 2, 2, "Section 0 4"},
        {ux::khHeader, 3, 3, "Section 2 1"},
        {ux::khTreeView, 7, 7, "Tree 0 0"},
        {ux::khListView, 1, 1, "List 0 0"},
        {ux::khTab, 10, 1, "Tab 0 0"},
        {ux::khTab, 4, 2, "TabItem 0 1"},
        {ux::khTab, 4, 4, "TabItem 0 2"},
        {ux::khStatus, 0, 1, "Status 0 0"},
        {ux::khStatus, 3, 1, "Panel 3 0"},
        {ux::khScrollBar, 1, 1, "ScrollButton 0 0"},
        {ux::khScrollBar, 1, 6, "ScrollButton 1 2"},
        {ux::khScrollBar, 1, 11, "ScrollButton 4 1"},
        {ux::khScrollBar, 1, 16, "ScrollButton 5 3"},
        {ux::khScrollBar, 3, 2, "ScrollButton 9 2"},
        {ux::khScrollBar, 5, 3, "ScrollArea 1 1"},
        {ux::khScrollBar, 6, 1, "ScrollArea 0 0"},
        {ux::khScrollBar, 10, 1, "Gripper 0 1"},
        {ux::khSpin, 3, 2, "Button 6 1"},
        {ux::khRebar, 0, 1, "Dock 0 0"},
        {ux::khRebar, 2, 3, "ToolItem 14 0"},
        {ux::khRebar, 3, 1, "Tool 1 0"},
        {ux::khRebar, 5, 3, "ToolItem 8 1"},
        {ux::khToolBar, 4, 6, "ToolItem 4 6"},
        {ux::khToolBar, 5, 3, "ToolItem 1 0"},
        {ux::khWindow, 0, 1, "Client 0 0"},
        {ux::khWindow, 22, 3, "MenuItem 8 2"},
        {ux::khWindow, 20, 4, "MenuItem 9 3"},
        {ux::khWindow, 18, 2, "CaptionButton 1 1"},
        {ux::khWindow, 21, 4, "CaptionButton 6 0"},
        {ux::khWindow, 18, 5, ""},
        {ux::khMenu, 1, 1, ""},
    };
    TPaper paper(60, 40);
    const TRect r{0, 0, 60, 40};
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message()
                     << std::hex << c.handle << std::dec << " part " << c.part << " state " << c.state);
        t.Calls.clear();
        EXPECT_EQ(ux::DrawThemeBackground(H(c.handle), paper.canvas.Handle(), c.part, c.state, &r, nullptr),
                  0);
        if (*c.call)
            EXPECT_EQ(t.Calls, std::vector<String>{c.call});
        else
            EXPECT_TRUE(t.Calls.empty());
    }
    t.Calls.clear();
    ux::DrawThemeBackground(nullptr, paper.canvas.Handle(), 1, 1, &r, nullptr);
    EXPECT_TRUE(t.Calls.empty());
}

TEST_F(UxThemeTest, WindowPartsAreDrawnThroughKeyColouredBitmaps) {
    // The strip style: frame parts and caption buttons show their state's colour.
    auto* theme = new TTeThemeMsStyles;
    ASSERT_TRUE(LoadContainer(*theme, Container("Strips", StripStyle(), {StateStrip()})));
    ChangeTheme(theme);
    const struct {
        int part, state;
        TRect rect;
        TPoint at;  // inside the part: frames are as wide as the theme's, from the rectangle's corner
        int drawn;  // the state index there
    } cases[] = {
        {1, 1, {10, 10, 110, 60}, {60, 20}, 1},  // caption, active
        {1, 2, {10, 10, 110, 60}, {60, 20}, 2},  // inactive
        {7, 1, {10, 10, 20, 60}, {11, 35}, 1},   // left frame, 4 wide
        {9, 2, {10, 10, 110, 30}, {60, 12}, 2},  // bottom frame, 4 high
        {18, 3, {10, 10, 31, 31}, {20, 20}, 3},  // close, pressed
        {15, 4, {10, 10, 31, 31}, {20, 20}, 1},  // minimise: 4 is normal
        {19, 2, {10, 10, 25, 25}, {17, 17}, 2},  // the tool window's close
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(::testing::Message() << "part " << c.part << " state " << c.state);
        TPaper paper(120, 80);
        ux::DrawThemeBackground(H(ux::khWindow), paper.canvas.Handle(), c.part, c.state, &c.rect, nullptr);
        EXPECT_EQ(StateOf(paper.bitmap.GetPixel(c.at.x, c.at.y)), c.drawn);
        EXPECT_EQ(paper.At(5, 5), 0xFFFFFFu);  // nothing outside
    }
    // A caption taller than the theme's caption: the rows below it stay key-coloured, so left out.
    TPaper paper(120, 80);
    const TRect tall{0, 0, 100, 70};
    ux::DrawThemeBackground(H(ux::khWindow), paper.canvas.Handle(), 1, 1, &tall, nullptr);
    EXPECT_EQ(StateOf(paper.bitmap.GetPixel(50, 10)), 1);
    EXPECT_EQ(paper.At(50, 50), 0xFFFFFFu);
}

TEST_F(UxThemeTest, FixedAnswersAndSystemColours) {
    // No theme yet: the class library's colour reference, nothing active.
    EXPECT_EQ(ux::GetThemeSysColor(nullptr, 15), 0x8000000Fu);
    EXPECT_EQ(ux::IsThemeActive(), 0);
    EXPECT_EQ(ux::IsAppThemed(), 0);
    EXPECT_EQ(ux::GetThemeAppProperties(), 0u);
    TSize size{5, 5};
    EXPECT_EQ(ux::GetThemePartSize(nullptr, HDC{}, 1, 1, nullptr, TS_TRUE, &size), ux::S_FALSE);
    EXPECT_EQ(size, (TSize{0, 0}));
    MARGINS m;
    EXPECT_EQ(ux::GetThemeMargins(nullptr, HDC{}, 1, 1, 0, nullptr, &m), 0);
    EXPECT_EQ(m.LeftWidth + m.RightWidth + m.TopHeight + m.BottomHeight, 8);
    const TRect bounds{1, 2, 3, 4};
    TRect out;
    ux::GetThemeBackgroundContentRect(nullptr, HDC{}, 1, 1, &bounds, &out);
    EXPECT_EQ(out, bounds);
    EXPECT_EQ(ux::IsThemePartDefined(nullptr, 1, 1), -1);
    EXPECT_EQ(ux::IsThemeBackgroundPartiallyTransparent(H(ux::khButton), 1, 1), -1);
    EXPECT_EQ(ux::IsThemeBackgroundPartiallyTransparent(H(ux::khEdit), 1, 1), 0);
    EXPECT_EQ(reinterpret_cast<uintptr_t>(ux::GetWindowTheme(nullptr)), 0xFFFF23u);
    int untouched = 7;
    EXPECT_EQ(ux::GetThemeInt(nullptr, 1, 1, 1, &untouched), 0);
    EXPECT_EQ(untouched, 7);

    // With a library theme: active, its colours, its frame decides the app properties.
    auto* theme = new TTeThemeMsStyles;
    ASSERT_TRUE(LoadContainer(
        *theme, Container("S", StripStyle("[SysMetrics]\r\nBtnFace=1 2 3\r\n"), {StateStrip()})));
    ChangeTheme(theme);
    EXPECT_EQ(ux::IsThemeActive(), -1);
    EXPECT_EQ(ux::GetThemeSysColor(nullptr, 15), 0x030201u);
    EXPECT_EQ(ux::GetThemeAppProperties(), ux::STAP_ALLOW_CONTROLS | ux::STAP_ALLOW_NONCLIENT);
    TPaper paper(10, 10);
    const TRect r{0, 0, 10, 10};
    EXPECT_EQ(ux::DrawThemeBackground(H(ux::khMenu), paper.canvas.Handle(), 1, 1, &r, nullptr), 0);
    EXPECT_FALSE(paper.Ink());
}

int forwarded = 0;

TEST_F(UxThemeTest, NothingForwardsWhileTheSystemHasNoVisualStyles) {
    const TUxThemeEntryPoints saved = Te_winapi::UxTheme;
    Te_winapi::UxTheme.GetThemeSysColor = [](HTHEME, int) -> COLORREF { return ++forwarded; };
    Te_winapi::UxTheme.IsThemeActive = [] { return ++forwarded; };
    Te_winapi::UxTheme.CloseThemeData = [](HTHEME) -> int32_t { return ++forwarded; };
    ASSERT_FALSE(UseThemes());
    EXPECT_EQ(ux::GetThemeSysColor(nullptr, 5), 0x80000005u);
    EXPECT_EQ(ux::IsThemeActive(), 0);
    EXPECT_EQ(ux::CloseThemeData(H(ux::khButton)), 0);
    EXPECT_EQ(forwarded, 0);
    Te_winapi::UxTheme = saved;
}

TEST_F(UxThemeTest, TextDrawsOnlyTheCharactersItIsGiven) {
    const auto ink = [](const char16_t* text, int count) {
        TPaper paper(80, 20);
        paper.canvas.Font()->SetName("Tahoma");
        paper.canvas.Font()->SetSize(10);
        paper.canvas.SelectObjects();
        const TRect r{0, 0, 80, 20};
        ux::DrawThemeText(nullptr, paper.canvas.Handle(), 1, 1, text, count, DT_SINGLELINE, 0, &r);
        return paper.Ink();
    };
    // "WW" not terminated where the count ends: only one W is drawn.
    const char16_t buffer[] = {u'W', u'W', u'W', u'W'};
    const auto one = ink(buffer, 1);
    const auto two = ink(u"WW", -1);
    ASSERT_TRUE(one && two);
    EXPECT_LT(one->right, two->right);
    EXPECT_EQ(*ink(u"W", -1), *one);
}

}  // namespace
}  // namespace tarvel::testing
