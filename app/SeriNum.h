#pragma once
// The module detail window: the stored reading of one parallel module,
// opened from its tile.

#include "platform/classlib/Forms.h"

namespace tarvel {

class TSerialNum : public TForm {
    TARVEL_CLASS(TSerialNum, TForm)

public:
    explicit TSerialNum(TComponent* owner);
    ~TSerialNum() override;
};

extern TSerialNum* SerialNum;

}  // namespace tarvel
