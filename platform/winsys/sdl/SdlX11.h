#pragma once
// What SDL2 leaves out on X11, done on the X windows under SDL's: stacking,
// shapes, and reading pixels back from the server. Every function does
// nothing (or answers null/false) when the window is not an X11 one.

#include <memory>
#include <vector>

#include "platform/gdi/Surface.h"

struct SDL_Window;

namespace tarvel {

bool IsX11Window(SDL_Window* window);
// Xlib's default error handler ends the process. A request about a window the
// server has already dropped (a race with the window manager) must not end
// the tool: errors are reported on stderr instead. Installed before SDL
// starts, so SDL's own handler passes errors on to it.
void InstallX11ErrorReporter();
// Stacks the windows so that the first is on top.
void X11Restack(const std::vector<SDL_Window*>& topToBottom);
// The window's shape as rectangles in window coordinates; empty removes it.
bool X11SetShape(SDL_Window* window, const std::vector<TRect>& shape);
// The window's pixels as the server holds them, or a rectangle of the whole
// screen (the root window of `anyWindow`'s screen), opaque.
std::unique_ptr<Surface> X11ReadWindow(SDL_Window* window);
std::unique_ptr<Surface> X11ReadScreen(SDL_Window* anyWindow, const TRect& area);
// Asks the notification area of the window's screen (the freedesktop system
// tray: the owner of _NET_SYSTEM_TRAY_S<screen>) to embed the window as an
// icon (XEmbed); it maps and sizes the window. False when there is none.
bool X11DockInTray(SDL_Window* window);

// A connection of our own to the display SDL opened, for what SDL asks
// nothing about before its first window: opened with the backend, closed
// with it. The questions below answer false or 0 without it.
bool X11OpenQueries();
void X11CloseQueries();
// A compositing manager owns _NET_WM_CM_S<screen> of the default screen.
bool X11CompositorRunning();
// The id of a 32-bit TrueColor visual (alpha beside red, green and blue),
// which a compositing manager mixes by its pixels' alpha; 0 when the
// server offers none.
unsigned long X11ArgbVisual();

}  // namespace tarvel
