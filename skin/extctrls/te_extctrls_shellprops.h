#pragma once
// The "properties" verb of a shell item: a dialog of what the file system
// tells of it (name, kind, size, where it is, its dates, owner and
// permissions), drawn by the skin's controls.

#include <vector>

#include "skin/extctrls/te_extctrls_shell.h"

namespace tarvel {

// The caption, then one row of label and value each; the values are named
// "Value" followed by the label without its colon ("ValueSize").
struct TTeShellProperty {
    String Label;
    String Value;
};
std::vector<TTeShellProperty> ShellProperties(TTeShellFolder* item);

// Shows them modally; Exception when the item is gone.
void ShowShellProperties(TTeShellFolder* item);

}  // namespace tarvel
