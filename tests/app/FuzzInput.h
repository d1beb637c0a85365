#pragma once
// A fuzz target's input read in order: each read takes what is left, and
// reads past the end give zeros and empty runs, so any input drives a whole
// run.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace tarvel::testing {

class FuzzInput {
public:
    FuzzInput(const uint8_t* data, size_t size) : data_(data), size_(size) {}
    bool Empty() const { return at_ >= size_; }
    uint8_t Byte() { return at_ < size_ ? data_[at_++] : 0; }
    // The next n bytes, fewer at the end.
    std::vector<uint8_t> Bytes(size_t n) {
        n = std::min(n, Left());
        std::vector<uint8_t> out(data_ + at_, data_ + at_ + n);
        at_ += n;
        return out;
    }
    // A text of under 24 bytes, its length taken from the next byte.
    std::string Text() {
        const size_t n = std::min<size_t>(Byte() % 24, Left());
        std::string out(reinterpret_cast<const char*>(data_ + at_), n);
        at_ += n;
        return out;
    }

private:
    size_t Left() const { return size_ - std::min(at_, size_); }

    const uint8_t* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace tarvel::testing
