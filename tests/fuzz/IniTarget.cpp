// The settings-file reader: the input is the whole file. Every section and key that the
// file names is read, one of them is written, and everything is read again: the written
// key gives back what was written and no other key changes. A refused write leaves the
// file byte for byte as it was.

#include "FuzzTargets.h"

#include "framework/core/IniFile.h"
#include "framework/core/SysUtils.h"

#include <filesystem>
#include <fstream>
#include <iterator>
#include <optional>
#include <string>
#include <unistd.h>
#include <utility>
#include <vector>

namespace fuzz {

namespace {

// A value that is there reads the same whatever the default; a missing one gives the
// default back. Two different defaults tell the two apart even when the file holds one.
const std::string Missing = "\x01missing\x02";
const std::string Absent = "\x03" "absent" "\x04";

std::optional<std::string> Read(const TIniFile& ini, const std::string& section, const std::string& key)
{
    std::string a = ini.ReadString(section, key, Missing);
    std::string b = ini.ReadString(section, key, Absent);
    FUZZ_CHECK((a == Missing && b == Absent) || a == b);
    if (a == Missing && b == Absent)
        return std::nullopt;
    return a;
}

std::string FilePath()
{
    namespace fs = std::filesystem;
    // Memory-backed when the machine has it: every write flushes the file to its disk.
    static const fs::path dir = fs::is_directory("/dev/shm") ? fs::path("/dev/shm") : fs::temp_directory_path();
    static const std::string path = (dir / ("metronome-fuzz-ini-" + std::to_string(getpid()) + ".ini")).string();
    return path;
}

void WriteAll(const std::string& path, const std::string& bytes)
{
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), std::streamsize(bytes.size()));
}

std::string ReadAll(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

using Names = std::pair<std::string, std::string>;

// Section and key names as a reader of the file would see them, plus the program's own.
std::vector<Names> NamesIn(const std::string& text)
{
    std::vector<Names> names { { "Config", "Tempo" }, { "Form.Position", "top" } };
    std::string section;
    size_t start = 0;
    while (start < text.size() && names.size() < 12) {
        size_t nl = text.find('\n', start);
        std::string line = text.substr(start, nl == std::string::npos ? nl : nl - start);
        start = nl == std::string::npos ? text.size() : nl + 1;
        std::string t = Trim(line);
        if (!t.empty() && t[0] == '[') {
            section = t.substr(1, t.find(']') == std::string::npos ? std::string::npos : t.find(']') - 1);
        } else if (size_t eq = line.find('='); eq != std::string::npos) {
            names.emplace_back(section, line.substr(0, eq));
        }
    }
    return names;
}

bool Same(const Names& a, const Names& b)
{
    return SameText(Trim(a.first), Trim(b.first)) && SameText(Trim(a.second), Trim(b.second));
}

std::vector<std::optional<std::string>> ReadEach(const TIniFile& ini, const std::vector<Names>& names)
{
    std::vector<std::optional<std::string>> values;
    for (const Names& n : names) {
        std::optional<std::string> v = Read(ini, n.first, n.second);
        FUZZ_CHECK(!v || v->size() <= 2048);
        FUZZ_CHECK(ini.ValueExists(n.first, n.second) == v.has_value());
        if (v)
            FUZZ_CHECK(ini.SectionExists(n.first));
        values.push_back(std::move(v));
    }
    return values;
}

// Writes through call, then checks the written key and every other one.
template <class Write>
void WriteAndCheck(TIniFile& ini, const std::vector<Names>& names, const Names& target,
    const std::string& expected, Write write)
{
    const std::string path = ini.FileName();
    std::vector<std::optional<std::string>> before = ReadEach(ini, names);
    std::string bytes = ReadAll(path);
    try {
        write();
    } catch (const EIniFileException&) {
        FUZZ_CHECK(ReadAll(path) == bytes);
        return;
    }
    FUZZ_CHECK(Read(ini, target.first, target.second) == expected.substr(0, 2048));
    std::vector<std::optional<std::string>> after = ReadEach(ini, names);
    for (size_t i = 0; i < names.size(); ++i) {
        if (!Same(names[i], target))
            FUZZ_CHECK(after[i] == before[i]);
    }
}

} // namespace

int Ini(const uint8_t* data, size_t size)
{
    const std::string path = FilePath();
    std::string text(reinterpret_cast<const char*>(data), size);
    WriteAll(path, text);
    TIniFile ini(path);
    std::vector<Names> names = NamesIn(text);

    // Each integer read agrees with the string it was read from when that is plain decimal.
    for (const Names& n : names) {
        std::string s = ini.ReadString(n.first, n.second, "");
        int32_t v = ini.ReadInteger(n.first, n.second, -7);
        if (!s.empty() && s.size() < 10 && s.find_first_not_of("0123456789") == std::string::npos)
            FUZZ_CHECK(v == std::stoi(s));
    }

    // A string value taken from the file's last bytes, line breaks left out.
    std::string value = text.substr(text.size() > 40 ? text.size() - 40 : 0);
    std::string clean;
    for (char c : value)
        if (c != '\r' && c != '\n')
            clean += c;
    const Names& target = names[size % names.size()];
    WriteAndCheck(ini, names, target, Trim(clean),
        [&] { ini.WriteString(target.first, target.second, clean); });

    const int32_t number = int32_t(size * 2654435761u);
    const Names counted { target.first, "FuzzCount" };
    WriteAndCheck(ini, names, counted, IntToStr(number),
        [&] { ini.WriteInteger(counted.first, counted.second, number); });
    if (ini.ValueExists(counted.first, counted.second))
        FUZZ_CHECK(ini.ReadInteger(counted.first, counted.second, number + 1) == number);

    // A new section at the end of whatever the file held.
    const Names fresh { "FuzzSection", "Key" };
    WriteAndCheck(ini, names, fresh, "1", [&] { ini.WriteBool(fresh.first, fresh.second, true); });
    FUZZ_CHECK(ini.ReadBool(fresh.first, fresh.second, false));

    std::filesystem::remove(path);
    return 0;
}

} // namespace fuzz
