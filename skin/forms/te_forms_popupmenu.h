#pragma once
// The skinned context menu: a class-library popup menu whose entries are a
// TTeItem tree shown in skinned popup windows. One popup menu is open at a
// time; opening a second closes the first.

#include <memory>

#include "skin/core/te_theme.h"
#include "skin/forms/te_forms_menus.h"

namespace tarvel {

class TTePopupMenu : public TPopupMenu, public TTeLineReduction {
    TARVEL_CLASS(TTePopupMenu, TPopupMenu)

public:
    explicit TTePopupMenu(TComponent* owner);
    ~TTePopupMenu() override;

    // The skinned entries; they hide the class library's item list, which
    // stays empty.
    TTeItem* Items() const { return items_; }
    TCustomImageList* Images() const { return items_->Images(); }
    void SetImages(TCustomImageList* value) { items_->SetImages(value); }
    TTePopupMenuOptions* PopupMenuOptions() { return &options_; }
    void SetPopupMenuOptions(TTePopupMenuOptions* value);
    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    void SetThemeLink(TteCustomThemeLink* value);

    // Opens the menu at a screen point; returns when it has closed.
    void Popup(int x, int y) override;
    // Ends the open menu. Nothing without a windowed owner.
    virtual void Close();

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void GetChildren(const std::function<void(TComponent* child)>& proc) override;

private:
    TTeItem* items_ = nullptr;
    TTePopupMenuOptions options_;
    TteCustomThemeLink* themeLink_ = nullptr;
};

// The popup menu whose menu is open, or null.
extern TTePopupMenu* ActivePopupMenu;

// Shadow, animation and blending that every popup menu takes at its next
// Popup while Enabled is set.
struct TTeDefaultMenuOptions {
    bool Enabled = false;
    TTeBlending Blending;
    TTeShadow Shadow;
    TTeAnimation Animation;
};
extern TTeDefaultMenuOptions DefaultMenuOptions;

}  // namespace tarvel
