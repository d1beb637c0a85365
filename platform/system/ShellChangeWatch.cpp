#include "platform/system/ShellChangeWatch.h"

#include <poll.h>
#include <sys/eventfd.h>
#include <sys/inotify.h>
#include <sys/stat.h>
#include <unistd.h>

#include <atomic>
#include <cerrno>
#include <mutex>
#include <thread>
#include <unordered_map>
#include <vector>

#include "platform/base/Folders.h"

namespace tarvel {

namespace {

constexpr uint32_t kNameEvents = IN_CREATE | IN_DELETE | IN_MOVED_FROM | IN_MOVED_TO;
constexpr uint32_t kSelfEvents = IN_DELETE_SELF | IN_MOVE_SELF;
// A sub-tree of more folders than this is watched in its first ones only.
constexpr size_t kMaxWatches = 8192;

uint32_t MaskOf(uint32_t filters) {
    uint32_t mask = kSelfEvents;
    if (filters & (scfFileName | scfDirName)) mask |= kNameEvents;
    if (filters & (scfAttributes | scfSecurity)) mask |= IN_ATTRIB;
    if (filters & scfSize) mask |= IN_MODIFY;
    if (filters & scfLastWrite) mask |= IN_MODIFY | IN_CLOSE_WRITE;
    return mask;
}

// Whether one event is a change the filters ask about.
bool Relevant(const inotify_event& e, uint32_t filters) {
    if (e.mask & (kSelfEvents | IN_ATTRIB | IN_MODIFY | IN_CLOSE_WRITE)) return true;
    if (e.mask & kNameEvents) return (filters & ((e.mask & IN_ISDIR) ? scfDirName : scfFileName)) != 0;
    return false;
}

}  // namespace

struct TShellChangeWatch::TState {
    PostToGui post;
    std::function<void()> onChange;  // GUI thread only

    std::mutex mutex;  // guards the options below
    std::string folder;
    bool subTree = false;
    uint32_t filters = 0;
    uint64_t generation = 0;  // counts SetOptions
    bool stop = false;

    int wake = -1;
    std::atomic<bool> pending{false};  // a call-back is posted and has not run
    std::atomic<uint64_t> armed{0};    // the generation being watched, 0 for none
    std::thread worker;
};

TShellChangeWatch::TShellChangeWatch(PostToGui post, std::function<void()> onChange)
    : state_(std::make_shared<TState>()) {
    state_->post = std::move(post);
    state_->onChange = std::move(onChange);
    state_->wake = ::eventfd(0, EFD_CLOEXEC | EFD_NONBLOCK);
    if (state_->wake >= 0) state_->worker = std::thread([this] { Run(); });
}

TShellChangeWatch::~TShellChangeWatch() {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->stop = true;
    }
    const uint64_t one = 1;
    if (state_->wake >= 0 && ::write(state_->wake, &one, sizeof one) < 0) {
        // The counter is full: the worker is awake anyway.
    }
    if (state_->worker.joinable()) state_->worker.join();
    if (state_->wake >= 0) ::close(state_->wake);
}

void TShellChangeWatch::SetOptions(const std::string& folder, bool subTree, uint32_t filters) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->folder = folder;
        state_->subTree = subTree;
        state_->filters = filters;
        ++state_->generation;
    }
    const uint64_t one = 1;
    if (state_->wake >= 0 && ::write(state_->wake, &one, sizeof one) < 0) {
    }
}

void TShellChangeWatch::SetOnChange(std::function<void()> onChange) {
    state_->onChange = std::move(onChange);
}

bool TShellChangeWatch::Watching() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    return state_->generation != 0 && state_->armed.load() == state_->generation;
}

void TShellChangeWatch::Run() {
    TState& s = *state_;
    const std::weak_ptr<TState> weak = state_;
    int inotify = -1;
    uint64_t seen = 0;
    std::string folder;
    bool subTree = false;
    uint32_t filters = 0;
    std::unordered_map<int, std::string> watches;

    auto addWatch = [&](const std::string& path) {
        if (watches.size() >= kMaxWatches) return false;
        const int wd = ::inotify_add_watch(inotify, path.c_str(), MaskOf(filters) | IN_ONLYDIR);
        if (wd < 0) return false;
        watches[wd] = path;
        return true;
    };
    // The folders below `path`, links not followed (a link can loop).
    std::function<void(const std::string&)> addSubFolders = [&](const std::string& path) {
        std::vector<TFolderEntry> entries;
        if (!ListFolder(path, entries)) return;
        for (const TFolderEntry& e : entries) {
            if (!e.folder) continue;
            const std::string child = JoinPath(path, e.name);
            struct stat st;
            if (::lstat(child.c_str(), &st) != 0 || !S_ISDIR(st.st_mode)) continue;
            if (addWatch(child)) addSubFolders(child);
        }
    };
    auto arm = [&] {
        if (inotify >= 0) ::close(inotify);  // every old watch goes with it
        watches.clear();
        inotify = ::inotify_init1(IN_NONBLOCK | IN_CLOEXEC);
        bool ok = inotify >= 0 && !folder.empty() && addWatch(folder);
        if (ok && subTree) addSubFolders(folder);
        s.armed = ok ? seen : 0;
    };
    auto notify = [&] {
        if (s.pending.exchange(true)) return;
        s.post([weak] {
            const std::shared_ptr<TState> state = weak.lock();
            if (!state) return;
            state->pending = false;
            if (state->onChange) state->onChange();
        });
    };

    for (;;) {
        {
            std::lock_guard<std::mutex> lock(s.mutex);
            if (s.stop) break;
            if (s.generation != seen) {
                seen = s.generation;
                folder = s.folder;
                subTree = s.subTree;
                filters = s.filters;
                arm();
            }
        }
        pollfd fds[2] = {{s.wake, POLLIN, 0}, {inotify, POLLIN, 0}};
        if (::poll(fds, inotify >= 0 ? 2 : 1, -1) < 0) {
            if (errno == EINTR) continue;
            break;
        }
        if (fds[0].revents & POLLIN) {
            uint64_t count;
            if (::read(s.wake, &count, sizeof count) < 0) {
            }
        }
        if (inotify < 0 || !(fds[1].revents & POLLIN)) continue;
        bool changed = false;
        alignas(inotify_event) char buffer[8192];
        ssize_t got;
        while ((got = ::read(inotify, buffer, sizeof buffer)) > 0) {
            for (char* p = buffer; p < buffer + got;) {
                const auto& e = *reinterpret_cast<const inotify_event*>(p);
                p += sizeof(inotify_event) + e.len;
                if (Relevant(e, filters)) changed = true;
                // A folder made inside a watched sub-tree is watched too.
                if (subTree && (e.mask & IN_ISDIR) && (e.mask & (IN_CREATE | IN_MOVED_TO)) && e.len) {
                    auto it = watches.find(e.wd);
                    if (it != watches.end()) {
                        const std::string child = JoinPath(it->second, e.name);
                        if (addWatch(child)) addSubFolders(child);
                    }
                }
                if (e.mask & IN_IGNORED) watches.erase(e.wd);
            }
        }
        if (changed) notify();
    }
    if (inotify >= 0) ::close(inotify);
}

}  // namespace tarvel
