#include "platform/classlib/Persistent.h"

namespace tarvel {

void TPersistent::Assign(TPersistent* source) {
    if (source == nullptr) AssignError(nullptr);
    source->AssignTo(this);
}

void TPersistent::AssignTo(TPersistent* dest) { dest->AssignError(this); }

void TPersistent::AssignError(TPersistent* source) {
    const String from = source ? source->ClassName() : String("nil");
    throw EConvertError("Cannot assign a " + from + " to a " + ClassName());
}

}  // namespace tarvel
