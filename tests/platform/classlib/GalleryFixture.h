#pragma once
// The gallery: one window with every standard control in a typical state,
// for people to look at. Built the same way on the headless screen and on
// a real X server.

#include "platform/classlib/Buttons.h"
#include "platform/classlib/ComCtrls.h"
#include "platform/classlib/ComCtrls_RichEdit.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/Gauges.h"
#include "platform/classlib/Grids.h"
#include "platform/classlib/ScrollBars.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Check.h"
#include "platform/classlib/StdCtrls_ComboBox.h"

namespace tarvel {

class TGalleryForm : public TForm {
public:
    explicit TGalleryForm(TComponent* owner) : TForm(owner) {
        SetName("Gallery");
        SetCaption("Gallery");
        SetBounds(0, 0, 980, 700);
        SetColor(clBtnFace);
        BuildBars();
        BuildInputs();
        BuildChoices();
        BuildViews();
        BuildIndicators();
        BuildCombos();
        BuildDisabled();
    }

    template <class T>
    T* Put(const String& name, TRect r, TWinControl* parent = nullptr) {
        T* c = new T(this);
        c->SetName(name);
        c->SetParent(parent ? parent : this);
        c->SetBounds(r.left, r.top, r.Width(), r.Height());
        return c;
    }

private:
    void BuildBars() {
        auto* tools = Put<TToolBar>("ToolBar", Bounds(0, 0, 10, 29));
        tools->SetShowCaptions(true);
        tools->SetButtonWidth(48);
        for (const char* caption : {"Open", "Save", "-", "Start", "Stop"}) {
            auto* b = new TToolButton(this);
            b->SetParent(tools);
            if (String(caption) == "-")
                b->SetStyle(tbsDivider);
            else
                b->SetCaption(caption);
        }
        auto* status = Put<TStatusBar>("StatusBar", Bounds(0, 0, 10, 19));
        status->Panels()->Add()->SetText("COM1 9600");
        status->Panels()->Items(0)->SetWidth(140);
        status->Panels()->Add()->SetText("Module 3: 13.21 V");
    }

    void BuildInputs() {
        auto* group = Put<TGroupBox>("Inputs", Bounds(8, 36, 300, 270));
        group->SetCaption("Inputs");
        auto* label = Put<TLabel>("Label", Bounds(10, 22, 80, 17), group);
        label->SetCaption("&Serial no.:");
        auto* edit = Put<TEdit>("Edit", Bounds(95, 18, 190, 21), group);
        edit->SetText("TB-2026-0042");
        label->SetFocusControl(edit);
        auto* date = Put<TDateTimePicker>("DatePicker", Bounds(10, 48, 130, 21), group);
        date->SetDateTime(EncodeDateTime(DateParts{2026, 12, 10, 14, 5, 30, 0}));
        auto* time = Put<TDateTimePicker>("TimePicker", Bounds(150, 48, 135, 21), group);
        time->SetKind(dtkTime);
        time->SetDateTime(date->DateTime());
        auto* spinEdit = Put<TEdit>("Count", Bounds(10, 78, 60, 21), group);
        auto* spin = Put<TUpDown>("UpDown", Bounds(0, 0, 17, 21), group);
        spin->SetMax(64);
        spin->SetPosition(16);
        spin->SetAssociate(spinEdit);
        auto* memo = Put<TMemo>("Memo", Bounds(100, 78, 185, 60), group);
        memo->Lines()->Add("55 AA 01 03 00 10");
        memo->Lines()->Add("55 AA 01 83 20 ...");
        memo->Lines()->Add("A long reply wraps at words to the memo's width");
        memo->SetSelStart(0);
        auto* rich = Put<TRichEdit>("RichEdit", Bounds(10, 146, 275, 70), group);
        const TColor colours[] = {clGreen, clBlack, clRed};
        const char* lines[] = {"[2026-12-10 14:05:30] Connected", "[2026-12-10 14:05:31] Module 3 replied",
                               "[2026-12-10 14:05:40] No reply from module 5"};
        for (int i = 0; i < 3; ++i) {
            rich->SetSelStart(static_cast<int>(rich->Text().size()));
            rich->SelAttributes()->SetColor(colours[i]);
            rich->Lines()->Add(lines[i]);
        }
        auto* list = Put<TListBox>("ListBox", Bounds(10, 222, 120, 40), group);
        for (const char* s : {"COM1", "COM2", "/dev/ttyUSB0"}) list->Items()->Add(s);
        list->SetItemIndex(1);
        auto* scroll = Put<TScrollBar>("ScrollBar", Bounds(140, 230, 145, 17), group);
        scroll->SetPosition(30);
    }

    void BuildChoices() {
        auto* panel = Put<TPanel>("Panel", Bounds(8, 312, 300, 180));
        panel->SetBevelOuter(bvLowered);
        panel->SetCaption("");
        auto* check = Put<TCheckBox>("CheckBox", Bounds(8, 8, 130, 17), panel);
        check->SetCaption("Auto query");
        check->SetChecked(true);
        auto* grayed = Put<TCheckBox>("Grayed", Bounds(150, 8, 130, 17), panel);
        grayed->SetCaption("Protect OFF");
        auto* radio1 = Put<TRadioButton>("Radio1", Bounds(8, 30, 100, 17), panel);
        radio1->SetCaption("Charge");
        radio1->SetChecked(true);
        auto* radio2 = Put<TRadioButton>("Radio2", Bounds(150, 30, 100, 17), panel);
        radio2->SetCaption("Discharge");
        auto* group = Put<TRadioGroup>("RadioGroup", Bounds(8, 52, 140, 72), panel);
        group->SetCaption("Baud rate");
        for (const char* s : {"9600", "19200", "115200"}) group->Items()->Add(s);
        group->SetItemIndex(0);
        auto* button = Put<TButton>("Button", Bounds(156, 56, 130, 25), panel);
        button->SetCaption("&Read");
        button->SetDefault(true);
        auto* bit = Put<TBitBtn>("BitBtn", Bounds(156, 88, 130, 25), panel);
        bit->SetKind(bkCancel);
        bit->Glyph()->SetSize(12, 12);
        bit->Glyph()->Canvas()->Brush()->SetColor(clRed);
        bit->Glyph()->Canvas()->FillRect(Rect(0, 0, 12, 12));
        for (int i = 0; i < 3; ++i) {
            auto* speed = Put<TSpeedButton>("Speed" + IntToStr(i), Bounds(8 + 25 * i, 132, 23, 22), panel);
            speed->SetGroupIndex(1);
            speed->SetCaption(IntToStr(i + 1));
            if (i == 1) speed->SetDown(true);
        }
        auto* bevel = Put<TBevel>("Bevel", Bounds(90, 132, 60, 22), panel);
        bevel->SetShape(bsFrame);
        auto* progress = Put<TProgressBar>("ProgressBar", Bounds(156, 124, 130, 16), panel);
        progress->SetPosition(65);
        auto* smooth = Put<TProgressBar>("SmoothBar", Bounds(156, 146, 130, 16), panel);
        smooth->SetSmooth(true);
        smooth->SetPosition(40);
    }

    void BuildViews() {
        auto* pages = Put<TPageControl>("PageControl", Bounds(316, 36, 420, 300));
        const char* captions[] = {"Run state", "Parameters", "Records", "History", "Alarms", "Calibration"};
        std::vector<TTabSheet*> sheets;
        for (const char* caption : captions) {
            auto* sheet = new TTabSheet(this);
            sheet->SetCaption(caption);
            sheet->SetPageControl(pages);
            sheets.push_back(sheet);
        }
        sheets[4]->SetTabVisible(false);
        auto* grid = Put<TStringGrid>("StringGrid", Bounds(4, 4, 404, 120), sheets[0]);
        grid->SetColCount(5);
        grid->SetRowCount(6);
        const char* heads[] = {"Module", "Voltage", "Current", "Temp", "SOC"};
        for (int c = 0; c < 5; ++c) grid->SetCells(c, 0, heads[c]);
        for (int r = 1; r < 6; ++r) {
            grid->SetCells(0, r, IntToStr(r));
            grid->SetCells(1, r, "13.2" + IntToStr(r));
            grid->SetCells(2, r, "-1.0" + IntToStr(r));
            grid->SetCells(3, r, "2" + IntToStr(r));
            grid->SetCells(4, r, IntToStr(60 + r * 5) + "%");
        }
        auto* lv = Put<TListView>("ListView", Bounds(4, 130, 200, 130), sheets[0]);
        lv->SetViewStyle(vsReport);
        lv->SetGridLines(true);
        lv->SetRowSelect(true);
        for (auto [caption, width] : {std::pair{"Alarm", 110}, std::pair{"Count", 60}}) {
            TListColumn* c = lv->Columns()->Add();
            c->SetCaption(caption);
            c->SetWidth(width);
        }
        for (auto [caption, count] :
             {std::pair{"Over voltage", "2"}, std::pair{"Under temp", "0"}, std::pair{"Over current", "5"}}) {
            TListItem* item = lv->Items()->Add();
            item->SetCaption(caption);
            item->SubItems()->Add(count);
        }
        lv->SetItemIndex(2);
        auto* tree = Put<TTreeView>("TreeView", Bounds(210, 130, 198, 130), sheets[0]);
        TTreeNode* root = tree->Items()->Add(nullptr, "Battery pack");
        for (int m = 1; m <= 3; ++m) {
            TTreeNode* module = tree->Items()->AddChild(root, "Module " + IntToStr(m));
            for (int c = 1; c <= 2; ++c) tree->Items()->AddChild(module, "Cell " + IntToStr(c));
        }
        root->Expand(false);
        root->Item(1)->Expand(false);
        tree->SetSelected(root->Item(1)->Item(0));
        pages->SetActivePage(sheets[0]);

        auto* tabs = Put<TTabControl>("TabControl", Bounds(316, 342, 420, 150));
        tabs->SetTabPosition(tpBottom);
        for (const char* s : {"Single module", "More modules", "No module"}) tabs->Tabs()->Add(s);
        auto* calendar = Put<TMonthCalendar>("MonthCalendar", Bounds(8, 4, 191, 110), tabs);
        calendar->TodayProvider = [] { return EncodeDate(2026, 12, 10); };
        calendar->SetDate(EncodeDate(2026, 12, 14));
        calendar->SetShowToday(false);
        auto* header = Put<THeaderControl>("HeaderControl", Bounds(206, 8, 200, 20), tabs);
        for (const char* s : {"Name", "Size", "Modified"}) {
            THeaderSection* sec = header->Sections()->Add();
            sec->SetText(s);
            sec->SetWidth(66);
        }
        auto* box = Put<TScrollBox>("ScrollBox", Bounds(206, 34, 200, 80), tabs);
        for (int i = 0; i < 5; ++i) {
            auto* l = Put<TLabel>("BoxLabel" + IntToStr(i), Bounds(6, 6 + 24 * i, 150, 17), box);
            l->SetCaption("Parameter set " + IntToStr(i + 1));
        }
    }

    void BuildCombos() {
        auto* group = Put<TGroupBox>("Combos", Bounds(316, 498, 420, 56));
        group->SetCaption("Combo boxes");
        auto* address = Put<TComboBox>("ModuleAddr", Bounds(10, 22, 120, 21), group);
        address->SetStyle(csDropDownList);
        for (int i = 0; i < 64; ++i) address->Items()->Add(IntToStr(i));
        address->SetItemIndex(3);
        auto* serial = Put<TComboBox>("SerialNum", Bounds(140, 22, 270, 21), group);
        for (const char* s : {"TB-2026-0042", "TB-2026-0043"}) serial->Items()->Add(s);
        serial->SetText("TB-2026-0044");
    }

    // The same kinds of control once more, each disabled.
    void BuildDisabled() {
        auto* group = Put<TGroupBox>("Disabled", Bounds(8, 562, 956, 110));
        group->SetCaption("Disabled");
        auto* edit = Put<TEdit>("DisabledEdit", Bounds(10, 22, 120, 21), group);
        edit->SetText("TB-2026-0042");
        auto* button = Put<TButton>("DisabledButton", Bounds(140, 20, 90, 25), group);
        button->SetCaption("&Write");
        auto* check = Put<TCheckBox>("DisabledCheck", Bounds(240, 24, 110, 17), group);
        check->SetCaption("Auto query");
        check->SetChecked(true);
        auto* combo = Put<TComboBox>("DisabledCombo", Bounds(10, 54, 120, 21), group);
        combo->SetStyle(csDropDownList);
        for (const char* s : {"9600", "19200"}) combo->Items()->Add(s);
        combo->SetItemIndex(0);
        auto* grid = Put<TStringGrid>("DisabledGrid", Bounds(360, 16, 250, 84), group);
        grid->SetColCount(3);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(60);
        const char* heads[] = {"Module", "Voltage", "SOC"};
        for (int c = 0; c < 3; ++c) grid->SetCells(c, 0, heads[c]);
        for (int r = 1; r < 4; ++r) {
            grid->SetCells(0, r, IntToStr(r));
            grid->SetCells(1, r, "13.2" + IntToStr(r));
            grid->SetCells(2, r, IntToStr(60 + r * 5) + "%");
        }
        auto* list = Put<TListBox>("DisabledList", Bounds(620, 16, 150, 84), group);
        for (const char* s : {"COM1", "COM2", "/dev/ttyUSB0", "/dev/ttyUSB1", "/dev/ttyACM0", "/dev/ttyS4"})
            list->Items()->Add(s);
        list->SetItemIndex(1);
        for (TControl* c : std::initializer_list<TControl*>{edit, button, check, combo, grid, list})
            c->SetEnabled(false);
    }

    void BuildIndicators() {
        auto* tile = Put<TPanel>("Tile", Bounds(744, 36, 220, 456));
        tile->SetCaption("");
        tile->SetBevelOuter(bvLowered);
        auto* splitter = Put<TSplitter>("Splitter", Bounds(0, 0, 4, 10), tile);
        splitter->SetAlign(alRight);
        const int progress[] = {0, 35, 80, 100, 150};
        for (int i = 0; i < 4; ++i) {
            auto* body = Put<TGauge>("Gauge" + IntToStr(i), Bounds(10 + 50 * i, 20, 40, 90), tile);
            body->SetKind(gkVerticalBar);
            body->SetForeColor(clLime);
            body->SetBackColor(clWhite);
            body->Font()->SetColor(clRed);
            body->SetProgress(progress[i + 1]);
            auto* cap = Put<TGauge>("Cap" + IntToStr(i), Bounds(24 + 50 * i, 12, 12, 8), tile);
            cap->SetShowText(false);
            cap->SetBackColor(clBtnHighlight);
        }
        auto* bar = Put<TGauge>("HorizontalGauge", Bounds(10, 120, 190, 22), tile);
        bar->SetForeColor(clNavy);
        bar->Font()->SetColor(clFuchsia);
        bar->SetProgress(progress[2]);
        auto* pie = Put<TGauge>("PieGauge", Bounds(10, 150, 60, 60), tile);
        pie->SetKind(gkPie);
        pie->SetForeColor(clTeal);
        pie->SetProgress(70);
        pie->SetShowText(false);
        const TShapeType shapes[] = {stCircle, stRectangle, stRoundRect, stEllipse};
        const TColor lamps[] = {clLime, clSilver, clRed, clYellow};
        for (int i = 0; i < 4; ++i) {
            auto* s = Put<TShape>("Shape" + IntToStr(i), Bounds(80 + 30 * i, 160, 24, 24), tile);
            s->SetShape(shapes[i]);
            s->Brush()->SetColor(lamps[i]);
            if (i == 0) s->Pen()->SetStyle(psClear);
        }
        auto* info = Put<TLabel>("InfoLabel", Bounds(10, 220, 190, 40), tile);
        info->SetAutoSize(false);
        info->SetBounds(10, 220, 190, 40);
        info->SetColor(0xF0CAA6);
        info->SetLayout(tlCenter);
        info->SetAlignment(taCenter);
        info->Font()->SetStyle(TFontStyles{fsBold});
        info->SetCaption("Export finished");
        auto* wrap = Put<TLabel>("WrapLabel", Bounds(10, 266, 190, 40), tile);
        wrap->SetAutoSize(false);
        wrap->SetBounds(10, 266, 190, 40);
        wrap->SetWordWrap(true);
        wrap->SetCaption("A label that wraps its words onto the next line when it is narrow.");
        auto* image = Put<TImage>("Image", Bounds(10, 320, 64, 64), tile);
        TBitmap* bmp = image->Picture()->Bitmap();
        bmp->SetSize(16, 16);
        for (int y = 0; y < 16; ++y)
            for (int x = 0; x < 16; ++x)
                bmp->Canvas()->SetPixels(x, y, ((x / 4 + y / 4) % 2) ? clNavy : clAqua);
        image->SetAutoSize(false);
        image->SetBounds(10, 320, 64, 64);
        image->SetStretch(true);
    }
};

}  // namespace tarvel
