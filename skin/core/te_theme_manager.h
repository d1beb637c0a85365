#pragma once
// The process-wide theme manager: the registry of theme classes, the
// subscribers that hear of every theme change (window message 0x800 with a
// code), and the current theme. It also recognises theme files and streams:
// it finds the registered class that reads one and makes an instance of it.
// A hidden window of its own turns system colour, display and visual-style
// changes into the same notification.

#include <cstdint>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/winsys/WinTypes.h"
#include "skin/core/te_const.h"
#include "skin/core/te_theme.h"

namespace tarvel {

// The codes of SNM_THEMEMESSAGE (in WParam).
enum TteThemeMessageCode : uint8_t {
    tmChanged,        // the current theme was replaced
    tmBeforeChange,   // before every change or release
    tmAfterChange,    // after every change or release
    tmApply,          // a theme was made current where none was; also to a newcomer
    tmReleased,       // the current theme was released
    tmSystemChanged,  // system colours, display or theme colours changed; to visible controls only
};

class TteThemeManager : public TComponent {
    TARVEL_CLASS(TteThemeManager, TComponent)

public:
    explicit TteThemeManager(TComponent* owner);
    ~TteThemeManager() override;

    // ---- registry ----
    void RegisterTheme(TteThemeClass cls);
    void UnregisterTheme(TteThemeClass cls);  // its first occurrence
    int GetThemeCount() const { return static_cast<int>(classes_.size()); }
    TteThemeClass GetTheme(int index) const;  // null out of range
    // The first registered class of that exact class name (as "TteTheme").
    TteThemeClass GetThemeClass(std::string_view className) const;
    bool IsThemeAvailable(const TteTheme* theme) const;
    bool IsThemeAvailable(std::string_view themeName) const;
    bool IsThemeAvailable(TteThemeClass cls) const;

    // ---- subscribers ----
    // A newcomer hears tmApply at once when a theme is current.
    void AddNotification(TObject* subscriber);
    void RemoveNotification(TObject* subscriber);
    bool IsSubscribed(const TObject* subscriber) const;
    // To every subscriber in subscription order, over the list as it was when
    // the broadcast began; one that left meanwhile is skipped.
    void Broadcast(uint32_t msg, uintptr_t wParam, intptr_t lParam);

    // ---- the current theme ----
    // The manager owns the theme from here on.
    void ChangeTheme(TteTheme* theme);
    void ChangeTheme(std::string_view themeName);
    void ChangeTheme(TteThemeClass cls);
    void ReleaseTheme();
    void ResetTheme();
    void ResetThemeColors();

    // ---- files and streams ----
    // A new theme the caller owns, or null: a missing file, no class that
    // reads it, or a load that fails or raises (the half-built theme is freed).
    TteTheme* LoadFromFile(const String& fileName);
    TteTheme* LoadFromStream(TStream& stream);
    // Only themes whose class can save are written.
    void SaveToFile(TteTheme* theme, const String& fileName);
    void SaveToStream(TteTheme* theme, TStream& stream);
    // The first file-based class whose filter holds the file's extension.
    TteThemeClass GetThemeByFileName(const String& fileName) const;
    String GetDialogFilter() const;

    HWND Handle() const { return handle_; }

private:
    LRESULT HookWndProc(HWND hwnd, UINT msg, WPARAM wParam, LPARAM lParam);
    // Installs `theme` between tmBeforeChange and tmAfterChange.
    void Install(TteTheme* theme);
    TteTheme* LoadGuarded(TteThemeClass cls, const std::function<bool(TteTheme&)>& load);

    std::vector<TteThemeClass> classes_;
    std::vector<TObject*> subscribers_;
    HWND handle_ = nullptr;
};

// The one manager, made by InitThemeCore, and the current theme it owns.
extern TteThemeManager* ThemeManager;
extern TteTheme* CurrentTheme;

// Hands a theme message to one subscriber: a control through its window
// procedure (an invisible one skips tmSystemChanged), any other object
// through Dispatch.
void DeliverThemeMessage(TObject* subscriber, TMessage& message);

}  // namespace tarvel
