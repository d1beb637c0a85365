#pragma once
// Objects that can copy themselves from others of a kind they know.

#include "platform/classlib/Objects.h"

namespace tarvel {

class TFiler;

class TPersistent : public TObject {
    TARVEL_CLASS(TPersistent, TObject)

public:
    // Copies from `source`. The default hands over to source->AssignTo(this);
    // a pair neither side knows raises EConvertError "Cannot assign a X to a Y".
    virtual void Assign(TPersistent* source);
    virtual TPersistent* GetOwner() { return nullptr; }

protected:
    virtual void AssignTo(TPersistent* dest);
    // Properties stored in component streams beside the published ones,
    // through the filer's DefineProperty and DefineBinaryProperty.
    virtual void DefineProperties(TFiler&) {}

private:
    friend class TReader;
    friend class TWriter;
    [[noreturn]] void AssignError(TPersistent* source);
};

// Runs `body` between target.BeginUpdate() and target.EndUpdate(); the update
// ends also when the body raises (a raising change handler then replaces the
// body's error instead of ending the program, as a destructor would).
template <class T, class F>
void BatchUpdate(T& target, F&& body) {
    target.BeginUpdate();
    try {
        body();
    } catch (...) {
        target.EndUpdate();
        throw;
    }
    target.EndUpdate();
}

}  // namespace tarvel
