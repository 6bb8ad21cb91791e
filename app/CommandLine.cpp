#include "app/CommandLine.h"

#ifndef METRONOME_VERSION
#define METRONOME_VERSION "1.0"
#endif

namespace {

// Kept in step with the manual page (app/desktop/metronome.1); a test compares the two.
const char* const HelpText =
    "Usage: metronome [OPTION]\n"
    "A metronome drawn as a hardware instrument panel: a needle swings one cycle per beat,\n"
    "a lamp flashes, a counter counts the beats and a click sounds while Beep is lit.\n"
    "\n"
    "Options:\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Keys: Tab and Shift+Tab move the focus; on the tempo slider Up and Down change the\n"
    "tempo by one beat per minute, Home and End set 40 and 208.\n"
    "\n"
    "Settings (window position, tempo, Beep) are read at start and written on Quit: in\n"
    "metronome.ini beside the program when its folder is writable, otherwise in\n"
    "$XDG_CONFIG_HOME/metronome.ini (default ~/.config/metronome.ini).\n"
    "See metronome(1).\n";

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine r;
    if (args.empty())
        return r;
    const std::string& a = args.front();
    if (args.size() == 1 && (a == "-h" || a == "--help")) {
        r.action = CommandLine::clHelp;
        r.text = HelpText;
    } else if (args.size() == 1 && (a == "-V" || a == "--version")) {
        r.action = CommandLine::clVersion;
        r.text = "metronome " METRONOME_VERSION "\n";
    } else {
        r.action = CommandLine::clError;
        const std::string& bad = (a == "-h" || a == "--help" || a == "-V" || a == "--version") ? args[1] : a;
        r.text = "metronome: unexpected argument '" + bad + "'\nTry 'metronome --help'.\n";
    }
    return r;
}
