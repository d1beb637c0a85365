#pragma once
// How much heap a piece of code held at its worst, over what was in use when
// it started. Under the sanitizers their allocator reports every allocation
// and release to hooks, so the peak is exact; a plain build has no such
// hooks and answers only what the code kept afterwards.

#include <algorithm>
#include <atomic>
#include <cstddef>
#include <cstdint>

#if defined(__SANITIZE_ADDRESS__) || defined(__SANITIZE_THREAD__)
#define TARVEL_HEAP_HOOKS 1
// The sanitizer runtime's allocator interface (not every compiler ships its header).
extern "C" {
int __sanitizer_install_malloc_and_free_hooks(void (*malloc_hook)(const volatile void*, size_t),
                                              void (*free_hook)(const volatile void*));
size_t __sanitizer_get_allocated_size(const volatile void* p);
}
#else
#include <malloc.h>
#endif

namespace tarvel::testing {

namespace heap_peak {
inline std::atomic<bool> armed{false};
inline std::atomic<int64_t> current{0};
inline std::atomic<int64_t> peak{0};

#ifdef TARVEL_HEAP_HOOKS
inline void OnMalloc(const volatile void* p, size_t size) {
    if (!p || !armed.load(std::memory_order_relaxed)) return;
    const int64_t now = current.fetch_add(static_cast<int64_t>(size)) + static_cast<int64_t>(size);
    int64_t seen = peak.load();
    while (now > seen && !peak.compare_exchange_weak(seen, now)) {
    }
}
// Runs before the block is released, while its size is still known.
inline void OnFree(const volatile void* p) {
    if (!p || !armed.load(std::memory_order_relaxed)) return;
    current.fetch_sub(static_cast<int64_t>(__sanitizer_get_allocated_size(p)));
}
#else
inline int64_t InUse() {
    const struct mallinfo2 m = mallinfo2();
    return static_cast<int64_t>(m.uordblks + m.hblkhd);
}
#endif
}  // namespace heap_peak

// True when the answer is the peak; false when it is only what was kept.
constexpr bool HeapPeakIsExact() {
#ifdef TARVEL_HEAP_HOOKS
    return true;
#else
    return false;
#endif
}

// The most bytes `run` held at once beyond those in use before it (never
// below zero). Not reentrant: one measurement at a time.
template <class F>
int64_t HeapPeakOf(F&& run) {
    using namespace heap_peak;
#ifdef TARVEL_HEAP_HOOKS
    static const bool installed = __sanitizer_install_malloc_and_free_hooks(&OnMalloc, &OnFree) != 0;
    if (!installed) return -1;
    current = 0;
    peak = 0;
    armed = true;
    run();
    armed = false;
    return peak.load();
#else
    const int64_t before = InUse();
    run();
    return std::max<int64_t>(0, InUse() - before);
#endif
}

}  // namespace tarvel::testing
