#pragma once
// The open, save and picture dialog components: each Execute puts an open
// or save panel in the dialog base's form and reads the choice back. Each
// component remembers, under its Name in the user's registry, the folder
// and the file type last accepted, and keeps the form's place and size for
// its next run.

#include <memory>

#include "skin/extras/te_dialogs_base.h"
#include "skin/extras/te_dialogs_file_panel.h"

namespace tarvel {

// Where the file dialogs keep their folders and file types, below
// HKEY_CURRENT_USER.
extern const char* const kDialogsRegistryKey;

class TTeOpenDialog : public TTeCustomDialog {
    TARVEL_CLASS(TTeOpenDialog, TTeCustomDialog)

public:
    explicit TTeOpenDialog(TComponent* owner);
    ~TTeOpenDialog() override;

    // In: a proposed file, whose folder the dialog opens in; out: the choice.
    String FileName;
    String DefaultExt;
    String Filter;
    int FilterIndex() const { return filterIndex_; }
    // Beats the registry's file type for the next Execute.
    void SetFilterIndex(int value);
    // The first folder when neither FileName nor a remembered folder gives one.
    String InitialDir;
    TOpenOptions Options;
    // The form's caption; empty gives "Open" or "Save".
    String Title;
    // Every chosen path (exactly one for the save dialogs).
    TStrings* Files() const { return files_.get(); }
    TStrings* HistoryList() const { return history_.get(); }
    void SetHistoryList(TStrings* value) { history_->Assign(value); }
    // The folder of the last accepted run (or the registry's), "" before any.
    const String& RememberedFolder() const { return folder_; }

    TCloseQueryEvent OnCanClose;
    TNotifyEvent OnTypeChange;
    TNotifyEvent OnFolderChange;     // kept only
    TNotifyEvent OnSelectionChange;  // kept only
    TTeIncludeItemEvent OnIncludeItem;

    // The panel of the running Execute, else null.
    TTeOpenPanel* Panel() const { return panel_; }

protected:
    void CreateControls() override;
    void EndDialog() override;
    void SaveState() override;
    // The panel, owned by the form.
    virtual TTeOpenPanel* CreatePanel();
    virtual bool Saving() const { return false; }
    // The form's smallest width.
    virtual int MinimumWidth() const { return 300; }

private:
    // The folder the panel starts in; "" leaves it to FileName or the
    // current folder.
    String FirstFolder();
    String RegistryFilterName() const { return Name() + "Filter"; }

    int filterIndex_ = 1;
    bool filterIndexSet_ = false;
    String folder_;
    std::unique_ptr<TStringList> files_;
    std::unique_ptr<TStringList> history_;
    TTeOpenPanel* panel_ = nullptr;
};

// The panel's name, completed with the type's or the default extension, is
// the answer; the overwrite question was asked for that completed name.
class TTeSaveDialog : public TTeOpenDialog {
    TARVEL_CLASS(TTeSaveDialog, TTeOpenDialog)

public:
    explicit TTeSaveDialog(TComponent* owner) : TTeOpenDialog(owner) {}

protected:
    TTeOpenPanel* CreatePanel() override;
    bool Saving() const override { return true; }
};

// The picture dialogs show the graphic filter and a preview.
class TTeOpenPictureDialog : public TTeOpenDialog {
    TARVEL_CLASS(TTeOpenPictureDialog, TTeOpenDialog)

public:
    explicit TTeOpenPictureDialog(TComponent* owner);

protected:
    TTeOpenPanel* CreatePanel() override;
    int MinimumWidth() const override { return 450; }
};

class TTeSavePictureDialog : public TTeSaveDialog {
    TARVEL_CLASS(TTeSavePictureDialog, TTeSaveDialog)

public:
    explicit TTeSavePictureDialog(TComponent* owner);

protected:
    TTeOpenPanel* CreatePanel() override;
    int MinimumWidth() const override { return 450; }
};

}  // namespace tarvel
