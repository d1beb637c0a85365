// Any bytes as a resource-only module: opening and looking up resources must
// neither crash, hang nor read outside the bytes, and a resource found lies
// within them.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

#include "platform/system/ResourceModule.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    ResourceModule module;
    if (!module.Open(std::vector<uint8_t>(data, data + size))) return 0;
    // A name taken from the input itself, so named look-ups can match.
    const std::string tail(reinterpret_cast<const char*>(data) + size - std::min<size_t>(size, 8),
                           std::min<size_t>(size, 8));
    const ResourceId types[] = {RT_BITMAP, ResourceId("TEXTFILE"), ResourceId(tail)};
    const ResourceId names[] = {uint16_t{1}, ResourceId("NORMAL"), ResourceId(tail), ResourceId("#7")};
    for (const ResourceId& type : types)
        for (const ResourceId& name : names) {
            const auto found = module.FindResource(type, name);
            if (found && found->size() > size) abort();
        }
    return 0;
}
