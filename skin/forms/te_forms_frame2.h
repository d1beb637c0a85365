#pragma once
// The light form frame. TTeDefaultForm2 paints and hit-tests the frame like
// the full frame but keeps no state of its own: border style, caption
// buttons and window state are the form's, and the window system moves,
// sizes, minimizes and maximizes the window. It has no effects, snapping,
// roll-up or tray. TTeForm2 draws it from a theme.

#include "skin/forms/te_forms_frame.h"

namespace tarvel {

class TTeDefaultForm2 : public TTeForm {
    TARVEL_CLASS(TTeDefaultForm2, TTeForm)

public:
    explicit TTeDefaultForm2(TComponent* owner);

    // Read from the form (normal, none and sizeable without one).
    TWindowState FormWindowState() const;
    TBorderIcons FormBorderIcons() const;
    TFormBorderStyle FormBorderStyle() const;
    bool Sizeable() const;

    void Maximize() override;
    void Minimize() override;
    void Restore() override;
    void Close() override;
    // Not a state of the window system's: the slots a theme keeps for them do nothing.
    void Rollup() override {}
    void MinToTray() override {}
    TSize GetMinTrackSize() override { return TSize{}; }
    TSize GetMaxTrackSize() override { return TSize{}; }

protected:
    static void DeclareMessages(TMessageTable& t);
    void Loaded() override;
    void DoBeforeMessage(TMessage& message, bool& handled) override;
    // Takes the form's look on as the frame's.
    void SyncLook();
    TteWindowButtons ThemeButtons() override;
    // A request for part of the background repaints all of it.
    bool RepaintsPartOfTheBackground() const override { return false; }

private:
    void WMNCHitTest(TMessage& m);
    void WMNCLButton(TMessage& m);
    void WMNCMove(TMessage& m);
};

class TTeForm2 : public TTeDefaultForm2 {
    TARVEL_CLASS(TTeForm2, TTeDefaultForm2)

public:
    explicit TTeForm2(TComponent* owner);
};

TteWindowSubclass WindowSubclass2(TTeDefaultForm2* frame);
TteWindowButtons WindowButtons2(TTeDefaultForm2* frame);
// The active light frame of the form a control lies on, or null.
inline TTeDefaultForm2* GetParentQvForm2(TControl* control) {
    return FirstActiveFrame<TTeDefaultForm2>(control);
}

}  // namespace tarvel
