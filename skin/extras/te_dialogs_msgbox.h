#pragma once
// Skinned message and input boxes. A TTeMessage component holds their look
// (fonts, frame options, glyphs, hints) and builds each box as a plain form
// with a skinned frame, a system icon, a word-wrapped message and one skinned
// push button per answer. The Qv* functions take a component, or use the
// process-wide one.

#include <memory>
#include <string_view>
#include <type_traits>

#include "platform/classlib/DialogService.h"
#include "platform/classlib/Forms.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/UiAccess.h"
#include "skin/controls/te_controls_button.h"
#include "skin/controls/te_controls_check.h"
#include "skin/controls/te_controls_edit.h"
#include "skin/forms/te_forms_frame.h"

namespace tarvel {

// Message texts with "{}" holes filled in order by arguments of any text or
// number type ("{{" gives a brace). The format is never read as printf
// directives, so a caller's text with '%' in it is shown as written; a hole
// without an argument stays "{}" and surplus arguments are left out.
namespace msgfmt {
inline String Text(const String& s) { return s; }
inline String Text(std::string_view s) { return String(s); }
inline String Text(const char* s) { return s ? String(s) : String(); }
inline String Text(const WideString& s) { return WideToUtf8(s); }
inline String Text(char c) { return String(1, c); }
inline String Text(bool b) { return b ? "True" : "False"; }
template <class T>
requires std::is_arithmetic_v<T> String Text(T v) {
    if constexpr (std::is_floating_point_v<T>)
        return FloatToStr(static_cast<double>(v));
    else if constexpr (std::is_signed_v<T>)
        return IntToStr(v);
    else
        return UIntToStr(v);
}
String Fill(std::string_view format, const String* args, size_t count);
}  // namespace msgfmt

template <class... Args>
WideString FormatMessageText(std::string_view format, const Args&... args) {
    const String texts[] = {msgfmt::Text(args)..., String()};
    return Utf8ToWide(msgfmt::Fill(format, texts, sizeof...(Args)));
}

constexpr TModalResult mrNoToAll = 9;
constexpr TModalResult mrYesToAll = 10;

// The average character of a font in pixels, and dialog units scaled by it
// (four horizontal units to the average width, eight vertical ones to the
// height).
struct TTeDialogUnits {
    int cx = 0;
    int cy = 0;
    static TTeDialogUnits Of(TFont* font);
    int X(int units) const;
    int Y(int units) const;
};

// The system icon behind a box's kind; 0 for mtCustom.
int MessageIconId(TMsgDlgType type);

class TTeMessageForm;

class TTeMessage : public TComponent {
    TARVEL_CLASS(TTeMessage, TComponent)

public:
    explicit TTeMessage(TComponent* owner);
    ~TTeMessage() override;

    // ---- properties ----
    TTeAnimation* Animation() { return &animation_; }
    void SetAnimation(TTeAnimation* value) { animation_.Assign(value); }
    TTeBlending* Blending() { return &blending_; }
    void SetBlending(TTeBlending* value) { blending_.Assign(value); }
    TTeShadow* Shadow() { return &shadow_; }
    void SetShadow(TTeShadow* value) { shadow_.Assign(value); }
    TTeDragging* Dragging() { return &dragging_; }
    void SetDragging(TTeDragging* value) { dragging_.Assign(value); }
    TTeBorderIcons BorderIcons = TTeBorderIcons{kbiClose, kbiSystemMenu};
    bool StayOnTop() const { return stayOnTop_; }
    void SetStayOnTop(bool value) { stayOnTop_ = value; }
    TFont* MessageFont() { return messageFont_.get(); }
    void SetMessageFont(TFont* value) { messageFont_->Assign(value); }
    TFont* ButtonFont() { return buttonFont_.get(); }
    void SetButtonFont(TFont* value) { buttonFont_->Assign(value); }
    bool ShowButtonGlyph = true;
    bool ShowIconImage = true;
    bool ShowHints() const { return showHints_; }
    void SetShowHints(bool value) { showHints_ = value; }
    TPosition Position() const { return position_; }
    void SetPosition(TPosition value) { position_ = value; }
    bool Global() const { return global_; }
    // Makes this component the process-wide one (either value; a change only).
    void SetGlobal(bool value);

    // ---- the boxes ----
    // The built, unshown box; the caller frees it.
    TForm* CreateMessageDialog(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons);
    int MessageDlgPosHelp(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx, int x,
                          int y, const String& helpFileName);
    int MessageDlgPos(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx, int x,
                      int y) {
        return MessageDlgPosHelp(msg, type, buttons, helpCtx, x, y, String());
    }
    int MessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0) {
        return MessageDlgPos(msg, type, buttons, helpCtx, -1, -1);
    }
    void ShowMessagePos(const WideString& msg, int x, int y) {
        MessageDlgPos(msg, mtCustom, TMsgDlgButtons{mbOK}, 0, x, y);
    }
    void ShowMessage(const WideString& msg) { ShowMessagePos(msg, -1, -1); }
    template <class... Args>
    void ShowMessageFmt(std::string_view format, const Args&... args) {
        ShowMessage(FormatMessageText(format, args...));
    }
    // True with `value` replaced when confirmed with OK.
    bool InputQuery(const WideString& caption, const WideString& prompt, WideString& value);
    bool InputQuery(const WideString& caption, const WideString& prompt, String& value);
    WideString InputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue);

    // ---- the parts of a box, for descendants to change ----
    virtual TTeButton* CreateButton(TComponent* owner);
    virtual TTeEdit* CreateEdit(TComponent* owner);
    virtual TTeForm* CreateForm(TComponent* owner);
    virtual TLabel* CreateLabel(TComponent* owner);
    virtual TTeCheckBox* CreateCheckBox(TComponent* owner);

private:
    TTeMessageForm* NewBox(const WideString& caption);

    TTeAnimation animation_;
    TTeBlending blending_;
    TTeShadow shadow_;
    TTeDragging dragging_;
    std::unique_ptr<TFont> messageFont_;
    std::unique_ptr<TFont> buttonFont_;
    bool stayOnTop_ = false;
    bool showHints_ = false;
    TPosition position_ = poScreenCenter;
    bool global_ = false;
};

// A box: a plain form carrying its skinned frame. It tells the test driver
// what it asks, so the driver can answer it like the scripted service.
class TTeMessageForm : public TForm, public IUiBox {
    TARVEL_CLASS(TTeMessageForm, TForm)

public:
    explicit TTeMessageForm(TComponent* owner);
    TTeForm* Frame() const { return frame_; }

    TBoxRequest UiBoxRequest() override { return request_; }
    bool UiInputBox() override { return inputBox_; }

private:
    friend class TTeMessage;
    TTeForm* frame_ = nullptr;
    TBoxRequest request_;
    bool inputBox_ = false;
};

// The icon of a box, drawn from the system's icons.
class TTeMessageIcon : public TGraphicControl {
    TARVEL_CLASS(TTeMessageIcon, TGraphicControl)

public:
    TTeMessageIcon(TComponent* owner, int iconId);
    int IconId() const { return iconId_; }

protected:
    void Paint() override;

private:
    int iconId_;
};

// The process-wide component; made, owned by the application, when missing.
TTeMessage* GlobalMsgComp();

TForm* QvCreateMessageDialog(TTeMessage* comp, const WideString& msg, TMsgDlgType type,
                             TMsgDlgButtons buttons);
int QvMessageDlgPosHelp(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpCtx, int x, int y, const String& helpFileName);
int QvMessageDlgPos(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                    int helpCtx, int x, int y);
int QvMessageDlg(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                 int helpCtx = 0);
int QvMessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx = 0);
void QvShowMessagePos(TTeMessage* comp, const WideString& msg, int x, int y);
void QvShowMessage(TTeMessage* comp, const WideString& msg);
void QvShowMessage(const WideString& msg);
template <class... Args>
void QvShowMessageFmt(TTeMessage* comp, std::string_view format, const Args&... args) {
    QvShowMessage(comp, FormatMessageText(format, args...));
}
template <class... Args>
void QvShowMessageFmt(std::string_view format, const Args&... args) {
    QvShowMessage(nullptr, FormatMessageText(format, args...));
}
bool QvInputQuery(TTeMessage* comp, const WideString& caption, const WideString& prompt, WideString& value);
bool QvInputQuery(const WideString& caption, const WideString& prompt, WideString& value);
bool QvInputQuery(const WideString& caption, const WideString& prompt, String& value);
WideString QvInputBox(TTeMessage* comp, const WideString& caption, const WideString& prompt,
                      const WideString& defaultValue);
WideString QvInputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue);

}  // namespace tarvel
