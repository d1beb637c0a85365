#pragma once
// Moving a form's class-library menu to a skinned one: the menu's items
// become skinned items under a root, and the old items step aside under new
// names ("_old" appended) so that the new ones take their names.

#include "platform/classlib/Menus.h"
#include "platform/classlib/StringLists.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {

// Items of `itemClass` (a TTeItem class) owned by `owner`, built from
// `menu`'s tree under `root`, with progress lines added to `log` when there
// is one. Nothing without an item class. A name already taken raises the
// class library's component error; what was converted so far stays.
void DoConvert(TTeItem* root, TMenu* menu, TComponent* owner, TClass itemClass, TStrings* log);

}  // namespace tarvel
