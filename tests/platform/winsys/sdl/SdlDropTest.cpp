// Files dropped on an SDL window arrive together as one WM_DROPFILES.

#include "tests/platform/winsys/sdl/SdlFixture.h"

namespace tarvel {
namespace {

class SdlDrop : public SdlTest {
protected:
    void SetUp() override {
        SdlTest::SetUp();
        if (HasFatalFailure()) return;
        tree.Build(*probe);
        PumpFor(50);
        probe->log.clear();
    }
    void PushDrop(Uint32 type, const char* file = nullptr) {
        SDL_Event ev{};
        ev.type = type;
        ev.drop.windowID = IdOf(tree.form);
        ev.drop.file = file ? SDL_strdup(file) : nullptr;  // the backend frees it, as SDL's own
        SDL_PushEvent(&ev);
    }
    WindowTree tree;
};

TEST_F(SdlDrop, TheFilesOfOneDropComeTogether) {
    DragAcceptFiles(tree.form, true);
    PushDrop(SDL_DROPBEGIN);
    PushDrop(SDL_DROPFILE, "/tmp/a.csv");
    PushDrop(SDL_DROPTEXT, "not a file");
    PushDrop(SDL_DROPFILE, "/tmp/数据.kb");
    PushDrop(SDL_DROPCOMPLETE);
    ASSERT_TRUE(PumpUntil([&] { return Got(tree.form, WM_DROPFILES); }));
    auto drop = reinterpret_cast<HDROP>(probe->Last(tree.form, WM_DROPFILES)->wParam);
    ASSERT_EQ(DragQueryFile(drop, kDragQueryCount, nullptr, 0), 2u);
    EXPECT_EQ(DragQueryFileName(drop, 0), "/tmp/a.csv");
    EXPECT_EQ(DragQueryFileName(drop, 1), "/tmp/数据.kb");
    DragFinish(drop);
    EXPECT_EQ(probe->Messages(nullptr, {WM_DROPFILES}).size(), 1u);

    // A window that accepts nothing gets nothing.
    DragAcceptFiles(tree.form, false);
    probe->log.clear();
    PushDrop(SDL_DROPFILE, "/tmp/b.csv");  // without a begin: one file, at once
    PumpFor(100);
    EXPECT_TRUE(probe->Messages(nullptr, {WM_DROPFILES}).empty());
}

}  // namespace
}  // namespace tarvel
