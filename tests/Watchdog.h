#pragma once
// Bounds a step that must never block: if it has not finished within its
// time, the test program says which step hung and aborts, so CI sees a
// failure instead of waiting for ever on a blocked read.

#include <chrono>
#include <condition_variable>
#include <cstdio>
#include <cstdlib>
#include <mutex>
#include <string>
#include <thread>

namespace tarvel::testing {

class Watchdog {
public:
    Watchdog(std::string what, std::chrono::seconds limit) : what_(std::move(what)) {
        thread_ = std::thread([this, limit] {
            std::unique_lock<std::mutex> lock(mutex_);
            if (!done_.wait_for(lock, limit, [this] { return finished_; })) {
                std::fprintf(stderr, "Watchdog: \"%s\" blocked for more than %lld s\n", what_.c_str(),
                             static_cast<long long>(limit.count()));
                std::fflush(stderr);
                std::abort();
            }
        });
    }
    ~Watchdog() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            finished_ = true;
        }
        done_.notify_one();
        thread_.join();
    }
    Watchdog(const Watchdog&) = delete;
    Watchdog& operator=(const Watchdog&) = delete;

private:
    std::string what_;
    std::mutex mutex_;
    std::condition_variable done_;
    bool finished_ = false;
    std::thread thread_;
};

}  // namespace tarvel::testing
