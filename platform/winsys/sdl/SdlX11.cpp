#include "platform/winsys/sdl/SdlX11.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_syswm.h>
#include <X11/Xlib.h>
#include <X11/Xutil.h>
#include <X11/extensions/shape.h>

#include <algorithm>
#include <cstdio>
#include <string>

namespace tarvel {

namespace {

struct XHandles {
    ::Display* display = nullptr;
    ::Window window = 0;
};

bool HandlesOf(SDL_Window* w, XHandles& out) {
    if (!w) return false;
    SDL_SysWMinfo info;
    SDL_VERSION(&info.version);
    if (!SDL_GetWindowWMInfo(w, &info) || info.subsystem != SDL_SYSWM_X11) return false;
    out.display = info.info.x11.display;
    out.window = info.info.x11.window;
    return out.display && out.window;
}

// One channel of a pixel by its mask, scaled to 8 bits.
uint32_t Channel(unsigned long pixel, unsigned long mask) {
    if (!mask) return 0;
    int shift = 0;
    while (!((mask >> shift) & 1)) ++shift;
    unsigned long max = mask >> shift;
    return static_cast<uint32_t>((((pixel & mask) >> shift) * 255 + max / 2) / max);
}

std::unique_ptr<Surface> ReadDrawable(::Display* display, ::Drawable drawable, int x, int y, int w, int h) {
    if (w <= 0 || h <= 0) return nullptr;
    // A rectangle off the screen is an X error; it must not end the program.
    XSync(display, False);
    auto* previous = XSetErrorHandler([](::Display*, XErrorEvent*) { return 0; });
    XImage* image = XGetImage(display, drawable, x, y, static_cast<unsigned>(w), static_cast<unsigned>(h),
                              AllPlanes, ZPixmap);
    XSync(display, False);
    XSetErrorHandler(previous);
    if (!image) return nullptr;
    auto out = std::make_unique<Surface>(w, h);
    if (out->Valid()) {
        for (int row = 0; row < h; ++row) {
            uint32_t* dst = out->Row(row);
            for (int col = 0; col < w; ++col) {
                unsigned long p = XGetPixel(image, col, row);
                dst[col] = 0xFF000000u | Channel(p, image->red_mask) << 16 |
                           Channel(p, image->green_mask) << 8 | Channel(p, image->blue_mask);
            }
        }
    }
    XDestroyImage(image);
    return out->Valid() ? std::move(out) : nullptr;
}

int ReportXError(::Display* display, XErrorEvent* error) {
    char text[256] = {};
    XGetErrorText(display, error->error_code, text, sizeof text);
    std::fprintf(stderr, "X error: %s (request %d, resource 0x%lx)\n", text, error->request_code,
                 error->resourceid);
    return 0;
}

::Display* gQueries = nullptr;

}  // namespace

bool X11OpenQueries() {
    if (!gQueries) gQueries = XOpenDisplay(nullptr);
    return gQueries != nullptr;
}

void X11CloseQueries() {
    if (gQueries) XCloseDisplay(gQueries);
    gQueries = nullptr;
}

bool X11CompositorRunning() {
    if (!gQueries) return false;
    const std::string name = "_NET_WM_CM_S" + std::to_string(DefaultScreen(gQueries));
    const Atom selection = XInternAtom(gQueries, name.c_str(), False);
    return selection != None && XGetSelectionOwner(gQueries, selection) != None;
}

unsigned long X11ArgbVisual() {
    if (!gQueries) return 0;
    XVisualInfo info;
    if (!XMatchVisualInfo(gQueries, DefaultScreen(gQueries), 32, TrueColor, &info)) return 0;
    return info.visualid;
}

void InstallX11ErrorReporter() {
    // The clipboard's owner serves from a thread of its own: Xlib must know
    // of threads before the first connection opens.
    static const bool threads = XInitThreads() != 0;
    (void)threads;
    XSetErrorHandler(ReportXError);
}

bool IsX11Window(SDL_Window* window) {
    XHandles x;
    return HandlesOf(window, x);
}

void X11Restack(const std::vector<SDL_Window*>& topToBottom) {
    // Raising from the bottom up leaves the first on top; a manager that
    // frames the windows sees each raise as a request, which it may refuse.
    ::Display* display = nullptr;
    for (auto it = topToBottom.rbegin(); it != topToBottom.rend(); ++it) {
        XHandles x;
        if (!HandlesOf(*it, x)) continue;
        XRaiseWindow(x.display, x.window);
        display = x.display;
    }
    if (display) XFlush(display);
}

bool X11SetShape(SDL_Window* window, const std::vector<TRect>& shape) {
    XHandles x;
    if (!HandlesOf(window, x)) return false;
    int eventBase = 0, errorBase = 0;
    if (!XShapeQueryExtension(x.display, &eventBase, &errorBase)) return false;
    if (shape.empty()) {
        XShapeCombineMask(x.display, x.window, ShapeBounding, 0, 0, None, ShapeSet);
    } else {
        std::vector<XRectangle> rects;
        for (const TRect& r : shape) {
            if (r.IsEmpty()) continue;
            XRectangle xr;
            xr.x = static_cast<short>(std::clamp(r.left, -32768, 32767));
            xr.y = static_cast<short>(std::clamp(r.top, -32768, 32767));
            xr.width = static_cast<unsigned short>(std::clamp(r.Width(), 0, 65535));
            xr.height = static_cast<unsigned short>(std::clamp(r.Height(), 0, 65535));
            rects.push_back(xr);
        }
        XShapeCombineRectangles(x.display, x.window, ShapeBounding, 0, 0, rects.data(),
                                static_cast<int>(rects.size()), ShapeSet, Unsorted);
    }
    XFlush(x.display);
    return true;
}

std::unique_ptr<Surface> X11ReadWindow(SDL_Window* window) {
    XHandles x;
    if (!HandlesOf(window, x)) return nullptr;
    XWindowAttributes attrs;
    if (!XGetWindowAttributes(x.display, x.window, &attrs) || attrs.map_state != IsViewable) return nullptr;
    XSync(x.display, False);
    return ReadDrawable(x.display, x.window, 0, 0, attrs.width, attrs.height);
}

std::unique_ptr<Surface> X11ReadScreen(SDL_Window* anyWindow, const TRect& area) {
    XHandles x;
    if (!HandlesOf(anyWindow, x)) return nullptr;
    XSync(x.display, False);
    ::Window root = DefaultRootWindow(x.display);
    return ReadDrawable(x.display, root, area.left, area.top, area.Width(), area.Height());
}

bool X11DockInTray(SDL_Window* window) {
    XHandles h;
    if (!HandlesOf(window, h)) return false;
    XWindowAttributes attributes;
    if (!XGetWindowAttributes(h.display, h.window, &attributes)) return false;
    const std::string selection =
        "_NET_SYSTEM_TRAY_S" + std::to_string(XScreenNumberOfScreen(attributes.screen));
    const ::Window host = XGetSelectionOwner(h.display, XInternAtom(h.display, selection.c_str(), False));
    if (host == None) return false;
    // XEmbed version 0, mapped by the embedder.
    const Atom info = XInternAtom(h.display, "_XEMBED_INFO", False);
    const long embed[2] = {0, 1};
    XChangeProperty(h.display, h.window, info, info, 32, PropModeReplace,
                    reinterpret_cast<const unsigned char*>(embed), 2);
    XEvent ev{};
    ev.xclient.type = ClientMessage;
    ev.xclient.window = host;
    ev.xclient.message_type = XInternAtom(h.display, "_NET_SYSTEM_TRAY_OPCODE", False);
    ev.xclient.format = 32;
    ev.xclient.data.l[0] = CurrentTime;
    ev.xclient.data.l[1] = 0;  // SYSTEM_TRAY_REQUEST_DOCK
    ev.xclient.data.l[2] = static_cast<long>(h.window);
    // The host may have gone since it was asked for: the reporter hears of it.
    XSendEvent(h.display, host, False, NoEventMask, &ev);
    XFlush(h.display);
    return true;
}

}  // namespace tarvel
