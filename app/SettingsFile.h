#pragma once
// Where the metronome keeps its settings. Beside the executable (its path with the
// extension replaced by ".ini") when the executable's folder is writable; otherwise, for
// an installed program or one on read-only media, the per-user file of the same name in
// $XDG_CONFIG_HOME (default ~/.config), which is read from the file beside the program
// until it exists. GUI thread.

#include <functional>
#include <string>

// The settings file for exeName; writable tells whether a folder (given with its trailing
// '/') accepts new files.
std::string SettingsFileFor(const std::string& exeName,
    const std::function<bool(const std::string&)>& writable);

// The settings file to read at start-up: the one SettingsFileFor names, except that a
// program whose folder is not writable reads the file beside it while the per-user file
// does not exist yet, so a copy carried on read-only media keeps its settings. exists
// tells whether a file exists.
std::string SettingsSourceFor(const std::string& exeName,
    const std::function<bool(const std::string&)>& writable,
    const std::function<bool(const std::string&)>& exists);

// The settings file of the running program, or the one set for tests.
std::string SettingsFileName();
// The file the running program reads its settings from (the one set for tests, if any).
std::string SettingsSourceFileName();
// Points SettingsFileName at fileName; an empty name goes back to the program's own file.
void SetSettingsFileName(const std::string& fileName);
