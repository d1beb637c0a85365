#pragma once
// File-system boxes drawn by the library: the drive box (Linux has one
// drive, "/"), the directory list (the levels of the current folder and its
// sub-folders), the file list (the entries matching masks and attributes),
// the filter box feeding a file list, and the path label. Linked together
// they form a file chooser. Each box keeps its own folder and resolves
// relative paths against it; none changes the process's current folder.

#include <memory>
#include <vector>

#include "platform/base/Exceptions.h"
#include "platform/classlib/Sets.h"
#include "platform/classlib/StdCtrls.h"
#include "skin/extras/te_dialogs_file.h"
#include "skin/extras/te_extended_controls.h"

namespace tarvel {

class TTeDirectoryListBox;
class TTeFileListBox;

// A folder that cannot be shown.
class ETeFolderError : public Exception {
public:
    using Exception::Exception;
};

// A named file that does not exist.
class ETeDirectoryFileNotExistsException : public Exception {
public:
    using Exception::Exception;
};

enum TFileAttr { ftReadOnly, ftHidden, ftSystem, ftVolumeID, ftDirectory, ftArchive, ftNormal };
using TFileType = TSet<TFileAttr>;
enum TTextCase { tcLowerCase, tcUpperCase };

// An entry as a file list or file combo shows it: a folder's name in
// brackets, a file's as it is.
enum class TTeListedKind : uint8_t { Folder, Executable, File };
struct TTeListedFile {
    String text;
    TTeListedKind kind;
};
// The entries of `folder` that the masks of `mask` (split at ';') and the
// attributes of `type` take, sorted by name in any case; with ftDirectory
// the folder itself and its parent come as "[.]" and "[..]".
std::vector<TTeListedFile> ListFiles(const String& folder, const String& mask, TFileType type);

// What a path typed into a file list asks, resolved against `directory`:
// the folder to show and either a mask (the name holds '*' or '?') or a
// file to select. A named file that does not exist raises
// ETeDirectoryFileNotExistsException.
struct TTeFilePath {
    String folder;
    String mask;
    String file;
};
TTeFilePath SplitFilePath(const String& directory, const String& text);

// What a file list or file combo shows: its folder, masks and attributes,
// and the kind of each entry it read, with the kinds' glyphs.
class TTeFileListing {
public:
    TTeFileListing();
    ~TTeFileListing();

    String directory;
    String mask = "*.*";
    TFileType fileType{ftNormal};

    // The folder `path` names, relative to `directory`; raises ETeFolderError
    // for one that does not exist.
    String FolderOf(const String& path) const;
    // Fills `items` with the entries of the folder.
    void Read(TStrings& items);
    // The glyph of an item's kind, null out of range.
    TBitmap* Glyph(int index) const;
    TBitmap* ExecutableGlyph() const { return executable_.get(); }

private:
    std::vector<TTeListedKind> kinds_;
    std::unique_ptr<TBitmap> folder_, executable_, file_;
};

// A label that shortens the path it shows to its width.
class TTePathLabel : public TLabel {
    TARVEL_CLASS(TTePathLabel, TLabel)

public:
    explicit TTePathLabel(TComponent* owner);
    // The caption as it is painted.
    String ShownText();

protected:
    void Paint() override;
};

class TTeDriveComboBox : public TTeExtraComboBox {
    TARVEL_CLASS(TTeDriveComboBox, TTeExtraComboBox)

public:
    explicit TTeDriveComboBox(TComponent* owner);
    ~TTeDriveComboBox() override;

    // The drive's root; the only one is "/".
    String Drive() const { return "/"; }
    TTextCase TextCase() const { return textCase_; }
    void SetTextCase(TTextCase value) { textCase_ = value; }
    TTeDirectoryListBox* DirList() const { return dirList_; }
    void SetDirList(TTeDirectoryListBox* value);
    void BuildList();

protected:
    void Notification(TComponent* component, TOperation operation) override;

private:
    std::unique_ptr<TBitmap> glyph_;
    TTeDirectoryListBox* dirList_ = nullptr;
    TTextCase textCase_ = tcLowerCase;
};

// The drive box under its other name; with one drive and one picture it is
// the same box.
class TTeDriveCombo : public TTeDriveComboBox {
    TARVEL_CLASS(TTeDriveCombo, TTeDriveComboBox)

public:
    using TTeDriveComboBox::TTeDriveComboBox;
};

class TTeDirectoryListBox : public TTeExtraListBox {
    TARVEL_CLASS(TTeDirectoryListBox, TTeExtraListBox)

public:
    explicit TTeDirectoryListBox(TComponent* owner);
    ~TTeDirectoryListBox() override;

    const String& Directory() const { return directory_; }
    // A relative path resolves against the folder shown; a folder that does
    // not exist is refused (false) and nothing changes.
    bool SetDirectory(const String& path);
    String Drive() const { return "/"; }
    TTePathLabel* DirLabel() const { return dirLabel_; }
    void SetDirLabel(TTePathLabel* value);
    TTeFileListBox* FileList() const { return fileList_; }
    void SetFileList(TTeFileListBox* value);

    // The folder an item stands for.
    String ItemPath(int index) const;
    // The indent of an item's glyph in pixels.
    int ItemIndent(int index) const;
    // How many items are levels of the path (the rest are sub-folders).
    int PathItemCount() const { return pathItems_; }
    // Goes into the selected item's folder (double click, Enter).
    void OpenCurrent();

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void DblClick() override;
    void KeyDown(WORD& key, TShiftState shift) override;
    virtual void Change();
    // The open, closed and current folder glyphs.
    virtual void ReadBitmaps();
    std::unique_ptr<TBitmap> open_, closed_, current_;

private:
    void BuildList();
    void DrawFolder(TCanvas& canvas, int index, TRect rect);

    String directory_;
    std::vector<String> levels_;  // the path items' folders
    int pathItems_ = 0;
    TTePathLabel* dirLabel_ = nullptr;
    TTeFileListBox* fileList_ = nullptr;
};

// The directory list with the glyphs a folder view of the desktop uses:
// open folders for the path, closed ones for the sub-folders, 16 x 16.
class TTeFolderListbox : public TTeDirectoryListBox {
    TARVEL_CLASS(TTeFolderListbox, TTeDirectoryListBox)

public:
    explicit TTeFolderListbox(TComponent* owner);

protected:
    void ReadBitmaps() override;
};

class TTeFileListBox : public TTeExtraListBox {
    TARVEL_CLASS(TTeFileListBox, TTeExtraListBox)

public:
    explicit TTeFileListBox(TComponent* owner);
    ~TTeFileListBox() override;

    const String& Directory() const { return listing_.directory; }
    // Raises ETeFolderError for a folder that does not exist.
    void SetDirectory(const String& path);
    const String& Mask() const { return listing_.mask; }
    void SetMask(const String& value);
    TFileType FileType() const { return listing_.fileType; }
    void SetFileType(TFileType value);
    bool ShowGlyphs() const { return showGlyphs_; }
    void SetShowGlyphs(bool value);
    TTeEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(TTeEdit* value);

    // The selected item's text (a folder's in brackets), or "".
    String SelectedName() const;
    // Directory and the selected name joined; "" without a selection.
    String FileName() const;
    // A mask, a folder or a file, relative to Directory or absolute: a mask
    // becomes Mask, a folder Directory, a file is selected (the mask turns
    // to its name when it hides it). A missing file raises
    // ETeDirectoryFileNotExistsException.
    void SetFileName(const String& text);
    // Selects the item of that text (any case), or none.
    void SelectName(const String& name);

    TNotifyEvent OnChange;

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Click() override;
    virtual void Change();

private:
    friend class TTeFilterComboBox;
    void ReadFileNames();
    void DrawFile(TCanvas& canvas, int index, TRect rect);

    TTeFileListing listing_;
    bool showGlyphs_ = false;
    TTeEdit* fileEdit_ = nullptr;
    int lastIndex_ = -1;
};

// A drop-down list of the files of a folder, each with its glyph.
class TTeFileCombo : public TTeExtraComboBox {
    TARVEL_CLASS(TTeFileCombo, TTeExtraComboBox)

public:
    explicit TTeFileCombo(TComponent* owner);
    ~TTeFileCombo() override;

    const String& Directory() const { return listing_.directory; }
    // Raises ETeFolderError for a folder that does not exist.
    void SetDirectory(const String& path);
    const String& Mask() const { return listing_.mask; }
    void SetMask(const String& value);
    TFileType FileType() const { return listing_.fileType; }
    void SetFileType(TFileType value);
    TTeEdit* FileEdit() const { return fileEdit_; }
    void SetFileEdit(TTeEdit* value);

    // The selected item's text, or "".
    String FileName() const;
    // Selects the item of that name (any case), or none.
    void SetFileName(const String& name);
    // Directory and the selected name joined; "" without a selection.
    String GetFilePath() const;
    // As a file list's SetFileName: a mask, a folder or a file.
    void SetFilePath(const String& text);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Change() override;

private:
    void ReadFileNames();
    void DrawFile(TCanvas& canvas, int index, TRect rect);

    TTeFileListing listing_;
    TTeEdit* fileEdit_ = nullptr;
    int lastIndex_ = -1;
};

class TTeFilterComboBox : public TTeExtraComboBox {
    TARVEL_CLASS(TTeFilterComboBox, TTeExtraComboBox)

public:
    explicit TTeFilterComboBox(TComponent* owner);

    const String& Filter() const { return filter_; }
    void SetFilter(const String& value);
    // The selected entry's masks as written; "*.*" without entries.
    String Mask();
    TTeFileListBox* FileList() const { return fileList_; }
    void SetFileList(TTeFileListBox* value);

protected:
    void Notification(TComponent* component, TOperation operation) override;
    void Change() override;

private:
    void BuildList();

    String filter_ = "All files (*.*)|*.*";
    std::vector<TTeFileType> types_;
    TTeFileListBox* fileList_ = nullptr;
};

}  // namespace tarvel
