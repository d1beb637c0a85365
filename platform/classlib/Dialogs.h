#pragma once
// Open and save dialogs. They go through the dialog service; the standard
// one shows a form with a folder list, a file list, a name edit and a filter
// list over the real file system, and never changes the current folder.

#include <vector>

#include "platform/classlib/Boxes.h"

namespace tarvel {

class TOpenDialog : public TComponent {
    TARVEL_CLASS(TOpenDialog, TComponent)

public:
    explicit TOpenDialog(TComponent* owner) : TComponent(owner) {}

    // True with FileName (a full path) set when the user chose a file. A
    // name without extension gets DefaultExt; with ofFileMustExist a missing
    // file is refused with a box and the dialog asked again.
    virtual bool Execute();

    String Title;
    String Filter;  // "Description|*.ext;*.ext2|..."
    int FilterIndex = 1;
    String DefaultExt;
    String InitialDir;
    // Kept between uses: the last chosen file is proposed next time.
    String FileName;
    TOpenOptions Options{ofHideReadOnly, ofEnableSizing};

protected:
    bool IsSave() const { return save_; }
    // Asked of the chosen path before it is accepted; false asks again.
    virtual bool Accept(const String& path);
    bool save_ = false;
};

class TSaveDialog : public TOpenDialog {
    TARVEL_CLASS(TSaveDialog, TOpenDialog)

public:
    explicit TSaveDialog(TComponent* owner) : TOpenDialog(owner) { save_ = true; }

protected:
    // An existing file is replaced only after a Yes to the overwrite question,
    // whatever the options say.
    bool Accept(const String& path) override;
};

// The masks of the filter's entry `index` (1-based; out of range: the first).
std::vector<String> FilterMasks(const String& filter, int index);
// The descriptions of the filter's entries.
std::vector<String> FilterDescriptions(const String& filter);
// True when the file name matches one of the masks ("*" and "?", any case).
bool MatchesMasks(const String& fileName, const std::vector<String>& masks);

}  // namespace tarvel
