#include "platform/winsys/DragDrop.h"

#include <algorithm>
#include <cstring>
#include <map>
#include <memory>
#include <mutex>

#include "platform/winsys/GuiTasks.h"
#include "platform/winsys/MessageApi.h"
#include "platform/winsys/WinConstants.h"
#include "platform/winsys/WindowApi.h"

namespace tarvel {

namespace {

struct Drop {
    std::vector<std::string> files;
    TPoint client;
};

// Drops live here until DragFinish; a handle is a key, never a pointer we
// follow, so a stale or made-up one finds nothing.
struct Drops {
    std::mutex mutex;
    std::map<uintptr_t, Drop> live;
    uintptr_t next = 1;
};

Drops& AllDrops() {
    static Drops drops;
    return drops;
}

uintptr_t Key(HDROP drop) { return reinterpret_cast<uintptr_t>(drop); }

template <class F>
auto WithDrop(HDROP drop, F use) -> decltype(use(std::declval<const Drop&>())) {
    Drops& d = AllDrops();
    std::lock_guard<std::mutex> lock(d.mutex);
    const auto it = d.live.find(Key(drop));
    if (it == d.live.end()) return {};
    return use(it->second);
}

bool AcceptsFiles(HWND hwnd) { return (GetWindowLongPtr(hwnd, GWL_EXSTYLE) & WS_EX_ACCEPTFILES) != 0; }

void Deliver(TPoint screen, std::vector<std::string> files) {
    HWND target = WindowFromPoint(screen);
    while (target && !AcceptsFiles(target)) target = GetAncestor(target, GA_PARENT);
    if (!target || files.empty()) return;
    TPoint client = screen;
    ScreenToClient(target, client);
    Drops& d = AllDrops();
    uintptr_t key = 0;
    {
        std::lock_guard<std::mutex> lock(d.mutex);
        key = d.next++;
        d.live.emplace(key, Drop{std::move(files), client});
    }
    if (!PostMessage(target, WM_DROPFILES, static_cast<WPARAM>(key), 0))
        DragFinish(reinterpret_cast<HDROP>(key));
}

}  // namespace

void DragAcceptFiles(HWND hwnd, bool accept) {
    if (!IsWindow(hwnd)) return;
    const LONG_PTR ex = GetWindowLongPtr(hwnd, GWL_EXSTYLE);
    SetWindowLongPtr(hwnd, GWL_EXSTYLE,
                     accept ? (ex | WS_EX_ACCEPTFILES) : (ex & ~LONG_PTR{WS_EX_ACCEPTFILES}));
}

UINT DragQueryFile(HDROP drop, UINT index, char* buffer, UINT size) {
    return WithDrop(drop, [&](const Drop& d) -> UINT {
        if (index == kDragQueryCount) return static_cast<UINT>(d.files.size());
        if (index >= d.files.size()) return 0;
        const std::string& name = d.files[index];
        if (buffer && size > 0) {
            const size_t n = std::min<size_t>(name.size(), size - 1);
            std::memcpy(buffer, name.data(), n);
            buffer[n] = '\0';
        }
        return static_cast<UINT>(name.size());
    });
}

std::string DragQueryFileName(HDROP drop, UINT index) {
    return WithDrop(drop, [&](const Drop& d) -> std::string {
        return index < d.files.size() ? d.files[index] : std::string();
    });
}

bool DragQueryPoint(HDROP drop, TPoint* point) {
    return WithDrop(drop, [&](const Drop& d) {
        if (point) *point = d.client;
        return true;
    });
}

void DragFinish(HDROP drop) {
    Drops& d = AllDrops();
    std::lock_guard<std::mutex> lock(d.mutex);
    d.live.erase(Key(drop));
}

void QueueFileDrop(TPoint screen, std::vector<std::string> files) {
    auto shared = std::make_shared<std::vector<std::string>>(std::move(files));
    PostGuiTask([screen, shared] { Deliver(screen, std::move(*shared)); });
}

}  // namespace tarvel
