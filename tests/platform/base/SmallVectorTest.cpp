#include "platform/base/SmallVector.h"

#include <gtest/gtest.h>

#include <vector>

namespace tarvel {
namespace {

using Small = SmallVector<int, 3>;

std::vector<int> Values(const Small& v) { return std::vector<int>(v.begin(), v.end()); }

Small Counting(int n) {
    Small v;
    for (int i = 0; i < n; ++i) v.push_back(i);
    return v;
}

// Every pair of sizes across the inline limit: copies, moves and swaps keep
// the values, and a vector that has grown keeps its buffer when it is
// cleared or given fewer values.
TEST(SmallVector, CopiesMovesAndSwapsAcrossTheInlineLimit) {
    for (int n : {0, 2, 3, 4, 9}) {
        for (int m : {0, 1, 3, 5, 12}) {
            SCOPED_TRACE(testing::Message() << n << " and " << m);
            const Small a = Counting(n), b = Counting(m);
            Small copy = a;
            copy = b;
            EXPECT_EQ(Values(copy), Values(b));
            Small moved = Counting(n);
            moved = Counting(m);
            EXPECT_EQ(Values(moved), Values(b));
            Small x = Counting(n), y = Counting(m);
            x.swap(y);
            EXPECT_EQ(Values(x), Values(b));
            EXPECT_EQ(Values(y), Values(a));
            Small taken(std::move(x));
            EXPECT_EQ(Values(taken), Values(b));
            EXPECT_TRUE(x.empty());
        }
    }
    Small grown = Counting(20);
    const size_t capacity = grown.capacity();
    const int* buffer = grown.data();
    grown.clear();
    grown = Counting(2);
    const Small more = Counting(15);
    grown = more;
    EXPECT_EQ(grown.capacity(), capacity);
    EXPECT_EQ(grown.data(), buffer);
}

TEST(SmallVector, PushingItsOwnElementWhileGrowing) {
    Small v = Counting(3);
    v.push_back(v[1]);  // the element lives in the buffer being replaced
    v.push_back(v.front());
    EXPECT_EQ(Values(v), (std::vector<int>{0, 1, 2, 1, 0}));
    v.erase_if([](int i) { return i == 1; });
    EXPECT_EQ(Values(v), (std::vector<int>{0, 2, 0}));
}

}  // namespace
}  // namespace tarvel
