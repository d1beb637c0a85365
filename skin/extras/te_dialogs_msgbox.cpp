#include "skin/extras/te_dialogs_msgbox.h"

#include <algorithm>
#include <vector>

#include "platform/classlib/Application.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

namespace {

TTeMessage* gGlobal = nullptr;

struct TButtonLook {
    TMsgDlgBtn button;
    const char* name;
    const char* caption;
    TBitBtnKind kind;
    TModalResult result;  // mrNone: the kind's
};
constexpr TButtonLook kButtons[] = {
    {mbYes, "Yes", "&Yes", bkYes, mrNone},
    {mbNo, "No", "&No", bkNo, mrNone},
    {mbOK, "OK", "OK", bkOK, mrNone},
    {mbCancel, "Cancel", "Cancel", bkCancel, mrNone},
    {mbAbort, "Abort", "&Abort", bkAbort, mrNone},
    {mbRetry, "Retry", "&Retry", bkRetry, mrNone},
    {mbIgnore, "Ignore", "&Ignore", bkIgnore, mrNone},
    {mbAll, "All", "&All", bkAll, mrNone},
    {mbNoToAll, "NoToAll", "N&o to All", bkNo, mrNoToAll},
    {mbYesToAll, "YesToAll", "Yes to &All", bkYes, mrYesToAll},
    {mbHelp, "Help", "&Help", bkHelp, mrNone},
};

constexpr const char* kTypeCaptions[] = {"Warning", "Error", "Information", "Confirm"};

// Metrics in dialog units.
constexpr int kMarginX = 30, kMarginY = 15, kSpacingX = 10, kSpacingY = 10;
constexpr int kButtonWidth = 50, kButtonSpacing = 4;
constexpr int kIconSize = 32;

TTeMessage* Use(TTeMessage* comp) { return comp ? comp : GlobalMsgComp(); }

WideString ApplicationTitle() { return Application ? Utf8ToWide(Application->Title()) : WideString(); }

}  // namespace

TTeMessageForm* TTeMessage::NewBox(const WideString& caption) {
    TTeMessage& comp = *this;
    auto* form = new TTeMessageForm(Application);
    TLoadingScope scope(form);
    TTeForm* frame = comp.CreateForm(form);
    frame->Blending()->Assign(comp.Blending());
    frame->Dragging()->Assign(comp.Dragging());
    frame->Shadow()->Assign(comp.Shadow());
    frame->Animation()->Assign(comp.Animation());
    frame->SetBorderStyle(kbsDialog);
    frame->SetBorderIcons(comp.BorderIcons);
    frame->SetCaption(caption);
    form->SetCaption(WideToUtf8(caption));
    form->frame_ = frame;
    scope.Finish();
    return form;
}

namespace {

// The widest caption of the requested buttons, measured for this box's font
// so a later box with a larger font still fits its captions.
int MeasuredButtonWidth(TFont* font, TMsgDlgButtons buttons) {
    int widest = 0;
    for (const TButtonLook& b : kButtons)
        if (buttons.Contains(b.button))
            widest = std::max(widest, MeasureText(font, b.caption, 0, true).cx + 8);
    return widest;
}

}  // namespace

TTeDialogUnits TTeDialogUnits::Of(TFont* font) {
    static constexpr char kLetters[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz";
    const TSize size = MeasureText(font, kLetters, 0, false);
    return TTeDialogUnits{size.cx / 52, size.cy};
}

// Rounded as the system's multiply-divide rounds.
int TTeDialogUnits::X(int units) const { return (units * cx * 2 + 4) / 8; }
int TTeDialogUnits::Y(int units) const { return (units * cy * 2 + 8) / 16; }

int MessageIconId(TMsgDlgType type) {
    static constexpr int kIcons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};
    return type == mtCustom ? 0 : kIcons[type];
}

// ---- the form and its icon --------------------------------------------------------------------

TTeMessageForm::TTeMessageForm(TComponent* owner) : TForm(owner) {
    SetKeyPreview(true);
    SetBorderStyle(bsDialog);
}

TTeMessageIcon::TTeMessageIcon(TComponent* owner, int iconId) : TGraphicControl(owner), iconId_(iconId) {
    SetBounds(0, 0, kIconSize, kIconSize);
}

void TTeMessageIcon::Paint() {
    if (HICON icon = LoadIcon(nullptr, iconId_)) DrawIcon(Canvas()->Handle(), 0, 0, icon);
}

// ---- the component ---------------------------------------------------------------------------------

TTeMessage::TTeMessage(TComponent* owner)
    : TComponent(owner), messageFont_(std::make_unique<TFont>()), buttonFont_(std::make_unique<TFont>()) {
    dragging_.Sizeable = false;
}

TTeMessage::~TTeMessage() {
    if (gGlobal == this) gGlobal = nullptr;
}

void TTeMessage::SetGlobal(bool value) {
    if (value == global_) return;
    global_ = value;
    if (gGlobal == this) return;
    TTeMessage* previous = gGlobal;
    gGlobal = this;
    delete previous;
}

TTeButton* TTeMessage::CreateButton(TComponent* owner) {
    auto* b = new TTeButton(owner);
    if (UseThemes()) b->SetTransparent(true);
    return b;
}

TTeEdit* TTeMessage::CreateEdit(TComponent* owner) { return new TTeEdit(owner); }
TTeForm* TTeMessage::CreateForm(TComponent* owner) { return new TTeForm(owner); }
TLabel* TTeMessage::CreateLabel(TComponent* owner) { return new TLabel(owner); }
TTeCheckBox* TTeMessage::CreateCheckBox(TComponent* owner) { return new TTeCheckBox(owner); }

TForm* TTeMessage::CreateMessageDialog(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons) {
    const WideString caption = type == mtCustom ? ApplicationTitle() : Utf8ToWide(kTypeCaptions[type]);
    std::unique_ptr<TTeMessageForm> form(NewBox(caption));
    form->request_ = TBoxRequest{type, buttons, WideToUtf8(caption), WideToUtf8(msg)};

    const TTeDialogUnits du = TTeDialogUnits::Of(ButtonFont());
    const int buttonHeight = du.Y(UseThemes() ? 17 : 14);
    const int buttonWidth = std::max(du.X(kButtonWidth), MeasuredButtonWidth(ButtonFont(), buttons));
    const int marginX = du.X(kMarginX), marginY = du.Y(kMarginY);
    const int spacingX = du.X(kSpacingX), spacingY = du.Y(kSpacingY), buttonSpacing = du.X(kButtonSpacing);

    const String text = WideToUtf8(msg);
    const TSize textSize = MeasureText(MessageFont(), text, Screen ? Screen->Width() / 2 : 512, false);
    const int iconId = ShowIconImage ? MessageIconId(type) : 0;
    TSize iconText = textSize;
    if (iconId != 0) {
        iconText.cx += spacingX + kIconSize;
        iconText.cy = std::max(iconText.cy, kIconSize);
    }
    const int count =
        static_cast<int>(std::count_if(std::begin(kButtons), std::end(kButtons),
                                       [&](const TButtonLook& b) { return buttons.Contains(b.button); }));
    const int groupWidth = count == 0 ? 0 : count * buttonWidth + (count - 1) * buttonSpacing;
    form->SetClientWidth(std::max(iconText.cx, groupWidth) + 2 * marginX);
    form->SetClientHeight(iconText.cy + buttonHeight + spacingY + 2 * marginY);
    if (Screen)
        form->SetBounds(Screen->Width() / 2 - form->Width() / 2, Screen->Height() / 2 - form->Height() / 2,
                        form->Width(), form->Height());

    if (iconId != 0) {
        auto* icon = new TTeMessageIcon(form.get(), iconId);
        icon->SetName("Image");
        icon->SetParent(form.get());
        icon->SetBounds(marginX, marginY, kIconSize, kIconSize);
    }
    TLabel* label = CreateLabel(form.get());
    label->SetName("Message");
    label->SetParent(form.get());
    label->SetShowAccelChar(false);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetTransparent(true);
    label->Font()->Assign(MessageFont());
    label->SetCaption(text);
    label->SetBounds(iconText.cx - textSize.cx + marginX, marginY, textSize.cx, textSize.cy);

    const TMsgDlgBtn defaultButton = buttons.Contains(mbOK)    ? mbOK
                                     : buttons.Contains(mbYes) ? mbYes
                                                               : mbRetry;
    const TMsgDlgBtn cancelButton = buttons.Contains(mbCancel) ? mbCancel
                                    : buttons.Contains(mbNo)   ? mbNo
                                                               : mbOK;
    int x = (form->ClientWidth() - groupWidth) / 2;
    const int top = iconText.cy + marginY + spacingY;
    for (const TButtonLook& look : kButtons) {
        if (!buttons.Contains(look.button)) continue;
        TTeButton* b = CreateButton(form.get());
        b->SetName(look.name);
        b->SetParent(form.get());
        b->SetKind(look.kind);
        if (look.result != mrNone) b->SetModalResult(look.result);
        b->SetCaption(Utf8ToWide(look.caption));
        b->Font()->Assign(ButtonFont());
        b->SetShowHint(ShowHints());
        if (!ShowButtonGlyph) b->SetGlyph(nullptr);
        b->SetDefault(look.button == defaultButton);
        b->SetCancel(look.button == cancelButton);
        if (look.button == defaultButton) form->SetActiveControl(b);
        b->SetBounds(x, top, buttonWidth, buttonHeight);
        x += buttonWidth + buttonSpacing;
    }
    return form.release();
}

int TTeMessage::MessageDlgPosHelp(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int, int x,
                                  int y, const String&) {
    std::unique_ptr<TForm> form(CreateMessageDialog(msg, type, buttons));
    if (x >= 0) form->SetLeft(x);
    if (y >= 0) form->SetTop(y);
    if (Application) Application->ProcessMessages();
    return form->ShowModal();
}

bool TTeMessage::InputQuery(const WideString& caption, const WideString& prompt, WideString& value) {
    std::unique_ptr<TTeMessageForm> form(NewBox(caption));
    form->inputBox_ = true;
    form->request_ = TBoxRequest{mtCustom, {mbOK, mbCancel}, WideToUtf8(caption), WideToUtf8(prompt)};
    const TTeDialogUnits du = TTeDialogUnits::Of(form->Font());
    form->SetClientWidth(du.X(180) + 30);
    form->SetClientHeight(du.Y(63) + 20);
    form->SetPosition(Position());

    TLabel* label = CreateLabel(form.get());
    label->SetName("Prompt");
    label->SetParent(form.get());
    label->SetTransparent(true);
    label->Font()->Assign(MessageFont());
    label->SetAutoSize(true);
    label->SetLeft(du.X(8) + 15);
    label->SetTop(du.Y(8) + 10);
    label->SetCaption(WideToUtf8(prompt));

    TTeEdit* edit = CreateEdit(form.get());
    edit->SetName("Edit");
    edit->SetParent(form.get());
    edit->SetAnchors(TAnchors{akLeft, akTop, akRight});
    edit->SetMaxLength(255);
    edit->Font()->Assign(MessageFont());
    edit->SetBounds(label->Left(), label->Top() + label->Height() + 5, du.X(164), edit->Height());
    edit->SetText(WideToUtf8(value.substr(0, 255)));
    edit->SelectAll();
    label->SetFocusControl(edit);
    form->SetActiveControl(edit);

    const int buttonTop = edit->Top() + edit->Height() + 25;
    const auto addButton = [&](const char* name, TBitBtnKind kind, int left) {
        TTeButton* b = CreateButton(form.get());
        b->SetName(name);
        b->SetParent(form.get());
        b->SetKind(kind);
        b->SetCaption(Utf8ToWide(name));
        if (!ShowButtonGlyph) b->SetGlyph(nullptr);
        b->Font()->Assign(ButtonFont());
        b->SetBounds(left, buttonTop, du.X(50), du.Y(14));
        return b;
    };
    addButton("OK", bkOK, du.X(38) + 15)->SetDefault(true);
    TTeButton* cancel = addButton("Cancel", bkCancel, du.X(92) + 30);
    cancel->SetCancel(true);
    form->SetClientHeight(cancel->Top() + cancel->Height() + 13);

    if (Application) Application->ProcessMessages();
    if (form->ShowModal() != mrOk) return false;
    value = Utf8ToWide(edit->Text());
    return true;
}

bool TTeMessage::InputQuery(const WideString& caption, const WideString& prompt, String& value) {
    WideString wide = Utf8ToWide(value);
    if (!InputQuery(caption, prompt, wide)) return false;
    value = WideToUtf8(wide);
    return true;
}

WideString TTeMessage::InputBox(const WideString& caption, const WideString& prompt,
                                const WideString& defaultValue) {
    WideString value = defaultValue;
    InputQuery(caption, prompt, value);
    return value;
}

// ---- the free functions -------------------------------------------------------------------------------

TTeMessage* GlobalMsgComp() {
    if (!gGlobal) gGlobal = new TTeMessage(Application);
    return gGlobal;
}

TForm* QvCreateMessageDialog(TTeMessage* comp, const WideString& msg, TMsgDlgType type,
                             TMsgDlgButtons buttons) {
    return Use(comp)->CreateMessageDialog(msg, type, buttons);
}
int QvMessageDlgPosHelp(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                        int helpCtx, int x, int y, const String& helpFileName) {
    return Use(comp)->MessageDlgPosHelp(msg, type, buttons, helpCtx, x, y, helpFileName);
}
int QvMessageDlgPos(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                    int helpCtx, int x, int y) {
    return Use(comp)->MessageDlgPos(msg, type, buttons, helpCtx, x, y);
}
int QvMessageDlg(TTeMessage* comp, const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons,
                 int helpCtx) {
    return Use(comp)->MessageDlg(msg, type, buttons, helpCtx);
}
int QvMessageDlg(const WideString& msg, TMsgDlgType type, TMsgDlgButtons buttons, int helpCtx) {
    return QvMessageDlg(nullptr, msg, type, buttons, helpCtx);
}
String msgfmt::Fill(std::string_view format, const String* args, size_t count) {
    String out;
    size_t next = 0;
    for (size_t i = 0; i < format.size(); ++i) {
        const char c = format[i];
        const char after = i + 1 < format.size() ? format[i + 1] : '\0';
        if (c == '{' && after == '{') {
            out += '{';
            ++i;
        } else if (c == '{' && after == '}' && next < count) {
            out += args[next++];
            ++i;
        } else {
            out += c;
        }
    }
    return out;
}

void QvShowMessagePos(TTeMessage* comp, const WideString& msg, int x, int y) {
    Use(comp)->ShowMessagePos(msg, x, y);
}
void QvShowMessage(TTeMessage* comp, const WideString& msg) { Use(comp)->ShowMessage(msg); }
void QvShowMessage(const WideString& msg) { QvShowMessage(nullptr, msg); }
bool QvInputQuery(TTeMessage* comp, const WideString& caption, const WideString& prompt, WideString& value) {
    return Use(comp)->InputQuery(caption, prompt, value);
}
bool QvInputQuery(const WideString& caption, const WideString& prompt, WideString& value) {
    return QvInputQuery(nullptr, caption, prompt, value);
}
bool QvInputQuery(const WideString& caption, const WideString& prompt, String& value) {
    return GlobalMsgComp()->InputQuery(caption, prompt, value);
}
WideString QvInputBox(TTeMessage* comp, const WideString& caption, const WideString& prompt,
                      const WideString& defaultValue) {
    return Use(comp)->InputBox(caption, prompt, defaultValue);
}
WideString QvInputBox(const WideString& caption, const WideString& prompt, const WideString& defaultValue) {
    return QvInputBox(nullptr, caption, prompt, defaultValue);
}

}  // namespace tarvel
