#include "platform/system/Sound.h"

#include <gtest/gtest.h>

#include <functional>
#include <string>

#include "platform/base/LittleEndian.h"

namespace tarvel {
namespace {

constexpr uint8_t kSamples[] = {1, 2, 3, 4, 5, 6, 7, 8};

struct WaveSpec {
    uint16_t formatTag = 1;
    uint16_t channels = 2;
    uint32_t rate = 8000;
    uint16_t bits = 16;
    int blockAlignDelta = 0;
    uint32_t fmtSize = 16;
    std::vector<uint8_t> samples{std::begin(kSamples), std::end(kSamples)};
    bool withFmt = true;
    bool withData = true;
    bool chunkBeforeFmt = false;  // an odd-sized chunk of another kind, padded
};

void Chunk(std::vector<uint8_t>& out, const char* tag, std::span<const uint8_t> body, uint32_t size) {
    out.insert(out.end(), tag, tag + 4);
    AppendLe32(out, size);
    out.insert(out.end(), body.begin(), body.end());
    if (body.size() & 1) out.push_back(0);
}

std::vector<uint8_t> MakeWave(const WaveSpec& s) {
    std::vector<uint8_t> out = {'R', 'I', 'F', 'F', 0, 0, 0, 0, 'W', 'A', 'V', 'E'};
    if (s.chunkBeforeFmt) {
        const uint8_t info[3] = {'a', 'b', 'c'};
        Chunk(out, "LIST", info, 3);
    }
    if (s.withFmt) {
        std::vector<uint8_t> fmt;
        const uint16_t align = static_cast<uint16_t>(s.channels * s.bits / 8 + s.blockAlignDelta);
        AppendLe16(fmt, s.formatTag);
        AppendLe16(fmt, s.channels);
        AppendLe32(fmt, s.rate);
        AppendLe32(fmt, s.rate * align);
        AppendLe16(fmt, align);
        AppendLe16(fmt, s.bits);
        if (fmt.size() > s.fmtSize) fmt.erase(fmt.begin() + s.fmtSize, fmt.end());
        while (fmt.size() < s.fmtSize) fmt.push_back(0);  // the extra size field
        Chunk(out, "fmt ", fmt, s.fmtSize);
    }
    if (s.withData) Chunk(out, "data", s.samples, static_cast<uint32_t>(s.samples.size()));
    StoreLe32(out.data() + 4, static_cast<uint32_t>(out.size() - 8));
    return out;
}

class Sound : public ::testing::Test {
protected:
    void SetUp() override { SetSoundOutput(output_); }
    void TearDown() override { SetSoundOutput(nullptr); }
    std::shared_ptr<RecordingSoundOutput> output_ = std::make_shared<RecordingSoundOutput>();
};

TEST_F(Sound, HeadersAreCheckedAgainstTheBytes) {
    using Edit = std::function<void(std::vector<uint8_t>&)>;
    const auto spec = [](std::function<void(WaveSpec&)> change) {
        WaveSpec s;
        change(s);
        return s;
    };
    const struct {
        const char* what;
        WaveSpec spec;
        Edit edit;  // applied to the made image
        bool plays;
    } cases[] = {
        {"16-bit stereo", {}, nullptr, true},
        {"8-bit mono", spec([](WaveSpec& s) { s.channels = 1, s.bits = 8; }), nullptr, true},
        {"another chunk first", spec([](WaveSpec& s) { s.chunkBeforeFmt = true; }), nullptr, true},
        {"bytes after the RIFF", {}, [](auto& w) { w.push_back(0xEE); }, true},
        {"a longer fmt chunk", spec([](WaveSpec& s) { s.fmtSize = 18; }), nullptr, true},
        {"cut inside the header", {}, [](auto& w) { w.erase(w.begin() + 10, w.end()); }, false},
        {"cut inside the data", {}, [](auto& w) { w.erase(w.end() - 3, w.end()); }, false},
        {"RIFF larger than the bytes", {}, [](auto& w) { StoreLe32(w.data() + 4, 0xFFFFFFF0u); }, false},
        {"data larger than the RIFF", {}, [](auto& w) { StoreLe32(w.data() + w.size() - 12, 9); }, false},
        {"data size near 4 GiB",
         {},
         [](auto& w) { StoreLe32(w.data() + w.size() - 12, 0xFFFFFFFFu); },
         false},
        {"not RIFF", {}, [](auto& w) { w[0] = 'X'; }, false},
        {"not WAVE", {}, [](auto& w) { w[8] = 'X'; }, false},
        {"fmt too short", spec([](WaveSpec& s) { s.fmtSize = 14; }), nullptr, false},
        {"no fmt", spec([](WaveSpec& s) { s.withFmt = false; }), nullptr, false},
        {"no data", spec([](WaveSpec& s) { s.withData = false; }), nullptr, false},
        {"floating point", spec([](WaveSpec& s) { s.formatTag = 3; }), nullptr, false},
        {"24-bit", spec([](WaveSpec& s) { s.bits = 24; }), nullptr, false},
        {"no channels", spec([](WaveSpec& s) { s.channels = 0; }), nullptr, false},
        {"six channels", spec([](WaveSpec& s) { s.channels = 6; }), nullptr, false},
        {"rate 0", spec([](WaveSpec& s) { s.rate = 0; }), nullptr, false},
        {"block align wrong", spec([](WaveSpec& s) { s.blockAlignDelta = 1; }), nullptr, false},
    };
    for (const auto& c : cases) {
        std::vector<uint8_t> wave = MakeWave(c.spec);
        if (c.edit) c.edit(wave);
        const size_t before = output_->Started().size();
        EXPECT_EQ(sndPlaySound(wave, SND_ASYNC | SND_MEMORY), c.plays) << c.what;
        EXPECT_EQ(output_->Started().size(), before + (c.plays ? 1 : 0)) << c.what;
        EXPECT_EQ(ParseWave(wave).has_value(), c.plays) << c.what;
    }
    const auto played = output_->Started();
    ASSERT_GE(played.size(), 2u);
    EXPECT_EQ(played[0].format, (WaveFormat{2, 8000, 16}));
    EXPECT_EQ(played[0].samples, WaveSpec{}.samples);
    EXPECT_EQ(played[1].format, (WaveFormat{1, 8000, 8}));
}

TEST_F(Sound, OnlyWholeFramesPlay) {
    WaveSpec s;
    s.samples = {1, 2, 3, 4, 5, 6, 7};  // a frame and three bytes of the next
    const std::vector<uint8_t> image = MakeWave(s);
    const auto wave = ParseWave(image);
    ASSERT_TRUE(wave);
    EXPECT_EQ(std::vector<uint8_t>(wave->samples.begin(), wave->samples.end()),
              (std::vector<uint8_t>{1, 2, 3, 4}));
}

TEST_F(Sound, FlagsDecideWaitingAndLooping) {
    const std::vector<uint8_t> wave = MakeWave({});
    const struct {
        unsigned flags;
        bool answer;
        bool starts;
        bool loops;
        bool waits;
    } cases[] = {
        {SND_SYNC, true, true, false, true},
        {SND_ASYNC, true, true, false, false},
        {SND_ASYNC | SND_LOOP, true, true, true, false},
        {SND_SYNC | SND_LOOP, false, false, false, false},  // a loop nobody could stop
        {SND_MEMORY | SND_NODEFAULT, true, true, false, true},
    };
    for (const auto& c : cases) {
        auto output = std::make_shared<RecordingSoundOutput>();
        SetSoundOutput(output);
        EXPECT_EQ(sndPlaySound(wave, c.flags), c.answer) << c.flags;
        const auto started = output->Started();
        ASSERT_EQ(started.size(), c.starts ? 1u : 0u) << c.flags;
        if (c.starts) {
            EXPECT_EQ(started[0].loop, c.loops) << c.flags;
        }
        EXPECT_EQ(output->Waits(), c.waits ? 1 : 0) << c.flags;
    }
}

TEST_F(Sound, ANullOrEmptySoundStops) {
    const std::vector<uint8_t> wave = MakeWave({});
    ASSERT_TRUE(sndPlaySound(wave, SND_ASYNC | SND_LOOP));
    EXPECT_TRUE(sndPlaySound(nullptr, 0, SND_ASYNC));
    EXPECT_TRUE(sndPlaySound(wave.data(), 0, SND_SYNC));
    EXPECT_EQ(output_->Stops(), 2);
    EXPECT_EQ(output_->Started().size(), 1u);
}

TEST(SoundOutput, SilentByDefaultAndStoppedWhenReplaced) {
    SetSoundOutput(nullptr);
    EXPECT_TRUE(sndPlaySound(MakeWave({}), SND_SYNC));  // checked, then dropped
    auto first = std::make_shared<RecordingSoundOutput>();
    SetSoundOutput(first);
    SetSoundOutput(nullptr);
    EXPECT_EQ(first->Stops(), 1);
}

}  // namespace
}  // namespace tarvel
