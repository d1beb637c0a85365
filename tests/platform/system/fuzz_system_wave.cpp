// Any bytes as a WAVE sound: what the parser takes is PCM it can play, whole
// frames inside the image, and playing it hands exactly those samples to
// the output; anything else plays nothing.
#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <memory>
#include <optional>
#include <span>

#include "platform/system/Sound.h"

using namespace tarvel;

namespace {

void Check(bool ok) {
    if (!ok) std::abort();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::span<const uint8_t> image(data, size);
    const std::optional<WaveSound> wave = ParseWave(image);
    if (wave) {
        const WaveFormat& f = wave->format;
        Check(f.channels == 1 || f.channels == 2);
        Check(f.bitsPerSample == 8 || f.bitsPerSample == 16);
        Check(wave->samples.size() % f.BlockAlign() == 0);
        Check(wave->samples.empty() ||
              (wave->samples.data() >= data && wave->samples.data() + wave->samples.size() <= data + size));
    }
    auto output = std::make_shared<RecordingSoundOutput>();
    SetSoundOutput(output);
    const bool played = sndPlaySound(data, size, SND_ASYNC | SND_MEMORY);
    if (size == 0) {
        Check(played && output->Started().empty());
    } else {
        Check(played == wave.has_value());
        const auto started = output->Started();
        Check(started.size() == (wave ? 1u : 0u));
        if (wave) {
            Check(started[0].format == wave->format);
            Check(std::equal(started[0].samples.begin(), started[0].samples.end(), wave->samples.begin(),
                             wave->samples.end()));
        }
    }
    SetSoundOutput(nullptr);
    return 0;
}
