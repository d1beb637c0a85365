// Drives a library-drawn edit with keys, typed text and pastes chosen by the
// input: no position may leave the text, no pair may be split, and undo
// must walk back to the start text.

#include <cstdint>
#include <cstdlib>
#include <memory>

#include "platform/classlib/Clipbrd.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/testing/UiDriver.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/core/te_theme_api.h"

using namespace tarvel;

namespace {

struct World {
    TUiDriver ui;
    TForm* form = nullptr;
    World() {
        InitThemeCore();
        InitControlBases();
        form = new TForm(Application);
        form->SetBounds(0, 0, 300, 100);
        form->Show();
        ui.RunUntilIdle();
    }
};

void Check(bool ok) {
    if (!ok) std::abort();
}

bool SplitsPair(const WideString& t, int p) {
    return p > 0 && p < static_cast<int>(t.size()) && t[p - 1] >= 0xD800 && t[p - 1] <= 0xDBFF &&
           t[p] >= 0xDC00 && t[p] <= 0xDFFF;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static World* world = new World();
    TUiDriver& ui = world->ui;
    auto edit = std::make_unique<TTeEdit>(world->form);
    edit->SetParent(world->form);
    edit->SetBounds(10, 10, 80, 21);
    edit->SetText("start");
    edit->SetFocus();
    ui.RunUntilIdle();
    static const UINT keys[] = {VK_BACK, VK_DELETE, VK_LEFT, VK_RIGHT, VK_HOME,  VK_END,
                                'C',     'V',       'X',     'Z',      VK_INSERT};
    size_t i = 0;
    bool limited = false;
    for (int step = 0; step < 64 && i < size; ++step) {
        const uint8_t op = data[i++];
        switch (op % 5) {
            case 0: {  // typed text: the next bytes, UTF-8 as the display hands it in
                const size_t n = std::min<size_t>(op / 5 % 8 + 1, size - i);
                ui.Type(String(reinterpret_cast<const char*>(data + i), n));
                i += n;
                break;
            }
            case 1: {  // a paste of the next bytes
                const size_t n = std::min<size_t>(op / 5 % 16 + 1, size - i);
                Clipboard().SetAsText(String(reinterpret_cast<const char*>(data + i), n));
                i += n;
                ui.PressKey('V', {ssCtrl});
                break;
            }
            case 2: {
                TShiftState shift;
                if (op & 0x20) shift.Include(ssShift);
                if (op & 0x40) shift.Include(ssCtrl);
                ui.PressKey(keys[(op / 5) % 11], shift);
                break;
            }
            case 3:
                if (i + 1 < size) {
                    edit->SetSelStart(static_cast<int8_t>(data[i]));
                    edit->SetSelLength(static_cast<int8_t>(data[i + 1]));
                    i += 2;
                }
                break;
            case 4:
                edit->SetMaxLength(op / 5 % 4 == 0 ? 0 : op / 5 % 40);
                limited = limited || edit->MaxLength() > 0;
                break;
        }
        const WideString& t = edit->WideText();
        const int len = static_cast<int>(t.size());
        Check(edit->CaretPos() >= 0 && edit->CaretPos() <= len);
        Check(edit->SelStart() >= 0 && edit->SelStart() + edit->SelLength() <= len && edit->SelLength() >= 0);
        Check(edit->FirstVisibleChar() >= 1 && edit->FirstVisibleChar() <= std::max(len, 1));
        Check(!SplitsPair(t, edit->CaretPos()) && !SplitsPair(t, edit->SelStart()));
    }
    edit->SetMaxLength(0);
    while (edit->UnDo()) {
    }
    // A length limit may keep undo from bringing a deletion back whole.
    Check(limited || edit->GetText() == "start");
    return 0;
}
