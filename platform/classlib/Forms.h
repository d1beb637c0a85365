#pragma once
// Forms (the top-level windows of the tool) and the screen.

#include <memory>
#include <vector>

#include "platform/classlib/Controls.h"

namespace tarvel {

class TMainMenu;
class TMenuItem;
class TStringList;
class TStrings;

enum TFormBorderStyle { bsNone, bsSingle, bsSizeable, bsDialog, bsToolWindow, bsSizeToolWin };
enum TPosition {
    poDesigned,
    poDefault,
    poDefaultPosOnly,
    poDefaultSizeOnly,
    poScreenCenter,
    poDesktopCenter,
    poMainFormCenter,
    poOwnerFormCenter,
};
enum TCloseAction { caNone, caHide, caFree, caMinimize };
// fsMDIForm holds an MDI client window in which the fsMDIChild forms live;
// a child's parent is the main form.
enum TFormStyle { fsNormal, fsMDIChild, fsMDIForm, fsStayOnTop };
enum TWindowState { wsNormal, wsMinimized, wsMaximized };
enum TBorderIcon { biSystemMenu, biMinimize, biMaximize, biHelp };
using TBorderIcons = TSet<TBorderIcon>;
enum TFormStateFlag { fsCreating, fsVisible, fsShowing, fsModal, fsCreatedMDIChild, fsActivated };
using TFormState = TSet<TFormStateFlag>;

using TCloseEvent = std::function<void(TObject* sender, TCloseAction& action)>;
using TCloseQueryEvent = std::function<void(TObject* sender, bool& canClose)>;
// A key message (CN_KEYDOWN / CN_SYSKEYDOWN) before the controls see it.
using TShortCutEvent = std::function<void(TMessage& message, bool& handled)>;

class TCustomForm : public TWinControl {
    TARVEL_CLASS(TCustomForm, TWinControl)

public:
    explicit TCustomForm(TComponent* owner);
    ~TCustomForm() override;

    // Runs OnCreate once; CreateForm calls it when the constructor is done,
    // and a form made otherwise gets it at its first showing.
    void AfterConstruction();

    void Show();
    // Shows the form, disables the other forms and runs a nested message loop
    // until ModalResult is set (and the close is allowed); answers it.
    TModalResult ShowModal();
    // The close request of the caption button, the system menu and code alike.
    void Close();
    // The form and every visible action client on it update their actions;
    // the application does this for each shown form while it is idle.
    virtual void UpdateActions();
    bool CloseQuery();
    // Frees the form once the messages being handled are done.
    void Release();

    TModalResult ModalResult() const { return modalResult_; }
    void SetModalResult(TModalResult result) { modalResult_ = result; }
    TFormState FormState() const { return formState_; }
    bool Active() const { return active_; }

    TFormBorderStyle BorderStyle() const { return borderStyle_; }
    void SetBorderStyle(TFormBorderStyle style);
    // Which caption buttons a frame offers; kept for whoever draws the frame.
    TBorderIcons BorderIcons() const { return borderIcons_; }
    void SetBorderIcons(TBorderIcons icons) { borderIcons_ = icons; }
    TFormStyle FormStyle() const { return formStyle_; }
    void SetFormStyle(TFormStyle style);
    TPosition Position() const { return position_; }
    void SetPosition(TPosition position) { position_ = position; }
    TWindowState WindowState() const;
    void SetWindowState(TWindowState state);
    bool KeyPreview() const { return keyPreview_; }
    void SetKeyPreview(bool v) { keyPreview_ = v; }

    // The control that has (or gets, when the form is activated) the focus.
    TWinControl* ActiveControl() const { return activeControl_; }
    void SetActiveControl(TWinControl* control);
    void FocusControl(TWinControl* control);
    TMainMenu* Menu() const { return menu_; }
    void SetMenu(TMainMenu* menu);

    // ---- MDI (Forms_Mdi.cpp) ----
    // The MDI client window of an fsMDIForm once the form has its window.
    HWND ClientHandle() const { return clientHandle_; }
    // The MDI children, top of the z-order first.
    int MDIChildCount() const;
    TCustomForm* MDIChildren(int index) const;
    TCustomForm* ActiveMDIChild() const;
    void Cascade();
    void Tile();
    // Activates the next (the previous) MDI child.
    void Next();
    void Previous();

    // Short-cut keys: OnShortCut, then the main menu.
    virtual bool IsShortCut(TMessage& message);

    // Kept up to date by the controls.
    void SetFocusedControl(TWinControl* control);
    void ControlRemoving(TControl* control);

    TNotifyEvent OnCreate;
    TNotifyEvent OnDestroy;
    TNotifyEvent OnShow;
    TNotifyEvent OnHide;
    TNotifyEvent OnActivate;
    TNotifyEvent OnDeactivate;
    TCloseEvent OnClose;
    TCloseQueryEvent OnCloseQuery;
    TShortCutEvent OnShortCut;

protected:
    static void DeclareMessages(TMessageTable& t);
    void CreateParams(TCreateParams& params) override;
    HWND ParentWindow() const override;
    void CreateHandleDone() override;
    void DestroyWnd() override;
    void AlignControls(TControl* control, TRect& rect) override;
    void DefaultHandler(TMessage& message) override;
    void Notification(TComponent* component, TOperation operation) override;
    virtual void DoShow();
    virtual void DoHide();
    virtual void DoClose(TCloseAction& action);
    virtual void Activate();
    virtual void Deactivate();

    void WMClose(TMessage& m);
    void WMQueryEndSession(TMessage& m);
    void WMEndSession(TMessage& m);
    void WMActivate(TMessage& m);
    void WMGetMinMaxInfo(TMessage& m);
    void CMRelease(TMessage& m);
    void CMDialogKeyForm(TMessage& m);
    void CMVisibleChangedForm(TMessage& m);
    void CMShowingChanged(TMessage& m);
    void CloseModal();
    // The main menu's bar, drawn in the non-client area above the client.
    void WMNCCalcSize(TMessage& m);
    void WMNCPaint(TMessage& m);
    void WMNCHitTest(TMessage& m);
    void WMNCLButtonDown(TMessage& m);
    void WMSysCommand(TMessage& m);
    void WMMDIActivate(TMessage& m);

private:
    // The main form's MDI client for an MDI child; throws without one.
    HWND MDIParentClient() const;
    struct BarItem {
        TMenuItem* item;
        TRect rect;  // window coordinates
    };
    std::vector<BarItem> MenuBarItems();
    // The bar's loop from item `hot` (an index into MenuBarItems()).
    void RunMenuBar(int hot, int start);
    void ApplyPosition();
    void RestoreFocus();
    std::vector<HWND> DisableOtherForms();

    int barHot_ = -1;  // the bar item the menu loop has selected
    TModalResult modalResult_ = mrNone;
    TFormState formState_;
    TFormBorderStyle borderStyle_ = bsSizeable;
    TBorderIcons borderIcons_{biSystemMenu, biMinimize, biMaximize};
    TPosition position_ = poDesigned;
    TFormStyle formStyle_ = fsNormal;
    HWND clientHandle_ = nullptr;
    TWindowState windowState_ = wsNormal;
    bool keyPreview_ = false;
    bool created_ = false;
    bool active_ = false;
    TWinControl* activeControl_ = nullptr;
    TWinControl* focusedControl_ = nullptr;
    TMainMenu* menu_ = nullptr;
};

class TForm : public TCustomForm {
    TARVEL_CLASS(TForm, TCustomForm)

public:
    using TCustomForm::TCustomForm;
};

// A reusable group of controls placed on a form like a panel; it paints
// nothing of its own.
class TCustomFrame : public TWinControl {
    TARVEL_CLASS(TCustomFrame, TWinControl)

public:
    using TWinControl::TWinControl;
};

// The screen: its size, the forms of the application and the cursor that
// overrides the controls' own.
class TScreen : public TComponent {
    TARVEL_CLASS(TScreen, TComponent)

public:
    explicit TScreen(TComponent* owner);
    ~TScreen() override;

    int Width() const;
    int Height() const;
    TRect WorkAreaRect() const;
    int WorkAreaWidth() const { return WorkAreaRect().Width(); }
    int WorkAreaHeight() const { return WorkAreaRect().Height(); }

    TCursor Cursor() const { return cursor_; }
    void SetCursor(TCursor cursor);

    // The names of the installed font families, sorted; read on first use.
    TStrings* Fonts();

    int FormCount() const { return static_cast<int>(forms_.size()); }
    TCustomForm* Forms(int index) const;
    TCustomForm* ActiveForm() const { return activeForm_; }
    TWinControl* ActiveControl() const;

    TNotifyEvent OnActiveFormChange;

private:
    friend class TCustomForm;
    void AddForm(TCustomForm* form) { forms_.push_back(form); }
    void RemoveForm(TCustomForm* form);
    void SetActiveForm(TCustomForm* form);

    TCursor cursor_ = crDefault;
    std::unique_ptr<TStringList> fonts_;
    std::vector<TCustomForm*> forms_;
    TCustomForm* activeForm_ = nullptr;
};

// Made with the application object.
extern TScreen* Screen;

}  // namespace tarvel
