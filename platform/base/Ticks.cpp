#include "platform/base/Ticks.h"

#include <chrono>
#include <mutex>
#include <thread>

namespace tarvel {

namespace {
std::mutex gSourceMutex;
std::function<uint32_t()> gSource;
}  // namespace

uint32_t GetTickCount() {
    {
        std::lock_guard<std::mutex> lock(gSourceMutex);
        if (gSource) return gSource();
    }
    using namespace std::chrono;
    const auto ms = duration_cast<milliseconds>(steady_clock::now().time_since_epoch()).count();
    return static_cast<uint32_t>(ms);
}

void Sleep(uint32_t milliseconds) { std::this_thread::sleep_for(std::chrono::milliseconds(milliseconds)); }

void SetTickSource(std::function<uint32_t()> source) {
    std::lock_guard<std::mutex> lock(gSourceMutex);
    gSource = std::move(source);
}

bool QueryPerformanceCounter(int64_t* count) {
    if (!count) return false;
    *count = std::chrono::steady_clock::now().time_since_epoch().count();
    return true;
}

bool QueryPerformanceFrequency(int64_t* frequency) {
    if (!frequency) return false;
    using Period = std::chrono::steady_clock::period;
    static_assert(Period::num == 1, "the steady clock counts fractions of a second");
    *frequency = Period::den;
    return true;
}

}  // namespace tarvel
