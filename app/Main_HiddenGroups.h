#pragma once
// The groups of the remote-control, clock and automatic-check features that
// the pages do not make. They stand on their tabs hidden, as the form keeps
// them; each button is bound as it is made, or taken over when a page
// already made it.

#include <functional>

#include "app/Main_Pages.h"
#include "platform/base/Strings.h"

namespace tarvel {

// The scrolled panels the groups stand on.
constexpr int kTsbsPanel = 1;
constexpr int kMonitorPanel = 11;

inline TTeGroupBox* MakeHiddenGroup(TMainForm& form, TWinControl* parent, const String& name, TRect bounds,
                                    const char* caption) {
    auto* group = MakeControl<TTeGroupBox>(&form, parent, name, bounds.left, bounds.top, bounds.Width(),
                                           bounds.Height());
    group->SetCaption(Utf8ToWide(caption));
    group->SetVisible(false);
    return group;
}

// The button of that name (made here unless a page made it) with its
// caption, place and click.
template <class Button = TTeButton>
Button* BindButton(TMainForm& form, TWinControl* parent, const String& name, const char* caption,
                   TRect bounds, std::function<void()> click) {
    auto* button = dynamic_cast<Button*>(form.FindComponent(name));
    if (!button) button = MakeControl<Button>(&form, parent, name, 0, 0, 0, 0);
    button->SetBounds(bounds.left, bounds.top, bounds.Width(), bounds.Height());
    button->SetCaption(Utf8ToWide(caption));
    button->OnClick = [click = std::move(click)](TObject*) { click(); };
    return button;
}

inline TTeLabel* MakeCaptionLabel(TMainForm& form, TWinControl* parent, const char* caption, int left,
                                  int top, int width) {
    auto* label = MakeControl<TTeLabel>(&form, parent, "", left, top, width, 16);
    label->SetText(caption);
    return label;
}

inline TRect Area(int left, int top, int width, int height) {
    return TRect{left, top, left + width, top + height};
}

}  // namespace tarvel
