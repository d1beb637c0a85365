#include "platform/system/ProfileFiles.h"

#include <optional>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

struct IniLine {
    std::string text;  // without the line end
    enum Kind { Other, Section, Key } kind = Other;
    std::string name;   // section or key, trimmed
    std::string value;  // trimmed
};

std::string_view StripLineEnd(std::string_view line) {
    while (!line.empty() && (line.back() == '\r' || line.back() == '\n')) line.remove_suffix(1);
    return line;
}

IniLine PlainLine(std::string text) {
    IniLine line;
    line.text = std::move(text);
    return line;
}

IniLine ParseLine(std::string_view raw) {
    IniLine line = PlainLine(std::string(StripLineEnd(raw)));
    const std::string trimmed = Trim(line.text);
    if (trimmed.empty() || trimmed[0] == ';') return line;
    if (trimmed[0] == '[') {
        const size_t close = trimmed.find(']');
        if (close == std::string::npos) return line;  // malformed: skipped
        line.kind = IniLine::Section;
        line.name = Trim(std::string_view(trimmed).substr(1, close - 1));
        return line;
    }
    const size_t eq = trimmed.find('=');
    if (eq == std::string::npos) return line;
    line.kind = IniLine::Key;
    line.name = Trim(std::string_view(trimmed).substr(0, eq));
    line.value = Trim(std::string_view(trimmed).substr(eq + 1));
    return line;
}

struct IniFile {
    std::vector<IniLine> lines;
    std::string lineEnd = "\n";
};

// The file's lines; an empty file when it is missing, nothing when it is
// there but cannot be read.
std::optional<IniFile> Load(std::string_view file) {
    IniFile ini;
    std::string text;
    try {
        if (!FileExists(file) && !DirectoryExists(file)) return ini;
        text = ReadFileText(file, kMaxIniFileBytes);
    } catch (const Exception&) {
        return std::nullopt;
    }
    if (text.compare(0, 3, "\xEF\xBB\xBF") == 0) text.erase(0, 3);
    const size_t firstEnd = text.find('\n');
    if (firstEnd != std::string::npos && firstEnd > 0 && text[firstEnd - 1] == '\r') ini.lineEnd = "\r\n";
    size_t start = 0;
    while (start < text.size()) {
        size_t end = text.find('\n', start);
        if (end == std::string::npos) end = text.size();
        ini.lines.push_back(ParseLine(std::string_view(text).substr(start, end - start)));
        start = end + 1;
    }
    return ini;
}

// Index of the section's header line, or none.
std::optional<size_t> FindSection(const IniFile& ini, std::string_view section) {
    const std::string wanted = Trim(section);
    for (size_t i = 0; i < ini.lines.size(); ++i)
        if (ini.lines[i].kind == IniLine::Section && SameText(ini.lines[i].name, wanted)) return i;
    return std::nullopt;
}

// One past the section's last line.
size_t SectionEnd(const IniFile& ini, size_t header) {
    size_t i = header + 1;
    while (i < ini.lines.size() && ini.lines[i].kind != IniLine::Section) ++i;
    return i;
}

std::optional<size_t> FindKey(const IniFile& ini, size_t header, std::string_view key) {
    const std::string wanted = Trim(key);
    const size_t end = SectionEnd(ini, header);
    for (size_t i = header + 1; i < end; ++i)
        if (ini.lines[i].kind == IniLine::Key && SameText(ini.lines[i].name, wanted)) return i;
    return std::nullopt;
}

std::optional<std::string> Lookup(std::string_view section, std::string_view key, std::string_view file) {
    const IniFile ini = Load(file).value_or(IniFile{});
    const auto header = FindSection(ini, section);
    if (!header) return std::nullopt;
    const auto line = FindKey(ini, *header, key);
    if (!line) return std::nullopt;
    return ini.lines[*line].value;
}

std::optional<int32_t> LeadingInteger(std::string_view text) {
    size_t i = 0;
    while (i < text.size() && (text[i] == ' ' || text[i] == '\t')) ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '-' || text[i] == '+')) negative = text[i++] == '-';
    const size_t digits = i;
    int64_t value = 0;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i) {
        value = value * 10 + (text[i] - '0');
        if (value > int64_t{INT32_MAX} + 1) return std::nullopt;
    }
    if (i == digits) return std::nullopt;
    if (negative) value = -value;
    if (value < INT32_MIN || value > INT32_MAX) return std::nullopt;
    return static_cast<int32_t>(value);
}

}  // namespace

int32_t GetPrivateProfileInt(std::string_view section, std::string_view key, int32_t defaultValue,
                             std::string_view file) {
    const auto value = Lookup(section, key, file);
    if (!value) return defaultValue;
    return LeadingInteger(*value).value_or(defaultValue);
}

std::string GetPrivateProfileString(std::string_view section, std::string_view key,
                                    std::string_view defaultValue, size_t size, std::string_view file) {
    std::string value = Lookup(section, key, file).value_or(std::string(defaultValue));
    if (size == 0) return "";
    if (value.size() > size - 1) {
        size_t cut = size - 1;
        // Back off to the start of a UTF-8 character.
        while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) --cut;
        value.resize(cut);
    }
    return value;
}

bool WritePrivateProfileString(std::string_view section, std::string_view key, std::string_view value,
                               std::string_view file) {
    // A file that cannot be read is not replaced by one that holds only this key.
    std::optional<IniFile> loaded = Load(file);
    if (!loaded) return false;
    IniFile& ini = *loaded;
    const std::string keyName = Trim(key);
    const std::string newLine = keyName + "=" + Trim(value);
    const auto header = FindSection(ini, section);
    if (!header) {
        if (!ini.lines.empty() && !Trim(ini.lines.back().text).empty()) ini.lines.push_back(PlainLine(""));
        ini.lines.push_back(PlainLine("[" + Trim(section) + "]"));
        ini.lines.push_back(PlainLine(newLine));
    } else if (const auto line = FindKey(ini, *header, key)) {
        ini.lines[*line].text = newLine;
    } else {
        size_t at = SectionEnd(ini, *header);
        while (at > *header + 1 && Trim(ini.lines[at - 1].text).empty()) --at;
        ini.lines.insert(ini.lines.begin() + static_cast<std::ptrdiff_t>(at), PlainLine(newLine));
    }
    std::string text;
    for (const IniLine& line : ini.lines) text += line.text + ini.lineEnd;
    return SaveFileText(file, text);
}

}  // namespace tarvel
