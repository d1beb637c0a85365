// Any text, in any format, measured and drawn: typed and loaded texts reach
// DrawText unchecked, so nothing may crash or hang.

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

#include "platform/gdi/Gdi.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    using namespace tarvel;
    static HDC dc = [] {
        HDC d = CreateCompatibleDC(nullptr);
        SelectObject(d, CreateCompatibleBitmap(d, 64, 32));
        return d;
    }();
    if (size < 6) return 0;
    const unsigned format = (data[0] | data[1] << 8 | data[2] << 16) & ~unsigned(DT_NOCLIP);
    const int width = static_cast<int8_t>(data[3]);
    const bool wide = data[4] & 1;
    data += 6;
    // Every new character costs a glyph rendering; a few hundred tell as
    // much as thousands.
    size = std::min<size_t>(size - 6, 512);
    TRect rect = Rect(-4, -2, width, 30);
    if (wide) {
        std::u16string text(size / 2, u'\0');
        for (size_t i = 0; i < text.size(); ++i)
            text[i] = static_cast<char16_t>(data[2 * i] | data[2 * i + 1] << 8);
        DrawTextW(dc, text, &rect, format);
    } else {
        DrawTextA(dc, std::string(reinterpret_cast<const char*>(data), size), &rect, format);
    }
    return 0;
}
