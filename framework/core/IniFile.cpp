#include "framework/core/IniFile.h"

#include "framework/core/SysUtils.h"
#include "platform/system/Files.h"

#include <fstream>
#include <sstream>
#include <vector>

namespace {

constexpr size_t MaxValueLength = 2048;

// One line of the file without its '\n'; a trailing '\r' stays in text.
struct IniLine {
    std::string text;
    enum Kind { Other, Section, Key } kind = Other;
    std::string name;               // section or key name, trimmed
    size_t valueBegin = 0, valueEnd = 0;   // the trimmed value's bytes in text
};

struct IniText {
    std::vector<IniLine> lines;
    bool endsWithNewline = true;
    bool crlf = false;
};

bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

IniLine Classify(std::string text)
{
    IniLine l;
    l.text = std::move(text);
    const std::string& t = l.text;
    size_t b = 0, e = t.size();
    while (b < e && IsBlank(t[b]))
        ++b;
    while (e > b && IsBlank(t[e - 1]))
        --e;
    if (b == e || t[b] == ';')
        return l;
    if (t[b] == '[') {
        size_t close = t.find(']', b + 1);
        l.kind = IniLine::Section;
        l.name = Trim(t.substr(b + 1, (close == std::string::npos ? e : close) - b - 1));
        return l;
    }
    size_t eq = t.find('=', b);
    if (eq == std::string::npos || eq >= e)
        return l;
    l.kind = IniLine::Key;
    l.name = Trim(t.substr(b, eq - b));
    size_t vb = eq + 1;
    while (vb < e && IsBlank(t[vb]))
        ++vb;
    l.valueBegin = vb;
    l.valueEnd = e;
    return l;
}

IniText Load(const std::string& fileName)
{
    IniText ini;
    std::ifstream in(fileName, std::ios::binary);
    if (!in)
        return ini;
    std::ostringstream ss;
    ss << in.rdbuf();
    std::string all = ss.str();
    if (all.empty())
        return ini;
    size_t start = 0;
    while (start < all.size()) {
        size_t nl = all.find('\n', start);
        if (nl == std::string::npos) {
            ini.lines.push_back(Classify(all.substr(start)));
            ini.endsWithNewline = false;
            break;
        }
        ini.lines.push_back(Classify(all.substr(start, nl - start)));
        start = nl + 1;
    }
    ini.crlf = !ini.lines.empty() && !ini.lines[0].text.empty() && ini.lines[0].text.back() == '\r'
        && (ini.lines.size() > 1 || ini.endsWithNewline);
    return ini;
}

// The first section of that name, or -1; end receives the index after its last line.
int FindSection(const IniText& ini, const std::string& section, size_t& end)
{
    std::string name = Trim(section);
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        if (ini.lines[i].kind == IniLine::Section && SameText(ini.lines[i].name, name)) {
            end = i + 1;
            while (end < ini.lines.size() && ini.lines[end].kind != IniLine::Section)
                ++end;
            return int(i);
        }
    }
    return -1;
}

const IniLine* FindKey(const IniText& ini, const std::string& section, const std::string& key)
{
    size_t end = 0;
    int s = FindSection(ini, section, end);
    if (s < 0)
        return nullptr;
    std::string name = Trim(key);
    for (size_t i = size_t(s) + 1; i < end; ++i)
        if (ini.lines[i].kind == IniLine::Key && SameText(ini.lines[i].name, name))
            return &ini.lines[i];
    return nullptr;
}

// Replaces the file with the lines; a failure raises the error with `failure` as message.
void Save(const IniText& ini, const std::string& fileName, const std::string& failure)
{
    std::string out;
    for (size_t i = 0; i < ini.lines.size(); ++i) {
        out += ini.lines[i].text;
        if (i + 1 < ini.lines.size() || ini.endsWithNewline)
            out += '\n';
    }
    std::string reason;
    if (!plat::WriteFileAtomic(fileName, out, &reason))
        throw EIniFileException(failure);
}

bool HasLineBreak(const std::string& s)
{
    return s.find_first_of("\r\n") != std::string::npos;
}

} // namespace

TIniFile::TIniFile(const std::string& fileName)
    : FFileName(fileName)
{
}

std::string TIniFile::ReadString(const std::string& section, const std::string& key,
    const std::string& def) const
{
    IniText ini = Load(FFileName);
    const IniLine* l = FindKey(ini, section, key);
    if (!l)
        return def;
    size_t n = l->valueEnd - l->valueBegin;
    return l->text.substr(l->valueBegin, n < MaxValueLength ? n : MaxValueLength);
}

int32_t TIniFile::ReadInteger(const std::string& section, const std::string& key, int32_t def) const
{
    std::string s = ReadString(section, key, "");
    if (s.size() > 2 && s[0] == '0' && (s[1] == 'x' || s[1] == 'X'))
        s = "$" + s.substr(2);
    if (s.empty())
        return def;
    // Only a sign, digits and "$" hex are numbers here; StrToInt's "0x" form was mapped
    // above and blanks were trimmed by the read.
    size_t i = (s[0] == '-' || s[0] == '+') ? 1 : 0;
    if (i < s.size() && s[i] == '0' && i + 1 < s.size() && (s[i + 1] == 'x' || s[i + 1] == 'X'))
        return def;
    if (s[0] == ' ' || s[0] == '\t')
        return def;
    int32_t v;
    return TryStrToInt(s, v) ? v : def;
}

bool TIniFile::ReadBool(const std::string& section, const std::string& key, bool def) const
{
    return ReadInteger(section, key, def ? 1 : 0) != 0;
}

void TIniFile::WriteString(const std::string& section, const std::string& key,
    const std::string& value)
{
    std::string sec = Trim(section), name = Trim(key);
    std::string failure = Format("Impossible d'écrire dans %s", ExpandFileName(FFileName));
    // A name or value that would break the line structure cannot be stored faithfully.
    if (sec.empty() || name.empty() || HasLineBreak(sec) || HasLineBreak(name)
        || HasLineBreak(value) || sec.find(']') != std::string::npos
        || name.find('=') != std::string::npos || name[0] == '[' || name[0] == ';')
        throw EIniFileException(failure);
    std::string val = Trim(value);

    IniText ini = Load(FFileName);
    std::string eol = ini.crlf ? "\r" : "";
    size_t end = 0;
    int s = FindSection(ini, sec, end);
    if (s < 0) {
        ini.lines.push_back(Classify("[" + sec + "]" + eol));
        ini.lines.push_back(Classify(name + "=" + val + eol));
    } else {
        IniLine* found = nullptr;
        size_t lastKey = size_t(s);
        for (size_t i = size_t(s) + 1; i < end; ++i) {
            if (ini.lines[i].kind != IniLine::Key)
                continue;
            lastKey = i;
            if (!found && SameText(ini.lines[i].name, name))
                found = &ini.lines[i];
        }
        if (found) {
            found->text.replace(found->valueBegin, found->valueEnd - found->valueBegin, val);
        } else {
            ini.lines.insert(ini.lines.begin() + std::ptrdiff_t(lastKey + 1),
                Classify(name + "=" + val + eol));
            if (lastKey + 1 == ini.lines.size() - 1)
                ini.endsWithNewline = true;
        }
    }
    if (s < 0)
        ini.endsWithNewline = true;
    Save(ini, FFileName, failure);
}

void TIniFile::DeleteKey(const std::string& section, const std::string& key)
{
    IniText ini = Load(FFileName);
    size_t end = 0;
    int s = FindSection(ini, section, end);
    if (s < 0)
        return;
    std::string name = Trim(key);
    size_t before = ini.lines.size();
    for (size_t i = end; i-- > size_t(s) + 1;)
        if (ini.lines[i].kind == IniLine::Key && SameText(ini.lines[i].name, name))
            ini.lines.erase(ini.lines.begin() + std::ptrdiff_t(i));
    if (ini.lines.size() == before)
        return;
    Save(ini, FFileName, Format("Impossible d'écrire dans %s", ExpandFileName(FFileName)));
}

void TIniFile::WriteInteger(const std::string& section, const std::string& key, int32_t value)
{
    WriteString(section, key, IntToStr(value));
}

void TIniFile::WriteBool(const std::string& section, const std::string& key, bool value)
{
    WriteString(section, key, value ? "1" : "0");
}

bool TIniFile::SectionExists(const std::string& section) const
{
    IniText ini = Load(FFileName);
    size_t end = 0;
    int s = FindSection(ini, section, end);
    if (s < 0)
        return false;
    for (size_t i = size_t(s) + 1; i < end; ++i)
        if (ini.lines[i].kind == IniLine::Key)
            return true;
    return false;
}

bool TIniFile::ValueExists(const std::string& section, const std::string& key) const
{
    IniText ini = Load(FFileName);
    return FindKey(ini, section, key) != nullptr;
}
