#pragma once
// A native up-down child whose two arrows the theme draws as scroll-bar
// buttons, each pressed while the button holds it and hot while the mouse
// moves over it. Presses and releases still reach the up-down, which steps
// or scrolls as always; mouse moves stop here.

#include <functional>

#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_subclass.h"

namespace tarvel {

class TThemedUpDown {
public:
    // `vertical`: the arrows are the top and bottom halves, else the left
    // and right ones; `theme` answers the theme that draws them.
    TThemedUpDown(bool vertical, std::function<TteTheme*()> theme)
        : vertical_(vertical), theme_(std::move(theme)) {}

    // Runs after each move over the arrows.
    std::function<void()> OnMouseMove;

    void Hook(HWND upDown) {
        hook_.Hook(upDown, [this](TMessage& m) { Proc(m); });
    }
    void Unhook() { hook_.Unhook(); }
    HWND Window() const { return hook_.Window(); }
    // Draws the arrows again without erasing.
    void Update() const;
    void ClearHot();
    // The first half (top or left) and the second, w or h div 2 pixels each.
    TRect FirstHalf() const;
    TRect SecondHalf() const;

private:
    void Proc(TMessage& m);

    bool vertical_;
    std::function<TteTheme*()> theme_;
    TWindowSubclass hook_;
    bool firstPressed_ = false, secondPressed_ = false, firstHot_ = false, secondHot_ = false;
};

}  // namespace tarvel
