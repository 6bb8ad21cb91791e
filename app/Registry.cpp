#include "app/Registry.h"

#include "platform/system/Desktop.h"
#include "platform/system/Process.h"

#include <cctype>
#include <vector>

namespace {

const char* const HtmlType = "text/html";

std::string Lower(std::string s)
{
    for (char& c : s)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return s;
}

bool IsHtmlExtension(const std::string& lowerPath)
{
    return lowerPath == ".htm" || lowerPath == ".html" || lowerPath == ".shtml"
        || lowerPath == ".shtm";
}

std::string CommandKey()
{
    return Lower(std::string(HtmlType) + "\\shell\\open\\command");
}

// One Exec word with its field codes expanded. The first file or address code becomes
// the "%1" marker; the codes the launcher cannot fill are dropped.
std::vector<std::string> ExpandWord(const std::string& word, bool& marked,
    const std::string& iconName, const std::string& entryName)
{
    if (word == "%i")
        return iconName.empty() ? std::vector<std::string> {}
                                : std::vector<std::string> { "--icon", iconName };
    std::string out;
    bool hadCode = false;
    for (size_t i = 0; i < word.size(); ++i) {
        if (word[i] != '%' || i + 1 == word.size()) {
            out += word[i];
            continue;
        }
        char code = word[++i];
        if (code == '%') {
            out += '%';
            continue;
        }
        hadCode = true;
        if ((code == 'u' || code == 'U' || code == 'f' || code == 'F') && !marked) {
            out += "%1";
            marked = true;
        } else if (code == 'c') {
            out += entryName;
        }
    }
    if (out.empty() && hadCode)
        return {};
    return { out };
}

std::string Quoted(const std::string& arg)
{
    std::string out = "\"";
    for (char c : arg) {
        if (c == '"' || c == '`' || c == '$' || c == '\\')
            out += '\\';
        out += c;
    }
    return out + '"';
}

} // namespace

std::string QuoteArgument(const std::string& arg)
{
    static const std::string special = " \t\n\"'\\><~|&;$*?#()`";
    bool plain = !arg.empty() && arg.find("%1") == std::string::npos
        && arg.find_first_of(special) == std::string::npos;
    return plain ? arg : Quoted(arg);
}

std::optional<std::string> CommandFromExec(const std::string& exec, const std::string& iconName,
    const std::string& entryName)
{
    std::vector<std::string> words = plat::desktop::SplitExec(exec);
    if (words.empty())
        return std::nullopt;
    auto program = plat::FindProgramOnPath(words[0]);
    if (!program || (*program)[0] != '/')
        return std::nullopt;
    // The path is always quoted: a quoted absolute path is how the launcher knows where
    // the executable ends.
    std::string command = Quoted(*program);
    bool marked = false;
    for (size_t i = 1; i < words.size(); ++i)
        for (const std::string& w : ExpandWord(words[i], marked, iconName, entryName))
            command += " " + QuoteArgument(w);
    return command;
}

void TMemoryRegistry::SetDefault(const std::string& path, const std::string& value)
{
    std::lock_guard<std::mutex> g(FLock);
    FKeys[Lower(path)] = value;
}

void TMemoryRegistry::AddKey(const std::string& path)
{
    std::lock_guard<std::mutex> g(FLock);
    FKeys.try_emplace(Lower(path));
}

bool TMemoryRegistry::Open(const std::string& path)
{
    std::lock_guard<std::mutex> g(FLock);
    return FKeys.count(Lower(path)) > 0;
}

std::optional<std::string> TMemoryRegistry::Query(const std::string& path)
{
    std::lock_guard<std::mutex> g(FLock);
    auto it = FKeys.find(Lower(path));
    return it == FKeys.end() ? std::nullopt : it->second;
}

bool TDesktopRegistry::Open(const std::string& path)
{
    std::string key = Lower(path);
    return IsHtmlExtension(key) || (key == CommandKey() && Query(path));
}

std::optional<std::string> TDesktopRegistry::Query(const std::string& path)
{
    std::string key = Lower(path);
    if (IsHtmlExtension(key))
        return std::string(HtmlType);
    if (key != CommandKey())
        return std::nullopt;
    // Without a default for HTML files, the handler of web addresses serves as well.
    for (const char* mime : { HtmlType, "x-scheme-handler/http" }) {
        auto id = plat::desktop::DefaultDesktopEntryForMime(mime);
        auto entry = id ? plat::desktop::FindDesktopEntryById(*id) : std::nullopt;
        if (!entry)
            continue;
        if (auto command = CommandFromExec(entry->exec, entry->icon, entry->name))
            return command;
    }
    return std::nullopt;
}

namespace {

std::mutex RegistryLock;
std::shared_ptr<TRegistryStandIn>& CurrentRegistry()
{
    static std::shared_ptr<TRegistryStandIn> registry = std::make_shared<TDesktopRegistry>();
    return registry;
}

} // namespace

std::shared_ptr<TRegistryStandIn> BrowserRegistry()
{
    std::lock_guard<std::mutex> g(RegistryLock);
    return CurrentRegistry();
}

void SetBrowserRegistry(std::shared_ptr<TRegistryStandIn> registry)
{
    std::lock_guard<std::mutex> g(RegistryLock);
    CurrentRegistry() = registry ? std::move(registry) : std::make_shared<TDesktopRegistry>();
}
