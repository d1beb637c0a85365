#pragma once
// References to components the controls do not own (image lists, theme
// links): cleared by the free notification that follows the reference.

#include "platform/classlib/Components.h"

namespace tarvel {

template <class T>
void SetFreeNotified(TComponent* self, T*& field, T* value) {
    if (field) field->RemoveFreeNotification(self);
    field = value;
    if (field) field->FreeNotification(self);
}

}  // namespace tarvel
