#include "tests/skin/controls/GalleryForms.h"

#include "skin/controls/te_controls_bars.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_editbtn.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/controls/te_controls_spin.h"
#include "skin/controls/te_controls_splitter.h"
#include "skin/core/te_utils_draw.h"

namespace tarvel::testing {

BasicGallery PlaceBasicControls(TWinControl* parent) {
    BasicGallery g;
    const TBitBtnKind kinds[] = {bkCustom, bkOK, bkCancel, bkYes, bkNo};
    for (int i = 0; i < 5; ++i) {
        auto* b = Place<TTeButton>(parent, 20 + (i % 3) * 110, 20 + (i / 3) * 40, 95);
        if (kinds[i] == bkCustom) b->SetCaption(u"Custom");
        b->SetKind(kinds[i]);
        g.buttons.push_back(b);
    }
    g.buttons[2]->SetEnabled(false);
    g.hot = g.buttons[1];
    g.pressed = g.buttons[4];
    const TTeCheckBoxState states[] = {kcbsUnChecked, kcbsChecked, kcbsMixed, kcbsChecked};
    for (int i = 0; i < 4; ++i) {
        auto* box = Place<TTeCheckBox>(parent, 20, 100 + i * 22);
        box->SetAllowGrayed(true);
        box->SetCaption(i == 3 ? u"Disabled" : u"Check " + Utf8ToWide(std::to_string(i + 1)));
        box->SetState(states[i]);
        box->SetEnabled(i != 3);
    }
    for (int i = 0; i < 2; ++i) {
        auto* radio = Place<TTeRadioButton>(parent, 20, 190 + i * 22);
        radio->SetCaption(i == 0 ? u"Radio on" : u"Radio off");
        radio->SetChecked(i == 0);
    }
    auto* group = Place<TTeGroupBox>(parent, 130, 100, 120, 80);
    group->SetCaption(u"Limits");
    group->SetUseCheckBox(true);
    auto* inner = Place<TTeLabel>(group, 14, 30, 80, 17);
    inner->SetCaption(u"Inside");
    auto* radios = Place<TTeRadioGroup>(parent, 260, 100, 130, 110);
    radios->SetCaption(u"Mode");
    for (const char* item : {"Single", "Parallel", "Off"}) radios->Items()->Add(item);
    radios->SetItemIndex(1);
    Place<TTeLabel>(parent, 130, 200)->SetCaption(u"A &label");
    auto* disabled = Place<TTeLabel>(parent, 130, 222);
    disabled->SetCaption(u"A disabled label");
    disabled->SetEnabled(false);
    // A glyph from an image list, and a label with its font options.
    auto* images = new TImageList(parent);
    images->SetSize(16, 16);
    TBitmap image(16, 16);
    FillRect(*image.Canvas(), TRect{0, 0, 16, 16}, clFuchsia);
    FillRect(*image.Canvas(), TRect{3, 3, 13, 13}, clNavy);
    FillRect(*image.Canvas(), TRect{6, 6, 10, 10}, clAqua);
    images->AddMasked(&image, clFuchsia);
    auto* imaged = Place<TTeButton>(parent, 20, 250, 95);
    imaged->SetCaption(u"Image");
    imaged->SetImages(images);
    imaged->SetImageIndex(0);
    auto* options = Place<TTeLabel>(parent, 130, 250);
    options->FontOptions()->SetBold(true);
    options->FontOptions()->SetSizeDelta(2);
    options->FontOptions()->SetFontColor(clNavy);
    options->SetCaption(u"Font options");
    return g;
}

void ArrowGlyph(TBitmap& glyph, TColor key, TColor ground) {
    glyph.SetSize(16, 16);
    TCanvas& c = *glyph.Canvas();
    FillRect(c, TRect{0, 0, 16, 16}, key);
    FillRect(c, TRect{2, 2, 14, 14}, ground);
    for (int row = 0; row < 4; ++row) FillRect(c, TRect{8 - row, 6 + row, 9 + row, 7 + row}, clBlack);
}

ToolGallery PlaceToolControls(TWinControl* parent) {
    ToolGallery g;
    auto* container = Place<TTeSpeedContainer>(parent, 10, 10, 370, 34);
    const char16_t* captions[] = {u"Open", u"Save", u"Left", u"Right", u"Up"};
    std::vector<TTeSpeedButton*> speed;
    int x = 2;
    for (int i = 0; i < 5; ++i) {
        if (i == 2) {
            Place<TTeSpeedDivider>(container, x, 2, 8, 29);
            x += 10;
        }
        auto* b = Place<TTeSpeedButton>(container, x, 2, 56, 29);
        b->SetCaption(captions[i]);
        b->SetGroupIndex(i >= 2 && i <= 3 ? 1 : 0);
        x += 60;
        speed.push_back(b);
    }
    TBitmap glyph;
    ArrowGlyph(glyph, clFuchsia, clSilver);
    speed[0]->SetGlyph(&glyph);
    speed[2]->SetDown(true);
    speed[4]->SetEnabled(false);
    speed[1]->SetShowChevron(true);
    speed[1]->SetFlat(false);
    g.hot = speed[0];

    auto* panel = Place<TTePanel>(parent, 10, 60, 120, 80);
    panel->SetCaption("Panel");
    auto* left = Place<TTePanel>(panel, 0, 0, 40, 80);
    left->SetAlign(alLeft);
    left->SetCaption("A");
    auto* splitter = Place<TTeSplitter>(panel, 60, 0, 5, 80);
    splitter->SetBeveled(true);

    auto* outlook = Place<TTeOutlookBar>(parent, 150, 60, 110, 150);
    for (int i = 0; i < 3; ++i)
        outlook->AddPanel()->Button()->SetCaption(i == 0 ? u"Mail" : i == 1 ? u"Notes" : u"Tasks");

    auto* bar = Place<TTeButtonBar>(parent, 10, 160, 120, 30);
    for (int i = 0; i < 7; ++i) {
        auto* item = new TTeSpeedButton(bar);
        item->SetParent(bar);
        item->SetTop(i);
        item->SetCaption(std::u16string(1, static_cast<char16_t>(u'1' + i)));
    }
    return g;
}

EditGallery PlaceEdits(TWinControl* parent) {
    EditGallery g;
    struct Plain {
        const char* text;
        bool enabled, readOnly, password;
    };
    const Plain plain[] = {{"Normal", true, false, false},
                           {"Hot", true, false, false},
                           {"Focused, part selected", true, false, false},
                           {"Disabled", false, false, false},
                           {"Read only", true, true, false},
                           {"secret", true, false, true}};
    for (int i = 0; i < 6; ++i) {
        auto* e = Place<TTeEdit>(parent, 20, 20 + i * 30, 150);
        e->SetText(plain[i].text);
        e->SetEnabled(plain[i].enabled);
        e->SetReadOnly(plain[i].readOnly);
        if (plain[i].password) e->SetPasswordKind(pkCircle);
        if (i == 2) g.focused = e;
    }
    // The edits with buttons beside them, in the same states.
    for (int i = 0; i < 5; ++i) {
        const int y = 20 + i * 30;
        auto* combo = Place<TTeComboBox>(parent, 190, y, 120);
        combo->Items()->Add(plain[i].text);
        combo->Items()->Add("Second");
        combo->SetItemIndex(0);
        auto* list = Place<TTeComboBox>(parent, 320, y, 120);
        list->Items()->Add(plain[i].text);
        list->SetComboStyle(kcsDropDownList);
        auto* spin = Place<TTeSpinEdit>(parent, 450, y, 70);
        spin->SetValue(i * 10);
        auto* button = Place<TTeEditButton>(parent, 530, y, 110);
        button->SetText(plain[i].text);
        button->SetGlyphKind(gkEllipsis);
        for (TTeEdit* e : std::initializer_list<TTeEdit*>{combo, list, spin, button}) {
            e->SetEnabled(plain[i].enabled);
            e->SetReadOnly(plain[i].readOnly);
        }
        if (i == 1) g.hot = combo;
    }
    return g;
}

TColor LogColor(int i) {
    constexpr TColor colors[] = {clBlack, clRed, clGreen, clBlue};
    return colors[i % 4];
}

void FillLog(TTeRichEdit* log, int lines) {
    log->SetReadOnly(true);
    log->SetScrollBars(ssVertical);
    for (int i = 0; i < lines; ++i) {
        log->SelAttributes()->SetColor(LogColor(i));
        log->AddLine("reply " + IntToStr(i) + ": cell voltage " + IntToStr(3300 + i) + " mV");
    }
}

WrappedGallery PlaceWrappedControls(TWinControl* parent) {
    WrappedGallery g;
    g.grid = Place<TTeStringGrid>(parent, 10, 10, 400, 240);
    g.grid->SetColCount(20);
    g.grid->SetRowCount(30);
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 30; ++r)
            g.grid->SetCells(c, r,
                             r == 0   ? "Col " + IntToStr(c)
                             : c == 0 ? "Row " + IntToStr(r)
                                      : IntToStr(r * c));
    g.grid->SetCol(2);
    g.grid->SetRow(3);
    g.log = Place<TTeRichEdit>(parent, 10, 260, 400, 120);
    FillLog(g.log, 20);
    g.tree = Place<TTeTreeView>(parent, 420, 10, 200, 170);
    for (int m = 1; m <= 4; ++m) {
        TTreeNode* module = g.tree->Items()->Add(nullptr, "Module " + IntToStr(m));
        for (int c = 1; c <= 4; ++c) g.tree->Items()->AddChild(module, "Cell " + IntToStr(c));
    }
    g.tree->FullExpand();
    g.report = Place<TTeListView>(parent, 420, 190, 200, 190);
    g.report->SetViewStyle(vsReport);
    for (const char* caption : {"Cell", "Voltage", "Temperature"}) {
        TListColumn* column = g.report->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(80);
    }
    for (int i = 1; i <= 20; ++i) {
        TListItem* item = g.report->Items()->Add();
        item->SetCaption("Cell " + IntToStr(i));
        item->SubItems()->Add(IntToStr(3300 + i) + " mV");
        item->SubItems()->Add(IntToStr(25 + i % 3) + " C");
    }
    return g;
}

}  // namespace tarvel::testing
