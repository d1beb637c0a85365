// Component streams, binary and text. Nothing may crash or allocate what the
// input only claims; what reads must write back the same way, and what
// converts must convert back and forth to the same bytes and text.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <memory>

#include "FilerFixture.h"

using namespace tarvel;
using namespace tarvel::filer_fixture;

namespace {

Bytes Written(TComponent* root) {
    TMemoryStream s;
    TWriter(s).WriteRootComponent(root);
    return StreamBytes(s);
}

bool Convert(void (*convert)(TStream&, TStream&), const Bytes& from, Bytes& to) {
    BytesStream in(from);
    TMemoryStream out;
    try {
        convert(in, out);
    } catch (const EReadError&) {
        if (out.Size() != 0) std::abort();  // a failed conversion leaves nothing behind
        return false;
    }
    to = StreamBytes(out);
    return true;
}

void ReadAndWriteBack(const Bytes& input) {
    BytesStream in(input);
    std::unique_ptr<TComponent> root;
    try {
        root.reset(TReader(in).ReadRootComponent(nullptr));
    } catch (const Exception&) {
        return;
    }
    const Bytes first = Written(root.get());
    BytesStream again(first);
    std::unique_ptr<TComponent> back(TReader(again).ReadRootComponent(nullptr));
    if (Written(back.get()) != first) std::abort();
}

void BinaryThroughText(const Bytes& input) {
    Bytes text, binary, text2;
    if (!Convert(ObjectBinaryToText, input, text)) return;
    if (!Convert(ObjectTextToBinary, text, binary)) std::abort();
    if (!Convert(ObjectBinaryToText, binary, text2) || text2 != text) std::abort();
}

void TextThroughBinary(const Bytes& input) {
    Bytes binary, text, binary2;
    if (!Convert(ObjectTextToBinary, input, binary)) return;
    if (!Convert(ObjectBinaryToText, binary, text)) std::abort();
    if (!Convert(ObjectTextToBinary, text, binary2) || binary2 != binary) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool registered = (RegisterFixtureClasses(), true);
    (void)registered;
    const Bytes input(data, data + size);
    ReadAndWriteBack(input);
    BinaryThroughText(input);
    TextThroughBinary(input);
    return 0;
}
