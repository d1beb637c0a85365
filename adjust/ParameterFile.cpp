#include "adjust/ParameterFile.h"

#include <cctype>

#include "platform/base/Exceptions.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

std::string FormatParameterLine(std::span<const int64_t> numbers) {
    std::string line;
    for (int64_t n : numbers) line += IntToStr(n) + "\t";
    return line + "\r\n";
}

std::optional<std::vector<int64_t>> ParseParameterNumbers(std::string_view text,
                                                          std::span<const NumberLimits> limits) {
    std::vector<int64_t> numbers;
    size_t pos = 0;
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    for (const NumberLimits& limit : limits) {
        while (pos < text.size() && isSpace(text[pos])) ++pos;
        const size_t start = pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t digits = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        if (pos == digits) return std::nullopt;
        int64_t value = 0;
        if (!TryStrToInt64(text.substr(start, pos - start), value)) return std::nullopt;
        if (value < limit.min || value > limit.max) return std::nullopt;
        numbers.push_back(value);
    }
    return numbers;
}

std::optional<std::string> ReadParameterFile(const std::string& path, std::string* refusal) {
    try {
        return ReadFileText(path, kMaxParameterFileBytes);
    } catch (const EFileTooLarge& e) {
        if (refusal) *refusal = e.Message();
        return std::nullopt;
    } catch (const Exception&) {
        return std::nullopt;
    }
}

std::string WithRefusal(const char* message, const std::string& refusal) {
    return refusal.empty() ? std::string(message) : std::string(message) + " " + refusal;
}

}  // namespace tarvel
