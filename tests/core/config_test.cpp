// The settings layers: values of the command line and of the file, every bad
// input, the file's warnings and that it is never written; the view's keys
// and wheel.
#include <gtest/gtest.h>

#include <sys/stat.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "app/config.h"
#include "app/settings.h"
#include "app/view_turn.h"
#include "toolkit/ws.h"

namespace {

// A folder of its own under the test's temporary folder, removed at the end.
class TempDir {
public:
    TempDir()
    {
        char tmpl[] = "/tmp/tenmado-config-test.XXXXXX";
        path_ = mkdtemp(tmpl);
    }
    ~TempDir()
    {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
    std::string file(const std::string& name, const std::string& text) const
    {
        std::ofstream(path_ + "/" + name, std::ios::binary) << text;
        return path_ + "/" + name;
    }
    const std::string& path() const { return path_; }

private:
    std::string path_;
};

struct Read {
    ConfigLayer layer;
    std::vector<std::string> warnings;
};
Read ReadFile(const std::string& path, bool required = true)
{
    Read r;
    Config_ReadFile(path, required, &r.layer, &r.warnings);
    return r;
}

bool Contains(const std::string& s, const std::string& part) { return s.find(part) != std::string::npos; }

}  // namespace

TEST(ConfigParse, RangesAndSyntax)
{
    struct Case { ConfigKey key; const char* text; bool ok; double value; };
    const Case cases[] = {
        {ConfigKey::Latitude, "35.6", true, 35.6},     {ConfigKey::Latitude, "-90", true, -90},
        {ConfigKey::Latitude, "+90", true, 90},        {ConfigKey::Latitude, "4.306e1", true, 43.06},
        {ConfigKey::Latitude, "-0", true, 0},          {ConfigKey::Latitude, ".5", true, 0.5},
        {ConfigKey::Latitude, "90.0001", false, 0},    {ConfigKey::Latitude, "-91", false, 0},
        {ConfigKey::Longitude, "-180", true, -180},    {ConfigKey::Longitude, "180.5", false, 0},
        {ConfigKey::Zone, "5.75", true, 5.75},         {ConfigKey::Zone, "-12", true, -12},
        {ConfigKey::Zone, "14", true, 14},             {ConfigKey::Zone, "14.25", false, 0},
        {ConfigKey::Zone, "5.1", false, 0},            {ConfigKey::Zone, "-12.25", false, 0},
        {ConfigKey::Azimuth, "360", true, 360},        {ConfigKey::Azimuth, "-360", true, -360},
        {ConfigKey::Azimuth, "360.5", false, 0},       {ConfigKey::Azimuth, "-30", true, -30},
    };
    for (const Case& c : cases) {
        double v = -1;
        EXPECT_EQ(Config_Parse(c.key, c.text, &v), c.ok) << c.text;
        if (c.ok) {
            EXPECT_EQ(v, c.value) << c.text;
        }
    }
    // text that is no number: ParseNumber.SyntaxAndLimits (command_line_test.cpp)
    double v = -1;
    EXPECT_FALSE(Config_Parse(ConfigKey::Latitude, nullptr, &v));
}

// Defaults, then the file, then the command line: the later wins key by
// key; the zone is set only where a layer gives it.
TEST(ConfigLayers, LaterWins)
{
    ConfigValues v = Config_Defaults();
    EXPECT_EQ(v.latitude, kObserverDefaults.lat);
    EXPECT_EQ(v.longitude, kObserverDefaults.lon);
    EXPECT_EQ(v.azimuth, kObserverDefaults.azmt);
    EXPECT_FALSE(v.zone_set);
    EXPECT_FALSE(v.widget);
    ConfigLayer file, command_line;
    file.latitude = 43.06;
    file.longitude = 141.35;
    file.widget = true;
    command_line.latitude = 26.2;
    command_line.zone = 9;
    Config_Over(file, &v);
    Config_Over(command_line, &v);
    EXPECT_EQ(v.latitude, 26.2);
    EXPECT_EQ(v.longitude, 141.35);
    EXPECT_TRUE(v.zone_set);
    EXPECT_EQ(v.zone, 9);
    EXPECT_EQ(v.azimuth, 0);
    EXPECT_TRUE(v.widget);

    v.azimuth = 180;
    Config_Apply(v);
    EXPECT_EQ(m_input_lat, 26.2);
    EXPECT_EQ(m_input_lon, 141.35);
    EXPECT_TRUE(m_input_zone_set);
    EXPECT_EQ(m_input_zone, 9);
    EXPECT_EQ(m_input_azmt, 180);
    EXPECT_EQ(View_Home(), 180);
    Settings_Reset();
    EXPECT_FALSE(m_input_zone_set);
    EXPECT_EQ(View_Home(), kObserverDefaults.azmt);
}

TEST(ConfigFile, ValuesWarningsAndNeverWritten)
{
    TempDir dir;
    // good values, with the comments and blank lines of a key file
    Read r = ReadFile(dir.file("good.ini", "# Sapporo\n[observer]\nlatitude = 43.06\n"
                                           "longitude=141.35\nzone=9\nazimuth=-30\n\n[window]\n"
                                           "widget=true\n[other]\nx=1\n"));
    EXPECT_TRUE(r.warnings.empty()) << r.warnings[0];
    EXPECT_EQ(r.layer.latitude.value_or(0), 43.06);
    EXPECT_EQ(r.layer.longitude.value_or(0), 141.35);
    EXPECT_EQ(r.layer.zone.value_or(0), 9);
    EXPECT_EQ(r.layer.azimuth.value_or(0), -30);
    EXPECT_EQ(r.layer.widget.value_or(false), true);

    // each bad value: one warning naming the file, the key and the value; the
    // good values of the same file stay
    const std::string bad = dir.file("bad.ini", "[observer]\nlatitude=91\nlongitude=abc\nzone=5.1\n"
                                                "azimuth=10\nlatitud=3\n[window]\nwidget=yes\n");
    r = ReadFile(bad);
    ASSERT_EQ(r.warnings.size(), 5u);
    EXPECT_TRUE(Contains(r.warnings[0], bad) && Contains(r.warnings[0], "latitude") &&
                Contains(r.warnings[0], "\"91\"") && Contains(r.warnings[0], "-90 to 90"))
        << r.warnings[0];
    EXPECT_TRUE(Contains(r.warnings[1], "longitude") && Contains(r.warnings[1], "\"abc\"")) << r.warnings[1];
    EXPECT_TRUE(Contains(r.warnings[2], "zone") && Contains(r.warnings[2], "0.25")) << r.warnings[2];
    EXPECT_TRUE(Contains(r.warnings[3], "\"latitud\"") && Contains(r.warnings[3], "not a setting"))
        << r.warnings[3];
    EXPECT_TRUE(Contains(r.warnings[4], "widget") && Contains(r.warnings[4], "\"yes\"")) << r.warnings[4];
    EXPECT_FALSE(r.layer.latitude || r.layer.longitude || r.layer.zone || r.layer.widget);
    EXPECT_EQ(r.layer.azimuth.value_or(0), 10);

    // a file that is not a key file, one that is not a file, one that is not
    // there: one warning, no value at all; the default file absent: nothing
    for (const std::string& path : {dir.file("text.ini", "latitude=43\n"),
                                    dir.file("group.ini", "[observer\nlatitude=43\n"),
                                    dir.path(), dir.path() + "/none.ini"}) {
        r = ReadFile(path);
        ASSERT_EQ(r.warnings.size(), 1u) << path;
        EXPECT_TRUE(Contains(r.warnings[0], "built-in settings")) << r.warnings[0];
        EXPECT_FALSE(r.layer.latitude);
    }
    r = ReadFile(dir.path() + "/none.ini", false);
    EXPECT_TRUE(r.warnings.empty());
    // bytes that are no text are a bad value, quoted escaped
    r = ReadFile(dir.file("bytes.ini", std::string("[observer]\nlatitude=\xff\xfe\n")));
    ASSERT_EQ(r.warnings.size(), 1u);
    EXPECT_TRUE(Contains(r.warnings[0], "latitude = \"\\377\\376\"")) << r.warnings[0];

    // reading changes neither the files nor the folder
    struct stat before, after;
    ASSERT_EQ(stat(bad.c_str(), &before), 0);
    const std::string text = [&] { std::ifstream in(bad); return std::string(std::istreambuf_iterator<char>(in), {}); }();
    for (int i = 0; i < 3; ++i) ReadFile(bad);
    ASSERT_EQ(stat(bad.c_str(), &after), 0);
    EXPECT_EQ(before.st_mtim.tv_sec, after.st_mtim.tv_sec);
    EXPECT_EQ(before.st_mtim.tv_nsec, after.st_mtim.tv_nsec);
    EXPECT_EQ(before.st_size, after.st_size);
    std::ifstream again(bad);
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(again), {}), text);
}

// ← → by 15 degrees, with Shift by 90, Home back to the setting, the wheel
// only over the sky; the view stays in (-180, 180]; other keys do nothing.
TEST(ViewTurn, KeysAndWheel)
{
    Settings_Reset();
    auto key = [](WSKey k, bool shift = false) {
        WSEvent e;
        e.trigger = WSEV_KEY_PRESS;
        e.key = k;
        e.shift = shift;
        return e;
    };
    auto wheel = [](int w, int x, int y) {
        WSEvent e;
        e.trigger = WSEV_MOUSE_WHEEL;
        e.wheel = w;
        e.x = x;
        e.y = y;
        return e;
    };
    double a = 0;
    EXPECT_TRUE(View_Apply(key(WSKey::Right), &a));
    EXPECT_EQ(a, 15);
    EXPECT_TRUE(View_Apply(key(WSKey::Right, true), &a));
    EXPECT_EQ(a, 105);
    EXPECT_TRUE(View_Apply(key(WSKey::Right, true), &a));
    EXPECT_EQ(a, -165);
    EXPECT_TRUE(View_Apply(key(WSKey::Left), &a));
    EXPECT_EQ(a, 180);
    EXPECT_TRUE(View_Apply(key(WSKey::Left, true), &a));
    EXPECT_EQ(a, 90);
    EXPECT_FALSE(View_Apply(key(WSKey::Other), &a));
    EXPECT_EQ(a, 90);
    View_SetHome(-30);
    EXPECT_TRUE(View_Apply(key(WSKey::Home), &a));
    EXPECT_EQ(a, -30);

    // the wheel over the sky turns, beside it (the Moon, the clock, a corner) not
    a = 0;
    EXPECT_TRUE(View_Apply(wheel(1, 250, 230), &a));
    EXPECT_EQ(a, 15);
    EXPECT_TRUE(View_Apply(wheel(-1, 150, 150), &a));
    EXPECT_EQ(a, 0);
    for (auto [x, y] : {std::pair{50, 115}, std::pair{460, 115}, std::pair{0, 0}, std::pair{529, 299}})
        EXPECT_FALSE(View_Apply(wheel(1, x, y), &a)) << x << "," << y;
    EXPECT_FALSE(View_Apply(wheel(0, 250, 230), &a));
    EXPECT_EQ(a, 0);

    // the procedure turns the setting of the view and asks for one repaint
    WSCvdrawingArea area(nullptr, "turn");
    WSCprocedure p("kp", WSEV_KEY_PRESS);
    p.setFunction(view_turn, "view_turn");
    area.bindProcedure(&p);
    m_input_azmt = 0;
    area.deliver(key(WSKey::Right));
    EXPECT_EQ(m_input_azmt, 15);
    EXPECT_EQ(area.repaintRequests(), 1);
    area.deliver(wheel(1, 250, 230));  // no wheel procedure bound
    EXPECT_EQ(m_input_azmt, 15);
    EXPECT_EQ(area.repaintRequests(), 1);
    Settings_Reset();
}
