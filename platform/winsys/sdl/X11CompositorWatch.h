#pragma once
// Whether a compositing manager runs on the default screen, followed as it
// comes and goes: a connection of its own hears the owner of
// _NET_WM_CM_S<screen> change (XFixes) on a thread of its own and says so
// through `changed`, which may be called from that thread.

#include <functional>
#include <memory>

namespace tarvel {

class X11CompositorWatch {
public:
    // Null when the display cannot be opened or has no XFixes.
    static std::unique_ptr<X11CompositorWatch> Open(std::function<void()> changed);
    ~X11CompositorWatch();
    X11CompositorWatch(const X11CompositorWatch&) = delete;
    X11CompositorWatch& operator=(const X11CompositorWatch&) = delete;

    // As last heard from the server.
    bool Running() const;
    // True once after each change heard since the last call.
    bool TakeChange();

private:
    struct State;
    X11CompositorWatch();
    void Listen();

    std::unique_ptr<State> state_;
};

}  // namespace tarvel
