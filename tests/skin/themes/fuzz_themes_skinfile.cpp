// Skin files from untrusted bytes: loading answers true or false, never
// raises, and a refused file leaves the source as it was.
#include <cstddef>
#include <cstdint>
#include <cstdlib>

#include "skin/themes/theme_se3source.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    TSeSkinSource src(nullptr);
    src.SkinName = "before";
    TMemoryStream s;
    if (size > 0) s.WriteBuffer(data, static_cast<int64_t>(size));
    s.SetPosition(0);
    if (!src.LoadFromStream(s) && (src.SkinName != "before" || src.GetCount() != 0)) std::abort();
    for (int i = 0; i < src.GetCount(); ++i) src.GetObject(i)->AligningAll();
    return 0;
}
