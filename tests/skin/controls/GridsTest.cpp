// The skinned grids: the theme's grid colour and cell items, the cell
// states the theme is asked for, and the grid as the tool uses it.

#include <algorithm>
#include <filesystem>

#include "WrappedControlFixture.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_label.h"
#include "skin/controls/te_controls_panel.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

// Form data ends with Loaded; this grid lets a test end it.
class TLoadedGrid : public TTeStringGrid {
public:
    using TTeStringGrid::Loaded;
    using TTeStringGrid::TTeStringGrid;
};

class GridsTest : public testing::WrappedControlTest {
protected:
    template <class G = TTeStringGrid>
    G* SmallGrid() {
        auto* grid = Make<G>(10, 10);
        grid->SetBounds(10, 10, 300, 150);
        grid->SetColCount(4);
        grid->SetRowCount(4);
        grid->SetDefaultColWidth(60);
        for (int c = 0; c < 4; ++c)
            for (int r = 0; r < 4; ++r) grid->SetCells(c, r, "R" + IntToStr(r) + "C" + IntToStr(c));
        ui_.RunUntilIdle();
        return grid;
    }
};

TEST_F(GridsTest, ALinkedGridTakesTheThemeLookAtLoadAndDrawsInsetText) {
    testing::TWrappedRecordingTheme* theme = UseWrappedTheme();
    auto* grid = SmallGrid<TLoadedGrid>();
    grid->SetColor(clRed);
    grid->SetDefaultDrawing(true);
    grid->Loaded();
    EXPECT_EQ(grid->Color(), testing::TWrappedRecordingTheme::kGridColor);
    EXPECT_FALSE(grid->DefaultDrawing());

    std::vector<TRect> handed;
    grid->OnDrawCell = [&](TObject*, int col, int row, TRect r, TGridDrawState) {
        if (col == 2 && row == 1) handed.push_back(r);
    };
    RepaintRecorded(theme, grid);
    const TRect cell = grid->CellRect(2, 1);
    const TRect inset{cell.left + 2, cell.top + 2, cell.right - 2, cell.bottom - 2};
    bool drawn = false;
    for (const testing::TThemeCall& c : theme->CallsOf("GridDrawText"))
        if (c.text == u"R1C2") {
            drawn = true;
            EXPECT_EQ(c.rect, inset);
        }
    EXPECT_TRUE(drawn);
    ASSERT_FALSE(handed.empty());
    EXPECT_EQ(handed.back(), inset);
    // Fixed cells are asked for as fixed items, the others as normal ones.
    const TRect fixedCell = grid->CellRect(0, 2);
    bool fixedAsked = false;
    for (const testing::TThemeCall& c : theme->CallsOf("GridDrawItem"))
        if (c.rect == fixedCell) fixedAsked = c.state % 10 == kgicFixed;
    EXPECT_TRUE(fixedAsked);
}

TEST_F(GridsTest, SelectedCellsAreAskedForInTheStateTheOptionsGive) {
    struct Case {
        const char* what;
        TGridOptions extra;
        bool enabled;
        TteGridItemDrawState current, selected, sameRowUnselected;
    } cases[] = {
        {"plain", {}, true, kgidsFocused, kgidsHot, kgidsNormal},
        {"focus drawn selected", {goDrawFocusSelected}, true, kgidsFocused, kgidsFocused, kgidsNormal},
        {"row select", {goRowSelect}, true, kgidsFocused, kgidsFocused, kgidsFocused},
        {"disabled", {}, false, kgidsDisabled, kgidsDisabled, kgidsDisabled},
    };
    for (const Case& c : cases) {
        testing::TWrappedRecordingTheme* theme = UseWrappedTheme();
        TTeStringGrid* grid = SmallGrid();
        TGridOptions options = grid->Options();
        for (TGridOption o : {goDrawFocusSelected, goRowSelect})
            if (c.extra.Contains(o)) options.Include(o);
        grid->SetOptions(options);
        grid->SetEnabled(c.enabled);
        grid->SetFocus();
        grid->SetSelection(TGridRect{1, 1, 2, 1});
        RepaintRecorded(theme, grid);
        auto stateOf = [&](int col, int row) {
            int state = -1;
            for (const testing::TThemeCall& call : theme->CallsOf("GridDrawItem"))
                if (call.rect == grid->CellRect(col, row)) state = call.state / 10;
            return state;
        };
        // The selection ends at the current cell.
        EXPECT_EQ(stateOf(2, 1), c.current) << c.what;
        EXPECT_EQ(stateOf(1, 1), c.selected) << c.what;
        EXPECT_EQ(stateOf(3, 1), c.sameRowUnselected) << c.what;
        EXPECT_EQ(stateOf(2, 2), c.enabled ? kgidsNormal : kgidsDisabled) << c.what;
        delete grid;
    }
}

TEST_F(GridsTest, ADrawGridTakesTheThemesCellsAndLeavesTheirContentToItsHandler) {
    testing::TWrappedRecordingTheme* theme = UseWrappedTheme();
    auto* grid = Make<TTeDrawGrid>(10, 10);
    grid->SetBounds(10, 10, 300, 150);
    grid->SetColCount(3);
    grid->SetRowCount(3);
    std::vector<std::pair<int, int>> drawn;
    grid->OnDrawCell = [&](TObject*, int col, int row, TRect, TGridDrawState) {
        drawn.emplace_back(col, row);
    };
    RepaintRecorded(theme, grid);
    EXPECT_TRUE(theme->CallsOf("GridDrawText").empty()) << "a draw grid has no texts of its own";
    for (int col = 0; col < 3; ++col)
        for (int row = 0; row < 3; ++row) {
            bool asked = false;
            for (const testing::TThemeCall& c : theme->CallsOf("GridDrawItem"))
                asked = asked || c.rect == grid->CellRect(col, row);
            EXPECT_TRUE(asked) << col << "," << row;
            EXPECT_NE(std::find(drawn.begin(), drawn.end(), std::make_pair(col, row)), drawn.end())
                << col << "," << row;
        }
}

TEST_F(GridsTest, ReleasingTheThemeGivesTheNativeDrawingBack) {
    UseWrappedTheme();
    TTeStringGrid* grid = SmallGrid();
    ASSERT_FALSE(grid->DefaultDrawing());
    ReleaseTheme();
    ui_.RunUntilIdle();
    EXPECT_TRUE(grid->DefaultDrawing());
    EXPECT_EQ(grid->Color(), clWindow);
    // The native drawing paints the selected current cell in the highlight colour.
    grid->SetFocus();
    grid->SetOptions(grid->Options() + TGridOptions{goDrawFocusSelected});
    const TRect cell = grid->CellRect(2, 2);
    grid->SetCol(2);
    grid->SetRow(2);
    const uint32_t bgr = ColorToRGB(clHighlight);
    const uint32_t rgb = ((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF);
    EXPECT_EQ(ShownAt(grid, cell.left + 1, cell.bottom - 2), rgb);
}

// The tool's forms let only some columns be edited: they switch goEditing
// as the user moves from cell to cell.
TEST_F(GridsTest, EditingSwitchedOnPerCellReachesTheCellsThroughTheInplaceEditor) {
    UseWrappedTheme();
    TTeStringGrid* grid = SmallGrid();
    grid->OnSelectCell = [&](TObject*, int col, int, bool&) {
        TGridOptions o = grid->Options();
        if (col == 2)
            o.Include(goEditing);
        else
            o.Exclude(goEditing);
        grid->SetOptions(o);
    };
    struct Case {
        int col, row;
        const char* typed;
        const char* expected;
    } cases[] = {
        {2, 1, "42", "42"},
        {1, 1, "7", "R1C1"},
        {2, 3, "3.5", "3.5"},
        {3, 3, "x", "R3C3"},
    };
    for (const Case& c : cases) {
        ui_.SelectCell(grid, c.col, c.row);
        ui_.Type(c.typed);
        ui_.PressKey(VK_RETURN);
        EXPECT_EQ(ui_.CellText(grid, c.col, c.row), c.expected) << c.col << "," << c.row;
        EXPECT_EQ(grid->Options().Contains(goEditing), c.col == 2);
    }
}

// The frame is see-through: a skinned panel's face shows through it, its
// own red never does, and its label still draws on top.
TEST_F(GridsTest, AFrameShowsThePanelBehindItAndNeverItsOwnColour) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    auto* panel = Make<TTePanel>(10, 10);
    panel->SetBounds(10, 10, 220, 160);
    panel->SetCaption("Behind");
    std::vector<uint32_t> behind;
    const TPoint probes[] = {{25, 25}, {110, 80}, {200, 140}, {30, 150}};
    for (TPoint p : probes) behind.push_back(ShownAt(panel, p.x, p.y));
    auto* frame = new TTeFrame(form_);
    frame->SetParent(panel);
    frame->SetBounds(20, 20, 190, 135);
    frame->SetColor(clRed);
    auto* label = new TTeLabel(form_);
    label->SetParent(frame);
    label->SetBounds(4, 100, 80, 17);
    label->SetCaption(u"In the frame");
    for (size_t i = 0; i < std::size(probes); ++i)
        EXPECT_EQ(ShownAt(panel, probes[i].x, probes[i].y), behind[i]) << i;
    ui_.RunUntilIdle();
    const auto screen = ui_.Backend().ScreenPixels();
    const TPoint origin = frame->ClientToScreen(TPoint{0, 0});
    bool red = false, ink = false;
    for (int y = 0; y < frame->Height(); ++y)
        for (int x = 0; x < frame->Width(); ++x) {
            const uint32_t px = screen->Pixel(origin.x + x, origin.y + y) & 0xFFFFFF;
            red = red || px == 0xFF0000;
            ink = ink || (y >= 100 && y < 117 && x < 84 && (px & 0xFFFFFF) < 0x404040);
        }
    EXPECT_FALSE(red) << "the frame's own colour is never painted";
    EXPECT_TRUE(ink) << "its label draws over the background";
    const auto folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    EXPECT_TRUE(ui_.SaveScreenshot(form_, (folder / "frame_on_panel_flat.png").string()));
}

}  // namespace
}  // namespace tarvel
