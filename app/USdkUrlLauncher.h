#pragma once
// USdkUrlLauncher: a worker thread that opens one web address outside the program without
// holding up the window, then frees itself. Modes:
//   1      the browser's command from the registry, its executable started with the
//          built arguments (detached);
//   2      the desktop's default handler (xdg-open), waited for;
//   3      the browser's command started and waited for;
//   other  the browser's command started detached.
// Every launch is one argument vector started without a shell; the address is always a
// single argument and never the program. Only 0, 1 and 2 reach the child, and every child
// is reaped (by this thread, or by the platform's reaper for detached ones).
//
// The thread keeps its own copy of the address and never touches the window it was given:
// ParentWindow is stored for the record only. The callbacks run on the GUI thread through
// Synchronize; once the program has begun to shut down they are skipped.
//
// LaunchCode follows the classic shell convention, success when above 32: 33 when the
// handler or program was started (xdg-open: exited with status 0), 2 (file not found)
// otherwise.

#include "framework/core/Thread.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TWinControl;
class TRegistryStandIn;
class USdkUrlLauncher;

// A callback of the launcher; Sender is the launcher, valid during the call only.
using TLaunchEvent = std::function<void(USdkUrlLauncher* Sender)>;

// The launched process of mode 3. On this platform the handles are the process id; the
// process has been reaped when the launcher finishes.
struct TProcessInformation {
    int hProcess = 0;
    int hThread = 0;
    int dwProcessId = 0;
    int dwThreadId = 0;
};

class USdkUrlLauncher : public TThread {
public:
    // Starts at once; the object deletes itself when done, so the caller keeps no
    // reference. The callbacks are given here because the thread may finish before the
    // constructor's caller could set them.
    USdkUrlLauncher(TWinControl* parentWindow, int16_t mode, const std::string& url,
        TLaunchEvent onSuccess = {}, TLaunchEvent onFailure = {});
    ~USdkUrlLauncher() override;

    const std::string Url;
    TWinControl* const ParentWindow;
    const int16_t Mode;
    bool Succeeded = false;
    int LaunchCode = 0;
    TProcessInformation ProcessInfo;
    // The classic command line of modes 3 and other: executable, a blank, the built
    // arguments, cut to 1024 characters. The launch itself uses the argument vector.
    std::string CommandLine;
    const TLaunchEvent OnSuccess;
    const TLaunchEvent OnFailure;

    // Launchers created and not yet destroyed.
    static int LiveCount();
    // Waits until no launcher is left, at most timeoutMs; true when none is. On the GUI
    // thread it keeps running the launchers' hand-overs meanwhile.
    static bool WaitForAll(int timeoutMs);

protected:
    void Execute() override;

private:
    bool LaunchWithBrowser();
    bool LaunchWithShell();
    bool LaunchAndWait();
    bool LaunchWithWinExec();
    // The argument vector of the browser's command; empty when there is no command.
    std::vector<std::string> BrowserCommand();

    std::shared_ptr<TRegistryStandIn> FRegistry;
};

// The browser's command from the registry's HTML file types. executable gets at most 256
// characters, arguments at most 768. False, with both empty, when no command is found:
// no entry, only empty or over-long (1024 bytes or more) values, or a command whose
// executable cannot be told (no .EXE, .COM or .BAT, and no double-quoted absolute path at
// its start).
bool FindBrowserCommand(TRegistryStandIn& registry, std::string& executable,
    std::string& arguments);

// Splits a command into executable and argument template; the last two steps of
// FindBrowserCommand, exported for tests.
bool SplitBrowserCommand(const std::string& command, std::string& executable,
    std::string& arguments);

// The template with its first "%1" replaced by url; without "%1", the template, a blank
// and the url in double quotes.
std::string BuildBrowserArguments(const std::string& argTemplate, const std::string& url);

// The same arguments as an argument vector: the template split by the desktop-entry
// quoting rules, then url put in place of the first "%1" of a word, or appended as a word
// of its own. Whatever url contains, it stays inside one argument. Empty when the
// template cannot be split (an unterminated quote).
std::vector<std::string> BuildBrowserArgumentVector(const std::string& argTemplate,
    const std::string& url);

// The maker's music page, opened by a click on the window's logo.
extern const char* const MakersPageUrl;

// The window's logo click: one launcher of mode 2 on the maker's page. Returns at once.
void OpenMakersPage();
