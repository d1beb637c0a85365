// The main window's bars through the SDL backend on an Xvfb of their own: a
// page control of thirteen tabs in two rows, a tool bar of six picture
// buttons, progress bars and a status bar, and the style pickers with the
// theme preview and a paint box, in the flat theme and in the tool's skin
// file, and an extended combo whose item is chosen with the server's
// pointer, saved under screenshots/ in the build folder for people to look
// at and compared with their references; and a band of a control bar
// dragged out into a floating window of its own and back, through the server.

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdlib>
#include <memory>
#include <string>
#include <vector>

#include "platform/classlib/Docking.h"
#include "platform/classlib/ImageLists.h"
#include "platform/winsys/WindowApi.h"
#include "skin/controls/te_controls_speedbutton.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_comboex.h"
#include "skin/extctrls/te_extctrls_controlbar.h"
#include "skin/extctrls/te_extctrls_pages.h"
#include "skin/extctrls/te_extctrls_paintbox.h"
#include "skin/extctrls/te_extctrls_pickers.h"
#include "skin/extctrls/te_extctrls_preview.h"
#include "skin/extctrls/te_extctrls_progress.h"
#include "skin/extctrls/te_extctrls_status.h"
#include "skin/extctrls/te_extctrls_toolbar.h"
#include "skin/forms/te_forms_menubar.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"
#include "tests/skin/themes/xvfb/SkinXvfbFixture.h"

namespace tarvel {
namespace {

class ExtCtrlsOnX11 : public testing::SkinXvfbTest {
protected:
    void StartUnits() override {
        InitThemeFlat();
        InitControlBases();
        RegisterTabSheetBackground();
        RegisterControlBarBackground();
    }
    void StopUnits() override { DoneControlBases(); }

    // Shows the form, lets it paint, and compares its window, saved as
    // `name`, with its reference.
    void ShowAndCompare(TForm& form, const std::string& name) {
        form.Show();
        ComparedShot(form.Handle(), name);
    }
    // Moves the server's pointer from `from` to `to` in steps of a few
    // pixels, letting the program see each, as a hand moves a mouse.
    static void Glide(TPoint from, TPoint to) {
        const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) / 6 + 1;
        for (int i = 1; i <= steps; ++i) {
            EXPECT_TRUE(
                XMovePointer(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
            Run(15);
        }
    }
};

// Six 16 x 16 pictures: a coloured square with a white diagonal.
void AddPictures(TImageList& images) {
    images.SetSize(16, 16);
    for (TColor color : {clRed, clGreen, clBlue, clNavy, clPurple, clTeal}) {
        TBitmap picture;
        picture.SetSize(16, 16);
        picture.Canvas()->Brush()->SetColor(color);
        picture.Canvas()->FillRect(TRect{0, 0, 16, 16});
        picture.Canvas()->Brush()->SetColor(clWhite);
        for (int i = 2; i < 14; ++i) picture.Canvas()->FillRect(TRect{i, i, i + 2, i + 1});
        images.AddMasked(&picture, clFuchsia);
    }
}

TEST_F(ExtCtrlsOnX11, PagesToolBarProgressAndStatusBarsInTheFlatThemeAndTheSkinFile) {
    for (const testing::Look& look : testing::kLooks) {
        SCOPED_TRACE(look.suffix);
        testing::UseLook(look);

        auto form = std::make_unique<TForm>(Application);
        form->SetCaption("Tarvel BMS");
        form->SetColor(clBtnFace);
        form->SetBounds(40, 40, 660, 420);
        TImageList images(form.get());
        AddPictures(images);

        auto* bar = new TTeToolBar(form.get());
        bar->SetParent(form.get());
        bar->SetAlign(alTop);
        bar->SetHeight(30);
        const char* hints[] = {"Connect", "Disconnect", "Read", "Write", "Export", "Settings"};
        for (int i = 0; i < 6; ++i) {
            if (i == 4) {
                auto* divider = new TTeSpeedDivider(form.get());
                divider->SetParent(bar);
                divider->SetLeft(1000);
            }
            auto* b = new TTeSpeedButton(form.get());
            b->SetParent(bar);
            b->SetLeft(2000 + i);
            b->SetImages(&images);
            b->SetImageIndex(i);
            b->SetHint(hints[i]);
            b->SetShowCaption(false);
            if (i == 1) b->SetEnabled(false);
        }

        auto* pages = new TTePageControl(form.get());
        pages->SetParent(form.get());
        pages->SetBounds(8, 38, 640, 250);
        pages->SetMultiLine(true);
        std::vector<TTeTabSheet*> sheets;
        for (const char* caption :
             {"Realtime", "Cells", "Temperatures", "Balance", "Alarms", "Export", "History", "Parameters",
              "Calibration", "Firmware", "Ports", "Log", "About"}) {
            auto* sheet = new TTeTabSheet(form.get());
            sheet->SetText(caption);
            sheet->SetTabControl(pages);
            sheets.push_back(sheet);
        }
        pages->SetActivePage(sheets[1]);

        const struct {
            bool smooth;
            int position;
        } progress[] = {{false, 35}, {true, 70}, {false, 130}};
        for (int i = 0; i < 3; ++i) {
            auto* p = new TTeProgressBar(form.get());
            p->SetParent(form.get());
            p->SetBounds(8 + i * 215, 298, 200, 16);
            p->SetSmooth(progress[i].smooth);
            p->SetPosition(progress[i].position);
        }

        // A control bar: the menu as tool buttons and a short tool bar, each in a band.
        auto* bands = new TTeControlBar(form.get());
        bands->SetParent(form.get());
        bands->SetBounds(8, 322, 640, 30);
        bands->SetColor(clBtnFace);
        auto* menu = new TTeMenuBar(form.get());
        menu->SetBounds(11, 2, 220, 22);
        menu->SetParent(bands);
        for (const char16_t* caption : {u"&File Option", u"&Port Setting", u"&About Project"}) {
            auto* item = new TTeItem(form.get());
            item->SetCaption(caption);
            menu->Items()->Add(item);
        }
        auto* tools = new TTeToolBar(form.get());
        tools->SetBounds(300, 2, 78, 26);
        tools->SetParent(bands);
        for (int i = 0; i < 3; ++i) {
            auto* b = new TTeSpeedButton(form.get());
            b->SetParent(tools);
            b->SetLeft(1000 + i);
            b->SetImages(&images);
            b->SetImageIndex(i);
            b->SetShowCaption(false);
            b->SetFlat(true);
        }

        auto* status = new TTeStatusBar(form.get());
        status->SetParent(form.get());
        status->SetAlign(alBottom);
        const struct {
            const char16_t* text;
            int width, stretch;
        } panels[] = {{u"COM3 115200", 110, 0}, {u"5 modules, 80 cells", 160, 0}, {u"Ready", 80, 50}};
        for (const auto& p : panels) {
            TTeStatusPanel* panel = status->Panels()->Add();
            panel->SetText(p.text);
            panel->SetWidth(p.width);
            panel->SetStretchPriority(p.stretch);
        }

        ShowAndCompare(*form, std::string("extctrls_bars_") + look.suffix + ".png");
        EXPECT_EQ(pages->RowCount(), 2);
    }
}

TEST_F(ExtCtrlsOnX11, PickersThemePreviewAndPaintBoxInTheFlatThemeAndTheSkinFile) {
    InitForms();
    for (const testing::Look& look : testing::kLooks) {
        SCOPED_TRACE(look.suffix);
        testing::UseLook(look);
        auto form = std::make_unique<TForm>(Application);
        form->SetCaption("Styles");
        form->SetColor(clBtnFace);
        form->SetBounds(40, 40, 560, 330);
        auto place = [&](TControl* c, int left, int top, int width, int height) {
            c->SetParent(form.get());
            c->SetBounds(left, top, width, height);
        };
        auto* pens = new TTePenStyleList(form.get());
        place(pens, 10, 10, 160, 7 * pens->ItemHeight() + 6);
        auto* brushes = new TTeBrushStyleList(form.get());
        place(brushes, 180, 10, 160, 8 * brushes->ItemHeight() + 6);
        auto* box = new TTeBrushStyleBox(form.get());
        place(box, 10, 200, 160, box->Height());
        box->SetBrushStyle(bsCross);
        // The preview draws the same look through a link of its own.
        TTeThemeLink* link = testing::LinkToLook(form.get(), look);
        ASSERT_TRUE(link->GetTheme());
        auto* preview = new extctrls::TTeThemePreview(form.get());
        place(preview, 350, 10, 190, 150);
        preview->SetThemeLink(link);
        auto* paint = new TTePaintBox(form.get());
        place(paint, 350, 170, 190, 110);
        paint->SetColor(clWhite);
        paint->OnPaint = [paint](TObject*) {
            TCanvas& c = *paint->Canvas();
            c.FillRect(TRect{0, 0, paint->Width(), paint->Height()});
            c.Pen()->SetStyle(psDashDot);
            c.Brush()->SetColor(clNavy);
            c.Brush()->SetStyle(bsDiagCross);
            c.Rectangle(8, 8, paint->Width() - 8, paint->Height() - 8);
        };
        ShowAndCompare(*form, std::string("extctrls_pickers_") + look.suffix + ".png");
    }
    DoneForms();
}

TEST_F(ExtCtrlsOnX11, ABandDraggedOutFloatsInItsOwnWindowAndDraggedBackDocksUnderItsProbeLine) {
    testing::UseLook(testing::kLooks[0]);
    auto form = std::make_unique<TForm>(Application);
    form->SetCaption("Bands");
    form->SetColor(clBtnFace);
    form->SetBounds(40, 40, 420, 120);
    TImageList images(form.get());
    AddPictures(images);
    auto* bar = new TTeControlBar(form.get());
    bar->SetParent(form.get());
    bar->SetBounds(8, 8, 400, 30);
    bar->SetColor(clBtnFace);
    auto tools = [&](const char* name, int left, int top, int first) {
        auto* t = new TTeToolBar(form.get());
        t->SetName(name);
        t->SetBounds(left, top, 90, 26);
        t->SetParent(bar);
        for (int i = 0; i < 3; ++i) {
            auto* b = new TTeSpeedButton(form.get());
            b->SetParent(t);
            b->SetLeft(1000 + i);
            b->SetImages(&images);
            b->SetImageIndex(first + i);
            b->SetShowCaption(false);
            b->SetFlat(true);
        }
        return t;
    };
    TTeToolBar* a = tools("Port", 11, 2, 0);
    TTeToolBar* b = tools("Records", 160, 2, 3);
    TTeToolBar* c = tools("Export", 11, 60, 1);
    b->SetDragKind(dkDock);
    form->Show();
    Settle(form->Handle());
    ASSERT_NE(a->Top(), c->Top());
    ASSERT_EQ(a->Top(), b->Top());

    // Out: by the grabber, up past the bar and down below the form.
    const TPoint grabber = bar->ClientToScreen(TPoint{b->Left() - 6, b->Top() + 8});
    ASSERT_TRUE(XMovePointer(grabber.x, grabber.y));
    Run(50);
    ASSERT_TRUE(XButton(1, true));
    Run(50);
    const TPoint above{grabber.x, grabber.y - 70};
    const TPoint below{grabber.x + 40, WindowRect(form->Handle()).bottom + 60};
    Glide(grabber, above);
    Glide(above, below);
    ASSERT_TRUE(XButton(1, false));
    ASSERT_TRUE(RunUntil([&] { return b->Floating(); })) << "the band did not float";
    TToolDockForm* host = FloatingHost(b);
    Settle(host->Handle());
    EXPECT_NE(host->Handle(), form->Handle());
    EXPECT_GT(b->ClientToScreen(TPoint{0, 0}).y, WindowRect(form->Handle()).bottom);
    EXPECT_EQ(bar->DockItems().size(), 2u);
    {
        TRect area = WindowRect(form->Handle());
        const TRect floating = WindowRect(host->Handle());
        area = TRect{std::min(area.left, floating.left) - 4, std::min(area.top, floating.top) - 4,
                     std::max(area.right, floating.right) + 4, std::max(area.bottom, floating.bottom) + 4};
        Still(form->Handle());
        EXPECT_TRUE(ScreenMatchesReferenceNow(area, "extctrls_band_floating.png"));
        Unstill();
    }

    // Back: by the window's caption strip, over the bar's second row right
    // of the band there. It docks as it enters and goes on moving as a band.
    const TRect strip = host->CaptionRect();
    const TPoint caption = host->ClientToScreen(TPoint{strip.left + 12, (strip.top + strip.bottom) / 2});
    ASSERT_TRUE(XMovePointer(caption.x, caption.y));
    Run(50);
    ASSERT_TRUE(XButton(1, true));
    Run(50);
    const TPoint rest = bar->ClientToScreen(TPoint{200, c->Top() + 6});
    Glide(caption, rest);
    EXPECT_EQ(b->Parent(), bar) << "not docked on entering the bar";
    EXPECT_EQ(bar->DraggedControl(), b);
    ASSERT_TRUE(XButton(1, false));
    Run(100);
    EXPECT_FALSE(b->Floating());
    EXPECT_EQ(bar->DraggedControl(), nullptr);
    // In the row under its probe line: the second, after the band there.
    EXPECT_EQ(b->Top(), c->Top());
    EXPECT_GT(b->Left(), c->Left() + c->Width());
    ASSERT_EQ(bar->DockItems().size(), 3u);
    EXPECT_EQ(bar->DockItems()[1]->Control, c);
    EXPECT_EQ(bar->DockItems()[2]->Control, b);
    EXPECT_FALSE(bar->DockItems()[2]->Break);
    ComparedShot(form->Handle(), "extctrls_band_docked.png");
}

TEST_F(ExtCtrlsOnX11, AnItemChosenWithThePointerInTheExtendedComboIsShownAndTold) {
    testing::UseLook(testing::kLooks[1]);
    auto form = std::make_unique<TForm>(Application);
    form->SetCaption("Modules");
    form->SetColor(clBtnFace);
    form->SetBounds(40, 40, 320, 220);
    TImageList images(form.get());
    AddPictures(images);
    auto* combo = new TTeComboBoxEx(form.get());
    combo->SetParent(form.get());
    combo->SetLeft(20);
    combo->SetTop(20);
    combo->SetWidth(200);
    combo->SetImages(&images);
    const char* captions[] = {"Pack", "Module 1", "Cell 3", "Cell 4"};
    for (int i = 0; i < 4; ++i) combo->ItemsEx()->AddItem(captions[i], i, i, -1, i == 0 ? 0 : 1, nullptr);
    std::vector<int> changes;
    combo->OnChange = [&](TObject*) { changes.push_back(combo->ItemIndex()); };
    form->Show();
    Settle(form->Handle());

    auto click = [&](TPoint screen) {
        EXPECT_TRUE(XMovePointer(screen.x, screen.y));
        Run(50);
        EXPECT_TRUE(XButton(1, true));
        Run(50);
        EXPECT_TRUE(XButton(1, false));
    };
    const TRect button = combo->ButtonRect();
    click(combo->ClientToScreen(TPoint{(button.left + button.right) / 2, (button.top + button.bottom) / 2}));
    ASSERT_TRUE(RunUntil([&] { return combo->GetDroppedDown(); })) << "the button drops the list";
    HWND list = combo->DropDownHandle();
    ASSERT_NE(list, nullptr);
    Run(300);
    const TRect dropped = WindowRect(list);
    EXPECT_EQ(dropped.Width(), 200);
    EXPECT_EQ(dropped.Height(), 4 * combo->GetItemHt() + 2);
    const TRect shown = WindowRect(form->Handle());
    EXPECT_TRUE(ScreenMatchesReferenceNow(TRect{shown.left, shown.top, shown.right, dropped.bottom + 4},
                                          "extctrls_comboex_dropped_dara.png"));

    // The third row, as the list lays its rows out below its border.
    click(TPoint{dropped.left + 60, dropped.top + 1 + 2 * combo->GetItemHt() + combo->GetItemHt() / 2});
    ASSERT_TRUE(RunUntil([&] { return !combo->GetDroppedDown(); })) << "a click chooses and closes";
    Run(100);
    EXPECT_EQ(changes, (std::vector<int>{2})) << "told once, of the chosen item";
    EXPECT_EQ(combo->ItemIndex(), 2);
    EXPECT_EQ(combo->GetText(), "Cell 3");
    ShowAndCompare(*form, "extctrls_comboex_chosen_dara.png");
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("the extended controls' gallery");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
