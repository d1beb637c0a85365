#pragma once
// Stands in for the window system's message queue in tests: worker threads
// post to it, the test thread runs what was posted.

#include <chrono>
#include <condition_variable>
#include <deque>
#include <functional>
#include <memory>
#include <mutex>

#include "platform/base/GuiPost.h"

namespace tarvel::testing {

class GuiQueue {
public:
    // Safe to call after the queue is gone: the tasks are then dropped.
    PostToGui Poster() {
        return [state = state_](GuiTask task) {
            {
                std::lock_guard<std::mutex> lock(state->mutex);
                state->tasks.push_back(std::move(task));
            }
            state->ready.notify_all();
        };
    }

    size_t Queued() const {
        std::lock_guard<std::mutex> lock(state_->mutex);
        return state_->tasks.size();
    }

    // Runs every task posted so far; the number run.
    size_t RunPending() {
        std::deque<GuiTask> tasks;
        {
            std::lock_guard<std::mutex> lock(state_->mutex);
            tasks.swap(state_->tasks);
        }
        for (GuiTask& task : tasks) task();
        return tasks.size();
    }

    // Runs posted tasks until `done` holds or the time is up; whether it held.
    bool RunUntil(const std::function<bool()>& done, std::chrono::milliseconds timeout) {
        const auto deadline = std::chrono::steady_clock::now() + timeout;
        for (;;) {
            RunPending();
            if (done()) return true;
            std::unique_lock<std::mutex> lock(state_->mutex);
            if (!state_->ready.wait_until(lock, deadline, [this] { return !state_->tasks.empty(); })) {
                lock.unlock();
                RunPending();
                return done();
            }
        }
    }

    void RunFor(std::chrono::milliseconds time) {
        RunUntil([] { return false; }, time);
    }

private:
    struct State {
        mutable std::mutex mutex;
        std::condition_variable ready;
        std::deque<GuiTask> tasks;
    };
    std::shared_ptr<State> state_ = std::make_shared<State>();
};

}  // namespace tarvel::testing
