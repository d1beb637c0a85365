#include "platform/serial/PortList.h"

#include <algorithm>
#include <cctype>
#include <charconv>
#include <filesystem>
#include <fstream>

namespace tarvel {

namespace {

namespace fs = std::filesystem;

bool IsPortName(const std::string& name) {
    for (const char* prefix : {"ttyS", "ttyUSB", "ttyACM"}) {
        const std::string p = prefix;
        if (name.size() > p.size() && name.compare(0, p.size(), p) == 0 &&
            std::all_of(name.begin() + static_cast<std::ptrdiff_t>(p.size()), name.end(),
                        [](char c) { return std::isdigit(static_cast<unsigned char>(c)); }))
            return true;
    }
    return false;
}

// "ttyS2" before "ttyS10".
bool NaturalLess(const std::string& a, const std::string& b) {
    const auto split = [](const std::string& s) {
        size_t i = s.size();
        while (i > 0 && std::isdigit(static_cast<unsigned char>(s[i - 1]))) --i;
        unsigned long number = 0;
        if (s.size() - i <= 9) std::from_chars(s.data() + i, s.data() + s.size(), number);
        return std::make_pair(s.substr(0, i), number);
    };
    return split(a) < split(b);
}

// An on-board port node exists for every port the driver could serve; only
// one whose UART type the driver found (not 0, "unknown") has a chip behind it.
bool HasUart(const fs::path& ttyDir) {
    std::ifstream file(ttyDir / "type");
    long type = 0;
    return static_cast<bool>(file >> type) && type != 0;
}

std::vector<std::string> SortedEntries(const fs::path& dir) {
    std::vector<std::string> names;
    std::error_code ec;
    for (fs::directory_iterator it(dir, ec), end; !ec && it != end; it.increment(ec))
        names.push_back(it->path().filename().string());
    std::sort(names.begin(), names.end(), NaturalLess);
    return names;
}

}  // namespace

std::vector<std::string> ListSerialPorts(const std::string& devRoot, const std::string& sysRoot) {
    std::vector<std::string> ports;
    std::error_code ec;
    for (const std::string& name : SortedEntries(fs::path(sysRoot) / "class" / "tty")) {
        if (!IsPortName(name)) continue;
        const fs::path ttyDir = fs::path(sysRoot) / "class" / "tty" / name;
        if (!fs::exists(ttyDir / "device", ec)) continue;
        if (name.starts_with("ttyS") && !HasUart(ttyDir)) continue;
        const fs::path node = fs::path(devRoot) / name;
        if (fs::exists(node, ec)) ports.push_back(node.string());
    }
    const fs::path byId = fs::path(devRoot) / "serial" / "by-id";
    for (const std::string& name : SortedEntries(byId)) ports.push_back((byId / name).string());
    return ports;
}

}  // namespace tarvel
