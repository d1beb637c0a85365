#pragma once
// The common ground of the explorer-like views: one namespace item with its
// ID lists and detail columns, the named roots, the small images by kind,
// the item's context menu with its verbs, and the change notifier. The
// namespace is the file system (platform/system/ShellNamespace.h).

#include <memory>
#include <vector>

#include "platform/classlib/Components.h"
#include "platform/classlib/Controls.h"
#include "platform/classlib/ImageLists.h"
#include "platform/classlib/Sets.h"
#include "platform/system/ShellChangeWatch.h"
#include "platform/system/ShellNamespace.h"

namespace tarvel {

class EInvalidPath : public Exception {
public:
    using Exception::Exception;
};

enum TTeShellObjectType { otFolders, otNonFolders, otHidden };
using TTeShellObjectTypes = TSet<TTeShellObjectType>;
unsigned ObjectTypesToEnumFlags(TTeShellObjectTypes types);

enum TTeShellFolderCapability {
    fcCanCopy,
    fcCanDelete,
    fcCanLink,
    fcCanMove,
    fcCanRename,
    fcDropTarget,
    fcHasPropSheet
};
using TTeShellFolderCapabilities = TSet<TTeShellFolderCapability>;
enum TTeShellFolderProperty {
    fpCut,
    fpIsLink,
    fpReadOnly,
    fpShared,
    fpFileSystem,
    fpFileSystemAncestor,
    fpRemovable,
    fpValidate
};
using TTeShellFolderProperties = TSet<TTeShellFolderProperty>;

// A root text: one of the names below or a path.
using TTeRoot = String;
enum TTeRootFolder {
    rfDesktop,
    rfMyComputer,
    rfNetwork,
    rfRecycleBin,
    rfAppData,
    rfCommonDesktopDirectory,
    rfCommonPrograms,
    rfCommonStartMenu,
    rfCommonStartup,
    rfControlPanel,
    rfDesktopDirectory,
    rfFavorites,
    rfFonts,
    rfInternet,
    rfPersonal,
    rfPrinters,
    rfPrintHood,
    rfPrograms,
    rfRecent,
    rfSendTo,
    rfStartMenu,
    rfStartup,
    rfTemplates
};

// The folder a root text stands for: the four names this system has
// ("rfDesktop" the top "/", "rfMyComputer" the home folder,
// "rfDesktopDirectory" and "rfPersonal" the session's desktop and documents
// folders) or an absolute path of an existing folder. Throws EInvalidPath
// for any other text.
TIdList RootIdList(const String& text);

// The caption of the entry below the desktop that holds the mounted file systems.
inline constexpr const char* kMyComputerCaption = "My Computer";

// The desktop's opener the Open verb starts (tests give their own).
extern String ShellOpenCommand;
// The mount table whose file systems My Computer lists (tests give their own).
extern String ShellMountTable;

// Images of the built-in small image list, by kind.
enum TShellImage { siFolder, siFolderOpen, siFile, siLink, siExecutable };
// The process-wide list (16 x 16), made on first use.
TCustomImageList* ShellSmallImages();

// Verbs a view may take over from the context menu (asked for with
// dynamic_cast: a control need not have them).
class IShellCommandVerb {
public:
    virtual ~IShellCommandVerb() = default;
    virtual void ExecuteCommand(const String& verb, bool& handled) = 0;
    virtual void CommandCompleted(const String& verb, bool succeeded) = 0;
};

class TTeShellFolder;
// The item of "/", made on first use.
TTeShellFolder* DesktopShellFolder();

// One namespace item.
class TTeShellFolder : public TObject {
    TARVEL_CLASS(TTeShellFolder, TObject)

public:
    // Below `parent` (the desktop item when null), named by `relative`.
    TTeShellFolder(TTeShellFolder* parent, const TIdList& relative);
    // Another entry, below `parent`, for the folder at `absolute`, under a
    // name of its own: My Computer ("/") and the mounted file systems below it.
    TTeShellFolder(TTeShellFolder* parent, const TIdList& absolute, const String& displayName);
    ~TTeShellFolder() override;

    // An entry made under a name of its own; the folder has an ordinary one too.
    bool IsAlias() const { return !alias_.empty(); }

    // The desktop item for an item made without a parent.
    TTeShellFolder* ParentFolder() const {
        return parent_ ? parent_ : this == DesktopShellFolder() ? nullptr : DesktopShellFolder();
    }
    const TIdList& RelativeIdList() const { return relative_; }
    const TIdList& AbsoluteIdList() const { return absolute_; }
    // Ancestors above the parent given at creation (0 right below the desktop).
    int AncestorCount() const { return ancestorCount_; }

    TTeShellFolderProperties Properties() const;
    TTeShellFolderCapabilities Capabilities() const;
    bool IsFolder() const;
    // Holds a folder the object types let through.
    bool SubFolders(TTeShellObjectTypes types = TTeShellObjectTypes{otFolders}) const;
    // The item's path.
    String PathName() const { return IdListPath(absolute_); }
    // The file name ("/" for the top).
    String DisplayName() const;
    int ImageIndex(bool open = false) const;
    // Opens the item with the desktop's opener; throws with the reason when
    // it cannot be started.
    void ExecuteDefault() const;
    // Throws "Rename to %s failed" when refused; false without fcCanRename.
    bool Rename(const String& newName);

    // Fills the columns 1..count (Size, Type, Modified, attributes) once.
    void LoadColumnDetails(TTeShellFolder* root, int columnCount);
    String GetDetails(int column) const;
    void SetDetails(int column, const String& text);
    const std::vector<String>& Details() const { return details_; }

private:
    TTeShellFolder* parent_;
    TIdList relative_, absolute_;
    int ancestorCount_ = 0;
    String alias_;
    bool detailsLoaded_ = false;
    std::vector<String> details_;
};

TTeShellFolder* CreateRootFromIdList(const TIdList& list);
// A new root item for `newText` (the old one freed). A text that names no
// folder sets `newText` back to `oldText` and throws "Error setting path".
TTeShellFolder* CreateRootFolder(TTeShellFolder* oldRoot, const String& oldText, String& newText);

// The item's menu (Open, Rename, Delete) at a client point of `owner`; runs
// the verb chosen, asking the owner first when it takes verbs. Delete asks
// before moving the item to the trash. Errors show in a box.
void InvokeContextMenu(TWinControl* owner, TTeShellFolder* item, int x, int y);
// Runs one verb ("open", "rename", "delete") on the item; whether it was done.
bool InvokeItemVerb(TWinControl* owner, TTeShellFolder* item, const String& verb);

// ---- change notifier ------------------------------------------------------------------------

enum TNotifyFilter {
    nfFileNameChange,
    nfDirNameChange,
    nfAttributeChange,
    nfSizeChange,
    nfWriteChange,
    nfSecurityChange
};
using TNotifyFilters = TSet<TNotifyFilter>;
using TThreadMethod = std::function<void()>;

// Tells its owner on the GUI thread when something changes in a folder; the
// watching thread runs only while OnChange is assigned.
class TTeCustomShellChangeNotifier : public TComponent {
    TARVEL_CLASS(TTeCustomShellChangeNotifier, TComponent)

public:
    explicit TTeCustomShellChangeNotifier(TComponent* owner);
    ~TTeCustomShellChangeNotifier() override;

    const TTeRoot& Root() const { return root_; }
    void SetRoot(const TTeRoot& value);
    bool WatchSubTree() const { return watchSubTree_; }
    void SetWatchSubTree(bool value);
    TNotifyFilters NotifyFilters() const { return filters_; }
    void SetNotifyFilters(TNotifyFilters value);
    const TThreadMethod& OnChange() const { return onChange_; }
    void SetOnChange(TThreadMethod value);
    // Whether the watching thread runs.
    bool Started() const { return watch_ != nullptr; }
    // Whether the root is being watched now (for tests).
    bool Watching() const { return watch_ && watch_->Watching(); }

protected:
    void Start();
    void Change();

private:
    TTeRoot root_ = "/";
    bool watchSubTree_ = true;
    TNotifyFilters filters_{nfFileNameChange, nfDirNameChange};
    TThreadMethod onChange_;
    std::unique_ptr<TShellChangeWatch> watch_;
};

class TTeShellChangeNotifier : public TTeCustomShellChangeNotifier {
    TARVEL_CLASS(TTeShellChangeNotifier, TTeCustomShellChangeNotifier)

public:
    using TTeCustomShellChangeNotifier::TTeCustomShellChangeNotifier;
};

}  // namespace tarvel
