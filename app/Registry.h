#pragma once
// The little registry the browser launcher reads: default (unnamed) values of keys under
// HKEY_CLASSES_ROOT, named by backslash-separated paths such as ".HTM" or
// "text/html\shell\open\command". Key names are matched without regard to case.
//
// TDesktopRegistry answers from the desktop's MIME defaults; TMemoryRegistry holds keys
// set by hand (tests). Both are safe to use from several threads at once.

#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <string>

class TRegistryStandIn {
public:
    virtual ~TRegistryStandIn() = default;
    // True when the key exists.
    virtual bool Open(const std::string& path) = 0;
    // The key's default value; nullopt when the key or its default value does not exist.
    virtual std::optional<std::string> Query(const std::string& path) = 0;
};

// Keys and values set by hand. A key set without a value exists but cannot be queried.
class TMemoryRegistry : public TRegistryStandIn {
public:
    void SetDefault(const std::string& path, const std::string& value);
    void AddKey(const std::string& path);
    bool Open(const std::string& path) override;
    std::optional<std::string> Query(const std::string& path) override;

private:
    std::mutex FLock;
    std::map<std::string, std::optional<std::string>> FKeys;   // lower-case paths
};

// The desktop seen as a registry. The four HTML extensions (.htm, .html, .shtml, .shtm)
// have the file type "text/html"; "text/html\shell\open\command" holds the command of
// the desktop's default application for that type: its program's absolute path (found on
// PATH) in double quotes, then its Exec arguments, the address's place marked "%1" in
// double quotes. Nothing else exists. Read afresh at every query.
class TDesktopRegistry : public TRegistryStandIn {
public:
    bool Open(const std::string& path) override;
    std::optional<std::string> Query(const std::string& path) override;
};

// The command string of a desktop entry's Exec line, as described above; nullopt when
// the line cannot be split or its program is not on PATH. Exported for tests.
std::optional<std::string> CommandFromExec(const std::string& exec, const std::string& iconName,
    const std::string& entryName);

// Quotes one argument for the command strings when it needs it (blanks, quotes, the
// characters the quoting rules escape, or an empty argument).
std::string QuoteArgument(const std::string& arg);

// The registry the launchers read; the desktop's by default. A launcher takes the one set
// when it is created.
std::shared_ptr<TRegistryStandIn> BrowserRegistry();
void SetBrowserRegistry(std::shared_ptr<TRegistryStandIn> registry);
