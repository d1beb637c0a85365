#include "skin/extras/te_extended_skin.h"

#include "skin/themes/theme_se3.h"
#include "skin/themes/theme_se3objects.h"

namespace tarvel {

TSeSkinSource* GetSkinSource(const TteTheme* theme) {
    const auto* skin = dynamic_cast<const TTeSkinFile*>(theme);
    return skin ? skin->WorkSource() : nullptr;
}

bool IsSkinSource(const TteTheme* theme) { return GetSkinSource(theme) != nullptr; }

TSeSkinObject* FindSkinObject(const TteTheme* theme, const String& name) {
    TSeSkinSource* source = GetSkinSource(theme);
    return source ? source->GetObjectByName(name) : nullptr;
}

TRect SkinObjectBounds(const TSeSkinObject* object) { return object->GetBoundsRect(); }

void DrawSkinObject(TSeSkinObject* object, TCanvas& canvas, const TRect& rect) {
    // The object is shared by every control showing it: its own size must
    // survive for the next one that asks.
    const TRect own = object->GetBoundsRect();
    object->SetBoundsRect(rect);
    object->Draw(canvas, rect);
    object->SetBoundsRect(own);
}

TSeSkinObject* SkinObjectChild(const TSeSkinObject* object, const String& name) {
    for (int i = 0; i < object->GetCount(); ++i)
        if (SameText(object->GetObject(i)->Name(), name)) return object->GetObject(i);
    return nullptr;
}

TRect SkinObjectMargins(const TSeSkinObject* object) {
    return TRect{object->GetMarginLeft(), object->GetMarginTop(), object->GetMarginRight(),
                 object->GetMarginBottom()};
}

}  // namespace tarvel
