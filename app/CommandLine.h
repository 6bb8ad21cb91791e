#pragma once
// The program's command line: no arguments start the metronome; --scale N (or
// --scale=N) starts it with every pixel shown as an N x N square; --help and --version
// print and end; anything else is refused with a hint, so a mistyped option never starts
// the window unnoticed.

#include <string>
#include <vector>

struct CommandLine {
    enum Action { clRun, clHelp, clVersion, clError };
    Action action = clRun;
    std::string text;   // for clHelp and clVersion the output, for clError the message
    int scale = 0;      // 1..4 from --scale; 0 when not given (the desktop's scale)
};

// args are the arguments after the program's name.
CommandLine ParseCommandLine(const std::vector<std::string>& args);
