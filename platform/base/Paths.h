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

// Whole-file helpers. Reading raises EFOpenError when the file cannot be
// opened or is no plain file (a folder, a pipe, a device) and EReadError
// when reading it fails.
std::vector<uint8_t> ReadFileBytes(std::string_view path);
std::string ReadFileText(std::string_view path);

// Writes the whole file through a temporary file beside it, flushed to the
// disk and renamed over the old one, so a failed write leaves the old file
// whole. Raises EFCreateError when the file cannot be made, EWriteError when
// its bytes cannot all be written.
void WriteFileBytes(std::string_view path, const void* data, size_t size);
void WriteFileText(std::string_view path, std::string_view text);
// WriteFileText for callers with a failure message of their own: false when
// the file could not be written (the old one is then as it was).
bool SaveFileText(std::string_view path, std::string_view text);

// Appends `text` whole or not at all: a write that fails cuts the file back
// to its size before it. The file is created when missing, and `header` goes
// first while the file is empty; copies of the tool appending at once take
// turns on a lock, so the header is written once. Raises EFCreateError when
// the file cannot be opened or created, EWriteError when writing fails.
void AppendFileText(std::string_view path, std::string_view text, std::string_view header = {});

}  // namespace tarvel
