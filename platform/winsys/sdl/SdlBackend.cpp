// The SDL display: opening it, the windows that show our top-level back
// buffers, cursors, clipboard and screenshots. Input is in
// SdlBackendEvents.cpp.

#include "platform/winsys/sdl/SdlBackend.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/gdi/Blend.h"
#include "platform/gdi/Gdi.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WindowApi.h"
#include "platform/winsys/sdl/SdlKeys.h"
#include "platform/winsys/sdl/SdlSound.h"
#include "platform/winsys/sdl/SdlX11.h"
#include "platform/winsys/sdl/SessionClient.h"
#include "platform/winsys/sdl/X11Clipboard.h"
#include "platform/winsys/sdl/X11CompositorWatch.h"

namespace tarvel {

namespace {

bool EnvSet(const char* name) {
    const char* v = std::getenv(name);
    return v && *v;
}

TRect FromSdl(const SDL_Rect& r) { return Bounds(r.x, r.y, r.w, r.h); }

// Override-redirect on X11: topmost, no decoration, never focused by the
// window manager.
bool IsPopup(const TopLevelInfo& info) { return info.noActivate && !info.decorated; }

// Every display together: the virtual screen.
TRect DisplaysUnion() {
    TRect all;
    for (int i = 0, n = SDL_GetNumVideoDisplays(); i < n; ++i) {
        SDL_Rect r;
        if (SDL_GetDisplayBounds(i, &r) != 0) continue;
        TRect d = FromSdl(r);
        all = all.IsEmpty() ? d
                            : TRect{std::min(all.left, d.left), std::min(all.top, d.top),
                                    std::max(all.right, d.right), std::max(all.bottom, d.bottom)};
    }
    return all.IsEmpty() ? TRect{0, 0, 1024, 768} : all;
}

// Our back buffers hold 0xAARRGGBB with alpha 0 (what GDI writes), so they
// are read as XRGB: the display's copy is always opaque.
constexpr Uint32 kBackBufferFormat = SDL_PIXELFORMAT_RGB888;

// The task bar's picture of the window; the icon's alpha is meant.
void SetIcon(SDL_Window* window, const Surface& icon) {
    if (!icon.Valid() || icon.Width() <= 0 || icon.Height() <= 0) return;
    SDL_Surface* s =
        SDL_CreateRGBSurfaceWithFormat(0, icon.Width(), icon.Height(), 32, SDL_PIXELFORMAT_ARGB8888);
    if (!s) return;
    for (int y = 0; y < icon.Height(); ++y)
        std::memcpy(static_cast<uint8_t*>(s->pixels) + static_cast<size_t>(y) * static_cast<size_t>(s->pitch),
                    icon.Row(y), icon.StrideBytes());
    SDL_SetWindowIcon(window, s);
    SDL_FreeSurface(s);
}

bool ShowsPixel(const TopLevelInfo& info, uint32_t pixel, int x, int y) {
    if (info.colorKeyed && (pixel & 0x00FFFFFFu) == info.colorKey) return false;
    return !info.perPixelAlpha || MulDiv255(PixelAlpha(info.alphaMask.get(), pixel, x, y), info.alpha) != 0;
}

// What of a layered window the display can show: pixels of the colour key
// and pixels with no opacity are cut out of its shape; partly opaque ones
// show whole. Runs of shown pixels, grown downwards while rows repeat.
std::vector<TRect> ShownShape(const TopLevelInfo& info) {
    if ((!info.colorKeyed && !info.perPixelAlpha) || !info.pixels) return info.shape;
    const Surface& px = *info.pixels;
    const int w = std::min(info.bounds.Width(), px.Width());
    const int h = std::min(info.bounds.Height(), px.Height());
    std::vector<TRect> done, open;
    for (int y = 0; y < h; ++y) {
        const uint32_t* row = px.Row(y);
        std::vector<TRect> next;
        for (int x = 0; x < w;) {
            while (x < w && !ShowsPixel(info, row[x], x, y)) ++x;
            const int start = x;
            while (x < w && ShowsPixel(info, row[x], x, y)) ++x;
            if (x == start) continue;
            TRect run{start, y, x, y + 1};
            auto above = std::find_if(open.begin(), open.end(), [&](const TRect& r) {
                return r.left == run.left && r.right == run.right;
            });
            if (above != open.end()) {
                run.top = above->top;
                open.erase(above);
            }
            next.push_back(run);
        }
        done.insert(done.end(), open.begin(), open.end());
        open = std::move(next);
    }
    done.insert(done.end(), open.begin(), open.end());
    if (!info.shape.empty()) {
        std::vector<TRect> within;
        for (const TRect& a : done)
            for (const TRect& b : info.shape)
                if (TRect r = Intersect(a, b); !r.IsEmpty()) within.push_back(r);
        done = std::move(within);
    }
    if (done.empty()) done.push_back(TRect{});  // nothing shown, which an empty shape would not say
    return done;
}

std::unique_ptr<Surface> ReadWindowSurface(SDL_Window* window) {
    SDL_Surface* s = window ? SDL_GetWindowSurface(window) : nullptr;
    if (!s || s->w <= 0 || s->h <= 0) return nullptr;
    auto out = std::make_unique<Surface>(s->w, s->h);
    if (!out->Valid()) return nullptr;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    for (int y = 0; y < s->h; ++y) {
        const auto* src =
            static_cast<const uint8_t*>(s->pixels) + static_cast<size_t>(y) * static_cast<size_t>(s->pitch);
        SDL_ConvertPixels(s->w, 1, s->format->format, src, s->pitch, SDL_PIXELFORMAT_ARGB8888, out->Row(y),
                          static_cast<int>(out->StrideBytes()));
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    return out;
}

}  // namespace

std::unique_ptr<SdlBackend> SdlBackend::Open(const std::string& videoDriver, std::string* error) {
    auto fail = [error](const std::string& why) {
        if (error) *error = why;
        return std::unique_ptr<SdlBackend>();
    };
    SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
    SDL_SetHint(SDL_HINT_QUIT_ON_LAST_WINDOW_CLOSE, "0");
    SDL_SetHint(SDL_HINT_IME_SHOW_UI, "1");
    // Pre-edit text of any length comes whole (SDL_TEXTEDITING_EXT).
    SDL_SetHint(SDL_HINT_IME_SUPPORT_EXTENDED_TEXT, "1");
    SDL_SetHint(SDL_HINT_VIDEO_X11_NET_WM_BYPASS_COMPOSITOR, "0");
    // The display's own framebuffer, not an OpenGL texture: our pixels reach
    // the window unchanged, and no GL stack is loaded for it.
    SDL_SetHint(SDL_HINT_FRAMEBUFFER_ACCELERATION, "0");
    // X11 first, XWayland under a Wayland session: positions, popups and
    // grabs need it. An explicit choice, or the user's, stands.
    SDL_ResetHint(SDL_HINT_VIDEODRIVER);  // no choice left over from an earlier display
    if (!videoDriver.empty()) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, videoDriver.c_str(), SDL_HINT_OVERRIDE);
    } else if (!EnvSet("SDL_VIDEODRIVER") && EnvSet("DISPLAY")) {
        SDL_SetHintWithPriority(SDL_HINT_VIDEODRIVER, "x11", SDL_HINT_OVERRIDE);
    }
    InstallX11ErrorReporter();
    int failed = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    if (failed && videoDriver.empty() && !EnvSet("SDL_VIDEODRIVER")) {
        SDL_ResetHint(SDL_HINT_VIDEODRIVER);
        failed = SDL_InitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
    }
    if (failed) return fail(std::string("no display: ") + SDL_GetError());

    std::unique_ptr<SdlBackend> b(new SdlBackend());
    const char* driver = SDL_GetCurrentVideoDriver();
    b->x11_ = driver && std::strcmp(driver, "x11") == 0;
    if (b->x11_ && X11OpenQueries()) b->argbVisual_ = X11ArgbVisual();
    if (b->x11_) b->compositorWatch_ = X11CompositorWatch::Open([raw = b.get()] { raw->Wake(); });
    b->wakeEvent_ = SDL_RegisterEvents(1);
    if (b->wakeEvent_ == static_cast<uint32_t>(-1)) return fail("SDL has no user events left");
    SDL_StartTextInput();
    b->sound_ = MakeSdlSoundOutput();
    SetSoundOutput(b->sound_);
    return b;
}

SdlBackend::~SdlBackend() {
    compositorWatch_.reset();  // its thread wakes this backend
    session_.reset();
    if (CurrentSoundOutput() == sound_) SetSoundOutput(nullptr);
    sound_.reset();
    for (auto& [hwnd, t] : tops_)
        if (t.window) SDL_DestroyWindow(t.window);
    tops_.clear();
    for (auto& [key, tray] : trays_) SDL_DestroyWindow(tray.window);
    trays_.clear();
    for (auto& [idc, cursor] : cursors_) SDL_FreeCursor(cursor);
    SDL_StopTextInput();
    X11CloseQueries();
    SDL_QuitSubSystem(SDL_INIT_VIDEO | SDL_INIT_EVENTS);
}

std::string SdlBackend::VideoDriver() const {
    const char* d = SDL_GetCurrentVideoDriver();
    return d ? d : "";
}

uint32_t SdlBackend::Now() { return GetTickCount(); }

// ---- the screen ----

TRect SdlBackend::ScreenRect() { return DisplaysUnion(); }

TRect SdlBackend::WorkArea() {
    SDL_Rect r;
    if (SDL_GetDisplayUsableBounds(0, &r) == 0 && r.w > 0 && r.h > 0) return FromSdl(r);
    return ScreenRect();
}

// ---- windows ----

SdlBackend::TopLevel* SdlBackend::Find(HWND window) {
    auto it = tops_.find(window);
    return it == tops_.end() ? nullptr : &it->second;
}

const SdlBackend::TopLevel* SdlBackend::Find(HWND window) const {
    auto it = tops_.find(window);
    return it == tops_.end() ? nullptr : &it->second;
}

HWND SdlBackend::WindowOfSdlId(uint32_t windowId) const {
    for (const auto& [h, t] : tops_)
        if (t.window && SDL_GetWindowID(t.window) == windowId) return h;
    return nullptr;
}

SdlBackend::TopLevel* SdlBackend::FindBySdlId(uint32_t windowId, HWND* hwnd) {
    HWND h = WindowOfSdlId(windowId);
    if (hwnd) *hwnd = h;
    return h ? Find(h) : nullptr;
}

SDL_Window* SdlBackend::SdlWindowOf(HWND window) const {
    const TopLevel* t = Find(window);
    return t ? t->window : nullptr;
}

void SdlBackend::CreateSurface(HWND window, const TopLevelInfo& info) {
    // The SDL window is made when it is first shown: only then is it known
    // whether it is a popup, which X11 fixes at creation.
    ApplyInfo(tops_[window], info);
}

void SdlBackend::UpdateSurface(HWND window, const TopLevelInfo& info) { ApplyInfo(tops_[window], info); }

void SdlBackend::DestroySurface(HWND window) {
    auto it = tops_.find(window);
    if (it == tops_.end()) return;
    ForgetSdlWindow(it->second);
    tops_.erase(it);
    order_.erase(std::remove(order_.begin(), order_.end(), window), order_.end());
}

bool SdlBackend::ComposesWindows() { return x11_ && X11CompositorRunning(); }

bool SdlBackend::CompositorHeard() {
    return compositorWatch_ ? compositorWatch_->Running() : ComposesWindows();
}

void SdlBackend::FollowCompositor() {
    if (!compositorWatch_ || !compositorWatch_->TakeChange()) return;
    std::vector<HWND> windows;
    for (auto& [h, t] : tops_) {
        windows.push_back(h);
        // Made anew with the visual mixing needs, where it stood, content,
        // stacking and keyboard as before (ApplyInfo shows and restacks it).
        if (t.window && t.info.visible && WantsArgb(t.info) && !t.argb) {
            const TopLevelInfo info = t.info;
            ApplyInfo(t, info);
        } else if (t.window && t.info.visible && t.argb) {
            CopyToWindow(t, TRect{0, 0, t.info.bounds.Width(), t.info.bounds.Height()});
        }
    }
    for (HWND h : windows) PostMessage(h, WM_DWMCOMPOSITIONCHANGED, 0, 0);
}

bool SdlBackend::WantsArgb(const TopLevelInfo& info) {
    // Without a compositing manager the server shows no pixel's alpha: the
    // window stays opaque where its pixels show at all.
    return info.perPixelAlpha && argbVisual_ && ComposesWindows();
}

bool SdlBackend::MakeSdlWindow(const TopLevelInfo& info, TopLevel& t) {
    Uint32 flags = SDL_WINDOW_HIDDEN;
    t.popup = IsPopup(info);
    t.toolWindow = info.toolWindow;
    if (!info.decorated)
        flags |= SDL_WINDOW_BORDERLESS;
    else if (info.sizable)
        flags |= SDL_WINDOW_RESIZABLE;
    if (t.popup) flags |= SDL_WINDOW_POPUP_MENU | SDL_WINDOW_SKIP_TASKBAR;
    if (info.toolWindow) flags |= SDL_WINDOW_SKIP_TASKBAR;
    if (info.topmost) flags |= SDL_WINDOW_ALWAYS_ON_TOP;
    // SDL takes the visual a window is made with from this hint, read at creation.
    t.argb = WantsArgb(info);
    if (t.argb) SDL_SetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID, std::to_string(argbVisual_).c_str());
    t.window = SDL_CreateWindow(info.title.c_str(), info.bounds.left, info.bounds.top,
                                std::max(1, info.bounds.Width()), std::max(1, info.bounds.Height()), flags);
    if (t.argb) SDL_ResetHint(SDL_HINT_VIDEO_X11_WINDOW_VISUALID);
    if (!t.window) return false;
    t.info = info;
    t.shownShape.clear();  // a new window has none yet
    ApplyShape(t);
    // Where the display cannot blend windows they stay opaque.
    if (info.alpha != 255) SDL_SetWindowOpacity(t.window, info.alpha / 255.0f);
    if (info.icon) SetIcon(t.window, *info.icon);
    t.info.visible = false;
    t.info.minimized = false;
    return true;
}

void SdlBackend::ForgetSdlWindow(TopLevel& t) {
    if (!t.window) return;
    if (SDL_GetKeyboardFocus() == t.window) keyboardOrphaned_ = true;
    if (askedTarget_ == t.window || askedFrom_ == t.window) askedTarget_ = askedFrom_ = nullptr;
    stacked_.erase(std::remove(stacked_.begin(), stacked_.end(), t.window), stacked_.end());
    SDL_DestroyWindow(t.window);
    t.window = nullptr;
    t.info.visible = false;
}

void SdlBackend::ApplyInfo(TopLevel& t, const TopLevelInfo& info) {
    // A popup, a tool window and an ordinary window differ from their
    // creation on, as does the 32-bit visual. A window keeps that visual
    // once it has it: its pixels are then shown opaque, which the server
    // shows as any other window's.
    if (t.window &&
        (IsPopup(info) != t.popup || info.toolWindow != t.toolWindow || (WantsArgb(info) && !t.argb)))
        ForgetSdlWindow(t);
    if (!t.window && !(info.visible && MakeSdlWindow(info, t))) {
        t.info = info;
        t.info.visible = false;  // nothing on the display yet
        return;
    }
    TopLevelInfo& was = t.info;
    const TRect& b = info.bounds;
    if (b.left != was.bounds.left || b.top != was.bounds.top) SDL_SetWindowPosition(t.window, b.left, b.top);
    if (b.Width() != was.bounds.Width() || b.Height() != was.bounds.Height())
        SDL_SetWindowSize(t.window, std::max(1, b.Width()), std::max(1, b.Height()));
    if (b != was.bounds) t.movedAt = Now();
    if (info.title != was.title) SDL_SetWindowTitle(t.window, info.title.c_str());
    if (info.decorated != was.decorated)
        SDL_SetWindowBordered(t.window, info.decorated ? SDL_TRUE : SDL_FALSE);
    const bool resizable = info.decorated && info.sizable;
    if (resizable != (was.decorated && was.sizable))
        SDL_SetWindowResizable(t.window, resizable ? SDL_TRUE : SDL_FALSE);
    if (info.alpha != was.alpha) SDL_SetWindowOpacity(t.window, info.alpha / 255.0f);
    if (info.icon && info.icon != was.icon) SetIcon(t.window, *info.icon);
    if (info.topmost != was.topmost) SDL_SetWindowAlwaysOnTop(t.window, info.topmost ? SDL_TRUE : SDL_FALSE);

    const bool show = info.visible && !was.visible;
    const bool hide = !info.visible && was.visible;
    const bool minimize = info.visible && info.minimized && !(was.visible && was.minimized);
    const bool restore = info.visible && !info.minimized && was.visible && was.minimized;
    const bool newAlpha = info.alphaMask != was.alphaMask;
    t.info = info;
    ApplyShape(t);
    if (newAlpha && !show && info.visible) CopyToWindow(t, TRect{0, 0, b.Width(), b.Height()});
    if (show) {
        SDL_ShowWindow(t.window);
        CopyToWindow(t, TRect{0, 0, b.Width(), b.Height()});
    }
    if (hide) {
        if (SDL_GetKeyboardFocus() == t.window) keyboardOrphaned_ = true;
        SDL_HideWindow(t.window);
    }
    if (minimize) SDL_MinimizeWindow(t.window);
    if (restore) SDL_RestoreWindow(t.window);
    if (show || hide || minimize || restore) Restack();
}

void SdlBackend::RestackSurfaces(const std::vector<HWND>& topToBottom) {
    order_ = topToBottom;
    Restack();
}

void SdlBackend::Restack() {
    std::vector<SDL_Window*> shown;
    for (HWND h : order_) {
        TopLevel* t = Find(h);
        if (t && t->window && t->info.visible && !t->info.minimized) shown.push_back(t->window);
    }
    if (shown == stacked_) return;
    stacked_ = shown;
    X11Restack(shown);
}

// The keyboard stays with our active window while the program has it (the
// front ordinary window when none is active): a popup the display focused
// on showing, or a window hidden or destroyed while it held the keys, must
// not leave them elsewhere or nowhere. Another program's keyboard is left
// alone.
SDL_Window* SdlBackend::KeyboardTarget() {
    auto usable = [](const TopLevel* t) {
        return t && t->window && !t->popup && t->info.visible && !t->info.minimized;
    };
    TopLevel* active = Find(GetActiveWindow());
    if (usable(active)) return active->window;
    for (HWND h : order_)
        if (TopLevel* t = Find(h); usable(t)) return t->window;
    return nullptr;
}

void SdlBackend::KeepKeyboard() {
    if (!appActive_ || !x11_) return;
    SDL_Window* focused = SDL_GetKeyboardFocus();
    const bool ours = focused && FindBySdlId(SDL_GetWindowID(focused));
    if (!ours && !keyboardOrphaned_) return;
    SDL_Window* target = KeyboardTarget();
    if (!target || focused == target) {
        keyboardOrphaned_ = false;
        askedTarget_ = askedFrom_ = nullptr;
        return;
    }
    if (target == askedTarget_ && focused == askedFrom_) return;  // asked already; the display decides
    askedTarget_ = target;
    askedFrom_ = focused;
    keyboardOrphaned_ = false;
    SDL_SetWindowInputFocus(target);
}

void SdlBackend::Present(HWND window, const TRect& dirty) {
    TopLevel* t = Find(window);
    if (t && t->window && t->info.visible) CopyToWindow(*t, dirty);
}

void SdlBackend::ApplyShape(TopLevel& t) {
    std::vector<TRect> shape = ShownShape(t.info);
    if (shape == t.shownShape) return;
    X11SetShape(t.window, shape);
    t.shownShape = std::move(shape);
}

void SdlBackend::CopyToWindow(TopLevel& t, const TRect& dirty) {
    if (!t.window || !t.info.pixels) return;
    if (t.info.colorKeyed || t.info.perPixelAlpha) ApplyShape(t);  // the pixels decide it
    SDL_Surface* s = SDL_GetWindowSurface(t.window);
    if (!s) return;
    const Surface& src = *t.info.pixels;
    TRect area = Intersect(dirty, TRect{0, 0, std::min(s->w, src.Width()), std::min(s->h, src.Height())});
    if (area.IsEmpty()) return;
    if (SDL_MUSTLOCK(s)) SDL_LockSurface(s);
    const Surface* mask = t.info.alphaMask.get();
    // A 32-bit window whose alpha nobody mixes shows its colours opaque.
    const bool showsAlpha = t.argb && t.info.perPixelAlpha && CompositorHeard();
    const bool opaque = t.argb && !showsAlpha;
    std::vector<uint32_t> masked(mask || opaque ? static_cast<size_t>(area.Width()) : 0);
    for (int y = area.top; y < area.bottom; ++y) {
        auto* dst = static_cast<uint8_t*>(s->pixels) +
                    static_cast<size_t>(y) * static_cast<size_t>(s->pitch) +
                    static_cast<size_t>(area.left) * s->format->BytesPerPixel;
        const uint32_t* row = src.Row(y) + area.left;
        if (mask) {  // the window paints its colours; the mask gives their alpha
            for (int x = 0; x < area.Width(); ++x)
                masked[static_cast<size_t>(x)] =
                    (PixelAlpha(mask, 0, area.left + x, y) << 24) | (row[x] & 0x00FFFFFFu);
            row = masked.data();
        }
        if (opaque) {
            for (int x = 0; x < area.Width(); ++x) masked[static_cast<size_t>(x)] = row[x] | 0xFF000000u;
            row = masked.data();
        }
        // The server's alpha is premultiplied; ours is straight.
        const int pitch = static_cast<int>(src.StrideBytes());
        const bool premultiplied =
            t.argb && SDL_PremultiplyAlpha(area.Width(), 1, SDL_PIXELFORMAT_ARGB8888, row, pitch,
                                           s->format->format, dst, s->pitch) == 0;
        if (!premultiplied)
            SDL_ConvertPixels(area.Width(), 1, kBackBufferFormat, row, pitch, s->format->format, dst,
                              s->pitch);
    }
    if (SDL_MUSTLOCK(s)) SDL_UnlockSurface(s);
    SDL_Rect r{area.left, area.top, area.Width(), area.Height()};
    SDL_UpdateWindowSurfaceRects(t.window, &r, 1);
}

// ---- cursor, capture, clipboard ----

void SdlBackend::SetCursorShape(int standardCursor) {
    if (!standardCursor) {
        SDL_ShowCursor(SDL_DISABLE);
        return;
    }
    int shape = SystemCursorOf(standardCursor);
    if (shape < 0) shape = SDL_SYSTEM_CURSOR_ARROW;
    SDL_Cursor*& cursor = cursors_[shape];
    if (!cursor) cursor = SDL_CreateSystemCursor(static_cast<SDL_SystemCursor>(shape));
    if (cursor) SDL_SetCursor(cursor);
    SDL_ShowCursor(SDL_ENABLE);
}

void SdlBackend::SetMouseCapture(bool on) {
    // Only a focused window can grab the pointer; without the grab, input
    // over our own windows still reaches the capture window through our
    // layer, which routes by screen position.
    captured_ = on;
    SDL_CaptureMouse(on ? SDL_TRUE : SDL_FALSE);
}

void SdlBackend::SetCursorPosition(TPoint screen) { SDL_WarpMouseGlobal(screen.x, screen.y); }

std::string SdlBackend::ClipboardText() {
    char* text = SDL_GetClipboardText();
    std::string out = text ? text : "";
    SDL_free(text);
    return out;
}

void SdlBackend::SetClipboardText(const std::string& text) { SDL_SetClipboardText(text.c_str()); }

void SdlBackend::OfferClipboardImage(std::shared_ptr<const std::vector<uint8_t>> dib,
                                     std::shared_ptr<const Surface> pixels) {
    if (!x11_) return;
    // SDL's own claim (the empty text set just before) must be carried out
    // by the server before ours, or it takes the clipboard back. A flush is
    // not enough: a busy server may read our connection before SDL's. Asking
    // SDL for the text asks the server who owns the clipboard, a round trip
    // on SDL's connection behind its claim.
    SDL_free(SDL_GetClipboardText());
    if (!clipboardOwner_ && dib) clipboardOwner_ = X11ClipboardOwner::Open();
    if (clipboardOwner_) clipboardOwner_->Offer(std::move(dib), std::move(pixels));
}

// Without an owner of ours the picture was never offered, and stays ours.
bool SdlBackend::ClipboardImageHeld() { return !clipboardOwner_ || clipboardOwner_->Holds(); }

// ---- the tray icon ----

namespace {

// What a notification area is first offered; it sizes the icon as it likes.
constexpr int kTrayIconSize = 22;

}  // namespace

bool SdlBackend::AddTrayIcon(HWND notify, UINT id, UINT callbackMessage, const std::string& tip,
                             std::shared_ptr<const Surface> icon) {
    if (auto it = trays_.find({notify, id}); it != trays_.end()) {
        it->second.callbackMessage = callbackMessage;
        it->second.icon = std::move(icon);
        SDL_SetWindowTitle(it->second.window, tip.c_str());
        PaintTrayIcon(it->second);
        return true;
    }
    if (!x11_) return false;
    SDL_Window* window =
        SDL_CreateWindow(tip.c_str(), 0, 0, kTrayIconSize, kTrayIconSize,
                         SDL_WINDOW_HIDDEN | SDL_WINDOW_BORDERLESS | SDL_WINDOW_SKIP_TASKBAR);
    if (!window) return false;
    if (!X11DockInTray(window)) {
        SDL_DestroyWindow(window);
        return false;
    }
    TrayIcon& tray = trays_[{notify, id}];
    tray.window = window;
    tray.callbackMessage = callbackMessage;
    tray.icon = std::move(icon);
    PaintTrayIcon(tray);
    return true;
}

void SdlBackend::RemoveTrayIcon(HWND notify, UINT id) {
    auto it = trays_.find({notify, id});
    if (it == trays_.end()) return;
    if (it->second.window) SDL_DestroyWindow(it->second.window);
    trays_.erase(it);
}

SDL_Window* SdlBackend::TrayIconWindow(HWND notify, UINT id) const {
    auto it = trays_.find({notify, id});
    return it == trays_.end() ? nullptr : it->second.window;
}

// The icon scaled to the window, the pixels at least half transparent cut
// out, so the notification area's own background shows there.
void SdlBackend::PaintTrayIcon(TrayIcon& tray) {
    SDL_Surface* target = SDL_GetWindowSurface(tray.window);
    if (!target || target->w <= 0 || target->h <= 0) return;
    const int w = target->w, h = target->h;
    Surface picture(w, h);
    if (!picture.Valid()) return;
    std::vector<TRect> shape;
    const Surface* icon = tray.icon && tray.icon->Valid() ? tray.icon.get() : nullptr;
    for (int y = 0; y < h; ++y) {
        uint32_t* row = picture.Row(y);
        int runStart = -1;
        for (int x = 0; x <= w; ++x) {
            bool shown = false;
            if (x < w) {
                // No picture: a plain grey square, so there is something to click.
                uint32_t p = 0xFFC0C0C0u;
                if (icon) p = icon->Pixel(x * icon->Width() / w, y * icon->Height() / h);
                shown = (p >> 24) >= 128;
                row[x] = shown ? (p | 0xFF000000u) : 0xFF000000u;
            }
            if (shown && runStart < 0) runStart = x;
            if (!shown && runStart >= 0) {
                shape.push_back(TRect{runStart, y, x, y + 1});
                runStart = -1;
            }
        }
    }
    SDL_Surface* source =
        SDL_CreateRGBSurfaceWithFormatFrom(picture.Row(0), w, h, 32, w * 4, SDL_PIXELFORMAT_ARGB8888);
    if (!source) return;
    SDL_SetSurfaceBlendMode(source, SDL_BLENDMODE_NONE);
    SDL_BlitSurface(source, nullptr, target, nullptr);
    SDL_FreeSurface(source);
    SDL_UpdateWindowSurface(tray.window);
    // Wholly transparent: a one-pixel shape, as an empty one would show it all.
    if (shape.empty()) shape.push_back(TRect{0, 0, 1, 1});
    X11SetShape(tray.window, shape);
}

// ---- screenshots ----

std::unique_ptr<Surface> SdlBackend::WindowPixels(HWND window) const {
    const TopLevel* t = Find(window);
    if (!t || !t->window || !t->info.visible) return nullptr;
    // The server cannot give a window that is partly off the screen; what
    // was last presented to it stands in.
    if (x11_)
        if (std::unique_ptr<Surface> shown = X11ReadWindow(t->window)) return shown;
    return ReadWindowSurface(t->window);
}

std::unique_ptr<Surface> SdlBackend::ScreenPixels() const {
    TRect screen = DisplaysUnion();
    // The server blends windows only through a compositing manager: without
    // one, while a window of ours asks for blending, the screen is our own
    // composition.
    const bool blends = std::any_of(tops_.begin(), tops_.end(), [](const auto& entry) {
        const TopLevelInfo& info = entry.second.info;
        return entry.second.window && info.visible && (info.alpha != 255 || info.perPixelAlpha);
    });
    if (x11_ && (!blends || X11CompositorRunning())) {
        for (const auto& [h, t] : tops_)
            if (t.window) return X11ReadScreen(t.window, screen);
    }
    // No server to ask: our own windows in z-order over the desktop colour.
    std::vector<std::unique_ptr<Surface>> kept;
    std::vector<ScreenLayer> layers;
    for (auto it = order_.rbegin(); it != order_.rend(); ++it) {
        const TopLevel* t = Find(*it);
        if (!t || !t->window || !t->info.visible || t->info.minimized) continue;
        if (t->info.perPixelAlpha) {  // the display's copy has lost the alpha
            layers.push_back(LayerOf(t->info, t->info.pixels.get()));
            continue;
        }
        std::unique_ptr<Surface> pixels = ReadWindowSurface(t->window);
        if (!pixels) continue;
        layers.push_back(LayerOf(t->info, pixels.get()));
        kept.push_back(std::move(pixels));
    }
    return ComposeScreen(screen, layers);
}

bool SdlBackend::SaveWindowPng(HWND window, const std::string& path) const {
    std::unique_ptr<Surface> pixels = WindowPixels(window);
    return pixels && WritePng(*pixels, path.c_str());
}

bool SdlBackend::SaveScreenPng(const std::string& path) const {
    std::unique_ptr<Surface> pixels = ScreenPixels();
    return pixels && WritePng(*pixels, path.c_str());
}

// ---- choosing the display ----

std::unique_ptr<DisplayBackend> OpenRealDisplay() {
    auto is = [](const char* name, const char* value) {
        const char* v = std::getenv(name);
        return v && std::strcmp(v, value) == 0;
    };
    if (is("BMS_HEADLESS", "1")) return nullptr;
    if (!EnvSet("DISPLAY") && !EnvSet("WAYLAND_DISPLAY")) return nullptr;
    // SDL's displays without a screen (the test runs) are no display either.
    if (is("SDL_VIDEODRIVER", "offscreen") || is("SDL_VIDEODRIVER", "dummy")) return nullptr;
    return SdlBackend::Open();
}

bool SdlBackend::JoinSessionManager(std::vector<std::string> command) {
    if (!x11_) return false;
    if (!session_) session_ = SessionClient::Start(std::move(command), [this] { Wake(); });
    return session_ != nullptr;
}

bool SdlBackend::InSessionManager() const { return session_ && session_->Connected(); }

bool JoinSessionManager(DisplayBackend* backend, std::vector<std::string> command) {
    auto* sdl = dynamic_cast<SdlBackend*>(backend);
    return sdl && sdl->JoinSessionManager(std::move(command));
}

}  // namespace tarvel
