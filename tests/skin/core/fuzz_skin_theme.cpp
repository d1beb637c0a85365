// Theme sections and theme items from arbitrary bytes: every reader either
// takes what the bytes hold or raises; none reads past them or allocates
// what they only claim.
#include <cstddef>
#include <cstdint>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Streams.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_theme.h"
#include "skin/core/te_theme_api.h"

using namespace tarvel;

namespace {

template <class F>
void Try(const uint8_t* data, size_t size, F&& read) {
    TMemoryStream stream;
    stream.WriteBuffer(data, static_cast<int64_t>(size));
    stream.SetPosition(0);
    try {
        read(stream);
    } catch (const Exception&) {
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    InitThemeCore();
    TteTheme theme;
    // The first byte chooses the reader, the rest is its input.
    const uint8_t* body = data + 1;
    const size_t n = size - 1;
    switch (data[0] % 5) {
        case 0: Try(body, n, [&](TStream& s) { theme.Colors()->LoadFromStream(s); }); break;
        case 1: Try(body, n, [&](TStream& s) { theme.SysColors()->LoadFromStream(s); }); break;
        case 2: Try(body, n, [&](TStream& s) { theme.Fonts()->LoadFromStream(s); }); break;
        case 3: Try(body, n, [&](TStream& s) { theme.Options()->LoadFromStream(s); }); break;
        case 4: {
            TTeThemeList list(nullptr);
            Try(body, n, [&](TStream& s) { list.Themes()->Add()->ReadData(s); });
            break;
        }
    }
    return 0;
}
