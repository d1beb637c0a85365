#include "app/GetHis.h"

namespace tarvel {

TGetHisSet* GetHisSet = nullptr;

TGetHisSet::TGetHisSet(TComponent* owner) : TForm(owner) {
    GetHisSet = this;
    SetName("GetHisSet");
}

TGetHisSet::~TGetHisSet() {
    if (GetHisSet == this) GetHisSet = nullptr;
}

}  // namespace tarvel
