#pragma once
// Tiny wave images told apart by their sample value, and a recording sound
// output put in place for the length of a test.

#include <gtest/gtest.h>

#include <memory>
#include <vector>

#include "platform/base/LittleEndian.h"
#include "platform/system/Sound.h"
#include "skin/extras/te_extra_wave.h"

namespace tarvel::testing {

// A mono 8-bit wave of four samples, all `value`.
inline std::vector<uint8_t> ToneWave(uint8_t value) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E', 'f', 'm', 't', ' '};
    AppendLe32(out, 16);
    AppendLe16(out, 1);
    AppendLe16(out, 1);
    AppendLe32(out, 8000);
    AppendLe32(out, 8000);
    AppendLe16(out, 1);
    AppendLe16(out, 8);
    out.insert(out.end(), {'d', 'a', 't', 'a'});
    AppendLe32(out, 4);
    out.insert(out.end(), 4, value);
    StoreLe32(out.data() + 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

inline void LoadBytes(TTeWave& wave, const std::vector<uint8_t>& bytes) {
    TMemoryStream s;
    if (!bytes.empty()) s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    wave.LoadFromStream(s);
}

// A wave list whose item i plays the tone first + i.
inline void FillTones(TTeExtraWaveList& list, uint8_t first, int count) {
    for (int i = 0; i < count; ++i) LoadBytes(*list.Waves()->Add()->Wave(), ToneWave(first + i));
}

class SoundRecorder {
public:
    SoundRecorder() { SetSoundOutput(output_); }
    ~SoundRecorder() { SetSoundOutput(nullptr); }
    // The sample value of every sound started since the last call.
    std::vector<int> Take() {
        std::vector<int> out;
        const auto started = output_->Started();
        for (size_t i = seen_; i < started.size(); ++i) out.push_back(started[i].samples.at(0));
        seen_ = started.size();
        return out;
    }
    RecordingSoundOutput& Output() { return *output_; }

private:
    std::shared_ptr<RecordingSoundOutput> output_ = std::make_shared<RecordingSoundOutput>();
    size_t seen_ = 0;
};

}  // namespace tarvel::testing
