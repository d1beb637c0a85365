// Text from files and skins: lines, comma lists and colour names. Nothing may
// crash, and what is written must read back as the same lines.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Colors.h"
#include "platform/classlib/StringLists.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);

    TStringList lines;
    lines.SetText(text);
    TStringList again;
    again.SetText(lines.Text());
    if (!again.Equals(&lines)) std::abort();

    TStringList items;
    items.SetCommaText(text);
    TStringList back;
    back.SetCommaText(items.CommaText());
    if (!back.Equals(&items)) std::abort();

    try {
        const TColor c = StringToColor(text);
        if (StringToColor(ColorToString(c)) != c) std::abort();
    } catch (const EConvertError&) {
    }
    return 0;
}
