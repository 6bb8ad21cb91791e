#include "framework/core/FormText_p.h"

#include "framework/core/SysUtils.h"

#include <array>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>

namespace {

bool IsIdentStart(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || c == '_'; }
bool IsIdentChar(char c) { return IsIdentStart(c) || (c >= '0' && c <= '9'); }
// The value of each byte as a hex digit, or -1.
constexpr auto HexValues = [] {
    std::array<int8_t, 256> values {};
    for (int c = 0; c < 256; ++c)
        values[c] = c >= '0' && c <= '9' ? int8_t(c - '0')
            : c >= 'a' && c <= 'f'       ? int8_t(c - 'a' + 10)
            : c >= 'A' && c <= 'F'       ? int8_t(c - 'A' + 10)
                                         : int8_t(-1);
    return values;
}();

int HexDigit(char c) { return HexValues[static_cast<unsigned char>(c)]; }

void AppendUtf8(std::string& out, uint32_t cp)
{
    if (cp < 0x80) {
        out += char(cp);
    } else if (cp < 0x800) {
        out += char(0xC0 | (cp >> 6));
        out += char(0x80 | (cp & 0x3F));
    } else if (cp < 0x10000) {
        out += char(0xE0 | (cp >> 12));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    } else {
        out += char(0xF0 | (cp >> 18));
        out += char(0x80 | ((cp >> 12) & 0x3F));
        out += char(0x80 | ((cp >> 6) & 0x3F));
        out += char(0x80 | (cp & 0x3F));
    }
}

// Length of the well-formed UTF-8 sequence of two or more bytes at s[i], or 0.
size_t Utf8SequenceLength(const std::string& s, size_t i)
{
    auto b = [&](size_t k) { return static_cast<unsigned char>(s[k]); };
    unsigned char c = b(i);
    size_t n;
    uint32_t cp;
    if (c >= 0xC2 && c <= 0xDF) { n = 2; cp = c & 0x1F; }
    else if (c >= 0xE0 && c <= 0xEF) { n = 3; cp = c & 0x0F; }
    else if (c >= 0xF0 && c <= 0xF4) { n = 4; cp = c & 0x07; }
    else return 0;
    if (i + n > s.size())
        return 0;
    for (size_t k = 1; k < n; ++k) {
        if ((b(i + k) & 0xC0) != 0x80)
            return 0;
        cp = (cp << 6) | (b(i + k) & 0x3F);
    }
    // Overlong forms, surrogates and values past U+10FFFF are not text.
    if ((n == 3 && cp < 0x800) || (n == 4 && (cp < 0x10000 || cp > 0x10FFFF))
        || (cp >= 0xD800 && cp <= 0xDFFF))
        return 0;
    return n;
}

class Parser {
public:
    explicit Parser(const std::string& text) : s(text) { }

    TFormObject ParseRoot()
    {
        SkipBlanks();
        TFormObject root = ParseObject();
        SkipBlanks();
        if (pos < s.size())
            Fail("Unexpected text after the last end");
        return root;
    }

private:
    [[noreturn]] void Fail(const std::string& msg) const
    {
        throw EReadError(Format("Line %d: %s", line, msg));
    }

    void SkipBlanks()
    {
        while (pos < s.size()) {
            char c = s[pos];
            if (c == '\n')
                ++line;
            else if (c != ' ' && c != '\t' && c != '\r')
                break;
            ++pos;
        }
    }

    // Blanks that do not end the line.
    void SkipSpaces()
    {
        while (pos < s.size() && (s[pos] == ' ' || s[pos] == '\t' || s[pos] == '\r'))
            ++pos;
    }

    std::string Ident()
    {
        if (pos >= s.size() || !IsIdentStart(s[pos]))
            Fail("Identifier expected");
        size_t start = pos;
        while (pos < s.size() && IsIdentChar(s[pos]))
            ++pos;
        return s.substr(start, pos - start);
    }

    void Expect(char c, const char* what)
    {
        SkipSpaces();
        if (pos >= s.size() || s[pos] != c)
            Fail(Format("%s expected", what));
        ++pos;
    }

    void EndOfLine()
    {
        SkipSpaces();
        if (pos < s.size() && s[pos] != '\n')
            Fail("End of line expected");
    }

    TFormObject ParseObject()
    {
        TFormObject obj;
        obj.line = line;
        obj.keyword = Ident();
        if (!SameText(obj.keyword, "object") && !SameText(obj.keyword, "inherited")
            && !SameText(obj.keyword, "inline"))
            Fail("'object' expected");
        SkipSpaces();
        std::string first = Ident();
        SkipSpaces();
        if (pos < s.size() && s[pos] == ':') {
            ++pos;
            SkipSpaces();
            obj.name = first;
            obj.className = Ident();
        } else {
            obj.className = first;
        }
        EndOfLine();
        for (;;) {
            SkipBlanks();
            if (pos >= s.size())
                Fail("'end' expected");
            size_t save = pos;
            std::string word = Ident();
            if (SameText(word, "end")) {
                EndOfLine();
                return obj;
            }
            if (SameText(word, "object") || SameText(word, "inherited") || SameText(word, "inline")) {
                pos = save;
                obj.children.push_back(ParseObject());
                continue;
            }
            TFormProperty prop;
            prop.line = line;
            prop.name = word;
            while (pos < s.size() && s[pos] == '.') {
                ++pos;
                prop.name += '.' + Ident();
            }
            Expect('=', "'='");
            SkipSpaces();
            prop.value = ParseValue();
            EndOfLine();
            obj.properties.push_back(std::move(prop));
        }
    }

    TFormValue ParseValue()
    {
        TFormValue v;
        v.line = line;
        if (pos >= s.size() || s[pos] == '\n')
            Fail("Property value expected");
        char c = s[pos];
        if (c == '\'' || c == '#') {
            v.kind = TFormValue::vaString;
            v.text = ParseString();
            // 'part one' +
            //   'part two'
            for (;;) {
                size_t save = pos;
                int saveLine = line;
                SkipSpaces();
                if (pos < s.size() && s[pos] == '+') {
                    ++pos;
                    SkipBlanks();
                    v.text += ParseString();
                } else {
                    pos = save;
                    line = saveLine;
                    break;
                }
            }
        } else if (c == '-' || c == '+' || c == '$' || (c >= '0' && c <= '9')) {
            ParseNumber(v);
        } else if (c == '[') {
            v.kind = TFormValue::vaSet;
            ++pos;
            SkipSpaces();
            if (pos < s.size() && s[pos] == ']') {
                ++pos;
                return v;
            }
            for (;;) {
                SkipSpaces();
                v.items.push_back(Ident());
                SkipSpaces();
                if (pos < s.size() && s[pos] == ',') {
                    ++pos;
                    continue;
                }
                Expect(']', "']'");
                break;
            }
        } else if (c == '{') {
            v.kind = TFormValue::vaBinary;
            ++pos;
            // A form's pictures are long lines of hex pairs: room for all, and the pairs
            // between blanks decoded in one run.
            const size_t close = s.find('}', pos);
            v.text.reserve(((close == std::string::npos ? s.size() : close) - pos) / 2);
            int pending = -1;
            for (;;) {
                if (pending < 0) {
                    const char* p = s.data() + pos;
                    const char* const end = s.data() + s.size();
                    for (; end - p >= 2; p += 2) {
                        const int high = HexDigit(p[0]), low = HexDigit(p[1]);
                        if ((high | low) < 0)
                            break;
                        v.text += char(high << 4 | low);
                    }
                    pos = size_t(p - s.data());
                }
                SkipBlanks();
                if (pos >= s.size())
                    Fail("'}' expected");
                if (s[pos] == '}') {
                    ++pos;
                    break;
                }
                int d = HexDigit(s[pos]);
                if (d < 0)
                    Fail("Invalid binary value");
                ++pos;
                if (pending < 0) {
                    pending = d;
                } else {
                    v.text += char(pending * 16 + d);
                    pending = -1;
                }
            }
            if (pending >= 0)
                Fail("Odd number of hex digits in a binary value");
        } else if (c == '(') {
            v.kind = TFormValue::vaList;
            ++pos;
            for (;;) {
                SkipBlanks();
                if (pos >= s.size())
                    Fail("')' expected");
                if (s[pos] == ')') {
                    ++pos;
                    break;
                }
                if (++depth > 32)
                    Fail("Lists nested too deeply");
                v.list.push_back(ParseValue());
                --depth;
            }
        } else if (IsIdentStart(c)) {
            v.kind = TFormValue::vaIdent;
            v.text = Ident();
        } else {
            Fail("Invalid property value");
        }
        return v;
    }

    void ParseNumber(TFormValue& v)
    {
        size_t start = pos;
        if (s[pos] == '-' || s[pos] == '+')
            ++pos;
        bool hex = pos < s.size() && s[pos] == '$';
        if (hex)
            ++pos;
        bool isFloat = false;
        while (pos < s.size()) {
            char c = s[pos];
            if ((c >= '0' && c <= '9') || (hex && HexDigit(c) >= 0)) {
                ++pos;
            } else if (!hex && (c == '.' || c == 'e' || c == 'E')) {
                isFloat = true;
                ++pos;
                if ((c == 'e' || c == 'E') && pos < s.size() && (s[pos] == '-' || s[pos] == '+'))
                    ++pos;
            } else {
                break;
            }
        }
        std::string text = s.substr(start, pos - start);
        if (isFloat) {
            char* end = nullptr;
            errno = 0;
            v.kind = TFormValue::vaFloat;
            v.floatValue = std::strtod(text.c_str(), &end);
            if (end != text.c_str() + text.size() || errno == ERANGE)
                Fail("Invalid number " + text);
        } else {
            v.kind = TFormValue::vaInt;
            if (!TryStrToInt64(text, v.intValue))
                Fail("Invalid number " + text);
        }
    }

    std::string ParseString()
    {
        std::string out;
        bool any = false;
        while (pos < s.size()) {
            if (s[pos] == '\'') {
                any = true;
                ++pos;
                for (;;) {
                    if (pos >= s.size() || s[pos] == '\n')
                        Fail("Unterminated string");
                    if (s[pos] == '\'') {
                        if (pos + 1 < s.size() && s[pos + 1] == '\'') {
                            out += '\'';
                            pos += 2;
                            continue;
                        }
                        ++pos;
                        break;
                    }
                    out += s[pos++];
                }
            } else if (s[pos] == '#') {
                any = true;
                ++pos;
                uint32_t code = 0;
                size_t digits = 0;
                bool hex = pos < s.size() && s[pos] == '$';
                if (hex)
                    ++pos;
                while (pos < s.size() && (hex ? HexDigit(s[pos]) >= 0 : (s[pos] >= '0' && s[pos] <= '9'))) {
                    code = code * (hex ? 16 : 10) + uint32_t(HexDigit(s[pos]));
                    ++pos;
                    if (++digits > 7)
                        Fail("Invalid character code");
                }
                if (digits == 0 || code > 0x10FFFF)
                    Fail("Invalid character code");
                if (code <= 255)
                    out += char(code);
                else
                    AppendUtf8(out, code);
            } else {
                break;
            }
        }
        if (!any)
            Fail("String expected");
        return out;
    }

    const std::string& s;
    size_t pos = 0;
    int line = 1;
    int depth = 0;
};

} // namespace

TFormObject ParseFormText(const std::string& text)
{
    return Parser(text).ParseRoot();
}

std::string QuoteFormString(const std::string& bytes)
{
    std::string out;
    bool open = false;
    for (size_t i = 0; i < bytes.size();) {
        unsigned char c = static_cast<unsigned char>(bytes[i]);
        size_t seq = c >= 0x80 ? Utf8SequenceLength(bytes, i) : 0;
        if ((c >= 32 && c < 127) || seq > 0) {
            if (!open)
                out += '\'';
            open = true;
            size_t n = seq > 0 ? seq : 1;
            if (c == '\'')
                out += "''";
            else
                out.append(bytes, i, n);
            i += n;
        } else {
            if (open)
                out += '\'';
            open = false;
            out += '#' + std::to_string(c);
            ++i;
        }
    }
    if (open)
        out += '\'';
    if (out.empty())
        out = "''";
    return out;
}

std::string FormatFormFloat(double value)
{
    if (!std::isfinite(value))
        throw EWriteError("A floating-point value that is not finite cannot be written");
    char buf[64];
    for (int prec = 1; prec <= 17; ++prec) {
        std::snprintf(buf, sizeof buf, "%.*g", prec, value);
        if (std::strtod(buf, nullptr) == value)
            break;
    }
    std::string s = buf;
    // Keep a decimal point or exponent so the text reads as a float.
    if (s.find_first_of(".eEn") == std::string::npos)
        s += ".0";
    return s;
}
