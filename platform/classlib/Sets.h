#pragma once
// Small sets over an enumeration (component state, control style, font
// style ...), one bit per value; the values must lie in 0..63.

#include <cstdint>
#include <initializer_list>

namespace tarvel {

template <class E>
class TSet {
public:
    constexpr TSet() = default;
    constexpr TSet(std::initializer_list<E> values) {
        for (E v : values) bits_ |= Bit(v);
    }

    constexpr bool Contains(E v) const { return (bits_ & Bit(v)) != 0; }
    constexpr bool Empty() const { return bits_ == 0; }
    constexpr void Include(E v) { bits_ |= Bit(v); }
    constexpr void Exclude(E v) { bits_ &= ~Bit(v); }
    constexpr uint64_t Bits() const { return bits_; }

    constexpr TSet operator+(TSet o) const { return FromBits(bits_ | o.bits_); }
    constexpr TSet operator-(TSet o) const { return FromBits(bits_ & ~o.bits_); }
    constexpr TSet operator*(TSet o) const { return FromBits(bits_ & o.bits_); }
    constexpr TSet& operator+=(TSet o) {
        bits_ |= o.bits_;
        return *this;
    }
    constexpr TSet& operator-=(TSet o) {
        bits_ &= ~o.bits_;
        return *this;
    }
    constexpr bool operator==(const TSet&) const = default;

private:
    static constexpr uint64_t Bit(E v) { return uint64_t{1} << static_cast<unsigned>(v); }
    static constexpr TSet FromBits(uint64_t b) {
        TSet s;
        s.bits_ = b;
        return s;
    }

    uint64_t bits_ = 0;
};

}  // namespace tarvel
