#include "tools/bms-sim/SimFrame.h"

#include <algorithm>
#include <cstring>

namespace tarvel::sim {

namespace {

uint8_t Sum(const uint8_t* p, size_t n) {
    unsigned sum = 0;
    for (size_t i = 0; i < n; ++i) sum += p[i];
    return static_cast<uint8_t>(sum & 0xFF);
}

constexpr size_t kMaxRequest = 600;  // the largest request is 148 bytes
constexpr uint32_t kStaleMs = 1000;

enum class Found { None, Partial, Frame };

Found Look(const Bytes& b, size_t at, Request& out) {
    const size_t left = b.size() - at;
    const uint8_t* p = b.data() + at;
    // The short frame 55 AA 16 01 index sum.
    if (p[0] == 0x55 && (left < 2 || p[1] == 0xAA) && (left < 3 || p[2] == 0x16) &&
        (left < 4 || p[3] == 0x01)) {
        if (left < 6) return Found::Partial;
        if (Sum(p, 5) == p[5]) {
            out = Request{Bytes(p, p + 6), true, p[4], 0x16, Bytes{p[4]}};
            return Found::Frame;
        }
    }
    if (left > 5 && p[5] != 0x55) return Found::None;
    if (left > 6 && p[6] != 0xAA) return Found::None;
    if (left < 7) return Found::Partial;
    const size_t length = (size_t{p[1]} << 8) | p[2];
    if (length < 4 || length + 4 > kMaxRequest) return Found::None;
    if (left < length + 4) return Found::Partial;
    if (Sum(p + 1, length + 2) != p[length + 3]) return Found::None;
    out = Request{Bytes(p, p + length + 4), false, p[0], p[4], Bytes(p + 7, p + length + 3)};
    return Found::Frame;
}

}  // namespace

Bytes MakeReply(uint8_t address, uint8_t code, uint8_t status, std::span<const uint8_t> data) {
    const size_t length = 5 + data.size();
    Bytes out{address,
              static_cast<uint8_t>(length >> 8),
              static_cast<uint8_t>(length & 0xFF),
              0x01,
              code,
              0x55,
              0xAA,
              status};
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(Sum(out.data() + 1, out.size() - 1));
    return out;
}

Bytes WithLength(const Bytes& frame, size_t length) {
    length = std::min<size_t>(length, 0xFFFF);
    Bytes out(frame.begin(), frame.end() - 1);
    out.resize(length + 3, 0);
    out[1] = static_cast<uint8_t>(length >> 8);
    out[2] = static_cast<uint8_t>(length & 0xFF);
    out.push_back(Sum(out.data() + 1, out.size() - 1));
    return out;
}

std::vector<Request> RequestReader::Feed(std::span<const uint8_t> bytes, uint32_t nowMs) {
    if (!held_.empty() && nowMs - lastMs_ > kStaleMs) {
        dropped_ += held_.size();
        held_.clear();
    }
    lastMs_ = nowMs;
    held_.insert(held_.end(), bytes.begin(), bytes.end());

    std::vector<Request> found;
    size_t at = 0;
    size_t keep = held_.size();
    while (at < held_.size()) {
        Request request;
        const Found f = Look(held_, at, request);
        if (f == Found::Frame) {
            dropped_ += (keep < at ? at - keep : 0);
            at += request.frame.size();
            keep = held_.size();
            found.push_back(std::move(request));
            continue;
        }
        if (f == Found::Partial && keep == held_.size()) keep = at;
        if (f == Found::None && keep == held_.size()) ++dropped_;
        ++at;
    }
    held_.erase(held_.begin(), held_.begin() + static_cast<std::ptrdiff_t>(keep));
    return found;
}

void Put16(Bytes& out, uint16_t v) {
    out.push_back(static_cast<uint8_t>(v & 0xFF));
    out.push_back(static_cast<uint8_t>(v >> 8));
}

void Put32(Bytes& out, uint32_t v) {
    Put16(out, static_cast<uint16_t>(v & 0xFFFF));
    Put16(out, static_cast<uint16_t>(v >> 16));
}

void PutText(Bytes& out, const char* text, size_t width) {
    const size_t n = std::min(std::strlen(text), width);
    out.insert(out.end(), text, text + n);
    out.insert(out.end(), width - n, 0);
}

}  // namespace tarvel::sim
