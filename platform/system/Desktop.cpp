#include "platform/system/Desktop.h"

#include "platform/system/Process.h"

#include <algorithm>
#include <cctype>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <set>

namespace plat::desktop {

namespace fs = std::filesystem;

namespace {

// Key files larger than this are not desktop files; they are not read.
constexpr std::streamsize MaxKeyFileBytes = 1 << 20;

using Group = std::map<std::string, std::string>;

std::string Env(const char* name)
{
    const char* v = std::getenv(name);
    return v ? v : "";
}

std::vector<std::string> Split(const std::string& s, char sep)
{
    std::vector<std::string> parts;
    size_t at = 0;
    while (at <= s.size()) {
        size_t next = s.find(sep, at);
        if (next == std::string::npos)
            next = s.size();
        if (next > at)
            parts.push_back(s.substr(at, next - at));
        at = next + 1;
    }
    return parts;
}

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

// An XDG base directory: the variable when it holds an absolute path, else the default
// below $HOME (empty when there is no home either).
std::string BaseHome(const char* var, const char* belowHome)
{
    std::string v = Env(var);
    if (!v.empty() && v[0] == '/')
        return v;
    std::string home = Env("HOME");
    return home.empty() ? "" : home + belowHome;
}

std::vector<std::string> BaseDirs(const char* var, const char* defaults)
{
    std::vector<std::string> dirs;
    for (const std::string& d : Split(Env(var), ':'))
        if (d[0] == '/')
            dirs.push_back(d);
    return dirs.empty() ? Split(defaults, ':') : dirs;
}

std::string DataHome()
{
    return BaseHome("XDG_DATA_HOME", "/.local/share");
}
std::vector<std::string> DataDirs()
{
    return BaseDirs("XDG_DATA_DIRS", "/usr/local/share:/usr/share");
}

std::vector<std::string> ApplicationDirs()
{
    std::vector<std::string> dirs;
    if (std::string home = DataHome(); !home.empty())
        dirs.push_back(home + "/applications");
    for (const std::string& d : DataDirs())
        dirs.push_back(d + "/applications");
    return dirs;
}

// String values escape space, newline, tab, return and backslash; other sequences stay.
std::string Unescape(const std::string& v)
{
    std::string out;
    for (size_t i = 0; i < v.size(); ++i) {
        if (v[i] != '\\' || i + 1 == v.size()) {
            out += v[i];
            continue;
        }
        char c = v[++i];
        switch (c) {
        case 's':
            out += ' ';
            break;
        case 'n':
            out += '\n';
            break;
        case 't':
            out += '\t';
            break;
        case 'r':
            out += '\r';
            break;
        case '\\':
            out += '\\';
            break;
        default:
            out += '\\';
            out += c;
            break;
        }
    }
    return out;
}

std::string Trim(const std::string& s)
{
    size_t b = s.find_first_not_of(" \t\r");
    size_t e = s.find_last_not_of(" \t\r");
    return b == std::string::npos ? "" : s.substr(b, e - b + 1);
}

// One group of a key file; keys with a locale suffix are left out.
std::optional<Group> ReadGroup(const fs::path& path, const std::string& group)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec) || fs::file_size(path, ec) > uintmax_t(MaxKeyFileBytes))
        return std::nullopt;
    std::ifstream in(path);
    if (!in)
        return std::nullopt;
    Group values;
    bool found = false, inside = false;
    std::string line;
    while (std::getline(in, line)) {
        line = Trim(line);
        if (line.empty() || line[0] == '#')
            continue;
        if (line[0] == '[') {
            inside = line == "[" + group + "]";
            found = found || inside;
            continue;
        }
        size_t eq = line.find('=');
        if (!inside || eq == std::string::npos)
            continue;
        std::string key = Trim(line.substr(0, eq));
        if (key.find('[') == std::string::npos && !values.count(key))
            values[key] = Unescape(Trim(line.substr(eq + 1)));
    }
    return found ? std::optional(values) : std::nullopt;
}

struct EntryFile {
    std::string id;
    fs::path path;
};

// The .desktop files of one applications folder, sorted by id.
std::vector<EntryFile> EntryFiles(const std::string& dir)
{
    std::vector<EntryFile> files;
    std::error_code ec;
    fs::recursive_directory_iterator it(dir, fs::directory_options::skip_permission_denied, ec);
    for (; !ec && it != fs::recursive_directory_iterator(); it.increment(ec)) {
        if (it.depth() > 3) {
            it.disable_recursion_pending();
            continue;
        }
        const fs::path& p = it->path();
        if (p.extension() != ".desktop" || !it->is_regular_file(ec))
            continue;
        std::string id = p.lexically_relative(dir).generic_string();
        std::replace(id.begin(), id.end(), '/', '-');
        files.push_back({ id, p });
    }
    std::sort(files.begin(), files.end(), [](auto& a, auto& b) { return a.id < b.id; });
    return files;
}

std::string BaseName(const std::string& path)
{
    size_t slash = path.find_last_of('/');
    return slash == std::string::npos ? path : path.substr(slash + 1);
}

// The program an Exec line starts: its first word, past a leading `env VAR=value ...`.
std::string ExecProgram(const std::string& exec)
{
    std::vector<std::string> words = SplitExec(exec);
    size_t i = 0;
    if (i < words.size() && BaseName(words[i]) == "env")
        for (++i; i < words.size() && words[i].find('=') != std::string::npos; ++i) { }
    return i < words.size() ? BaseName(words[i]) : "";
}

// Visits the usable entries in precedence order; an id seen once shadows later folders,
// also when its first file is hidden. Stops when `take` returns true.
template <class Take> std::optional<DesktopEntry> ScanEntries(Take take)
{
    std::set<std::string> seen;
    for (const std::string& dir : ApplicationDirs())
        for (const EntryFile& f : EntryFiles(dir)) {
            if (!seen.insert(f.id).second)
                continue;
            auto group = ReadGroup(f.path, "Desktop Entry");
            if (!group || (*group)["Type"] != "Application" || (*group)["Hidden"] == "true")
                continue;
            DesktopEntry e { f.id, (*group)["Name"], (*group)["Exec"], (*group)["Icon"],
                f.path.string() };
            if (take(e))
                return e;
        }
    return std::nullopt;
}

bool IsPngFile(const std::string& path)
{
    std::error_code ec;
    if (!fs::is_regular_file(path, ec))
        return false;
    static const unsigned char signature[8] = { 0x89, 'P', 'N', 'G', '\r', '\n', 0x1A, '\n' };
    unsigned char head[8] = {};
    std::ifstream in(path, std::ios::binary);
    in.read(reinterpret_cast<char*>(head), 8);
    return in.gcount() == 8 && std::equal(head, head + 8, signature);
}

// "<n>x<n>" folder names give the icon size they hold; 0 for any other name.
int SizeOfFolder(const std::string& name)
{
    size_t x = name.find('x');
    if (x == 0 || x == std::string::npos || name.substr(0, x) != name.substr(x + 1))
        return 0;
    auto digit = [](char c) { return c >= '0' && c <= '9'; };
    if (x > 4 || !std::all_of(name.begin(), name.begin() + long(x), digit))
        return 0;
    return std::atoi(name.c_str());
}

std::string CurrentIconTheme()
{
    std::string config = BaseHome("XDG_CONFIG_HOME", "/.config");
    if (config.empty())
        return "";
    auto group = ReadGroup(config + "/gtk-3.0/settings.ini", "Settings");
    return group ? (*group)["gtk-icon-theme-name"] : "";
}

// The nearest-sized icon of one theme over all icon base folders.
std::optional<std::string> FindInTheme(const std::vector<std::string>& bases,
    const std::string& theme, const std::string& file, int size)
{
    std::optional<std::string> best;
    int bestSize = 0;
    for (const std::string& base : bases) {
        std::error_code ec;
        std::vector<fs::path> sizeDirs;
        for (fs::directory_iterator it(base + "/" + theme, ec), end; !ec && it != end;
             it.increment(ec))
            if (SizeOfFolder(it->path().filename().string()) > 0)
                sizeDirs.push_back(it->path());
        std::sort(sizeDirs.begin(), sizeDirs.end());
        for (const fs::path& sizeDir : sizeDirs) {
            int n = SizeOfFolder(sizeDir.filename().string());
            std::vector<fs::path> candidates;
            for (fs::directory_iterator it(sizeDir, ec), end; !ec && it != end; it.increment(ec))
                candidates.push_back(it->path() / file);
            std::sort(candidates.begin(), candidates.end());
            for (const fs::path& c : candidates) {
                if (!IsPngFile(c.string()))
                    continue;
                int d = std::abs(n - size), bd = std::abs(bestSize - size);
                // Nearer wins; between equally near sizes the larger scales down better.
                if (!best || d < bd || (d == bd && n > bestSize)) {
                    best = c.string();
                    bestSize = n;
                }
            }
        }
    }
    return best;
}

} // namespace

int OpenWithDefaultHandler(const std::string& url)
{
    if (url.empty() || url[0] == '-')
        return -1;
    auto opener = FindProgramOnPath("xdg-open");
    if (!opener)
        return -1;
    SpawnResult r = Spawn({ *opener, url });
    return r.ok ? WaitProcess(r.pid) : -1;
}

std::optional<DesktopEntry> FindDesktopEntryFor(const std::string& program)
{
    std::string base = BaseName(program);
    if (base.empty())
        return std::nullopt;
    return ScanEntries([&](const DesktopEntry& e) {
        return e.id == base + ".desktop" || ExecProgram(e.exec) == base;
    });
}

std::optional<DesktopEntry> FindDesktopEntryById(const std::string& id)
{
    if (id.empty())
        return std::nullopt;
    return ScanEntries([&](const DesktopEntry& e) { return e.id == id; });
}

std::optional<std::string> DefaultDesktopEntryForMime(const std::string& mime)
{
    if (mime.empty())
        return std::nullopt;
    std::vector<std::string> dirs;
    if (std::string home = BaseHome("XDG_CONFIG_HOME", "/.config"); !home.empty())
        dirs.push_back(home);
    for (const std::string& d : BaseDirs("XDG_CONFIG_DIRS", "/etc/xdg"))
        dirs.push_back(d);
    for (const std::string& d : ApplicationDirs())
        dirs.push_back(d);
    std::vector<std::string> desktops;
    for (const std::string& d : Split(Env("XDG_CURRENT_DESKTOP"), ':'))
        desktops.push_back(Lower(d) + "-mimeapps.list");
    desktops.push_back("mimeapps.list");

    const std::string key = Lower(mime);
    for (const std::string& dir : dirs)
        for (const std::string& name : desktops) {
            auto group = ReadGroup(dir + "/" + name, "Default Applications");
            if (!group)
                continue;
            for (const auto& [k, v] : *group) {
                if (Lower(k) != key)
                    continue;
                // The first listed entry that is installed is the default.
                for (const std::string& id : Split(v, ';'))
                    if (FindDesktopEntryById(Trim(id)))
                        return Trim(id);
            }
        }
    return std::nullopt;
}

std::vector<std::string> SplitExec(const std::string& exec)
{
    std::vector<std::string> words;
    std::string word;
    bool inWord = false, quoted = false;
    for (size_t i = 0; i < exec.size(); ++i) {
        char c = exec[i];
        if (quoted) {
            // Inside quotes a backslash escapes ", `, $ and itself.
            if (c == '\\' && i + 1 < exec.size()
                && std::string("\"`$\\").find(exec[i + 1]) != std::string::npos)
                word += exec[++i];
            else if (c == '"')
                quoted = false;
            else
                word += c;
        } else if (c == ' ' || c == '\t' || c == '\n') {
            if (inWord)
                words.push_back(word);
            word.clear();
            inWord = false;
        } else {
            inWord = true;
            if (c == '"')
                quoted = true;
            else
                word += c;
        }
    }
    if (quoted)
        return {};
    if (inWord)
        words.push_back(word);
    return words;
}

std::optional<std::string> FindIconFile(const std::string& iconName, int size)
{
    if (iconName.empty())
        return std::nullopt;
    if (iconName[0] == '/')
        return IsPngFile(iconName) ? std::optional(iconName) : std::nullopt;
    if (iconName.find('/') != std::string::npos || iconName == "." || iconName == "..")
        return std::nullopt;
    std::string stem = iconName;
    if (stem.size() > 4 && Lower(stem.substr(stem.size() - 4)) == ".png")
        stem.resize(stem.size() - 4);
    const std::string file = stem + ".png";

    std::vector<std::string> bases;
    if (std::string home = Env("HOME"); !home.empty())
        bases.push_back(home + "/.icons");
    if (std::string data = DataHome(); !data.empty())
        bases.push_back(data + "/icons");
    for (const std::string& d : DataDirs())
        bases.push_back(d + "/icons");
    std::vector<std::string> themes;
    for (std::string t : { CurrentIconTheme(), std::string("hicolor"), std::string("Adwaita") })
        if (!t.empty() && t.find('/') == std::string::npos
            && std::find(themes.begin(), themes.end(), t) == themes.end())
            themes.push_back(t);
    for (const std::string& theme : themes)
        if (auto found = FindInTheme(bases, theme, file, size))
            return found;

    std::vector<std::string> pixmaps;
    for (const std::string& d : DataDirs())
        pixmaps.push_back(d + "/pixmaps");
    if (std::find(pixmaps.begin(), pixmaps.end(), "/usr/share/pixmaps") == pixmaps.end())
        pixmaps.push_back("/usr/share/pixmaps");
    for (const std::string& dir : pixmaps)
        if (IsPngFile(dir + "/" + file))
            return dir + "/" + file;
    return std::nullopt;
}

} // namespace plat::desktop
