// Every caption of the main window shows whole: each page of each view, in
// both modes and both variants, at 1024x768 and at the window's own size,
// measured in the fonts the X server's screen draws them in. The grid
// titles of the two history pages show whole before anything is downloaded.

#include <sstream>

#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_group.h"
#include "skin/controls/te_controls_label.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

class CaptionsOnX11 : public ToolOnX11 {
protected:
    struct Setting {
        bool parallel;
        bool engineering;
        const char* variant;  // the menu item that picks it
    };

    void Apply(const Setting& s) {
        TMainForm* form = MainForm;
        form->VariantClick(form->FindComponent(s.variant));
        if (s.parallel != (form->MultiModuleMode != 0)) {
            form->MultiModuleMode = s.parallel ? 1 : 0;
            if (s.parallel)
                form->ShowParallelParameterView();
            else
                form->ShowSingleView();
        }
        form->EngineeringEdition = s.engineering ? 1 : 0;
        if (s.engineering)
            form->ShowEngineeringView();
        else if (s.parallel)
            form->ShowParallelUserView();
        else
            form->ShowSingleUserView();
    }

    // Whether the control and every parent up to the page show.
    static bool Showing(TControl* control, TControl* page) {
        for (TControl* c = control; c && c != page; c = c->Parent())
            if (!c->Visible()) return false;
        return true;
    }

    // Where the caption is drawn in the control's client area, or an empty
    // rectangle for a control without one.
    static TRect CaptionArea(TControl* control, int& room) {
        const String caption = control->Caption();
        room = control->ClientWidth();
        if (caption.empty()) return {};
        if (auto* check = dynamic_cast<TTeCustomCheck*>(control)) return check->GetTextRect();
        if (auto* group = dynamic_cast<TTeGroupBox*>(control)) {
            room = group->Width() - 4;  // within the frame's right edge
            return group->GetCaptionRect();
        }
        if (auto* button = dynamic_cast<TTeButton*>(control)) {
            // Centred in the caption's area, in the font the last paint chose.
            const TRect area = button->GetCaptionRect();
            const int width = button->Canvas()->TextWidth(caption);
            const int left = area.left + (area.Width() - width) / 2;
            room = area.right;
            return TRect{std::max(left, area.left), 0, std::max(left, area.left) + width, control->Height()};
        }
        if (auto* label = dynamic_cast<TTeLabel*>(control))
            return TRect{0, 0, label->Canvas()->TextWidth(caption), control->Height()};
        return {};
    }

    // Each caption on the page within its control and its control within
    // its parent, except where the parent scrolls to it.
    void ExpectWholeCaptions(TWinControl* root, TControl* page, std::ostream& cut) {
        for (int i = 0; i < root->ControlCount(); ++i) {
            TControl* control = root->Controls(i);
            if (!Showing(control, page)) continue;
            int room = 0;
            const TRect text = CaptionArea(control, room);
            if (!text.IsEmpty()) {
                const bool scrolled =
                    std::find(MainForm->ScrolledPanels.begin(), MainForm->ScrolledPanels.end(), root) !=
                    MainForm->ScrolledPanels.end();
                const int shownRight = control->Left() + text.right;
                if (text.right > room || (!scrolled && shownRight > root->ClientWidth()))
                    cut << " " << control->Name() << " \"" << control->Caption() << "\" (" << text.right
                        << " of " << room << ", " << shownRight << " of " << root->ClientWidth() << ")";
            }
            if (auto* inner = dynamic_cast<TWinControl*>(control)) ExpectWholeCaptions(inner, page, cut);
        }
    }

    static void ExpectWholeTitles(TStringGrid* grid, std::ostream& cut) {
        for (int col = 0; col < grid->ColCount(); ++col) {
            const String title = grid->Cells(col, 0);
            if (grid->Canvas()->TextWidth(title) > grid->ColWidths(col) - 4)
                cut << " " << grid->Name() << "[" << col << "] \"" << title << "\"";
        }
    }

    // The pages the view shows, each made active and painted in turn.
    void Walk(const std::string& where) {
        TTePageControl* pages = MainForm->PC_All;
        for (int i = 0; i < pages->GetPageCount(); ++i) {
            TTeTabSheet* page = pages->GetPage(i);
            if (!page->PageVisible()) continue;
            pages->SetActivePage(page);
            Settle(MainForm->Handle(), 0);
            std::ostringstream cut;
            ExpectWholeCaptions(page, page, cut);
            for (TStringGrid* grid : {MainForm->SG_HisAlarm, MainForm->RunState})
                if (Showing(grid, page) && grid->Parent() && page->ContainsControl(grid))
                    ExpectWholeTitles(grid, cut);
            EXPECT_TRUE(cut.str().empty()) << where << ", " << page->Name() << ":" << cut.str();
        }
    }
};

TEST_F(CaptionsOnX11, EveryCaptionShowsWholeInEveryViewModeVariantAndSize) {
    StartTool();
    const TRect own = MainForm->BoundsRect();
    const Setting settings[] = {
        {false, false, "CustomItem3"}, {false, true, "CustomItem3"},  {true, false, "CustomItem3"},
        {true, true, "CustomItem3"},   {true, true, "CustomItem2"},   {true, false, "CustomItem2"},
        {false, true, "CustomItem2"},  {false, false, "CustomItem2"},
    };
    for (const Setting& s : settings) {
        Apply(s);
        for (const bool small : {false, true}) {
            if (small)
                MainForm->SetBounds(0, 0, 1024, 768);
            else
                MainForm->SetBounds(own.left, own.top, own.Width(), own.Height());
            std::ostringstream where;
            where << (s.parallel ? "parallel" : "single") << ", " << (s.engineering ? "engineering" : "user")
                  << ", " << s.variant << ", " << MainForm->Width() << "x" << MainForm->Height();
            Walk(where.str());
        }
    }
}

// The history pages as they first show, nothing downloaded: each title whole.
TEST_F(CaptionsOnX11, TheHistoryTitlesShowWholeBeforeADownload) {
    StartTool();
    for (TTeTabSheet* page : {MainForm->TS_HisAlarm, MainForm->TeTabSheet2}) {
        MainForm->PC_All->SetActivePage(page);
        Settle(MainForm->Handle());
        EXPECT_TRUE(Save(MainForm, "tool-" + page->Name() + "-before-download.png"));
    }
    std::ostringstream cut;
    ExpectWholeTitles(MainForm->SG_HisAlarm, cut);
    ExpectWholeTitles(MainForm->RunState, cut);
    EXPECT_TRUE(cut.str().empty()) << cut.str();
}

// The engineering view's log page: each log under its title.
TEST_F(CaptionsOnX11, TheTwoLogsCarryTheirTitles) {
    StartTool();
    MainForm->EngineeringEdition = 1;
    MainForm->ShowEngineeringView();
    MainForm->PC_All->SetActivePage(MainForm->TS_Info);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "tool-log-page.png"));
    for (auto [group, title] :
         {std::pair{MainForm->GB_Info, "信息"}, std::pair{MainForm->GB_CommData, "通信数据"}}) {
        EXPECT_EQ(group->Caption(), String(title));
        TControl* log = group->Controls(0);
        EXPECT_GE(log->Top(), group->GetCaptionRect().bottom) << group->Name();
    }
}

}  // namespace
}  // namespace tarvel
