#include <array>
#include <set>

#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/controls/te_controls_spin.h"
#include "tests/skin/controls/EditFixture.h"

namespace tarvel::testing {
namespace {

class SpinEditTest : public EditTest {};

TEST_F(SpinEditTest, SpinPositionsStepClampAndSaturate) {
    struct Case {
        int min, max, start, increment;
        bool up;
        int expected;
    };
    const Case cases[] = {
        {0, 10, 10, 1, true, 10},
        {0, 10, 0, 1, false, 0},
        {0, 0, 0, 1, false, -1},
        {0, 0, 0, 5, true, 5},
        {0, 0, INT32_MAX, 1, true, INT32_MAX},
        {0, 0, INT32_MIN, 7, false, INT32_MIN},
        {-5, 5, 4, 3, true, 5},
    };
    for (const Case& c : cases) {
        auto* spin = SkinControlsTest::Make<TTeSpinButton>(10, 10);
        spin->SetMax(c.max);
        spin->SetMin(c.min);
        spin->IntSetPos(c.start);
        spin->SetIncrement(c.increment);
        int upClicks = 0;
        spin->OnUpClick = [&](TObject*) { ++upClicks; };
        Ui().ClickAt(c.up ? spin->UpButton() : spin->DownButton(), TPoint{5, 3});
        EXPECT_EQ(spin->Position(), c.expected) << c.min << ".." << c.max << " from " << c.start;
        EXPECT_EQ(upClicks, c.up ? 1 : 0) << "a click at the limit still counts";
        delete spin;
    }
}

TEST_F(SpinEditTest, ArrowsShareTheHeightWithOrWithoutTheSlider) {
    struct Case {
        int height;
        bool slider;
        int buttonHeight, downTop;
    };
    const Case cases[] = {{21, false, 10, 11}, {21, true, 9, 12}, {20, false, 10, 10}, {1, true, 0, 1}};
    for (const Case& c : cases) {
        auto* spin = SkinControlsTest::Make<TTeSpinButton>(10, 10);
        spin->SetEnabledSlider(c.slider);
        spin->SetHeight(c.height);
        EXPECT_EQ(spin->UpButton()->Top(), 0);
        EXPECT_EQ(spin->UpButton()->Height(), c.buttonHeight) << c.height << c.slider;
        EXPECT_EQ(spin->DownButton()->Height(), c.buttonHeight) << c.height << c.slider;
        EXPECT_EQ(spin->DownButton()->Top(), c.downTop) << c.height << c.slider;
        delete spin;
    }
}

TEST_F(SpinEditTest, AHeldArrowRepeatsAfterADelay) {
    auto* spin = SkinControlsTest::Make<TTeSpinButton>(10, 10);
    Down(spin->UpButton(), {5, 3});
    Ui().AdvanceClock(390);
    EXPECT_EQ(spin->Position(), 0);
    Ui().AdvanceClock(20);
    EXPECT_EQ(spin->Position(), 1);
    Ui().AdvanceClock(300);
    EXPECT_EQ(spin->Position(), 4);
    Up(spin->UpButton(), {5, 3});
    Ui().AdvanceClock(500);
    EXPECT_EQ(spin->Position(), 4) << "the release stops the repeat and adds no click";
}

TEST_F(SpinEditTest, APlainEditFollowsThePositionAndLeadsItWhenTyped) {
    auto* edit = new TEdit(Form());
    edit->SetParent(Form());
    edit->SetBounds(50, 50, 80, 21);
    auto* spin = SkinControlsTest::Make<TTeSpinButton>(10, 10);
    spin->SetMax(50);
    spin->SetAssociate(edit);
    EXPECT_EQ(spin->Left(), 130);
    EXPECT_EQ(spin->Height(), 21);
    EXPECT_EQ(edit->Text(), "0");
    spin->SetPosition(7);
    EXPECT_EQ(edit->Text(), "7");
    struct Case {
        const char* typed;
        int position;
    };
    const Case cases[] = {{"25", 25}, {"99", 50}, {"abc", 50}, {"-3", 0}, {"2147483647", 50}};
    for (const Case& c : cases) {
        edit->SetText(c.typed);
        Ui().AdvanceClock(410, 50);
        EXPECT_EQ(spin->Position(), c.position) << c.typed;
    }
    // A veto keeps the position and the text alone.
    spin->OnChanging = [](TObject*, bool& allow) { allow = false; };
    edit->SetText("10");
    Ui().AdvanceClock(410, 50);
    EXPECT_EQ(spin->Position(), 50);
    EXPECT_EQ(edit->Text(), "10");
    // Bad text is rewritten even at the largest position.
    spin->OnChanging = nullptr;
    spin->SetMax(0);
    spin->SetPosition(INT32_MAX);
    edit->SetText("x");
    spin->SetPosition(INT32_MAX - 1);
    spin->SetPosition(INT32_MAX);
    EXPECT_EQ(edit->Text(), "2147483647");
}

class SpinValueTest : public EditTest {
public:
    TTeSpinEdit* Spin() {
        TTeSpinEdit* s = Make<TTeSpinEdit>(10, 10, 100);
        s->SetFocus();
        Ui().RunUntilIdle();
        return s;
    }
};

TEST_F(SpinValueTest, KeysStepByIncrementAndLargeStepWithinLimits) {
    TTeSpinEdit* s = Spin();
    EXPECT_EQ(s->GetText(), "0");
    Ui().PressKey(VK_UP);
    EXPECT_EQ(s->GetText(), "1");
    Ui().PressKey(VK_PRIOR);
    EXPECT_EQ(s->GetText(), "11");
    Ui().PressKey(VK_DOWN);
    EXPECT_EQ(s->GetText(), "10");
    s->SetValue(0);
    s->SetMinValue(0);
    s->SetMaxValue(5);
    Ui().PressKey(VK_PRIOR);
    EXPECT_EQ(s->GetText(), "5");
    Ui().ClickAt(s->SpinButton()->DownButton(), TPoint{5, 3});
    EXPECT_EQ(s->GetText(), "4");
    EXPECT_EQ(s->SpinButton()->Position(), 4);
}

TEST_F(SpinValueTest, ValuesAreShownInTheirTypeAndReadBack) {
    struct Case {
        TTeSpinValueType type;
        long double min, max, value;
        const char* shown;
    };
    const Case cases[] = {
        {vtFloat, 0, 0, 3.14159L, "3.14"}, {vtHex, 0, 0, 255, "FF"},
        {vtHex, -20, 5, -8, "-8"},         {vtHex, -20, 5, -30, "-14"},
        {vtInt, 0, 0, 2.5L, "2"},          {vtInt, 0, 0, 3.5L, "4"},
        {vtInt, 0, 0, -7, "-7"},           {vtInt, 0, 0, 1e30L, "9223372036854775807"},
    };
    for (const Case& c : cases) {
        TTeSpinEdit* s = Make<TTeSpinEdit>(10, 10, 100);
        s->SetValueType(c.type);
        s->SetMinValue(c.min);
        s->SetMaxValue(c.max);
        s->SetValue(c.value);
        EXPECT_EQ(s->GetText(), c.shown) << static_cast<double>(c.value);
        delete s;
    }
    struct Read {
        TTeSpinValueType type;
        const char* text;
        long double min, expected;
    };
    const Read reads[] = {{vtHex, "-1F", 0, -31},
                          {vtHex, "xyz", -4, -4},
                          {vtInt, "12a", 3, 3},
                          {vtFloat, "", 1.5L, 1.5L},
                          {vtInt, "-", 0, 0}};
    for (const Read& r : reads) {
        TTeSpinEdit* s = Make<TTeSpinEdit>(10, 10, 100);
        s->SetValueType(r.type);
        s->SetMinValue(r.min);
        s->SetText(r.text);
        EXPECT_EQ(s->Value(), r.expected) << r.text;
        delete s;
    }
    TTeSpinEdit* huge = Make<TTeSpinEdit>(10, 10, 100);
    huge->SetValue(1e30L);
    EXPECT_EQ(huge->AsInteger(), INT32_MAX);
    EXPECT_EQ(huge->SpinButton()->Position(), INT32_MAX);
}

TEST_F(SpinValueTest, TypedCharactersAreFiltered) {
    struct Case {
        TTeSpinValueType type;
        long double min, max;
        const char* typed;
        const char* result;
    };
    const Case cases[] = {
        {vtInt, 0, 10, "-5", "5"},      {vtInt, -10, 10, "-5", "-5"},     {vtInt, 0, 0, "-5", "-5"},
        {vtInt, 0, 0, "1a2", "12"},     {vtFloat, 0, 0, "1.2.3", "1.23"}, {vtFloat, 0, 0, "1,5", "1.5"},
        {vtFloat, 0, 0, "2e3e", "2e3"}, {vtHex, 0, 0, "fFg", "fF"},
    };
    for (const Case& c : cases) {
        TTeSpinEdit* s = Make<TTeSpinEdit>(10, 10, 100);
        s->SetValueType(c.type);
        s->SetMinValue(c.min);
        s->SetMaxValue(c.max);
        s->SetFocus();
        Ui().RunUntilIdle();
        s->SelectAll();
        Ui().PressKey(VK_DELETE);
        Ui().Type(c.typed);
        EXPECT_EQ(s->GetText(), c.result) << c.typed;
        delete s;
    }
}

TEST_F(SpinValueTest, TypedValuesAreClampedOnEnterOrLeavingAndChangeFiresOncePerValue) {
    TTeSpinEdit* s = Spin();
    s->SetMaxValue(50);
    int changes = 0;
    s->OnChange = [&](TObject*) { ++changes; };
    s->SelectAll();
    Ui().Type("99");
    EXPECT_EQ(s->GetText(), "99");
    EXPECT_EQ(changes, 0) << "typing fires nothing";
    Ui().PressKey(VK_RETURN);
    EXPECT_EQ(s->GetText(), "50");
    EXPECT_EQ(changes, 1);
    s->SelectAll();
    Ui().Type("77");
    Form()->FocusControl(nullptr);
    SkinControlsTest::Make<TTeEdit>(10, 100)->SetFocus();
    Ui().RunUntilIdle();
    EXPECT_EQ(s->GetText(), "50");
    EXPECT_EQ(changes, 2);
}

TEST_F(SpinValueTest, ARefusedOrReadOnlyStepChangesNothing) {
    TTeSpinEdit* s = Spin();
    s->SetValue(3);
    s->OnChanging = [](TObject*, bool& allow) { allow = false; };
    Ui().PressKey(VK_UP);
    EXPECT_EQ(s->GetText(), "3");
    EXPECT_EQ(s->SpinButton()->Position(), 3);
    s->OnChanging = nullptr;
    s->SetReadOnly(true);
    const int before = s->Refusals();
    Ui().PressKey(VK_UP);
    Ui().PressKey(VK_NEXT);
    Ui().ClickAt(s->SpinButton()->UpButton(), TPoint{5, 3});
    EXPECT_EQ(s->GetText(), "3");
    EXPECT_EQ(s->Refusals(), before + 3);
}

TEST_F(SpinEditTest, ArrowGlyphsShowTheirStateCellAndNoneBringsBackTheStockArrow) {
    // Two cells, red then blue, over a white key row.
    TBitmap strip(10, 5);
    FillRect(*strip.Canvas(), TRect{0, 0, 10, 5}, clWhite);
    FillRect(*strip.Canvas(), TRect{0, 0, 5, 4}, clRed);
    FillRect(*strip.Canvas(), TRect{5, 0, 10, 4}, clBlue);
    struct Case {
        const char* what;
        bool custom, reset, enabled;
        TColor shows, hidden;
    };
    const Case cases[] = {
        {"stock", false, false, true, clBlack, clRed},
        {"normal cell", true, false, true, clRed, clBlue},
        {"disabled cell", true, false, false, clBlue, clRed},
        {"set to none", true, true, true, clBlack, clRed},
    };
    for (const Case& c : cases) {
        auto* edit = SkinControlsTest::Make<TTeSpinEdit>(10, 10);
        edit->SetHeight(40);
        if (c.custom) {
            edit->SetDownGlyph(&strip);
            edit->SetDownNumGlyphs(2);
        }
        if (c.reset) edit->SetDownGlyph(nullptr);
        edit->SetEnabled(c.enabled);
        EXPECT_EQ(edit->DownNumGlyphs(), c.custom && !c.reset ? 2 : 1) << c.what;
        EXPECT_EQ(edit->DownGlyph()->Width(), c.custom && !c.reset ? 10 : 9) << c.what;
        EXPECT_EQ(edit->UpNumGlyphs(), 1);
        Ui().RunUntilIdle();
        TTeSpinArrow* arrow = edit->SpinButton()->DownButton();
        std::set<uint32_t> inks;
        const auto screen = Ui().Backend().ScreenPixels();
        for (int y = 0; y < arrow->Height(); ++y)
            for (int x = 0; x < arrow->Width(); ++x) {
                const TPoint p = arrow->ClientToScreen(TPoint{x, y});
                inks.insert(screen->Pixel(p.x, p.y) & 0xFFFFFF);
            }
        EXPECT_TRUE(inks.count(Rgb(c.shows))) << c.what;
        EXPECT_FALSE(inks.count(Rgb(c.hidden))) << c.what;
        delete edit;
    }
}

// A theme that may have spin arrows of its own or tool items only, and
// notes what the arrows ask of it; a tool glyph keeps the colours it shows.
class TSpinLookTheme : public TteTheme {
    TARVEL_CLASS(TSpinLookTheme, TteTheme)

public:
    struct Call {
        String op;
        int subclass = 0;
        int state = 0;
        std::set<uint32_t> inks;
    };
    TSpinLookTheme(bool spins, bool tools) : spins_(spins), tools_(tools) {}
    std::vector<Call> Calls;

    bool IsButtonDefined(TteButtonSubclass s, const String&) override {
        return spins_ && (s == kbscSpinUp || s == kbscSpinDown);
    }
    void ButtonDraw(TteButtonSubclass s, TCanvas& c, const TteButtonInfo& info, const String&) override {
        Calls.push_back({"ButtonDraw", s, info.DrawState, {}});
        FillRect(c, info.Rect, clGray);
    }
    bool IsToolDefined(TteToolSubclass s, const String&) override { return tools_ && s == ktscToolBar; }
    void ToolDrawItem(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info, const String&) override {
        Calls.push_back({"ToolDrawItem", info.ItemClass, info.DrawState, {}});
        FillRect(c, info.Rect, clGray);
    }
    void ToolDrawItemGlyph(TteToolSubclass, TCanvas& c, const TteToolItemInfo& info,
                           const TteToolGlyphInfo& glyph, const String&) override {
        Call call{"ToolDrawItemGlyph", info.ItemClass, info.DrawState, {}};
        for (int y = 0; y < glyph.Bitmap->Height(); ++y)
            for (int x = 0; x < glyph.Bitmap->Width(); ++x)
                call.inks.insert(glyph.Bitmap->GetPixel(x, y) & 0xFFFFFF);
        Calls.push_back(call);
        glyph.Bitmap->Draw(c, glyph.Rect.left, glyph.Rect.top);
    }

private:
    bool spins_, tools_;
};

TEST_F(SpinEditTest, TheThemesArrowsReplaceOurGlyphsAndItsToolFaceCarriesThem) {
    // Three cells over a white key row: normal red, disabled blue, pressed green.
    TBitmap strip(15, 5);
    FillRect(*strip.Canvas(), TRect{0, 0, 15, 5}, clWhite);
    FillRect(*strip.Canvas(), TRect{0, 0, 5, 4}, clRed);
    FillRect(*strip.Canvas(), TRect{5, 0, 10, 4}, clBlue);
    FillRect(*strip.Canvas(), TRect{10, 0, 15, 4}, clLime);
    enum Look { kSpins, kTools, kLinkedSpins, kClassic };
    enum State { kNormal, kHot, kPressed, kDisabled };
    const TColor cells[] = {clRed, clRed, clLime, clBlue};
    const int buttonStates[] = {kbdsNormal, kbdsHot, kbdsPressed, kbdsDisabled};
    const int toolStates[] = {mtidsNormal, mtidsHot, mtidsPressed, mtidsDisabled};
    for (Look look : {kSpins, kTools, kLinkedSpins, kClassic})
        for (State state : {kNormal, kHot, kPressed, kDisabled}) {
            SCOPED_TRACE(::testing::Message() << "look " << look << ", state " << state);
            TSpinLookTheme* theme = nullptr;
            std::unique_ptr<TSpinLookTheme> linked;
            std::unique_ptr<TFixedLink> link;
            if (look == kSpins || look == kTools) {
                theme = new TSpinLookTheme(look == kSpins, look == kTools);
                ChangeTheme(theme);
            } else {
                ChangeTheme(static_cast<TteTheme*>(nullptr));
            }
            auto* spin = SkinControlsTest::Make<TTeSpinButton>(10, 10);
            spin->SetBounds(10, 10, 20, 40);
            if (look == kLinkedSpins) {
                linked = std::make_unique<TSpinLookTheme>(true, false);
                link = std::make_unique<TFixedLink>(linked.get());
                spin->SetThemeLink(link.get());
                theme = linked.get();
            }
            spin->SetUpGlyph(&strip);
            spin->SetUpNumGlyphs(3);
            TTeSpinArrow* arrow = spin->UpButton();
            spin->DownButton()->SetVisible(false);  // the theme hears of one arrow only
            const TPoint middle{arrow->Width() / 2, arrow->Height() / 2};
            if (state == kDisabled) spin->SetEnabled(false);
            if (state == kHot) MoveTo(arrow, middle);
            if (state == kPressed) Down(arrow, middle);
            Ui().RunUntilIdle();
            if (theme) theme->Calls.clear();
            arrow->Invalidate();
            std::set<uint32_t> inks;
            for (uint32_t px : Shown(arrow)) inks.insert(px);
            const std::vector<TSpinLookTheme::Call> calls =
                theme ? theme->Calls : std::vector<TSpinLookTheme::Call>{};
            if (state == kPressed) Up(arrow, middle);

            const bool glyphShown = look == kTools || look == kClassic;
            EXPECT_EQ(inks.count(Rgb(cells[state])), glyphShown ? 1u : 0u) << "our glyph in its state's cell";
            for (TColor other : {clRed, clBlue, clLime})
                if (other != cells[state]) {
                    EXPECT_EQ(inks.count(Rgb(other)), 0u) << "no other cell shows";
                }
            if (!theme) {
                delete spin;
                continue;
            }
            // Each paint of the arrow asks the same of the theme.
            ASSERT_FALSE(calls.empty());
            for (size_t i = 0; i < calls.size(); ++i) {
                const TSpinLookTheme::Call& call = calls[i];
                if (look != kTools) {
                    EXPECT_EQ(call.op, "ButtonDraw") << "the theme's arrow and nothing else";
                    EXPECT_EQ(call.subclass, kbscSpinUp);
                    EXPECT_EQ(call.state, buttonStates[state]);
                    continue;
                }
                EXPECT_EQ(call.op, i % 2 == 0 ? "ToolDrawItem" : "ToolDrawItemGlyph")
                    << "the face, then our glyph";
                EXPECT_EQ(call.state, toolStates[state]) << call.op;
                if (i % 2 == 1) {
                    EXPECT_TRUE(call.inks.count(Rgb(cells[state]))) << "the theme gets the state's cell";
                }
            }
            delete spin;
        }
}

TEST_F(SpinEditTest, ALockedEditorsContextMenuOffersOnlyReadingItsText) {
    struct Case {
        bool editorEnabled;
        // Cut, Copy, Paste, Delete
        std::array<bool, 4> enabled;
    };
    const Case cases[] = {{true, {true, true, true, true}}, {false, {false, true, false, false}}};
    const char* captions[] = {"Cut", "Copy", "Paste", "Delete"};
    for (const Case& c : cases) {
        Clipboard().SetAsText("7");
        auto* edit = SkinControlsTest::Make<TTeSpinEdit>(10, 10);
        edit->SetValue(42);
        edit->EditorEnabled = c.editorEnabled;
        edit->SetFocus();
        edit->SelectAll();
        std::array<bool, 4> seen{};
        Ui().WhenModal([&] {
            for (int i = 0; i < 4; ++i) seen[i] = edit->ContextMenuItem(Utf8ToWide(captions[i]))->Enabled();
            Ui().PressKey(VK_ESCAPE);
        });
        edit->Perform(WM_CONTEXTMENU, 0, static_cast<LPARAM>(0xFFFFFFFF));
        for (int i = 0; i < 4; ++i) EXPECT_EQ(seen[i], c.enabled[i]) << captions[i] << " " << c.editorEnabled;
        EXPECT_FALSE(edit->ReadOnly()) << "the edit itself stays writable";
        edit->UpdatePopupMenuItems();
        EXPECT_TRUE(edit->ContextMenuItem(u"Paste")->Enabled()) << "the lock lasts while the menu shows";
        delete edit;
    }
}

}  // namespace
}  // namespace tarvel::testing
