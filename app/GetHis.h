#pragma once
// The recent-records dialog: how many of the module's latest history alarms
// to download. One instance, kept between openings, so the count typed last
// is offered again.

#include "platform/classlib/Forms.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/controls/te_controls_label.h"

namespace tarvel {

class TGetHisSet : public TForm {
    TARVEL_CLASS(TGetHisSet, TForm)

public:
    explicit TGetHisSet(TComponent* owner);
    ~TGetHisSet() override;

    // Checks the count, asks, sends request 0x2D and closes; a refused count
    // or a No keeps the dialog open.
    void GetHis1Click(TObject* sender);

    TTeLabel* TeLabel1 = nullptr;
    TTeEdit* GetHisSetNum = nullptr;
    TTeLabel* TeLabel2 = nullptr;
    TTeButton* GetHis1 = nullptr;
};

extern TGetHisSet* GetHisSet;

}  // namespace tarvel
