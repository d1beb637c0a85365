#include "skin/core/te_utils.h"

#include <iconv.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "platform/base/Exceptions.h"
#include "platform/base/LittleEndian.h"
#include "skin/core/te_bitmap_colors.h"

namespace tarvel {

// ---------------------------------------------------------------------------
// Streams

namespace {
constexpr const char* kStreamReadError = "Stream read error";
constexpr int64_t kReadChunk = 64 * 1024;
}  // namespace

int64_t StreamBytesLeft(TStream& stream) {
    try {
        return std::max<int64_t>(0, stream.Size() - stream.Position());
    } catch (const Exception&) {
        return -1;
    }
}

std::vector<uint8_t> ReadBoundedBytes(TStream& stream, int64_t count) {
    std::vector<uint8_t> out;
    if (count <= 0) return out;
    const int64_t left = StreamBytesLeft(stream);
    if (left >= 0 && count > left) throw EReadError(kStreamReadError);
    while (static_cast<int64_t>(out.size()) < count) {
        const int64_t step = std::min(kReadChunk, count - static_cast<int64_t>(out.size()));
        const size_t at = out.size();
        out.resize(at + static_cast<size_t>(step));
        stream.ReadBuffer(out.data() + at, step);
    }
    return out;
}

String ReadString(TStream& stream) {
    const int32_t n = ReadInt32(stream);
    if (n <= 0) return String();
    const std::vector<uint8_t> bytes = ReadBoundedBytes(stream, n);
    return String(bytes.begin(), bytes.end());
}

void WriteString(TStream& stream, std::string_view s) {
    WriteInt32(stream, static_cast<int32_t>(s.size()));
    if (!s.empty()) stream.WriteBuffer(s.data(), static_cast<int64_t>(s.size()));
}

int32_t ReadInt32(TStream& stream) {
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return static_cast<int32_t>(LoadLe32(b));
}

void WriteInt32(TStream& stream, int32_t value) {
    uint8_t b[4];
    StoreLe32(b, static_cast<uint32_t>(value));
    stream.WriteBuffer(b, 4);
}

// ---------------------------------------------------------------------------
// Tokens and texts

namespace {
constexpr std::string_view kDefaultSeparators = " (),:;=";
}

String GetToken(String& s) { return GetToken(s, kDefaultSeparators); }

String GetToken(String& s, std::string_view separators) {
    const size_t end = s.find_first_of(separators);
    String token = Trim(std::string_view(s).substr(0, end));
    s = end == String::npos ? String() : Trim(std::string_view(s).substr(end + 1));
    return token;
}

String RectToString(const TRect& r) {
    return "(" + IntToStr(r.left) + "," + IntToStr(r.top) + "," + IntToStr(r.right) + "," +
           IntToStr(r.bottom) + ")";
}

TRect StringToRect(String s) {
    int32_t v[4];
    for (int32_t& x : v)
        if (!TryStrToInt(GetToken(s), x)) return TRect{};
    return TRect{v[0], v[1], v[2], v[3]};
}

namespace {

// The iconv name of a Windows code page, or null for the system's own (UTF-8).
const char* IconvName(unsigned codePage) {
    switch (codePage) {
        case 936: return "GBK";
        case 950: return "BIG5";
        case 932: return "SHIFT_JIS";
        case 949: return "CP949";
        case 1252: return "CP1252";
        case 1251: return "CP1251";
        case 1250: return "CP1250";
        case 437: return "CP437";
        default: return nullptr;
    }
}

// Converts the whole text or answers false.
bool ConvertWithIconv(const char* from, std::string_view s, WideString& out) {
    iconv_t cd = iconv_open("UTF-16LE", from);
    if (cd == reinterpret_cast<iconv_t>(-1)) return false;
    std::string in(s);
    std::string buffer(s.size() * 4 + 4, '\0');
    char* inPtr = in.data();
    size_t inLeft = in.size();
    char* outPtr = buffer.data();
    size_t outLeft = buffer.size();
    const size_t r = iconv(cd, &inPtr, &inLeft, &outPtr, &outLeft);
    iconv_close(cd);
    if (r == static_cast<size_t>(-1) || inLeft != 0) return false;
    const size_t bytes = buffer.size() - outLeft;
    out.resize(bytes / 2);
    const auto* units = reinterpret_cast<const uint8_t*>(buffer.data());
    for (size_t i = 0; i < out.size(); ++i) out[i] = static_cast<char16_t>(LoadLe16(units + 2 * i));
    return !out.empty();
}

}  // namespace

WideString StringToWideString(unsigned codePage, std::string_view s) {
    if (s.empty()) return WideString();
    WideString out;
    const char* name = IconvName(codePage);
    if (name && ConvertWithIconv(name, s, out)) return out;
    out = Utf8ToWide(s);
    if (!out.empty()) return out;
    return WideString(s.size(), u'?');
}

// ---------------------------------------------------------------------------
// Rectangles

bool RectInRect(const TRect& inner, const TRect& outer) {
    return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
           inner.bottom <= outer.bottom;
}

TRect RectOffset(const TRect& r, int d) { return TRect{r.left - d, r.top - d, r.right + d, r.bottom + d}; }

namespace {
TRect PlacedAt(const TRect& r, int left, int top) {
    return TRect{left, top, left + r.Width(), top + r.Height()};
}
}  // namespace

TRect RectCenter(TRect& r, const TRect& bounds) {
    r = PlacedAt(r, bounds.left + (bounds.Width() - r.Width()) / 2,
                 bounds.top + (bounds.Height() - r.Height()) / 2);
    return r;
}

TRect RectHCenter(TRect& r, const TRect& bounds) {
    r = PlacedAt(r, bounds.left + (bounds.Width() - r.Width()) / 2, bounds.top);
    return r;
}

TRect RectVCenter(TRect& r, const TRect& bounds) {
    r = PlacedAt(r, bounds.left, bounds.top + (bounds.Height() - r.Height()) / 2);
    return r;
}

namespace {

// Margins `a` and `b` on a side of `size`, scaled down when they do not fit.
bool FitMargins(int size, int& a, int& b) {
    if (size >= a && size >= b && size >= a + b) return false;
    const float f = (a + b) == 0 ? 1.0f : static_cast<float>(size) / static_cast<float>(a + b);
    a = RoundHalfEven(static_cast<long double>(a) * f);
    b = RoundHalfEven(static_cast<long double>(b) * f);
    return true;
}

}  // namespace

TRect MarginRect(const TRect& r, const TRect& margins) {
    TRect m = margins;
    if (!FitMargins(r.Width(), m.left, m.right)) FitMargins(r.Height(), m.top, m.bottom);
    return TRect{r.left + m.left, r.top + m.top, r.right - m.right, r.bottom - m.bottom};
}

bool PointInPolygon(TPoint p, const TPoint* points, int high) {
    if (!points || high < 0) return false;
    HRGN region = CreatePolygonRgn(points, high + 1, WINDING);
    if (!region) return false;
    const bool inside = PtInRegion(region, p.x, p.y);
    DeleteObject(region);
    return inside;
}

// ---------------------------------------------------------------------------
// Keyboard

int KeyboardDelayToInterval(int delaySetting) { return (delaySetting + 1) * 200; }

int KeyboardSpeedToInterval(int speedSetting) { return RoundHalfEven(1000.0L / ((speedSetting + 1) * 2.3L)); }

}  // namespace tarvel
