#pragma once
// The namespace the explorer-like views browse: the file system alone. An
// item is named by its ID list, the names of the folders leading to it from
// "/" and its own name last; the empty list is "/" itself, the top of the
// namespace. What an item is comes from stat, its display name is its file
// name. Nothing here changes the process's current folder.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "platform/base/DateTime.h"

namespace tarvel {

using TIdList = std::vector<std::string>;

// ---- ID lists -----------------------------------------------------------------------------

// "/" for the empty list.
std::string IdListPath(const TIdList& list);
// An absolute path of an existing item, normalised, as its ID list; false
// for a relative path or an item that is not there.
bool ParseShellPath(std::string_view path, TIdList& list);
// The list without its first item (empty stays empty).
TIdList NextIdItem(const TIdList& list);
// The list without its last item (empty stays empty).
void StripLastIdItem(TIdList& list);
TIdList ConcatIdLists(const TIdList& a, const TIdList& b);
// The last item alone: a relative list from an absolute one.
TIdList LastIdItemCopy(const TIdList& list);
// Every ancestor from the top down to the parent: for a/b/c the lists
// (), (a), (a b).
std::vector<TIdList> AncestorIdLists(const TIdList& list);

// ---- items ----------------------------------------------------------------------------------

struct TShellItemInfo {
    bool folder = false;      // a directory, or a link to one
    bool link = false;        // a symbolic link
    bool executable = false;  // a file its owner may run
    bool readOnly = false;    // we may not write it
    bool hidden = false;      // the name starts with '.'
    uint64_t size = 0;        // a file's bytes
    TDateTime modified = 0;   // local time, and so are the two below
    TDateTime accessed = 0;
    TDateTime changed = 0;  // the last change of its status (owner, permissions, links)
    std::string owner;      // user and group names, or their numbers when unnamed
    std::string group;
    std::string permissions;  // "rwxr-xr-x": owner, group, others
};

// stat of the item (following a link, whose own nature is kept in `link`);
// false when it is not there.
bool ShellItemInfo(const TIdList& item, TShellItemInfo& info);

// What a folder's enumeration returns.
enum TShellEnumFlag : unsigned {
    sefFolders = 1,
    sefNonFolders = 2,
    sefHidden = 4,
};

// The names of `folder`'s entries the flags ask for, unsorted; false when
// the folder cannot be read.
bool EnumShellItems(const TIdList& folder, unsigned flags, std::vector<std::string>& names);
// Whether the enumeration would return anything.
bool FolderHasObjects(const TIdList& folder, unsigned flags);
// Whether `folder` holds a folder the flags let through.
bool FolderHasSubFolders(const TIdList& folder, unsigned flags);

// The order of two entries of `folder`: folders first, then names without
// letter case, then by bytes. <0, 0 or >0.
int CompareShellItems(const TIdList& folder, const std::string& a, const std::string& b);

// ---- acting on items ----------------------------------------------------------------------

// Gives the item a new name in its folder. Refused (false, `error` says why)
// for an empty name, one with "/", "." or "..", and a name that is taken:
// nothing is ever overwritten.
bool RenameShellItem(const TIdList& item, const std::string& newName, std::string& error);

// The user's trash folder ($XDG_DATA_HOME/Trash, else ~/.local/share/Trash).
std::string TrashFolder();
// Moves the item to the trash folder with its trash-info record. Refused
// when the trash folder does not exist or lies on another file system.
bool TrashShellItem(const TIdList& item, std::string& error);

// Opens the item with the desktop's opener (`opener` with the item's path as
// its one argument) in a normal window, started in the item's folder; the
// opener runs on by itself. False (and `error`) when it cannot be started.
bool OpenShellItem(const TIdList& item, std::string& error, const std::string& opener = "xdg-open");

}  // namespace tarvel
