#include "skin/themes/theme_se3.h"

#include "platform/base/Paths.h"
#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"

namespace tarvel {

namespace {

constexpr TSkinFileObjectName kObjectNames[] = {
    {kseForm, "Form"},
    {kseButton, "Button"},
    {kseCheckbox, "Checkbox"},
    {kseRadioButton, "RadioButton"},
    {kseGroupBox, "GroupBox"},
    {kseScrollBar, "ScrollBar"},
    {kseProgressBar, "ProgressBar"},
    {kseEdit, "Edit"},
    {kseComboBox, "ComboBox"},
    {kseTrackBar, "TrackBar"},
    {kseMenuBar, "MenuBar"},
    {ksePopupMenu, "PopupMenu"},
    {kseHeader, "Header"},
    {kseStatusBar, "StatusBar"},
    {kseTabs, "Tabs"},
    {kseContainer, "Container"},
    {kseFrame, "Frame"},
    {kseScrollBox, "ScrollBox"},
    {kseSplitter, "Splitter"},
    {kseSpinButton, "SpinButton"},
    {kseControlBar, "ControlBar"},
    {kseGrid, "Grid"},
    {kseListBox, "ListBox"},
    {kseHint, "Hint"},
    {kseSpeedButton, "SpeedButton"},
    {kseToolBar, "ToolBar"},
    {kseToolWindow, "ToolWindow"},
    {ksePanel, "Panel"},
    {kseBarDock, "ScrollBox"},
};

// The caption buttons hidden in the drawn frame, in this order.
constexpr TSeAction kCaptionActions[] = {sbaSysMenu, sbaClose,  sbaHelp,     sbaMinimize, sbaMaximize,
                                         sbaRestore, sbaRollUp, sbaRollDown, sbaTray};

// The first object of that kind below `object`, not the object itself: a
// frame whose own kind is the client's has no client object.
TSeSkinObject* FindDescendantByKind(TSeSkinObject* object, TSeKind kind) {
    for (int i = 0; i < object->GetCount(); ++i) {
        if (TSeSkinObject* found = object->GetObject(i)->FindObjectByKind(kind)) return found;
    }
    return nullptr;
}

// A copy owned by the theme, its images bound to the working copy's.
TSeSkinObject* OwnedCopy(const TSeSkinObject* object, TteBitmapList* bitmaps) {
    TSeSkinObject* copy = object->CreateCopy(nullptr);
    if (copy) {
        copy->SetBitmaps(bitmaps);
        copy->AfterLoad();
    }
    return copy;
}

}  // namespace

std::span<const TSkinFileObjectName> SkinFileObjectNames() { return kObjectNames; }

void InitThemeSkinFile() { RegisterTheme(ThemeClassOf<TTeSkinFile>()); }

// ---- life -------------------------------------------------------------------------------------

TTeSkinFile::TTeSkinFile()
    : work_(std::make_unique<TSeSkinSource>(nullptr)), loaded_(std::make_unique<TSeSkinSource>(nullptr)) {}

TTeSkinFile::~TTeSkinFile() { FreeObjects(); }

TteThemeConfig TTeSkinFile::GetThemeConfig() {
    TteThemeConfig config;
    config.CanSave = true;
    config.FileBased = true;
    config.Filter = GetDialogFilter3();
    config.DefaultExt = "mskn";
    return config;
}

bool TTeSkinFile::CheckStream(TStream& stream) {
    if (GetThemeFilterBySign(stream)) return true;
    std::array<uint8_t, 4> tag{};
    return stream.Read(tag.data(), 4) == 4 && tag == QvZSign;
}

void TTeSkinFile::Assign(TPersistent* source) {
    auto* other = dynamic_cast<TTeSkinFile*>(source);
    TteTheme::Assign(source);
    if (!other || other == this) return;
    FreeObjects();
    loaded_->Assign(other->loaded_.get());
    ResetTheme();
}

void TTeSkinFile::FreeObjects() {
    for (TSkinFileEntry owned : {kseFormClientObject, kseFormButtonRects, kseFormButtons,
                                 kseToolWindowClientObject, kseToolWindowButtonRects, kseToolWindowButtons})
        delete table_[owned];
    table_.fill(nullptr);
}

// ---- colours and fonts ------------------------------------------------------------------------

void TTeSkinFile::ResetThemeColors() {
    if (work_) {
        Colors()->Assign(&work_->Colors());
        SysColors()->Assign(&work_->SysColors());
    }
    Colors()->ChangeColorsHue(DeltaHue());
    Colors()->ChangeColorsBrightness(DeltaBrightness());
}

void TTeSkinFile::ResetThemeFonts() {
    if (work_) Fonts()->Assign(&work_->Fonts());
    Fonts()->ChangeFontsHue(DeltaHue());
    Fonts()->ChangeFontsBrightness(DeltaBrightness());
}

void TTeSkinFile::SetFontForObject(TFont* font, TteThemeFont index, const String& objectName) {
    TteTheme::SetFontForObject(font, index, objectName);
    if (index < ktfStaticTextNormal || index > ktfStaticTextDisabled) return;
    if (TSeSkinObject* object = work_->GetObjectByName(objectName)) font->Assign(object->Font());
}

// ---- loading and saving -----------------------------------------------------------------------

std::unique_ptr<TSeSkinSource> TTeSkinFile::FreshSource() const {
    // A skin without sections keeps the colours and fonts the loaded one had.
    auto fresh = std::make_unique<TSeSkinSource>(nullptr);
    fresh->Colors().Assign(&loaded_->Colors());
    fresh->SysColors().Assign(&loaded_->SysColors());
    fresh->Fonts().Assign(&loaded_->Fonts());
    return fresh;
}

bool TTeSkinFile::TakeLoaded(std::unique_ptr<TSeSkinSource> fresh) {
    if (fresh->GetCount() == 0) return false;
    FreeObjects();
    loaded_ = std::move(fresh);
    return true;
}

bool TTeSkinFile::LoadFromStream(TStream& stream) {
    DefaultFilter = TSeSkinFilterCompressed::StaticClass();
    TClass filter = nullptr;
    try {
        filter = GetThemeFilterBySign(stream);
    } catch (const std::exception&) {
        return false;
    }
    std::unique_ptr<TSeSkinSource> fresh = FreshSource();
    if (!fresh->LoadFromStream(stream, filter ? filter : TSeSkinFilterCompressed::StaticClass()))
        return false;
    if (!TakeLoaded(std::move(fresh))) return false;
    ResetTheme();
    return true;
}

bool TTeSkinFile::LoadFromFile(const String& fileName) {
    std::unique_ptr<TSeSkinSource> fresh = FreshSource();
    if (!fresh->LoadFromFile(fileName)) return false;
    if (!TakeLoaded(std::move(fresh))) return false;
    FileName = fileName;
    ResetTheme();
    return true;
}

void TTeSkinFile::CopyThemeIntoLoaded() {
    loaded_->Fonts().Assign(Fonts());
    loaded_->Colors().Assign(Colors());
}

bool TTeSkinFile::SaveToStream(TStream& stream) {
    DefaultFilter = TSeSkinFilterMaxCompression::StaticClass();
    CopyThemeIntoLoaded();
    loaded_->SaveToStream(stream, TSeSkinFilterMaxCompression::StaticClass());
    return true;
}

bool TTeSkinFile::SaveToFile(const String& fileName) {
    CopyThemeIntoLoaded();
    loaded_->SaveToFile(fileName);
    return true;
}

// ---- the object table -------------------------------------------------------------------------

void TTeSkinFile::ResetTheme() {
    DefaultFilter = TSeSkinFilterUncompressed::StaticClass();
    FreeObjects();  // the table points into the working copy about to be replaced
    work_->Assign(loaded_.get());
    ResetObjects();
    Name = loaded_->SkinName;
    TteTheme::ResetTheme();
}

void TTeSkinFile::TakeFrame(const char* name, TSkinFileEntry form) {
    const auto at = [form](int offset) { return static_cast<TSkinFileEntry>(form + offset); };
    TSeSkinObject* frame = work_->GetObjectByName(name);
    table_[form] = frame;
    if (!frame) return;
    TSeSkinObject* client = FindDescendantByKind(frame, skClient);
    if (!client) return;
    TSeSkinObject* parent = client->Parent();
    TSeSkinObject* clientCopy = OwnedCopy(client, &work_->Bitmaps());
    table_[at(4)] = clientCopy;
    delete client;  // leaves its parent
    auto* placeholder = new TSeSkinObject(parent);
    placeholder->SetColor(clNone);
    placeholder->SetAlign(clientCopy ? clientCopy->GetAlign() : saClient);
    placeholder->SetKind(skClient);
    table_[at(1)] = placeholder;
    table_[at(2)] = OwnedCopy(frame, &work_->Bitmaps());
    table_[at(3)] = OwnedCopy(frame, &work_->Bitmaps());
    for (TSeAction action : kCaptionActions) {
        if (TSeSkinObject* button = frame->FindObjectByAction(action)) button->Visible = false;
    }
}

void TTeSkinFile::ResetObjects() {
    FreeObjects();
    if (work_->GetCount() == 0) return;
    work_->ChangeSkinSourceHue(DeltaHue());
    work_->ChangeSkinSourceBrightness(DeltaBrightness());
    TakeFrame("Form", kseForm);
    TakeFrame("ToolWindow", kseToolWindow);
    for (const TSkinFileObjectName& n : kObjectNames) {
        if (n.Entry == kseForm || n.Entry == kseToolWindow) continue;
        table_[n.Entry] = work_->GetObjectByName(n.Name);
    }
}

// ---- lookups ----------------------------------------------------------------------------------

TSeSkinObject* TTeSkinFile::Named(const String& obj) const {
    if (obj == "default") return nullptr;
    return work_->GetObjectByName(obj);
}

TSeSkinObject* TTeSkinFile::Pick(const String& obj, TSkinFileEntry entry) const {
    if (TSeSkinObject* named = Named(obj)) return named;
    return table_[entry];
}

TRect TTeSkinFile::GetBounds(const String& objectName) {
    TSeSkinObject* object = work_->GetObjectByName(objectName);
    TSeSkinObject* bounds = object ? object->FindObjectByName("Bounds") : nullptr;
    return bounds ? bounds->GetBoundsRect() : TteTheme::GetBounds(objectName);
}

TColor TTeSkinFile::CustomColor(const String& colorName) {
    TSeSkinObject* found = nullptr;
    if (colorName.find('\\') != String::npos) found = work_->GetObjectByName(colorName);
    if (!found) {
        if (TSeSkinObject* custom = work_->GetObjectByName("CustomColors"))
            found = custom->FindObjectByName(colorName);
        else
            found = work_->GetObjectByName(colorName);
    }
    return found ? found->GetColor() : TteTheme::CustomColor(colorName);
}

// ---- shared drawing steps ---------------------------------------------------------------------

namespace se3 {

TSeSkinObject* Child(TSeSkinObject* object, const char* name) {
    return object ? object->FindObjectByName(name) : nullptr;
}

TSeSkinObject* FirstChild(TSeSkinObject* object, std::initializer_list<const char*> names) {
    for (const char* name : names) {
        if (TSeSkinObject* found = Child(object, name)) return found;
    }
    return nullptr;
}

void DrawObject(TSeSkinObject* object, TCanvas& c, const TRect& r, std::optional<TSeState> state) {
    if (!object) return;
    if (state) object->SetState(*state);
    object->SetBoundsRect(r);
    object->Draw(c, NullRect);
}

void DrawCentred(TSeSkinObject* object, TCanvas& c, const TRect& r, std::optional<TSeState> state) {
    if (!object) return;
    TRect own{0, 0, object->GetWidth(), object->GetHeight()};
    DrawObject(object, c, RectCenter(own, r), state);
}

TSeState StandardState(bool disabled, bool pressed, bool hot) {
    if (disabled) return ssDisabled;
    if (pressed) return ssPressed;
    return hot ? ssHot : ssNormal;
}

TRect ShrinkByMargins(TSeSkinObject* object, const TRect& r) {
    object->SetBoundsRect(r);
    return TRect{r.left + object->GetMarginLeft(), r.top + object->GetMarginTop(),
                 r.right - object->GetMarginRight(), r.bottom - object->GetMarginBottom()};
}

TKeptPixels::TKeptPixels(TCanvas& c, const TRect& r) : c_(c), r_(r) {
    if (IsRectEmpty(r)) return;
    saved_.SetSize(r.Width(), r.Height());
    BitBlt(saved_.DC(), 0, 0, r.Width(), r.Height(), c.Handle(), r.left, r.top, SRCCOPY);
}

TKeptPixels::~TKeptPixels() {
    if (!saved_.Empty())
        BitBlt(c_.Handle(), r_.left, r_.top, r_.Width(), r_.Height(), saved_.DC(), 0, 0, SRCCOPY);
}

}  // namespace se3

}  // namespace tarvel
