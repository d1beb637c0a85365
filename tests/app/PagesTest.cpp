// The pages' controls, the tables of control pointers and the start
// captions of the main window.

#include "app/Main_Pages.h"
#include "tests/app/MainWindowFixture.h"

namespace tarvel::testing {
namespace {

constexpr TColor kLightEdge = static_cast<TColor>(0x80000016);

bool LiesOn(TControl* control, TWinControl* ancestor) {
    for (TWinControl* parent = control->Parent(); parent; parent = parent->Parent())
        if (parent == ancestor) return true;
    return false;
}

String CaptionOf(TComponent* component) {
    if (auto* group = dynamic_cast<TTeGroupBox*>(component)) return WideToUtf8(group->GetCaption());
    if (auto* label = dynamic_cast<TTeLabel*>(component)) return WideToUtf8(label->GetCaption());
    if (auto* speed = dynamic_cast<TTeSpeedButton*>(component)) return WideToUtf8(speed->GetCaption());
    if (auto* item = dynamic_cast<TMenuItem*>(component)) return item->Caption();
    return dynamic_cast<TControl*>(component)->Caption();
}

using PagesTest = MainWindowTest;

TEST_F(PagesTest, ControlsStandOnTheirSheets) {
    TMainForm* form = Start();
    const std::pair<const char*, TTeTabSheet*> cases[] = {
        {"Bat_RunState64", form->TS_RunState},
        {"TeLabel14", form->TS_RunState},
        {"DQ_Delete", form->TS_DataQuery},
        {"DBScrollBar", form->TS_DBChart},
        {"Bat_Cell64", form->TS_PraSet},
        {"TSBS_Cyc", form->TS_PraSet},
        {"SG_SerialNum", form->TS_SerialNum},
        {"B_WriteBMS", form->TS_TBMS},
        {"SG_Lowtempset", form->TS_TBMS},
        {"SG_CKB1", form->TS_Adjust},
        {"SG_AutoQueryTitle", form->TS_AutoQuery},
        {"B_ReadADC", form->TS_TADC},
        {"Setcap", form->TS_Monitor},
        {"TeEdit6", form->TS_Monitor},
        {"ClearHisAlarm", form->TS_HisAlarm},
        {"SG_AutoTSBSData", form->TS_AutoTSBSData},
        {"Protect_OFF13", form->TS_Control},
        {"valueset", form->TS_Control},
        {"TeCheckBox6", form->TeTabSheet1},
        {"TeProgressBar1", form->TeTabSheet1},
        {"TeButton19", form->TeTabSheet2},
        {"RE_ExtInfo", form->TS_ExtComm},
    };
    for (const auto& [name, sheet] : cases) EXPECT_TRUE(LiesOn(ui_.Find(form, name), sheet)) << name;
    // The first twelve sheets hold their controls on their scrolled panel.
    EXPECT_TRUE(LiesOn(form->SG_TBMS, form->ScrolledPanels[6]));
    EXPECT_TRUE(LiesOn(form->SG_Life, form->ScrolledPanels[11]));
}

TEST_F(PagesTest, HiddenGroupsStartHidden) {
    TMainForm* form = Start();
    for (TControl* control :
         std::initializer_list<TControl*>{form->TeGroupBox33, form->AllModule_Set, form->SG_Overcurrset,
                                          form->GB_History, form->TeGroupBox38, form->AutoCheckEdits[5]}) {
        EXPECT_FALSE(control->Showing()) << control->Name();
    }
    for (TTeCheckBox* step : form->ExportStepChecks) EXPECT_FALSE(step->Enabled());
}

TEST_F(PagesTest, TileTablesHoldTheModulesInOrder) {
    TMainForm* form = Start();
    for (int i = 0; i < kModuleCount; ++i) {
        SCOPED_TRACE(i);
        const String n = IntToStr(i + 1);
        TGauge* body = form->RunStateGauges[i];
        EXPECT_EQ(body->Name(), "Bat_RunState" + n);
        EXPECT_EQ(body->Tag, i);
        EXPECT_EQ(body->ForeColor(), TColor(0x00FF00));
        EXPECT_EQ(body->BackColor(), TColor(0xFFFFFF));
        EXPECT_EQ(body->Progress(), 0);

        TGauge* cap = form->PosGauges[i];
        EXPECT_EQ(cap->Name(), "BatPosCG" + n);
        EXPECT_EQ(cap->Tag, i);
        EXPECT_EQ(cap->Left(), 24);
        EXPECT_EQ(cap->BackColor(), kLightEdge);

        TTeLabel* click = form->ModuleLabels[i];
        EXPECT_EQ(click->Name(), "Bat_Label" + n);
        EXPECT_EQ(click->Tag, i);
        EXPECT_FALSE(click->AutoSize());
        EXPECT_TRUE(click->Transparent());
        EXPECT_EQ(click->Left(), 16);
        EXPECT_EQ(click->Top(), 21);

        EXPECT_EQ(form->TileEdits[i]->Name(), i < 9 ? "TeSEdit20" + n : "TeSEdit2" + n);
        EXPECT_FALSE(form->TileEdits[i]->Visible());

        TTeLabel* position = form->PositionLabels[i];
        EXPECT_EQ(position->Name(), "BatPosi" + n);
        EXPECT_EQ(position->Left(), 24);
        EXPECT_EQ(position->Color(), kLightEdge);
        EXPECT_FALSE(position->Visible());

        for (const auto& [label, name, caption] : {std::tuple{form->VoltageLabels[i], "Batt_Vol", u"V "},
                                                   std::tuple{form->CurrentLabels[i], "Bat_Curr", u"I "}}) {
            EXPECT_EQ(label->Name(), name + n);
            EXPECT_EQ(label->Tag, i);
            EXPECT_EQ(label->Left(), 5);
            EXPECT_EQ(label->Width(), 60);
            EXPECT_EQ(label->GetCaption(), caption);
        }
        EXPECT_TRUE(LiesOn(click, form->ScrolledPanels[0]));
    }
}

TEST_F(PagesTest, SwitchAndPanelTablesAreTaggedByIndex) {
    TMainForm* form = Start();
    for (size_t i = 0; i < form->ProtectSwitches.size(); ++i) {
        EXPECT_EQ(form->ProtectSwitches[i]->Name(), "Protect_OFF" + IntToStr(static_cast<int>(i) + 1));
        EXPECT_EQ(form->ProtectSwitches[i]->Tag, static_cast<int>(i));
    }
    for (size_t i = 0; i < form->ScrolledPanels.size(); ++i)
        EXPECT_EQ(form->ScrolledPanels[i]->Tag, static_cast<int>(i));
}

TEST_F(PagesTest, ModuleCheckBoxesAreCaptionedByNumber) {
    TMainForm* form = Start();
    for (int i = 0; i < kModuleCount; ++i) {
        TTeCheckBox* box = form->ModuleChecks[i];
        EXPECT_EQ(box->Name(), "Bat_Cell" + IntToStr(i + 1));
        EXPECT_EQ(box->Tag, i);
        EXPECT_EQ(ui_.Caption(box), "Module [" + IntToStr(i + 1) + "]");
    }
    EXPECT_EQ(ui_.Caption(form->Bat_Cell_All), "ALL");
}

TEST_F(PagesTest, CaptionsKeepTheirExactBlanks) {
    TMainForm* form = Start();
    const std::pair<const char*, const char*> cases[] = {
        {"TS_RunState", " Run State "},
        {"TS_Monitor", " System Monitor "},
        {"TeTabSheet1", "Export System Data"},
        {"ClearLookData", "Clear Records "},
        {"RunColor", "Meaning Of Color For Runing State Of Battery:"},
        {"TeLabel10", "     Full:"},
        {"TeLabel12", "     Idle:"},
        {"TeLabel13", "       Prot/Fail:"},
        {"BatCellBox", "Battery Module Option:"},
        {"TeLabel16", " More Module:"},
        {"TeButton3", "Auto GetAddress"},
        {"DQ_Query", "Query"},
        {"B_WriteBMS", "Modify"},
        {"TeScrollingLabel6", "Record Counts:"},
        {"CB_AutoReadADC", "Query By Automatic"},
    };
    for (const auto& [name, caption] : cases)
        EXPECT_EQ(CaptionOf(ui_.FindComponent(form, name)), caption) << name;
}

TEST_F(PagesTest, CaptionsReachEveryKindOfControl) {
    TMainForm* form = Start();
    auto* item = new TMenuItem(form);
    auto* speed = new TTeSpeedButton(form);
    speed->SetParent(form);
    auto* group = new TTeGroupBox(form);
    group->SetParent(form);
    auto* label = new TTeLabel(form);
    label->SetParent(form);
    for (TComponent* component :
         std::initializer_list<TComponent*>{item, speed, group, label, form->TS_Info}) {
        SetComponentCaption(component, " Port Setting(&S) ");
        EXPECT_EQ(CaptionOf(component), " Port Setting(&S) ") << component->ClassName();
    }
    EXPECT_EQ(ui_.Caption(label), " Port Setting(&S) ");
    SetComponentCaption(nullptr, "nothing");  // a name the window lacks
}

// A label on a group shows the group's face, which the skin paints: only a
// label given a colour of its own paints a background there.
TEST_F(PagesTest, LabelsOnGroupsAreTransparent) {
    TMainForm* form = Start();
    int labels = 0;
    for (int i = 0; i < form->ComponentCount(); ++i) {
        auto* control = dynamic_cast<TControl*>(form->Components(i));
        if (!control ||
            !(dynamic_cast<TTeGroupBox*>(control->Parent()) || dynamic_cast<TGroupBox*>(control->Parent())))
            continue;
        if (auto* label = dynamic_cast<TLabel*>(control)) {
            ++labels;
            EXPECT_TRUE(label->Transparent() || !label->ParentColor()) << label->Name();
        } else if (auto* skinned = dynamic_cast<TTeLabel*>(control)) {
            ++labels;
            EXPECT_TRUE(skinned->Transparent() || !skinned->ParentColor()) << skinned->Name();
        }
    }
    EXPECT_GT(labels, 20);
    // The battery-state lamps' labels among them.
    auto* charge = dynamic_cast<TLabel*>(form->FindComponent("Label21"));
    ASSERT_NE(charge, nullptr);
    EXPECT_TRUE(charge->Transparent());
}

TEST_F(PagesTest, WindowOpensOnTheExportSheet) {
    TMainForm* form = Start();
    EXPECT_EQ(form->PC_All->GetActivePage(), form->TeTabSheet1);
    EXPECT_TRUE(ui_.Visible(form->TeButton16));
}

}  // namespace
}  // namespace tarvel::testing
