#pragma once
// Objects that can copy themselves from others of a kind they know.

#include "platform/classlib/Objects.h"

namespace tarvel {

class TPersistent : public TObject {
    TARVEL_CLASS(TPersistent, TObject)

public:
    // Copies from `source`. The default hands over to source->AssignTo(this);
    // a pair neither side knows raises EConvertError "Cannot assign a X to a Y".
    virtual void Assign(TPersistent* source);
    virtual TPersistent* GetOwner() { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);

private:
    [[noreturn]] void AssignError(TPersistent* source);
};

}  // namespace tarvel
