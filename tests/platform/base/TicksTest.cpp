#include "platform/base/Ticks.h"

#include <gtest/gtest.h>

using namespace tarvel;

TEST(PerformanceCounter, MeasuresRealTimeWhateverTheTickSource) {
    int64_t frequency = 0, before = 0, after = 0;
    ASSERT_TRUE(QueryPerformanceFrequency(&frequency));
    EXPECT_GE(frequency, 1000000);  // at least microseconds
    SetTickSource([] { return 7u; });
    ASSERT_TRUE(QueryPerformanceCounter(&before));
    Sleep(20);
    ASSERT_TRUE(QueryPerformanceCounter(&after));
    SetTickSource(nullptr);
    const double seconds = static_cast<double>(after - before) / static_cast<double>(frequency);
    EXPECT_GE(seconds, 0.019);
    EXPECT_LT(seconds, 5.0);
}

TEST(PerformanceCounter, NeverGoesBackAndRefusesNullResults) {
    int64_t last = 0;
    for (int i = 0; i < 1000; ++i) {
        int64_t now = 0;
        ASSERT_TRUE(QueryPerformanceCounter(&now));
        ASSERT_GE(now, last);
        last = now;
    }
    EXPECT_FALSE(QueryPerformanceCounter(nullptr));
    EXPECT_FALSE(QueryPerformanceFrequency(nullptr));
}
