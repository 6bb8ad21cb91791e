// screenshot: renders a form headless and writes what its window shows as a PNG file.
//
// usage: screenshot <form-description.txt | --metronome | --gallery PAGE> <out.png>
//                   [--ticks N] [--ms M]
//
// --gallery renders the control gallery's window showing the named page.
// A description file is read by the form reader, which creates its root form by class
// name; the root must be a form. --metronome builds the program's main window instead,
// with its settings file in a temporary folder that is removed afterwards, and with
// --ticks switches Run on by a click and delivers N beat-engine ticks, M ms apart (10 by
// default), so that the needle stands off upright and the counter shows the beats.
// The clock is manual and the sound output silent, so the same arguments always give the
// same picture. An exception raised while loading or ticking is printed and the status is
// 1; an exception caught by the message loop is printed too, and the picture is still
// written, with status 1, so that the fault can be looked at.

#include "framework/controls/Application.h"
#include "framework/controls/Form.h"
#include "framework/core/Reader.h"
#include "framework/core/SysUtils.h"
#include "framework/core/Thread.h"
#include "platform/headless/HeadlessWindowSystem.h"
#include "platform/raster/ImageFiles.h"
#include "platform/sound/Sound.h"
#include "platform/system/Clock.h"

#if __has_include("app/formMetronome.h") && defined(SCREENSHOT_HAS_APP)
#include "app/CThreadedTimer.h"
#include "app/SettingsFile.h"
#include "app/formMetronome.h"
#include "rackctls/RackCtls.h"
#define SCREENSHOT_METRONOME 1
#endif

#if defined(SCREENSHOT_HAS_GALLERY)
#include "gallery/Gallery.h"
#define SCREENSHOT_GALLERY 1
#endif

#include <charconv>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <optional>
#include <random>
#include <sstream>
#include <string>
#include <system_error>
#include <vector>

namespace {

namespace fs = std::filesystem;

constexpr int32_t StartMs = 1000;
constexpr int MaxTicks = 100000;
constexpr int MaxStepMs = 10000;   // with MaxTicks, the clock stays far below 2^31 ms

struct Options {
    std::string input;   // empty with --metronome
    std::string output;
    bool metronome = false;
    std::string galleryPage;   // set with --gallery
    int ticks = 0;
    int stepMs = 10;
};

void Usage()
{
    std::fprintf(stderr,
        "usage: screenshot <form-description.txt | --metronome | --gallery PAGE> <out.png> "
        "[--ticks N] [--ms M]\n");
}

std::optional<int> ParseCount(const std::string& text, int lo, int hi)
{
    int value = 0;
    const char* end = text.data() + text.size();
    auto [ptr, ec] = std::from_chars(text.data(), end, value);
    if (ec != std::errc() || ptr != end || value < lo || value > hi)
        return std::nullopt;
    return value;
}

std::optional<Options> ParseArguments(int argc, char** argv)
{
    Options o;
    std::vector<std::string> positional;
    for (int i = 1; i < argc; ++i) {
        std::string arg = argv[i];
        if (arg == "--metronome") {
            o.metronome = true;
        } else if (arg == "--gallery") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "screenshot: --gallery needs a page name\n");
                return std::nullopt;
            }
            o.galleryPage = argv[++i];
            if (o.galleryPage.empty())
                return std::nullopt;
        } else if (arg == "--ticks" || arg == "--ms") {
            if (i + 1 >= argc) {
                std::fprintf(stderr, "screenshot: %s needs a value\n", arg.c_str());
                return std::nullopt;
            }
            bool ticks = arg == "--ticks";
            auto value = ParseCount(argv[++i], ticks ? 0 : 1, ticks ? MaxTicks : MaxStepMs);
            if (!value) {
                std::fprintf(stderr, "screenshot: %s takes a whole number from %d to %d\n",
                    arg.c_str(), ticks ? 0 : 1, ticks ? MaxTicks : MaxStepMs);
                return std::nullopt;
            }
            (ticks ? o.ticks : o.stepMs) = *value;
        } else if (arg.size() > 1 && arg[0] == '-') {
            std::fprintf(stderr, "screenshot: unknown option %s\n", arg.c_str());
            return std::nullopt;
        } else {
            positional.push_back(arg);
        }
    }
    // The metronome or a gallery page takes the place of the description file.
    if (o.metronome && !o.galleryPage.empty())
        return std::nullopt;
    const bool builtIn = o.metronome || !o.galleryPage.empty();
    size_t wanted = builtIn ? 1 : 2;
    if (positional.size() != wanted)
        return std::nullopt;
    if (!builtIn)
        o.input = positional[0];
    o.output = positional.back();
    return o;
}

std::optional<std::string> ReadText(const std::string& path)
{
    std::ifstream in(path, std::ios::binary);
    if (!in)
        return std::nullopt;
    std::ostringstream s;
    s << in.rdbuf();
    if (in.bad())
        return std::nullopt;
    return s.str();
}

// A fresh, private folder below the system's temporary folder, removed on destruction.
class TempFolder {
public:
    TempFolder()
    {
        std::random_device rd;
        std::error_code ec;
        fs::path base = fs::temp_directory_path(ec);
        for (int attempt = 0; !ec && attempt < 16 && FPath.empty(); ++attempt) {
            fs::path p = base / ("screenshot-" + std::to_string(rd()) + std::to_string(rd()));
            if (fs::create_directory(p, ec))
                FPath = p;
        }
    }
    ~TempFolder()
    {
        std::error_code ec;
        if (!FPath.empty())
            fs::remove_all(FPath, ec);
    }
    TempFolder(const TempFolder&) = delete;
    TempFolder& operator=(const TempFolder&) = delete;
    const fs::path& Path() const { return FPath; }

private:
    fs::path FPath;
};

TCustomForm* LoadDescription(const Options& o)
{
    std::optional<std::string> text = ReadText(o.input);
    if (!text)
        throw Exception("cannot read " + o.input);
    TComponent* root = CreateComponentRes(*text, Application);
    auto* form = dynamic_cast<TCustomForm*>(root);
    if (!form) {
        std::string name = root->ClassName();
        delete root;
        throw Exception("the description's root is a " + name + ", not a form");
    }
    form->Show();
    Application->ProcessMessages();
    for (int i = 0; i < o.ticks; ++i) {
        plat::AdvanceManualClock(o.stepMs);
        Application->ProcessMessages();
    }
    return form;
}

#ifdef SCREENSHOT_METRONOME
TCustomForm* LoadMetronome(const Options& o, plat::HeadlessWindowSystem& ws,
    const TempFolder& settings)
{
    if (settings.Path().empty())
        throw Exception("cannot create a temporary folder for the settings file");
    SetSettingsFileName((settings.Path() / "metronome.ini").string());
    Application->CreateForm(frmMetronome);
    TfrmMetronome* form = frmMetronome;
    // The window's own timer thread would tick by real time; the ticks come from here.
    form->TickTimer()->Stop();
    form->Show();
    Application->ProcessMessages();
    if (o.ticks == 0)
        return form;

    TPoint p = form->btnRun->FormOffset();
    ws.Click(form->WindowHandle(), p.X + form->btnRun->Width() / 2,
        p.Y + form->btnRun->Height() / 2);
    Application->ProcessMessages();
    if (!form->btnRun->StateOn())
        throw Exception("the click on Run did not switch it on");
    for (int i = 0; i < o.ticks; ++i) {
        plat::AdvanceManualClock(o.stepMs);
        form->timerTimer(nullptr);
        Application->ProcessMessages();
    }
    return form;
}
#endif

int Render(const Options& o)
{
    plat::HeadlessWindowSystem ws;
    plat::InstallWindowSystem(&ws);
    plat::UseManualClock(true, StartMs);
    plat::sound::testing::UseManualOutput(22050, 512);
    std::vector<std::string> caught;
    Application->Initialize();
    Application->OnException = TExceptionEvent::FromFunction(
        [&caught](TObject*, const Exception& e) { caught.push_back(e.Message()); });

    int status = 0;
    {
        TempFolder settings;
        try {
            TCustomForm* form = nullptr;
            if (o.metronome) {
#ifdef SCREENSHOT_METRONOME
                form = LoadMetronome(o, ws, settings);
#else
                throw Exception("this build has no metronome window");
#endif
            } else if (!o.galleryPage.empty()) {
#ifdef SCREENSHOT_GALLERY
                if (!FindGalleryPage(o.galleryPage))
                    throw Exception("no gallery page named " + o.galleryPage);
                TfrmGallery* gallery = nullptr;
                Application->CreateForm(gallery);
                gallery->ShowPage(o.galleryPage);
                gallery->Show();
                Application->ProcessMessages();
                form = gallery;
#else
                throw Exception("this build has no gallery");
#endif
            } else {
                form = LoadDescription(o);
            }
            for (const std::string& m : caught)
                std::fprintf(stderr, "screenshot: exception in the message loop: %s\n", m.c_str());
            if (!caught.empty())
                status = 1;
            plat::Surface shown = ws.Presented(form->WindowHandle());
            if (shown.Width() <= 0 || shown.Height() <= 0)
                throw Exception("the window has no pixels to write");
            if (!plat::SavePngFile(o.output, shown))
                throw Exception("cannot write " + o.output);
        } catch (const std::exception& e) {
            std::fprintf(stderr, "screenshot: %s\n", e.what());
            status = 1;
        }
        // The forms go while the window system still exists; the settings folder after.
        try {
            Application->Reset();
        } catch (const std::exception& e) {
            std::fprintf(stderr, "screenshot: %s\n", e.what());
            status = 1;
        }
#ifdef SCREENSHOT_METRONOME
        frmMetronome = nullptr;
        SetSettingsFileName("");
#endif
    }
    SetSynchronizeShutdown(true);
    plat::InstallWindowSystem(nullptr);
    plat::UseManualClock(false);
    plat::sound::Shutdown();
    return status;
}

} // namespace

int main(int argc, char** argv)
{
    std::optional<Options> o = ParseArguments(argc, argv);
    if (!o) {
        Usage();
        return 2;
    }
    return Render(*o);
}
