// Any bytes as the bitmap resource of a module file: loading it never raises,
// never reads past the data, and either loads a picture or leaves the bitmap
// as it was.
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/Paths.h"
#include "platform/system/ResourceModule.h"
#include "skin/core/te_bitmap.h"
#include "tests/platform/system/PeBuilderFixture.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const std::string file = "/tmp/fuzz-resource-" + std::to_string(::getpid()) + ".dll";
    tarvel::testing::PeBuilder builder(size % 2 == 1);
    builder.Add(RT_BITMAP, "IMAGE", std::vector<uint8_t>(data, data + size));
    const std::vector<uint8_t> module = builder.Build();
    WriteFileBytes(file, module.data(), module.size());
    TteBitmap b;
    b.SetSize(1, 1);
    b.SetPixel(0, 0, 0x12345678);
    b.LoadFromResource(file, "image");
    if (b.Width() == 1 && b.Height() == 1 && b.GetPixel(0, 0) == 0x12345678) return 0;  // unchanged
    if (b.Empty() || b.Width() > 32767 || b.Height() > 32767) abort();
    return 0;
}
