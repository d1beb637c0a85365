#include "platform/winsys/sdl/SdlSound.h"

#include <SDL2/SDL.h>

#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>

namespace tarvel {

namespace {

// A sync sound whose device stops calling back is given up this long after
// it should have ended.
constexpr std::chrono::milliseconds kWaitSlack{2000};

class SdlSoundOutput : public SoundOutput {
public:
    ~SdlSoundOutput() override {
        CloseDevice();
        if (audioStarted_) SDL_QuitSubSystem(SDL_INIT_AUDIO);
    }

    bool Start(const WaveFormat& format, std::vector<uint8_t> samples, bool loop) override {
        std::lock_guard<std::mutex> calls(callMutex_);
        CloseDevice();
        if (!audioStarted_) audioStarted_ = SDL_InitSubSystem(SDL_INIT_AUDIO) == 0;
        const uint64_t bytesPerSecond = uint64_t{format.BlockAlign()} * format.samplesPerSec;
        if (!audioStarted_ || bytesPerSecond == 0) {
            SetPlaying(false);
            return false;
        }
        if (samples.empty()) {
            SetPlaying(false);
            return audioStarted_;
        }
        SDL_AudioSpec want{};
        want.freq = static_cast<int>(format.samplesPerSec);
        want.format = format.bitsPerSample == 8 ? AUDIO_U8 : AUDIO_S16LSB;
        want.channels = static_cast<Uint8>(format.channels);
        want.samples = 1024;
        want.callback = &SdlSoundOutput::Feed;
        want.userdata = this;
        // No callback runs while the device is closed: the sound is ours to set.
        samples_ = std::move(samples);
        position_ = 0;
        loop_ = loop;
        drained_ = false;
        silence_ = format.bitsPerSample == 8 ? 0x80 : 0;
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            playing_ = true;
            looping_ = loop;
            length_ = std::chrono::milliseconds(samples_.size() * 1000 / bytesPerSecond);
        }
        SDL_AudioSpec have{};
        device_ = SDL_OpenAudioDevice(nullptr, 0, &want, &have, 0);
        if (!device_) {
            SetPlaying(false);
            return false;
        }
        SDL_PauseAudioDevice(device_, 0);
        return true;
    }

    void Stop() override {
        std::lock_guard<std::mutex> calls(callMutex_);
        CloseDevice();
        SetPlaying(false);
    }

    void WaitUntilDone() override {
        std::unique_lock<std::mutex> lock(stateMutex_);
        if (looping_) return;
        done_.wait_for(lock, length_ + kWaitSlack, [this] { return !playing_; });
    }

private:
    void CloseDevice() {
        if (device_) SDL_CloseAudioDevice(device_);
        device_ = 0;
    }

    void SetPlaying(bool playing) {
        {
            std::lock_guard<std::mutex> lock(stateMutex_);
            playing_ = playing;
        }
        done_.notify_all();
    }

    // SDL's audio thread asks for the next `len` bytes.
    static void SDLCALL Feed(void* self, Uint8* stream, int len) {
        static_cast<SdlSoundOutput*>(self)->Fill(stream, static_cast<size_t>(std::max(len, 0)));
    }

    void Fill(Uint8* stream, size_t len) {
        size_t filled = 0;
        while (filled < len && position_ < samples_.size()) {
            const size_t n = std::min(len - filled, samples_.size() - position_);
            std::memcpy(stream + filled, samples_.data() + position_, n);
            filled += n;
            position_ += n;
            if (loop_ && position_ == samples_.size()) position_ = 0;
        }
        std::memset(stream + filled, silence_, len - filled);
        // The sound has been heard once the buffer after its last bytes is asked for.
        if (position_ == samples_.size() && !loop_) {
            if (drained_) SetPlaying(false);
            drained_ = true;
        }
    }

    std::mutex callMutex_;  // Start and Stop take turns
    bool audioStarted_ = false;
    SDL_AudioDeviceID device_ = 0;

    // Set while the device is closed, read by the audio thread while it is open.
    std::vector<uint8_t> samples_;
    size_t position_ = 0;
    bool loop_ = false;
    bool drained_ = false;
    uint8_t silence_ = 0;

    std::mutex stateMutex_;
    std::condition_variable done_;
    bool playing_ = false;
    bool looping_ = false;
    std::chrono::milliseconds length_{0};
};

}  // namespace

std::shared_ptr<SoundOutput> MakeSdlSoundOutput() { return std::make_shared<SdlSoundOutput>(); }

}  // namespace tarvel
