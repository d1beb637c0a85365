#pragma once
// What the files that build the main window's pages share.

#include "app/Main.h"

namespace tarvel {

// A control of the window, named and placed on its parent.
template <class T>
T* MakeControl(TComponent* owner, TWinControl* parent, const String& name, int left, int top, int width,
               int height) {
    auto* control = new T(owner);
    if (!name.empty()) control->SetName(name);
    control->SetParent(parent);
    control->SetBounds(left, top, width, height);
    return control;
}

// Sets the caption a component shows, whatever its kind: menu items, tab
// sheets, buttons, check boxes, labels and group boxes.
void SetComponentCaption(TComponent* component, const String& caption);

// The 64 module tiles and the colour legend of TS_RunState.
void BuildModuleTiles(TMainForm& form, TWinControl* panel);

}  // namespace tarvel
