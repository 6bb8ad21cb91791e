#include "tools/resgen/Resources.h"

namespace resgen {

const char* const ProgramName = "Kelvo Music Metronome";
const char* const ProgramVersion = "1.0";

std::string VersionText()
{
    return std::string("name=") + ProgramName + "\nversion=" + ProgramVersion + "\n";
}

std::vector<ResourceFile> GenerateAll()
{
    std::vector<ResourceFile> files;
    files.push_back({ "dial.bmp", plat::WriteBmp(RenderDial()) });
    plat::IconImage logo = RenderLogo();
    files.push_back({ "logo.ico", plat::WriteIco(std::span<const plat::IconImage>(&logo, 1)) });
    files.push_back({ "thumb.bmp", plat::WriteBmp(RenderThumb()) });
    files.push_back({ "ruler.bmp", plat::WriteBmp(RenderRuler()) });
    files.push_back({ "beat.wav", MakeBeatWave() });
    files.push_back({ "accent.wav", MakeAccentWave() });
    for (int size : AppIconSizes) {
        plat::AlphaImage icon = RenderAppIcon(size);
        plat::Bytes png = plat::WritePng(icon.color, icon.alpha);
        if (size == 64)
            files.push_back({ "metronome.png", png });
        std::string dim = std::to_string(size) + "x" + std::to_string(size);
        files.push_back({ "icons/hicolor/" + dim + "/apps/metronome.png", std::move(png) });
    }
    std::string version = VersionText();
    files.push_back({ "version.txt", plat::Bytes(version.begin(), version.end()) });
    return files;
}

} // namespace resgen
