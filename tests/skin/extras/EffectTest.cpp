// The transition engine: frames on the test clock, the Fade effect's
// blended pixels, the effect registry, the record's clamps and the slots.

#include "skin/extras/te_effect.h"
#include "skin/extras/te_effect_list.h"

#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "platform/base/Ticks.h"
#include "platform/classlib/Bitmaps.h"
#include "platform/classlib/Timers.h"
#include "platform/classlib/testing/UiDriver.h"
#include "tests/skin/PaperFixture.h"

namespace tarvel {
namespace {

using testing::TPaper;

struct TProbeCall {
    int width;
    int height;
    int progress;
};
std::vector<TProbeCall> ProbeCalls;

void ProbeProc(uint8_t* mask, int width, int height, uint8_t progress) {
    ProbeCalls.push_back({width, height, progress});
    FadeProc(mask, width, height, progress);
}

class EffectTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitEffects();
        ProbeCalls.clear();
        RegisterProc("Probe", pkFade, reinterpret_cast<void*>(&ProbeProc));
    }
    void TearDown() override { DoneEffects(); }

    static void Fill(TteBitmap& b, int w, int h, uint32_t colour) {
        b.SetSize(w, h);
        b.Clear(colour);
    }
    // A black old look and a white new one, and paper to show them on.
    struct TPictures {
        TPaper paper{4, 4};
        TteBitmap source, target;
        TPictures() {
            Fill(source, 2, 2, 0xFF000000);
            Fill(target, 2, 2, 0xFFFFFFFF);
        }
    };
    std::vector<int> Progresses() const {
        std::vector<int> out;
        for (const TProbeCall& c : ProbeCalls) out.push_back(c.progress);
        return out;
    }

    TUiDriver ui_;
};

TEST_F(EffectTest, FramesFollowTheTimeOnTheTestClock) {
    struct Case {
        int time;
        std::vector<int> progresses;
    };
    std::vector<int> by5;
    for (int p = 5; p <= 100; p += 5) by5.push_back(p);
    const Case cases[] = {{400, by5}, {100, {20, 40, 60, 80, 100}}, {50, {40, 80, 100}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.time);
        ProbeCalls.clear();
        TPaper paper(8, 8);
        TteBitmap source, target;
        Fill(source, 6, 4, 0xFF000000);
        Fill(target, 6, 4, 0xFFFFFFFF);
        TteAnimationRec rec;
        rec.SetEffect("Probe");
        rec.SetTime(c.time);
        const int slot = StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, -1);
        ASSERT_TRUE(IsAnimating(slot));
        ui_.AdvanceClock(c.time + 200);
        EXPECT_EQ(Progresses(), c.progresses);
        EXPECT_FALSE(IsAnimating(slot));
        // One grid cell per pixel, plus one.
        EXPECT_EQ(ProbeCalls.front().width, 7);
        EXPECT_EQ(ProbeCalls.front().height, 5);
    }
}

TEST_F(EffectTest, FadeBlendsTheTwoPicturesFrameByFrame) {
    // Source old look, target new look; the target's key-coloured pixel
    // never covers the source.
    TteBitmap source, target;
    source.SetSize(2, 2);
    target.SetSize(2, 2);
    const uint32_t old[4] = {0xFF102030, 0xFF000000, 0xFFFFFFFF, 0xFF808080};
    const uint32_t now[4] = {0xFFF0E0D0, 0xFFFFFFFF, 0xFF000000, 0xFF7F007F};
    for (int i = 0; i < 4; ++i) {
        source.SetPixel(i % 2, i / 2, old[i]);
        target.SetPixel(i % 2, i / 2, now[i]);
    }
    TPaper paper(4, 4);
    TteAnimationRec rec;
    rec.SetEffect("[ FADE ] - Fade");
    rec.SetTime(100);
    const int slot = StartMultiAnimation(&paper.canvas, 1, 1, &source, &target, &rec, -1);
    const int alphas[] = {51, 102, 153, 204, 255};
    for (int a : alphas) {
        SCOPED_TRACE(a);
        ui_.AdvanceClock(20);
        for (int i = 0; i < 4; ++i) {
            uint32_t expected = 0;
            for (int shift : {0, 8, 16}) {
                const uint32_t s = (old[i] >> shift) & 0xFF, t = (now[i] >> shift) & 0xFF;
                const uint32_t mixed = i == 3 ? s : a == 255 ? t : (t * a + s * (255 - a)) >> 8;
                expected |= mixed << shift;
            }
            EXPECT_EQ(paper.At(1 + i % 2, 1 + i / 2), expected) << "pixel " << i;
        }
    }
    EXPECT_FALSE(IsAnimating(slot));
    // Outside the frame the paper is untouched.
    EXPECT_EQ(paper.At(0, 0), 0xFFFFFFu);
    EXPECT_EQ(paper.At(3, 3), 0xFFFFFFu);
}

TEST_F(EffectTest, NamesAreFoundWithOrWithoutTheirKindInAnyCase) {
    const TteProcItem* fade = ProcList->GetProcs("[ FADE ] - Fade");
    ASSERT_NE(fade, nullptr);
    EXPECT_EQ(fade->Kind, pkFade);
    for (const char* name : {"Fade", "fade", "[ fade ] - FADE", "FADE"})
        EXPECT_EQ(ProcList->GetProcs(name), fade) << name;
    EXPECT_EQ(ProcList->GetProcs("Fad"), nullptr);
    EXPECT_EQ(ProcList->GetProcs("[ SLIDE ] - Nothing"), nullptr);
}

TEST_F(EffectTest, RegisteringANameOrAProcedureTwiceRaises) {
    struct Case {
        const char* name;
        void* proc;
    };
    auto other = [](uint8_t*, int, int, uint8_t) {};
    const Case cases[] = {{"fade", reinterpret_cast<void*>(+other)},
                          {"Another", reinterpret_cast<void*>(&FadeProc)}};
    for (const Case& c : cases) {
        try {
            RegisterProc(c.name, pkSlide, c.proc);
            ADD_FAILURE() << c.name << " was registered";
        } catch (const EProcItemError& e) {
            EXPECT_EQ(e.Message(), String("Effect procedute ") + c.name + " already exists in list");
        }
    }
    int builtIns = 0;
    BuiltInEffects(builtIns);
    EXPECT_EQ(ProcList->Count(), builtIns + 1);
}

TEST_F(EffectTest, TheEffectListStartsWithTheSpecialNamesAndIsBuiltOnce) {
    TStringList* list = GetEffectList();
    int count = 0;
    const TteBuiltInEffect* builtIns = BuiltInEffects(count);
    ASSERT_EQ(list->Count(), count + 2);
    EXPECT_EQ(list->Strings(0), kRandomEffect);
    EXPECT_EQ(list->Strings(1), kBitmapEffect);
    const char* prefixes[] = {"[ FADE ] - ", "[ SLIDE ] - ", "[ MANUAL ] - "};
    for (int i = 0; i < count; ++i) {
        const String display = String(prefixes[builtIns[i].Kind]) + builtIns[i].Name;
        EXPECT_EQ(list->Strings(i + 2), display);
        // Each is found by its display name and by its bare name in any case.
        const TteProcItem* item = ProcList->GetProcs(display);
        ASSERT_NE(item, nullptr) << display;
        EXPECT_EQ(item->Proc, builtIns[i].Proc) << display;
        EXPECT_EQ(item->Kind, builtIns[i].Kind) << display;
        EXPECT_EQ(ProcList->GetProcs(UpperCase(builtIns[i].Name)), item) << display;
    }
    EXPECT_EQ(list->Strings(2), "[ FADE ] - SmoothDiagonal");
    EXPECT_EQ(list->Strings(22), "[ FADE ] - Fade");
    EXPECT_EQ(list->Strings(count + 1), "[ MANUAL ] - Push");
    // "Probe" came after the start.
    EXPECT_EQ(list->IndexOf("[ FADE ] - Probe"), -1);
    EXPECT_EQ(GetEffectList(), list);
}

TEST_F(EffectTest, TheRecordHoldsItsValuesInRange) {
    struct Case {
        void (TteAnimationRec::*set)(int);
        int (TteAnimationRec::*get)() const;
        int given;
        int held;
    };
    const Case cases[] = {
        {&TteAnimationRec::SetTime, &TteAnimationRec::Time, 20, 50},
        {&TteAnimationRec::SetTime, &TteAnimationRec::Time, 10000, 9000},
        {&TteAnimationRec::SetTime, &TteAnimationRec::Time, 777, 777},
        {&TteAnimationRec::SetResolution, &TteAnimationRec::Resolution, 0, 1},
        {&TteAnimationRec::SetResolution, &TteAnimationRec::Resolution, 11, 10},
        {&TteAnimationRec::SetTileCount, &TteAnimationRec::TileCount, 0, 1},
        {&TteAnimationRec::SetTileCount, &TteAnimationRec::TileCount, 21, 20},
    };
    for (const Case& c : cases) {
        TteAnimationRec rec;
        (rec.*c.set)(c.given);
        EXPECT_EQ((rec.*c.get)(), c.held) << c.given;
    }
    TteAnimationRec defaults;
    EXPECT_EQ(defaults.Effect(), kRandomEffect);
    EXPECT_EQ(defaults.Time(), 400);
    EXPECT_FALSE(defaults.Enabled());
}

TEST_F(EffectTest, NothingRunsWithoutPicturesOrAKnownEffect) {
    TPaper paper(4, 4);
    TteBitmap empty, full;
    Fill(full, 3, 3, 0xFF000000);
    TteAnimationRec fade;
    fade.SetEffect("Fade");
    TteAnimationRec unknown;
    unknown.SetEffect("No such effect");
    const int slot = ReserveIndex();
    EXPECT_EQ(StartMultiAnimation(&paper.canvas, 0, 0, &empty, &full, &fade, slot), slot);
    EXPECT_FALSE(IsAnimating(slot));
    EXPECT_EQ(StartMultiAnimation(&paper.canvas, 0, 0, &full, nullptr, &fade, slot), slot);
    EXPECT_FALSE(IsAnimating(slot));
    EXPECT_EQ(StartMultiAnimation(&paper.canvas, 0, 0, &full, &full, &unknown, slot), slot);
    EXPECT_FALSE(IsAnimating(slot));
}

TEST_F(EffectTest, ReservedAndRunningSlotsAreKeptApart) {
    TPictures pics;
    TPaper& paper = pics.paper;
    TteBitmap &source = pics.source, &target = pics.target;
    TteAnimationRec rec;
    rec.SetEffect("Fade");

    const int mine = ReserveIndex();
    const int running = StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, -1);
    EXPECT_NE(running, mine) << "a free start took a reserved slot";
    EXPECT_TRUE(IsAnimating(running));
    EXPECT_NE(ReserveIndex(), running) << "a reservation took a running slot";
    // Releasing touches only the reservation.
    ReleaseReserved(running);
    EXPECT_TRUE(IsAnimating(running));
    StopMultiAnimation(running, false);
    EXPECT_FALSE(IsAnimating(running));

    // More reservations than any fixed table: every one gets a slot of its own.
    std::vector<int> reserved;
    for (int i = 0; i < 250; ++i) reserved.push_back(ReserveIndex());
    std::sort(reserved.begin(), reserved.end());
    EXPECT_EQ(std::adjacent_find(reserved.begin(), reserved.end()), reserved.end());
    EXPECT_GE(reserved.front(), 0);
    const int extra = StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, -1);
    EXPECT_TRUE(IsAnimating(extra));
    EXPECT_FALSE(std::binary_search(reserved.begin(), reserved.end(), extra));
}

TEST_F(EffectTest, IndexesThatAreNoSlotDoNothing) {
    TPictures pics;
    TPaper& paper = pics.paper;
    TteBitmap &source = pics.source, &target = pics.target;
    TteAnimationRec rec;
    rec.SetEffect("Fade");
    for (int index : {-2, SlotCount(), SlotCount() + 1000}) {
        EXPECT_EQ(StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, index), -1) << index;
        EXPECT_FALSE(IsAnimating(index));
        StopMultiAnimation(index, true);
        ReleaseReserved(index);
    }
    EXPECT_FALSE(IsAnimating(-1));
}

TEST_F(EffectTest, ARunningSlotStartedAgainRunsTheNewAnimation) {
    TPictures pics;
    TPaper& paper = pics.paper;
    TteBitmap &source = pics.source, &target = pics.target;
    TteAnimationRec slow, probe;
    slow.SetEffect("Fade");
    slow.SetTime(1000);
    slow.SetRotation(krRotate90);
    probe.SetEffect("Probe");
    probe.SetTime(100);
    const int slot = ReserveIndex();
    StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &slow, slot);
    ui_.AdvanceClock(40);
    EXPECT_EQ(StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &probe, slot), slot);
    ui_.AdvanceClock(300);
    EXPECT_EQ(Progresses(), (std::vector<int>{20, 40, 60, 80, 100}));
    EXPECT_FALSE(IsAnimating(slot));
}

TEST_F(EffectTest, AStopWithDrawingShowsTheNewLookOnlyOnACanvasWithAHandle) {
    TPaper paper(2, 2);
    TteBitmap source, target;
    Fill(source, 2, 2, 0xFF000000);
    Fill(target, 2, 2, 0xFF00FF00);
    TteAnimationRec rec;
    rec.SetEffect("Fade");
    rec.SetTime(1000);
    int slot = StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, -1);
    ui_.AdvanceClock(20);
    StopMultiAnimation(slot, true);
    EXPECT_FALSE(IsAnimating(slot));
    // The target's alpha of the last frame (5 %) over the frame drawn before.
    EXPECT_NE(paper.At(0, 0), 0x00FF00u);
    EXPECT_NE(paper.At(0, 0), 0xFFFFFFu);

    TCanvas handleless;
    slot = StartMultiAnimation(&handleless, 0, 0, &source, &target, &rec, slot);
    StopMultiAnimation(slot, true);
    EXPECT_FALSE(IsAnimating(slot));
}

TEST_F(EffectTest, TheAlphaStretchSamplesTheNearestMaskByte) {
    // A 2 x 1 mask over a 4 x 2 picture, then the same mask moved half out.
    const uint8_t mask[2] = {0x11, 0xEE};
    uint32_t pixels[8];
    std::fill(std::begin(pixels), std::end(pixels), 0x00ABCDEFu);
    StretchAlphaRect(pixels, 4, 2, 0, 0, 4, 2, 0, 0, 2, 1, mask);
    const uint32_t stretched[8] = {0x11ABCDEF, 0x11ABCDEF, 0xEEABCDEF, 0xEEABCDEF,
                                   0x11ABCDEF, 0x11ABCDEF, 0xEEABCDEF, 0xEEABCDEF};
    EXPECT_TRUE(std::equal(std::begin(pixels), std::end(pixels), std::begin(stretched)));

    std::fill(std::begin(pixels), std::end(pixels), 0x00ABCDEFu);
    StretchAlphaRect(pixels, 4, 2, 2, 0, 4, 2, 0, 0, 2, 1, mask);
    EXPECT_EQ(pixels[0], 0x00ABCDEFu);
    EXPECT_EQ(pixels[2], 0x11ABCDEFu);
    EXPECT_EQ(pixels[3], 0x11ABCDEFu);
    // An empty destination changes nothing.
    StretchAlphaRect(pixels, 4, 2, 0, 0, 0, 2, 0, 0, 2, 1, mask);
    EXPECT_EQ(pixels[0], 0x00ABCDEFu);
}

// A row (or, turned, a column) of distinct pixels: the old look S0.. and the
// new look T0.., opaque.
struct TStrip {
    TteBitmap source, target;
    TStrip(int w, int h) {
        source.SetSize(w, h);
        target.SetSize(w, h);
        for (int i = 0; i < w * h; ++i) {
            source.Bits()[i] = 0xFF000010u * uint32_t(i + 1) | 0xFF000000u;
            target.Bits()[i] = 0xFFA00000u + 0x100u * uint32_t(i + 1);
        }
    }
    uint32_t S(int i) const { return source.Bits()[i] & 0xFFFFFF; }
    uint32_t T(int i) const { return target.Bits()[i] & 0xFFFFFF; }
};

std::vector<uint32_t> Shown(const TPaper& paper, int count, bool down) {
    std::vector<uint32_t> out;
    for (int i = 0; i < count; ++i) out.push_back(down ? paper.At(0, i) : paper.At(i, 0));
    return out;
}

TEST_F(EffectTest, SlideAndPushBringTheNewPictureInFromTheSideTheRotationNames) {
    struct Case {
        const char* effect;
        TteRotation rotation;
        // Indexes into the old (s) or new (t) strip, 2 of 4 pixels in.
        const char* shown;
    };
    const Case cases[] = {
        {"Slide", krNone, "t2 t3 s2 s3"},     {"Slide", krRotate180, "s0 s1 t0 t1"},
        {"Slide", krRotate90, "s0 s1 t0 t1"}, {"Slide", krRotate270, "t2 t3 s2 s3"},
        {"Push", krNone, "t2 t3 s0 s1"},      {"Push", krRotate180, "s2 s3 t0 t1"},
        {"Push", krRotate90, "s2 s3 t0 t1"},  {"Push", krRotate270, "t2 t3 s0 s1"},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.effect) + " " + std::to_string(c.rotation));
        const bool down = c.rotation == krRotate90 || c.rotation == krRotate270;
        TStrip strip(down ? 1 : 4, down ? 4 : 1);
        TPaper paper(4, 4);
        TteAnimationRec rec;
        rec.SetEffect(c.effect);
        rec.SetRotation(c.rotation);
        rec.SetTime(100);
        const int slot = StartMultiAnimation(&paper.canvas, 0, 0, &strip.source, &strip.target, &rec, -1);
        ui_.AdvanceClock(40, 20);  // progress 40: 2 of 4 pixels
        std::vector<uint32_t> want;
        for (size_t i = 0; i < 12; i += 3) {
            const int at = c.shown[i + 1] - '0';
            want.push_back(c.shown[i] == 's' ? strip.S(at) : strip.T(at));
        }
        EXPECT_EQ(Shown(paper, 4, down), want);
        ui_.AdvanceClock(100, 20);
        EXPECT_FALSE(IsAnimating(slot));
        EXPECT_EQ(Shown(paper, 4, down),
                  (std::vector<uint32_t>{strip.T(0), strip.T(1), strip.T(2), strip.T(3)}));
    }
}

TEST_F(EffectTest, SlideCellsShowTheirSourceCellsOfTheNewPicture) {
    TStrip strip(4, 1);
    TPaper paper(4, 1);
    TteAnimationRec rec;
    rec.SetEffect("[ SLIDE ] - Interlace");
    rec.SetTime(100);
    StartMultiAnimation(&paper.canvas, 0, 0, &strip.source, &strip.target, &rec, -1);
    // Progress 40 on a 5-cell row: the new row is 3 cells short of home.
    ui_.AdvanceClock(40, 20);
    EXPECT_EQ(Shown(paper, 4, false),
              (std::vector<uint32_t>{strip.T(3), strip.S(1), strip.S(2), strip.S(3)}));
    ui_.AdvanceClock(100, 20);
    EXPECT_EQ(Shown(paper, 4, false),
              (std::vector<uint32_t>{strip.T(0), strip.T(1), strip.T(2), strip.T(3)}));
}

TEST_F(EffectTest, SlideCellsOfEveryRotationEndOnTheNewPicture) {
    // A turned grid is read back turned: the last frame puts each pixel home.
    for (const char* effect : {"Interlace", "Corner"})
        for (TteRotation rotation : {krNone, krRotate90, krRotate180, krRotate270})
            for (int resolution : {1, 2}) {
                SCOPED_TRACE(std::string(effect) + " " + std::to_string(rotation) + " " +
                             std::to_string(resolution));
                TStrip strip(5, 3);
                TPaper paper(5, 3);
                TteAnimationRec rec;
                rec.SetEffect(effect);
                rec.SetRotation(rotation);
                rec.SetResolution(resolution);
                rec.SetTime(100);
                StartMultiAnimation(&paper.canvas, 0, 0, &strip.source, &strip.target, &rec, -1);
                ui_.AdvanceClock(200, 20);
                for (int i = 0; i < 15; ++i) EXPECT_EQ(paper.At(i % 5, i / 5), strip.T(i)) << "pixel " << i;
            }
}

TEST_F(EffectTest, TheBitmapAnimationOpensBrightPatternCellsFirst) {
    // A pattern bright on its left half, dark on its right, stretched over
    // a 3-pixel row (a 4 x 2 grid).
    TBitmap pattern;
    pattern.SetPixelFormat(pf32bit);
    pattern.SetSize(2, 1);
    pattern.ScanLine(0)[0] = 0xFF0000FF;
    pattern.ScanLine(0)[1] = 0xFF000000;
    struct Case {
        TteRotation rotation;
        std::vector<uint32_t> at40;
    };
    const uint32_t mixed = 0xCBCBCB;  // white at 204 over black
    const Case cases[] = {
        {krNone, {mixed, mixed, 0}}, {krRotate180, {0, 0, mixed}}, {krRotate90, {mixed, mixed, mixed}}};
    for (const Case& c : cases) {
        SCOPED_TRACE(c.rotation);
        TPaper paper(3, 1);
        TteBitmap source, target;
        Fill(source, 3, 1, 0xFF000000);
        Fill(target, 3, 1, 0xFFFFFFFF);
        TteAnimationRec rec;
        rec.SetEffect(kBitmapEffect);
        rec.SetBitmap(&pattern);
        rec.SetRotation(c.rotation);
        rec.SetTime(100);
        const int slot = StartMultiAnimation(&paper.canvas, 0, 0, &source, &target, &rec, -1);
        ASSERT_TRUE(IsAnimating(slot));
        ui_.AdvanceClock(40, 20);
        EXPECT_EQ(Shown(paper, 3, false), c.at40);
        ui_.AdvanceClock(100, 20);
        EXPECT_EQ(Shown(paper, 3, false), (std::vector<uint32_t>{0xFFFFFF, 0xFFFFFF, 0xFFFFFF}));
    }
}

TEST_F(EffectTest, ExecuteAnimationRunsToTheEndOnCopiesOrStopsWhenItsOwnerGoes) {
    TPaper paper(2, 2);
    TteBitmap source, target, empty;
    Fill(source, 2, 2, 0xFF000000);
    Fill(target, 2, 2, 0xFF00FF00);
    TteAnimationRec rec;
    rec.SetEffect("Fade");
    rec.SetTime(200);
    const DWORD start = GetTickCount();
    EXPECT_TRUE(ExecuteAnimation(&paper.canvas, 0, 0, &source, &target, &rec));
    EXPECT_GE(GetTickCount() - start, 200u);
    EXPECT_EQ(paper.At(1, 1), 0x00FF00u);
    // The caller's new look keeps its own alpha.
    EXPECT_EQ(target.GetPixel(0, 0), 0xFF00FF00u);
    EXPECT_FALSE(ExecuteAnimation(&paper.canvas, 0, 0, &empty, &target, &rec));

    // The form that owns the record closes half-way.
    TPaper other(2, 2);
    auto* owner = new TComponent(nullptr);
    auto* owned = new TteAnimationRec(owner);
    owned->SetEffect("Fade");
    owned->SetTime(1000);
    TTimer closer(nullptr);
    closer.SetInterval(100);
    closer.OnTimer = [&](TObject*) {
        closer.SetEnabled(false);
        delete std::exchange(owner, nullptr);
    };
    closer.SetEnabled(true);
    EXPECT_FALSE(ExecuteAnimation(&other.canvas, 0, 0, &source, &target, owned));
    EXPECT_EQ(owner, nullptr);
    EXPECT_NE(other.At(1, 1), 0x00FF00u);
    for (int i = 0; i < SlotCount(); ++i) EXPECT_FALSE(IsAnimating(i));
}

}  // namespace
}  // namespace tarvel
