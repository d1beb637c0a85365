#include "platform/base/Strings.h"

#include <locale.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <limits>

#include "platform/base/Exceptions.h"

namespace tarvel {

namespace {

constexpr char16_t kReplacement = 0xFFFD;

void AppendCodePoint(WideString& out, uint32_t cp) {
    if (cp >= 0x10000) {
        cp -= 0x10000;
        out.push_back(static_cast<char16_t>(0xD800 + (cp >> 10)));
        out.push_back(static_cast<char16_t>(0xDC00 + (cp & 0x3FF)));
    } else {
        out.push_back(static_cast<char16_t>(cp));
    }
}

void AppendUtf8(String& out, uint32_t cp) {
    if (cp < 0x80) {
        out.push_back(static_cast<char>(cp));
    } else if (cp < 0x800) {
        out.push_back(static_cast<char>(0xC0 | (cp >> 6)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else if (cp < 0x10000) {
        out.push_back(static_cast<char>(0xE0 | (cp >> 12)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    } else {
        out.push_back(static_cast<char>(0xF0 | (cp >> 18)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 12) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | ((cp >> 6) & 0x3F)));
        out.push_back(static_cast<char>(0x80 | (cp & 0x3F)));
    }
}

bool IsBlank(char c) { return static_cast<unsigned char>(c) <= ' '; }

char AsciiLower(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c; }
char AsciiUpper(char c) { return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 'a' + 'A') : c; }

int HexDigit(char c) {
    if (c >= '0' && c <= '9') return c - '0';
    if (c >= 'a' && c <= 'f') return c - 'a' + 10;
    if (c >= 'A' && c <= 'F') return c - 'A' + 10;
    return -1;
}

// Parses the whole text as an integer within [min, max]. Leading blanks are
// allowed, as the class library allows them; trailing text is not.
bool ParseInteger(std::string_view s, int64_t min, int64_t max, int64_t& value) {
    size_t i = 0;
    while (i < s.size() && s[i] == ' ') ++i;
    bool negative = false;
    if (i < s.size() && (s[i] == '+' || s[i] == '-')) {
        negative = s[i] == '-';
        ++i;
    }
    int base = 10;
    if (i < s.size() && s[i] == '$') {
        base = 16;
        ++i;
    } else if (i + 1 < s.size() && s[i] == '0' && (s[i + 1] == 'x' || s[i + 1] == 'X')) {
        base = 16;
        i += 2;
    }
    if (i >= s.size()) return false;
    // Accumulate the magnitude in unsigned 64 bits with an overflow check.
    const uint64_t limit = negative ? static_cast<uint64_t>(-(min + 1)) + 1 : static_cast<uint64_t>(max);
    uint64_t magnitude = 0;
    for (; i < s.size(); ++i) {
        const int d = base == 16 ? HexDigit(s[i]) : (s[i] >= '0' && s[i] <= '9' ? s[i] - '0' : -1);
        if (d < 0) return false;
        if (magnitude > (limit - static_cast<uint64_t>(d)) / static_cast<uint64_t>(base)) return false;
        magnitude = magnitude * static_cast<uint64_t>(base) + static_cast<uint64_t>(d);
    }
    if (negative) {
        value = magnitude == 0 ? 0 : -static_cast<int64_t>(magnitude - 1) - 1;
    } else {
        value = static_cast<int64_t>(magnitude);
    }
    return true;
}

[[noreturn]] void RaiseInteger(std::string_view s) {
    throw EConvertError("'" + String(s) + "' is not a valid integer value");
}

// Whether a plain decimal text outside the double range is too small (it
// reads as zero) rather than too large.
bool BelowDoubleRange(std::string_view t) {
    size_t i = (t[0] == '+' || t[0] == '-') ? 1 : 0;
    int64_t magnitude = 0;  // power of ten of the first nonzero digit
    bool found = false, afterPoint = false;
    for (; i < t.size() && t[i] != 'e' && t[i] != 'E'; ++i) {
        if (t[i] == '.') {
            afterPoint = true;
        } else if (!afterPoint && (found || t[i] != '0')) {
            magnitude += found ? 1 : 0;
            found = true;
        } else if (afterPoint && !found) {
            --magnitude;
            found = t[i] != '0';
        }
    }
    int64_t exponent = 0;
    bool negative = false;
    for (++i; i < t.size(); ++i) {
        if (t[i] == '-') negative = true;
        if (t[i] >= '0' && t[i] <= '9') exponent = std::min<int64_t>(exponent * 10 + (t[i] - '0'), 1'000'000);
    }
    return magnitude + (negative ? -exponent : exponent) < 0;
}

// printf follows the process's locale, which a library may have set to one
// with a decimal comma; our texts always use the C locale.
locale_t CLocale() {
    static const locale_t c = ::newlocale(LC_ALL_MASK, "C", static_cast<locale_t>(0));
    return c;
}

}  // namespace

WideString Utf8ToWide(std::string_view text) {
    WideString out;
    out.reserve(text.size());
    const auto* p = reinterpret_cast<const unsigned char*>(text.data());
    const size_t n = text.size();
    size_t i = 0;
    while (i < n) {
        const unsigned char c = p[i];
        if (c < 0x80) {
            out.push_back(c);
            ++i;
            continue;
        }
        int extra = 0;
        uint32_t cp = 0;
        uint32_t min = 0;
        if (c >= 0xC2 && c <= 0xDF) {
            extra = 1, cp = c & 0x1F, min = 0x80;
        } else if (c >= 0xE0 && c <= 0xEF) {
            extra = 2, cp = c & 0x0F, min = 0x800;
        } else if (c >= 0xF0 && c <= 0xF4) {
            extra = 3, cp = c & 0x07, min = 0x10000;
        } else {
            out.push_back(kReplacement);
            ++i;
            continue;
        }
        // Take continuation bytes while they fit; a broken sequence becomes one
        // U+FFFD and decoding resumes at the first byte that did not fit.
        size_t j = i + 1;
        bool ok = true;
        for (int k = 0; k < extra; ++k, ++j) {
            if (j >= n || (p[j] & 0xC0) != 0x80) {
                ok = false;
                break;
            }
            cp = (cp << 6) | (p[j] & 0x3F);
        }
        if (!ok || cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) {
            out.push_back(kReplacement);
            i = ok ? j : std::max(j, i + 1);
            continue;
        }
        AppendCodePoint(out, cp);
        i = j;
    }
    return out;
}

String WideToUtf8(std::u16string_view text) {
    String out;
    out.reserve(text.size());
    for (size_t i = 0; i < text.size(); ++i) {
        const uint32_t u = text[i];
        if (u >= 0xD800 && u <= 0xDBFF) {
            if (i + 1 < text.size() && text[i + 1] >= 0xDC00 && text[i + 1] <= 0xDFFF) {
                AppendUtf8(out, 0x10000 + ((u - 0xD800) << 10) + (text[i + 1] - 0xDC00));
                ++i;
            } else {
                AppendUtf8(out, kReplacement);
            }
        } else if (u >= 0xDC00 && u <= 0xDFFF) {
            AppendUtf8(out, kReplacement);
        } else {
            AppendUtf8(out, u);
        }
    }
    return out;
}

String TrimLeft(std::string_view s) {
    size_t b = 0;
    while (b < s.size() && IsBlank(s[b])) ++b;
    return String(s.substr(b));
}

String TrimRight(std::string_view s) {
    size_t e = s.size();
    while (e > 0 && IsBlank(s[e - 1])) --e;
    return String(s.substr(0, e));
}

String Trim(std::string_view s) { return TrimLeft(TrimRight(s)); }

String LowerCase(std::string_view s) {
    String out(s);
    for (char& c : out) c = AsciiLower(c);
    return out;
}

String UpperCase(std::string_view s) {
    String out(s);
    for (char& c : out) c = AsciiUpper(c);
    return out;
}

int CompareText(std::string_view a, std::string_view b) {
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = static_cast<unsigned char>(AsciiUpper(a[i]));
        const int cb = static_cast<unsigned char>(AsciiUpper(b[i]));
        if (ca != cb) return ca - cb;
    }
    if (a.size() == b.size()) return 0;
    return a.size() < b.size() ? -1 : 1;
}

bool SameText(std::string_view a, std::string_view b) { return CompareText(a, b) == 0; }

String StringReplaceAll(std::string_view s, std::string_view from, std::string_view to) {
    if (from.empty()) return String(s);
    String out;
    size_t pos = 0;
    for (;;) {
        const size_t hit = s.find(from, pos);
        if (hit == std::string_view::npos) break;
        out.append(s.substr(pos, hit - pos));
        out.append(to);
        pos = hit + from.size();
    }
    out.append(s.substr(pos));
    return out;
}

bool TryStrToInt64(std::string_view s, int64_t& value) {
    return ParseInteger(s, std::numeric_limits<int64_t>::min(), std::numeric_limits<int64_t>::max(), value);
}

bool TryStrToInt(std::string_view s, int32_t& value) {
    int64_t v = 0;
    if (!ParseInteger(s, std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max(), v))
        return false;
    value = static_cast<int32_t>(v);
    return true;
}

int32_t StrToInt(std::string_view s) {
    int32_t v = 0;
    if (!TryStrToInt(s, v)) RaiseInteger(s);
    return v;
}

int64_t StrToInt64(std::string_view s) {
    int64_t v = 0;
    if (!TryStrToInt64(s, v)) RaiseInteger(s);
    return v;
}

int32_t StrToIntDef(std::string_view s, int32_t fallback) {
    int32_t v = 0;
    return TryStrToInt(s, v) ? v : fallback;
}

int64_t StrToInt64Def(std::string_view s, int64_t fallback) {
    int64_t v = 0;
    return TryStrToInt64(s, v) ? v : fallback;
}

String IntToStr(int64_t value) { return std::to_string(value); }
String UIntToStr(uint64_t value) { return std::to_string(value); }

String IntToHex(uint64_t value, int digits) {
    static const char kHex[] = "0123456789ABCDEF";
    String out;
    do {
        out.insert(out.begin(), kHex[value & 0xF]);
        value >>= 4;
    } while (value != 0);
    while (static_cast<int>(out.size()) < digits) out.insert(out.begin(), '0');
    return out;
}

bool TryStrToFloat(std::string_view s, double& value) {
    const String t = Trim(s);
    if (t.empty()) return false;
    // Only plain decimal notation with an optional exponent: no hex floats,
    // "inf" or "nan", which no user means.
    size_t i = 0;
    if (t[i] == '+' || t[i] == '-') ++i;
    bool digits = false;
    while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
    if (i < t.size() && t[i] == '.') {
        ++i;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, digits = true;
    }
    if (!digits) return false;
    if (i < t.size() && (t[i] == 'e' || t[i] == 'E')) {
        ++i;
        if (i < t.size() && (t[i] == '+' || t[i] == '-')) ++i;
        bool expDigits = false;
        while (i < t.size() && t[i] >= '0' && t[i] <= '9') ++i, expDigits = true;
        if (!expDigits) return false;
    }
    if (i != t.size()) return false;
    // from_chars always reads '.' as the separator, whatever the locale.
    const char* first = t.data() + (t[0] == '+' ? 1 : 0);
    double v = 0;
    const auto [end, error] = std::from_chars(first, t.data() + t.size(), v);
    if (error == std::errc::result_out_of_range && BelowDoubleRange(t)) {
        v = t[0] == '-' ? -0.0 : 0.0;
    } else if (error != std::errc() || end != t.data() + t.size()) {
        return false;
    }
    value = v;
    return true;
}

double StrToFloat(std::string_view s) {
    double v = 0;
    if (!TryStrToFloat(s, v)) throw EConvertError("'" + String(s) + "' is not a valid floating point value");
    return v;
}

double StrToFloatDef(std::string_view s, double fallback) {
    double v = 0;
    return TryStrToFloat(s, v) ? v : fallback;
}

String FloatToStr(double value) {
    if (std::isnan(value)) return "NAN";
    if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
    char buf[64];
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::general, 15);
    String s(buf, written.ptr);
    for (char& c : s) c = AsciiUpper(c);
    // "1.5E+020" style exponents read as "1.5E20", as the class library writes them.
    const size_t e = s.find('E');
    if (e != String::npos) {
        String mantissa = s.substr(0, e);
        String exponent = s.substr(e + 1);
        String sign;
        if (!exponent.empty() && (exponent[0] == '+' || exponent[0] == '-')) {
            if (exponent[0] == '-') sign = "-";
            exponent.erase(0, 1);
        }
        while (exponent.size() > 1 && exponent[0] == '0') exponent.erase(0, 1);
        s = mantissa + "E" + sign + exponent;
    }
    if (s == "-0") s = "0";
    return s;
}

String FloatToStrF(double value, int decimals) {
    if (decimals < 0) decimals = 0;
    if (decimals > 18) decimals = 18;
    char buf[400];  // 309 integer digits, the point and 18 decimals
    const auto written = std::to_chars(buf, buf + sizeof buf, value, std::chars_format::fixed, decimals);
    return String(buf, written.ptr);
}

String Format(const char* format, ...) {
    const locale_t before = ::uselocale(CLocale());
    va_list args;
    va_start(args, format);
    va_list copy;
    va_copy(copy, args);
    const int n = std::vsnprintf(nullptr, 0, format, copy);
    va_end(copy);
    String out;
    if (n > 0) {
        out.resize(static_cast<size_t>(n));
        std::vsnprintf(out.data(), out.size() + 1, format, args);
    }
    va_end(args);
    ::uselocale(before);
    return out;
}

}  // namespace tarvel
