#pragma once
// Reading folders and resolving typed paths. Nothing here changes the
// process's current folder: a caller that browses keeps its own folder and
// resolves what the user types against it.

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

struct TFolderEntry {
    std::string name;
    bool folder = false;      // a directory, or a link to one
    bool hidden = false;      // the name starts with '.'
    bool executable = false;  // a file anyone may run
    bool readOnly = false;    // a file we may not write
    uint64_t size = 0;        // a file's bytes
};

// The entries of `folder` without "." and "..", in the order the system
// gives them; false (and no entries) when the folder cannot be read.
bool ListFolder(std::string_view folder, std::vector<TFolderEntry>& entries);

// "/a/./b/../c/" -> "/a/c": dots and doubled separators resolved by the
// text alone, no trailing "/" but on the root; "" stays "".
std::string NormalizePath(std::string_view path);
// An absolute `typed` path as it is, a relative one joined to `folder`;
// normalised either way.
std::string ResolvePath(std::string_view folder, std::string_view typed);
// The folder above; the root is its own parent.
std::string ParentFolder(std::string_view folder);
// `folder` and `name` with one "/" between.
std::string JoinPath(std::string_view folder, std::string_view name);
bool IsAbsolutePath(std::string_view path);

}  // namespace tarvel
