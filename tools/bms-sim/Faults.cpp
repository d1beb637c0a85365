#include "tools/bms-sim/Faults.h"

#include <cstdlib>

#include "platform/base/Strings.h"

namespace tarvel::sim {

namespace {

struct KindName {
    const char* name;
    FaultKind kind;
};

constexpr KindName kKinds[] = {
    {"silent", FaultKind::Silent},         {"late", FaultKind::Late},
    {"bad-sum", FaultKind::WrongChecksum}, {"other-address", FaultKind::OtherAddress},
    {"split", FaultKind::Split},           {"noise", FaultKind::NoiseBefore},
    {"text", FaultKind::DeviceText},       {"auto", FaultKind::AutoSend},
    {"drop", FaultKind::DropOff},
};

std::optional<int64_t> Number(std::string_view text) {
    int64_t v = 0;
    if (!TryStrToInt64(text, v)) return std::nullopt;
    return v;
}

std::optional<Bytes> HexBytes(std::string_view text) {
    if (text.size() % 2 != 0) return std::nullopt;
    Bytes out;
    for (size_t i = 0; i < text.size(); i += 2) {
        int64_t v = 0;
        if (!TryStrToInt64("0x" + std::string(text.substr(i, 2)), v)) return std::nullopt;
        out.push_back(static_cast<uint8_t>(v));
    }
    return out;
}

bool SetKey(Fault& fault, std::string_view key, std::string_view value, std::string& error) {
    if (key == "text") {
        fault.text = std::string(value);
        return true;
    }
    if (key == "bytes") {
        const auto bytes = HexBytes(value);
        if (!bytes) error = "bytes must be pairs of hex digits";
        if (bytes) fault.bytes = *bytes;
        return bytes.has_value();
    }
    const auto n = Number(value);
    if (!n || *n < 0) {
        error = "'" + std::string(value) + "' is not a number for " + std::string(key);
        return false;
    }
    if (key == "cmd" && *n <= 0x7F)
        fault.command = static_cast<int>(*n);
    else if (key == "times" && *n <= 1'000'000)
        fault.times = static_cast<int>(*n);
    else if (key == "ms" && *n <= 600'000)
        fault.ms = static_cast<uint32_t>(*n);
    else if (key == "at" && *n <= 5000)
        fault.at = static_cast<size_t>(*n);
    else if (key == "addr" && *n <= 0xFF)
        fault.address = static_cast<uint8_t>(*n);
    else {
        error = "unknown key or value out of range: " + std::string(key);
        return false;
    }
    return true;
}

}  // namespace

std::optional<Fault> ParseFault(std::string_view spec, std::string& error) {
    const size_t colon = spec.find(':');
    const std::string_view kindName = spec.substr(0, colon);
    Fault fault;
    bool known = false;
    for (const KindName& k : kKinds) {
        if (kindName == k.name) {
            fault.kind = k.kind;
            known = true;
        }
    }
    if (!known) {
        error = "unknown fault '" + std::string(kindName) + "'";
        return std::nullopt;
    }
    if (fault.kind == FaultKind::DeviceText) fault.text = "simulated module text";
    std::string_view rest = colon == std::string_view::npos ? std::string_view{} : spec.substr(colon + 1);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view item = rest.substr(0, comma);
        rest = comma == std::string_view::npos ? std::string_view{} : rest.substr(comma + 1);
        const size_t eq = item.find('=');
        if (eq == std::string_view::npos) {
            error = "expected key=value, got '" + std::string(item) + "'";
            return std::nullopt;
        }
        if (!SetKey(fault, item.substr(0, eq), item.substr(eq + 1), error)) return std::nullopt;
    }
    return fault;
}

}  // namespace tarvel::sim
