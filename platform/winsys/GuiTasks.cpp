#include "platform/winsys/GuiTasks.h"

#include <map>
#include <mutex>

#include "platform/winsys/MessageApi.h"
#include "platform/winsys/WinsysState.h"

namespace tarvel {

namespace {

// Tasks wait here, keyed by the number their message carries, so none is
// lost or leaked when its message is never dispatched.
struct PendingTasks {
    std::mutex mutex;
    std::map<LPARAM, GuiTask> tasks;
    LPARAM next = 1;
};

PendingTasks& Pending() {
    static PendingTasks pending;
    return pending;
}

GuiTask Take(LPARAM id) {
    PendingTasks& p = Pending();
    std::lock_guard<std::mutex> lock(p.mutex);
    const auto it = p.tasks.find(id);
    if (it == p.tasks.end()) return {};
    GuiTask task = std::move(it->second);
    p.tasks.erase(it);
    return task;
}

}  // namespace

bool PostGuiTask(GuiTask task) {
    if (!task) return false;
    PendingTasks& p = Pending();
    LPARAM id = 0;
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        id = p.next++;
        p.tasks.emplace(id, std::move(task));
    }
    if (PostMessage(nullptr, WM_GUITASK, 0, id)) return true;
    Take(id);
    return false;
}

PostToGui GuiPoster() {
    return [](GuiTask task) { PostGuiTask(std::move(task)); };
}

void RunGuiTask(LPARAM id) {
    if (GuiTask task = Take(id)) task();
}

int RunGuiTasks() {
    if (!OnGuiThread()) return 0;
    PendingTasks& p = Pending();
    LPARAM last = 0;
    {
        std::lock_guard<std::mutex> lock(p.mutex);
        last = p.next - 1;
    }
    int ran = 0;
    for (;;) {
        GuiTask task;
        {
            std::lock_guard<std::mutex> lock(p.mutex);
            // Tasks that these tasks post wait for the queue.
            if (p.tasks.empty() || p.tasks.begin()->first > last) return ran;
            task = std::move(p.tasks.begin()->second);
            p.tasks.erase(p.tasks.begin());
        }
        task();
        ++ran;
    }
}

bool IsGuiThread() { return OnGuiThread(); }

void DropGuiTasks() {
    std::map<LPARAM, GuiTask> dropped;
    {
        PendingTasks& p = Pending();
        std::lock_guard<std::mutex> lock(p.mutex);
        dropped.swap(p.tasks);
    }
    // Destroyed outside the lock: a task's destructor may tell a waiter.
}

}  // namespace tarvel
