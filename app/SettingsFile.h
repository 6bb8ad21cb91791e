#pragma once
// Where the metronome keeps its settings. Beside the executable (its path with the
// extension replaced by ".ini") when the executable's folder is writable; otherwise, for
// an installed program, the per-user file of the same name in $XDG_CONFIG_HOME (default
// ~/.config). GUI thread.

#include <functional>
#include <string>

// The settings file for exeName; writable tells whether a folder (given with its trailing
// '/') accepts new files.
std::string SettingsFileFor(const std::string& exeName,
    const std::function<bool(const std::string&)>& writable);

// The settings file of the running program, or the one set for tests.
std::string SettingsFileName();
// Points SettingsFileName at fileName; an empty name goes back to the program's own file.
void SetSettingsFileName(const std::string& fileName);
