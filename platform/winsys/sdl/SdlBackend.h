#pragma once
// Real windows through SDL2: one SDL window per top-level window, showing its
// back buffer, and the display's input handed to the window system. The X11
// video driver is preferred (absolute positions, override-redirect popups,
// pointer grabs, shapes, reading pixels back); elsewhere the backend does
// what SDL offers and degrades to plain windows. While it is open, sounds
// play through SDL's audio.

#include <atomic>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "platform/winsys/Backend.h"

struct SDL_Window;
struct SDL_Cursor;
union SDL_Event;

namespace tarvel {

class SessionClient;
class SoundOutput;
class X11ClipboardOwner;
class X11CompositorWatch;

class SdlBackend : public DisplayBackend {
public:
    // Starts SDL's video on `videoDriver` ("x11", "offscreen" ...); empty
    // takes x11 when an X display is set, else SDL's own choice. Null, with
    // the reason in `error`, when no display can be opened.
    static std::unique_ptr<SdlBackend> Open(const std::string& videoDriver = "",
                                            std::string* error = nullptr);
    ~SdlBackend() override;
    SdlBackend(const SdlBackend&) = delete;
    SdlBackend& operator=(const SdlBackend&) = delete;

    std::string VideoDriver() const;
    bool OnX11() const { return x11_; }

    // ---- what is shown ----
    SDL_Window* SdlWindowOf(HWND window) const;  // null while never shown
    HWND WindowOfSdlId(uint32_t windowId) const;
    // A window as the display shows it (read back from the X server on X11,
    // the presented surface elsewhere), or the screen: read back from the X
    // server, or, where there is none or it cannot show a window's blending,
    // every visible window of ours in z-order over the desktop colour,
    // mixed as the windows ask.
    std::unique_ptr<Surface> WindowPixels(HWND window) const;
    std::unique_ptr<Surface> ScreenPixels() const override;
    bool SaveWindowPng(HWND window, const std::string& path) const;
    bool SaveScreenPng(const std::string& path) const;

    // ---- the tray icon ----
    // On X11 an icon is a small window the notification area embeds
    // (XEmbed); its pixels cut out where the icon is transparent, its title
    // the tip. The mouse on it posts `callbackMessage` (wParam `id`, lParam
    // WM_LBUTTONDOWN, WM_LBUTTONDBLCLK, WM_RBUTTONUP ...) to `notify`.
    // Without a notification area there is no icon. Null for none.
    SDL_Window* TrayIconWindow(HWND notify, UINT id) const;

    // ---- DisplayBackend ----
    uint32_t Now() override;
    void WaitForEvents(uint32_t timeoutMs) override;
    void Wake() override;
    void PumpEvents() override;
    TRect ScreenRect() override;
    TRect WorkArea() override;
    void CreateSurface(HWND window, const TopLevelInfo& info) override;
    void UpdateSurface(HWND window, const TopLevelInfo& info) override;
    void DestroySurface(HWND window) override;
    void RestackSurfaces(const std::vector<HWND>& topToBottom) override;
    void Present(HWND window, const TRect& dirty) override;
    void SetCursorShape(int standardCursor) override;
    void SetMouseCapture(bool on) override;
    void SetCursorPosition(TPoint screen) override;
    std::string ClipboardText() override;
    void SetClipboardText(const std::string& text) override;
    // On X11 the picture is offered as image/png and image/bmp.
    void OfferClipboardImage(std::shared_ptr<const std::vector<uint8_t>> dib,
                             std::shared_ptr<const Surface> pixels) override;
    bool ClipboardImageHeld() override;
    bool AddTrayIcon(HWND notify, UINT id, UINT callbackMessage, const std::string& tip,
                     std::shared_ptr<const Surface> icon) override;
    void RemoveTrayIcon(HWND notify, UINT id) override;
    // On X11: a compositing manager runs. A per-pixel-alpha window is then
    // made with a 32-bit visual and shows its partly transparent pixels
    // mixed with the live screen, and the screen is read back from the
    // server, which mixes.
    bool ComposesWindows() override;

    // ---- the session manager ----
    // On X11 where SESSION_MANAGER is set: registers with the manager (on a
    // thread; the GUI never waits for it), `command` being the program's
    // command line, and its requests reach the windows' end-session path
    // from the event pump. False when there is none to join.
    bool JoinSessionManager(std::vector<std::string> command);
    // Registered, and the manager still there.
    bool InSessionManager() const;

private:
    struct TopLevel {
        SDL_Window* window = nullptr;
        TopLevelInfo info;              // as last applied
        bool popup = false;             // made as a popup that never takes the keyboard
        bool toolWindow = false;        // made without a task-bar entry
        bool argb = false;              // made with the 32-bit visual: its pixels carry their alpha
        uint32_t movedAt = 0;           // when we last moved or sized it
        std::vector<TRect> shownShape;  // as last given to the display
    };
    struct TrayIcon {
        SDL_Window* window = nullptr;
        UINT callbackMessage = 0;
        std::shared_ptr<const Surface> icon;
    };

    SdlBackend() = default;
    TopLevel* Find(HWND window);
    const TopLevel* Find(HWND window) const;
    TopLevel* FindBySdlId(uint32_t windowId, HWND* hwnd = nullptr);
    bool MakeSdlWindow(const TopLevelInfo& info, TopLevel& t);
    void ApplyInfo(TopLevel& t, const TopLevelInfo& info);
    void ForgetSdlWindow(TopLevel& t);
    // The window is shown with its pixels' alpha, through the 32-bit visual.
    bool WantsArgb(const TopLevelInfo& info);
    void Restack();
    void KeepKeyboard();
    SDL_Window* KeyboardTarget();
    void CopyToWindow(TopLevel& t, const TRect& dirty);
    // The window's region, less what a colour key or pixels' alpha hide.
    void ApplyShape(TopLevel& t);
    TPoint ToScreen(uint32_t windowId, int x, int y);

    // SdlBackendEvents.cpp
    void Translate(const SDL_Event& ev);
    void TranslateWindowEvent(const SDL_Event& ev);
    void FollowDisplayBounds(HWND hwnd, TopLevel& t);
    void TranslateKey(const SDL_Event& ev);
    void TranslateText(const char* utf8);
    // The input method's pre-edit text; `start` counts characters.
    void TranslateEditing(const char* utf8, int start);
    void SettleFocus();
    void SyncLockKeys();
    void FollowCaret();

    // A compositing manager came or went: a per-pixel-alpha window gets the
    // 32-bit visual it now needs, and every window hears of it
    // (WM_DWMCOMPOSITIONCHANGED) to choose between live mixing and a snapshot.
    void FollowCompositor();
    // As last heard, without asking the server.
    bool CompositorHeard();

    bool TranslateTrayEvent(const SDL_Event& ev);
    void PaintTrayIcon(TrayIcon& tray);
    void TranslateDrop(const SDL_Event& ev);

    bool x11_ = false;
    unsigned long argbVisual_ = 0;                         // the X server's 32-bit visual, 0 without one
    std::shared_ptr<SoundOutput> sound_;                   // the sound output while this display is open
    std::unique_ptr<X11ClipboardOwner> clipboardOwner_;    // made at the first picture copied
    std::unique_ptr<X11CompositorWatch> compositorWatch_;  // on X11, while the display is open
    std::unique_ptr<SessionClient> session_;               // while the program is in a managed session
    uint32_t wakeEvent_ = 0;
    std::atomic<bool> wakePending_{false};
    std::map<HWND, TopLevel> tops_;
    std::vector<HWND> order_;           // top first, as last restacked
    std::vector<SDL_Window*> stacked_;  // the shown windows as last stacked on the display
    std::map<std::pair<HWND, UINT>, TrayIcon> trays_;
    std::map<int, SDL_Cursor*> cursors_;
    bool keyboardOrphaned_ = false;      // a window of ours that held the keys went away
    SDL_Window* askedTarget_ = nullptr;  // the last request for the keyboard: to
    SDL_Window* askedFrom_ = nullptr;    // ... and from
    bool captured_ = false;

    // Keyboard and focus bookkeeping of the event translation.
    char16_t lastKeyChars_[2] = {0, 0};  // what the last key makes, plain and shifted
    bool composing_ = false;             // the input method shows pre-edit text
    bool lockKeysSynced_ = false;
    bool appActive_ = true;
    bool activationQueued_ = false;  // in this pump
    uint32_t focusLostAt_ = 0;
    bool focusLossPending_ = false;
    TRect caretRect_;

    // The drop being received.
    bool dropping_ = false;
    std::vector<std::string> droppedFiles_;
};

// The real display for the program, or null when it must run headless:
// BMS_HEADLESS=1, no display set, SDL asked for its screenless drivers
// (SDL_VIDEODRIVER=offscreen or dummy, as the test runs set), or no display
// that opens. The program then installs a HeadlessBackend.
std::unique_ptr<DisplayBackend> OpenRealDisplay();
// SdlBackend::JoinSessionManager for the program's display when it is one.
bool JoinSessionManager(DisplayBackend* backend, std::vector<std::string> command);

}  // namespace tarvel
