#include "platform/system/Desktop.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <map>
#include <sstream>
#include <unistd.h>

namespace fs = std::filesystem;
namespace dt = plat::desktop;

namespace {

uint32_t Crc32(const std::string& bytes)
{
    uint32_t c = 0xFFFFFFFFu;
    for (unsigned char b : bytes) {
        c ^= b;
        for (int k = 0; k < 8; ++k)
            c = (c >> 1) ^ (0xEDB88320u & (0u - (c & 1u)));
    }
    return c ^ 0xFFFFFFFFu;
}

std::string Be32(uint32_t v)
{
    return { char(v >> 24), char(v >> 16), char(v >> 8), char(v) };
}

// A valid size x size grey PNG: stored (uncompressed) deflate data, real checksums.
std::string MakePng(int size)
{
    std::string raw;
    for (int y = 0; y < size; ++y) {
        raw += '\0';
        raw.append(size_t(size), char(0x80));
    }
    uint32_t a = 1, b = 0;
    for (unsigned char ch : raw) {
        a = (a + ch) % 65521;
        b = (b + a) % 65521;
    }
    std::string z = "\x78\x01";
    z += '\x01';
    z += char(raw.size() & 0xFF);
    z += char(raw.size() >> 8);
    z += char(~raw.size() & 0xFF);
    z += char((~raw.size() >> 8) & 0xFF);
    z += raw + Be32((b << 16) | a);
    auto chunk = [](const std::string& type, const std::string& data) {
        return Be32(uint32_t(data.size())) + type + data + Be32(Crc32(type + data));
    };
    std::string ihdr
        = Be32(uint32_t(size)) + Be32(uint32_t(size)) + std::string("\x08\x00\x00\x00\x00", 5);
    return std::string("\x89PNG\r\n\x1a\n", 8) + chunk("IHDR", ihdr) + chunk("IDAT", z)
        + chunk("IEND", "");
}

void Write(const fs::path& p, const std::string& text)
{
    fs::create_directories(p.parent_path());
    std::ofstream(p, std::ios::binary) << text;
}

std::string ReadFile(const fs::path& path)
{
    std::ifstream in(path, std::ios::binary);
    std::stringstream ss;
    ss << in.rdbuf();
    return ss.str();
}

std::string Entry(const std::string& name, const std::string& exec, const std::string& extra = "")
{
    return "# comment\n[Desktop Entry]\nType=Application\nName=" + name + "\nName[de]=Anders\nExec="
        + exec + "\nIcon=" + name + "-icon\n" + extra + "\n[Desktop Action x]\nExec=other\n";
}

// A private XDG tree: home (data and config), two data folders, one config folder.
class Desktop : public ::testing::Test {
protected:
    fs::path FRoot;
    std::map<std::string, std::optional<std::string>> FSaved;

    void SetEnv(const char* name, const std::string& value)
    {
        if (!FSaved.count(name)) {
            const char* old = std::getenv(name);
            FSaved[name] = old ? std::optional<std::string>(old) : std::nullopt;
        }
        setenv(name, value.c_str(), 1);
    }
    fs::path Data1() const { return FRoot / "data1"; }
    fs::path Data2() const { return FRoot / "data2"; }
    fs::path DataHome() const { return FRoot / "home/.local/share"; }
    fs::path ConfigHome() const { return FRoot / "home/.config"; }

    void SetUp() override
    {
        FRoot = fs::path(::testing::TempDir()) / ("xdg_" + std::to_string(getpid()));
        fs::remove_all(FRoot);
        fs::create_directories(FRoot / "home");
        SetEnv("HOME", (FRoot / "home").string());
        unsetenv("XDG_DATA_HOME"); // the default below $HOME applies
        SetEnv("XDG_DATA_DIRS", Data1().string() + ":relative/ignored:" + Data2().string());
        SetEnv("XDG_CONFIG_HOME", ConfigHome().string());
        SetEnv("XDG_CONFIG_DIRS", (FRoot / "etcxdg").string());
        SetEnv("XDG_CURRENT_DESKTOP", "TestDE:Other");
    }
    void TearDown() override
    {
        for (const auto& [name, value] : FSaved)
            if (value)
                setenv(name.c_str(), value->c_str(), 1);
            else
                unsetenv(name.c_str());
        unsetenv("XDG_DATA_HOME");
        fs::remove_all(FRoot);
    }
};

} // namespace

TEST(DesktopExec, SplitsByTheQuotingRules)
{
    using V = std::vector<std::string>;
    EXPECT_EQ(dt::SplitExec("volctl --tab=1 %U"), (V { "volctl", "--tab=1", "%U" }));
    EXPECT_EQ(dt::SplitExec("  a   b\t c  "), (V { "a", "b", "c" }));
    EXPECT_EQ(dt::SplitExec(R"("/opt/my app/run" "a \"q\" \\ \$x \`y\`")"),
        (V { "/opt/my app/run", "a \"q\" \\ $x `y`" }));
    EXPECT_EQ(dt::SplitExec(R"(x "" y)"), (V { "x", "", "y" }));
    EXPECT_EQ(dt::SplitExec(R"(pre"fix mid"post %%)"), (V { "prefix midpost", "%%" }));
    EXPECT_EQ(dt::SplitExec(R"("unterminated arg)"), V {});
    EXPECT_EQ(dt::SplitExec(""), V {});
}

TEST_F(Desktop, FindsEntriesByExecOrFileNameInXdgOrder)
{
    Write(DataHome() / "applications/mixer-vol.desktop",
        Entry("Volume", "/usr/bin/volctl --tab=1 %U"));
    Write(Data1() / "applications/volctl.desktop", Entry("System Volume", "volctl"));
    Write(Data1() / "applications/kde/tool.desktop", Entry("Kde Tool", "kdetool %f"));
    Write(
        Data1() / "applications/linky.desktop", "[Desktop Entry]\nType=Link\nName=L\nExec=linky\n");
    Write(Data1() / "applications/envprog.desktop", Entry("Env", "env A=1 B=2 /opt/bin/realprog"));
    Write(Data2() / "applications/hidden-app.desktop", Entry("Hidden", "hidden-app"));
    Write(DataHome() / "applications/hidden-app.desktop", "[Desktop Entry]\nHidden=true\n");
    Write(
        Data2() / "applications/escaped.desktop", Entry("Esc\\sName", R"(sh -c "echo \\"hi\\"")"));

    auto vol = dt::FindDesktopEntryFor("/usr/bin/volctl");
    ASSERT_TRUE(vol);
    EXPECT_EQ(vol->id, "mixer-vol.desktop"); // the user's folder comes first
    EXPECT_EQ(vol->name, "Volume");
    EXPECT_EQ(vol->exec, "/usr/bin/volctl --tab=1 %U");
    EXPECT_EQ(vol->icon, "Volume-icon");
    EXPECT_EQ(fs::path(vol->path), DataHome() / "applications/mixer-vol.desktop");

    auto kde = dt::FindDesktopEntryFor("kdetool");
    ASSERT_TRUE(kde);
    EXPECT_EQ(kde->id, "kde-tool.desktop");
    auto byName = dt::FindDesktopEntryFor("tool"); // file name is "kde-tool", not "tool"
    EXPECT_FALSE(byName);
    auto env = dt::FindDesktopEntryFor("realprog");
    ASSERT_TRUE(env);
    EXPECT_EQ(env->id, "envprog.desktop");
    EXPECT_FALSE(dt::FindDesktopEntryFor("linky")); // not an application
    EXPECT_FALSE(dt::FindDesktopEntryFor("hidden-app")); // hidden by the user's copy
    EXPECT_FALSE(dt::FindDesktopEntryFor("nothing-like-it"));
    auto esc = dt::FindDesktopEntryById("escaped.desktop");
    ASSERT_TRUE(esc);
    EXPECT_EQ(esc->name, "Esc Name");
    EXPECT_EQ(dt::SplitExec(esc->exec), (std::vector<std::string> { "sh", "-c", "echo \"hi\"" }));
}

TEST_F(Desktop, DefaultApplicationFollowsMimeappsOrder)
{
    Write(Data1() / "applications/browser.desktop", Entry("Browser", "browser %u"));
    Write(Data1() / "applications/viewer.desktop", Entry("Viewer", "viewer %f"));
    Write(Data1() / "applications/de-viewer.desktop", Entry("DE Viewer", "deviewer %f"));
    Write(ConfigHome() / "mimeapps.list",
        "[Added Associations]\nimage/png=browser.desktop;\n"
        "[Default Applications]\ntext/html=missing.desktop;viewer.desktop;\n");
    Write(ConfigHome() / "testde-mimeapps.list",
        "[Default Applications]\nimage/gif=de-viewer.desktop\n");
    Write(FRoot / "etcxdg/mimeapps.list",
        "[Default Applications]\ntext/html=browser.desktop\nimage/gif=viewer.desktop\n");
    Write(Data2() / "applications/mimeapps.list",
        "[Default Applications]\nx-scheme-handler/http=browser.desktop;viewer.desktop\n");

    EXPECT_EQ(dt::DefaultDesktopEntryForMime("text/html"), "viewer.desktop");
    EXPECT_EQ(dt::DefaultDesktopEntryForMime("TEXT/HTML"), "viewer.desktop");
    EXPECT_EQ(dt::DefaultDesktopEntryForMime("image/gif"), "de-viewer.desktop");
    EXPECT_EQ(dt::DefaultDesktopEntryForMime("x-scheme-handler/http"), "browser.desktop");
    EXPECT_FALSE(dt::DefaultDesktopEntryForMime("image/png")); // only an added association
    EXPECT_FALSE(dt::DefaultDesktopEntryForMime("audio/x-none"));
}

TEST_F(Desktop, IconLookupPrefersThemeThenNearestSize)
{
    const std::string png = MakePng(4);
    for (int n : { 16, 32, 48 })
        Write(Data2()
                / ("icons/hicolor/" + std::to_string(n) + "x" + std::to_string(n)
                    + "/apps/app.png"),
            png);
    Write(Data1() / "icons/hicolor/scalable/apps/app.png", png);
    Write(Data1() / "icons/Adwaita/16x16/legacy/adw-only.png", png);
    Write(Data1() / "icons/MyTheme/64x64/apps/themed.png", png);
    Write(Data2() / "icons/hicolor/16x16/apps/themed.png", png);
    Write(Data1() / "icons/hicolor/16x16/apps/fake.png", "not a png at all");
    Write(Data1() / "icons/hicolor/16x16/apps/vector.svg", "<svg/>");
    Write(Data2() / "pixmaps/pix-only.png", png);
    Write(ConfigHome() / "gtk-3.0/settings.ini", "[Settings]\ngtk-icon-theme-name=MyTheme\n");

    auto sized = [&](int n) {
        return (Data2()
            / ("icons/hicolor/" + std::to_string(n) + "x" + std::to_string(n) + "/apps/app.png"))
            .string();
    };
    EXPECT_EQ(dt::FindIconFile("app", 16), sized(16));
    EXPECT_EQ(dt::FindIconFile("app", 20), sized(16));
    EXPECT_EQ(dt::FindIconFile("app", 40), sized(48)); // 32 and 48 are as near: the larger
    EXPECT_EQ(dt::FindIconFile("app", 200), sized(48));
    EXPECT_EQ(dt::FindIconFile("app.png", 16), sized(16));
    EXPECT_EQ(
        dt::FindIconFile("themed", 16), (Data1() / "icons/MyTheme/64x64/apps/themed.png").string());
    EXPECT_EQ(dt::FindIconFile("adw-only", 16),
        (Data1() / "icons/Adwaita/16x16/legacy/adw-only.png").string());
    EXPECT_EQ(dt::FindIconFile("pix-only", 16), (Data2() / "pixmaps/pix-only.png").string());
    EXPECT_FALSE(dt::FindIconFile("fake", 16));
    EXPECT_FALSE(dt::FindIconFile("vector", 16));
    EXPECT_FALSE(dt::FindIconFile("../icons/app", 16));
    EXPECT_FALSE(dt::FindIconFile("", 16));

    const fs::path absolute = FRoot / "abs/logo.png";
    Write(absolute, png);
    EXPECT_EQ(dt::FindIconFile(absolute.string(), 16), absolute.string());
    Write(FRoot / "abs/logo.svg", "<svg/>");
    EXPECT_FALSE(dt::FindIconFile((FRoot / "abs/logo.svg").string(), 16));
}

TEST_F(Desktop, OpensAddressesThroughXdgOpenOnPath)
{
    const fs::path bin = FRoot / "bin";
    const fs::path log = FRoot / "opened.txt";
    Write(bin / "xdg-open",
        "#!/bin/sh\nprintf '%s|%s\\n' \"$#\" \"$1\" > '" + log.string() + "'\nexit 3\n");
    fs::permissions(bin / "xdg-open", fs::perms(0755));
    const char* oldPath = std::getenv("PATH");
    SetEnv("PATH", bin.string() + ":" + (oldPath ? oldPath : "/usr/bin:/bin"));

    const std::string url = "http://example.invalid/music/index.htm?a=1&b='x y'";
    EXPECT_EQ(dt::OpenWithDefaultHandler(url), 3);
    EXPECT_EQ(ReadFile(log), "1|" + url + "\n");
    EXPECT_EQ(dt::OpenWithDefaultHandler("--help"), -1);
    EXPECT_EQ(dt::OpenWithDefaultHandler(""), -1);

    SetEnv("PATH", (FRoot / "empty").string());
    EXPECT_EQ(dt::OpenWithDefaultHandler(url), -1);
}
