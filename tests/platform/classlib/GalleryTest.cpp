// The gallery on the headless screen, saved as gallery.png in the build
// folder for people to look at.

#include <filesystem>

#include "ControlFixture.h"
#include "GalleryForm.h"

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

}  // namespace
}  // namespace tarvel
