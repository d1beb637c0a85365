#include "platform/classlib/Boxes.h"

#include <algorithm>
#include <memory>

#include "platform/classlib/Application.h"
#include "platform/classlib/StdCtrls.h"
#include "platform/classlib/StdCtrls_Draw.h"

namespace tarvel {

namespace {

TDialogService* gService = nullptr;

TStandardDialogs& StandardDialogs() {
    static TStandardDialogs standard;
    return standard;
}

struct ButtonLook {
    TMsgDlgBtn button;
    const char* name;
    const char* caption;
    TModalResult result;
};
constexpr ButtonLook kButtons[] = {
    {mbYes, "Yes", "&Yes", mrYes},
    {mbNo, "No", "&No", mrNo},
    {mbOK, "OK", "OK", mrOk},
    {mbCancel, "Cancel", "Cancel", mrCancel},
    {mbAbort, "Abort", "&Abort", mrAbort},
    {mbRetry, "Retry", "&Retry", mrRetry},
    {mbIgnore, "Ignore", "&Ignore", mrIgnore},
};

constexpr const char* kTypeCaptions[] = {"Warning", "Error", "Information", "Confirm", ""};

constexpr int kMargin = 16;
constexpr int kButtonWidth = 75;
constexpr int kButtonHeight = 25;
constexpr int kButtonGap = 8;
constexpr int kIconSize = 32;
constexpr int kMaxTextWidth = 420;

// The picture of a box's kind: the platform's standard icon for it.
class TBoxIcon : public TGraphicControl {
    TARVEL_CLASS(TBoxIcon, TGraphicControl)

public:
    TBoxIcon(TComponent* owner, TMsgDlgType type) : TGraphicControl(owner), type_(type) {
        SetBounds(0, 0, kIconSize, kIconSize);
    }

protected:
    void Paint() override {
        static const int kIcons[] = {IDI_EXCLAMATION, IDI_HAND, IDI_ASTERISK, IDI_QUESTION};
        DrawIcon(Canvas()->Handle(), 0, 0, LoadIcon(nullptr, kIcons[std::min<int>(type_, 3)]));
    }

private:
    TMsgDlgType type_;
};

TButton* AddButton(TForm* form, const char* name, const String& caption, TModalResult result, int x, int y) {
    auto* b = new TButton(form);
    b->SetName(name);
    b->SetParent(form);
    b->SetCaption(caption);
    b->SetModalResult(result);
    b->SetBounds(x, y, kButtonWidth, kButtonHeight);
    return b;
}

}  // namespace

TDialogService& DialogService() { return gService ? *gService : StandardDialogs(); }

TDialogService* SetDialogService(TDialogService* service) {
    TDialogService* previous = gService;
    gService = service;
    return previous;
}

int CloseAnswer(TMsgDlgButtons buttons) {
    if (buttons.Contains(mbCancel)) return mrCancel;
    if (buttons.Contains(mbNo)) return mrNo;
    return mrOk;
}

TForm* CreateMessageDialog(const TBoxRequest& request) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("MessageDlg");
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(request.caption);
    form->Font()->SetName("Tahoma");

    int textLeft = kMargin;
    if (request.type != mtCustom) {
        auto* icon = new TBoxIcon(form.get(), request.type);
        icon->SetName("Image");
        icon->SetParent(form.get());
        icon->SetBounds(kMargin, kMargin, kIconSize, kIconSize);
        textLeft += kIconSize + kMargin;
    }
    TSize text = MeasureText(form->Font(), request.text, kMaxTextWidth, false);
    auto* label = new TLabel(form.get());
    label->SetName("Message");
    label->SetParent(form.get());
    label->SetShowAccelChar(false);
    label->SetAutoSize(false);
    label->SetWordWrap(true);
    label->SetCaption(request.text);
    const int textTop =
        request.type != mtCustom && text.cy < kIconSize ? kMargin + (kIconSize - text.cy) / 2 : kMargin;
    label->SetBounds(textLeft, textTop, std::max(text.cx, 1), std::max(text.cy, 1));

    std::vector<const ButtonLook*> looks;
    for (const ButtonLook& b : kButtons)
        if (request.buttons.Contains(b.button)) looks.push_back(&b);
    if (looks.empty()) looks.push_back(&kButtons[2]);
    const int buttonsWidth = static_cast<int>(looks.size()) * (kButtonWidth + kButtonGap) - kButtonGap;
    const int contentBottom = std::max(textTop + text.cy, request.type != mtCustom ? kMargin + kIconSize : 0);
    const int width = std::max(textLeft + text.cx + kMargin, buttonsWidth + 2 * kMargin);
    const int buttonsTop = contentBottom + kMargin;
    form->SetClientWidth(std::max(width, 180));
    form->SetClientHeight(buttonsTop + kButtonHeight + 12);

    const int cancelResult = CloseAnswer(request.buttons);
    int x = (form->ClientWidth() - buttonsWidth) / 2;
    for (size_t i = 0; i < looks.size(); ++i) {
        TButton* b =
            AddButton(form.get(), looks[i]->name, looks[i]->caption, looks[i]->result, x, buttonsTop);
        b->SetDefault(i == 0);
        b->SetCancel(looks[i]->result == cancelResult);
        if (i == 0) form->SetActiveControl(b);
        x += kButtonWidth + kButtonGap;
    }
    return form.release();
}

int TStandardDialogs::ShowBox(const TBoxRequest& request) {
    std::unique_ptr<TForm> form(CreateMessageDialog(request));
    int result = form->ShowModal();
    // Closed through the caption or Escape without a Cancel button.
    if (result == mrCancel && !request.buttons.Contains(mbCancel)) result = CloseAnswer(request.buttons);
    return result;
}

namespace {

bool AskText(const String& caption, const String& prompt, String& value, bool masked) {
    auto form = std::make_unique<TForm>(nullptr);
    form->SetName("InputQuery");
    form->SetBorderStyle(bsDialog);
    form->SetPosition(poScreenCenter);
    form->SetCaption(caption);
    form->Font()->SetName("Tahoma");
    form->SetClientWidth(260);
    form->SetClientHeight(96);
    auto* label = new TLabel(form.get());
    label->SetName("Prompt");
    label->SetParent(form.get());
    label->SetCaption(prompt);
    label->SetLeft(8);
    label->SetTop(8);
    auto* edit = new TEdit(form.get());
    edit->SetName("Edit");
    edit->SetParent(form.get());
    edit->SetBounds(8, 28, 244, 21);
    if (masked) edit->SetPasswordChar(u'*');
    edit->SetTextValue(value);
    label->SetFocusControl(edit);
    TButton* ok = AddButton(form.get(), "OK", "OK", mrOk, 96, 62);
    ok->SetDefault(true);
    TButton* cancel = AddButton(form.get(), "Cancel", "Cancel", mrCancel, 177, 62);
    cancel->SetCancel(true);
    form->SetActiveControl(edit);
    if (form->ShowModal() != mrOk) return false;
    value = edit->Text();
    return true;
}

}  // namespace

bool TStandardDialogs::InputQuery(const String& caption, const String& prompt, String& value) {
    return AskText(caption, prompt, value, false);
}

bool TStandardDialogs::PasswordQuery(const String& caption, const String& prompt, String& value) {
    return AskText(caption, prompt, value, true);
}

// ---- the box functions -------------------------------------------------------------------

void ShowMessage(const String& text) {
    TBoxRequest r;
    r.type = mtCustom;
    r.buttons = {mbOK};
    r.caption = Application ? Application->Title() : String();
    r.text = text;
    DialogService().ShowBox(r);
}

int MessageDlg(const String& text, TMsgDlgType type, TMsgDlgButtons buttons, int) {
    TBoxRequest r;
    r.type = type;
    r.buttons = buttons.Empty() ? TMsgDlgButtons{mbOK} : buttons;
    r.caption = type == mtCustom && Application ? Application->Title() : String(kTypeCaptions[type]);
    r.text = text;
    return DialogService().ShowBox(r);
}

int MessageBoxFlags(const String& text, const String& caption, unsigned flags) {
    static const TMsgDlgButtons kButtonSets[] = {
        {mbOK},        {mbOK, mbCancel},    {mbAbort, mbRetry, mbIgnore}, {mbYes, mbNo, mbCancel},
        {mbYes, mbNo}, {mbRetry, mbCancel},
    };
    static const TMsgDlgType kTypes[] = {mtCustom, mtError, mtConfirmation, mtWarning, mtInformation};
    TBoxRequest r;
    r.buttons = kButtonSets[std::min(flags & 0xFu, 5u)];
    r.type = kTypes[std::min((flags >> 4) & 0xFu, 4u)];
    r.caption = caption;
    r.text = text;
    // Modal results and box answers share their numbers.
    return DialogService().ShowBox(r);
}

bool InputQuery(const String& caption, const String& prompt, String& value) {
    return DialogService().InputQuery(caption, prompt, value);
}

String PasswordBox(const String& caption, const String& prompt) {
    String value;
    return DialogService().PasswordQuery(caption, prompt, value) ? value : String();
}

String InputBox(const String& caption, const String& prompt, const String& defaultValue) {
    String value = defaultValue;
    return InputQuery(caption, prompt, value) ? value : defaultValue;
}

}  // namespace tarvel
