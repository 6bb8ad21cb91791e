#pragma once
// The program's resources, drawn and synthesised from fixed parameters: the printed dial,
// the maker's logo, the tempo slider's thumb and ruler, the beat sound, the application
// icon and the version data. Every function is deterministic: the same call gives the
// same bytes on every run, which the committed files are checked against.

#include "platform/raster/ImageFiles.h"

#include <cstdint>
#include <string>
#include <vector>

namespace resgen {

// Where the needle of the display panel pivots, in the dial image's coordinates (below
// its bottom edge), the needle tip's distance from it and the swing to either side.
constexpr int DialWidth = 308, DialHeight = 302;
constexpr double PivotX = 152, PivotY = 305;
constexpr double NeedleTip = 255;
constexpr double SwingDegrees = 30;
// The radius of the scale's arc line; the graduations run outwards from it.
constexpr double ScaleRadius = 262;

constexpr int ThumbWidth = 70, ThumbHeight = 37;
constexpr int RulerWidth = 70, RulerHeight = 275, RulerEdge = 2;
constexpr plat::Color ThumbKey = 0xFFFF00;   // aqua, as 0x00BBGGRR
constexpr plat::Color RulerKey = 0xFFFFFF;   // white

constexpr int BeatRate = 22050;
constexpr int BeatFrames = 679;
constexpr size_t BeatImageSize = 1192;

extern const char* const ProgramName;   // "Kelvo Music Metronome"
extern const char* const ProgramVersion;

plat::Surface RenderDial();        // 8-bit, on the 0xD0D0D0 ground
plat::IconImage RenderLogo();      // 32 x 32, 4-bit, with its mask
plat::Surface RenderThumb();       // 24-bit, aqua where transparent
plat::Surface RenderRuler();       // 24-bit, white where transparent
plat::AlphaImage RenderAppIcon(int size);

// The beat as 16-bit samples, one channel (both channels carry it alike).
std::vector<int16_t> SynthesizeBeat();
// The complete RIFF WAVE image of the beat (MS ADPCM, one block).
plat::Bytes MakeBeatWave();
// The accent that opens a bar: the beat's length, format and onset, higher and brighter.
std::vector<int16_t> SynthesizeAccent();
plat::Bytes MakeAccentWave();

std::string VersionText();

struct ResourceFile {
    std::string path;   // relative to the resource folder
    plat::Bytes bytes;
};
// Every resource file, in a fixed order.
std::vector<ResourceFile> GenerateAll();

// Sizes of the desktop icons written under icons/hicolor/<N>x<N>/apps/.
constexpr int AppIconSizes[] = { 16, 32, 48, 64, 128 };

} // namespace resgen
