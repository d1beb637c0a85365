#pragma once
// Choosing the application's theme: the select-theme panel and dialog (a
// list of the built-in themes and of a theme list's themes, a live preview
// through a private link, hue and brightness sliders, applied to a theme
// engine on OK), and the theme switcher, a drop-down list that makes the
// chosen theme current at once and follows the current theme.

#include <vector>

#include "skin/controls/te_controls_combo.h"
#include "skin/controls/te_controls_group.h"
#include "skin/core/te_engine.h"
#include "skin/core/te_engine_preview.h"
#include "skin/extctrls/te_extctrls_trackbar.h"
#include "skin/extras/te_dialogs_base.h"
#include "skin/extras/te_dialogs_open.h"

namespace tarvel {

// The built-in theme classes a user chooses by name, in registration order.
std::vector<TteThemeClass> NamedThemeClasses();

class TTeSelectThemePanel : public TTeDialogPanel {
    TARVEL_CLASS(TTeSelectThemePanel, TTeDialogPanel)

public:
    explicit TTeSelectThemePanel(TComponent* owner);

    TTeOrvanta* Orvanta() const { return orvanta_; }
    // The preview starts from the engine's theme; the list is rebuilt.
    void SetOrvanta(TTeOrvanta* value);
    // Hands the previewed choice and shifts to the engine.
    void Apply();
    void BuildThemeList();

    TTeThemeLink* PreviewLink() const { return previewLink_; }
    TTeComboBox* ThemeBox() const { return themeList_; }
    TTeTrackBar* HueTrack() const { return hueTrack_; }
    TTeTrackBar* BrightnessTrack() const { return brighTrack_; }

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    // What an entry of the theme box after the first stands for.
    struct TEntry {
        TteThemeClass cls = nullptr;  // a built-in theme, or
        int listIndex = -1;           // a theme of the link's theme list
    };

    void ThemeListChange(TObject*);

    TTeOrvanta* orvanta_ = nullptr;
    std::vector<TEntry> entries_;
    bool updating_ = false;
    TTeThemeLink* previewLink_ = nullptr;
    TTeThemePreview* preview_ = nullptr;
    TTeComboBox* themeList_ = nullptr;
    TTeTrackBar* hueTrack_ = nullptr;
    TTeTrackBar* brighTrack_ = nullptr;
};

class TTeSelectThemeDialog : public TTeCustomDialog {
    TARVEL_CLASS(TTeSelectThemeDialog, TTeCustomDialog)

public:
    explicit TTeSelectThemeDialog(TComponent* owner) : TTeCustomDialog(owner) {}

    TTeOrvanta* Orvanta = nullptr;
    TTeSelectThemePanel* Panel() const { return panel_; }

protected:
    void CreateControls() override;
    void EndDialog() override;

private:
    TTeSelectThemePanel* panel_ = nullptr;
};

// The open panel for theme files, with a preview of the file under the
// selection.
class TTeOpenThemePanel : public TTeOpenPanel {
    TARVEL_CLASS(TTeOpenThemePanel, TTeOpenPanel)

public:
    explicit TTeOpenThemePanel(TComponent* owner);

    TTeLabel* ThemePreviewLabel = nullptr;
    TTePanel* teThemePreviewPanel = nullptr;
    TTeThemePreview* teThemePreview = nullptr;
    TTeThemeLink* teThemePreviewLink = nullptr;

protected:
    // A file that holds no theme leaves the preview as it was.
    void FileSelected(const String& path) override;
};

// The open dialog for theme files.
class TTeOpenThemeDialog : public TTeOpenDialog {
    TARVEL_CLASS(TTeOpenThemeDialog, TTeOpenDialog)

public:
    explicit TTeOpenThemeDialog(TComponent* owner);

protected:
    TTeOpenPanel* CreatePanel() override;
    int MinimumWidth() const override { return 450; }
};

class TTeThemeSwitcher : public TTeComboBox {
    TARVEL_CLASS(TTeThemeSwitcher, TTeComboBox)

public:
    explicit TTeThemeSwitcher(TComponent* owner);
    ~TTeThemeSwitcher() override;

    bool ShowNoTheme = true;
    WideString TextNoTheme;
    bool ShowBrowse = true;
    WideString TextBrowse;
    bool ShowSeparator = false;
    String InitialDir;
    TTeOrvanta* Orvanta() const { return orvanta_; }
    void SetOrvanta(TTeOrvanta* value);
    TNotifyEvent OnChangeTheme;

    void BuildThemeList();
    // Selects the entry of the current theme.
    void CorrectItemIndex();
    // The last browsed theme file while the browse entry is selected.
    String GetThemeFileName() const;

    void SetParent(TWinControl* parent) override;

protected:
    void Loaded() override;
    void Notification(TComponent* component, TOperation operation) override;
    void WndProc(TMessage& m) override;
    // Asks the user for a theme file; false when cancelled.
    virtual bool BrowseThemeFile(String& fileName);

private:
    struct TEntry {
        TteThemeClass cls = nullptr;  // a built-in theme
        String listName;              // or the name of themes in the engine's list
    };

    void AddEntry(const WideString& text, TEntry entry);
    void AddEntry(const WideString& text) { AddEntry(text, TEntry{nullptr, String()}); }
    void DoDrawItem(TTeListBox* list, TCanvas& canvas, int index, TRect rect, TOwnerDrawState state);
    void DoAllowChange(TObject*, int index, const WideString& text, bool& allow);
    void DoListBoxClick(TObject*) override;
    void ChooseEntry(int index);
    bool IsBrowseEntry(int index) const;
    void ThemeChanged();

    TTeOrvanta* orvanta_ = nullptr;
    std::vector<TEntry> entries_;
    String themeFile_;
    bool busy_ = false;
};

}  // namespace tarvel
