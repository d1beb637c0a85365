#pragma once
// A dialog panel on a shown form of its own, with the flat theme registered
// and the skinned controls' units started, for the panel tests.

#include <gtest/gtest.h>

#include "platform/classlib/testing/UiDriver.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_forms.h"
#include "skin/forms/te_forms_resources.h"
#include "skin/themes/theme_flat.h"

namespace tarvel::testing {

template <class TPanel>
class DialogPanelTest : public ::testing::Test {
protected:
    void SetUp() override {
        InitThemeCore();
        InitThemeFlat();
        InitControlBases();
        InitForms();
        form_ = new TForm(Application);
        form_->SetBounds(0, 0, 500, 380);
        panel_ = new TPanel(form_);
        panel_->SetParent(form_);
        form_->Show();
        ui_.RunUntilIdle();
    }
    void TearDown() override {
        delete form_;
        ui_.RunUntilIdle();
        DoneForms();
        DoneControlBases();
        DoneButtonGlyphs();
        DoneThemeCore();
    }

    TUiDriver ui_;
    TForm* form_ = nullptr;
    TPanel* panel_ = nullptr;
};

}  // namespace tarvel::testing
