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
                                                          std::span<const NumberLimits> limits,
                                                          std::string* refusal) {
    std::vector<int64_t> numbers;
    size_t pos = 0;
    const auto isSpace = [](char c) { return std::isspace(static_cast<unsigned char>(c)) != 0; };
    const std::string ofAll = " of " + IntToStr(static_cast<int64_t>(limits.size()));
    const auto refuse = [&](const std::string& why) -> std::optional<std::vector<int64_t>> {
        if (refusal) *refusal = why;
        return std::nullopt;
    };
    for (const NumberLimits& limit : limits) {
        while (pos < text.size() && isSpace(text[pos])) ++pos;
        const std::string which = "number " + IntToStr(static_cast<int64_t>(numbers.size()) + 1) + ofAll;
        if (pos >= text.size())
            return refuse("it ends after " + IntToStr(static_cast<int64_t>(numbers.size())) + ofAll +
                          " numbers");
        const size_t start = pos;
        if (pos < text.size() && (text[pos] == '+' || text[pos] == '-')) ++pos;
        const size_t digits = pos;
        while (pos < text.size() && std::isdigit(static_cast<unsigned char>(text[pos]))) ++pos;
        int64_t value = 0;
        if (pos == digits || !TryStrToInt64(text.substr(start, pos - start), value))
            return refuse(which + " is not a whole number");
        if (value < limit.min || value > limit.max)
            return refuse(which + ", " + IntToStr(value) + ", lies outside " + IntToStr(limit.min) + " to " +
                          IntToStr(limit.max));
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
