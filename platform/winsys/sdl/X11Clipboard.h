#pragma once
// The picture on the clipboard, offered to other programs on X11: a window
// of a connection of its own owns the CLIPBOARD selection and answers
// TARGETS, image/png and image/bmp from a thread of its own (so a program of
// ours that asks, SDL's text clipboard included, is answered at once);
// answers larger than the server takes in one request go in INCR pieces.

#include <cstdint>
#include <memory>
#include <vector>

#include "platform/gdi/Surface.h"

namespace tarvel {

class X11ClipboardOwner {
public:
    // Null when the display cannot be opened.
    static std::unique_ptr<X11ClipboardOwner> Open();
    ~X11ClipboardOwner();
    X11ClipboardOwner(const X11ClipboardOwner&) = delete;
    X11ClipboardOwner& operator=(const X11ClipboardOwner&) = delete;

    // Takes the clipboard for the picture (`dib` a packed DIB, `pixels` the
    // same picture) and returns once it is ours, or a second has passed;
    // null gives it up.
    void Offer(std::shared_ptr<const std::vector<uint8_t>> dib, std::shared_ptr<const Surface> pixels);
    // The offer still stands: no other program has taken the clipboard.
    bool Holds() const;

private:
    struct State;
    X11ClipboardOwner();
    void Serve();

    std::unique_ptr<State> state_;
};

}  // namespace tarvel
