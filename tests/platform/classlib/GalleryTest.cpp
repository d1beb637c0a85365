// The gallery on the headless screen, saved as gallery.png in the build
// folder for people to look at.

#include <filesystem>

#include "ControlFixture.h"
#include "GalleryFixture.h"

namespace tarvel {
namespace {

TEST(Gallery, EveryControlShowsAndTheWindowIsSaved) {
    TUiDriver ui(TSize{1024, 768});
    auto* form = new TGalleryForm(Application);
    form->Show();
    ui.RunUntilIdle();
    // Every windowed control of the gallery is up and showing.
    int controls = 0;
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            TControl* c = parent->Controls(i);
            if (!c->Visible()) continue;
            ++controls;
            if (auto* w = dynamic_cast<TWinControl*>(c)) {
                EXPECT_TRUE(w->Showing()) << w->ClassName() << " " << w->Name();
                walk(w);
            }
        }
    };
    walk(form);
    EXPECT_GT(controls, 60);
    const std::string png = (std::filesystem::path(TARVEL_BINARY_DIR) / "gallery.png").string();
    ASSERT_TRUE(ui.SaveScreenshot(form, png));
    EXPECT_GT(std::filesystem::file_size(png), 10000u);
    EXPECT_TRUE(ui.Problems().empty());
}

TEST(Gallery, TheDriverReadsEachControlsOwnStateByName) {
    TUiDriver ui(TSize{1024, 768});
    auto* form = new TGalleryForm(Application);
    form->Show();
    ui.RunUntilIdle();
    const std::pair<const char*, const char*> expected[] = {
        {"CheckBox", "checked"},
        {"Grayed", "unchecked"},
        {"Radio2", "unchecked"},
        {"Gauge0", "progress=35"},
        {"Gauge3", "progress=100"},
        {"ProgressBar", "position=65"},
        {"UpDown", "position=16"},
        {"ScrollBar", "position=30"},
        {"PageControl", "page=Run state"},
        {"Speed1", "down"},
        {"Speed0", ""},
        {"Shape0", "brush=clLime"},
        {"DatePicker", "value=2026-12-10 14:05:30"},
        {"MonthCalendar", "date=2026-12-14"},
        {"Edit", ""},
    };
    for (auto [name, state] : expected) EXPECT_EQ(ui.State(ui.Find(form, name)), state) << name;
    EXPECT_EQ(ui.Text(ui.Find(form, "TimePicker")), "14:05:30");
    ui.PickItem(ui.Find(form, "PageControl"), "History");
    ui.Click(ui.Find(form, "Grayed"));
    EXPECT_EQ(ui.State(ui.Find(form, "PageControl")), "page=History");
    EXPECT_EQ(ui.State(ui.Find(form, "Grayed")), "checked");
    EXPECT_NE(ui.Dump(form).find("TCheckBox Grayed \"Protect OFF\" (150,8 130x17) visible focused checked\n"),
              String::npos)
        << ui.Dump(form);
}

TEST(Gallery, EveryControlPaintsAtTinySizes) {
    TUiDriver ui(TSize{1024, 768});
    auto* form = new TGalleryForm(Application);
    form->Show();
    ui.RunUntilIdle();
    std::vector<TControl*> all;
    std::function<void(TWinControl*)> walk = [&](TWinControl* parent) {
        for (int i = 0; i < parent->ControlCount(); ++i) {
            all.push_back(parent->Controls(i));
            if (auto* w = dynamic_cast<TWinControl*>(parent->Controls(i))) walk(w);
        }
    };
    walk(form);
    for (TSize size : {TSize{0, 0}, TSize{1, 1}, TSize{7, 3}, TSize{3, 40}}) {
        for (TControl* c : all) c->SetBounds(c->Left(), c->Top(), size.cx, size.cy);
        form->Invalidate();
        ui.RunUntilIdle();
    }
    EXPECT_TRUE(ui.Problems().empty());
}

}  // namespace
}  // namespace tarvel
