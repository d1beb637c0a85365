#pragma once
// A file that lines are appended to, kept open between them: a line costs
// one write, not an open, a lock and a close. The file at the path is looked
// at before each line, so one deleted or renamed meanwhile is made again
// (with its header) and not written into unseen; after a failure it is
// opened anew. A line goes whole or not at all, as with AppendFileText.

#include <cstdint>
#include <mutex>
#include <string>
#include <string_view>

namespace tarvel {

class AppendFile {
public:
    explicit AppendFile(std::string path);
    ~AppendFile();
    AppendFile(const AppendFile&) = delete;
    AppendFile& operator=(const AppendFile&) = delete;

    // Appends `text`, after `header` when the file is new or empty. Raises
    // EFCreateError when the file cannot be opened or created, EWriteError
    // when its bytes cannot all be written (the file is then cut back).
    void Append(std::string_view text, std::string_view header = {});
    void Close();
    bool IsOpen() const;
    const std::string& Path() const { return path_; }

private:
    bool StillAtPath() const;
    void Open(std::string_view header);
    void Write(std::string_view bytes);

    const std::string path_;
    mutable std::mutex mutex_;
    int fd_ = -1;
    uint64_t device_ = 0, inode_ = 0;
};

}  // namespace tarvel
