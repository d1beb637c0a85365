// Waves in memory, in streams and files; the play options' flags; what plays
// and what does not; the global wave list.

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "platform/base/Exceptions.h"
#include "skin/core/te_utils.h"
#include "tests/skin/extras/EffectSoundFixture.h"

namespace tarvel {
namespace {

using testing::LoadBytes;
using testing::ToneWave;

std::vector<uint8_t> Bytes(const TTeWave& wave) {
    const uint8_t* p = wave.Data().Memory();
    return {p, p + const_cast<TMemoryStream&>(wave.Data()).Size()};
}

class ControlSoundsTest : public ::testing::Test {
protected:
    void SetUp() override { InitExtraWave(); }
    void TearDown() override { InitExtraWave(); }
    testing::SoundRecorder sounds_;
};

TEST_F(ControlSoundsTest, AWaveGoesToFilesAndStreamsAndComesBackWhole) {
    const auto folder = std::filesystem::temp_directory_path() /
                        ("tarvel-wave-" + std::to_string(::getpid()) + "-" + std::to_string(std::rand()));
    std::filesystem::create_directories(folder);
    const std::vector<uint8_t> tone = ToneWave(7);
    {
        std::ofstream(folder / "a.wav", std::ios::binary)
            .write(reinterpret_cast<const char*>(tone.data()), static_cast<std::streamsize>(tone.size()));
    }
    TTeWave wave;
    wave.SetName("Click");
    wave.LoadFromFile((folder / "a.wav").string());
    EXPECT_EQ(Bytes(wave), tone);
    wave.SaveToFile((folder / "b.wav").string());
    EXPECT_EQ(std::filesystem::file_size(folder / "b.wav"), tone.size());

    // Behind 10 other bytes the size and the name go first.
    TMemoryStream s;
    s.WriteBuffer("0123456789", 10);
    wave.SaveToStream(s);
    EXPECT_EQ(s.Size(), 10 + 4 + 4 + 5 + static_cast<int64_t>(tone.size()));
    TTeWave back;
    s.SetPosition(10);
    back.LoadFromStream(s);
    EXPECT_EQ(back.Name(), "Click");
    EXPECT_EQ(Bytes(back), tone);
    EXPECT_TRUE(back.Modified());
    std::filesystem::remove_all(folder);
}

TEST_F(ControlSoundsTest, ADamagedStreamRaisesAndTheWaveKeepsWhatItHad) {
    struct Case {
        const char* what;
        int32_t count;
        int32_t nameLength;
        int bodyBytes;
    };
    const Case cases[] = {
        {"count beyond the bytes", 1000, 1, 10},
        {"negative count", -5, 1, 10},
        {"name beyond the bytes", 2, 5000, 10},
        {"stream ends in the name", 2, 8, 3},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        TTeWave wave;
        wave.SetName("Kept");
        LoadBytes(wave, ToneWave(3));
        TMemoryStream s;
        s.WriteBuffer("x", 1);
        WriteInt32(s, c.count);
        WriteInt32(s, c.nameLength);
        s.WriteBuffer(std::string(static_cast<size_t>(c.bodyBytes), 'n').data(), c.bodyBytes);
        s.SetPosition(1);
        EXPECT_THROW(wave.LoadFromStream(s), EReadError);
        EXPECT_EQ(wave.Name(), "Kept");
        EXPECT_EQ(Bytes(wave), ToneWave(3));
    }
}

TEST_F(ControlSoundsTest, OptionsGiveThePlayFlagsAndALoopPlaysOnlyAsynchronously) {
    struct Case {
        TTeExtraWaveOptions options;
        unsigned flags;
        size_t plays;
        bool loop;
    };
    const Case cases[] = {
        {{ewoSync}, 4, 1, false},
        {{ewoAsync}, 5, 1, false},
        {{ewoAsync, ewoLoop}, 13, 1, true},
        {{ewoSync, ewoLoop}, 12, 1, false},
        {{ewoAsync, ewoNoDefault, ewoNoStop}, 0x17, 1, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.flags);
        const size_t before = sounds_.Output().Started().size();
        TTeExtraWave wave;
        EXPECT_EQ(wave.Name(), "Extra Wave");
        EXPECT_EQ(wave.Flags(), 5u);
        LoadBytes(wave, ToneWave(9));
        wave.SetOptions(c.options);
        EXPECT_EQ(wave.Flags(), c.flags);
        wave.ExtPlay();
        const auto started = sounds_.Output().Started();
        ASSERT_EQ(started.size(), before + c.plays);
        EXPECT_EQ(started.back().loop, c.loop);
    }
}

TEST_F(ControlSoundsTest, NothingPlaysForAnEmptyOrMalformedWaveOrAMissingItem) {
    TTeExtraWaveList list(nullptr);
    testing::FillTones(list, 20, 2);
    LoadBytes(*list.Waves()->Add()->Wave(), {});  // item 2: no bytes
    std::vector<uint8_t> bad = ToneWave(1);
    bad[4] = 0xFF;                                 // a RIFF size beyond the bytes
    LoadBytes(*list.Waves()->Add()->Wave(), bad);  // item 3
    struct Case {
        int index;
        std::vector<int> played;
    };
    const Case cases[] = {{0, {20}}, {1, {21}}, {2, {}}, {3, {}}, {5, {}}, {-1, {}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.index);
        PlayWaveFromList(&list, c.index);
        EXPECT_EQ(sounds_.Take(), c.played);
    }
    PlayWaveFromList(nullptr, 0);
    TTeWave empty;
    empty.Play();
    EXPECT_EQ(sounds_.Take(), std::vector<int>{});
}

TEST_F(ControlSoundsTest, WaveListsFindByIndexAndNameAndItemsCopyTheirTagAndBytes) {
    TTeWaveList list;
    for (const char* name : {"Click", "Hover", "click"}) {
        auto wave = std::make_unique<TTeWave>();
        wave->SetName(name);
        list.Add(std::move(wave));
    }
    EXPECT_EQ(list.Count(), 3);
    EXPECT_EQ(list.GetWave(1)->Name(), "Hover");
    EXPECT_EQ(list.GetWave(3), nullptr);
    EXPECT_EQ(list.GetWave(-1), nullptr);
    EXPECT_EQ(list.GetWaveByName("CLICK"), list.GetWave(0)) << "the first, whatever the case";
    EXPECT_EQ(list.GetWaveByName("Press"), nullptr);
    list.Clear();
    EXPECT_EQ(list.Count(), 0);

    TTeExtraWaveList owner(nullptr);
    TTeExtraWaveCollection* waves = owner.Waves();
    TTeExtraWaveCollectionItem* a = waves->Add();
    TTeExtraWaveCollectionItem* b = waves->Add();
    a->Tag = 7;
    a->Wave()->SetName("Press");
    LoadBytes(*a->Wave(), ToneWave(3));
    b->Wave()->SetName("Other");
    waves->SetItem(1, a);
    EXPECT_EQ(waves->GetItem(1)->Tag, 7);
    EXPECT_EQ(Bytes(*b->Wave()), ToneWave(3));
    EXPECT_EQ(b->Wave()->Name(), "Other") << "a wave's name is its own";
    EXPECT_EQ(b->DisplayName(), "Other");
    EXPECT_EQ(waves->Count(), 2);
}

TEST_F(ControlSoundsTest, TheFirstWaveListIsTheGlobalOneUntilItGoes) {
    auto* first = new TTeExtraWaveList(nullptr);
    TTeExtraWaveList second(nullptr);
    EXPECT_EQ(DefaultSoundOptions.WaveList, first);
    delete first;
    EXPECT_EQ(DefaultSoundOptions.WaveList, nullptr);
    TTeExtraWaveList third(nullptr);
    EXPECT_EQ(DefaultSoundOptions.WaveList, &third);
}

TEST_F(ControlSoundsTest, TheKindFunctionsPlayTheGlobalSoundOnlyWhenAskedAndSwitchedOn) {
    TTeExtraWaveList global(nullptr);
    testing::FillTones(global, 10, 3);
    TTeExtraWaveList own(nullptr);
    testing::FillTones(own, 50, 3);
    DefaultSoundOptions.WaveInIndex = 0;
    DefaultSoundOptions.WaveOutIndex = 1;
    DefaultSoundOptions.WaveClickIndex = 2;
    for (bool on : {false, true}) {
        DefaultSoundOptions.Enabled = on;
        for (bool useGlobal : {false, true}) {
            SCOPED_TRACE(::testing::Message() << "switch " << on << " global " << useGlobal);
            PlayWaveInFromList(&own, 2, useGlobal);
            PlayWaveOutFromList(&own, 1, useGlobal);
            PlayWaveClickFromList(&own, 0, useGlobal);
            const std::vector<int> expected =
                on && useGlobal ? std::vector<int>{10, 11, 12} : std::vector<int>{52, 51, 50};
            EXPECT_EQ(sounds_.Take(), expected);
        }
    }
}

}  // namespace
}  // namespace tarvel
