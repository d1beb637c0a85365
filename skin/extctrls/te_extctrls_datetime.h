#pragma once
// The class library's date-time picker with its frame, its drop-down button
// and the arrows of its up-down child drawn from the theme, and its drop-
// down calendar's title in the theme's caption colours. Everything else is
// the picker's own: the fields, the keys, the calendar and the stepping.

#include "platform/classlib/ComCtrls_DateTime.h"
#include "platform/classlib/Timers.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"
#include "skin/extctrls/te_extctrls_edits.h"
#include "skin/extctrls/te_extctrls_updown.h"

namespace tarvel {

class TTeDateTimePicker : public TDateTimePicker, public TTeThemeLinked, public TTeMouseInside {
    TARVEL_CLASS(TTeDateTimePicker, TDateTimePicker)

public:
    explicit TTeDateTimePicker(TComponent* owner);
    ~TTeDateTimePicker() override;

    // The client's right 16 pixels, full height.
    TRect GetButtonRect();
    bool ButtonHotFlag() const { return buttonHot_; }
    // The up-down child while its arrows are ours to draw.
    HWND HookedUpDown() const { return upDown_.Window(); }
    // Whether the button is still being redrawn after the calendar opened.
    bool ButtonRedrawRunning() const { return timer_->Enabled(); }

    virtual void PaintBorder(TCanvas& canvas, const TRect& rect);
    // The drop-down button (theme), or the colour and a classic button.
    virtual void PaintBuffer(TCanvas& canvas, const TRect& rect);

protected:
    static void DeclareMessages(TMessageTable& t);
    void WndProc(TMessage& m) override;
    void Paint() override;
    void CreateHandleDone() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void CNNotify(TMessage& m);
    void SNMThemeMessage(TMessage& m);

private:
    bool EditThemed() const;
    void InvalidateButton();
    void DoBtnTimer();
    void HookUpDown();
    void UnhookUpDown() { upDown_.Unhook(); }

    TTimer* timer_;
    int ticks_ = 0;
    bool buttonHot_ = false;
    TMonthCalColors saved_;
    TThemedUpDown upDown_;
};

}  // namespace tarvel
