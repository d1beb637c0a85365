#pragma once
// Playing WAVE sounds held in memory. A sound is a RIFF/WAVE image with a
// "fmt " chunk of plain PCM (8-bit unsigned or 16-bit signed samples, one or
// two channels) and a "data" chunk; every size in it is checked against the
// bytes given. Where the samples go is the current sound output: none by
// default (sounds are checked and then dropped), the display's audio once
// the SDL display is open, or a recording output in tests.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <span>
#include <vector>

namespace tarvel {

constexpr unsigned SND_SYNC = 0x0000;       // returns when the sound has played
constexpr unsigned SND_ASYNC = 0x0001;      // returns at once
constexpr unsigned SND_NODEFAULT = 0x0002;  // no other sound stands in for a bad one (never does here)
constexpr unsigned SND_MEMORY = 0x0004;     // the sound is a WAVE image in memory (always so here)
constexpr unsigned SND_LOOP = 0x0008;       // again and again until stopped; only with SND_ASYNC

struct WaveFormat {
    uint16_t channels = 0;       // 1 or 2
    uint32_t samplesPerSec = 0;  // frames per second
    uint16_t bitsPerSample = 0;  // 8 or 16
    uint16_t BlockAlign() const { return static_cast<uint16_t>(channels * bitsPerSample / 8); }
    bool operator==(const WaveFormat&) const = default;
};

// The sound of a WAVE image: its format and whole frames of its samples
// (a view into the image).
struct WaveSound {
    WaveFormat format;
    std::span<const uint8_t> samples;
};

// Null for anything that is not a sound we can play.
std::optional<WaveSound> ParseWave(std::span<const uint8_t> image);

// Where sounds are played. Calls come from any thread, one at a time.
class SoundOutput {
public:
    virtual ~SoundOutput() = default;
    // Starts `samples` (copied), ending what played before; false when the
    // output cannot play it.
    virtual bool Start(const WaveFormat& format, std::vector<uint8_t> samples, bool loop) = 0;
    virtual void Stop() = 0;
    // Returns when the sound started last has ended (at once for a loop: it
    // does not end by itself).
    virtual void WaitUntilDone() = 0;
};

// Installs the output sounds go to; null installs the silent one.
void SetSoundOutput(std::shared_ptr<SoundOutput> output);
std::shared_ptr<SoundOutput> CurrentSoundOutput();

// Plays the WAVE image `sound` of `size` bytes as `flags` say. A null or
// empty sound stops what plays and answers true. Anything that is no sound
// we can play, and SND_LOOP without SND_ASYNC, plays nothing and answers false.
bool sndPlaySound(const void* sound, size_t size, unsigned flags);
inline bool sndPlaySound(std::span<const uint8_t> sound, unsigned flags) {
    return sndPlaySound(sound.data(), sound.size(), flags);
}

// An output for tests: it keeps what it was asked to play and plays nothing.
class RecordingSoundOutput : public SoundOutput {
public:
    struct Played {
        WaveFormat format;
        std::vector<uint8_t> samples;
        bool loop = false;
    };
    bool Start(const WaveFormat& format, std::vector<uint8_t> samples, bool loop) override;
    void Stop() override;
    void WaitUntilDone() override;

    std::vector<Played> Started() const;
    int Stops() const;
    int Waits() const;

private:
    mutable std::mutex mutex_;
    std::vector<Played> started_;
    int stops_ = 0;
    int waits_ = 0;
};

}  // namespace tarvel
