#include "skin/core/te_theme_manager.h"

#include <algorithm>
#include <memory>

#include "platform/base/Paths.h"
#include "platform/winsys/WindowApi.h"
#include "skin/core/te_winapi.h"

namespace tarvel {

TteThemeManager* ThemeManager = nullptr;
TteTheme* CurrentTheme = nullptr;

TteThemeManager::TteThemeManager(TComponent* owner) : TComponent(owner) {
    // Without a window system (a tool run, early start-up) there is no hidden
    // window, and so no system notifications; everything else works.
    handle_ =
        AllocateMessageWindow([this](HWND h, UINT m, WPARAM w, LPARAM l) { return HookWndProc(h, m, w, l); });
}

TteThemeManager::~TteThemeManager() {
    subscribers_.clear();
    delete CurrentTheme;
    CurrentTheme = nullptr;
    if (handle_) DestroyWindow(handle_);
    classes_.clear();
}

// ---- registry ----------------------------------------------------------------

void TteThemeManager::RegisterTheme(TteThemeClass cls) {
    if (cls) classes_.push_back(cls);
}

void TteThemeManager::UnregisterTheme(TteThemeClass cls) {
    auto it = std::find(classes_.begin(), classes_.end(), cls);
    if (it != classes_.end()) classes_.erase(it);
}

TteThemeClass TteThemeManager::GetTheme(int index) const {
    return index >= 0 && index < GetThemeCount() ? classes_[index] : nullptr;
}

TteThemeClass TteThemeManager::GetThemeClass(std::string_view className) const {
    for (TteThemeClass cls : classes_)
        if (cls->ClassName() == className) return cls;
    return nullptr;
}

bool TteThemeManager::IsThemeAvailable(const TteTheme* theme) const {
    return theme != nullptr && theme == CurrentTheme;
}

bool TteThemeManager::IsThemeAvailable(std::string_view themeName) const {
    if (CurrentTheme && SameText(CurrentTheme->ThemeClass()->GetThemeName(), themeName)) return true;
    return std::any_of(classes_.begin(), classes_.end(),
                       [&](TteThemeClass cls) { return SameText(cls->GetThemeName(), themeName); });
}

bool TteThemeManager::IsThemeAvailable(TteThemeClass cls) const {
    if (!cls) return false;
    if (CurrentTheme && CurrentTheme->InheritsFrom(cls->Class)) return true;
    return std::find(classes_.begin(), classes_.end(), cls) != classes_.end();
}

// ---- subscribers ---------------------------------------------------------------

void TteThemeManager::AddNotification(TObject* subscriber) {
    if (!subscriber || IsSubscribed(subscriber)) return;
    subscribers_.push_back(subscriber);
    if (CurrentTheme) {
        TMessage m{SNM_THEMEMESSAGE, tmApply, 0, 0};
        DeliverThemeMessage(subscriber, m);
    }
}

void TteThemeManager::RemoveNotification(TObject* subscriber) {
    auto it = std::find(subscribers_.begin(), subscribers_.end(), subscriber);
    if (it != subscribers_.end()) subscribers_.erase(it);
}

bool TteThemeManager::IsSubscribed(const TObject* subscriber) const {
    return std::find(subscribers_.begin(), subscribers_.end(), subscriber) != subscribers_.end();
}

void TteThemeManager::Broadcast(uint32_t msg, uintptr_t wParam, intptr_t lParam) {
    // A handler may subscribe or leave (even free itself or another
    // subscriber): the walk goes over a snapshot and asks before each delivery.
    const std::vector<TObject*> snapshot = subscribers_;
    for (TObject* subscriber : snapshot) {
        if (!IsSubscribed(subscriber)) continue;
        TMessage m{msg, wParam, lParam, 0};
        DeliverThemeMessage(subscriber, m);
    }
}

// ---- the current theme -----------------------------------------------------------

void TteThemeManager::Install(TteTheme* theme) {
    Broadcast(SNM_THEMEMESSAGE, tmBeforeChange, 0);
    TteThemeMessageCode code = tmApply;
    if (CurrentTheme) {
        // Installing the theme that is already current frees nothing.
        if (CurrentTheme != theme) delete CurrentTheme;
        CurrentTheme = nullptr;
        code = tmChanged;
    }
    CurrentTheme = theme;
    Broadcast(SNM_THEMEMESSAGE, code, 0);
    Broadcast(SNM_THEMEMESSAGE, tmAfterChange, 0);
}

void TteThemeManager::ChangeTheme(TteTheme* theme) { Install(theme); }

void TteThemeManager::ChangeTheme(std::string_view themeName) {
    TteThemeClass found = nullptr;
    for (TteThemeClass cls : classes_)
        if (LowerCase(cls->GetThemeName()) == LowerCase(themeName)) {
            found = cls;
            break;
        }
    // A name no class answers to still replaces the current theme, by none.
    Install(found ? found->Create() : nullptr);
}

void TteThemeManager::ChangeTheme(TteThemeClass cls) { Install(cls ? cls->Create() : nullptr); }

void TteThemeManager::ReleaseTheme() {
    Broadcast(SNM_THEMEMESSAGE, tmBeforeChange, 0);
    delete CurrentTheme;
    CurrentTheme = nullptr;
    Broadcast(SNM_THEMEMESSAGE, tmReleased, 0);
    Broadcast(SNM_THEMEMESSAGE, tmAfterChange, 0);
}

void TteThemeManager::ResetTheme() {
    if (CurrentTheme) CurrentTheme->ResetTheme();
    Broadcast(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}

void TteThemeManager::ResetThemeColors() {
    if (CurrentTheme) CurrentTheme->ChangeThemeHueAndBrightness(0, 0);
    Broadcast(SNM_THEMEMESSAGE, tmSystemChanged, 1);
}

// ---- the hidden window -------------------------------------------------------------

LRESULT TteThemeManager::HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam) {
    if (msg == WM_THEMECHANGED) UseThemesSlow();
    if (msg == WM_THEMECHANGED || msg == WM_SYSCOLORCHANGE || msg == WM_DISPLAYCHANGE)
        Broadcast(SNM_THEMEMESSAGE, tmSystemChanged, 0);
    return DefWindowProc(hwnd, msg, wParam, lParam);
}

// ---- files and streams ---------------------------------------------------------------

TteTheme* TteThemeManager::LoadGuarded(TteThemeClass cls, const std::function<bool(TteTheme&)>& load) {
    // A damaged file must not end the caller's start-up: any failure, raised
    // or answered, frees the half-built theme and answers null.
    try {
        std::unique_ptr<TteTheme> theme(cls->Create());
        if (!theme || !load(*theme)) return nullptr;
        return theme.release();
    } catch (const std::exception&) {
        return nullptr;
    }
}

TteTheme* TteThemeManager::LoadFromFile(const String& fileName) {
    if (fileName.empty()) return nullptr;
    String name = NativePath(fileName);
    if (!FileExists(name) && name.size() >= 2) {
        // An absolute name that is not there is not there; a relative one is
        // tried beside the executable.
        if (name[0] == '/') return nullptr;
        name = IncludeTrailingPathDelimiter(ApplicationFolder()) + name;
        if (!FileExists(name)) return nullptr;
    }
    if (TteThemeClass cls = GetThemeByFileName(name))
        return LoadGuarded(cls, [&](TteTheme& t) { return t.LoadFromFile(name); });
    try {
        TFileStream stream(name, fmOpenRead, kMaxSkinFileBytes);
        return LoadFromStream(stream);
    } catch (const std::exception&) {
        return nullptr;
    }
}

TteTheme* TteThemeManager::LoadFromStream(TStream& stream) {
    try {
        const int64_t start = stream.Position();
        TteThemeClass found = nullptr;
        for (TteThemeClass cls : classes_) {
            const bool claims = cls->CheckStream(stream);
            stream.SetPosition(start);
            if (claims) {
                found = cls;
                break;
            }
        }
        if (!found) return nullptr;
        return LoadGuarded(found, [&](TteTheme& t) { return t.LoadFromStream(stream); });
    } catch (const std::exception&) {
        return nullptr;
    }
}

void TteThemeManager::SaveToFile(TteTheme* theme, const String& fileName) {
    if (theme && theme->ThemeClass()->GetThemeConfig().CanSave) theme->SaveToFile(NativePath(fileName));
}

void TteThemeManager::SaveToStream(TteTheme* theme, TStream& stream) {
    if (theme && theme->ThemeClass()->GetThemeConfig().CanSave) theme->SaveToStream(stream);
}

TteThemeClass TteThemeManager::GetThemeByFileName(const String& fileName) const {
    const String ext = LowerCase(ExtractFileExt(NativePath(fileName)));
    if (ext.empty()) return nullptr;  // an empty extension would match every filter
    for (TteThemeClass cls : classes_) {
        const TteThemeConfig config = cls->GetThemeConfig();
        if (config.FileBased && LowerCase(config.Filter).find(ext) != String::npos) return cls;
    }
    return nullptr;
}

String TteThemeManager::GetDialogFilter() const {
    String result, patterns;
    for (TteThemeClass cls : classes_) {
        const TteThemeConfig config = cls->GetThemeConfig();
        if (!config.FileBased) continue;
        if (!result.empty()) result += "|";
        result += config.Filter;
        // "description|pattern|description|pattern...": the patterns are
        // gathered until a description is empty.
        std::vector<String> parts;
        size_t from = 0;
        for (;;) {
            const size_t bar = config.Filter.find('|', from);
            parts.push_back(config.Filter.substr(from, bar == String::npos ? String::npos : bar - from));
            if (bar == String::npos) break;
            from = bar + 1;
        }
        for (size_t i = 0; i + 1 < parts.size() && !parts[i].empty(); i += 2) patterns += parts[i + 1] + ";";
    }
    if (patterns.empty()) return result;
    patterns.pop_back();
    return "All (" + patterns + ")|" + patterns + "|" + result;
}

}  // namespace tarvel
