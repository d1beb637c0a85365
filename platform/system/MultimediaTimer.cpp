#include "platform/system/MultimediaTimer.h"

#include <atomic>
#include <chrono>
#include <condition_variable>
#include <map>
#include <memory>
#include <mutex>
#include <system_error>
#include <thread>

namespace tarvel {

namespace {

using Clock = std::chrono::steady_clock;

struct Timer : std::enable_shared_from_this<Timer> {
    Clock::duration period;
    TimerProc proc;
    PostToGui post;
    std::thread thread;
    std::mutex mutex;
    std::condition_variable wake;
    bool stop = false;
    std::atomic<bool> alive{true};
    std::atomic<uint32_t> pendingTicks{0};

    void Run() {
        // A thread that fell far behind (a suspended machine) starts afresh
        // instead of firing a burst of stale ticks.
        const Clock::duration resync = period * 10;
        Clock::time_point next = Clock::now() + period;
        std::unique_lock<std::mutex> lock(mutex);
        while (!stop) {
            if (wake.wait_until(lock, next, [this] { return stop; })) break;
            lock.unlock();
            Fire();
            lock.lock();
            next += period;
            const Clock::time_point now = Clock::now();
            if (now - next > resync) next = now + period;
        }
    }

    void Fire() {
        if (!post) {
            proc();
            return;
        }
        if (pendingTicks.fetch_add(1) == 0) {
            post([self = shared_from_this()] { self->RunPosted(); });
        }
    }

    // On the GUI thread.
    void RunPosted() {
        uint32_t ticks = pendingTicks.exchange(0);
        while (ticks-- > 0 && alive.load()) proc();
    }
};

std::mutex gTimersMutex;
std::map<uint32_t, std::shared_ptr<Timer>> gTimers;
uint32_t gNextId = 1;

}  // namespace

uint32_t TimeSetEvent(uint32_t periodMs, TimerProc proc, PostToGui post) {
    if (periodMs == 0 || !proc) return 0;
    auto timer = std::make_shared<Timer>();
    timer->period = std::chrono::milliseconds(periodMs);
    timer->proc = std::move(proc);
    timer->post = std::move(post);
    std::lock_guard<std::mutex> lock(gTimersMutex);
    try {
        timer->thread = std::thread([timer] { timer->Run(); });
    } catch (const std::system_error&) {
        return 0;
    }
    const uint32_t id = gNextId++;
    if (gNextId == 0) gNextId = 1;
    gTimers[id] = timer;
    return id;
}

bool TimeKillEvent(uint32_t id) {
    std::shared_ptr<Timer> timer;
    {
        std::lock_guard<std::mutex> lock(gTimersMutex);
        const auto it = gTimers.find(id);
        if (it == gTimers.end()) return false;
        timer = std::move(it->second);
        gTimers.erase(it);
    }
    timer->alive = false;
    {
        std::lock_guard<std::mutex> lock(timer->mutex);
        timer->stop = true;
    }
    timer->wake.notify_all();
    if (timer->thread.get_id() == std::this_thread::get_id()) {
        timer->thread.detach();  // killed from its own tick
    } else {
        timer->thread.join();
    }
    return true;
}

}  // namespace tarvel
