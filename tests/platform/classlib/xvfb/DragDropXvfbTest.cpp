// A list box line dragged onto a panel through real input on an Xvfb of its
// own: the press, a move past the drag distance, the panel, the release. The
// form mid-drag, with the cursor the server shows drawn in at the pointer,
// is saved as screenshots/dragdrop_sdl.png in the build folder.

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>

#include "platform/base/Ticks.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/ExtCtrls.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls_ListBox.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/Backend.h"
#include "platform/winsys/sdl/SdlBackend.h"
#include "tests/platform/winsys/sdl/xvfb/XServerFixture.h"

namespace tarvel {
namespace {

void RunFor(DWORD ms) {
    const DWORD start = GetTickCount();
    do Application->ProcessMessages();
    while (GetTickCount() - start < ms);
}

// Moves the server's pointer in steps of a few pixels, as a hand does.
void Glide(TPoint from, TPoint to) {
    const int steps = std::max(std::abs(to.x - from.x), std::abs(to.y - from.y)) / 6 + 1;
    for (int i = 1; i <= steps; ++i) {
        EXPECT_TRUE(XMovePointer(from.x + (to.x - from.x) * i / steps, from.y + (to.y - from.y) * i / steps));
        RunFor(15);
    }
}

// The cursor's opaque pixels drawn over the window's, its hot spot at `at`
// (a window point).
void DrawCursor(Surface& window, const XCursorPicture& cursor, TPoint at) {
    for (int y = 0; y < cursor.height; ++y)
        for (int x = 0; x < cursor.width; ++x) {
            const uint32_t argb = cursor.pixels[static_cast<size_t>(y) * cursor.width + x];
            const int wx = at.x - cursor.xhot + x, wy = at.y - cursor.yhot + y;
            if ((argb >> 24) < 0x80 || wx < 0 || wy < 0 || wx >= window.Width() || wy >= window.Height())
                continue;
            window.SetPixel(wx, wy, argb | 0xFF000000u);
        }
}

int OpaquePixels(const XCursorPicture& cursor) {
    return static_cast<int>(std::count_if(cursor.pixels.begin(), cursor.pixels.end(),
                                          [](uint32_t p) { return (p >> 24) >= 0x80; }));
}

TEST(DragDropOnX11, ALineDraggedOntoAPanelDropsThereWithItsSourceAndPoint) {
    std::string error;
    auto backend = SdlBackend::Open("x11", &error);
    ASSERT_TRUE(backend) << error;
    SdlBackend* sdl = backend.get();
    InitWindowSystem(std::move(backend));
    {
        TApplication app(nullptr);
        auto* form = new TForm(Application);
        form->SetBounds(40, 40, 420, 240);
        form->SetColor(clWhite);
        auto* list = new TListBox(form);
        list->SetParent(form);
        list->SetBounds(20, 20, 140, 180);
        for (const char* line : {"Cell 1", "Cell 2", "Cell 3"}) list->Items()->Add(line);
        list->SetDragMode(dmAutomatic);
        auto* panel = new TPanel(form);
        panel->SetParent(form);
        panel->SetBounds(220, 20, 170, 180);
        panel->SetCaption("Drop here");
        int over = 0, drops = 0, ends = 0;
        TObject* dropSource = nullptr;
        TObject* endTarget = nullptr;
        TPoint dropAt{-1, -1};
        panel->OnDragOver = [&](TObject*, TObject* source, int, int, TDragState, bool& accept) {
            ++over;
            accept = source == list;
        };
        panel->OnDragDrop = [&](TObject*, TObject* source, int x, int y) {
            ++drops;
            dropSource = source;
            dropAt = TPoint{x, y};
        };
        list->OnEndDrag = [&](TObject*, TObject* target, int, int) {
            ++ends;
            endTarget = target;
        };
        form->Show();
        const DWORD start = GetTickCount();
        while (!sdl->WindowPixels(form->Handle()) && GetTickCount() - start < 5000)
            Application->ProcessMessages();
        RunFor(300);

        XCursorPicture before;
        const TPoint from = list->ClientToScreen(TPoint{30, 6});
        ASSERT_TRUE(XMovePointer(from.x, from.y));
        RunFor(50);
        const bool cursorSeen = XCurrentCursor(before);
        ASSERT_TRUE(XButton(1, true));
        RunFor(50);
        // Short of the drag distance nothing starts.
        ASSERT_TRUE(XMovePointer(from.x + 3, from.y));
        RunFor(50);
        EXPECT_EQ(list->DragObject(), nullptr);
        const TPoint to = panel->ClientToScreen(TPoint{70, 90});
        Glide(TPoint{from.x + 3, from.y}, to);
        RunFor(100);
        EXPECT_NE(list->DragObject(), nullptr);
        EXPECT_GT(over, 0);

        // The picture mid-drag, with the cursor drawn in where the pointer is.
        XCursorPicture during;
        std::unique_ptr<Surface> shot = sdl->WindowPixels(form->Handle());
        ASSERT_TRUE(shot);
        if (cursorSeen && XCurrentCursor(during)) {
            EXPECT_GT(OpaquePixels(during), 0);
            const TRect w = WindowRect(form->Handle());
            DrawCursor(*shot, during, TPoint{to.x - w.left, to.y - w.top});
        } else {
            std::printf("The server's cursor could not be read: the picture is without it.\n");
        }
        const std::string dir = std::string(TARVEL_BINARY_DIR) + "/screenshots";
        mkdir(dir.c_str(), 0755);
        EXPECT_TRUE(WritePng(*shot, (dir + "/dragdrop_sdl.png").c_str()));

        // Off the panel, over the form that takes nothing, the cursor says no.
        const TPoint off = form->ClientToScreen(TPoint{190, 120});
        Glide(to, off);
        RunFor(50);
        XCursorPicture refused;
        if (cursorSeen && XCurrentCursor(refused))
            EXPECT_NE(refused.pixels, during.pixels) << "the no-drop cursor differs from the drag cursor";
        Glide(off, to);
        ASSERT_TRUE(XButton(1, false));
        RunFor(150);

        EXPECT_EQ(drops, 1);
        EXPECT_EQ(dropSource, list);
        EXPECT_EQ(dropAt, (TPoint{70, 90}));
        EXPECT_EQ(ends, 1);
        EXPECT_EQ(endTarget, panel);
        EXPECT_FALSE(list->Dragging());
        delete form;
    }
    ShutdownWindowSystem();
}

}  // namespace
}  // namespace tarvel

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
    return tarvel::RunTestsOnXvfb("drag and drop");
}

// SDL's D-Bus connection keeps a buffer for the life of the process.
extern "C" const char* __lsan_default_suppressions() { return "leak:libdbus-1.so\n"; }
