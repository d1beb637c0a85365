#include "link/DeviceFrame.h"

namespace tarvel {

uint8_t Checksum8(const uint8_t* bytes, size_t count) {
    uint8_t sum = 0;
    for (size_t i = 0; i < count; ++i) sum = static_cast<uint8_t>(sum + bytes[i]);
    return sum;
}

std::string HexText(const uint8_t* bytes, size_t count) {
    static const char kDigits[] = "0123456789ABCDEF";
    std::string text;
    text.reserve(count * 3);
    for (size_t i = 0; i < count; ++i) {
        text += kDigits[bytes[i] >> 4];
        text += kDigits[bytes[i] & 0x0F];
        text += ' ';
    }
    return text;
}

std::vector<uint8_t> BuildFrame(uint8_t address, uint8_t command, std::span<const uint8_t> data) {
    const uint32_t length = frame::kPlainLength + static_cast<uint32_t>(data.size());
    std::vector<uint8_t> out;
    out.reserve(length + frame::kOverhead);
    out.push_back(address);
    out.push_back(HiByte(length));
    out.push_back(LoByte(length));
    out.push_back(frame::kBoardTypeValue);
    out.push_back(command);
    out.push_back(frame::kHandshakeByte1);
    out.push_back(frame::kHandshakeByte2);
    out.insert(out.end(), data.begin(), data.end());
    out.push_back(Checksum8(out.data() + 1, out.size() - 1));
    return out;
}

std::vector<uint8_t> BuildRequest(uint8_t address, uint8_t command) {
    return BuildFrame(address, command, {});
}

std::vector<uint8_t> BuildShortFrame(uint8_t moduleIndex) {
    std::vector<uint8_t> out{frame::kHandshakeByte1, frame::kHandshakeByte2, 0x16, 0x01, moduleIndex};
    out.push_back(Checksum8(out.data(), out.size()));
    return out;
}

uint8_t RequestAddress(int itemIndex) {
    return itemIndex < 0 ? 0xFF : static_cast<uint8_t>(itemIndex & 0xFF);
}

void PutU16(std::vector<uint8_t>& out, uint16_t v) {
    out.push_back(LoByte(v));
    out.push_back(HiByte(v));
}

void PutU32(std::vector<uint8_t>& out, uint32_t v) {
    for (int shift = 0; shift < 32; shift += 8) out.push_back(static_cast<uint8_t>(v >> shift));
}

}  // namespace tarvel
