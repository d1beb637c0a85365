#pragma once
// Frames for the device-data tests: hex texts and the fixture files of
// tests/fixtures/device (hex bytes, '#' starts a comment).

#include <cstdint>
#include <fstream>
#include <sstream>
#include <stdexcept>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel::testing {

inline std::vector<uint8_t> Hex(std::string_view text) {
    std::vector<uint8_t> bytes;
    std::string token;
    std::istringstream in{std::string(text)};
    while (in >> token) bytes.push_back(static_cast<uint8_t>(std::stoul(token, nullptr, 16)));
    return bytes;
}

inline std::vector<uint8_t> DeviceFixture(const std::string& name) {
    std::ifstream in(std::string(TARVEL_SOURCE_DIR) + "/tests/fixtures/device/" + name);
    if (!in) throw std::runtime_error("missing fixture " + name);
    std::string all, line;
    while (std::getline(in, line)) {
        all += line.substr(0, line.find('#'));
        all += ' ';
    }
    return Hex(all);
}

// The frame with its Length field and checksum set for `data` after the
// status byte; handy for cutting fixtures short or long.
inline std::vector<uint8_t> ReplyFrame(uint8_t address, uint8_t code, const std::vector<uint8_t>& data,
                                       uint8_t status = 0) {
    const size_t length = data.size() + 5;
    std::vector<uint8_t> frame{
        address, static_cast<uint8_t>(length >> 8), static_cast<uint8_t>(length), 1, code, 0x55, 0xAA,
        status};
    frame.insert(frame.end(), data.begin(), data.end());
    uint8_t sum = 0;
    for (size_t i = 1; i < frame.size(); ++i) sum = static_cast<uint8_t>(sum + frame[i]);
    frame.push_back(sum);
    return frame;
}

}  // namespace tarvel::testing
