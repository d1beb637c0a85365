#include "tests/app/xvfb/XTopWindows.h"

#include <X11/Xlib.h>
#include <X11/Xutil.h>

namespace tarvel::testing {

std::optional<TRect> XMappedWindowTitled(const std::string& title) {
    Display* display = XOpenDisplay(nullptr);
    if (!display) return std::nullopt;
    std::optional<TRect> found;
    Window root = 0, parent = 0;
    Window* children = nullptr;
    unsigned int count = 0;
    if (XQueryTree(display, DefaultRootWindow(display), &root, &parent, &children, &count)) {
        for (unsigned int i = 0; i < count && !found; ++i) {
            XWindowAttributes attributes;
            if (!XGetWindowAttributes(display, children[i], &attributes) ||
                attributes.map_state != IsViewable)
                continue;
            XTextProperty name;
            if (!XGetWMName(display, children[i], &name) || !name.value) continue;
            const std::string shown(reinterpret_cast<const char*>(name.value), name.nitems);
            XFree(name.value);
            if (shown == title)
                found = TRect{attributes.x, attributes.y, attributes.x + attributes.width,
                              attributes.y + attributes.height};
        }
        if (children) XFree(children);
    }
    XCloseDisplay(display);
    return found;
}

}  // namespace tarvel::testing
