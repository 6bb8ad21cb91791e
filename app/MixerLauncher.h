#pragma once
// The volume-control launcher of the window's "Vol." key. The program that plays the
// volume control's part is the first of these found on an absolute PATH entry:
//   pavucontrol                      (the PulseAudio / PipeWire volume control)
//   pavucontrol-qt                   (its Qt edition)
//   gnome-control-center sound       (the GNOME desktop's sound settings)
// Its small icon comes from its desktop entry's Icon in the icon theme (PNG), with the
// theme's generic volume-control icons as fallbacks. GUI thread only.

#include "platform/raster/ImageFiles.h"

#include <optional>
#include <string>
#include <vector>

class TImage;
class TLEDButton;

struct TMixerProgram {
    std::string path;                  // absolute
    std::vector<std::string> args;     // after the program
    std::string desktopId;             // the entry to prefer for its icon; may be empty
};

std::optional<TMixerProgram> FindMixer();

// The PNG file of the mixer's icon at about 16 pixels, if any.
std::optional<std::string> FindMixerIconFile(const TMixerProgram& mixer);

// A 16 x 16 picture of icon over background: the icon scaled by averaging (or repeating)
// pixels, its alpha composited over background (0x00BBGGRR).
plat::Surface ComposeIcon16(const plat::AlphaImage& icon, plat::Color background);

// At window construction: when a mixer is found, a 16 x 16 clBtnFace bitmap with
// clBtnFace transparent, holding its icon, becomes image's picture and button's glyph
// (each keeps its own copy); true. Without a mixer nothing changes and the result is
// false. A mixer without a readable icon gives the plain clBtnFace bitmap.
bool SetUpMixerIcon(TImage* image, TLEDButton* button);

// The key's click: starts a new instance of the mixer, detached, each time. Without one
// nothing happens; false.
bool StartMixer();
