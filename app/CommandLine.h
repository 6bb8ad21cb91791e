#pragma once
// The program's command line. No arguments start the metronome as it was left; options
// set the tempo, Run, Beep and the beats per bar for this start (they apply after the
// settings are read, and what the user then changes is saved as usual), and the window's
// scale (every pixel shown as an N x N square). --help and
// --version print and end; anything else is refused with the usage line, so a mistyped
// option never starts the window unnoticed. Options take their value as the next
// argument or after "=" (--tempo 96, --tempo=96); "--" ends the options.

#include <optional>
#include <string>
#include <vector>

struct CommandLine {
    enum Action { clRun, clHelp, clVersion, clError };
    Action action = clRun;
    std::string text;   // for clHelp and clVersion the output, for clError the message

    // What to set once the window has read its settings; unset: as stored.
    std::optional<int> tempo;   // 40..208
    std::optional<int> meter;   // 1..9
    std::optional<bool> beep;
    bool run = false;
    int scale = 0;              // 1..4; 0 when not given (the desktop's scale)
};

// args are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
