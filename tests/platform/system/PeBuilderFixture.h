#pragma once
// Builds small resource-only portable-executable modules for tests: DOS
// header, PE signature, COFF header, a PE32 or PE32+ optional header and one
// ".rsrc" section holding the type / name / language tree and the data; and
// the packed DIBs that bitmap resources hold.

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <cstring>
#include <map>
#include <string>
#include <variant>
#include <vector>

namespace tarvel::testing {

class PeBuilder {
public:
    // A type or name: a number, or a name stored as UTF-16 (ASCII here).
    using Key = std::variant<std::string, uint16_t>;

    // Where the parts of the last built module lie (file offsets).
    struct Layout {
        size_t peHeader = 0;  // "PE\0\0"
        size_t optionalHeader = 0;
        size_t resourceEntry = 0;  // data directory 2: RVA, size
        size_t sectionTable = 0;
        size_t tree = 0;  // the root resource directory
        uint32_t treeRva = 0;
        std::map<std::string, size_t> dataEntries;  // by "type/name": the data entry
    };

    static constexpr uint32_t kSectionRva = 0x1000;
    static constexpr uint32_t kFileAlignment = 0x200;

    explicit PeBuilder(bool pe32Plus = false) : pe32Plus_(pe32Plus) {}

    PeBuilder& Add(Key type, Key name, std::vector<uint8_t> data, uint16_t language = 0x409) {
        tree_[type][name][language] = std::move(data);
        return *this;
    }

    std::vector<uint8_t> Build() {
        layout_ = Layout{};
        const size_t optionalSize = pe32Plus_ ? 240 : 224;
        const size_t peHeader = 0x80;
        const size_t optional = peHeader + 4 + 20;
        const size_t table = optional + optionalSize;
        const size_t treeOffset = Align(table + 40, kFileAlignment);
        const std::vector<uint8_t> rsrc = BuildTree();
        const size_t rawSize = Align(rsrc.size(), kFileAlignment);

        std::vector<uint8_t> out(treeOffset + rawSize, 0);
        out[0] = 'M';
        out[1] = 'Z';
        Put32(out, 0x3C, static_cast<uint32_t>(peHeader));
        std::memcpy(out.data() + peHeader, "PE\0\0", 4);
        Put16(out, peHeader + 4, pe32Plus_ ? 0x8664 : 0x14C);  // machine
        Put16(out, peHeader + 6, 1);                           // sections
        Put16(out, peHeader + 20, static_cast<uint16_t>(optionalSize));
        Put16(out, peHeader + 22, 0x2102);  // a DLL, executable image
        Put16(out, optional, pe32Plus_ ? 0x20B : 0x10B);
        const size_t countOffset = pe32Plus_ ? 108 : 92;
        Put32(out, optional + countOffset, 16);
        const size_t resourceEntry = optional + countOffset + 4 + 2 * 8;
        Put32(out, resourceEntry, kSectionRva);
        Put32(out, resourceEntry + 4, static_cast<uint32_t>(rsrc.size()));

        std::memcpy(out.data() + table, ".rsrc\0\0\0", 8);
        Put32(out, table + 8, static_cast<uint32_t>(rsrc.size()));
        Put32(out, table + 12, kSectionRva);
        Put32(out, table + 16, static_cast<uint32_t>(rawSize));
        Put32(out, table + 20, static_cast<uint32_t>(treeOffset));
        Put32(out, table + 36, 0x40000040);  // initialised data, readable
        std::copy(rsrc.begin(), rsrc.end(), out.begin() + static_cast<std::ptrdiff_t>(treeOffset));

        layout_.peHeader = peHeader;
        layout_.optionalHeader = optional;
        layout_.resourceEntry = resourceEntry;
        layout_.sectionTable = table;
        layout_.tree = treeOffset;
        layout_.treeRva = kSectionRva;
        for (auto& [key, offset] : layout_.dataEntries) offset += treeOffset;
        return out;
    }

    const Layout& LastLayout() const { return layout_; }

    // A bitmap resource: a packed DIB with a 40-byte info header. Rows are
    // given top row first, packed and unpadded; the palette is written as
    // biClrUsed entries; bitFields gives BI_BITFIELDS with the plain masks.
    struct DibSpec {
        int bits;
        int width;
        std::vector<std::vector<uint8_t>> rows;
        std::vector<uint32_t> palette;
        bool bitFields;
        bool topDown;
    };
    static std::vector<uint8_t> Dib(int bits, int width, std::vector<std::vector<uint8_t>> rows,
                                    std::vector<uint32_t> palette = {}, bool bitFields = false,
                                    bool topDown = false) {
        const DibSpec d{bits, width, std::move(rows), std::move(palette), bitFields, topDown};
        const size_t stride = (static_cast<size_t>(d.width) * d.bits + 31) / 32 * 4;
        const size_t masks = d.bitFields ? 12 : 0;
        const size_t offset = 40 + masks + d.palette.size() * 4;
        std::vector<uint8_t> b(offset + stride * d.rows.size(), 0);
        const int32_t height = static_cast<int32_t>(d.rows.size());
        Put32(b, 0, 40);
        Put32(b, 4, static_cast<uint32_t>(d.width));
        Put32(b, 8, static_cast<uint32_t>(d.topDown ? -height : height));
        Put16(b, 12, 1);
        Put16(b, 14, static_cast<uint16_t>(d.bits));
        Put32(b, 16, d.bitFields ? 3 : 0);
        Put32(b, 32, static_cast<uint32_t>(d.palette.size()));
        if (d.bitFields) {
            Put32(b, 40, 0x00FF0000u);
            Put32(b, 44, 0x0000FF00u);
            Put32(b, 48, 0x000000FFu);
        }
        for (size_t i = 0; i < d.palette.size(); ++i) Put32(b, 40 + masks + 4 * i, d.palette[i]);
        for (size_t r = 0; r < d.rows.size(); ++r) {
            const size_t line = d.topDown ? r : d.rows.size() - 1 - r;
            std::copy(d.rows[r].begin(), d.rows[r].end(),
                      b.begin() + static_cast<std::ptrdiff_t>(offset + line * stride));
        }
        return b;
    }

    static void Put16(std::vector<uint8_t>& b, size_t at, uint16_t v) {
        b[at] = static_cast<uint8_t>(v);
        b[at + 1] = static_cast<uint8_t>(v >> 8);
    }
    static void Put32(std::vector<uint8_t>& b, size_t at, uint32_t v) {
        Put16(b, at, static_cast<uint16_t>(v));
        Put16(b, at + 2, static_cast<uint16_t>(v >> 16));
    }
    static uint32_t Get32(const std::vector<uint8_t>& b, size_t at) {
        return b[at] | (b[at + 1] << 8) | (b[at + 2] << 16) | (static_cast<uint32_t>(b[at + 3]) << 24);
    }

private:
    // Named entries come first, sorted; then numbers, ascending.
    struct KeyOrder {
        bool operator()(const Key& a, const Key& b) const {
            if (a.index() != b.index()) return a.index() < b.index();
            if (a.index() == 1) return std::get<1>(a) < std::get<1>(b);
            std::string x = std::get<0>(a), y = std::get<0>(b);
            for (auto* s : {&x, &y})
                for (char& c : *s) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
            return x < y;
        }
    };
    using Languages = std::map<uint16_t, std::vector<uint8_t>>;
    using Names = std::map<Key, Languages, KeyOrder>;
    using Types = std::map<Key, Names, KeyOrder>;

    static size_t Align(size_t v, size_t a) { return (v + a - 1) / a * a; }
    static std::string Text(const Key& k) {
        return k.index() == 0 ? std::get<0>(k) : "#" + std::to_string(std::get<1>(k));
    }

    // Directories first, then the data entries, the names and the data.
    std::vector<uint8_t> BuildTree() {
        auto dirSize = [](size_t entries) { return 16 + 8 * entries; };
        size_t dirs = dirSize(tree_.size()), entries = 0;
        for (auto& [type, names] : tree_) {
            dirs += dirSize(names.size());
            for (auto& [name, langs] : names) {
                dirs += dirSize(langs.size());
                entries += langs.size();
            }
        }
        std::vector<uint8_t> b(dirs + 16 * entries, 0);
        size_t nextDir = 0, nextEntry = dirs;
        std::vector<std::pair<size_t, Key>> nameFixups;  // entry field, key

        auto writeHeader = [&](size_t at, const auto& map) {
            uint16_t named = 0, ids = 0;
            for (auto& [k, v] : map) (k.index() == 0 ? named : ids)++;
            Put16(b, at + 12, named);
            Put16(b, at + 14, ids);
        };
        auto writeKey = [&](size_t field, const Key& k) {
            if (k.index() == 1)
                Put32(b, field, std::get<1>(k));
            else
                nameFixups.emplace_back(field, k);
        };

        // Entry `index` of the directory at `parent`, for `key`, pointing at a
        // new subdirectory of `count` entries; answers that subdirectory.
        auto subdirectory = [&](size_t parent, size_t index, const Key& key, size_t count) {
            const size_t dir = nextDir;
            nextDir += dirSize(count);
            writeKey(parent + 16 + 8 * index, key);
            Put32(b, parent + 16 + 8 * index + 4, 0x80000000u | static_cast<uint32_t>(dir));
            return dir;
        };

        const size_t root = nextDir;
        nextDir += dirSize(tree_.size());
        writeHeader(root, tree_);
        size_t ti = 0;
        for (auto& [type, names] : tree_) {
            const size_t typeDir = subdirectory(root, ti++, type, names.size());
            writeHeader(typeDir, names);
            size_t ni = 0;
            for (auto& [name, langs] : names) {
                const size_t nameDir = subdirectory(typeDir, ni++, name, langs.size());
                Put16(b, nameDir + 14, static_cast<uint16_t>(langs.size()));
                size_t li = 0;
                for (auto& [lang, data] : langs) {
                    Put32(b, nameDir + 16 + 8 * li, lang);
                    Put32(b, nameDir + 16 + 8 * li + 4, static_cast<uint32_t>(nextEntry));
                    if (li == 0) layout_.dataEntries[Text(type) + "/" + Text(name)] = nextEntry;
                    nextEntry += 16;
                    ++li;
                }
            }
        }
        for (auto& [field, key] : nameFixups) {
            const std::string& s = std::get<0>(key);
            Put32(b, field, 0x80000000u | static_cast<uint32_t>(b.size()));
            const size_t at = b.size();
            b.resize(at + 2 + 2 * s.size());
            Put16(b, at, static_cast<uint16_t>(s.size()));
            for (size_t i = 0; i < s.size(); ++i) Put16(b, at + 2 + 2 * i, static_cast<unsigned char>(s[i]));
        }
        // Data, each block 8-aligned; data entries hold RVAs.
        size_t entry = dirs;
        for (auto& [type, names] : tree_)
            for (auto& [name, langs] : names)
                for (auto& [lang, data] : langs) {
                    b.resize(Align(b.size(), 8));
                    Put32(b, entry, kSectionRva + static_cast<uint32_t>(b.size()));
                    Put32(b, entry + 4, static_cast<uint32_t>(data.size()));
                    b.insert(b.end(), data.begin(), data.end());
                    entry += 16;
                }
        return b;
    }

    bool pe32Plus_;
    Types tree_;
    Layout layout_;
};

}  // namespace tarvel::testing
