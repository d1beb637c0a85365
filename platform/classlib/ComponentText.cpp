#include "platform/classlib/ComponentText.h"

#include <algorithm>
#include <cstdint>

#include "platform/classlib/Filer.h"

namespace tarvel {

namespace {

constexpr size_t kBinaryLineBytes = 32;

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }

bool IsIdent(std::string_view s) {
    return !s.empty() && IsIdentStart(s[0]) && std::all_of(s.begin() + 1, s.end(), IsIdentChar);
}

// "Font.Name": identifiers joined by dots.
bool IsDottedIdent(std::string_view s) {
    for (size_t dot = s.find('.'); dot != std::string_view::npos; dot = s.find('.')) {
        if (!IsIdent(s.substr(0, dot))) return false;
        s.remove_prefix(dot + 1);
    }
    return IsIdent(s);
}

bool IsWord(std::string_view s) { return SameText(s, "True") || SameText(s, "False") || SameText(s, "Null"); }

// The length of a well-formed UTF-8 sequence of two or more bytes at `i`, else 0.
size_t Utf8SequenceAt(std::string_view s, size_t i) {
    const auto byte = [&](size_t k) { return i + k < s.size() ? static_cast<uint8_t>(s[i + k]) : 0; };
    const uint8_t b0 = byte(0);
    size_t length = 0;
    uint8_t low = 0x80, high = 0xBF;
    if (b0 >= 0xC2 && b0 <= 0xDF) {
        length = 2;
    } else if (b0 >= 0xE0 && b0 <= 0xEF) {
        length = 3;
        if (b0 == 0xE0) low = 0xA0;
        if (b0 == 0xED) high = 0x9F;
    } else if (b0 >= 0xF0 && b0 <= 0xF4) {
        length = 4;
        if (b0 == 0xF0) low = 0x90;
        if (b0 == 0xF4) high = 0x8F;
    } else {
        return 0;
    }
    if (byte(1) < low || byte(1) > high) return 0;
    for (size_t k = 2; k < length; ++k) {
        if (byte(k) < 0x80 || byte(k) > 0xBF) return 0;
    }
    return length;
}

// Printable text in quotes, every other byte as #n.
String QuoteText(std::string_view s) {
    String out;
    bool quoted = false;
    const auto quote = [&](bool on) {
        if (quoted != on) out += '\'';
        quoted = on;
    };
    for (size_t i = 0; i < s.size();) {
        const auto c = static_cast<uint8_t>(s[i]);
        const size_t sequence = c >= 0x80 ? Utf8SequenceAt(s, i) : 0;
        if ((c >= 0x20 && c < 0x7F) || sequence > 0) {
            quote(true);
            const size_t n = std::max<size_t>(sequence, 1);
            out.append(s.substr(i, n));
            if (c == '\'') out += '\'';
            i += n;
        } else {
            quote(false);
            out += '#' + IntToStr(c);
            ++i;
        }
    }
    if (out.empty()) return "''";
    quote(false);
    return out;
}

String Indent(int level) { return String(static_cast<size_t>(level) * 2, ' '); }

class BinaryToText {
public:
    explicit BinaryToText(TStream& input) : reader_(input) {}

    String Convert() {
        reader_.ReadSignature();
        ConvertObject(0);
        return std::move(out_);
    }

private:
    static void Check(bool ok, const String& what) {
        if (!ok) throw EReadError("Invalid stream format: " + what + " cannot be written as text");
    }
    static void CheckLevel(int level) {
        if (level > kMaxStreamNesting)
            throw EReadError("Component stream nested more than " + IntToStr(kMaxStreamNesting) + " deep");
    }

    void ConvertObject(int level) {
        CheckLevel(level);
        const String className = reader_.ReadStr();
        const String name = reader_.ReadStr();
        Check(IsIdent(className), "class name '" + className + "'");
        Check(name.empty() || IsIdent(name), "object name '" + name + "'");
        out_ += Indent(level) + "object " + (name.empty() ? className : name + ": " + className) + "\n";
        ConvertProperties(level + 1);
        while (!reader_.EndOfList()) ConvertObject(level + 1);
        reader_.ReadListEnd();
        out_ += Indent(level) + "end\n";
    }

    void ConvertProperties(int level) {
        while (!reader_.EndOfList()) {
            const String name = reader_.ReadStr();
            Check(IsDottedIdent(name), "property name '" + name + "'");
            out_ += Indent(level) + name + " = ";
            ConvertValue(level);
            out_ += '\n';
        }
        reader_.ReadListEnd();
    }

    void ConvertValue(int level) {
        CheckLevel(level);
        switch (const TValueType type = reader_.ReadValue()) {
            case TValueType::vaNull: out_ += "Null"; return;
            case TValueType::vaFalse: out_ += "False"; return;
            case TValueType::vaTrue: out_ += "True"; return;
            case TValueType::vaInt8:
            case TValueType::vaInt16:
            case TValueType::vaInt32: out_ += IntToStr(reader_.ReadIntegerData(type)); return;
            case TValueType::vaString:
            case TValueType::vaLString:
            case TValueType::vaWString:
            case TValueType::vaUTF8String: out_ += QuoteText(reader_.ReadStringData(type)); return;
            case TValueType::vaIdent: out_ += CheckedIdent(reader_.ReadStr()); return;
            case TValueType::vaSet: return ConvertSet();
            case TValueType::vaBinary: return ConvertBinary(level);
            case TValueType::vaList: return ConvertList(level);
            case TValueType::vaCollection: return ConvertCollection(level);
        }
    }

    static String CheckedIdent(const String& ident) {
        Check(IsIdent(ident) && !IsWord(ident), "identifier '" + ident + "'");
        return ident;
    }

    // Inside brackets True, False and Null are plain names.
    void ConvertSet() {
        out_ += '[';
        const std::vector<String> members = reader_.ReadSetData();
        for (size_t i = 0; i < members.size(); ++i) {
            Check(IsIdent(members[i]), "set member '" + members[i] + "'");
            out_ += (i ? ", " : "") + members[i];
        }
        out_ += ']';
    }

    void ConvertBinary(int level) {
        const std::vector<uint8_t> bytes = reader_.ReadBinaryData();
        out_ += '{';
        for (size_t i = 0; i < bytes.size(); ++i) {
            if (i % kBinaryLineBytes == 0) out_ += '\n' + Indent(level + 1);
            out_ += IntToHex(bytes[i], 2);
        }
        out_ += '}';
    }

    void ConvertList(int level) {
        out_ += '(';
        while (!reader_.EndOfList()) {
            out_ += '\n' + Indent(level + 1);
            ConvertValue(level + 1);
        }
        reader_.ReadListEnd();
        out_ += ')';
    }

    void ConvertCollection(int level) {
        out_ += '<';
        while (!reader_.EndOfList()) {
            CheckLevel(level + 1);
            out_ += '\n' + Indent(level + 1) + "item";
            const TValueType next = reader_.NextValue();
            if (next == TValueType::vaInt8 || next == TValueType::vaInt16 || next == TValueType::vaInt32)
                out_ += " [" + IntToStr(reader_.ReadInteger()) + "]";
            out_ += '\n';
            reader_.ReadListBegin();
            ConvertProperties(level + 2);
            out_ += Indent(level + 1) + "end";
        }
        reader_.ReadListEnd();
        out_ += '>';
    }

    TReader reader_;
    String out_;
};

class TextToBinary {
public:
    TextToBinary(String text, TStream& output) : text_(std::move(text)), writer_(output) {}

    void Convert() {
        writer_.WriteSignature();
        Next();
        try {
            ParseObject(0);
        } catch (const EWriteError& e) {
            Fail(e.Message());  // a name or identifier too long for the binary form
        }
        if (kind_ != Token::End) Fail("end of text expected");
    }

private:
    enum class Token { End, Ident, Integer, Text, Symbol };

    [[noreturn]] void Fail(const String& what) const {
        throw EReadError("Line " + IntToStr(line_) + ": " + what);
    }

    void SkipBlanks() {
        while (pos_ < text_.size() && static_cast<uint8_t>(text_[pos_]) <= ' ') {
            if (text_[pos_] == '\n') ++line_;
            ++pos_;
        }
    }

    void Next() {
        SkipBlanks();
        token_.clear();
        if (pos_ >= text_.size()) {
            kind_ = Token::End;
            return;
        }
        const char c = text_[pos_];
        if (IsIdentStart(c)) return ScanIdent();
        if (c == '-' || (c >= '0' && c <= '9')) return ScanInteger();
        if (c == '\'' || c == '#') return ScanText();
        kind_ = Token::Symbol;
        token_ = c;
        ++pos_;
    }

    void ScanIdent() {
        kind_ = Token::Ident;
        const size_t start = pos_;
        while (pos_ < text_.size() && (IsIdentChar(text_[pos_]) || text_[pos_] == '.')) ++pos_;
        token_ = text_.substr(start, pos_ - start);
    }

    void ScanInteger() {
        kind_ = Token::Integer;
        const size_t start = pos_;
        if (text_[pos_] == '-') ++pos_;
        while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9') ++pos_;
        token_ = text_.substr(start, pos_ - start);
    }

    void ScanText() {
        kind_ = Token::Text;
        while (pos_ < text_.size() && (text_[pos_] == '\'' || text_[pos_] == '#')) {
            if (text_[pos_] == '#') {
                ++pos_;
                const size_t start = pos_;
                while (pos_ < text_.size() && text_[pos_] >= '0' && text_[pos_] <= '9' && pos_ - start < 4)
                    ++pos_;
                int code = -1;
                if (pos_ == start || !TryStrToInt(text_.substr(start, pos_ - start), code) || code > 255)
                    Fail("#n with n from 0 to 255 expected");
                token_ += static_cast<char>(code);
                continue;
            }
            for (++pos_;; ++pos_) {
                if (pos_ >= text_.size() || text_[pos_] == '\n' || text_[pos_] == '\r')
                    Fail("unterminated text");
                if (text_[pos_] == '\'') {
                    if (pos_ + 1 >= text_.size() || text_[pos_ + 1] != '\'') break;
                    ++pos_;
                }
                token_ += text_[pos_];
            }
            ++pos_;
        }
    }

    bool IsSymbol(char c) const { return kind_ == Token::Symbol && token_[0] == c; }
    bool IsKeyword(std::string_view word) const { return kind_ == Token::Ident && SameText(token_, word); }
    // A property line: a name followed by '='.
    bool AtProperty() {
        if (kind_ != Token::Ident) return false;
        SkipBlanks();
        return pos_ < text_.size() && text_[pos_] == '=';
    }

    void Expect(char symbol) {
        if (!IsSymbol(symbol)) Fail(String("'") + symbol + "' expected");
        Next();
    }
    void ExpectKeyword(std::string_view word) {
        if (!IsKeyword(word)) Fail("'" + String(word) + "' expected");
        Next();
    }
    String TakeIdent() {
        if (kind_ != Token::Ident || !IsIdent(token_)) Fail("identifier expected");
        String ident = token_;
        Next();
        return ident;
    }
    int64_t TakeInteger() {
        int64_t value = 0;
        if (kind_ != Token::Integer || !TryStrToInt64(token_, value) || value < INT32_MIN ||
            value > INT32_MAX)
            Fail("integer expected");
        Next();
        return value;
    }
    void CheckLevel(int level) const {
        if (level > kMaxStreamNesting) Fail("nested more than " + IntToStr(kMaxStreamNesting) + " deep");
    }

    void ParseObject(int level) {
        CheckLevel(level);
        ExpectKeyword("object");
        String name = TakeIdent();
        String className;
        if (IsSymbol(':')) {
            Next();
            className = TakeIdent();
        } else {
            className = std::move(name);
            name.clear();
        }
        writer_.WriteStr(className);
        writer_.WriteStr(name);
        ParseProperties(level + 1);
        while (IsKeyword("object")) ParseObject(level + 1);
        ExpectKeyword("end");
        writer_.WriteListEnd();
    }

    void ParseProperties(int level) {
        while (AtProperty()) {
            if (!IsDottedIdent(token_)) Fail("property name expected");
            writer_.WriteStr(token_);
            Next();
            Expect('=');
            ParseValue(level);
        }
        writer_.WriteListEnd();
    }

    void ParseValue(int level) {
        CheckLevel(level);
        switch (kind_) {
            case Token::Integer: return writer_.WriteInteger(TakeInteger());
            case Token::Text: writer_.WriteString(token_); return Next();
            case Token::Ident: return ParseWordOrIdent();
            case Token::Symbol:
                if (IsSymbol('[')) return ParseSet();
                if (IsSymbol('{')) return ParseBinary();
                if (IsSymbol('(')) return ParseList(level);
                if (IsSymbol('<')) return ParseCollection(level);
                break;
            case Token::End: break;
        }
        Fail("value expected");
    }

    void ParseWordOrIdent() {
        if (IsKeyword("True") || IsKeyword("False")) {
            writer_.WriteBoolean(IsKeyword("True"));
            return Next();
        }
        if (IsKeyword("Null")) {
            writer_.WriteListEnd();
            return Next();
        }
        writer_.WriteIdent(TakeIdent());
    }

    void ParseSet() {
        Next();
        std::vector<String> members;
        while (!IsSymbol(']')) {
            if (!members.empty()) Expect(',');
            members.push_back(TakeIdent());
        }
        Next();
        writer_.WriteSet(members);
    }

    // Hex digits and blanks up to '}', read from the text directly.
    void ParseBinary() {
        std::vector<uint8_t> bytes;
        int high = -1;
        for (;; ++pos_) {
            SkipBlanks();
            if (pos_ >= text_.size()) Fail("'}' expected");
            const char c = text_[pos_];
            if (c == '}') break;
            int digit = -1;
            if (c >= '0' && c <= '9') digit = c - '0';
            if (c >= 'A' && c <= 'F') digit = c - 'A' + 10;
            if (c >= 'a' && c <= 'f') digit = c - 'a' + 10;
            if (digit < 0) Fail("hexadecimal digit expected");
            if (high < 0) {
                high = digit;
            } else {
                bytes.push_back(static_cast<uint8_t>(high * 16 + digit));
                high = -1;
            }
        }
        if (high >= 0) Fail("odd number of hexadecimal digits");
        ++pos_;
        writer_.WriteBinary(bytes.data(), static_cast<int64_t>(bytes.size()));
        Next();
    }

    void ParseList(int level) {
        Next();
        writer_.WriteListBegin();
        while (!IsSymbol(')')) {
            // A null would end the list early.
            if (IsKeyword("Null")) Fail("Null cannot stand in a list");
            ParseValue(level + 1);
        }
        Next();
        writer_.WriteListEnd();
    }

    void ParseCollection(int level) {
        Next();
        writer_.WriteValue(TValueType::vaCollection);
        while (!IsSymbol('>')) {
            CheckLevel(level + 1);
            ExpectKeyword("item");
            if (IsSymbol('[')) {
                Next();
                writer_.WriteInteger(TakeInteger());
                Expect(']');
            }
            writer_.WriteListBegin();
            ParseProperties(level + 2);
            ExpectKeyword("end");
        }
        Next();
        writer_.WriteListEnd();
    }

    String text_;
    size_t pos_ = 0;
    int line_ = 1;
    Token kind_ = Token::End;
    String token_;
    TWriter writer_;
};

String ReadRest(TStream& input) {
    String text;
    char buffer[4096];
    for (int64_t n; (n = input.Read(buffer, sizeof buffer)) > 0;) text.append(buffer, static_cast<size_t>(n));
    return text;
}

}  // namespace

void ObjectBinaryToText(TStream& input, TStream& output) {
    const String text = BinaryToText(input).Convert();
    output.WriteBuffer(text.data(), static_cast<int64_t>(text.size()));
}

void ObjectTextToBinary(TStream& input, TStream& output) {
    TMemoryStream binary;
    TextToBinary(ReadRest(input), binary).Convert();
    output.WriteBuffer(binary.Memory(), binary.Size());
}

}  // namespace tarvel
