#include "skin/extras/te_dialogs_file.h"

#include <deque>

#include "platform/base/Folders.h"
#include "platform/base/Paths.h"

namespace tarvel {

std::vector<String> SplitMasks(const String& maskText) {
    std::vector<String> masks;
    size_t start = 0;
    while (start <= maskText.size()) {
        size_t end = maskText.find(';', start);
        if (end == String::npos) end = maskText.size();
        const String mask = Trim(maskText.substr(start, end - start));
        if (!mask.empty()) masks.push_back(mask);
        start = end + 1;
    }
    return masks;
}

std::vector<TTeFileType> ParseFilter(const String& filter) {
    std::vector<TTeFileType> types;
    String rest = filter;
    for (size_t bar = rest.find('|'); bar != String::npos; bar = rest.find('|')) {
        TTeFileType type;
        type.description = rest.substr(0, bar);
        const size_t next = rest.find('|', bar + 1);
        type.maskText = rest.substr(bar + 1, next == String::npos ? String::npos : next - bar - 1);
        type.masks = SplitMasks(type.maskText);
        types.push_back(std::move(type));
        rest = next == String::npos ? String() : rest.substr(next + 1);
    }
    return types;
}

bool MatchesMask(const String& name, const String& mask) { return MatchesMasks(name, {mask}); }

bool HasExtension(const String& name) {
    const size_t dot = name.rfind('.');
    return dot != String::npos && dot > 0 && dot + 1 < name.size();
}

String SaveExtension(const TTeFileType* type, const String& defaultExt) {
    if (type && type->masks.size() == 1 && type->maskText.find(';') == String::npos) {
        const String& mask = type->masks[0];
        const size_t dot = mask.rfind('.');
        if (dot != String::npos && dot + 1 < mask.size() && mask.find_first_of("*?[", dot) == String::npos)
            return mask.substr(dot);
    }
    const String ext = Trim(defaultExt);
    if (ext.empty() || ext == "." || ext.find_first_of("*?") != String::npos) return String();
    return ext.find('.') == String::npos ? "." + ext : ext;
}

String CompleteFileName(const String& path, const String& extension) {
    if (extension.empty() || HasExtension(ExtractFileName(path))) return path;
    return path + extension;
}

std::vector<String> SplitNameList(const String& text) {
    std::vector<String> names;
    size_t i = 0;
    for (;;) {
        for (;;) {
            while (i < text.size() && static_cast<unsigned char>(text[i]) <= ' ') ++i;
            if (text.compare(i, 2, "\"\"") == 0)
                i += 2;
            else
                break;
        }
        String name;
        bool quoted = false;
        while (i < text.size() && (quoted || static_cast<unsigned char>(text[i]) > ' ')) {
            if (text[i] == '"')
                quoted = !quoted;
            else
                name += text[i];
            ++i;
        }
        if (name.empty()) return names;
        names.push_back(std::move(name));
    }
}

String QuoteFileName(const String& name) {
    if (name.find(' ') == String::npos || (!name.empty() && name[0] == '"')) return name;
    return "\"" + name + "\"";
}

bool ValidFileName(const String& name) {
    return !name.empty() && name.find_first_of("<>\"?*|") == String::npos;
}

bool DirExists(const String& name) { return !name.empty() && DirectoryExists(name); }

String RemoveBackSlash(const String& path) {
    if (path.size() > 1 && path.back() == '/') return path.substr(0, path.size() - 1);
    return path;
}

String ShortToLongFileName(const String& name) {
    return FileExists(name) || DirectoryExists(name) ? ExtractFileName(RemoveBackSlash(name)) : String();
}
String LongToShortFileName(const String& name) { return ShortToLongFileName(name); }

String ShortToLongPath(const String& path) {
    // Walking the components from the root keeps the ones that exist.
    String out, walked;
    size_t start = 0;
    while (start <= path.size()) {
        size_t end = path.find('/', start);
        if (end == String::npos) end = path.size();
        const String part = path.substr(start, end - start);
        walked += (start == 0 ? "" : "/") + part;
        if (start != 0) out += "/";
        if (start == 0 || part.empty())
            out += part;
        else
            out += ShortToLongFileName(walked);
        start = end + 1;
    }
    return out;
}
String LongToShortPath(const String& path) { return ShortToLongPath(path); }

String MinimizeName(const String& name, TCanvas& canvas, int maxWidth) {
    const String file = ExtractFileName(name);
    const String folder = name.substr(0, name.size() - file.size());
    bool rooted = !folder.empty() && folder[0] == '/';
    bool dots = false;
    std::deque<String> levels;
    for (size_t start = rooted ? 1 : 0; start < folder.size();) {
        const size_t end = folder.find('/', start);
        levels.push_back(folder.substr(start, end - start));
        start = end + 1;
    }
    auto render = [&] {
        String out = rooted ? "/" : "";
        if (dots) out += ".../";
        for (const String& level : levels) out += level + "/";
        return out + file;
    };
    String text = render();
    while (canvas.TextWidth(text) > maxWidth) {
        // Whether "..." was put in is remembered, never read back from the
        // text: a real folder may start with a dot.
        if (!levels.empty()) {
            levels.pop_front();
            dots = true;
        } else if (rooted) {
            rooted = false;
        } else if (dots) {
            dots = false;
        } else {
            break;
        }
        text = render();
    }
    return text;
}

}  // namespace tarvel
