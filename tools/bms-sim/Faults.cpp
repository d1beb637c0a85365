#include "tools/bms-sim/Faults.h"

#include "platform/base/Strings.h"

namespace tarvel::sim {

namespace {

struct KindName {
    const char* name;
    FaultKind kind;
};

constexpr KindName kKinds[] = {
    {"silent", FaultKind::Silent},
    {"late", FaultKind::Late},
    {"bad-sum", FaultKind::WrongChecksum},
    {"other-address", FaultKind::OtherAddress},
    {"split", FaultKind::Split},
    {"noise", FaultKind::NoiseBefore},
    {"text", FaultKind::DeviceText},
    {"auto", FaultKind::AutoSend},
    {"drop", FaultKind::DropOff},
    {"oversize", FaultKind::Oversize},
    {"undersize", FaultKind::Undersize},
    {"cut", FaultKind::CutShort},
    {"wrong-code", FaultKind::WrongCode},
    {"duplicate", FaultKind::Duplicate},
    {"status", FaultKind::Status},
    {"flood", FaultKind::Flood},
    {"halt", FaultKind::Halt},
};

// The numeric keys with their ranges; "bytes" is numeric only for a flood.
struct NumberKey {
    const char* name;
    int64_t max;
    void (*set)(Fault&, int64_t);
};

constexpr NumberKey kNumberKeys[] = {
    {"cmd", 0x7F, [](Fault& f, int64_t v) { f.command = static_cast<int>(v); }},
    {"module", 0xFF, [](Fault& f, int64_t v) { f.module = static_cast<int>(v); }},
    {"times", 1'000'000, [](Fault& f, int64_t v) { f.times = static_cast<int>(v); }},
    {"ms", 600'000, [](Fault& f, int64_t v) { f.ms = static_cast<uint32_t>(v); }},
    {"at", 5000, [](Fault& f, int64_t v) { f.at = static_cast<size_t>(v); }},
    {"addr", 0xFF, [](Fault& f, int64_t v) { f.address = static_cast<uint8_t>(v); }},
    {"by", 0xFFFF, [](Fault& f, int64_t v) { f.by = static_cast<uint16_t>(v); }},
    {"code", 0xFF, [](Fault& f, int64_t v) { f.code = static_cast<uint8_t>(v); }},
    {"status", 0xFF, [](Fault& f, int64_t v) { f.status = static_cast<uint8_t>(v); }},
    {"bytes", 1024 * 1024, [](Fault& f, int64_t v) { f.floodBytes = static_cast<size_t>(v); }},
};

constexpr const char* kKeyNames = "cmd, module, times, ms, at, addr, by, code, status, text, bytes";

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
    if (key == "bytes" && fault.kind != FaultKind::Flood) {
        const auto bytes = HexBytes(value);
        if (!bytes) error = "bytes must be pairs of hex digits";
        if (bytes) fault.bytes = *bytes;
        return bytes.has_value();
    }
    for (const NumberKey& k : kNumberKeys) {
        if (key != k.name) continue;
        int64_t v = 0;
        if (!TryStrToInt64(value, v)) {
            error = "'" + std::string(value) + "' is not a number for " + std::string(key);
            return false;
        }
        if (v < 0 || v > k.max) {
            error = std::string(key) + " " + std::string(value) + " out of range 0.." + std::to_string(k.max);
            return false;
        }
        k.set(fault, v);
        return true;
    }
    error = "unknown key '" + std::string(key) + "' (keys: " + kKeyNames + ")";
    return false;
}

}  // namespace

std::string FaultKindNames() {
    std::string names;
    for (const KindName& k : kKinds) names += (names.empty() ? "" : ", ") + std::string(k.name);
    return names;
}

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
        error = "unknown fault '" + std::string(kindName) + "' (kinds: " + FaultKindNames() + ")";
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
