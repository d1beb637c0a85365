#include "skin/extras/te_dialogs_base.h"

#include "platform/classlib/Application.h"
#include "skin/core/te_theme_api.h"
#include "skin/extras/te_dialogs_color.h"
#include "skin/extras/te_dialogs_dir.h"
#include "skin/extras/te_dialogs_font.h"

namespace tarvel {

namespace {

constexpr TAnchors kAllSides{akLeft, akTop, akRight, akBottom};
constexpr int kButtonWidth = 70, kButtonHeight = 25;

TRect ButtonAt(int left, int top) { return TRect{left, top, left + kButtonWidth, top + kButtonHeight}; }

// A control the panel's form data name.
TControl* PanelPart(TComponent* panel, const char* name) {
    return static_cast<TControl*>(panel->FindComponent(name));
}

}  // namespace

void PlaceDialogPanel(TForm* form, TControl* panel, int extraWidth, int extraHeight) {
    form->SetClientWidth(panel->Width() + extraWidth);
    form->SetClientHeight(panel->Height() + extraHeight);
    panel->SetAnchors(kAllSides);
}

void AddCentredDialogButtons(TForm* form, TControl* panel) {
    const int centre = panel->Width() / 2, top = panel->Top() + panel->Height();
    AddDialogButton(form, "OK", bkOK, "OK", ButtonAt(centre - 75, top), TAnchors{akRight, akBottom})
        ->SetDefault(true);
    AddDialogButton(form, "Cancel", bkCancel, "Cancel", ButtonAt(centre + 5, top),
                    TAnchors{akRight, akBottom})
        ->SetCancel(true);
}

void TTeDialogPanel::Paint() { DrawControlBackground(this, *Canvas()); }

TTeButton* AddDialogButton(TWinControl* parent, const char* name, TBitBtnKind kind, const char* caption,
                           const TRect& bounds, TAnchors anchors) {
    auto* b = new TTeButton(parent);
    b->SetName(name);
    b->SetParent(parent);
    b->SetKind(kind);
    b->SetCaption(Utf8ToWide(caption));
    b->SetBoundsRect(bounds);
    b->SetAnchors(anchors);
    return b;
}

// ---- the base ------------------------------------------------------------------------------------

bool TTeCustomDialog::Execute() {
    std::unique_ptr<TForm> form(new TForm(Application));
    form->Tag = kDialogFormTag;
    form->SetPosition(savedBounds_ ? poDefault : poScreenCenter);
    {
        TLoadingScope scope(form.get());
        frame_ = new TTeForm(form.get());
        frame_->SetBorderIcons(TTeBorderIcons{kbiClose, kbiSystemMenu});
        frame_->SetBorderStyle(kbsDialog);
        frame_->Shadow()->Assign(&shadow_);
        scope.Finish();
    }
    form_ = form.get();
    struct TClear {
        TTeCustomDialog* dialog;
        ~TClear() { dialog->form_ = nullptr, dialog->frame_ = nullptr; }
    } clear{this};

    CreateControls();
    const bool accepted = form->ShowModal() == mrOk;
    if (accepted) EndDialog();
    SaveState();
    return accepted;
}

// ---- colour ---------------------------------------------------------------------------------------

TTeColorDialog::TTeColorDialog(TComponent* owner)
    : TTeCustomDialog(owner), customColors_(std::make_unique<TStringList>()) {}

void TTeColorDialog::CreateControls() {
    TForm* form = Form();
    panel_ = new TTeColorPanel(form);
    panel_->SetName("ColorPanel");
    panel_->SetParent(form);
    panel_->OnWidthChange = [form](TObject* sender) {
        form->SetClientWidth(static_cast<TControl*>(sender)->Width());
    };
    panel_->SetOptions(Options);
    panel_->SetCustomColors(customColors_.get());
    panel_->SetColor(color_);
    PlaceDialogPanel(form, panel_, 0, 0);
    form->SetCaption("Color");
    Frame()->Dragging()->Sizeable = false;

    // Below the swatches, level with the add button of the full part.
    TControl* full = PanelPart(panel_, "teShowFullColors");
    TControl* add = PanelPart(panel_, "teAddCustomButton");
    const TRect ok = ButtonAt(full->Left(), add->Top());
    AddDialogButton(form, "OK", bkOK, "OK", ok, TAnchors{akLeft, akBottom})->SetDefault(true);
    AddDialogButton(form, "Cancel", bkCancel, "Cancel", ButtonAt(ok.left + 80, ok.top),
                    TAnchors{akLeft, akBottom})
        ->SetCancel(true);
}

void TTeColorDialog::EndDialog() {
    color_ = panel_->Color();
    customColors_->Assign(panel_->CustomColors());
}

// ---- font -----------------------------------------------------------------------------------------

TTeFontDialog::TTeFontDialog(TComponent* owner) : TTeCustomDialog(owner), font_(std::make_unique<TFont>()) {}

void TTeFontDialog::CreateControls() {
    TForm* form = Form();
    panel_ = new TTeFontPanel(form);
    panel_->SetName("FontPanel");
    panel_->SetParent(form);
    panel_->SetOptions(Options);
    panel_->SetMinFontSize(MinFontSize);
    panel_->SetMaxFontSize(MaxFontSize);
    panel_->SetDevice(Device);
    panel_->SetFont(font_.get());
    PlaceDialogPanel(form, panel_, 80, 0);
    form->SetCaption("Font");
    Frame()->Dragging()->Sizeable = false;

    const int left = panel_->Width(), top = PanelPart(panel_, "teFontSize")->Top();
    const TAnchors anchors{akRight, akTop};
    AddDialogButton(form, "OK", bkOK, "OK", ButtonAt(left, top), anchors)->SetDefault(true);
    AddDialogButton(form, "Cancel", bkCancel, "Cancel", ButtonAt(left, top + 35), anchors)->SetCancel(true);
    if (Options.Contains(fdApplyButton))
        AddDialogButton(form, "Apply", bkCustom, "Apply", ButtonAt(left, top + 70), anchors)->OnClick =
            [this](TObject* s) { ApplyClick(s); };
}

void TTeFontDialog::ApplyClick(TObject*) {
    if (!OnApply) return;
    EndDialog();
    OnApply(this, nullptr);
}

void TTeFontDialog::EndDialog() { font_->Assign(panel_->Font()); }

// ---- directory ------------------------------------------------------------------------------------

void TTeDirectoryDialog::CreateControls() {
    TForm* form = Form();
    panel_ = new TTeDirectoryPanel(form);
    panel_->SetName("DirectoryPanel");
    panel_->SetParent(form);
    panel_->SetDirectory(Directory);
    PlaceDialogPanel(form, panel_, 0, 30);
    form->SetCaption("Select Directory");
    AddCentredDialogButtons(form, panel_);
}

void TTeDirectoryDialog::EndDialog() { Directory = panel_->Directory(); }

}  // namespace tarvel
