#pragma once
// The standard controls the library's own boxes and dialogs are made of, in
// their plainest form: a label, a push button, a one-line edit and a list box.

#include <memory>

#include "platform/classlib/Controls.h"
#include "platform/classlib/StdCtrls_ComboBox.h"
#include "platform/classlib/StdCtrls_Edit.h"
#include "platform/classlib/StdCtrls_ListBox.h"
#include "platform/classlib/StringLists.h"
#include "platform/classlib/UiAccess.h"

namespace tarvel {

enum TTextLayout { tlTop, tlCenter, tlBottom };
// How a one-line caption too long for its label is shortened.
enum TEllipsisPosition { epNone, epPathEllipsis, epEndEllipsis };

// The text extent of `text` in `font` (DrawText rules: "&" prefixes, and
// line breaks at `wrapWidth` when it is positive).
TSize MeasureText(TFont* font, const String& text, int wrapWidth, bool prefixes);

class TLabel : public TGraphicControl {
    TARVEL_CLASS(TLabel, TGraphicControl)

public:
    explicit TLabel(TComponent* owner);

    TAlignment Alignment() const { return alignment_; }
    void SetAlignment(TAlignment a);
    bool WordWrap() const { return wordWrap_; }
    void SetWordWrap(bool v);
    bool Transparent() const { return transparent_; }
    void SetTransparent(bool v);
    bool ShowAccelChar() const { return showAccelChar_; }
    void SetShowAccelChar(bool v);
    // Where the text sits vertically when the label is taller than it.
    TTextLayout Layout() const { return layout_; }
    void SetLayout(TTextLayout layout);
    // Ignored while the caption wraps.
    TEllipsisPosition EllipsisPosition() const { return ellipsis_; }
    void SetEllipsisPosition(TEllipsisPosition e);
    // The control an "&" accelerator of the caption focuses.
    TWinControl* FocusControl() const { return focusControl_; }
    void SetFocusControl(TWinControl* control);

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    bool CanAutoSize(int& newWidth, int& newHeight) override;
    void Notification(TComponent* component, TOperation operation) override;
    void CMDialogChar(TMessage& m);

private:
    unsigned TextFlags() const;

    TAlignment alignment_ = taLeftJustify;
    bool wordWrap_ = false;
    bool transparent_ = false;
    bool showAccelChar_ = true;
    TTextLayout layout_ = tlTop;
    TEllipsisPosition ellipsis_ = epNone;
    TWinControl* focusControl_ = nullptr;
};

class TButtonControl : public TCustomControl {
    TARVEL_CLASS(TButtonControl, TCustomControl)

public:
    using TCustomControl::TCustomControl;
};

class TButton : public TButtonControl {
    TARVEL_CLASS(TButton, TButtonControl)

public:
    explicit TButton(TComponent* owner);

    // Enter clicks the default button (unless another button has the focus);
    // Escape clicks the cancel button.
    bool Default() const { return default_; }
    void SetDefault(bool v);
    bool Cancel() const { return cancel_; }
    void SetCancel(bool v) { cancel_ = v; }
    // Set on the form by a click (before OnClick), which ends a modal showing.
    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult r) { modalResult_ = r; }

    void Click() override;

protected:
    static void DeclareMessages(TMessageTable& t);
    void Paint() override;
    // Held down by the mouse or the space bar (drawn sunk).
    bool Pressed() const { return pressed_; }
    void MouseDown(TMouseButton button, TShiftState shift, int x, int y) override;
    void MouseMove(TShiftState shift, int x, int y) override;
    void MouseUp(TMouseButton button, TShiftState shift, int x, int y) override;
    void KeyDown(WORD& key, TShiftState shift) override;
    void KeyUp(WORD& key, TShiftState shift) override;
    void DoEnter() override;
    void DoExit() override;
    void WMGetDlgCode(TMessage& m);
    void CMDialogKeyButton(TMessage& m);
    void CMDialogCharButton(TMessage& m);
    void CMFocusChanged(TMessage& m);

private:
    bool IsActive();
    void SetPressed(bool pressed);

    bool default_ = false;
    bool cancel_ = false;
    TModalResult modalResult_ = mrNone;
    bool pressed_ = false;
    bool tracking_ = false;
};

}  // namespace tarvel
