#include "tools/skingen/SkinGen.h"

#include <algorithm>
#include <cctype>
#include <filesystem>
#include <map>

#include "platform/base/Paths.h"
#include "platform/classlib/Colors.h"
#include "platform/classlib/ComponentText.h"
#include "skin/core/te_theme_colors.h"
#include "skin/core/te_utils.h"
#include "tools/skingen/SkinImages.h"

namespace tarvel {

namespace {

struct Entry {
    String name;
    String value;
    int line = 0;
};

[[noreturn]] void Fail(const String& file, int line, const String& what) {
    throw EReadError(file + (line > 0 ? ":" + IntToStr(line) : String()) + ": " + what);
}

String ReadTextFile(const String& fileName) {
    TFileStream file(fileName, fmOpenRead);
    String text(static_cast<size_t>(file.Size()), '\0');
    if (!text.empty()) file.ReadBuffer(text.data(), static_cast<int64_t>(text.size()));
    return text;
}

String Trimmed(std::string_view s) {
    const auto blank = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
    while (!s.empty() && blank(s.front())) s.remove_prefix(1);
    while (!s.empty() && blank(s.back())) s.remove_suffix(1);
    return String(s);
}

std::vector<String> Lines(const String& text) {
    std::vector<String> lines;
    size_t start = 0;
    while (start <= text.size()) {
        const size_t end = text.find('\n', start);
        lines.push_back(text.substr(start, end == String::npos ? String::npos : end - start));
        if (end == String::npos) break;
        start = end + 1;
    }
    return lines;
}

// "Name = value" lines grouped under "[Section]" headers (the empty section
// before the first); blank lines and lines starting with ';' are comments.
std::map<String, std::vector<Entry>> ReadEntries(const String& fileName) {
    std::map<String, std::vector<Entry>> sections;
    String section;
    int number = 0;
    for (const String& raw : Lines(ReadTextFile(fileName))) {
        ++number;
        const String line = Trimmed(raw);
        if (line.empty() || line[0] == ';') continue;
        if (line.front() == '[') {
            if (line.back() != ']') Fail(fileName, number, "section header without ']'");
            section = Trimmed(std::string_view(line).substr(1, line.size() - 2));
            continue;
        }
        const size_t eq = line.find('=');
        if (eq == String::npos) Fail(fileName, number, "'Name = value' expected");
        Entry e{Trimmed(std::string_view(line).substr(0, eq)), Trimmed(std::string_view(line).substr(eq + 1)),
                number};
        if (e.name.empty()) Fail(fileName, number, "a name is missing");
        sections[section].push_back(std::move(e));
    }
    return sections;
}

template <class Names>
int IndexOfName(const Names& names, const String& name) {
    for (size_t i = 0; i < names.size(); ++i) {
        if (SameText(names[i], name)) return static_cast<int>(i);
    }
    return -1;
}

void ReadInfo(const String& fileName, TSeSkinSource& source) {
    const struct {
        const char* name;
        String* value;
    } fields[] = {{"SkinName", &source.SkinName},
                  {"SkinVersion", &source.SkinVersion},
                  {"Author", &source.Author},
                  {"AuthorEMail", &source.AuthorEMail},
                  {"AuthorURL", &source.AuthorURL}};
    for (const auto& [section, entries] : ReadEntries(fileName)) {
        if (!section.empty()) Fail(fileName, entries.front().line, "no sections belong here");
        for (const Entry& e : entries) {
            auto it = std::find_if(std::begin(fields), std::end(fields),
                                   [&](const auto& f) { return SameText(f.name, e.name); });
            if (it == std::end(fields)) Fail(fileName, e.line, "unknown field " + e.name);
            *it->value = e.value;
        }
    }
}

bool IsHex(std::string_view s) {
    return std::all_of(s.begin(), s.end(),
                       [](char c) { return std::isxdigit(static_cast<unsigned char>(c)); });
}

// "#RRGGBB" as a TColor (0x00BBGGRR); false for anything else.
bool WebColor(std::string_view text, TColor& color) {
    if (text.size() != 7 || text[0] != '#' || !IsHex(text.substr(1))) return false;
    const uint32_t rgb = static_cast<uint32_t>(std::stoul(String(text.substr(1)), nullptr, 16));
    color = static_cast<TColor>(((rgb & 0xFF) << 16) | (rgb & 0xFF00) | ((rgb >> 16) & 0xFF));
    return true;
}

TColor ParseColor(const String& fileName, const Entry& e) {
    TColor color = clNone;
    if (WebColor(e.value, color)) return color;
    try {
        return StringToColor(e.value);
    } catch (const Exception&) {
        Fail(fileName, e.line, "not a colour: " + e.value);
    }
}

void ReadSections(const String& fileName, TSeSkinSource& source) {
    for (const auto& [section, entries] : ReadEntries(fileName)) {
        for (const Entry& e : entries) {
            if (SameText(section, "Colors")) {
                const int i = IndexOfName(ThemeColorNames, e.name);
                if (i < 0) Fail(fileName, e.line, "unknown colour " + e.name);
                source.Colors().SetColor(static_cast<TteThemeColor>(i), ParseColor(fileName, e));
            } else if (SameText(section, "SysColors")) {
                TColor sys = clNone;
                if (!IdentToColor(e.name, sys) || source.SysColors().GetColor(sys) == clNone)
                    Fail(fileName, e.line, "unknown system colour " + e.name);
                source.SysColors().SetColor(sys, ParseColor(fileName, e));
            } else if (SameText(section, "Fonts")) {
                const int i = IndexOfName(ThemeFontNames, e.name);
                if (i < 0) Fail(fileName, e.line, "unknown font " + e.name);
                TFont* font = source.Fonts().GetFont(static_cast<TteThemeFont>(i));
                try {
                    font->SetName(StringToFontName(e.value));
                    font->SetSize(StringToFontSize(e.value));
                    font->SetColor(StringToFontColor(e.value));
                    font->SetStyle(StringToFontStyle(e.value));
                } catch (const Exception&) {
                    Fail(fileName, e.line, "not a font: " + e.value);
                }
            } else {
                Fail(fileName, e.line, "unknown section [" + section + "]");
            }
        }
    }
}

// One object tree: the text turned into the binary component stream, then
// read back as the skin source reads a record.
TSeSkinObject* ReadObjectFile(const String& fileName) {
    TMemoryStream text;
    const String expanded = ExpandColorValues(ReadTextFile(fileName));
    text.WriteBuffer(expanded.data(), static_cast<int64_t>(expanded.size()));
    text.SetPosition(0);
    TMemoryStream data;
    try {
        ObjectTextToBinary(text, data);
    } catch (const EReadError& e) {
        Fail(fileName, 0, e.Message());
    }
    // "TPF0", then the class name as a short string.
    const auto* bytes = static_cast<const uint8_t*>(data.Memory());
    if (data.Size() < 5 || data.Size() < 5 + bytes[4]) Fail(fileName, 0, "no object");
    const String className(reinterpret_cast<const char*>(bytes + 5), bytes[4]);
    TMemoryStream record;
    WriteString(record, className);
    WriteInt32(record, static_cast<int32_t>(data.Size()));
    record.WriteBuffer(data.Memory(), data.Size());
    record.SetPosition(0);
    try {
        if (TSeSkinObject* object = LoadSkinObjectBinary(record, nullptr)) return object;
    } catch (const EReadError& e) {
        Fail(fileName, 0, e.Message());
    }
    Fail(fileName, 0, "class " + className + " is not a skin object");
}

std::vector<String> ObjectFiles(const String& folder) {
    std::vector<String> files;
    std::error_code error;
    for (const auto& item : std::filesystem::directory_iterator(folder, error)) {
        if (item.is_regular_file() && item.path().extension() == ".txt")
            files.push_back(item.path().string());
    }
    if (error) throw EReadError(folder + ": " + error.message());
    std::sort(files.begin(), files.end());
    return files;
}

}  // namespace

String ExpandColorValues(const String& text) {
    String out;
    bool first = true;
    for (const String& line : Lines(text)) {
        if (!first) out += '\n';
        first = false;
        const size_t eq = line.find(" = #");
        TColor color = clNone;
        if (eq != String::npos && WebColor(Trimmed(std::string_view(line).substr(eq + 3)), color)) {
            out += line.substr(0, eq + 3) + IntToStr(static_cast<int64_t>(color));
        } else {
            out += line;
        }
    }
    return out;
}

void BuildSkinSource(const String& sourceFolder, TSeSkinSource& source) {
    // The text form nests children as components, which the reader makes by class name.
    for (TClass c : SkinObjectClasses()) RegisterClass(c);
    TSeSkinSource fresh(nullptr);
    ReadInfo(sourceFolder + "/info.txt", fresh);
    DrawSkinImages(fresh.Bitmaps());
    const std::vector<String> files = ObjectFiles(sourceFolder + "/objects");
    if (files.empty()) throw EReadError(sourceFolder + "/objects: no object files");
    for (const String& file : files) fresh.Add(ReadObjectFile(file));
    fresh.FillColorsAndFonts();
    ReadSections(sourceFolder + "/sections.txt", fresh);
    source.Assign(&fresh);
}

void WriteMaximumSkin(TSeSkinSource& source, TStream& stream) {
    source.SaveToStream(stream, TSeSkinFilterMaxCompression::StaticClass());
}

void WriteMaximumSkin(TSeSkinSource& source, const String& fileName) {
    const size_t slash = fileName.rfind('/');
    if (slash != String::npos) ForceDirectories(fileName.substr(0, slash));
    // Whole or not at all, so that a failed run leaves no file the build takes as done.
    TMemoryStream bytes;
    WriteMaximumSkin(source, bytes);
    TFileStream file(fileName, fmCreate);
    file.WriteBuffer(bytes.Memory(), bytes.Size());
}

}  // namespace tarvel
