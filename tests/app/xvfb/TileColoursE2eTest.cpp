// The colours of the run-state tiles and the telemetry page as the screen
// shows them, polling started and stopped through the X server: no
// percentage on a tile without a reading, a percentage that reads over the
// filled and the empty part, no tile left "asked" after polling stops, and
// lamp labels on the group's own face.

#include "platform/classlib/Colors.h"
#include "tests/app/xvfb/ToolXvfbFixture.h"

namespace tarvel {
namespace {

constexpr TColor kAsked = 0x00FFFF;

class TileColoursE2e : public ToolOnX11 {
protected:
    sim::SimConfig Modules() const override {
        sim::SimConfig config;
        config.addresses = {1, 2, 3};
        config.baud = 0;
        return config;
    }

    // The colour a client point of the control has in a picture of the
    // screen, as a TColor; reading the whole screen once per check keeps a
    // scan of many pixels quick.
    TColor PixelOf(const Surface& screen, TControl* control, TPoint client) const {
        const TPoint at = XPoint(control, client);
        if (at.x < 0 || at.y < 0 || at.x >= screen.Width() || at.y >= screen.Height()) return clNone;
        const uint32_t rgb = screen.Pixel(at.x, at.y) & 0xFFFFFFu;
        return static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    }
    // The best contrast any pixel of the rectangle has with `under`: the
    // text's core, where text is written over that colour.
    double TextContrast(const Surface& screen, TControl* control, TRect area, TColor under) const {
        double best = 1.0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x)
                best = std::max(best, ContrastRatio(PixelOf(screen, control, TPoint{x, y}), under));
        return best;
    }
    // Whether any pixel of the control shows `colour`.
    bool Shows(const Surface& screen, TControl* control, TColor colour) const {
        const TRect r = control->ClientRect();
        for (int y = r.top; y < r.bottom; ++y)
            for (int x = r.left; x < r.right; ++x)
                if (PixelOf(screen, control, TPoint{x, y}) == colour) return true;
        return false;
    }
    // One step of the poll clock that sends, and its answer. The clock is
    // driven here: a loaded machine would run a backlog of real ticks past
    // the answers' time-out.
    void PollStep() {
        const uint32_t sent = MainForm->PollRequestCount;
        while (MainForm->PollRequestCount == sent) MainForm->PollTick();
        ASSERT_TRUE(Await([] { return MainForm->PollInProgress == 0; }))
            << "module " << MainForm->PollIndex + 1;
    }
};

TEST_F(TileColoursE2e, PercentagesReadOnlyOnTilesWithReadingsAndNothingStaysAsked) {
    // Module 1 nearly full, so its percentage lies on the fill; module 2
    // nearly empty, so its percentage lies on the empty part.
    line->Sim().UpdateModule(1, [](sim::ModuleState& m) {
        m.steady = true;
        m.telemetry.soc = 90;
        m.telemetry.battState = 1;
    });
    line->Sim().UpdateModule(2, [](sim::ModuleState& m) {
        m.steady = true;
        m.telemetry.soc = 10;
        m.telemetry.battState = 2;
    });
    StartTool();
    ASSERT_TRUE(Click("TB_COMSwitch"));
    ASSERT_TRUE(Await([] { return MainForm->PortOpen != 0; }));
    ASSERT_TRUE(Click("TB_SingleConvert"));
    ASSERT_TRUE(Await([] { return MainForm->MultiModuleMode != 0; }));
    Settle(MainForm->Handle());
    for (int k = 1; k <= 3; ++k) ASSERT_TRUE(Click(MainForm->ModuleChecks[k - 1])) << k;
    ASSERT_TRUE(TypeInto(Control("PS_Cyc"), "1"));
    ASSERT_TRUE(TypeInto(Control("TSBS_Cyc"), "1"));
    ASSERT_TRUE(Click("TeButton1"));
    MainForm->KillPollTimer();
    AnswerBox("Yes");
    ASSERT_TRUE(Click("PC_All_Query"));
    // Modules 1 and 2 take their answered colours when the next is asked.
    for (int step = 0; step < 3; ++step) ASSERT_NO_FATAL_FAILURE(PollStep());
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-tiles-polling.png"));
    const std::unique_ptr<Surface> polling = sdl->ScreenPixels();
    ASSERT_NE(polling, nullptr);

    // A tile never polled holds no text: only its white face.
    TGauge* unpolled = MainForm->RunStateGauges[9];
    const TRect face = unpolled->ClientRect();
    for (int y = face.top + 2; y < face.bottom - 2; ++y)
        for (int x = face.left + 2; x < face.right - 2; ++x)
            ASSERT_EQ(PixelOf(*polling, unpolled, TPoint{x, y}), clWhite) << x << "," << y;

    // The percentage's text against the part it lies on, read from the screen.
    for (int k : {1, 2}) {
        TGauge* body = MainForm->RunStateGauges[k - 1];
        const TRect r = body->ClientRect();
        const TPoint middle{r.Width() / 2, r.Height() / 2};
        const TColor under = PixelOf(*polling, body, TPoint{2, middle.y});
        const TRect text{r.left + 3, middle.y - 7, r.right - 3, middle.y + 7};
        EXPECT_GE(TextContrast(*polling, body, text, under), 3.0) << "module " << k;
    }
    // The other part of the gauge is what the tool coloured it, so the text
    // was read against the fill (module 1) and the empty part (module 2).
    EXPECT_EQ(
        PixelOf(*polling, MainForm->RunStateGauges[0], TPoint{2, MainForm->RunStateGauges[0]->Height() / 2}),
        MainForm->RunStateGauges[0]->ForeColor());
    EXPECT_EQ(
        PixelOf(*polling, MainForm->RunStateGauges[1], TPoint{2, MainForm->RunStateGauges[1]->Height() / 2}),
        MainForm->RunStateGauges[1]->BackColor());

    ASSERT_TRUE(Click("PC_All_Query"));
    EXPECT_FALSE(MainForm->PC_All_Query->Checked());
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-tiles-stopped.png"));
    const std::unique_ptr<Surface> stopped = sdl->ScreenPixels();
    ASSERT_NE(stopped, nullptr);
    for (TGauge* body : MainForm->RunStateGauges) EXPECT_FALSE(Shows(*stopped, body, kAsked)) << body->Name();
}

TEST_F(TileColoursE2e, LampLabelsShowTheirGroupsFace) {
    StartTool();
    MainForm->PC_All->SetActivePage(MainForm->TS_TSBS);
    Settle(MainForm->Handle());
    EXPECT_TRUE(Save(MainForm, "e2e-telemetry-lamps.png"));
    auto* label = dynamic_cast<TLabel*>(Control("Label21"));  // "Charge" of the battery state
    ASSERT_NE(label, nullptr);
    // Past the text's end, the label shows what its group shows beside it.
    const TColor group =
        PixelIn(label->Parent(), TPoint{label->Left() + label->Width() + 2, label->Top() + 1});
    EXPECT_EQ(PixelIn(label, TPoint{label->Width() - 2, 1}), group);
    EXPECT_NE(group, ColorToRGB(clBtnFace));
}

}  // namespace
}  // namespace tarvel
