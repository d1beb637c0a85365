#include "platform/system/Sound.h"

#include <cstring>
#include <utility>

#include "platform/base/LittleEndian.h"

namespace tarvel {

namespace {

constexpr uint16_t kWaveFormatPcm = 1;
constexpr uint32_t kMinRate = 1000;
constexpr uint32_t kMaxRate = 192000;

bool IsTag(ByteSpan bytes, size_t offset, const char (&tag)[5]) {
    return SpanHolds(bytes, offset, 4) && std::memcmp(bytes.data() + offset, tag, 4) == 0;
}

std::optional<WaveFormat> ParseFormat(ByteSpan chunk) {
    if (chunk.size() < 16 || ReadU16(chunk, 0) != kWaveFormatPcm) return std::nullopt;
    WaveFormat f;
    f.channels = ReadU16(chunk, 2);
    f.samplesPerSec = ReadU32(chunk, 4);
    f.bitsPerSample = ReadU16(chunk, 14);
    const bool supported = (f.channels == 1 || f.channels == 2) &&
                           (f.bitsPerSample == 8 || f.bitsPerSample == 16) && f.samplesPerSec >= kMinRate &&
                           f.samplesPerSec <= kMaxRate;
    if (!supported || ReadU16(chunk, 12) != f.BlockAlign()) return std::nullopt;
    return f;
}

class SilentOutput : public SoundOutput {
public:
    bool Start(const WaveFormat&, std::vector<uint8_t>, bool) override { return true; }
    void Stop() override {}
    void WaitUntilDone() override {}
};

std::mutex gOutputMutex;
std::shared_ptr<SoundOutput> gOutput;

}  // namespace

std::optional<WaveSound> ParseWave(std::span<const uint8_t> image) {
    if (!IsTag(image, 0, "RIFF") || !IsTag(image, 8, "WAVE")) return std::nullopt;
    const uint64_t riffEnd = uint64_t{8} + ReadU32(image, 4);
    if (riffEnd > image.size()) return std::nullopt;
    const ByteSpan riff = image.first(static_cast<size_t>(riffEnd));
    std::optional<WaveFormat> format;
    std::optional<ByteSpan> data;
    // Chunks are padded to an even size.
    for (size_t at = 12; SpanHolds(riff, at, 8);) {
        const uint32_t size = ReadU32(riff, at + 4);
        if (!SpanHolds(riff, at + 8, size)) return std::nullopt;
        const ByteSpan body = riff.subspan(at + 8, size);
        if (IsTag(riff, at, "fmt ")) {
            if (format || !(format = ParseFormat(body))) return std::nullopt;
        } else if (IsTag(riff, at, "data")) {
            if (data) return std::nullopt;
            data = body;
        }
        at += 8 + size + (size & 1);
    }
    if (!format || !data) return std::nullopt;
    const size_t frames = data->size() / format->BlockAlign();
    return WaveSound{*format, data->first(frames * format->BlockAlign())};
}

void SetSoundOutput(std::shared_ptr<SoundOutput> output) {
    std::shared_ptr<SoundOutput> old;
    {
        std::lock_guard<std::mutex> lock(gOutputMutex);
        old = std::exchange(gOutput, std::move(output));
    }
    if (old) old->Stop();
}

std::shared_ptr<SoundOutput> CurrentSoundOutput() {
    std::lock_guard<std::mutex> lock(gOutputMutex);
    if (!gOutput) gOutput = std::make_shared<SilentOutput>();
    return gOutput;
}

bool sndPlaySound(const void* sound, size_t size, unsigned flags) {
    const std::shared_ptr<SoundOutput> output = CurrentSoundOutput();
    if (!sound || size == 0) {
        output->Stop();
        return true;
    }
    if ((flags & SND_LOOP) && !(flags & SND_ASYNC)) return false;
    const auto wave = ParseWave({static_cast<const uint8_t*>(sound), size});
    if (!wave) return false;
    if (!output->Start(wave->format, {wave->samples.begin(), wave->samples.end()}, (flags & SND_LOOP) != 0))
        return false;
    if (!(flags & SND_ASYNC)) output->WaitUntilDone();
    return true;
}

bool RecordingSoundOutput::Start(const WaveFormat& format, std::vector<uint8_t> samples, bool loop) {
    std::lock_guard<std::mutex> lock(mutex_);
    started_.push_back(Played{format, std::move(samples), loop});
    return true;
}

void RecordingSoundOutput::Stop() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++stops_;
}

void RecordingSoundOutput::WaitUntilDone() {
    std::lock_guard<std::mutex> lock(mutex_);
    ++waits_;
}

std::vector<RecordingSoundOutput::Played> RecordingSoundOutput::Started() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return started_;
}

int RecordingSoundOutput::Stops() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return stops_;
}

int RecordingSoundOutput::Waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

}  // namespace tarvel
