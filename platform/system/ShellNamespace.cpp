#include "platform/system/ShellNamespace.h"

#include <fcntl.h>
#include <grp.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>

#include "platform/base/Folders.h"
#include "platform/system/UserFolders.h"

namespace tarvel {

std::string IdListPath(const TIdList& list) {
    std::string path = "/";
    for (size_t i = 0; i < list.size(); ++i) {
        if (i) path += '/';
        path += list[i];
    }
    return path;
}

bool ParseShellPath(std::string_view path, TIdList& list) {
    if (!IsAbsolutePath(path)) return false;
    const std::string normal = NormalizePath(path);
    struct stat st;
    if (::stat(normal.c_str(), &st) != 0) return false;
    list.clear();
    size_t start = 1;
    while (start < normal.size()) {
        size_t end = normal.find('/', start);
        if (end == std::string::npos) end = normal.size();
        list.emplace_back(normal.substr(start, end - start));
        start = end + 1;
    }
    return true;
}

TIdList NextIdItem(const TIdList& list) {
    return list.empty() ? TIdList{} : TIdList(list.begin() + 1, list.end());
}

void StripLastIdItem(TIdList& list) {
    if (!list.empty()) list.pop_back();
}

TIdList ConcatIdLists(const TIdList& a, const TIdList& b) {
    TIdList out = a;
    out.insert(out.end(), b.begin(), b.end());
    return out;
}

TIdList LastIdItemCopy(const TIdList& list) { return list.empty() ? TIdList{} : TIdList{list.back()}; }

std::vector<TIdList> AncestorIdLists(const TIdList& list) {
    std::vector<TIdList> out;
    for (size_t n = 0; n < list.size(); ++n)
        out.emplace_back(list.begin(), list.begin() + static_cast<long>(n));
    return out;
}

namespace {

TDateTime LocalTime(time_t seconds) {
    TDateTime value = 0;
    struct tm local;
    if (localtime_r(&seconds, &local))
        TryEncodeDateTime({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday, local.tm_hour, local.tm_min,
                           std::min(local.tm_sec, 59), 0},
                          value);
    return value;
}

std::string UserName(uid_t uid) {
    std::vector<char> buffer(16384);
    struct passwd entry, *found = nullptr;
    if (::getpwuid_r(uid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->pw_name;
    return std::to_string(uid);
}

std::string GroupName(gid_t gid) {
    std::vector<char> buffer(16384);
    struct group entry, *found = nullptr;
    if (::getgrgid_r(gid, &entry, buffer.data(), buffer.size(), &found) == 0 && found) return found->gr_name;
    return std::to_string(gid);
}

bool Info(const std::string& path, TShellItemInfo& info) {
    struct stat own;
    if (::lstat(path.c_str(), &own) != 0) return false;
    info = {};
    info.link = S_ISLNK(own.st_mode);
    struct stat st = own;
    // A dangling link is still an item: it shows as itself.
    if (info.link && ::stat(path.c_str(), &st) != 0) st = own;
    info.folder = S_ISDIR(st.st_mode);
    info.executable = !info.folder && (st.st_mode & S_IXUSR) != 0;
    info.readOnly = ::access(path.c_str(), W_OK) != 0;
    info.size = info.folder ? 0 : static_cast<uint64_t>(st.st_size);
    info.modified = LocalTime(st.st_mtime);
    info.accessed = LocalTime(st.st_atime);
    info.changed = LocalTime(st.st_ctime);
    info.owner = UserName(st.st_uid);
    info.group = GroupName(st.st_gid);
    static const struct {
        mode_t bit;
        char letter;
    } kBits[] = {{S_IRUSR, 'r'}, {S_IWUSR, 'w'}, {S_IXUSR, 'x'}, {S_IRGRP, 'r'}, {S_IWGRP, 'w'},
                 {S_IXGRP, 'x'}, {S_IROTH, 'r'}, {S_IWOTH, 'w'}, {S_IXOTH, 'x'}};
    for (const auto& b : kBits) info.permissions += (st.st_mode & b.bit) ? b.letter : '-';
    const size_t slash = path.rfind('/');
    info.hidden = slash != std::string::npos && slash + 1 < path.size() && path[slash + 1] == '.';
    return true;
}

bool Wanted(const TFolderEntry& e, unsigned flags) {
    if (e.hidden && !(flags & sefHidden)) return false;
    return (flags & (e.folder ? sefFolders : sefNonFolders)) != 0;
}

bool ValidName(const std::string& name) {
    return !name.empty() && name != "." && name != ".." && name.find('/') == std::string::npos &&
           name.find('\0') == std::string::npos;
}

// rename that never replaces an item already there.
int RenameNoReplace(const std::string& from, const std::string& to) {
    if (::renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) == 0) return 0;
    if (errno != EINVAL && errno != ENOSYS) return -1;
    // A file system without the flag: the check and the move are two steps.
    struct stat st;
    if (::lstat(to.c_str(), &st) == 0) {
        errno = EEXIST;
        return -1;
    }
    return ::rename(from.c_str(), to.c_str());
}

std::string PercentEncoded(const std::string& path) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : path) {
        if (std::isalnum(c) || c == '/' || c == '-' || c == '_' || c == '.' || c == '~') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

bool IsFolder(const std::string& path) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

}  // namespace

bool ShellItemInfo(const TIdList& item, TShellItemInfo& info) { return Info(IdListPath(item), info); }

bool EnumShellItems(const TIdList& folder, unsigned flags, std::vector<std::string>& names) {
    names.clear();
    std::vector<TFolderEntry> entries;
    if (!ListFolder(IdListPath(folder), entries)) return false;
    for (TFolderEntry& e : entries)
        if (Wanted(e, flags)) names.push_back(std::move(e.name));
    return true;
}

bool FolderHasObjects(const TIdList& folder, unsigned flags) {
    std::vector<std::string> names;
    return EnumShellItems(folder, flags, names) && !names.empty();
}

bool FolderHasSubFolders(const TIdList& folder, unsigned flags) {
    return FolderHasObjects(folder, flags & (sefFolders | sefHidden));
}

int CompareShellItems(const TIdList& folder, const std::string& a, const std::string& b) {
    TShellItemInfo ia, ib;
    const bool fa = ShellItemInfo(ConcatIdLists(folder, {a}), ia) && ia.folder;
    const bool fb = ShellItemInfo(ConcatIdLists(folder, {b}), ib) && ib.folder;
    if (fa != fb) return fa ? -1 : 1;
    const size_t n = std::min(a.size(), b.size());
    for (size_t i = 0; i < n; ++i) {
        const int ca = std::tolower(static_cast<unsigned char>(a[i]));
        const int cb = std::tolower(static_cast<unsigned char>(b[i]));
        if (ca != cb) return ca < cb ? -1 : 1;
    }
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    return a.compare(b);
}

bool RenameShellItem(const TIdList& item, const std::string& newName, std::string& error) {
    if (item.empty()) {
        error = "The top of the file system cannot be renamed";
        return false;
    }
    if (!ValidName(newName)) {
        error = "\"" + newName + "\" is not a valid name";
        return false;
    }
    TIdList target = item;
    target.back() = newName;
    if (target == item) return true;
    if (RenameNoReplace(IdListPath(item), IdListPath(target)) != 0) {
        error = errno == EEXIST ? "\"" + newName + "\" exists already" : std::string(std::strerror(errno));
        return false;
    }
    return true;
}

std::string TrashFolder() {
    const char* data = std::getenv("XDG_DATA_HOME");
    if (data && *data == '/') return JoinPath(data, "Trash");
    return JoinPath(UserFolder(TUserFolder::Home), ".local/share/Trash");
}

bool TrashShellItem(const TIdList& item, std::string& error) {
    const std::string path = IdListPath(item);
    const std::string trash = TrashFolder();
    struct stat own, bin;
    if (item.empty() || ::lstat(path.c_str(), &own) != 0) {
        error = "\"" + path + "\" is not there";
        return false;
    }
    if (!IsFolder(trash) || ::stat(trash.c_str(), &bin) != 0) {
        error = "There is no trash folder (" + trash + ")";
        return false;
    }
    if (own.st_dev != bin.st_dev) {
        error = "\"" + path + "\" is on another file system than the trash folder";
        return false;
    }
    const std::string files = JoinPath(trash, "files"), infos = JoinPath(trash, "info");
    ::mkdir(files.c_str(), 0700);
    ::mkdir(infos.c_str(), 0700);
    // The trash-info record is claimed first (O_EXCL): it reserves the name.
    for (int n = 1; n < 1000; ++n) {
        const std::string name = n == 1 ? item.back() : item.back() + "." + std::to_string(n);
        const std::string info = JoinPath(infos, name + ".trashinfo");
        const int fd = ::open(info.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0600);
        if (fd < 0) {
            if (errno == EEXIST) continue;
            error = "The trash folder cannot be written: " + std::string(std::strerror(errno));
            return false;
        }
        char date[32];
        const time_t now = std::time(nullptr);
        struct tm local;
        localtime_r(&now, &local);
        std::strftime(date, sizeof date, "%Y-%m-%dT%H:%M:%S", &local);
        const std::string record =
            "[Trash Info]\nPath=" + PercentEncoded(path) + "\nDeletionDate=" + date + "\n";
        const bool written = ::write(fd, record.data(), record.size()) == static_cast<ssize_t>(record.size());
        ::close(fd);
        if (written && RenameNoReplace(path, JoinPath(files, name)) == 0) return true;
        const int cause = errno;
        ::unlink(info.c_str());
        if (written && cause == EEXIST) continue;
        error = "\"" + path + "\" cannot be moved to the trash: " + std::strerror(written ? cause : EIO);
        return false;
    }
    error = "The trash folder holds too many items named \"" + item.back() + "\"";
    return false;
}

bool OpenShellItem(const TIdList& item, std::string& error, const std::string& opener) {
    const std::string path = IdListPath(item);
    TShellItemInfo info;
    if (!ShellItemInfo(item, info)) {
        error = "\"" + path + "\" is not there";
        return false;
    }
    const std::string folder = info.folder ? path : IdListPath([&] {
        TIdList parent = item;
        StripLastIdItem(parent);
        return parent;
    }());
    // Everything the child needs is made before fork: after it only calls
    // that are safe in a child of a threaded process run.
    std::vector<char*> argv{const_cast<char*>(opener.c_str()), const_cast<char*>(path.c_str()), nullptr};
    int pipe[2];
    if (::pipe2(pipe, O_CLOEXEC) != 0) {
        error = std::strerror(errno);
        return false;
    }
    const pid_t child = ::fork();
    if (child < 0) {
        error = std::strerror(errno);
        ::close(pipe[0]);
        ::close(pipe[1]);
        return false;
    }
    if (child == 0) {
        // The opener is a grandchild, so it is nobody's zombie when it ends.
        ::setsid();
        if (::fork() != 0) ::_exit(0);
        if (::chdir(folder.c_str()) != 0) {
            // The folder went away: the opener starts where we are.
        }
        ::execvp(argv[0], argv.data());
        const int cause = errno;
        if (::write(pipe[1], &cause, sizeof cause) < 0) {
        }
        ::_exit(127);
    }
    ::close(pipe[1]);
    int status = 0;
    while (::waitpid(child, &status, 0) < 0 && errno == EINTR) {
    }
    // The pipe closes on a successful exec; an errno comes back otherwise.
    int cause = 0;
    ssize_t got;
    while ((got = ::read(pipe[0], &cause, sizeof cause)) < 0 && errno == EINTR) {
    }
    ::close(pipe[0]);
    if (got == static_cast<ssize_t>(sizeof cause)) {
        error = "\"" + opener + "\" cannot be started: " + std::strerror(cause);
        return false;
    }
    return true;
}

}  // namespace tarvel
