#include "app/USdkUrlLauncher.h"

#include "app/Registry.h"
#include "platform/system/Desktop.h"
#include "platform/system/Process.h"

#include <cctype>
#include <chrono>
#include <cstring>
#include <optional>
#include <thread>

const char* const MakersPageUrl = "http://kelvo-music.example.com/music/index.htm";

namespace {

// The sizes of the classic buffers, less their terminating zeros.
constexpr size_t ExecutableMax = 256;
constexpr size_t ArgumentsMax = 768;
constexpr size_t ValueBufferBytes = 1024;
constexpr size_t CommandLineMax = 1024;

// Shell result codes: above 32 means started.
constexpr int LaunchStarted = 33;
constexpr int LaunchFileNotFound = 2;

std::atomic<int> LiveLaunchers { 0 };

// A key's default value as the fixed buffer would hold it. A value that does not fit with
// its terminating zero is not read at all: a cut command could name another program.
std::optional<std::string> ReadDefault(TRegistryStandIn& registry, const std::string& path)
{
    if (!registry.Open(path))
        return std::nullopt;
    auto value = registry.Query(path);
    if (!value || value->size() >= ValueBufferBytes)
        return std::nullopt;
    if (size_t zero = value->find('\0'); zero != std::string::npos)
        value->resize(zero);
    return value;
}

bool IsExtensionAt(const std::string& s, size_t i)
{
    if (s[i] != '.')
        return false;
    char ext[4] = {};
    for (int k = 0; k < 3; ++k)
        ext[k] = char(std::toupper(static_cast<unsigned char>(s[i + 1 + k])));
    return !std::strcmp(ext, "EXE") || !std::strcmp(ext, "COM") || !std::strcmp(ext, "BAT");
}

std::string SkipBlanks(const std::string& s, size_t from)
{
    while (from < s.size() && s[from] == ' ')
        ++from;
    return from < s.size() ? s.substr(from, ArgumentsMax) : std::string();
}

// A command that starts with a double-quoted absolute path: the path is the executable.
// Inside the quotes a backslash escapes ", `, $ and itself.
bool SplitQuotedPath(const std::string& cmd, std::string& executable, std::string& arguments)
{
    if (cmd.size() < 3 || cmd[0] != '"' || cmd[1] != '/')
        return false;
    std::string path;
    for (size_t i = 1; i < cmd.size(); ++i) {
        char c = cmd[i];
        if (c == '\\' && i + 1 < cmd.size() && cmd[i + 1] && std::strchr("\"`$\\", cmd[i + 1])) {
            path += cmd[++i];
        } else if (c == '"') {
            executable = path;
            arguments = SkipBlanks(cmd, i + 1);
            return true;
        } else {
            path += c;
        }
    }
    return false;
}

} // namespace

bool SplitBrowserCommand(const std::string& command, std::string& executable,
    std::string& arguments)
{
    executable.clear();
    arguments.clear();
    const std::string cmd = command.substr(0, ExecutableMax);
    if (SplitQuotedPath(cmd, executable, arguments))
        return true;
    if (cmd.size() < 4)
        return false;
    // The last .EXE, .COM or .BAT, looked for backwards from the fourth-to-last character.
    for (size_t i = cmd.size() - 4;; --i) {
        if (IsExtensionAt(cmd, i)) {
            bool quoted = cmd[0] == '"';
            executable = cmd.substr(quoted ? 1 : 0, i + 4 - (quoted ? 1 : 0));
            arguments = SkipBlanks(cmd, i + 5);
            return !executable.empty();
        }
        if (i == 0)
            return false;
    }
}

bool FindBrowserCommand(TRegistryStandIn& registry, std::string& executable,
    std::string& arguments)
{
    executable.clear();
    arguments.clear();
    for (const char* ext : { ".HTM", ".HTML", ".SHTML", ".SHTM" }) {
        auto type = ReadDefault(registry, ext);
        if (!type || type->empty())
            continue;
        const std::string tail = "\\shell\\open\\command";
        auto command = ReadDefault(registry, *type + tail);
        if (!command || command->empty())
            command = ReadDefault(registry, ext + tail);
        if (command && !command->empty())
            return SplitBrowserCommand(*command, executable, arguments);
    }
    return false;
}

std::string BuildBrowserArguments(const std::string& argTemplate, const std::string& url)
{
    size_t at = argTemplate.find("%1");
    if (at == std::string::npos)
        return argTemplate + " \"" + url + "\"";
    std::string out = argTemplate;
    out.replace(at, 2, url);
    return out;
}

std::vector<std::string> BuildBrowserArgumentVector(const std::string& argTemplate,
    const std::string& url)
{
    std::vector<std::string> words = plat::desktop::SplitExec(argTemplate);
    bool blank = argTemplate.find_first_not_of(" \t\n") == std::string::npos;
    if (words.empty() && !blank)
        return {};
    for (std::string& w : words)
        if (size_t at = w.find("%1"); at != std::string::npos) {
            w.replace(at, 2, url);
            return words;
        }
    words.push_back(url);
    return words;
}

USdkUrlLauncher::USdkUrlLauncher(TWinControl* parentWindow, int16_t mode, const std::string& url,
    TLaunchEvent onSuccess, TLaunchEvent onFailure)
    : TThread(true)
    , Url(url)
    , ParentWindow(parentWindow)
    , Mode(mode)
    , OnSuccess(std::move(onSuccess))
    , OnFailure(std::move(onFailure))
    , FRegistry(BrowserRegistry())
{
    FreeOnTerminate = true;
    ++LiveLaunchers;
    Resume();
}

USdkUrlLauncher::~USdkUrlLauncher()
{
    --LiveLaunchers;
}

int USdkUrlLauncher::LiveCount()
{
    return LiveLaunchers.load();
}

bool USdkUrlLauncher::WaitForAll(int timeoutMs)
{
    auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
    while (LiveLaunchers.load() > 0) {
        if (std::chrono::steady_clock::now() >= deadline)
            return false;
        if (!CheckSynchronize(2))
            std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    return true;
}

void USdkUrlLauncher::Execute()
{
    switch (Mode) {
    case 1:
        Succeeded = LaunchWithBrowser();
        break;
    case 2:
        Succeeded = LaunchWithShell();
        break;
    case 3:
        Succeeded = LaunchAndWait();
        break;
    default:
        Succeeded = LaunchWithWinExec();
        break;
    }
    if (Succeeded && OnSuccess)
        Synchronize([this] { OnSuccess(this); });
    else if (!Succeeded && OnFailure)
        Synchronize([this] { OnFailure(this); });
}

std::vector<std::string> USdkUrlLauncher::BrowserCommand()
{
    std::string executable, arguments;
    if (!FindBrowserCommand(*FRegistry, executable, arguments))
        return {};
    std::vector<std::string> args = BuildBrowserArgumentVector(arguments, Url);
    if (args.empty())
        return {};
    if (Mode != 1)
        CommandLine = (executable + " " + BuildBrowserArguments(arguments, Url)).substr(0, CommandLineMax);
    args.insert(args.begin(), executable);
    return args;
}

bool USdkUrlLauncher::LaunchWithBrowser()
{
    std::vector<std::string> argv = BrowserCommand();
    if (argv.empty())
        return false;
    LaunchCode = plat::SpawnDetached(argv) ? LaunchStarted : LaunchFileNotFound;
    return LaunchCode > 32;
}

bool USdkUrlLauncher::LaunchWithShell()
{
    LaunchCode = plat::desktop::OpenWithDefaultHandler(Url) == 0 ? LaunchStarted : LaunchFileNotFound;
    return LaunchCode > 32;
}

bool USdkUrlLauncher::LaunchAndWait()
{
    ProcessInfo = {};
    std::vector<std::string> argv = BrowserCommand();
    if (argv.empty())
        return false;
    plat::SpawnResult r = plat::Spawn(argv);
    if (!r.ok)
        return false;
    ProcessInfo = { r.pid, r.pid, r.pid, r.pid };
    plat::WaitProcess(r.pid);
    return true;
}

bool USdkUrlLauncher::LaunchWithWinExec()
{
    LaunchCode = 0;
    std::vector<std::string> argv = BrowserCommand();
    return !argv.empty() && plat::SpawnDetached(argv);
}

void OpenMakersPage()
{
    new USdkUrlLauncher(nullptr, 2, MakersPageUrl);
}
