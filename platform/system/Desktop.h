#pragma once
// Desktop integration after the freedesktop conventions: opening an address with the
// desktop's default handler, finding the desktop entry and icon of a program, and the
// default application of a MIME type. Reads the XDG_* variables at each call; defaults
// apply when they are unset. Thread-safe.

#include <optional>
#include <string>
#include <vector>

namespace plat::desktop {

struct DesktopEntry {
    std::string id; // file name relative to its applications folder, '/' turned to '-'
    std::string name; // Name
    std::string exec; // Exec as a string value (escapes resolved, not split)
    std::string icon; // Icon
    std::string path; // the .desktop file
};

// Runs `xdg-open url` (found on PATH, no shell) and waits for it. Returns its exit status,
// 0 on success, or -1 when it cannot be started or the address is empty or starts with
// '-' (it would be read as an option).
int OpenWithDefaultHandler(const std::string& url);

// The first desktop entry, in XDG data-directory order, whose file name or whose Exec
// program (first word, base name) matches the base name of `program`. Hidden entries and
// entries that are not applications are skipped.
std::optional<DesktopEntry> FindDesktopEntryFor(const std::string& program);

// The same folders searched for an entry by its id.
std::optional<DesktopEntry> FindDesktopEntryById(const std::string& id);

// The default application's desktop-entry id for a MIME type: the first installed entry
// listed under [Default Applications] in the mimeapps.list files, in XDG order.
std::optional<std::string> DefaultDesktopEntryForMime(const std::string& mime);

// Splits an Exec value into arguments by the desktop-entry quoting rules. Field codes
// (%f, %U, ...) stay as tokens. An unterminated quote gives an empty result.
std::vector<std::string> SplitExec(const std::string& exec);

// A PNG file for an icon name at about `size` pixels: the icon themes (the current one
// when known, then hicolor, then Adwaita), nearest size first, then the pixmaps folders.
// An absolute path is used as it is. Only PNG files are returned.
std::optional<std::string> FindIconFile(const std::string& iconName, int size);

} // namespace plat::desktop
