// Compressed data from untrusted bytes: the decompression stream, its forward
// seek and the whole-buffer helper either deliver bytes or raise, and always stop.
#include <cstddef>
#include <cstdint>
#include <vector>

#include "skin/core/te_compress.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size < 2) return 0;
    TMemoryStream s;
    s.WriteBuffer(data + 1, static_cast<int64_t>(size - 1));
    s.SetPosition(0);
    try {
        TDecompressionStream z(s);
        if (data[0] & 1) z.Seek(data[0] * 16, soCurrent);
        std::vector<uint8_t> out(4096);
        int64_t total = 0;
        for (int64_t n; (n = z.Read(out.data(), 4096)) > 0 && total < (int64_t{1} << 24);) total += n;
    } catch (const Exception&) {
    }
    try {
        DecompressBuf(data + 1, size - 1, data[0]);
    } catch (const Exception&) {
    }
    return 0;
}
