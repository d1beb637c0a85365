#pragma once
// Resource-only modules: the resources of a portable-executable file (a DLL
// or a visual-style module) read straight from its bytes, without loading it.

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tarvel {

// Standard resource types, by number.
constexpr uint16_t RT_BITMAP = 2;
constexpr uint16_t RT_RCDATA = 10;

// A resource type or name: a number, or a name compared without regard to
// the case of its letters.
class ResourceId {
public:
    ResourceId(uint16_t number) : number_(number), isNumber_(true) {}
    // "#123" is the number 123; any other text (UTF-8) is a name.
    ResourceId(std::string_view text);
    ResourceId(const char* text) : ResourceId(std::string_view(text)) {}
    ResourceId(const std::string& text) : ResourceId(std::string_view(text)) {}

    bool IsNumber() const { return isNumber_; }
    uint16_t Number() const { return number_; }
    const std::u16string& Name() const { return name_; }

    bool Matches(uint16_t number) const { return isNumber_ && number == number_; }

private:
    std::u16string name_;
    uint16_t number_ = 0;
    bool isNumber_ = false;
};

class ResourceModule {
public:
    // Files past this size are not taken for resource modules.
    static constexpr uint64_t kMaxFileSize = uint64_t{256} << 20;

    // Reads the file whole. False, and nothing open, when it cannot be read or
    // is not a portable-executable file with a resource directory.
    bool Open(const std::string& fileName);
    // The same over bytes already in memory.
    bool Open(std::vector<uint8_t> bytes);
    void Close();
    bool IsOpen() const { return open_; }

    // The bytes of the resource of that type and name (its first language),
    // or nothing when there is none or its entry is malformed.
    std::optional<std::vector<uint8_t>> FindResource(const ResourceId& type, const ResourceId& name) const;

private:
    struct Section {
        uint64_t rva = 0;
        uint64_t size = 0;  // the part backed by the file
        uint64_t fileOffset = 0;
    };
    struct Entry {
        uint32_t id;      // the name's offset when named
        uint32_t target;  // the subdirectory's or data entry's offset
        bool named;
        bool directory;
    };

    bool ReadHeaders();
    // The file offset of `size` bytes at `rva`, when they lie in one section.
    std::optional<uint64_t> FileOffsetOf(uint64_t rva, uint64_t size) const;
    // The entry of the directory at `offset` (in the resource tree) that matches id.
    std::optional<Entry> FindEntry(uint64_t offset, const ResourceId& id) const;
    std::optional<Entry> FirstEntry(uint64_t offset) const;
    std::optional<Entry> ReadEntry(uint64_t directory, uint64_t index) const;
    uint64_t EntryCount(uint64_t directory) const;
    // Counts the letters it compares against `budget`; false once it is spent.
    bool NameMatches(uint64_t offset, const ResourceId& id, uint64_t& budget) const;
    bool InTree(uint64_t offset, uint64_t size) const {
        return offset <= treeSize_ && size <= treeSize_ - offset;
    }
    uint16_t Tree16(uint64_t offset) const;
    uint32_t Tree32(uint64_t offset) const;

    std::vector<uint8_t> bytes_;
    std::vector<Section> sections_;
    uint64_t treeStart_ = 0;  // file offset of the root directory
    uint64_t treeSize_ = 0;   // bytes from there to the end of its section
    bool open_ = false;
};

}  // namespace tarvel
