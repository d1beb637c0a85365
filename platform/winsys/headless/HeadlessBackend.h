#pragma once
// The in-memory display: top-level windows keep their pixels in memory, time
// is a test clock, and tests hand in mouse and key input at screen points.
// The default backend of the tests.

#include <atomic>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <utility>
#include <vector>

#include "platform/winsys/Backend.h"
#include "platform/winsys/DragDrop.h"

namespace tarvel {

class HeadlessBackend : public DisplayBackend {
public:
    // The clock starts at `startTicks`; GetTickCount follows it while the
    // backend lives.
    explicit HeadlessBackend(TSize screen = TSize{1024, 768}, uint32_t startTicks = 1000);
    ~HeadlessBackend() override;

    // ---- the test clock ----
    // Time passes only here, and while the GUI thread waits with a time-out
    // (the wait is skipped and its time added), so timer tests run at once.
    void AdvanceClock(uint32_t ms) { now_ += ms; }

    // ---- input, queued like a display's ----
    void MouseMove(TPoint screen);
    void MouseDown(TPoint screen, MouseButton button = MouseButton::Left);
    void MouseUp(TPoint screen, MouseButton button = MouseButton::Left);
    void Click(TPoint screen, MouseButton button = MouseButton::Left);
    void Wheel(TPoint screen, int delta);
    void KeyDown(UINT virtualKey);
    void KeyUp(UINT virtualKey);
    void PressKey(UINT virtualKey);  // down and up
    void TypeChar(char16_t ch);
    // What a user does to the display's own decoration of a window.
    void RequestClose(HWND window) { QueueCloseRequest(window); }
    void RequestSysCommand(HWND window, WPARAM command) { QueueSysCommand(window, command); }
    void MoveByUser(HWND window, const TRect& bounds) { QueueSurfaceMoved(window, bounds); }
    // Files dragged from another program and dropped at a screen point.
    void DropFiles(TPoint screen, std::vector<std::string> files) { QueueFileDrop(screen, std::move(files)); }

    // ---- what is shown ----
    bool HasSurface(HWND window) const;
    TopLevelInfo SurfaceInfo(HWND window) const;
    std::vector<HWND> ZOrder() const { return order_; }
    int PresentCount() const { return presents_; }
    // The areas (window coordinates) presented since the last call, oldest first.
    std::vector<std::pair<HWND, TRect>> TakePresented() { return std::exchange(presented_, {}); }
    int CursorShape() const { return cursor_; }
    bool MouseCaptured() const { return captured_; }
    // The window's pixels (window-sized), or the whole screen composed from
    // the visible top-level windows over the desktop colour, layered ones
    // mixed in as they ask.
    std::unique_ptr<Surface> WindowPixels(HWND window) const;
    std::unique_ptr<Surface> ScreenPixels() const override;
    bool SaveWindowPng(HWND window, const std::string& path) const;
    bool SaveScreenPng(const std::string& path) const;

    // ---- the tray ----
    struct TrayIcon {
        UINT callbackMessage = 0;
        std::string tip;
        std::shared_ptr<const Surface> icon;
    };
    // Whether there is a notification area to show icons in (there is at start).
    void SetTrayHost(bool present) { trayHost_ = present; }
    std::map<std::pair<HWND, UINT>, TrayIcon> TrayIcons() const { return trays_; }
    // The user's mouse on an icon: its callback posted with `mouseMessage`
    // (WM_LBUTTONDBLCLK, WM_RBUTTONUP ...); false when there is no such icon.
    bool ClickTrayIcon(HWND notify, UINT id, UINT mouseMessage);

    // As a display with a compositing manager (the screen is composed the
    // same either way).
    void SetComposing(bool on) { composing_ = on; }

    // ---- DisplayBackend ----
    uint32_t Now() override { return now_; }
    void WaitForEvents(uint32_t timeoutMs) override;
    void Wake() override;
    void PumpEvents() override {}
    TRect ScreenRect() override { return TRect{0, 0, screen_.cx, screen_.cy}; }
    TRect WorkArea() override;
    void CreateSurface(HWND window, const TopLevelInfo& info) override;
    void UpdateSurface(HWND window, const TopLevelInfo& info) override;
    void DestroySurface(HWND window) override;
    void RestackSurfaces(const std::vector<HWND>& topToBottom) override { order_ = topToBottom; }
    void Present(HWND window, const TRect& dirty) override {
        ++presents_;
        presented_.emplace_back(window, dirty);
    }
    void SetCursorShape(int standardCursor) override { cursor_ = standardCursor; }
    void SetMouseCapture(bool on) override { captured_ = on; }
    void SetCursorPosition(TPoint) override {}
    std::string ClipboardText() override { return clipboard_; }
    void SetClipboardText(const std::string& text) override { clipboard_ = text; }
    bool AddTrayIcon(HWND notify, UINT id, UINT callbackMessage, const std::string& tip,
                     std::shared_ptr<const Surface> icon) override {
        if (!trayHost_) return false;
        trays_[{notify, id}] = TrayIcon{callbackMessage, tip, std::move(icon)};
        return true;
    }
    void RemoveTrayIcon(HWND notify, UINT id) override { trays_.erase({notify, id}); }
    bool ComposesWindows() override { return composing_; }

private:
    bool composing_ = false;
    TSize screen_;
    std::atomic<uint32_t> now_;
    std::mutex mutex_;
    std::condition_variable wake_;
    bool woken_ = false;
    std::map<HWND, TopLevelInfo> surfaces_;
    std::vector<HWND> order_;
    int presents_ = 0;
    std::vector<std::pair<HWND, TRect>> presented_;
    int cursor_ = 0;
    bool captured_ = false;
    std::string clipboard_;
    std::map<std::pair<HWND, UINT>, TrayIcon> trays_;
    bool trayHost_ = true;
};

}  // namespace tarvel
