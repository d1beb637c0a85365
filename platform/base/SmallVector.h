#pragma once
// A vector of plain values that keeps the first N inline and goes to the
// heap only past that. Clearing, shrinking and copying into it keep what it
// has, so an area or a list reused paint after paint stops allocating once
// it has seen its largest size.

#include <algorithm>
#include <cstddef>
#include <cstdlib>
#include <cstring>
#include <new>
#include <type_traits>

namespace tarvel {

template <class T, size_t N>
class SmallVector {
    static_assert(std::is_trivially_copyable_v<T> && std::is_trivially_destructible_v<T>,
                  "SmallVector holds plain values only");
    static_assert(N > 0);

public:
    SmallVector() = default;
    SmallVector(std::initializer_list<T> values) { assign(values.begin(), values.end()); }
    SmallVector(const SmallVector& other) { assign(other.begin(), other.end()); }
    SmallVector(SmallVector&& other) noexcept { TakeFrom(other); }
    ~SmallVector() { Release(); }

    SmallVector& operator=(const SmallVector& other) {
        if (this != &other) assign(other.begin(), other.end());
        return *this;
    }
    SmallVector& operator=(SmallVector&& other) noexcept {
        if (this == &other) return *this;
        if (!other.OnHeap()) {
            // Ours may be bigger than theirs: keep it.
            assign(other.begin(), other.end());
            other.size_ = 0;
            return *this;
        }
        Release();
        TakeFrom(other);
        return *this;
    }

    size_t size() const { return size_; }
    size_t capacity() const { return capacity_; }
    bool empty() const { return size_ == 0; }
    T* data() { return data_; }
    const T* data() const { return data_; }
    T* begin() { return data_; }
    T* end() { return data_ + size_; }
    const T* begin() const { return data_; }
    const T* end() const { return data_ + size_; }
    T& operator[](size_t i) { return data_[i]; }
    const T& operator[](size_t i) const { return data_[i]; }
    T& front() { return data_[0]; }
    const T& front() const { return data_[0]; }
    T& back() { return data_[size_ - 1]; }
    const T& back() const { return data_[size_ - 1]; }

    void clear() { size_ = 0; }
    void pop_back() { --size_; }
    void push_back(const T& value) {
        if (size_ == capacity_) {
            const T copy = value;  // `value` may live in the old buffer
            Grow(size_ + 1);
            data_[size_++] = copy;
            return;
        }
        data_[size_++] = value;
    }
    // New elements are left as they were (values are plain).
    void resize(size_t n) {
        reserve(n);
        size_ = n;
    }
    void reserve(size_t n) {
        if (n > capacity_) Grow(n);
    }
    // assign and append take values from elsewhere, not from this vector.
    template <class It>
    void assign(It first, It last) {
        const size_t n = static_cast<size_t>(last - first);
        reserve(n);
        std::copy(first, last, data_);
        size_ = n;
    }
    template <class It>
    void append(It first, It last) {
        const size_t n = static_cast<size_t>(last - first);
        reserve(size_ + n);
        std::copy(first, last, data_ + size_);
        size_ += n;
    }
    // Removes [first, last).
    void erase(T* first, T* last) {
        std::copy(last, end(), first);
        size_ -= static_cast<size_t>(last - first);
    }
    template <class Pred>
    void erase_if(Pred pred) {
        erase(std::remove_if(begin(), end(), pred), end());
    }
    // Swaps contents; heap buffers change hands without copying.
    void swap(SmallVector& other) noexcept {
        if (OnHeap() && other.OnHeap()) {
            std::swap(data_, other.data_);
            std::swap(size_, other.size_);
            std::swap(capacity_, other.capacity_);
            return;
        }
        SmallVector tmp(std::move(other));
        other = std::move(*this);
        *this = std::move(tmp);
    }

    friend bool operator==(const SmallVector& a, const SmallVector& b) {
        return a.size_ == b.size_ && std::equal(a.begin(), a.end(), b.begin());
    }

private:
    bool OnHeap() const { return data_ != Inline(); }
    T* Inline() { return reinterpret_cast<T*>(inline_); }
    const T* Inline() const { return reinterpret_cast<const T*>(inline_); }

    void Grow(size_t atLeast) {
        const size_t capacity = std::max(atLeast, capacity_ * 2);
        T* bigger = static_cast<T*>(::operator new(capacity * sizeof(T)));
        if (size_) std::memcpy(static_cast<void*>(bigger), data_, size_ * sizeof(T));
        Release();
        data_ = bigger;
        capacity_ = capacity;
    }
    void Release() {
        if (OnHeap()) ::operator delete(data_);
        data_ = Inline();
        capacity_ = N;
    }
    // `this` holds nothing of its own.
    void TakeFrom(SmallVector& other) {
        if (other.OnHeap()) {
            data_ = other.data_;
            size_ = other.size_;
            capacity_ = other.capacity_;
            other.data_ = other.Inline();
            other.capacity_ = N;
        } else {
            size_ = other.size_;
            if (size_) std::memcpy(static_cast<void*>(data_), other.data_, size_ * sizeof(T));
        }
        other.size_ = 0;
    }

    alignas(T) unsigned char inline_[N * sizeof(T)];
    T* data_ = Inline();
    size_t size_ = 0;
    size_t capacity_ = N;
};

}  // namespace tarvel
