// The main window's frame: the skinned frame and its menu bar, the tool bar
// with the info line, the status bar, the main panel with its page control
// and scroll bars; the start-up steps that read the settings files; panel
// scrolling and the about item.

#include <algorithm>
#include <functional>

#include "app/About.h"
#include "app/Main.h"
#include "app/ThemeLinks.h"
#include "app/WindowKit.h"
#include "platform/base/Paths.h"
#include "platform/system/ProfileFiles.h"
#include "skin/extras/te_menuconvert.h"

namespace tarvel {
namespace {

// ---- the tool bar's glyphs ----
// Drawn here so the tool carries no picture files. Indices 4 and 5 are the
// port closed and open, 6 and 7 logged in and out (6 is also the single
// mode), 11 the parallel mode; 0 to 3 are left empty.
constexpr int kGlyph = 24;
constexpr TColor kGlyphKey = clFuchsia;

void Shape(TCanvas& c, TColor pen, TColor brush, int penWidth = 1) {
    c.Pen()->SetColor(pen);
    c.Pen()->SetWidth(penWidth);
    c.Brush()->SetColor(brush);
}

void Line(TCanvas& c, int x, TPoint from, TPoint to, TColor color, int width) {
    Shape(c, color, color, width);
    c.MoveTo(x + from.x, from.y);
    c.LineTo(x + to.x, to.y);
}

void DrawPlug(TCanvas& c, int x, TColor body) {
    Shape(c, clBlack, body);
    c.Rectangle(x + 3, 8, x + 14, 17);
    Line(c, x, {14, 10}, {20, 10}, clGray, 2);
    Line(c, x, {14, 15}, {20, 15}, clGray, 2);
    Line(c, x, {1, 12}, {3, 12}, clBlack, 2);
}

void DrawPortClosed(TCanvas& c, int x) {
    DrawPlug(c, x, clSilver);
    Line(c, x, {4, 3}, {21, 21}, clRed, 3);
}

void DrawPortOpen(TCanvas& c, int x) {
    DrawPlug(c, x, clLime);
    Shape(c, clBlack, clGreen);
    c.Rectangle(x + 19, 6, x + 23, 19);
}

void DrawTick(TCanvas& c, int x) {
    Shape(c, clGreen, clGreen);
    c.Ellipse(x + 1, 1, x + 23, 23);
    Line(c, x, {6, 12}, {10, 17}, clWhite, 3);
    Line(c, x, {10, 17}, {18, 7}, clWhite, 3);
}

void DrawPadlock(TCanvas& c, int x) {
    Shape(c, clGray, kGlyphKey, 3);
    c.Ellipse(x + 6, 2, x + 18, 16);
    Shape(c, clBlack, 0x00A5FF);
    c.Rectangle(x + 4, 10, x + 20, 22);
    Shape(c, clBlack, clBlack);
    c.Rectangle(x + 11, 14, x + 13, 19);
}

void DrawFolder(TCanvas& c, int x) {
    Shape(c, clOlive, clYellow);
    const TPoint folder[] = {{x + 1, 5}, {x + 9, 5}, {x + 11, 8}, {x + 22, 8}, {x + 22, 21}, {x + 1, 21}};
    c.Polygon(folder);
    Shape(c, clNavy, clBlue);
    const TPoint arrow[] = {{x + 9, 10},  {x + 14, 10}, {x + 14, 14}, {x + 17, 14},
                            {x + 11, 20}, {x + 6, 14},  {x + 9, 14}};
    c.Polygon(arrow);
}

void DrawDisk(TCanvas& c, int x) {
    Shape(c, clBlack, clNavy);
    c.Rectangle(x + 2, 2, x + 22, 22);
    Shape(c, clBlack, clWhite);
    c.Rectangle(x + 5, 2, x + 19, 11);
    Shape(c, clBlack, clSilver);
    c.Rectangle(x + 7, 15, x + 17, 22);
}

void DrawExit(TCanvas& c, int x) {
    Shape(c, clMaroon, clRed);
    c.RoundRect(x + 1, 1, x + 23, 23, 6, 6);
    Line(c, x, {7, 7}, {17, 17}, clWhite, 3);
    Line(c, x, {17, 7}, {7, 17}, clWhite, 3);
}

void DrawModules(TCanvas& c, int x) {
    for (int i = 0; i < 3; ++i) {
        Shape(c, clBlack, i == 2 ? clLime : clTeal);
        c.Rectangle(x + 2 + i * 4, 2 + i * 6, x + 14 + i * 4, 10 + i * 6);
    }
}

void FillImageList(TImageList& list) {
    using Draw = void (*)(TCanvas&, int);
    static const Draw glyphs[] = {nullptr,  nullptr,     nullptr,    nullptr,  DrawPortClosed, DrawPortOpen,
                                  DrawTick, DrawPadlock, DrawFolder, DrawDisk, DrawExit,       DrawModules};
    constexpr int count = static_cast<int>(std::size(glyphs));
    list.SetSize(kGlyph, kGlyph);
    TBitmap strip;
    strip.SetSize(kGlyph * count, kGlyph);
    TCanvas& c = *strip.Canvas();
    c.Brush()->SetColor(kGlyphKey);
    c.FillRect(TRect{0, 0, kGlyph * count, kGlyph});
    for (int i = 0; i < count; ++i)
        if (glyphs[i]) glyphs[i](c, i * kGlyph);
    list.AddMasked(&strip, kGlyphKey);
}

// ---- the menu ----
struct MenuEntry {
    TTeItem* TMainForm::*member;
    const char* parent;  // "" for a menu of the bar
    const char* name;
    const char* caption;
    TShortCut shortCut;
    void (TMainForm::*click)(TObject*);
};

constexpr TShortCut CtrlAlt(char key) { return static_cast<TShortCut>(key | scCtrl | scAlt); }

const MenuEntry kMenu[] = {
    {&TMainForm::M_File, "", "M_File", "   File Option(&F)   ", scNone, nullptr},
    {&TMainForm::M_Exit, "M_File", "M_Exit", "Exit(&X)", CtrlAlt('X'), &TMainForm::TB_ExitClick},
    {&TMainForm::M_COMSettings, "", "M_COMSettings", " Port Setting(&S) ", scNone, nullptr},
    {&TMainForm::M_SetCOM, "M_COMSettings", "M_SetCOM", "Parameter Setting(&S)", CtrlAlt('S'),
     &TMainForm::M_SetCOMClick},
    {&TMainForm::M_Versionset, "", "M_Versionset", "Version Exchange(&E)", scNone, nullptr},
    {&TMainForm::CustomItem2, "M_Versionset", "CustomItem2", "3U", scNone, &TMainForm::VariantClick},
    {&TMainForm::CustomItem3, "M_Versionset", "CustomItem3", "BMS", scNone, &TMainForm::VariantClick},
    {&TMainForm::M_About, "", "M_About", "About Project(&A)", scNone, nullptr},
    {&TMainForm::M_Help, "M_About", "M_Help", "About(&A)", CtrlAlt('A'), &TMainForm::M_HelpClick},
    {&TMainForm::M_ConvertEdition, "M_About", "M_ConvertEdition", "Convert Version(&C) ", CtrlAlt('C'),
     &TMainForm::EditionSwitchClick},
};

// ---- the tool bar ----
struct ToolButton {
    TTeSpeedButton* TMainForm::*member;
    const char* name;
    const char* caption;
    int image;
    void (TMainForm::*click)(TObject*);
};

const ToolButton kToolButtons[] = {
    {&TMainForm::TB_COMSwitch, "TB_COMSwitch", "Open Port", 4, &TMainForm::TB_COMSwitchClick},
    {&TMainForm::TB_LOG, "TB_LOG", "Login", 7, &TMainForm::TB_LOGClick},
    {&TMainForm::TB_SingleConvert, "TB_SingleConvert", "Module", 6, &TMainForm::ModeSwitchClick},
    {&TMainForm::TB_Load, "TB_Load", "Load Data", 8, nullptr},
    {&TMainForm::TB_Save, "TB_Save", "Save Data", 9, nullptr},
    {&TMainForm::TB_Exit, "TB_Exit", "Exit", 10, &TMainForm::TB_ExitClick},
    {&TMainForm::TB_LanguageConvert, "TB_LanguageConvert", "中文", 11, nullptr},
};

constexpr int kToolBarHeight = 48;
constexpr int kToolButtonWidth = 60;

// Folders beside the executable that the tool writes into. "DataAccess"
// holds the readings database, which is made with its tables when missing,
// so its folder is made too.
const char* const kFolders[] = {
    "Data",          "SerialData",        "Info",      "BMS", "ADC", "KB", "Alarm_Data",
    "AutoTSBS_Data", "Export DataAccess", "DataAccess"};

// ---- the settings files ----
const char* const kSettingsFile = "ParaSeting.ini";
const char* const kAdjustFile = "BMSAdjust.ini";

// The current-calibration points of a product variant: point p goes into
// row 2 (p - 1) + 1 of SG_CKB, and points past the sixth into SG_CKB1.
struct CalibrationTable {
    const char* section;
    int points;
    int32_t fallback;
};
constexpr CalibrationTable k3UTable{"3UCurrentAdjust", 11, 10};
constexpr CalibrationTable kBmsTable{"BMSCurrentAdjust", 6, 5};
constexpr int kPointsPerGrid = 6;

// The automatic-check values; two keys end with a blank in the file.
struct AutoCheckValue {
    const char* key;
    int32_t fallback3U;
    int32_t fallbackBms;
};
constexpr AutoCheckValue kAutoCheckValues[] = {
    {"CellValue", 50, 50},
    {"TempValue", 6, 6},
    {"CurrentValue", 1000, 1000},
    {"PackValue", 100, 200},
    {"ChargeCurrent ", -35000, -30000},
    {"CurrentCheck ", -40000, -40000},
};

constexpr int kVariant3U = 1;
constexpr int kVariantBms = 0;

void SetCell(TStringGrid* grid, int col, int row, const String& text) {
    if (grid) grid->SetCells(col, row, text);
}

template <class T>
void ShowControl(T* control, bool visible) {
    if (control) control->SetVisible(visible);
}

// Pixels a content panel moves per step of a scroll bar.
constexpr int kScrollStep = 5;

}  // namespace

void TMainForm::BuildFrame() {
    SetName("MainForm");
    SetCaption(kAppName);
    SetPosition(poScreenCenter);
    SetBounds(0, 0, 1024, 740);

    TeThemeLink1 = new TTeThemeLink(this);
    TeThemeLink1->SetName("TeThemeLink1");
    TeForm1 = new TTeForm(this);
    TeForm1->SetName("TeForm1");
    TeForm1->SetThemeLink(TeThemeLink1);
    TeForm1->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu, kbiMinimize, kbiMaximize});

    ImageList1 = new TImageList(this);
    ImageList1->SetName("ImageList1");
    FillImageList(*ImageList1);

    // The menu is made as class-library items and worn by the skinned bar:
    // the items move into the bar under their names, the originals step
    // aside as "<name>_old".
    MainMenu1 = new TMainMenu(this);
    MainMenu1->SetName("MainMenu1");
    for (const MenuEntry& e : kMenu) {
        auto* item = new TMenuItem(this);
        item->SetName(e.name);
        item->SetCaption(e.caption);
        item->SetShortCut(e.shortCut);
        if (e.click) item->OnClick = std::bind_front(e.click, this);
        TMenuItem* parent = *e.parent ? static_cast<TMenuItem*>(FindComponent(e.parent)) : MainMenu1->Items();
        parent->Add(item);
    }
    TeMenuBar1 = MakeNamed<TTeMenuBar>(this, this, "TeMenuBar1");
    TeMenuBar1->SetThemeLink(TeThemeLink1);
    TeMenuBar1->SetAlign(alTop);
    DoConvert(TeMenuBar1->Items(), MainMenu1, this, TTeItem::StaticClass(), nullptr);
    for (const MenuEntry& e : kMenu) this->*e.member = dynamic_cast<TTeItem*>(FindComponent(e.name));
    TeForm1->SetMenuBar(TeMenuBar1);

    TeToolBar1 = MakeNamed<TTeToolBar>(this, this, "TeToolBar1");
    TeToolBar1->SetThemeLink(TeThemeLink1);
    TeToolBar1->SetBounds(0, 30, 1000, kToolBarHeight);
    TeToolBar1->SetAlign(alTop);
    // Buttons wide enough for their captions under the glyph.
    TeToolBar1->SetButtonAutoSize(false);
    int left = 0;
    auto place = [&left](TControl* control, int width) {
        control->SetBounds(left, 0, width, kToolBarHeight);
        left += width;
    };
    for (const ToolButton& b : kToolButtons) {
        auto* button = MakeNamed<TTeSpeedButton>(this, TeToolBar1, b.name);
        button->SetCaption(Utf8ToWide(b.caption));
        button->SetImages(ImageList1);
        button->SetImageIndex(b.image);
        button->SetLayout(blGlyphTop);
        button->SetFlat(true);
        if (b.click) button->OnClick = std::bind_front(b.click, this);
        place(button, kToolButtonWidth);
        this->*b.member = button;
    }
    TB_LanguageConvert->SetVisible(false);
    auto label = [&](auto* control, const char* caption, int width) {
        control->SetAutoSize(false);
        control->SetCaption(Utf8ToWide(caption));
        control->SetLayout(tlCenter);
        control->SetTransparent(true);
        place(control, width);
        return control;
    };
    TeScrollingLabel1 =
        label(MakeNamed<TTeScrollingLabel>(this, TeToolBar1, "TeScrollingLabel1"), "Hint:", 36);
    L_Info = MakeNamed<TLabel>(this, TeToolBar1, "L_Info");
    L_Info->SetAutoSize(false);
    L_Info->SetTransparent(false);
    L_Info->SetLayout(tlCenter);
    L_Info->SetAlignment(taCenter);
    L_Info->Font()->SetName("MS Sans Serif");
    L_Info->Font()->SetHeight(-16);
    L_Info->Font()->SetStyle(TFontStyles{fsBold});
    place(L_Info, 273);
    Version = label(MakeNamed<TTeLabel>(this, TeToolBar1, "Version"), " Current Version:", 92);
    Version1 = label(MakeNamed<TTeLabel>(this, TeToolBar1, "Version1"), "", 90);
    Version1->Font()->SetStyle(TFontStyles{fsBold});
    TeScrollingLabel2 =
        label(MakeNamed<TTeScrollingLabel>(this, TeToolBar1, "TeScrollingLabel2"), "Module Address", 86);
    // The bar gives its children its whole height; the box keeps an edit's
    // height on a holder of its own.
    auto* holder = MakeNamed<TTeTransPanel>(this, TeToolBar1, "ModuleAddrHolder");
    place(holder, 58);
    CB_ModuleAddr = MakeNamed<TTeComboBox>(this, holder, "CB_ModuleAddr");
    CB_ModuleAddr->SetBounds(4, (kToolBarHeight - 21) / 2, 52, 21);
    CB_ModuleAddr->SetThemeLink(TeThemeLink1);
    CB_ModuleAddr->SetComboStyle(kcsDropDownList);
    for (int address = 0; address < kModuleCount; ++address) CB_ModuleAddr->Items()->Add(IntToStr(address));
    CB_ModuleAddr->SetItemIndex(0);

    TeStatusBar1 = MakeNamed<TTeStatusBar>(this, this, "TeStatusBar1");
    TeStatusBar1->SetThemeLink(TeThemeLink1);
    TeStatusBar1->SetAlign(alBottom);
    for (int i = 0; i < 3; ++i) TeStatusBar1->Panels()->Add();

    MainPanel = MakeNamed<TTePanel>(this, this, "MainPanel");
    MainPanel->SetThemeLink(TeThemeLink1);
    MainPanel->SetAlign(alClient);
    MainPanel->SetBevelOuter(bvNone);
    TeScrollBar1 = MakeNamed<TTeScrollBar>(this, MainPanel, "TeScrollBar1");
    TeScrollBar1->SetOrientation(ksoHorizontal);
    TeScrollBar1->SetHeight(17);
    TeScrollBar1->SetAlign(alBottom);
    TeScrollBar1->OnChange = [this](TObject* sender) { TeScrollBar1Change(sender); };
    TeScrollBar2 = MakeNamed<TTeScrollBar>(this, MainPanel, "TeScrollBar2");
    TeScrollBar2->SetOrientation(ksoVertical);
    TeScrollBar2->SetWidth(17);
    TeScrollBar2->SetAlign(alRight);
    TeScrollBar2->OnChange = [this](TObject* sender) { TeScrollBar2Change(sender); };
    for (TTeScrollBar* bar : {TeScrollBar1, TeScrollBar2}) {
        bar->SetThemeLink(TeThemeLink1);
        bar->SetMin(0);
        bar->SetMax(100);
        bar->SetSmallChange(1);
        bar->SetLargeChange(1);
    }

    BatColorStore = MakeNamed<TGauge>(this, MainPanel, "BatColorStore");
    BatColorStore->SetVisible(false);
    BatColorStore->SetBackColor(clWhite);

    PC_All = MakeNamed<TTePageControl>(this, MainPanel, "PC_All");
    PC_All->SetThemeLink(TeThemeLink1);
    PC_All->SetAlign(alClient);
    const struct {
        TTeTabSheet** slot;
        const char* name;
        const char* caption;
    } sheets[] = {
        {&TS_RunState, "TS_RunState", " Run State "},
        {&TS_TSBS, "TS_TSBS", " TSBS Query "},
        {&TS_DataQuery, "TS_DataQuery", " Data Query "},
        {&TS_DBChart, "TS_DBChart", " Data Chart "},
        {&TS_PraSet, "TS_PraSet", " Parameter Setting "},
        {&TS_SerialNum, "TS_SerialNum", " Serial Number "},
        {&TS_TBMS, "TS_TBMS", " TBMS Parameter "},
        {&TS_Adjust, "TS_Adjust", " Calibrate Module "},
        {&TS_Info, "TS_Info", " Information "},
        {&TS_AutoQuery, "TS_AutoQuery", " Auto Query "},
        {&TS_TADC, "TS_TADC", " ADC Parameter "},
        {&TS_Monitor, "TS_Monitor", " System Monitor "},
        {&TS_HisAlarm, "TS_HisAlarm", " History Alarm "},
        {&TS_AutoTSBSData, "TS_AutoTSBSData", " Device Records "},
        {&TS_Control, "TS_Control", " Remote Control "},
        {&TeTabSheet1, "TeTabSheet1", "Export System Data"},
        {&TeTabSheet2, "TeTabSheet2", "Daily Records"},
        {&TS_ExtComm, "TS_ExtComm", " External Data "},
    };
    for (const auto& s : sheets) {
        auto* sheet = new TTeTabSheet(this);
        sheet->SetName(s.name);
        sheet->SetCaption(s.caption);
        sheet->SetTabControl(PC_All);
        *s.slot = sheet;
    }
    TTeTabSheet* const scrolled[] = {TS_RunState, TS_TSBS,      TS_DataQuery, TS_DBChart,
                                     TS_PraSet,   TS_SerialNum, TS_TBMS,      TS_Adjust,
                                     TS_Info,     TS_AutoQuery, TS_TADC,      TS_Monitor};
    for (size_t i = 0; i < ScrolledPanels.size(); ++i) {
        const String name = "LenGroupBox" + std::to_string(i + 1);
        auto* panel = MakeNamed<TTeGroupBox>(this, scrolled[i], name.c_str());
        panel->SetBounds(0, 0, 1000, 600);
        ScrolledPanels[i] = panel;
    }

    PC_All_Query = MakeNamed<TTeCheckBox>(this, MainPanel, "PC_All_Query");
    PC_All_Query->SetCaption(u"Execute");
}

void TMainForm::SetupViewAndFolders() {
    LinkSkinnedControls(this, TeThemeLink1);
    TeThemeLink1->SetThemeFile(AppPath("res/theme/dara.mskn"));
    TTeStatusPanels* panels = TeStatusBar1->Panels();
    panels->GetItem(0)->SetWidth(450);
    panels->GetItem(1)->SetWidth(200);
    // Its notice comes with the start captions.
    panels->GetItem(2)->SetWidth(TeStatusBar1->Width() - 700);
    // A folder that cannot be made shows up later, when something is written there.
    for (const char* folder : kFolders) CreateDir(AppPath(folder));
    SetDoubleBuffered(true);
    // Parallel mode shows it at the free right end of the tab row.
    PC_All_Query->SetBounds(MainPanel->ClientWidth() - 100, 2, 80, 20);
    PC_All_Query->SetAnchors(TAnchors{akTop, akRight});
    PC_All_Query->BringToFront();
    PC_All_Query->SetVisible(false);
    ShowUserView();
}

void TMainForm::LoadSerialNumberList() {
    const std::string file = AppPath(kSettingsFile);
    // A stored count outside the list would read (and later write) slots it
    // does not have.
    const int total =
        std::clamp<int32_t>(GetPrivateProfileInt("SequenceNum", "TotalNum", 1, file), 1, kModuleCount);
    LastSerialIndex = static_cast<uint8_t>(total - 1);
    constexpr int kRowsPerColumn = 32;
    for (int n = 1; n <= total; ++n) {
        const String number = GetPrivateProfileString("SequenceNum", "Num" + IntToStr(n), "", 30, file);
        SetCell(SG_SerialNum, (n - 1) / kRowsPerColumn, (n - 1) % kRowsPerColumn, number);
    }
}

void TMainForm::LoadModuleSelection() {
    ReadParaRecord();
    ShowModuleSelection();
}

void TMainForm::ShowModuleSelection() {
    for (int i = 0; i < kModuleCount; ++i)
        if (ModuleChecks[i]) ModuleChecks[i]->SetChecked(ParaRecord.ModuleSelected[i] != 0);
    if (PS_Cyc) PS_Cyc->SetText(IntToStr(ParaRecord.MultiPeriodSec));
    if (TSBS_Cyc) TSBS_Cyc->SetText(IntToStr(ParaRecord.SinglePeriodSec));
}

void TMainForm::LoadCurrentCalibrationTable() {
    if (ProductVariant != kVariant3U && ProductVariant != kVariantBms) return;
    const bool is3U = ProductVariant == kVariant3U;
    ShowControl(TeGroupBox34, true);
    Version1->SetCaption(is3U ? u"3U" : u"BMS");
    ShowControl(TeButton8, is3U);
    ShowControl(TeButton10, !is3U);

    const CalibrationTable& table = is3U ? k3UTable : kBmsTable;
    const std::string file = AppPath(kAdjustFile);
    for (int point = 1; point <= table.points; ++point) {
        TStringGrid* grid = point <= kPointsPerGrid ? SG_CKB : SG_CKB1;
        const int row = 2 * ((point - 1) % kPointsPerGrid) + 1;
        const String number = IntToStr(point);
        SetCell(grid, 1, row,
                IntToStr(GetPrivateProfileInt(table.section, "Charge" + number, table.fallback, file)));
        SetCell(grid, 2, row,
                IntToStr(GetPrivateProfileInt(table.section, "DisCharge" + number, table.fallback, file)));
    }
}

void TMainForm::LoadAutoCheckValues() {
    if (ProductVariant != kVariant3U && ProductVariant != kVariantBms) return;
    const std::string file = AppPath(kAdjustFile);
    for (size_t i = 0; i < AutoCheckEdits.size(); ++i) {
        const AutoCheckValue& v = kAutoCheckValues[i];
        const int32_t fallback = ProductVariant == kVariant3U ? v.fallback3U : v.fallbackBms;
        if (AutoCheckEdits[i])
            AutoCheckEdits[i]->SetText(
                IntToStr(GetPrivateProfileInt("AutoCheckValue", v.key, fallback, file)));
    }
}

// Both bars move every content panel, shown or not, 5 pixels per step.
void TMainForm::TeScrollBar1Change(TObject*) {
    const int position = TeScrollBar1->Position();
    for (TTeGroupBox* panel : ScrolledPanels) panel->SetLeft(position <= 0 ? 0 : -kScrollStep * position);
}

void TMainForm::TeScrollBar2Change(TObject*) {
    const int position = TeScrollBar2->Position();
    for (TTeGroupBox* panel : ScrolledPanels) panel->SetTop(position <= 0 ? 0 : -kScrollStep * position);
}

void TMainForm::M_HelpClick(TObject*) {
    if (AboutBox) AboutBox->ShowModal();
}

}  // namespace tarvel
