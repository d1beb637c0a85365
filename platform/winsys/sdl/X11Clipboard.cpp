#include "platform/winsys/sdl/X11Clipboard.h"

#include <X11/Xatom.h>
#include <X11/Xlib.h>
#include <fcntl.h>
#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <thread>

#include "platform/base/LittleEndian.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {

namespace {

// An answer sent in pieces: the requestor deletes the property for each next one.
struct Transfer {
    ::Window requestor = 0;
    Atom property = 0;
    Atom type = 0;
    std::shared_ptr<const std::vector<uint8_t>> data;
    size_t sent = 0;
};

// The packed DIB with a file header in front: a BMP file.
std::vector<uint8_t> BmpFileOf(const std::vector<uint8_t>& dib) {
    if (dib.size() < 40) return {};
    const uint32_t header = LoadLe32(dib.data());
    const uint32_t bits = LoadLe16(dib.data() + 14), compression = LoadLe32(dib.data() + 16);
    const uint32_t used = LoadLe32(dib.data() + 32);
    const uint64_t masks = compression == 3 && header == 40 ? 12 : 0;
    const uint64_t colours = used ? used : (bits <= 8 ? uint64_t{1} << bits : 0);
    const uint64_t offset = 14 + header + masks + colours * 4;
    if (offset > 14 + dib.size() || dib.size() > UINT32_MAX - 14) return {};
    std::vector<uint8_t> file(14 + dib.size());
    file[0] = 'B';
    file[1] = 'M';
    StoreLe32(file.data() + 2, static_cast<uint32_t>(file.size()));
    StoreLe32(file.data() + 10, static_cast<uint32_t>(offset));
    std::memcpy(file.data() + 14, dib.data(), dib.size());
    return file;
}

}  // namespace

struct X11ClipboardOwner::State {
    ::Display* display = nullptr;
    ::Window window = 0;
    Atom clipboard = 0, targets = 0, png = 0, bmp = 0, incr = 0;
    size_t piece = 0;  // the most one request carries
    int wake[2] = {-1, -1};
    std::thread thread;

    // Between the GUI thread and the server's.
    mutable std::mutex mutex;
    std::condition_variable taken;
    std::shared_ptr<const std::vector<uint8_t>> dib;
    std::shared_ptr<const Surface> pixels;
    uint64_t asked = 0, done = 0;  // offers made and carried out
    bool holds = false;
    bool stop = false;

    // The server thread's own.
    std::shared_ptr<const std::vector<uint8_t>> pngBytes, bmpBytes;
    std::vector<Transfer> transfers;
};

X11ClipboardOwner::X11ClipboardOwner() : state_(std::make_unique<State>()) {}

std::unique_ptr<X11ClipboardOwner> X11ClipboardOwner::Open() {
    ::Display* d = XOpenDisplay(nullptr);
    if (!d) return nullptr;
    std::unique_ptr<X11ClipboardOwner> owner(new X11ClipboardOwner());
    State& s = *owner->state_;
    s.display = d;
    s.window = XCreateSimpleWindow(d, DefaultRootWindow(d), -10, -10, 1, 1, 0, 0, 0);
    s.clipboard = XInternAtom(d, "CLIPBOARD", False);
    s.targets = XInternAtom(d, "TARGETS", False);
    s.png = XInternAtom(d, "image/png", False);
    s.bmp = XInternAtom(d, "image/bmp", False);
    s.incr = XInternAtom(d, "INCR", False);
    s.piece = static_cast<size_t>(XMaxRequestSize(d)) * 4 - 256;
    if (pipe2(s.wake, O_CLOEXEC | O_NONBLOCK) != 0) {
        XCloseDisplay(d);
        s.display = nullptr;
        return nullptr;
    }
    XFlush(d);
    s.thread = std::thread([o = owner.get()] { o->Serve(); });
    return owner;
}

X11ClipboardOwner::~X11ClipboardOwner() {
    State& s = *state_;
    {
        std::lock_guard<std::mutex> lock(s.mutex);
        s.stop = true;
    }
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(s.wake[1], &byte, 1);
    if (s.thread.joinable()) s.thread.join();
    if (s.display) XCloseDisplay(s.display);
    for (int fd : s.wake)
        if (fd >= 0) close(fd);
}

void X11ClipboardOwner::Offer(std::shared_ptr<const std::vector<uint8_t>> dib,
                              std::shared_ptr<const Surface> pixels) {
    State& s = *state_;
    std::unique_lock<std::mutex> lock(s.mutex);
    s.dib = std::move(dib);
    s.pixels = std::move(pixels);
    const uint64_t offer = ++s.asked;
    const char byte = 1;
    [[maybe_unused]] ssize_t n = write(s.wake[1], &byte, 1);
    // A loaded server can take a while; the claim is a round trip.
    s.taken.wait_for(lock, std::chrono::seconds(5), [&] { return s.done >= offer; });
}

bool X11ClipboardOwner::Holds() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->holds;
}

void X11ClipboardOwner::Serve() {
    State& s = *state_;
    ::Display* d = s.display;
    auto answer = [&](const XSelectionRequestEvent& r) {
        XEvent reply{};
        reply.xselection.type = SelectionNotify;
        reply.xselection.display = d;
        reply.xselection.requestor = r.requestor;
        reply.xselection.selection = r.selection;
        reply.xselection.target = r.target;
        reply.xselection.time = r.time;
        reply.xselection.property = None;
        // An old client names no property: the target's name is it.
        const Atom property = r.property == None ? r.target : r.property;
        bool holds = false;
        std::shared_ptr<const std::vector<uint8_t>> dib;
        std::shared_ptr<const Surface> pixels;
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            holds = s.holds;
            dib = s.dib;
            pixels = s.pixels;
        }
        if (r.selection == s.clipboard && holds && r.owner == s.window) {
            if (r.target == s.targets) {
                std::vector<long> list{static_cast<long>(s.targets), static_cast<long>(s.bmp)};
                if (pixels) list.insert(list.begin() + 1, static_cast<long>(s.png));
                XChangeProperty(d, r.requestor, property, XA_ATOM, 32, PropModeReplace,
                                reinterpret_cast<const unsigned char*>(list.data()),
                                static_cast<int>(list.size()));
                reply.xselection.property = property;
            } else if (r.target == s.png || r.target == s.bmp) {
                // Made at the first request for them.
                std::shared_ptr<const std::vector<uint8_t>>& bytes =
                    r.target == s.png ? s.pngBytes : s.bmpBytes;
                if (!bytes) {
                    if (r.target == s.png && pixels)
                        bytes = std::make_shared<const std::vector<uint8_t>>(EncodePng(*pixels));
                    else if (r.target == s.bmp && dib)
                        bytes = std::make_shared<const std::vector<uint8_t>>(BmpFileOf(*dib));
                }
                if (bytes && !bytes->empty()) {
                    if (bytes->size() <= s.piece) {
                        XChangeProperty(d, r.requestor, property, r.target, 8, PropModeReplace, bytes->data(),
                                        static_cast<int>(bytes->size()));
                    } else {
                        // Too big for one request: the size first, then pieces as
                        // the requestor takes each one.
                        XSelectInput(d, r.requestor, PropertyChangeMask);
                        const long size = static_cast<long>(bytes->size());
                        XChangeProperty(d, r.requestor, property, s.incr, 32, PropModeReplace,
                                        reinterpret_cast<const unsigned char*>(&size), 1);
                        s.transfers.push_back(Transfer{r.requestor, property, r.target, bytes});
                    }
                    reply.xselection.property = property;
                }
            }
        }
        XSendEvent(d, r.requestor, False, NoEventMask, &reply);
    };
    auto nextPiece = [&](const XPropertyEvent& p) {
        if (p.state != PropertyDelete) return;
        auto it = std::find_if(s.transfers.begin(), s.transfers.end(), [&](const Transfer& t) {
            return t.requestor == p.window && t.property == p.atom;
        });
        if (it == s.transfers.end()) return;
        const size_t n = std::min(s.piece, it->data->size() - it->sent);
        XChangeProperty(d, it->requestor, it->property, it->type, 8, PropModeReplace,
                        it->data->data() + it->sent, static_cast<int>(n));
        it->sent += n;
        // The empty piece after the last one ends the transfer.
        if (n == 0) {
            XSelectInput(d, it->requestor, NoEventMask);
            s.transfers.erase(it);
        }
    };
    for (;;) {
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            if (s.stop) break;
            if (s.done != s.asked) {
                s.pngBytes.reset();
                s.bmpBytes.reset();
                s.transfers.clear();
                if (s.dib) {
                    XSetSelectionOwner(d, s.clipboard, s.window, CurrentTime);
                    s.holds = XGetSelectionOwner(d, s.clipboard) == s.window;
                } else {
                    if (s.holds && XGetSelectionOwner(d, s.clipboard) == s.window)
                        XSetSelectionOwner(d, s.clipboard, None, CurrentTime);
                    s.holds = false;
                }
                s.done = s.asked;
                s.taken.notify_all();
            }
        }
        while (XPending(d)) {
            XEvent ev;
            XNextEvent(d, &ev);
            if (ev.type == SelectionRequest) {
                answer(ev.xselectionrequest);
            } else if (ev.type == SelectionClear && ev.xselectionclear.selection == s.clipboard) {
                // A loss older than our last claim is no loss.
                const bool ours = XGetSelectionOwner(d, s.clipboard) == s.window;
                std::lock_guard<std::mutex> lock(s.mutex);
                if (!ours) s.holds = false;
            } else if (ev.type == PropertyNotify) {
                nextPiece(ev.xproperty);
            }
        }
        XFlush(d);
        pollfd fds[2] = {{ConnectionNumber(d), POLLIN, 0}, {s.wake[0], POLLIN, 0}};
        poll(fds, 2, 500);
        char drain[16];
        while (read(s.wake[0], drain, sizeof drain) > 0) {
        }
    }
}

}  // namespace tarvel
