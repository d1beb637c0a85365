// The address edit: walking between places, clearing, the group range and
// leaving the control with a part typed.

#include "NativeThemeFixture.h"
#include "skin/extctrls/te_extctrls_ipedit.h"

namespace tarvel {
namespace {

using testing::NativeWrapperTest;

class IPEditTest : public NativeWrapperTest {
protected:
    TTeIPEdit* MakeEdit(const String& text, int selStart, int selLength) {
        auto* edit = Make<TTeIPEdit>(20, 20);
        edit->OnKeyDown = [this](TObject*, WORD&, TShiftState) { ++keyDownEvents; };
        edit->SetFocus();
        ui_.RunUntilIdle();
        edit->SetText(text);
        edit->SetSelStart(selStart);
        edit->SetSelLength(selLength);
        return edit;
    }
    int keyDownEvents = 0;
};

// Keys as they are pressed: digits, and a few named keys.
void PressAll(TUiDriver& ui, const char* keys) {
    for (const char* k = keys; *k; ++k) {
        switch (*k) {
            case '>': ui.PressKey(VK_RIGHT); break;
            case '<': ui.PressKey(VK_LEFT); break;
            case 'v': ui.PressKey(VK_DOWN); break;
            case '^': ui.PressKey(VK_UP); break;
            case '_': ui.PressKey(VK_SPACE); break;
            case 'x': ui.PressKey(VK_DELETE); break;
            case 'b': ui.PressKey(VK_BACK); break;
            case '.': ui.Type("."); break;
            case 'n': ui.PressKey(VK_NUMPAD0 + 7); break;
            default: ui.PressKey(static_cast<UINT>(*k)); break;
        }
    }
}

TEST_F(IPEditTest, KeysWalkClearAndHoldTheRange) {
    struct Case {
        const char* name;
        const char* text;
        int selStart, selLength;
        const char* keys;
        const char* shown;
        int endStart, endLength;
    };
    const Case cases[] = {
        {"digits fill a group", "", 0, 1, "192", "192.   .   .   ", 4, 1},
        {"255 is kept", "", 0, 1, "255", "255.   .   .   ", 4, 1},
        {"a group past 255 is held at 255, the digit goes on", "", 0, 1, "259", "255.9  .   .   ", 5, 1},
        {"the last group past its limit ends after it", "1  .2  .3  .   ", 12, 1, "300", "1  .2  .3  .255",
         15, 0},
        {"numpad digits type", "", 0, 1, "n", "7  .   .   .   ", 1, 1},
        {"a dot typed jumps to the next group", "", 0, 1, "1.2", "1  .2  .   .   ", 5, 1},
        {"a typed-over selection is cleared first", "123.456.   .   ", 1, 9, "9", "19 .   .   .   ", 2, 1},
        {"right stops at the blank after a digit", "1  .2  .3  .4  ", 0, 1, ">", "1  .2  .3  .4  ", 1, 1},
        {"right from a blank jumps to the next digit", "1  .2  .3  .4  ", 1, 1, ">", "1  .2  .3  .4  ", 4, 1},
        {"right steps onto the next digit", "12 .   .   .   ", 0, 1, ">", "12 .   .   .   ", 1, 1},
        {"right from a blank with nothing after goes to the end", "1  .2  .3  .4  ", 13, 1, ">",
         "1  .2  .3  .4  ", 15, 0},
        {"right at the end stays", "1  .2  .3  .4  ", 15, 0, ">", "1  .2  .3  .4  ", 15, 0},
        {"down walks as right", "1  .2  .3  .4  ", 1, 1, "v", "1  .2  .3  .4  ", 4, 1},
        {"left from a digit passes blanks to the digit before", "1  .2  .3  .4  ", 4, 1, "<",
         "1  .2  .3  .4  ", 0, 1},
        {"left steps onto the digit before", "12 .   .   .   ", 1, 1, "<", "12 .   .   .   ", 0, 1},
        {"left at the start stays", "1  .2  .3  .4  ", 0, 1, "<^", "1  .2  .3  .4  ", 0, 1},
        {"left from the end stops at the blank", "1  .2  .3  .4  ", 15, 0, "<", "1  .2  .3  .4  ", 14, 1},
        {"delete blanks and stays", "123.   .   .   ", 1, 1, "x", "1 3.   .   .   ", 1, 1},
        {"space blanks and moves on", "123.   .   .   ", 1, 1, "_", "1 3.   .   .   ", 2, 1},
        {"delete steps over a selected dot", "123.456.   .   ", 3, 1, "x", "123. 56.   .   ", 4, 1},
        {"a wide selection is blanked, dots kept", "123.456.   .   ", 1, 5, "x", "1  .  6.   .   ", 1, 1},
        {"backspace onto a dot changes nothing", "123.456.   .   ", 4, 1, "b", "123.456.   .   ", 3, 1},
        {"a second backspace blanks the digit before", "123.456.   .   ", 4, 1, "bb", "12 .456.   .   ", 2,
         1},
        {"backspace at the start does nothing", "123.   .   .   ", 0, 1, "b", "123.   .   .   ", 0, 1},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.name);
        TTeIPEdit* edit = MakeEdit(c.text, c.selStart, c.selLength);
        PressAll(ui_, c.keys);
        EXPECT_EQ(edit->EditTextShown(), c.shown);
        EXPECT_EQ(edit->SelStart(), c.endStart);
        EXPECT_EQ(edit->SelLength(), c.endLength);
        EXPECT_EQ(keyDownEvents, 0);
        delete edit;
    }
}

TEST_F(IPEditTest, ValidityAllowsBlankGroupsAndTheFullRange) {
    struct Case {
        const char* text;
        bool valid;
    };
    const Case cases[] = {
        {"", true},
        {"1", true},
        {"0  .0  .0  .0  ", true},
        {"255.255.255.255", true},
        {"192.168.1  .10 ", true},
        {"1 3.2  .3  .4  ", false},
        {"256.1  .1  .1  ", false},
        {"1  .2  .3  .999", false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.text);
        TTeIPEdit* edit = MakeEdit(c.text, 0, 0);
        EXPECT_EQ(edit->IsIPValid(), c.valid);
        delete edit;
    }
}

TEST_F(IPEditTest, LeavingWithAPartTypedRaisesNothing) {
    TTeIPEdit* edit = MakeEdit("", 0, 1);
    bool exited = false;
    edit->OnExit = [&](TObject*) { exited = true; };
    PressAll(ui_, "1");
    auto* other = Make<TTeSEdit>(20, 60);
    EXPECT_NO_THROW({
        other->SetFocus();
        ui_.RunUntilIdle();
    });
    EXPECT_TRUE(other->Focused());
    EXPECT_TRUE(exited);
    EXPECT_EQ(edit->EditTextShown(), "1  .   .   .   ");
    EXPECT_TRUE(edit->IsIPValid());
    delete other;
    delete edit;
}

}  // namespace
}  // namespace tarvel
