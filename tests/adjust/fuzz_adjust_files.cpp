// The ".bms" and ".kb" readers over arbitrary text.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "adjust/KbBlock.h"
#include "adjust/ProtectionParameters.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    (void)ParseBmsText(text);
    (void)ParseKbText(text, KbLayout::Full);
    (void)ParseKbText(text, KbLayout::Short);
    return 0;
}
