#pragma once
// The places a user expects to find in a file chooser: the home folder and
// the desktop and documents folders the desktop session names in
// $XDG_CONFIG_HOME/user-dirs.dirs.

#include <string>
#include <string_view>

namespace tarvel {

enum class TUserFolder { Home, Desktop, Documents };

// The folder as the session names it; a folder not named there is the
// desktop's default ($HOME/Desktop) or, for the others, the home folder.
std::string UserFolder(TUserFolder which);

// The value of `key` (e.g. "XDG_DESKTOP_DIR") in the text of a user-dirs
// file: lines KEY="$HOME/path" or KEY="/path"; "" when the key is missing
// or its line is malformed.
std::string ParseUserDirsEntry(std::string_view text, std::string_view key, std::string_view home);

}  // namespace tarvel
