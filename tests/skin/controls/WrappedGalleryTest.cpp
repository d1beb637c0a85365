// A picture of the wrapped controls in the flat theme, saved under the
// build folder for people to look at: a grid of 20 x 30 cells, a coloured
// log, a tree of modules and a report of cells, all with skinned scroll
// bars.

#include <filesystem>

#include "WrappedControlFixture.h"
#include "skin/controls/te_controls_grids.h"
#include "skin/controls/te_controls_views.h"
#include "skin/themes/theme_flat.h"

namespace tarvel {
namespace {

class WrappedGalleryTest : public testing::WrappedControlTest {};

TEST_F(WrappedGalleryTest, TheWrappedControlsInTheFlatThemeAreSavedAsAPicture) {
    InitThemeFlat();
    ChangeTheme("Flat");
    ASSERT_NE(CurrentTheme, nullptr);
    form_->SetBounds(40, 40, 640, 420);
    form_->SetColor(clBtnFace);
    auto* grid = Make<TTeStringGrid>(10, 10);
    grid->SetBounds(10, 10, 400, 240);
    grid->SetColCount(20);
    grid->SetRowCount(30);
    for (int c = 0; c < 20; ++c)
        for (int r = 0; r < 30; ++r)
            grid->SetCells(c, r,
                           r == 0   ? "Col " + IntToStr(c)
                           : c == 0 ? "Row " + IntToStr(r)
                                    : IntToStr(r * c));
    grid->SetCol(2);
    grid->SetRow(3);
    TTeRichEdit* log = ColouredLog(TRect{10, 260, 410, 380}, 20);
    auto* tree = Make<TTeTreeView>(420, 10);
    tree->SetBounds(420, 10, 200, 170);
    for (int m = 1; m <= 4; ++m) {
        TTreeNode* module = tree->Items()->Add(nullptr, "Module " + IntToStr(m));
        for (int c = 1; c <= 4; ++c) tree->Items()->AddChild(module, "Cell " + IntToStr(c));
    }
    tree->FullExpand();
    auto* report = Make<TTeListView>(420, 190);
    report->SetBounds(420, 190, 200, 190);
    report->SetViewStyle(vsReport);
    for (const char* caption : {"Cell", "Voltage", "Temperature"}) {
        TListColumn* column = report->Columns()->Add();
        column->SetCaption(caption);
        column->SetWidth(80);
    }
    for (int i = 1; i <= 20; ++i) {
        TListItem* item = report->Items()->Add();
        item->SetCaption("Cell " + IntToStr(i));
        item->SubItems()->Add(IntToStr(3300 + i) + " mV");
        item->SubItems()->Add(IntToStr(25 + i % 3) + " C");
    }
    ui_.RunUntilIdle();
    EXPECT_TRUE(tree->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(report->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(report->SubScrollBar()->HorzBar()->Visible());
    EXPECT_TRUE(grid->SubScrollBar()->VertBar()->Visible());
    EXPECT_TRUE(grid->SubScrollBar()->HorzBar()->Visible());
    EXPECT_TRUE(log->SubScrollBar()->VertBar()->Visible());
    const std::filesystem::path folder = std::filesystem::path(TARVEL_BINARY_DIR) / "gallery";
    std::filesystem::create_directories(folder);
    const std::filesystem::path file = folder / "gallery_wrapped_flat.png";
    EXPECT_TRUE(ui_.SaveScreenshot(form_, file.string())) << file;
    EXPECT_GT(std::filesystem::file_size(file), 0u);
}

}  // namespace
}  // namespace tarvel
