// The fixed system answers: metrics, parameters, the monitor, cursors, the
// clipboard.

#include "WinsysFixture.h"
#include "platform/base/Ticks.h"

namespace tarvel {
namespace {

using SystemTests = WinsysTest;

TEST_F(SystemTests, MetricsTheSkinnedControlsAskFor) {
    struct Case {
        int index;
        int value;
    } cases[] = {
        {SM_CYVTHUMB, 16},    {SM_CXSMICON, 16}, {SM_CYSMICON, 16},     {SM_CXSIZE, 18},
        {SM_CYSIZE, 18},      {SM_CMONITORS, 1}, {SM_CXFRAME, 4},       {SM_CYCAPTION, 19},
        {SM_CYSMCAPTION, 15}, {SM_CYMENU, 19},   {SM_CXMINIMIZED, 160}, {SM_CXSCREEN, 800},
        {SM_CYSCREEN, 600},   {9999, 0},
    };
    for (const Case& c : cases) EXPECT_EQ(GetSystemMetrics(c.index), c.value) << c.index;
}

TEST_F(SystemTests, ParametersAndTheWorkArea) {
    int delay = -1, speed = -1, full = -1;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDDELAY, 0, &delay, 0));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETKEYBOARDSPEED, 0, &speed, 0));
    ASSERT_TRUE(SystemParametersInfo(SPI_GETDRAGFULLWINDOWS, 0, &full, 0));
    EXPECT_TRUE(delay >= 0 && delay <= 3);
    EXPECT_TRUE(speed >= 0 && speed <= 31);
    EXPECT_EQ(full, 1);
    TRect work;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETWORKAREA, 0, &work, 0));
    EXPECT_EQ(work, backend->WorkArea());
    EXPECT_FALSE(SystemParametersInfo(0x7777, 0, &full, 0));
    EXPECT_FALSE(SystemParametersInfo(SPI_GETWORKAREA, 0, nullptr, 0));

    NONCLIENTMETRICSW ncm;
    ASSERT_TRUE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
    EXPECT_EQ(ncm.lfCaptionFont.lfWeight, FW_BOLD);
    EXPECT_EQ(ncm.lfMenuFont.lfHeight, -11);
    EXPECT_EQ(std::u16string(ncm.lfMenuFont.lfFaceName), u"Tahoma");
    ncm.cbSize = 4;
    EXPECT_FALSE(SystemParametersInfo(SPI_GETNONCLIENTMETRICS, 0, &ncm, 0));
}

TEST_F(SystemTests, OneMonitorIsTheScreen) {
    HWND h = Create(WS_POPUP, Bounds(10, 10, 50, 50));
    HMONITOR m = MonitorFromWindow(h, MONITOR_DEFAULTTONEAREST);
    ASSERT_TRUE(m);
    EXPECT_EQ(MonitorFromPoint(TPoint{5000, 5000}, MONITOR_DEFAULTTONEAREST), m);
    EXPECT_EQ(MonitorFromPoint(TPoint{5000, 5000}, MONITOR_DEFAULTTONULL), nullptr);
    EXPECT_EQ(MonitorFromRect(Rect(0, 0, 10, 10), MONITOR_DEFAULTTONULL), m);
    MONITORINFO info;
    ASSERT_TRUE(GetMonitorInfo(m, &info));
    EXPECT_EQ(info.rcMonitor, Rect(0, 0, 800, 600));
    EXPECT_EQ(info.rcWork, backend->WorkArea());
    EXPECT_EQ(info.dwFlags, MONITORINFOF_PRIMARY);
    info.cbSize = 8;
    EXPECT_FALSE(GetMonitorInfo(m, &info));
}

TEST_F(SystemTests, CursorsAreStandardShapes) {
    HCURSOR sizeNs = LoadCursor(IDC_SIZENS);
    ASSERT_TRUE(sizeNs);
    EXPECT_EQ(LoadCursor(12345), nullptr);
    HCURSOR before = SetCursor(sizeNs);
    EXPECT_EQ(CursorShape(before), IDC_ARROW);
    EXPECT_EQ(GetCursor(), sizeNs);
    EXPECT_EQ(backend->CursorShape(), IDC_SIZENS);
}

TEST_F(SystemTests, TheClipboardHoldsText) {
    EXPECT_EQ(GetClipboardText(), "");
    EXPECT_TRUE(SetClipboardText("Zelle 1\t3.301 V"));
    EXPECT_EQ(GetClipboardText(), "Zelle 1\t3.301 V");
}

// A bitmap and text replace each other, whichever comes last.
TEST_F(SystemTests, ABitmapOnTheClipboardAndTextReplaceEachOther) {
    const std::vector<uint8_t> dib{40, 0, 0, 0, 1, 2, 3};
    auto holds = [](bool text, bool bitmap) {
        EXPECT_EQ(IsClipboardFormatAvailable(CF_TEXT), text);
        EXPECT_EQ(IsClipboardFormatAvailable(CF_UNICODETEXT), text);
        EXPECT_EQ(IsClipboardFormatAvailable(CF_DIB), bitmap);
        EXPECT_EQ(IsClipboardFormatAvailable(CF_BITMAP), bitmap);
    };
    holds(false, false);
    ASSERT_TRUE(SetClipboardText("3.301 V"));
    ASSERT_TRUE(SetClipboardDib(dib));
    holds(false, true);
    EXPECT_EQ(GetClipboardText(), "");
    EXPECT_EQ(GetClipboardDib(), dib);

    ASSERT_TRUE(SetClipboardText("4.2 V"));
    holds(true, false);
    EXPECT_TRUE(GetClipboardDib().empty());

    ASSERT_TRUE(SetClipboardDib(dib));
    backend->SetClipboardText("from another program");
    holds(true, false);
    EXPECT_TRUE(GetClipboardDib().empty());

    EXPECT_FALSE(SetClipboardDib({}));
    EXPECT_FALSE(IsClipboardFormatAvailable(0));
}

TEST_F(SystemTests, GetTickCountFollowsTheTestClock) {
    uint32_t t = GetTickCount();
    backend->AdvanceClock(500);
    EXPECT_EQ(GetTickCount() - t, 500u);
}

}  // namespace
}  // namespace tarvel
