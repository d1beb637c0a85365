#pragma once
// What every skinned control keeps of its theme, beside its control base:
// the link it draws through, watched so that a link being freed is
// forgotten, and the name of its object in that theme. A control inherits
// it next to TTeControl, TTeGraphicControl or a class-library control and
// hands itself in; its Notification calls ForgetThemeLink.

#include <cstdint>

#include "platform/base/Strings.h"
#include "platform/classlib/Controls.h"
#include "skin/core/te_theme.h"

namespace tarvel {

// What setting the link or the object does beyond storing it. Without
// rules a change moves the control to its object's bounds, else repaints it.
enum TTeThemeLinkRule : uint8_t {
    ktlrSkipSame,           // setting the value already held does nothing
    ktlrDefaultKeepsPlace,  // naming the object "default" neither moves nor repaints
    ktlrRepaintOnly,        // a change repaints; bounds are left to the theme messages
};
using TTeThemeLinkRules = TSet<TTeThemeLinkRule>;

class TTeThemeLinked {
public:
    TTeThemeLinked(const TTeThemeLinked&) = delete;
    TTeThemeLinked& operator=(const TTeThemeLinked&) = delete;

    TteCustomThemeLink* ThemeLink() const { return themeLink_; }
    virtual void SetThemeLink(TteCustomThemeLink* value);
    const String& ThemeObject() const { return themeObject_; }
    void SetThemeObject(const String& value);

protected:
    explicit TTeThemeLinked(TControl* control, TTeThemeLinkRules rules = {})
        : control_(control), rules_(rules) {}
    virtual ~TTeThemeLinked() = default;

    // The link's theme, else the current one.
    TteTheme* Theme() const;
    // Moves the control to the bounds the theme gives its object; without
    // such bounds repaints it when asked to.
    void FollowThemeLink(bool repaint) const;
    // From the control's Notification.
    void ForgetThemeLink(TComponent* component, TOperation operation);
    // Whether SNM_LINKCHANGED speaks of this control's link.
    bool IsOwnLinkMessage(const TMessage& m) const;

    TteCustomThemeLink* themeLink_ = nullptr;
    String themeObject_ = "default";

private:
    void Changed();

    TControl* control_;
    TTeThemeLinkRules rules_;
};

}  // namespace tarvel
