// The header control that only holds an effect slot, and the header list
// box that carries one.

#include "skin/extras/te_extra_effect_composites.h"

#include <gtest/gtest.h>

#include "tests/skin/extras/EffectControlsFixture.h"

namespace tarvel {
namespace {

class EffectCompositesTest : public testing::EffectControlsTest {};

TEST_F(EffectCompositesTest, TheHeaderHoldsASlotItNeverRunsAndGivesItBack) {
    auto* header = Make<TTeEffectHeaderControl>(10, 10);
    header->SetBounds(10, 10, 200, 20);
    header->Sections()->Add()->SetText(u"Cell");
    ui_.RunUntilIdle();
    Away();
    int events = 0;
    header->OnMouseEnter = [&](TObject*) { ++events; };
    header->OnMouseLeave = [&](TObject*) { ++events; };
    const int mine = header->ReservedSlot();
    ASSERT_GE(mine, 0);
    MoveTo(header, {5, 5});
    EXPECT_TRUE(header->IsHot());
    EXPECT_FALSE(IsAnimating(mine));
    Away();
    EXPECT_FALSE(header->IsHot());
    EXPECT_EQ(events, 2);
    TTeAdvancedAnimation wanted;
    wanted.SetTime(900);
    header->SetAnimation(&wanted);
    EXPECT_EQ(header->Animation()->Time(), 900);
    delete header;
    EXPECT_EQ(ReserveIndex(), mine);
}

TEST_F(EffectCompositesTest, TheHeaderListBoxCarriesAnEffectHeader) {
    auto* box = Make<TTeEffectHeaderListBox>(10, 10);
    ASSERT_NE(dynamic_cast<TTeEffectHeaderControl*>(box->HeaderControl()), nullptr);
    EXPECT_EQ(box->HeaderControl()->Sections()->Count(), 1);
    TTeAdvancedAnimation wanted;
    wanted.SetTime(900);
    box->SetAnimation(&wanted);
    box->SetAnimation(nullptr);
    EXPECT_EQ(box->Animation()->Time(), 900);
    const int slot = box->EffectHeader()->ReservedSlot();
    delete box;
    EXPECT_EQ(ReserveIndex(), slot);
}

}  // namespace
}  // namespace tarvel
