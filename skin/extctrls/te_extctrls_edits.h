#pragma once
// The class library's edit, mask edit and month calendar with what lies
// around and behind their content drawn from the theme: the skinned edit
// frame in the non-client area (also used by the combo box and the date-time
// picker), the theme's edit interior as the background under the text, and
// the calendar's title in the theme's caption colours. The native behaviour
// stays, but for what keeps a single-line edit on one line: Up and Down move
// the caret as Left and Right, and no line break gets in.

#include <functional>

#include "platform/classlib/ComCtrls_DateTime.h"
#include "platform/classlib/Mask.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "skin/core/te_canvas_state.h"
#include "skin/core/te_forms_link.h"
#include "skin/core/te_theme_api.h"

namespace tarvel {

class TTePopupMenu;

// A canvas of its own lent a DC for one painting.
class TDcCanvas {
public:
    explicit TDcCanvas(HDC dc) : on_(canvas_, dc) {}
    TCanvas& operator*() { return canvas_; }

private:
    TCanvas canvas_;
    TCanvasOnDC on_;
};

// The frame state: disabled, else hot while the mouse is inside, else
// focused, else normal.
TteEditDrawState SkinnedEditState(TWinControl* control, bool mouseInside);
// The skinned edit frame on `rect`: the theme's Edit element when the link's
// theme (else the current one) defines it for `object`, else two classic
// sunken edges.
void PaintSkinnedEditFrame(TCanvas& canvas, const TRect& rect, TteCustomThemeLink* link, const String& object,
                           TteEditDrawState state);
// The classic frame: two sunken edges.
void PaintClassicEditFrame(TCanvas& canvas, const TRect& rect);
// Paints the frame of a control's window on its window DC with the client
// area left out; `outside` moves the frame just outside the window (an edit
// without border).
void PaintNonClientFrame(TWinControl* control, bool outside,
                         const std::function<void(TCanvas&, const TRect&)>& paintBorder);
// What a theme message asks of a wrapped control: the frame and the client
// painted again (changed, applied, released, system colours).
bool RepaintsOnThemeMessage(const TMessage& m);

// The mouse-inside flag of the skinned native controls: it follows the
// control's own enter and leave and is read when the frame is painted.
class TTeMouseInside {
public:
    bool MouseInside() const { return mouseInside_; }

protected:
    virtual ~TTeMouseInside() = default;
    virtual void MouseEnter() {}
    virtual void MouseLeave() {}
    // Call after the base handled CM_MOUSEENTER or CM_MOUSELEAVE; `own` tells
    // whether the message was the control's own. Answers `own`.
    bool FollowMouse(const TMessage& m, bool own) {
        if (!own) return false;
        mouseInside_ = m.Msg == CM_MOUSEENTER;
        if (mouseInside_)
            MouseEnter();
        else
            MouseLeave();
        return true;
    }

private:
    bool mouseInside_ = false;
};

template <class Base>
class TTeSkinnedEdit : public Base, public TTeThemeLinked, public TTeMouseInside {
public:
    explicit TTeSkinnedEdit(TComponent* owner);
    ~TTeSkinnedEdit() override;

    TAlignment TextAlign() const { return this->Alignment(); }
    void SetTextAlign(TAlignment value) { this->SetAlignment(value); }
    virtual void PaintBorder(TCanvas& canvas, const TRect& rect);
    // The background under the text: the theme's edit image, whose frame
    // falls outside `rect`'s client, or the control's colour.
    virtual void PaintBuffer(TCanvas& canvas, const TRect& rect);

protected:
    void WndProc(TMessage& m) override;
    void Notification(TComponent* component, TOperation operation) override;
    // The standard entries in the skin's popup menu, built on first use.
    void ShowContextMenu(TPoint screen) override;

private:
    TTePopupMenu* contextMenu_ = nullptr;
};

class TTeSEdit : public TTeSkinnedEdit<TEdit> {
    TARVEL_CLASS(TTeSEdit, TTeSkinnedEdit<TEdit>)

public:
    using TTeSkinnedEdit<TEdit>::TTeSkinnedEdit;
};

class TTeMaskEdit : public TTeSkinnedEdit<TMaskEdit> {
    TARVEL_CLASS(TTeMaskEdit, TTeSkinnedEdit<TMaskEdit>)

public:
    using TTeSkinnedEdit<TMaskEdit>::TTeSkinnedEdit;
};

// Lays the title in the theme's caption colours while a theme is there and
// gives back the colours it had after loading when the theme goes.
class TTeMonthCalendar : public TMonthCalendar, public TTeThemeLinked {
    TARVEL_CLASS(TTeMonthCalendar, TMonthCalendar)

public:
    explicit TTeMonthCalendar(TComponent* owner);
    ~TTeMonthCalendar() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateHandleDone() override;
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WMEraseBkgnd(TMessage& m);
    void SNMThemeMessage(TMessage& m);

private:
    TMonthCalColors saved_;
};

// The calendar colours a theme gives: no back colour of its own, the title
// in the window caption's colour and font colour.
void ApplyThemeCalColors(TMonthCalColors& colors, TteTheme* theme);

}  // namespace tarvel
