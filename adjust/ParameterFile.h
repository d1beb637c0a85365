#pragma once
// The text of ".bms" and ".kb" files: one line of decimal integers, each
// followed by a TAB, then CR LF.

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

std::string FormatParameterLine(std::span<const int64_t> numbers);

// Reads `count` integers, each after any white space, as a text stream
// reads them: a word that is not a number, a value outside [min, max] or
// too few numbers fails. The last number may end the text: a file whose
// final TAB was lost still holds every value. Numbers after the last one
// asked for are ignored. On failure `refusal`, when given, says which number
// and why ("number 3 of 29 is not a whole number").
struct NumberLimits {
    int64_t min, max;
};
std::optional<std::vector<int64_t>> ParseParameterNumbers(std::string_view text,
                                                          std::span<const NumberLimits> limits,
                                                          std::string* refusal = nullptr);

// The file's text, or nothing when it cannot be read. A file larger than
// kMaxParameterFileBytes is refused unread, with the reason naming the file
// and the limit in `refusal`.
std::optional<std::string> ReadParameterFile(const std::string& path, std::string* refusal = nullptr);
// "Fail to load BMS!" and the refusal after it, when there is one.
std::string WithRefusal(const char* message, const std::string& refusal);

}  // namespace tarvel
