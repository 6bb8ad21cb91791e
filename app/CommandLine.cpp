#include "app/CommandLine.h"

#include "platform/window/WindowScale.h"

#include <string_view>

#ifndef METRONOME_VERSION
#define METRONOME_VERSION "1.0"
#endif

namespace {

// Kept in step with the manual page (app/desktop/metronome.1); a test compares the two.
const char* const HelpText =
    "Usage: metronome [OPTION]...\n"
    "A metronome drawn as a hardware instrument panel: a needle swings one cycle per beat,\n"
    "a lamp flashes, a counter counts the beats and a click sounds while Beep is lit.\n"
    "\n"
    "Options:\n"
    "  --scale=N      show every pixel of the window as an N x N square (1 to 4);\n"
    "                 by default as the desktop asks (GDK_SCALE, else Xft.dpi / 96)\n"
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

// What a refused command line prints: the fault, the usage line and where to read more.
CommandLine Refuse(const std::string& message)
{
    CommandLine r;
    r.action = CommandLine::clError;
    const std::string usage(HelpText, std::string_view(HelpText).find('\n') + 1);
    r.text = "metronome: " + message + "\n" + usage + "Try 'metronome --help'.\n";
    return r;
}

} // namespace

// --help and --version stand alone; --scale takes its value joined with '=' or as the
// next argument, and the last one given counts.
CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine r;
    if (!args.empty()) {
        const std::string& a = args.front();
        const bool help = a == "-h" || a == "--help", version = a == "-V" || a == "--version";
        if ((help || version) && args.size() > 1)
            return Refuse("unexpected argument '" + args[1] + "'");
        if (help) {
            r.action = CommandLine::clHelp;
            r.text = HelpText;
            return r;
        }
        if (version) {
            r.action = CommandLine::clVersion;
            r.text = "metronome " METRONOME_VERSION "\n";
            return r;
        }
    }
    const std::string scaleOption = "--scale";
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        std::string value;
        if (a == scaleOption) {
            if (i + 1 == args.size())
                return Refuse("option '--scale' needs a value");
            value = args[++i];
        } else if (a.rfind(scaleOption + "=", 0) == 0) {
            value = a.substr(scaleOption.size() + 1);
        } else {
            return Refuse("unexpected argument '" + a + "'");
        }
        r.scale = plat::ParseWindowScale(value);
        if (r.scale == 0)
            return Refuse("invalid scale '" + value + "' (1 to 4)");
    }
    return r;
}
