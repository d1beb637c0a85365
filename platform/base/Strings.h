#pragma once
// Text of the system: `String` is UTF-8, `WideString` UTF-16. Conversions and
// the class library's string helpers, ASCII-only where the names say so.

#include <cstdint>
#include <string>
#include <string_view>

namespace tarvel {

using String = std::string;
using WideString = std::u16string;

// Invalid input becomes U+FFFD; never throws, never reads past the end.
WideString Utf8ToWide(std::string_view text);
String WideToUtf8(std::u16string_view text);

String Trim(std::string_view s);  // blanks and control characters <= ' '
String TrimLeft(std::string_view s);
String TrimRight(std::string_view s);
String LowerCase(std::string_view s);  // ASCII letters only
String UpperCase(std::string_view s);
int CompareText(std::string_view a, std::string_view b);  // ASCII case-insensitive, <0 / 0 / >0
bool SameText(std::string_view a, std::string_view b);
String StringReplaceAll(std::string_view s, std::string_view from, std::string_view to);

// Integer conversions. Accepted: optional blanks, sign, decimal digits, or
// hexadecimal after "$" or "0x". Anything else, or a value out of range,
// raises EConvertError "'text' is not a valid integer value".
int32_t StrToInt(std::string_view s);
int64_t StrToInt64(std::string_view s);
int32_t StrToIntDef(std::string_view s, int32_t fallback);
int64_t StrToInt64Def(std::string_view s, int64_t fallback);
bool TryStrToInt(std::string_view s, int32_t& value);
bool TryStrToInt64(std::string_view s, int64_t& value);
String IntToStr(int64_t value);
String UIntToStr(uint64_t value);
String IntToHex(uint64_t value, int digits);  // upper case, at least `digits` wide

// Number texts never follow the process's locale: '.' is always the decimal
// separator and there are no thousands separators, so files read back the
// same whatever locale a library has set. StrToFloat raises EConvertError "'text' is not a valid floating
// point value".
double StrToFloat(std::string_view s);
double StrToFloatDef(std::string_view s, double fallback);
bool TryStrToFloat(std::string_view s, double& value);
String FloatToStr(double value);                 // up to 15 significant digits
String FloatToStrF(double value, int decimals);  // fixed, e.g. FloatToStrF(1.5, 3) = "1.500"

// printf-style formatting into a String, in the C locale.
String Format(const char* format, ...) __attribute__((format(printf, 1, 2)));

}  // namespace tarvel
