// Files dropped from other programs: to the window that accepts them, with
// the names and the point kept until DragFinish.

#include "WinsysFixture.h"

namespace tarvel {
namespace {

using DropFiles = WinsysTest;

struct Received {
    HWND hwnd = nullptr;
    std::vector<std::string> files;
    TPoint point;
};

TEST_F(DropFiles, ADropGoesToTheNearestWindowThatAcceptsFiles) {
    std::vector<Received> received;
    Handler take = [&](HWND h, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
        if (m != WM_DROPFILES) return std::nullopt;
        auto drop = reinterpret_cast<HDROP>(w);
        Received r{h, {}, {}};
        for (UINT i = 0; i < DragQueryFile(drop, kDragQueryCount, nullptr, 0); ++i)
            r.files.push_back(DragQueryFileName(drop, i));
        DragQueryPoint(drop, &r.point);
        DragFinish(drop);
        received.push_back(r);
        return 0;
    };
    HWND form = Create(WS_POPUP | WS_VISIBLE, Bounds(100, 100, 300, 200), nullptr, take);
    HWND panel = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 100, 100), form, take);
    HWND list = Create(WS_CHILD | WS_VISIBLE, Bounds(10, 10, 50, 50), panel, take, WS_EX_ACCEPTFILES);
    Create(WS_POPUP | WS_VISIBLE, Bounds(500, 100, 100, 100), nullptr, take);  // accepts nothing
    DragAcceptFiles(form, true);
    const std::vector<std::string> files = {"/tmp/BMS 2018-05-09.csv", "/tmp/数据.kb"};
    const struct {
        const char* what;
        TPoint screen;
        HWND target;  // null: nobody gets it
        TPoint client;
    } cases[] = {
        {"on the accepting child", {125, 125}, list, {5, 5}},
        {"on a child that does not accept", {200, 150}, form, {100, 50}},
        {"on a grandchild's parent", {115, 180}, form, {15, 80}},
        {"on a window that does not accept", {550, 150}, nullptr, {}},
        {"on the desktop", {700, 500}, nullptr, {}},
    };
    for (const auto& c : cases) {
        received.clear();
        backend->DropFiles(c.screen, files);
        Pump();
        if (!c.target) {
            EXPECT_TRUE(received.empty()) << c.what;
            continue;
        }
        ASSERT_EQ(received.size(), 1u) << c.what;
        EXPECT_EQ(received[0].hwnd, c.target) << c.what;
        EXPECT_EQ(received[0].files, files) << c.what;
        EXPECT_EQ(received[0].point, c.client) << c.what;
    }
    DragAcceptFiles(list, false);
    DragAcceptFiles(form, false);
    received.clear();
    backend->DropFiles(TPoint{125, 125}, files);
    Pump();
    EXPECT_TRUE(received.empty());
}

TEST_F(DropFiles, TheHandleAnswersNamesUntilItIsFinished) {
    HDROP drop = nullptr;
    HWND form = Create(WS_POPUP | WS_VISIBLE, Bounds(0, 0, 100, 100), nullptr,
                       [&](HWND, UINT m, WPARAM w, LPARAM) -> std::optional<LRESULT> {
                           if (m == WM_DROPFILES) drop = reinterpret_cast<HDROP>(w);
                           return std::nullopt;
                       });
    DragAcceptFiles(form, true);
    backend->DropFiles(TPoint{5, 5}, {"/a/long-name.csv", "/b"});
    Pump();
    ASSERT_TRUE(drop);
    char buffer[8] = "xxxxxxx";
    const struct {
        UINT index;
        char* buffer;
        UINT size;
        UINT answer;
        const char* copied;  // null: the buffer is not looked at
    } cases[] = {
        {kDragQueryCount, nullptr, 0, 2, nullptr}, {0, nullptr, 0, 16, nullptr},  // the length it needs
        {0, buffer, sizeof buffer, 16, "/a/long"},  // cut to the buffer, null-ended
        {1, buffer, sizeof buffer, 2, "/b"},       {2, buffer, sizeof buffer, 0, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DragQueryFile(drop, c.index, c.buffer, c.size), c.answer) << c.index;
        if (c.copied) {
            EXPECT_STREQ(buffer, c.copied) << c.index;
        }
    }
    EXPECT_EQ(DragQueryFileName(drop, 5), "");
    DragFinish(drop);
    TPoint p;
    EXPECT_FALSE(DragQueryPoint(drop, &p));
    EXPECT_EQ(DragQueryFile(drop, kDragQueryCount, nullptr, 0), 0u);
    EXPECT_EQ(DragQueryFileName(drop, 0), "");
    DragFinish(drop);  // twice: nothing happens
    EXPECT_EQ(DragQueryFile(reinterpret_cast<HDROP>(uintptr_t{0xDEAD}), kDragQueryCount, nullptr, 0), 0u);
}

}  // namespace
}  // namespace tarvel
