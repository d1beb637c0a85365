#include "skin/extctrls/te_extctrls_shell.h"

#include <array>

#include "platform/base/Folders.h"
#include "platform/base/Strings.h"
#include "platform/classlib/Application.h"
#include "platform/classlib/DialogService.h"
#include "platform/classlib/Graphics.h"
#include "platform/system/UserFolders.h"
#include "platform/winsys/GuiTasks.h"
#include "skin/extctrls/te_extctrls_shellprops.h"
#include "skin/forms/te_forms_popupmenu.h"

namespace tarvel {

String ShellOpenCommand = "xdg-open";
String ShellMountTable = "/proc/self/mountinfo";

unsigned ObjectTypesToEnumFlags(TTeShellObjectTypes types) {
    unsigned flags = 0;
    if (types.Contains(otFolders)) flags |= sefFolders;
    if (types.Contains(otNonFolders)) flags |= sefNonFolders;
    if (types.Contains(otHidden)) flags |= sefHidden;
    return flags;
}

// ---- roots ----------------------------------------------------------------------------------

namespace {

constexpr std::array<const char*, 23> kRootNames = {
    "rfDesktop",        "rfMyComputer",       "rfNetwork",
    "rfRecycleBin",     "rfAppData",          "rfCommonDesktopDirectory",
    "rfCommonPrograms", "rfCommonStartMenu",  "rfCommonStartup",
    "rfControlPanel",   "rfDesktopDirectory", "rfFavorites",
    "rfFonts",          "rfInternet",         "rfPersonal",
    "rfPrinters",       "rfPrintHood",        "rfPrograms",
    "rfRecent",         "rfSendTo",           "rfStartMenu",
    "rfStartup",        "rfTemplates"};

int RootNameIndex(const String& text) {
    for (size_t i = 0; i < kRootNames.size(); ++i)
        if (SameText(text, kRootNames[i])) return static_cast<int>(i);
    return -1;
}

}  // namespace

TIdList RootIdList(const String& text) {
    const int named = RootNameIndex(text);
    std::string path;
    switch (named) {
        case -1: path = text; break;
        case rfDesktop: path = "/"; break;
        case rfMyComputer: path = UserFolder(TUserFolder::Home); break;
        case rfDesktopDirectory: path = UserFolder(TUserFolder::Desktop); break;
        case rfPersonal: path = UserFolder(TUserFolder::Documents); break;
        default: throw EInvalidPath("Error setting path: \"" + text + "\" names no folder on this system");
    }
    TIdList list;
    TShellItemInfo info;
    if (path.empty() || !ParseShellPath(path, list) || !ShellItemInfo(list, info) || !info.folder)
        throw EInvalidPath("Error setting path");
    return list;
}

// ---- images ---------------------------------------------------------------------------------

namespace {

constexpr TColor kKey = clFuchsia;

void DrawShellImage(TCanvas* c, int kind) {
    c->Brush()->SetColor(kKey);
    c->FillRect(TRect{0, 0, 16, 16});
    c->Pen()->SetColor(TColor(0x404040));
    auto page = [&](TColor fill) {
        c->Brush()->SetColor(fill);
        c->Polygon(std::array<TPoint, 5>{TPoint{3, 1}, {10, 1}, {13, 4}, {13, 14}, {3, 14}});
        c->MoveTo(10, 1);
        c->LineTo(10, 4);
        c->LineTo(13, 4);
    };
    switch (kind) {
        case siFolder:
        case siFolderOpen:
            c->Brush()->SetColor(TColor(0x30B8E8));
            c->Polygon(std::array<TPoint, 6>{TPoint{1, 3}, {6, 3}, {7, 5}, {14, 5}, {14, 13}, {1, 13}});
            if (kind == siFolderOpen) {
                c->Brush()->SetColor(TColor(0x80E0FF));
                c->Polygon(std::array<TPoint, 4>{TPoint{3, 7}, {15, 7}, {13, 13}, {1, 13}});
            }
            break;
        case siFile: page(clWhite); break;
        case siLink:
            page(clWhite);
            c->Pen()->SetColor(TColor(0xC05000));
            c->MoveTo(5, 12);
            c->LineTo(10, 7);
            c->MoveTo(7, 7);
            c->LineTo(10, 7);
            c->LineTo(10, 10);
            break;
        case siExecutable:
            c->Brush()->SetColor(TColor(0xE0E0E0));
            c->Rectangle(TRect{1, 2, 15, 14});
            c->Brush()->SetColor(TColor(0xA04010));
            c->FillRect(TRect{2, 3, 14, 5});
            break;
    }
}

}  // namespace

TCustomImageList* ShellSmallImages() {
    static std::unique_ptr<TImageList> images;
    if (!images) {
        images = std::make_unique<TImageList>(nullptr);
        images->SetSize(16, 16);
        for (int kind = siFolder; kind <= siExecutable; ++kind) {
            TBitmap glyph;
            glyph.SetSize(16, 16);
            DrawShellImage(glyph.Canvas(), kind);
            images->AddMasked(&glyph, kKey);
        }
    }
    return images.get();
}

// ---- items ----------------------------------------------------------------------------------

TTeShellFolder::TTeShellFolder(TTeShellFolder* parent, const TIdList& relative)
    : parent_(parent), relative_(relative) {
    absolute_ = parent_ ? ConcatIdLists(parent_->absolute_, relative_) : relative_;
    if (parent)
        for (TTeShellFolder* p = parent->ParentFolder(); p; p = p->ParentFolder()) ++ancestorCount_;
}

TTeShellFolder::TTeShellFolder(TTeShellFolder* parent, const TIdList& absolute, const String& displayName)
    : parent_(parent), relative_(LastIdItemCopy(absolute)), absolute_(absolute), alias_(displayName) {
    if (parent)
        for (TTeShellFolder* p = parent->ParentFolder(); p; p = p->ParentFolder()) ++ancestorCount_;
}

TTeShellFolder::~TTeShellFolder() = default;

TTeShellFolderProperties TTeShellFolder::Properties() const {
    TTeShellFolderProperties out;
    TShellItemInfo info;
    if (!ShellItemInfo(absolute_, info)) return out;
    out.Include(fpFileSystem);
    if (info.folder) out.Include(fpFileSystemAncestor);
    if (info.link) out.Include(fpIsLink);
    if (info.readOnly) out.Include(fpReadOnly);
    if (info.hidden) out.Include(fpCut);  // hidden items show ghosted
    return out;
}

TTeShellFolderCapabilities TTeShellFolder::Capabilities() const {
    TTeShellFolderCapabilities out;
    TShellItemInfo info;
    // My Computer and a mount point are no items to rename or throw away.
    if (IsAlias() || absolute_.empty() || !ShellItemInfo(absolute_, info)) return out;
    out.Include(fcCanCopy);
    // Renaming and deleting write the folder the item is in.
    TShellItemInfo folder;
    TIdList parent = absolute_;
    StripLastIdItem(parent);
    if (ShellItemInfo(parent, folder) && !folder.readOnly) {
        out.Include(fcCanRename);
        out.Include(fcCanDelete);
        out.Include(fcCanMove);
    }
    return out;
}

bool TTeShellFolder::IsFolder() const {
    TShellItemInfo info;
    return ShellItemInfo(absolute_, info) && info.folder;
}

bool TTeShellFolder::SubFolders(TTeShellObjectTypes types) const {
    return FolderHasSubFolders(absolute_, ObjectTypesToEnumFlags(types) | sefFolders);
}

String TTeShellFolder::DisplayName() const {
    if (IsAlias()) return alias_;
    return absolute_.empty() ? String("/") : absolute_.back();
}

int TTeShellFolder::ImageIndex(bool open) const {
    TShellItemInfo info;
    if (!ShellItemInfo(absolute_, info)) return siFile;
    if (info.folder) return open ? siFolderOpen : siFolder;
    if (info.link) return siLink;
    return info.executable ? siExecutable : siFile;
}

void TTeShellFolder::ExecuteDefault() const {
    std::string error;
    if (!OpenShellItem(absolute_, error, ShellOpenCommand)) throw Exception(error);
}

bool TTeShellFolder::Rename(const String& newName) {
    if (!Capabilities().Contains(fcCanRename)) return false;
    std::string error;
    if (!RenameShellItem(absolute_, newName, error))
        throw Exception(Format("Rename to %s failed", newName.c_str()));
    if (!relative_.empty()) relative_.back() = newName;
    absolute_.back() = newName;
    return true;
}

void TTeShellFolder::LoadColumnDetails(TTeShellFolder*, int columnCount) {
    if (detailsLoaded_ && static_cast<int>(details_.size()) >= columnCount) return;
    details_.clear();
    TShellItemInfo info;
    const bool known = ShellItemInfo(absolute_, info);
    for (int column = 1; column <= columnCount; ++column) {
        String text;
        if (known) switch (column) {
                case 1: text = info.folder ? String() : UIntToStr(info.size); break;
                case 2: {
                    const String name = DisplayName();
                    const size_t dot = name.rfind('.');
                    text = info.folder                                               ? String("Folder")
                           : dot != String::npos && dot > 0 && dot + 1 < name.size() ? name.substr(dot + 1)
                                                                                     : String();
                    break;
                }
                case 3: text = FormatDateTime("yyyy-mm-dd hh:nn", info.modified); break;
                case 4:
                    text = String(info.folder ? "d" : "") + (info.link ? "l" : "") +
                           (info.readOnly ? "r" : "") + (info.hidden ? "h" : "") +
                           (info.executable ? "x" : "");
                    break;
            }
        details_.push_back(text);
    }
    detailsLoaded_ = true;
}

String TTeShellFolder::GetDetails(int column) const {
    if (!detailsLoaded_)
        throw Exception(Format("%s: Missing call to LoadColumnDetails", DisplayName().c_str()));
    return column >= 1 && column <= static_cast<int>(details_.size())
               ? details_[static_cast<size_t>(column - 1)]
               : String();
}

void TTeShellFolder::SetDetails(int column, const String& text) {
    if (column < 1) return;
    const size_t i = static_cast<size_t>(column - 1);
    if (i < details_.size())
        details_[i] = text;
    else
        details_.insert(details_.end(), text);
}

TTeShellFolder* DesktopShellFolder() {
    static const std::unique_ptr<TTeShellFolder> desktop =
        std::make_unique<TTeShellFolder>(nullptr, TIdList{});
    return desktop.get();
}

TTeShellFolder* CreateRootFromIdList(const TIdList& list) { return new TTeShellFolder(nullptr, list); }

TTeShellFolder* CreateRootFolder(TTeShellFolder* oldRoot, const String& oldText, String& newText) {
    TIdList list;
    try {
        list = RootIdList(newText);
    } catch (const EInvalidPath&) {
        newText = oldText;
        throw;
    }
    TTeShellFolder* root = CreateRootFromIdList(list);
    delete oldRoot;
    return root;
}

// ---- context menu ---------------------------------------------------------------------------

bool InvokeItemVerb(TWinControl*, TTeShellFolder* item, const String& verb) {
    if (!item) return false;
    try {
        if (SameText(verb, "open")) {
            item->ExecuteDefault();
            return true;
        }
        if (SameText(verb, "properties")) {
            ShowShellProperties(item);
            return true;
        }
        if (SameText(verb, "delete")) {
            if (!item->Capabilities().Contains(fcCanDelete))
                throw Exception("\"" + item->PathName() + "\" cannot be deleted");
            if (Application->MessageBox("Move \"" + item->DisplayName() + "\" to the trash?", "Delete",
                                        MB_YESNO | MB_ICONQUESTION) != IDYES)
                return false;
            std::string error;
            if (!TrashShellItem(item->AbsoluteIdList(), error)) throw Exception(error);
            return true;
        }
    } catch (const Exception& e) {
        Application->MessageBox(e.Message(), "", MB_ICONERROR);
    }
    return false;
}

void InvokeContextMenu(TWinControl* owner, TTeShellFolder* item, int x, int y) {
    if (!item || !owner) return;
    const TPoint at = owner->ClientToScreen(TPoint{x, y});
    String chosen;
    {
        // Owned by the control: the menu's keys and mouse go through its form.
        std::unique_ptr<TTePopupMenu> owned(new TTePopupMenu(owner));
        TTePopupMenu& menu = *owned;
        const TTeShellFolderCapabilities can = item->Capabilities();
        const struct {
            const char* caption;
            const char* verb;
            bool enabled;
        } entries[] = {
            {"&Open", "open", true},
            {"Rena&me", "rename", can.Contains(fcCanRename)},
            {"&Delete", "delete", can.Contains(fcCanDelete)},
            {"P&roperties", "properties", true},
        };
        for (const auto& e : entries) {
            auto* entry = new TTeItem(&menu);
            entry->SetCaption(Utf8ToWide(e.caption));
            entry->SetEnabled(e.enabled);
            const String verb = e.verb;
            entry->OnClick = [&chosen, verb](TObject*) { chosen = verb; };
            menu.Items()->Add(entry);
        }
        menu.SetPopupComponent(owner);
        menu.Popup(at.x, at.y);
        // The choice is clicked once the menu's loop is over: it has to
        // reach its entry while the menu is still there.
        if (Application) Application->ProcessMessages();
    }
    if (chosen.empty()) return;
    auto* verbs = dynamic_cast<IShellCommandVerb*>(owner);
    bool handled = false;
    if (verbs) verbs->ExecuteCommand(chosen, handled);
    const bool succeeded = handled || InvokeItemVerb(owner, item, chosen);
    if (verbs) verbs->CommandCompleted(chosen, succeeded);
}

// ---- change notifier ------------------------------------------------------------------------

TTeCustomShellChangeNotifier::TTeCustomShellChangeNotifier(TComponent* owner) : TComponent(owner) { Start(); }

TTeCustomShellChangeNotifier::~TTeCustomShellChangeNotifier() = default;

void TTeCustomShellChangeNotifier::SetRoot(const TTeRoot& value) {
    if (SameText(value, root_)) return;
    root_ = value;
    Change();
}

void TTeCustomShellChangeNotifier::SetWatchSubTree(bool value) {
    watchSubTree_ = value;
    Change();
}

void TTeCustomShellChangeNotifier::SetNotifyFilters(TNotifyFilters value) {
    filters_ = value;
    Change();
}

void TTeCustomShellChangeNotifier::SetOnChange(TThreadMethod value) {
    onChange_ = std::move(value);
    if (watch_)
        watch_->SetOnChange(onChange_);
    else
        Start();
}

void TTeCustomShellChangeNotifier::Start() {
    if (!onChange_ || watch_) return;
    watch_ = std::make_unique<TShellChangeWatch>(GuiPoster(), onChange_);
    Change();
}

void TTeCustomShellChangeNotifier::Change() {
    if (!watch_) return;
    static const std::pair<TNotifyFilter, uint32_t> kFlags[] = {
        {nfFileNameChange, scfFileName}, {nfDirNameChange, scfDirName}, {nfAttributeChange, scfAttributes},
        {nfSizeChange, scfSize},         {nfWriteChange, scfLastWrite}, {nfSecurityChange, scfSecurity},
    };
    uint32_t flags = 0;
    for (const auto& [filter, flag] : kFlags)
        if (filters_.Contains(filter)) flags |= flag;
    watch_->SetOptions(root_, watchSubTree_, flags);
}

}  // namespace tarvel
