#pragma once
// The recent-records dialog: how many of the module's latest history alarms
// to download.

#include "platform/classlib/Forms.h"

namespace tarvel {

class TGetHisSet : public TForm {
    TARVEL_CLASS(TGetHisSet, TForm)

public:
    explicit TGetHisSet(TComponent* owner);
    ~TGetHisSet() override;
};

extern TGetHisSet* GetHisSet;

}  // namespace tarvel
