#include "platform/system/ResourceModule.h"

#include <algorithm>
#include <charconv>
#include <cstring>
#include <filesystem>
#include <system_error>

#include "platform/base/LittleEndian.h"
#include "platform/base/Paths.h"
#include "platform/base/Strings.h"

namespace tarvel {

namespace {

constexpr uint64_t kDosHeaderSize = 64;
constexpr uint64_t kNewHeaderPointer = 0x3C;  // e_lfanew
constexpr uint64_t kCoffHeaderSize = 20;
constexpr uint64_t kSectionHeaderSize = 40;
constexpr uint64_t kDataDirectorySize = 8;
constexpr uint64_t kResourceDirectoryIndex = 2;
constexpr uint64_t kDirectoryHeaderSize = 16;
constexpr uint64_t kEntrySize = 8;
constexpr uint64_t kDataEntrySize = 16;
constexpr uint32_t kHighBit = 0x80000000u;
// Far beyond the names of any real module (a few thousand short ones).
constexpr uint64_t kNameLettersPerLookup = uint64_t{1} << 22;

// Where the count of data directories and the directories themselves lie in
// each kind of optional header.
struct OptionalHeaderKind {
    uint16_t magic;
    uint64_t countOffset;
    uint64_t directoriesOffset;
};
constexpr OptionalHeaderKind kOptionalHeaderKinds[] = {
    {0x10B, 92, 96},    // PE32
    {0x20B, 108, 112},  // PE32+
};

char16_t FoldCase(char16_t c) {
    // ASCII and Latin-1 letters; the names modules use are plain ASCII.
    if ((c >= u'a' && c <= u'z') || (c >= 0xE0 && c <= 0xFE && c != 0xF7))
        return static_cast<char16_t>(c - 0x20);
    return c;
}

}  // namespace

ResourceId::ResourceId(std::string_view text) {
    if (text.size() > 1 && text.size() <= 6 && text[0] == '#' &&
        std::all_of(text.begin() + 1, text.end(), [](char c) { return c >= '0' && c <= '9'; })) {
        unsigned long value = 0;
        std::from_chars(text.data() + 1, text.data() + text.size(), value);
        if (value <= 0xFFFF) {
            number_ = static_cast<uint16_t>(value);
            isNumber_ = true;
            return;
        }
    }
    name_ = Utf8ToWide(text);
}

bool ResourceModule::Open(const std::string& fileName) {
    Close();
    std::error_code ec;
    if (!std::filesystem::is_regular_file(fileName, ec)) return false;
    const uintmax_t size = std::filesystem::file_size(fileName, ec);
    if (ec || size > kMaxFileSize) return false;
    std::vector<uint8_t> bytes;
    try {
        bytes = ReadFileBytes(fileName, kMaxResourceModuleBytes);
    } catch (const std::exception&) {
        return false;
    }
    return Open(std::move(bytes));
}

bool ResourceModule::Open(std::vector<uint8_t> bytes) {
    Close();
    bytes_ = std::move(bytes);
    open_ = ReadHeaders();
    if (!open_) Close();
    return open_;
}

void ResourceModule::Close() {
    bytes_.clear();
    bytes_.shrink_to_fit();
    sections_.clear();
    treeStart_ = treeSize_ = 0;
    open_ = false;
}

bool ResourceModule::ReadHeaders() {
    const uint64_t fileSize = bytes_.size();
    auto has = [&](uint64_t offset, uint64_t size) {
        return offset <= fileSize && size <= fileSize - offset;
    };
    auto u16 = [&](uint64_t offset) { return LoadLe16(bytes_.data() + offset); };
    auto u32 = [&](uint64_t offset) { return LoadLe32(bytes_.data() + offset); };

    if (!has(0, kDosHeaderSize) || bytes_[0] != 'M' || bytes_[1] != 'Z') return false;
    const uint64_t signature = u32(kNewHeaderPointer);
    if (!has(signature, 4 + kCoffHeaderSize) || std::memcmp(bytes_.data() + signature, "PE\0\0", 4) != 0)
        return false;
    const uint64_t coff = signature + 4;
    const uint64_t sectionCount = u16(coff + 2);
    const uint64_t optionalSize = u16(coff + 16);
    const uint64_t optional = coff + kCoffHeaderSize;
    if (optionalSize < 2 || !has(optional, optionalSize)) return false;

    const uint16_t magic = u16(optional);
    const auto* kind = std::find_if(std::begin(kOptionalHeaderKinds), std::end(kOptionalHeaderKinds),
                                    [&](const OptionalHeaderKind& k) { return k.magic == magic; });
    if (kind == std::end(kOptionalHeaderKinds) || optionalSize < kind->directoriesOffset) return false;
    const uint64_t directoryCount = u32(optional + kind->countOffset);
    const uint64_t resourceEntry = kind->directoriesOffset + kResourceDirectoryIndex * kDataDirectorySize;
    if (directoryCount <= kResourceDirectoryIndex || resourceEntry + kDataDirectorySize > optionalSize)
        return false;
    const uint64_t resourceRva = u32(optional + resourceEntry);
    if (resourceRva == 0) return false;

    const uint64_t table = optional + optionalSize;
    if (!has(table, sectionCount * kSectionHeaderSize)) return false;
    for (uint64_t i = 0; i < sectionCount; ++i) {
        const uint64_t header = table + i * kSectionHeaderSize;
        const uint64_t virtualSize = u32(header + 8);
        const uint64_t rva = u32(header + 12);
        const uint64_t rawSize = u32(header + 16);
        const uint64_t rawOffset = u32(header + 20);
        // Only what the file really holds of the section can be read.
        uint64_t backed = virtualSize ? std::min(rawSize, virtualSize) : rawSize;
        backed = rawOffset >= fileSize ? 0 : std::min(backed, fileSize - rawOffset);
        sections_.push_back(Section{rva, backed, rawOffset});
    }

    for (const Section& s : sections_) {
        if (resourceRva < s.rva || resourceRva - s.rva >= s.size) continue;
        treeStart_ = s.fileOffset + (resourceRva - s.rva);
        treeSize_ = s.size - (resourceRva - s.rva);
        return treeSize_ >= kDirectoryHeaderSize;
    }
    return false;
}

std::optional<uint64_t> ResourceModule::FileOffsetOf(uint64_t rva, uint64_t size) const {
    for (const Section& s : sections_) {
        if (rva < s.rva) continue;
        const uint64_t offset = rva - s.rva;
        if (offset <= s.size && size <= s.size - offset) return s.fileOffset + offset;
    }
    return std::nullopt;
}

uint16_t ResourceModule::Tree16(uint64_t offset) const {
    return LoadLe16(bytes_.data() + treeStart_ + offset);
}
uint32_t ResourceModule::Tree32(uint64_t offset) const {
    return LoadLe32(bytes_.data() + treeStart_ + offset);
}

uint64_t ResourceModule::EntryCount(uint64_t directory) const {
    if (!InTree(directory, kDirectoryHeaderSize)) return 0;
    const uint64_t count = uint64_t{Tree16(directory + 12)} + Tree16(directory + 14);
    // A count whose entries run past the tree marks a damaged directory.
    return InTree(directory + kDirectoryHeaderSize, count * kEntrySize) ? count : 0;
}

std::optional<ResourceModule::Entry> ResourceModule::ReadEntry(uint64_t directory, uint64_t index) const {
    if (index >= EntryCount(directory)) return std::nullopt;
    const uint64_t at = directory + kDirectoryHeaderSize + index * kEntrySize;
    const uint32_t id = Tree32(at);
    const uint32_t target = Tree32(at + 4);
    const bool named = (id & kHighBit) != 0;
    return Entry{named ? id & ~kHighBit : id & 0xFFFFu, target & ~kHighBit, named, (target & kHighBit) != 0};
}

bool ResourceModule::NameMatches(uint64_t offset, const ResourceId& id, uint64_t& budget) const {
    if (id.IsNumber() || !InTree(offset, 2)) return false;
    const std::u16string& wanted = id.Name();
    const uint64_t length = Tree16(offset);
    if (length != wanted.size() || !InTree(offset + 2, length * 2)) return false;
    for (uint64_t i = 0; i < length; ++i) {
        if (budget == 0) return false;
        --budget;
        if (FoldCase(static_cast<char16_t>(Tree16(offset + 2 + i * 2))) != FoldCase(wanted[i])) return false;
    }
    return true;
}

std::optional<ResourceModule::Entry> ResourceModule::FindEntry(uint64_t directory,
                                                               const ResourceId& id) const {
    // Only names of the looked-for length are compared, and only so many
    // letters in all: a directory of many long, nearly equal names cannot
    // keep a look-up busy.
    uint64_t budget = kNameLettersPerLookup;
    const uint64_t count = EntryCount(directory);
    for (uint64_t i = 0; i < count && budget > 0; ++i) {
        const std::optional<Entry> e = ReadEntry(directory, i);
        if (!e) break;
        if (!e->named && id.Matches(static_cast<uint16_t>(e->id))) return e;
        if (e->named && NameMatches(e->id, id, budget)) return e;
    }
    return std::nullopt;
}

std::optional<std::vector<uint8_t>> ResourceModule::FindResource(const ResourceId& type,
                                                                 const ResourceId& name) const {
    if (!open_) return std::nullopt;
    // Exactly three levels (type, name, language): a subdirectory that points
    // back up the tree ends the walk at the wrong kind of entry instead of looping.
    const std::optional<Entry> byType = FindEntry(0, type);
    if (!byType || !byType->directory) return std::nullopt;
    const std::optional<Entry> byName = FindEntry(byType->target, name);
    if (!byName || !byName->directory) return std::nullopt;
    const std::optional<Entry> language = ReadEntry(byName->target, 0);
    if (!language || language->directory || !InTree(language->target, kDataEntrySize)) return std::nullopt;

    const uint64_t rva = Tree32(language->target);
    const uint64_t size = Tree32(language->target + 4);
    const std::optional<uint64_t> offset = FileOffsetOf(rva, size);
    if (!offset) return std::nullopt;
    const auto first = bytes_.begin() + static_cast<std::ptrdiff_t>(*offset);
    return std::vector<uint8_t>(first, first + static_cast<std::ptrdiff_t>(size));
}

}  // namespace tarvel
