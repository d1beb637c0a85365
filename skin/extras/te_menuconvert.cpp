#include "skin/extras/te_menuconvert.h"

namespace tarvel {

namespace {

void ConvertItems(TMenuItem* from, TTeItem* to, TComponent* owner, TClass itemClass, TStrings* log) {
    for (int i = 0; i < from->Count(); ++i) {
        TMenuItem* source = from->Items(i);
        TTeItem* item = itemClass->Create<TTeItem>(owner);
        AssignMenuItem(item, source);
        // An unnamed source has no name to hand on; its item stays unnamed.
        if (const String name = source->Name(); !name.empty()) {
            source->SetName(name + "_old");
            item->SetName(name);
        }
        to->Add(item);
        if (log) log->Add(" Convertion item: " + item->Name());
        ConvertItems(source, item, owner, itemClass, log);
    }
}

}  // namespace

void DoConvert(TTeItem* root, TMenu* menu, TComponent* owner, TClass itemClass, TStrings* log) {
    if (!itemClass || !root || !menu) return;
    auto line = [log](const String& text) {
        if (log) log->Add(text);
    };
    line("");
    line("Start menu convetion");
    line("");
    ConvertItems(menu->Items(), root, owner, itemClass, log);
    line(" Set Images property");
    root->SetImages(menu->Images());
    line("");
    line("Menu convetion complete !");
}

}  // namespace tarvel
