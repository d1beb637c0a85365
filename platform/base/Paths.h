#pragma once
// Paths and files. The system writes paths with "\"; they become "/".
// "Beside the executable" is ApplicationFolder(), which tests may move.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// The executable's folder, without a trailing "/".
std::string ApplicationFolder();
void SetApplicationFolder(std::string folder);  // tests; "" restores the default
// ApplicationFolder() + "/" + relative, with "\" turned into "/".
std::string AppPath(std::string_view relative);
std::string NativePath(std::string_view path);  // "\" -> "/"

std::string ExtractFilePath(std::string_view path);  // with the trailing "/"
std::string ExtractFileDir(std::string_view path);   // without it
std::string ExtractFileName(std::string_view path);
std::string ExtractFileExt(std::string_view path);  // with the ".", or ""
std::string ChangeFileExt(std::string_view path, std::string_view ext);
std::string IncludeTrailingPathDelimiter(std::string_view path);
std::string ExcludeTrailingPathDelimiter(std::string_view path);
std::string GetCurrentDir();

bool FileExists(std::string_view path);  // a file, not a folder
bool DirectoryExists(std::string_view path);
bool CreateDir(std::string_view path);         // true when the folder exists afterwards
bool ForceDirectories(std::string_view path);  // creates every missing level
bool DeleteFile(std::string_view path);
bool RenameFile(std::string_view from, std::string_view to);

// Files from outside the tool are opened here and nowhere else. The open never
// waits (a pipe or a device in the file's place would hold it for ever), and
// anything but a regular file (a folder, a pipe, a device, a socket) is
// refused before it is opened. Answers the descriptor, closed on exec and
// blocking again, or -1 with `reason` saying why: the system's reason, or
// "Is a directory" or "Not a regular file".
int OpenRegularFile(std::string_view path, int flags, std::string* reason = nullptr);

// A file read whole may hold this much unless its kind sets a smaller limit.
constexpr uint64_t kMaxWholeFileBytes = uint64_t{256} << 20;
// The limits of the kinds, each a little above the largest real file:
// the settings files hold a few KiB (at most 256 serial numbers of 29
// characters), a ".bms" or ".kb" file one line of at most 48 numbers, the
// registry file a few keys, a skin a few MiB of pictures.
constexpr uint64_t kMaxIniFileBytes = uint64_t{64} << 10;
constexpr uint64_t kMaxParameterFileBytes = uint64_t{16} << 10;
constexpr uint64_t kMaxRegistryFileBytes = uint64_t{1} << 20;
constexpr uint64_t kMaxUserDirsFileBytes = uint64_t{64} << 10;
constexpr uint64_t kMaxSkinFileBytes = uint64_t{32} << 20;
constexpr uint64_t kMaxPictureFileBytes = uint64_t{64} << 20;
constexpr uint64_t kMaxSoundFileBytes = uint64_t{16} << 20;
constexpr uint64_t kMaxTextListFileBytes = uint64_t{16} << 20;
constexpr uint64_t kMaxResourceModuleBytes = uint64_t{64} << 20;
// "Cannot read file "path": it is larger than the limit of 64 KiB".
std::string FileTooLargeMessage(std::string_view path, uint64_t limit);
// What reading `path` whole would raise: "" when the file is missing or is a
// regular file within `limit` that opens for reading.
std::string FileReadProblem(std::string_view path, uint64_t limit);

// Whole-file helpers. Reading raises EFOpenError when the file cannot be
// opened or is no plain file (a folder, a pipe, a device), EFileTooLarge
// when it is larger than `limit` (refused before a byte is read) and
// EReadError when reading it fails.
std::vector<uint8_t> ReadFileBytes(std::string_view path, uint64_t limit = kMaxWholeFileBytes);
std::string ReadFileText(std::string_view path, uint64_t limit = kMaxWholeFileBytes);

// Writes the whole file through a temporary file beside it, flushed to the
// disk and renamed over the old one, so a failed write leaves the old file
// whole. Raises EFCreateError when the file cannot be made or is no regular
// file (a device or pipe is never replaced), EWriteError when its bytes
// cannot all be written. Temporary files of earlier saves of the file that
// were cut off go with a successful save.
void WriteFileBytes(std::string_view path, const void* data, size_t size);
void WriteFileText(std::string_view path, std::string_view text);
// WriteFileText for callers with a failure message of their own: false when
// the file could not be written (the old one is then as it was).
bool SaveFileText(std::string_view path, std::string_view text);

// Removes from `folder` the temporary files that saves cut off by a crash or
// a kill left behind (".NAME.PID-N.tmp"), of the file `name` only when it is
// given. A file whose process still runs, or one of this process that a save
// is writing, stays. Answers how many went.
int RemoveStaleTemporaryFiles(std::string_view folder, std::string_view name = {});

// A text file appended to, kept open between appends. Each append is whole
// or not at all: a write that fails cuts the file back to its size before
// it. The file is created when missing, and `header` goes first while the
// file is empty; an append to a file whose last line has no line end starts
// on a new line. Copies of the tool appending at once take turns on a lock,
// so the header is written once. The file at the path is looked at before
// each append: one deleted or renamed meanwhile is made again (with its
// header), and after a failed write the next append opens it anew.
class AppendFile {
public:
    AppendFile() = default;
    // Opens at the first append.
    explicit AppendFile(std::string path) : path_(std::move(path)) {}
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;
    ~AppendFile();

    // Raises EFCreateError when the file cannot be opened or created.
    void Open(std::string_view path);
    bool IsOpen() const { return fd_ >= 0; }
    const std::string& Path() const { return path_; }
    // Raises EWriteError when writing fails, EFCreateError when the file
    // cannot be made again.
    void Append(std::string_view text, std::string_view header = {});
    void Close();

private:
    bool StillAtPath() const;
    void Drop();

    int fd_ = -1;
    bool readable_ = false;  // the last byte can be looked at
    uint64_t device_ = 0, inode_ = 0;
    std::string path_;
};

// Opens, appends and closes. Raises as AppendFile does.
void AppendFileText(std::string_view path, std::string_view text, std::string_view header = {});

}  // namespace tarvel
