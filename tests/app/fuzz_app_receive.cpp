// Any bytes through the main window's receive handler, as the serial
// component hands them in: the window in single or parallel mode, logged in
// or not, with the request it awaits and the module it addresses taken from
// the input. The rest of the input is a run of chunks: raw bytes, or reply
// frames sealed with a right sum around a code, a status and data from the
// input (the decoders' own targets cover the bytes beneath), each perhaps
// cut in two, with the clock ticking between them.
#include <cstdint>
#include <cstdlib>
#include <vector>

#include "link/DeviceFrame.h"
#include "tests/app/FuzzInput.h"
#include "tests/app/FuzzWindow.h"

using namespace tarvel;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static testing::FuzzWindow* world = new testing::FuzzWindow("fuzz_app_receive");
    if (size < 4) return 0;
    const auto here = world->InFolder();
    TMainForm* form = world->form;
    testing::FuzzInput in(data, size);

    const uint8_t flags = in.Byte();
    form->MultiModuleMode = flags & 1;
    form->LoggedIn = (flags >> 1) & 1;
    form->PollInProgress = (flags >> 2) & 1;
    form->TsbsQueryInProgress = (flags >> 3) & 1;
    form->RequestBusy = (flags >> 4) & 1;
    const uint8_t awaited = in.Byte();
    LastCommand = awaited;
    form->AwaitedCommand = awaited;
    const uint8_t module = in.Byte();
    form->SetModuleIndex(module % (kModuleCount + 1));
    form->PollIndex = module % kModuleCount;
    const uint8_t address = RequestAddress(form->ModuleIndex());

    uint32_t now = 1000;
    for (int chunk = 0; chunk < 32 && !in.Empty(); ++chunk) {
        // Bit 7: a sealed frame (bit 5: from an address of the input), else
        // raw bytes; bit 6: cut in two; the low bits and the next byte: a length.
        const uint8_t op = in.Byte();
        std::vector<uint8_t> bytes;
        if (op & 0x80) {
            const uint8_t code = in.Byte() | frame::kReplyBit;
            const uint8_t from = op & 0x20 ? in.Byte() : address;
            std::vector<uint8_t> body{in.Byte()};  // the status
            const std::vector<uint8_t> rest = in.Bytes(static_cast<size_t>(op & 0x0F) << 8 | in.Byte());
            body.insert(body.end(), rest.begin(), rest.end());
            bytes = BuildFrame(from, code, body);
        } else {
            bytes = in.Bytes((op & 0x1F) + 1u);
        }
        const size_t cut = op & 0x40 ? in.Byte() % (bytes.size() + 1) : bytes.size();
        if (cut > 0) form->Comm1ReceiveData(bytes.data(), static_cast<uint16_t>(cut), now);
        now += in.Byte() * 8u;
        if (cut < bytes.size())
            form->Comm1ReceiveData(bytes.data() + cut, static_cast<uint16_t>(bytes.size() - cut), now);
        world->Settle();
        for (int tick = in.Byte() % 4; tick > 0; --tick) form->PollTick();
    }

    // What the replies left behind is not the next input's.
    for (TRichEdit* memo : {form->RE_Info, form->RE_ExtInfo, form->RE_CommData})
        if (memo) memo->Clear();
    form->RequestBusy = 0;
    form->PollInProgress = 0;
    form->TsbsQueryInProgress = 0;
    form->ReplyTimeoutTicks = 0;
    world->Settle();
    return 0;
}
