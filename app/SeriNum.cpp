#include "app/SeriNum.h"

namespace tarvel {

TSerialNum* SerialNum = nullptr;

TSerialNum::TSerialNum(TComponent* owner) : TForm(owner) {
    SerialNum = this;
    SetName("SerialNum");
}

TSerialNum::~TSerialNum() {
    if (SerialNum == this) SerialNum = nullptr;
}

}  // namespace tarvel
