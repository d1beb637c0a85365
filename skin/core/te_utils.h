#pragma once
// The skin library's toolbox, part one: rectangle arithmetic, the tokenizer,
// the length-prefixed string of every library stream, bounded reading of
// outside data, code-page conversion and keyboard timing.

#include <cstdint>
#include <string_view>
#include <vector>

#include "platform/base/Strings.h"
#include "platform/classlib/Streams.h"
#include "platform/gdi/Gdi.h"

namespace tarvel {

// ---- streams ----

// Bytes the stream still holds, or -1 when it cannot tell (a stream that
// refuses Size, such as a decompression stream).
int64_t StreamBytesLeft(TStream& stream);
// Exactly `count` bytes, or EReadError. Memory grows only as the bytes
// arrive, so a claimed size never allocates more than the stream holds.
std::vector<uint8_t> ReadBoundedBytes(TStream& stream, int64_t count);

// int32 little-endian byte count, then the bytes; a count of 0 or below is
// the empty string; a count beyond the stream's bytes raises EReadError.
String ReadString(TStream& stream);
void WriteString(TStream& stream, std::string_view s);
int32_t ReadInt32(TStream& stream);
void WriteInt32(TStream& stream, int32_t value);

// ---- tokens and texts ----

// Takes the text up to the first separator off the front of s; token and
// rest are trimmed. Default separators: blank ( ) , : ; =
String GetToken(String& s);
String GetToken(String& s, std::string_view separators);
String RectToString(const TRect& r);
// Four tokens as Left, Top, Right, Bottom; malformed text gives (0, 0, 0, 0).
TRect StringToRect(String s);

constexpr unsigned CP_ACP = 0;
constexpr unsigned CP_UTF8 = 65001;
// 8-bit text of a code page to UTF-16; unknown code pages fall back to the
// system code page (UTF-8), and text that still converts to nothing becomes
// one "?" per byte.
WideString StringToWideString(unsigned codePage, std::string_view s);

// ---- rectangles ----

inline int RectWidth(const TRect& r) { return r.right - r.left; }
inline int RectHeight(const TRect& r) { return r.bottom - r.top; }
inline bool IsRectEmpty(const TRect& r) { return RectWidth(r) <= 0 || RectHeight(r) <= 0; }
bool RectInRect(const TRect& inner, const TRect& outer);
inline bool CompareRect(const TRect& a, const TRect& b) { return a == b; }
TRect RectOffset(const TRect& r, int d);
TRect RectCenter(TRect& r, const TRect& bounds);
TRect RectHCenter(TRect& r, const TRect& bounds);
TRect RectVCenter(TRect& r, const TRect& bounds);
// r less the margins; margins wider (or higher) than r are scaled to fit.
TRect MarginRect(const TRect& r, const TRect& margins);
bool PointInPolygon(TPoint p, const TPoint* points, int high);

// ---- keyboard ----

int KeyboardDelayToInterval(int delaySetting);  // (v + 1) * 200 ms
int KeyboardSpeedToInterval(int speedSetting);  // round(1000 / ((v + 1) * 2.3)) ms

}  // namespace tarvel
