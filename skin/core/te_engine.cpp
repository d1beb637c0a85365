#include "skin/core/te_engine.h"

#include <memory>

#include "skin/core/te_theme_api.h"
#include "skin/core/te_utils.h"

namespace tarvel {

TteThemeClass FindBuildingTheme(const String& name) {
    if (!ThemeManager) return nullptr;
    for (int i = 0; i < ThemeManager->GetThemeCount(); ++i) {
        TteThemeClass cls = ThemeManager->GetTheme(i);
        if (cls->GetThemeConfig().Building && LowerCase(cls->GetThemeName()) == LowerCase(name)) return cls;
    }
    return nullptr;
}

namespace {

// Whether the index chooses an entry of the list: a list with entries and
// an index of 0 or more, a larger index clamped to the last entry.
bool ClampToEntry(TTeThemeList* list, int& index) {
    const int count = list ? list->Themes()->Count() : 0;
    if (count == 0 || index < 0) return false;
    if (index >= count - 1) index = count - 1;
    return true;
}

// Points `field` at `list`, asking to hear when it goes; no list also
// clears the index.
void ReferToList(TComponent* self, TTeThemeList*& field, TTeThemeList* list, int& index) {
    if (field && field != list) field->RemoveFreeNotification(self);
    field = list;
    if (list)
        list->FreeNotification(self);
    else
        index = -1;
}

// Stores the built-in name asked for and answers its class; SNoTheme, or a
// name no built-in class answers to, answers null (and stores SNoTheme).
TteThemeClass AskBuilding(String& field, const String& name) {
    field = name;
    if (name == SNoTheme) return nullptr;
    TteThemeClass cls = FindBuildingTheme(name);
    if (!cls) field = SNoTheme;
    return cls;
}

}  // namespace

// ---- theme items -----------------------------------------------------------------

TTeThemeStream::TTeThemeStream(TCollection* collection) : TCollectionItem(collection) {}

TTeThemeStream::~TTeThemeStream() { FreeTemporaryTheme(); }

void TTeThemeStream::FreeTemporaryTheme() {
    delete temporary_;
    temporary_ = nullptr;
}

void TTeThemeStream::MakeEmpty() {
    data_.Clear();
    name_ = "(empty)";
}

TteTheme* TTeThemeStream::GetTheme() {
    if (data_.Size() == 0) return nullptr;
    data_.SetPosition(0);
    return LoadThemeFromStream(data_);
}

void TTeThemeStream::SetTheme(TteTheme* theme) {
    if (!theme) return;
    data_.Clear();
    SaveThemeToStream(theme, data_);
    name_ = theme->Name;
    if (OnChange) OnChange(this);
}

void TTeThemeStream::WriteData(TStream& stream) {
    const int64_t size = data_.Size();
    const uint8_t tag = size > 0 ? 3 : 0;
    stream.WriteBuffer(&tag, 1);
    if (tag == 0) return;
    WriteString(stream, name_);
    WriteInt32(stream, static_cast<int32_t>(size));
    stream.WriteBuffer(data_.Memory(), size);
}

void TTeThemeStream::ReadData(TStream& stream) {
    uint8_t tag = 0;
    stream.ReadBuffer(&tag, 1);
    try {
        switch (tag) {
            case 1: {
                FreeTemporaryTheme();
                temporary_ = LoadThemeFromStream(stream);
                if (!temporary_) throw EReadError("Theme data of no known kind");
                data_.Clear();
                SaveThemeToStream(temporary_, data_);
                name_ = temporary_->Name;
                break;
            }
            case 2:
            case 3: {
                String name = ReadString(stream);
                int64_t size = 0;
                if (tag == 2) {
                    uint64_t wide = 0;
                    stream.ReadBuffer(&wide, 8);
                    size = static_cast<int64_t>(wide & 0xFFFFFFFFu);
                } else {
                    size = static_cast<uint32_t>(ReadInt32(stream));
                }
                // Only what the stream holds is taken: a claimed size beyond
                // it raises before anything is allocated for it.
                const std::vector<uint8_t> bytes = ReadBoundedBytes(stream, size);
                data_.Clear();
                data_.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
                data_.SetPosition(0);
                name_ = std::move(name);
                break;
            }
            default: break;
        }
    } catch (...) {
        MakeEmpty();
        throw;
    }
}

void TTeThemeStream::Assign(TPersistent* source) {
    if (auto* other = dynamic_cast<TTeThemeStream*>(source)) {
        data_.Clear();
        other->data_.SaveToStream(data_);
        data_.SetPosition(0);
        name_ = other->name_;
        Tag = other->Tag;
        return;
    }
    inherited::Assign(source);
}

TTeThemeCollection::TTeThemeCollection(TTeThemeList* owner)
    : TOwnedCollection(owner, TTeThemeStream::StaticClass()) {}

TTeThemeList::TTeThemeList(TComponent* owner) : TComponent(owner), themes_(new TTeThemeCollection(this)) {}

TTeThemeList::~TTeThemeList() { delete themes_; }

void TTeThemeList::Loaded() {
    inherited::Loaded();
    for (int i = 0; i < themes_->Count(); ++i) themes_->GetItem(i)->FreeTemporaryTheme();
}

// ---- theme link ---------------------------------------------------------------------

TTeThemeLink::TTeThemeLink(TComponent* owner) : TteCustomThemeLink(owner) {}

TTeThemeLink::~TTeThemeLink() {
    delete theme_;
    theme_ = nullptr;
}

void TTeThemeLink::Notify() { UpdateLinkedControls(this); }

void TTeThemeLink::TakeTheme(TteTheme* theme) {
    delete theme_;
    theme_ = theme;
    if (deltaHue_ != 0) theme_->ChangeThemeHue(deltaHue_);
    if (deltaBrightness_ != 0) theme_->ChangeThemeBrightness(deltaBrightness_);
    Notify();
}

void TTeThemeLink::SetThemeFile(const String& name) {
    themeFile_ = name;
    TteTheme* theme = LoadThemeFromFile(name);
    if (!theme) return;
    themeBuilding_ = SNoTheme;
    themeIndex_ = -1;
    TakeTheme(theme);
}

void TTeThemeLink::SetThemeBuilding(const String& name) {
    TteThemeClass cls = AskBuilding(themeBuilding_, name);
    if (!cls) return;
    if (TteTheme* theme = cls->Create()) {
        themeFile_.clear();
        themeIndex_ = -1;
        TakeTheme(theme);
    }
    themeBuilding_ = cls->GetThemeName();
}

void TTeThemeLink::SetThemeIndex(int index) {
    themeIndex_ = index;
    if (ClampToEntry(themeList_, themeIndex_)) {
        if (TteTheme* theme = themeList_->Themes()->GetItem(themeIndex_)->GetTheme()) {
            themeFile_.clear();
            themeBuilding_ = SNoTheme;
            TakeTheme(theme);
        }
        return;
    }
    if (!ComponentState().Contains(csLoading)) ReleaseTheme();
}

void TTeThemeLink::SetThemeList(TTeThemeList* list) { ReferToList(this, themeList_, list, themeIndex_); }

void TTeThemeLink::SetDeltaHue(int value) {
    deltaHue_ = value;
    if (theme_) theme_->ChangeThemeHue(value);
    Notify();
}

void TTeThemeLink::SetDeltaBrightness(int value) {
    deltaBrightness_ = value;
    if (theme_) theme_->ChangeThemeBrightness(value);
    Notify();
}

void TTeThemeLink::ReleaseTheme() {
    if (!theme_) return;
    delete theme_;
    theme_ = nullptr;
    Notify();
}

void TTeThemeLink::Loaded() {
    inherited::Loaded();
    if (themeList_ && themeIndex_ >= 0) SetThemeIndex(themeIndex_);
}

void TTeThemeLink::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    // The list is half destroyed by now: it is forgotten, not asked.
    if (operation == TOperation::opRemove && component == themeList_) {
        themeList_ = nullptr;
        SetThemeList(nullptr);
    }
}

// ---- theme engine ------------------------------------------------------------------

void TTeOrvanta::DeclareMessages(TMessageTable& t) { t.Add<&TTeOrvanta::SNMThemeMessage>(SNM_THEMEMESSAGE); }

TTeOrvanta::TTeOrvanta(TComponent* owner) : TComponent(owner) { AddThemeNotification(this); }

TTeOrvanta::~TTeOrvanta() { RemoveThemeNotification(this); }

bool TTeOrvanta::DesigningOrLoading() const {
    return ComponentState().Contains(csDesigning) || ComponentState().Contains(csLoading);
}

void TTeOrvanta::ApplyDeltas() {
    if (deltaHue_ != 0) ChangeThemeHue(deltaHue_);
    if (deltaBrightness_ != 0) ChangeThemeBrightness(deltaBrightness_);
}

void TTeOrvanta::Loaded() {
    inherited::Loaded();
    if (themeList_ && themeIndex_ >= 0) SetThemeIndex(themeIndex_);
}

void TTeOrvanta::Notification(TComponent* component, TOperation operation) {
    inherited::Notification(component, operation);
    if (operation == TOperation::opRemove && component == themeList_) {
        themeList_ = nullptr;  // half destroyed by now: forgotten, not asked
        ReleaseTheme();
        SetThemeIndex(-1);
        SetThemeList(nullptr);
    }
}

void TTeOrvanta::SetThemeFile(const String& name) {
    themeFile_ = name;
    if (TteTheme* theme = LoadThemeFromFile(name)) {
        ChangeTheme(theme);
        ApplyDeltas();
        themeIndex_ = -1;
        themeBuilding_ = SNoTheme;
    } else if (themeIndex_ == -1) {
        ReleaseTheme();
    }
}

void TTeOrvanta::SetThemeIndex(int index) {
    themeIndex_ = index;
    if (ClampToEntry(themeList_, themeIndex_)) {
        if (TteTheme* theme = themeList_->Themes()->GetItem(themeIndex_)->GetTheme()) {
            ChangeTheme(theme);
            ApplyDeltas();
            themeFile_.clear();
            themeBuilding_ = SNoTheme;
        }
        return;
    }
    if (themeFile_.empty()) ReleaseTheme();
}

void TTeOrvanta::SetThemeBuilding(const String& name) {
    TteThemeClass cls = AskBuilding(themeBuilding_, name);
    if (!cls) return;
    if (TteTheme* theme = cls->Create()) {
        ChangeTheme(theme);
        ApplyDeltas();
        themeFile_.clear();
        themeIndex_ = -1;
    }
    themeBuilding_ = cls->GetThemeName();
}

void TTeOrvanta::SetThemeList(TTeThemeList* list) { ReferToList(this, themeList_, list, themeIndex_); }

void TTeOrvanta::SetDeltaHue(int value) {
    if (value == deltaHue_) return;
    deltaHue_ = value;
    if (deltaBrightness_ != 0)
        ChangeThemeHueAndBrightness(value, deltaBrightness_);
    else
        ChangeThemeHue(value);
}

void TTeOrvanta::SetDeltaBrightness(int value) {
    if (value == deltaBrightness_) return;
    deltaBrightness_ = value;
    if (deltaHue_ != 0)
        ChangeThemeHueAndBrightness(deltaHue_, value);
    else
        ChangeThemeBrightness(value);
}

namespace {
void BroadcastColorsChanged() {
    if (ThemeManager) ThemeManager->Broadcast(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}
}  // namespace

void TTeOrvanta::ResetThemeColors() {
    deltaHue_ = 0;
    deltaBrightness_ = 0;
    if (CurrentTheme) CurrentTheme->ChangeThemeHueAndBrightness(0, 0);
    BroadcastColorsChanged();
}

void TTeOrvanta::ResetThemeHue() {
    deltaHue_ = 0;
    if (CurrentTheme) CurrentTheme->ChangeThemeHue(0);
    BroadcastColorsChanged();
}

void TTeOrvanta::ResetThemeBrightness() {
    deltaBrightness_ = 0;
    if (CurrentTheme) CurrentTheme->ChangeThemeBrightness(0);
    BroadcastColorsChanged();
}

String TTeOrvanta::GetState() const {
    const String shifts = "," + IntToStr(deltaHue_) + "," + IntToStr(deltaBrightness_);
    if (!themeFile_.empty()) return "1," + themeFile_ + shifts;
    if (themeIndex_ >= 0 && themeList_) return "2," + IntToStr(themeIndex_) + shifts;
    if (themeBuilding_ != SNoTheme) return "3," + themeBuilding_ + shifts;
    return "0";
}

void TTeOrvanta::SNMThemeMessage(TMessage& message) {
    switch (message.WParam) {
        case tmChanged:
        case tmApply:
            if (!DesigningOrLoading() && CurrentTheme) {
                TteThemeClass cls = CurrentTheme->ThemeClass();
                if (cls->GetThemeConfig().Building) {
                    themeBuilding_ = cls->GetThemeName();
                    themeIndex_ = -1;
                    themeFile_.clear();
                } else {
                    themeBuilding_ = SNoTheme;
                    if (themeFile_.empty() && !CurrentTheme->FileName.empty()) {
                        themeFile_ = CurrentTheme->FileName;
                        themeIndex_ = -1;
                    } else if (themeList_) {
                        for (int i = 0; i < themeList_->Themes()->Count(); ++i)
                            if (themeList_->Themes()->GetItem(i)->GetThemeStore() == CurrentTheme->Name) {
                                themeIndex_ = i;
                                themeFile_.clear();
                                break;
                            }
                    }
                }
            }
            if (OnThemeChanged) OnThemeChanged(this);
            break;
        case tmReleased:
            if (!DesigningOrLoading()) {
                themeFile_.clear();
                themeBuilding_ = SNoTheme;
                themeIndex_ = -1;
            }
            if (OnThemeChanged) OnThemeChanged(this);
            break;
        default: break;
    }
}

}  // namespace tarvel
