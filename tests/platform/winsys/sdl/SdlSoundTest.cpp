#include "platform/winsys/sdl/SdlSound.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "platform/base/Ticks.h"
#include "platform/winsys/sdl/SdlBackend.h"

namespace tarvel {
namespace {

constexpr uint8_t kSilence = 0x80;  // of 8-bit samples

// SDL's disk audio driver writes what a device plays into a file, at the
// pace a sound card would take it.
class SdlSound : public ::testing::Test {
protected:
    void SetUp() override {
        char pattern[] = "/tmp/tarvel-sdl-sound-XXXXXX";
        ASSERT_NE(mkdtemp(pattern), nullptr);
        dir_ = pattern;
        setenv("SDL_AUDIODRIVER", "disk", 1);
        setenv("SDL_DISKAUDIOFILE", (dir_ + "/played.raw").c_str(), 1);
    }
    void TearDown() override {
        unsetenv("SDL_AUDIODRIVER");
        unsetenv("SDL_DISKAUDIOFILE");
        std::filesystem::remove_all(dir_);
    }
    // What the device played from the sound's start on: a device opened
    // paused plays silence until it is started.
    std::vector<uint8_t> Played() const {
        std::ifstream in(dir_ + "/played.raw", std::ios::binary);
        std::vector<uint8_t> played{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
        const auto start =
            std::find_if(played.begin(), played.end(), [](uint8_t b) { return b != kSilence; });
        played.erase(played.begin(), start);
        return played;
    }
    static std::vector<uint8_t> Ramp(size_t n) {
        std::vector<uint8_t> v(n);
        for (size_t i = 0; i < n; ++i) v[i] = static_cast<uint8_t>(i % 251);  // starts with no silence
        return v;
    }
    std::string dir_;
};

constexpr WaveFormat kMono8{1, 8000, 8};

TEST_F(SdlSound, ASyncSoundIsPlayedWholeBeforeTheCallReturns) {
    const std::vector<uint8_t> samples = Ramp(800);  // 100 ms
    {
        auto output = MakeSdlSoundOutput();
        const uint32_t start = GetTickCount();
        ASSERT_TRUE(output->Start(kMono8, samples, false));
        output->WaitUntilDone();
        EXPECT_GE(GetTickCount() - start, 90u);
        output->Stop();
    }
    const std::vector<uint8_t> played = Played();
    ASSERT_GE(played.size(), samples.size());
    EXPECT_TRUE(std::equal(samples.begin(), samples.end(), played.begin()));
    // Silence after it.
    EXPECT_TRUE(std::all_of(played.begin() + static_cast<std::ptrdiff_t>(samples.size()), played.end(),
                            [](uint8_t b) { return b == kSilence; }));
}

TEST_F(SdlSound, ALoopRepeatsUntilStopped) {
    const std::vector<uint8_t> samples = Ramp(400);  // 50 ms
    {
        auto output = MakeSdlSoundOutput();
        ASSERT_TRUE(output->Start(kMono8, samples, true));
        output->WaitUntilDone();  // returns at once for a loop
        // The device takes the samples at a sound card's pace, later on a
        // loaded machine: wait for three rounds, within a generous bound.
        const uint32_t start = GetTickCount();
        while (Played().size() < 3 * samples.size() && GetTickCount() - start < 10000) Sleep(20);
        output->Stop();
    }
    const std::vector<uint8_t> played = Played();
    ASSERT_GE(played.size(), 3 * samples.size());
    for (size_t i = 0; i < 3 * samples.size(); ++i) ASSERT_EQ(played[i], samples[i % samples.size()]) << i;
}

TEST_F(SdlSound, TheDisplayInstallsItsOutputWhileOpen) {
    const auto before = CurrentSoundOutput();
    std::shared_ptr<SoundOutput> display;
    {
        auto backend = SdlBackend::Open("offscreen");
        ASSERT_TRUE(backend);
        display = CurrentSoundOutput();
        EXPECT_NE(display, before);
    }
    EXPECT_NE(CurrentSoundOutput(), display);  // silent again
}

}  // namespace
}  // namespace tarvel
