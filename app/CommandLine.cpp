#include "app/CommandLine.h"

#include "platform/window/WindowScale.h"

#include <cerrno>
#include <cstdlib>

#ifndef METRONOME_VERSION
#define METRONOME_VERSION "1.0"
#endif

namespace {

const char* const UsageLine = "Usage: metronome [OPTION]...\n";

// Kept in step with the manual page (app/desktop/metronome.1); a test compares the two.
const char* const HelpText =
    "Usage: metronome [OPTION]...\n"
    "A metronome drawn as a hardware instrument panel: a needle swings one cycle per beat,\n"
    "a lamp flashes, a counter counts the beats and a click sounds while Beep is lit.\n"
    "\n"
    "Options:\n"
    "  --tempo=N      start at N beats per minute (40 to 208)\n"
    "  --run          start running\n"
    "  --beep         switch the click on\n"
    "  --no-beep      switch the click off\n"
    "  --meter=N      N beats per bar, the first one accented (1 to 9; 1: no accent)\n"
    "  --scale=N      show every pixel of the window as an N x N square (1 to 4);\n"
    "                 by default as the desktop asks (GDK_SCALE, else Xft.dpi / 96)\n"
    "  -h, --help     show this help and exit\n"
    "  -V, --version  show the version and exit\n"
    "\n"
    "Keys: Space starts and stops, B switches the click, R resets the count, T tapped in\n"
    "time sets the tempo, 1 to 9 set the beats per bar. Up and Down change the tempo by\n"
    "one, Page Up and Page Down by ten, Home and End set 40 and 208. Tab and Shift+Tab\n"
    "move the focus.\n"
    "\n"
    "Settings (window position, tempo, Beep, beats per bar) are read at start and written\n"
    "on Quit: in metronome.ini beside the program when its folder is writable, otherwise\n"
    "in $XDG_CONFIG_HOME/metronome.ini (default ~/.config/metronome.ini).\n"
    "See metronome(1).\n";

CommandLine Error(const std::string& message)
{
    CommandLine r;
    r.action = CommandLine::clError;
    r.text = "metronome: " + message + "\n" + UsageLine + "Try 'metronome --help'.\n";
    return r;
}

// A whole decimal number in [lo, hi], nothing before or after it.
std::optional<int> Number(const std::string& text, int lo, int hi)
{
    if (text.empty() || text.size() > 9)
        return std::nullopt;
    for (char c : text)
        if (c < '0' || c > '9')
            return std::nullopt;
    int v = std::atoi(text.c_str());
    if (v < lo || v > hi)
        return std::nullopt;
    return v;
}

} // namespace

CommandLine ParseCommandLine(const std::vector<std::string>& args)
{
    CommandLine r;
    bool help = false, version = false;
    std::string other;   // the first argument that is not --help or --version
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& a = args[i];
        if (a == "--") {
            if (i + 1 < args.size())
                return Error("unexpected argument '" + args[i + 1] + "'");
            break;
        }
        if (a == "-h" || a == "--help") {
            help = true;
            continue;
        }
        if (a == "-V" || a == "--version") {
            version = true;
            continue;
        }
        if (other.empty())
            other = a.empty() ? "''" : a;
        if (a.size() > 1 && a[0] == '-' && a[1] != '-')
            return Error("unknown option '" + a + "'");
        if (a.rfind("--", 0) != 0)
            return Error("unexpected argument '" + other + "'");
        const size_t eq = a.find('=');
        const std::string name = a.substr(0, eq);
        const bool takesValue = name == "--tempo" || name == "--meter" || name == "--scale";
        if (!takesValue && eq != std::string::npos) {
            if (name == "--run" || name == "--beep" || name == "--no-beep")
                return Error("option '" + name + "' takes no value");
            return Error("unknown option '" + name + "'");
        }
        if (name == "--run") {
            r.run = true;
        } else if (name == "--beep" || name == "--no-beep") {
            r.beep = name == "--beep";
        } else if (takesValue) {
            std::string value;
            if (eq != std::string::npos) {
                value = a.substr(eq + 1);
            } else if (i + 1 < args.size()) {
                value = args[++i];
            } else {
                return Error("option '" + name + "' needs a value");
            }
            if (name == "--scale") {
                r.scale = plat::ParseWindowScale(value);
                if (r.scale == 0)
                    return Error("invalid scale '" + value + "' (1 to 4)");
                continue;
            }
            const bool isTempo = name == "--tempo";
            std::optional<int> v = isTempo ? Number(value, 40, 208) : Number(value, 1, 9);
            if (!v)
                return Error("invalid value '" + value + "' for '" + name + "': "
                    + (isTempo ? "a tempo from 40 to 208" : "beats per bar from 1 to 9")
                    + " is needed");
            (isTempo ? r.tempo : r.meter) = v;
        } else {
            return Error("unknown option '" + name + "'");
        }
    }
    if ((help || version) && !other.empty())
        return Error("unexpected argument '" + other + "'");
    if (help && version)
        return Error("--help and --version cannot be combined");
    if (help) {
        r = CommandLine {};
        r.action = CommandLine::clHelp;
        r.text = HelpText;
    } else if (version) {
        r = CommandLine {};
        r.action = CommandLine::clVersion;
        r.text = "metronome " METRONOME_VERSION "\n";
    }
    return r;
}
