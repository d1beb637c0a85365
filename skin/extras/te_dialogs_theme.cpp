#include "skin/extras/te_dialogs_theme.h"

#include "skin/controls/te_controls_label.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_theme_manager.h"

namespace tarvel {

namespace {

constexpr const char* kSeparator = "-";

bool Designing(const TComponent* c) { return c->ComponentState().Contains(csDesigning); }

}  // namespace

std::vector<TteThemeClass> NamedThemeClasses() {
    std::vector<TteThemeClass> classes;
    if (!ThemeManager) return classes;
    for (int i = 0; i < ThemeManager->GetThemeCount(); ++i)
        if (TteThemeClass cls = ThemeManager->GetTheme(i); cls && cls->GetThemeConfig().Building)
            classes.push_back(cls);
    return classes;
}

// ---- the select-theme panel ---------------------------------------------------------------------

TTeSelectThemePanel::TTeSelectThemePanel(TComponent* owner) : TTeDialogPanel(owner) {
    SetBounds(0, 0, 375, 309);
    previewLink_ = new TTeThemeLink(this);
    previewLink_->SetName("tePreviewLink");

    auto* group = new TTeGroupBox(this);
    group->SetName("tePreviewGroupBox");
    group->SetParent(this);
    group->SetBounds(6, 8, 362, 171);
    group->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    group->SetCaption(u"Preview:");
    group->SetTransparent(true);
    preview_ = new TTeThemePreview(this);
    preview_->SetName("tePreviewPanel");
    preview_->SetParent(group);
    preview_->SetBounds(22, 24, 318, 129);
    preview_->SetAnchors(TAnchors{akLeft, akTop, akRight, akBottom});
    preview_->SetThemeLink(previewLink_);

    auto label = [&](const char* name, const char16_t* caption, int top) {
        auto* l = new TTeLabel(this);
        l->SetName(name);
        l->SetParent(this);
        l->SetBounds(8, top, 60, 13);
        l->SetAnchors(TAnchors{akLeft, akBottom});
        l->SetCaption(caption);
    };
    label("TeLabel1", u"Theme:", 196);
    themeList_ = new TTeComboBox(this);
    themeList_->SetName("teThemeList");
    themeList_->SetParent(this);
    themeList_->SetBounds(76, 192, 281, 23);
    themeList_->SetAnchors(TAnchors{akLeft, akRight, akBottom});
    themeList_->SetComboStyle(kcsDropDownList);
    themeList_->OnChange = [this](TObject* s) { ThemeListChange(s); };

    auto track = [&](const char* name, int top, int height, int min, int max) {
        auto* t = new TTeTrackBar(this);
        t->SetName(name);
        t->SetParent(this);
        t->SetBounds(66, top, 300, height);
        t->SetAnchors(TAnchors{akLeft, akRight, akBottom});
        t->SetMin(min);
        t->SetMax(max);
        t->SetLineSize(5);
        t->SetFrequency(5);
        t->SetJumpByClick(false);
        t->SetTransparent(true);
        return t;
    };
    label("TeLabel2", u"Hue:", 234);
    hueTrack_ = track("teHueTrack", 222, 39, 0, 255);
    hueTrack_->OnChange = [this](TObject*) { previewLink_->SetDeltaHue(hueTrack_->Position()); };
    label("TeLabel3", u"Brightness:", 270);
    brighTrack_ = track("teBrighTrack", 260, 43, -100, 100);
    brighTrack_->OnChange = [this](TObject*) { previewLink_->SetDeltaBrightness(brighTrack_->Position()); };

    themeList_->Items()->Add(SNoTheme);
    themeList_->SetItemIndex(0);
}

void TTeSelectThemePanel::Notification(TComponent* component, TOperation operation) {
    TTeDialogPanel::Notification(component, operation);
    if (operation == TOperation::opRemove && component == orvanta_) orvanta_ = nullptr;
}

void TTeSelectThemePanel::SetOrvanta(TTeOrvanta* value) {
    if (orvanta_ != value) {
        if (orvanta_) orvanta_->RemoveFreeNotification(this);
        if (value) value->FreeNotification(this);
    }
    orvanta_ = value;
    if (!orvanta_) return;
    previewLink_->SetThemeList(orvanta_->ThemeList());
    if (!orvanta_->ThemeFile().empty()) previewLink_->SetThemeFile(orvanta_->ThemeFile());
    if (orvanta_->ThemeIndex() != -1) previewLink_->SetThemeIndex(orvanta_->ThemeIndex());
    if (orvanta_->ThemeBuilding() != SNoTheme) previewLink_->SetThemeBuilding(orvanta_->ThemeBuilding());
    BuildThemeList();
}

void TTeSelectThemePanel::BuildThemeList() {
    updating_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{updating_};

    TStrings* items = themeList_->Items();
    items->Clear();
    entries_.clear();
    items->Add(SNoTheme);
    int selected = 0;
    for (TteThemeClass cls : NamedThemeClasses()) {
        const String name = cls->GetThemeName();
        if (SameText(name, previewLink_->ThemeBuilding())) selected = items->Count();
        items->Add(name);
        entries_.push_back(TEntry{cls, -1});
    }
    if (TTeThemeList* list = previewLink_->ThemeList()) {
        for (int i = 0; i < list->Themes()->Count(); ++i) {
            const String& name = list->Themes()->GetItem(i)->GetThemeStore();
            if (name.empty()) continue;
            if (i == previewLink_->ThemeIndex()) selected = items->Count();
            items->Add(name);
            entries_.push_back(TEntry{nullptr, i});
        }
    }
    themeList_->SetItemIndex(selected);
}

void TTeSelectThemePanel::ThemeListChange(TObject*) {
    const int index = themeList_->ItemIndex();
    if (updating_ || index < 0) return;
    if (index == 0) {
        previewLink_->SetThemeIndex(-1);
    } else if (const TEntry& entry = entries_[index - 1]; entry.cls) {
        previewLink_->SetThemeBuilding(entry.cls->GetThemeName());
    } else {
        previewLink_->SetThemeIndex(entry.listIndex);
    }
    hueTrack_->SetPosition(0);
    brighTrack_->SetPosition(0);
}

void TTeSelectThemePanel::Apply() {
    if (!orvanta_) return;
    if (!previewLink_->ThemeFile().empty()) orvanta_->SetThemeFile(previewLink_->ThemeFile());
    if (previewLink_->ThemeIndex() != -1) orvanta_->SetThemeIndex(previewLink_->ThemeIndex());
    if (previewLink_->ThemeBuilding() != SNoTheme) orvanta_->SetThemeBuilding(previewLink_->ThemeBuilding());
    orvanta_->SetDeltaHue(previewLink_->DeltaHue());
    orvanta_->SetDeltaBrightness(previewLink_->DeltaBrightness());
}

void TTeSelectThemeDialog::CreateControls() {
    TForm* form = Form();
    panel_ = new TTeSelectThemePanel(form);
    panel_->SetName("SelectThemePanel");
    panel_->SetParent(form);
    panel_->SetOrvanta(Orvanta);
    PlaceDialogPanel(form, panel_, 0, 30);
    form->SetCaption("Select Theme");
    Frame()->Dragging()->Sizeable = false;
    AddCentredDialogButtons(form, panel_);
}

void TTeSelectThemeDialog::EndDialog() { panel_->Apply(); }

// ---- the open-theme panel and dialog ----------------------------------------------------------

TTeOpenThemePanel::TTeOpenThemePanel(TComponent* owner) : TTeOpenPanel(owner) {
    SetBounds(0, 0, 600, 316);
    FileNameLabel->SetTop(261);
    FilesTyleLabel->SetTop(289);
    int left = 268;
    for (TTeSpeedButton* b : {tebtnBack, teBtnUp, teBtnCreate, tebtnListView}) {
        b->SetLeft(left);
        left += 28;
    }
    teFileRoot->SetWidth(204);
    teFilesList->SetBounds(8, 40, 384, 210);
    teFileName->SetBounds(76, 257, 402, 21);
    teFileTypes->SetBounds(76, 286, 403, 21);

    ThemePreviewLabel = new TTeLabel(this);
    ThemePreviewLabel->SetName("ThemePreviewLabel");
    ThemePreviewLabel->SetParent(this);
    ThemePreviewLabel->SetBounds(402, 14, 76, 13);
    ThemePreviewLabel->SetAnchors(TAnchors{akTop, akRight});
    ThemePreviewLabel->SetCaption(u"Theme Preview:");
    teThemePreviewPanel = new TTePanel(this);
    teThemePreviewPanel->SetName("teThemePreviewPanel");
    teThemePreviewPanel->SetParent(this);
    teThemePreviewPanel->SetBounds(400, 40, 191, 210);
    teThemePreviewPanel->SetAnchors(TAnchors{akTop, akRight, akBottom});
    teThemePreviewPanel->SetBorderWidth(5);
    teThemePreviewLink = new TTeThemeLink(this);
    teThemePreviewLink->SetName("teThemePreviewLink");
    teThemePreview = new TTeThemePreview(this);
    teThemePreview->SetName("teThemePreview");
    teThemePreview->SetParent(teThemePreviewPanel);
    teThemePreview->SetAlign(alClient);
    teThemePreview->SetThemeLink(teThemePreviewLink);
    SetFilter(GetDialogFilter());
}

void TTeOpenThemePanel::FileSelected(const String& path) { teThemePreviewLink->SetThemeFile(path); }

TTeOpenThemeDialog::TTeOpenThemeDialog(TComponent* owner) : TTeOpenDialog(owner) {
    Filter = GetDialogFilter();
}

TTeOpenPanel* TTeOpenThemeDialog::CreatePanel() {
    Filter = GetDialogFilter();
    return new TTeOpenThemePanel(Form());
}

// ---- the theme switcher ---------------------------------------------------------------------------

TTeThemeSwitcher::TTeThemeSwitcher(TComponent* owner)
    : TTeComboBox(owner), TextNoTheme(Utf8ToWide(SNoTheme)), TextBrowse(u"Browse...") {
    forceItemIndex_ = true;
    SetComboStyle(kcsDropDownList);
    SetListStyle(lbsOwnerDrawFixed);
    ListBox()->OnDrawItem = [this](TTeListBox* l, TCanvas& c, int i, TRect r, TOwnerDrawState s) {
        DoDrawItem(l, c, i, r, s);
    };
    OnAllowChange = [this](TObject* s, int i, const WideString& t, bool& a) { DoAllowChange(s, i, t, a); };
    OnListBoxClick = [this](TObject* s) { DoListBoxClick(s); };
}

TTeThemeSwitcher::~TTeThemeSwitcher() = default;

void TTeThemeSwitcher::Loaded() {
    TTeComboBox::Loaded();
    SetComboStyle(kcsDropDownList);
    BuildThemeList();
}

void TTeThemeSwitcher::SetParent(TWinControl* parent) {
    TTeComboBox::SetParent(parent);
    if (parent) BuildThemeList();
}

void TTeThemeSwitcher::Notification(TComponent* component, TOperation operation) {
    TTeComboBox::Notification(component, operation);
    if (operation == TOperation::opRemove && component == orvanta_) orvanta_ = nullptr;
}

void TTeThemeSwitcher::SetOrvanta(TTeOrvanta* value) {
    if (orvanta_ != value) {
        if (orvanta_) orvanta_->RemoveFreeNotification(this);
        if (value) value->FreeNotification(this);
    }
    orvanta_ = value;
    BuildThemeList();
}

void TTeThemeSwitcher::AddEntry(const WideString& text, TEntry entry) {
    Items()->Add(WideToUtf8(text));
    entries_.push_back(std::move(entry));
}

void TTeThemeSwitcher::BuildThemeList() {
    Items()->Clear();
    entries_.clear();
    if (Designing(this)) {
        AddEntry(u"<Theme Switcher>");
        SetItemIndex(0);
        return;
    }
    const WideString separator = Utf8ToWide(kSeparator);
    if (ShowNoTheme) {
        AddEntry(TextNoTheme);
        if (ShowSeparator) AddEntry(separator);
    }
    for (TteThemeClass cls : NamedThemeClasses()) AddEntry(Utf8ToWide(cls->GetThemeName()), TEntry{cls, {}});
    if (ShowSeparator) AddEntry(separator);
    if (orvanta_ && orvanta_->ThemeList()) {
        TTeThemeCollection* themes = orvanta_->ThemeList()->Themes();
        for (int i = 0; i < themes->Count(); ++i)
            if (const String& name = themes->GetItem(i)->GetThemeStore(); !name.empty())
                AddEntry(Utf8ToWide(name), TEntry{nullptr, name});
        if (ShowSeparator) AddEntry(separator);
    }
    if (ShowBrowse) AddEntry(TextBrowse);
    CorrectItemIndex();
}

void TTeThemeSwitcher::CorrectItemIndex() {
    if (busy_) return;
    busy_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{busy_};

    if (!CurrentTheme) {
        SetItemIndex(0);
        return;
    }
    int found = -1;
    for (size_t i = 0; i < entries_.size(); ++i)
        if (entries_[i].cls && CurrentTheme->InheritsFrom(entries_[i].cls->Class))
            found = static_cast<int>(i);
    if (found < 0)
        for (size_t i = 0; i < entries_.size(); ++i)
            if (!entries_[i].listName.empty() && entries_[i].listName == CurrentTheme->Name)
                found = static_cast<int>(i);
    SetItemIndex(found >= 0 ? found : Count() - 1);
}

String TTeThemeSwitcher::GetThemeFileName() const {
    return ShowBrowse && IsBrowseEntry(ItemIndex()) ? themeFile_ : String();
}

bool TTeThemeSwitcher::IsBrowseEntry(int index) const {
    return ShowBrowse && index >= 0 && index < Count() && Items()->Get(index) == WideToUtf8(TextBrowse);
}

void TTeThemeSwitcher::WndProc(TMessage& m) {
    TTeComboBox::WndProc(m);
    if (m.Msg == SNM_THEMEMESSAGE && m.WParam != tmSystemChanged) CorrectItemIndex();
}

void TTeThemeSwitcher::DoDrawItem(TTeListBox*, TCanvas& canvas, int index, TRect rect, TOwnerDrawState) {
    const String text = Items()->Get(index);
    if (text == kSeparator) {
        canvas.Brush()->SetColor(clBlack);
        canvas.FrameRect(TRect{rect.left + 2, rect.top + 8, rect.right - 2, rect.bottom - 8});
        return;
    }
    canvas.Brush()->SetStyle(bsClear);
    canvas.TextRect(rect, rect.left + 22, rect.top + (rect.Height() - canvas.TextHeight(text)) / 2, text);
}

void TTeThemeSwitcher::DoAllowChange(TObject*, int, const WideString& text, bool& allow) {
    allow = text != Utf8ToWide(kSeparator);
}

void TTeThemeSwitcher::DoListBoxClick(TObject*) {
    const int index = ListBox()->ItemIndex();
    SetItemIndex(index);
    // The list closes before a theme changes or the browse dialog opens.
    AfterDropDown();
    if (index < 0 || Count() == 0 || busy_ || Designing(this) || ComponentState().Contains(csLoading)) return;
    busy_ = true;
    struct TDone {
        bool& flag;
        ~TDone() { flag = false; }
    } done{busy_};
    ChooseEntry(index);
}

void TTeThemeSwitcher::ThemeChanged() {
    if (OnChangeTheme) OnChangeTheme(this);
}

void TTeThemeSwitcher::ChooseEntry(int index) {
    if (index == 0 && ShowNoTheme) {
        ReleaseTheme();
        ThemeChanged();
        return;
    }
    if (IsBrowseEntry(index)) {
        String file;
        if (!BrowseThemeFile(file)) return;
        TteTheme* theme = LoadThemeFromFile(file);
        if (!theme) return;  // a file that does not load changes nothing
        theme->FileName = file;
        themeFile_ = file;
        ChangeTheme(theme);
        ThemeChanged();
        return;
    }
    const TEntry& entry = entries_[index];
    if (entry.cls) {
        ChangeTheme(entry.cls->Create());
        ThemeChanged();
        return;
    }
    if (entry.listName.empty() || !orvanta_ || !orvanta_->ThemeList()) return;
    const String name = entry.listName;  // the entries may be rebuilt meanwhile
    TTeThemeCollection* themes = orvanta_->ThemeList()->Themes();
    for (int i = 0; i < themes->Count(); ++i) {
        if (themes->GetItem(i)->GetThemeStore() != name) continue;
        if (TteTheme* theme = themes->GetItem(i)->GetTheme()) {
            ChangeTheme(theme);
            ThemeChanged();
        }
    }
}

bool TTeThemeSwitcher::BrowseThemeFile(String& fileName) {
    TTeOpenThemeDialog dialog(this);
    dialog.InitialDir = InitialDir;
    dialog.Options = TOpenOptions{ofFileMustExist, ofHideReadOnly, ofEnableSizing};
    if (!dialog.Execute()) return false;
    fileName = dialog.FileName;
    return true;
}

}  // namespace tarvel
