#include "app/SettingsFile.h"

#include "framework/controls/Application.h"
#include "framework/core/SysUtils.h"
#include "platform/system/Directories.h"

namespace {

std::string gOverride;

// The base folder of per-user settings; a relative $XDG_CONFIG_HOME is ignored, as the
// convention asks. Empty when neither it nor $HOME is set.
std::string UserConfigFolder()
{
    std::string config = GetEnvironmentVariable("XDG_CONFIG_HOME");
    if (!config.empty() && config[0] == '/')
        return config;
    std::string home = GetEnvironmentVariable("HOME");
    if (home.empty())
        return {};
    return home + "/.config";
}

} // namespace

std::string SettingsFileFor(const std::string& exeName,
    const std::function<bool(const std::string&)>& writable)
{
    std::string beside = ChangeFileExt(exeName, ".ini");
    if (writable(ExtractFilePath(exeName)))
        return beside;
    std::string folder = UserConfigFolder();
    if (folder.empty())
        return beside;
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder + "/" + ExtractFileName(beside);
}

std::string SettingsSourceFor(const std::string& exeName,
    const std::function<bool(const std::string&)>& writable,
    const std::function<bool(const std::string&)>& exists)
{
    std::string target = SettingsFileFor(exeName, writable);
    std::string beside = ChangeFileExt(exeName, ".ini");
    if (target == beside || exists(target) || !exists(beside))
        return target;
    return beside;
}

std::string SettingsFileName()
{
    if (!gOverride.empty())
        return gOverride;
    return SettingsFileFor(Application->ExeName(), plat::DirectoryWritable);
}

void SetSettingsFileName(const std::string& fileName) { gOverride = fileName; }

std::string SettingsSourceFileName()
{
    if (!gOverride.empty())
        return gOverride;
    return SettingsSourceFor(Application->ExeName(), plat::DirectoryWritable,
        [](const std::string& f) { return FileExists(f); });
}
