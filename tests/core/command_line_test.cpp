// The command line and the one number syntax of the options and the
// settings file: requests and usage errors, table by table.
#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <string>
#include <variant>
#include <vector>

#include "app/command_line.h"
#include "app/config.h"
#include "app/input_text.h"

namespace {

// ParseCommandLine of "tenmado" and the arguments (GLib rewrites argv).
std::variant<CommandRequest, UsageError> Parse(std::initializer_list<const char*> args)
{
    std::vector<std::string> owned = {"tenmado"};
    for (const char* a : args) owned.push_back(a);
    std::vector<char*> argv;
    for (std::string& s : owned) argv.push_back(s.data());
    argv.push_back(nullptr);
    return ParseCommandLine(static_cast<int>(owned.size()), argv.data(), "0.0-test");
}

}  // namespace

// One syntax for every number: sign, digits with a point, exponent; the
// nearest double; an underflow is zero, an overflow refused.
TEST(ParseNumber, SyntaxAndLimits)
{
    const struct { const char* text; double value; } good[] = {
        {"35.6", 35.6}, {"+90", 90},  {"-0", 0},     {".5", 0.5},       {"5.", 5},
        {"4.306e1", 43.06}, {"2E+0", 2}, {"1e-3", 0.001}, {"9e-999999", 0}, {"-9e-999999", 0},
        {"000012", 12}, {"1e308", 1e308},
    };
    for (const auto& c : good) {
        double v = -1;
        EXPECT_TRUE(ParseNumber(c.text, &v)) << c.text;
        EXPECT_EQ(v, c.value) << c.text;
        EXPECT_FALSE(std::signbit(v)) << c.text;
    }
    for (const char* text : {"", " 35", "35 ", "35\n", "0x10", "inf", "-inf", "nan", "1e999", "1e",
                             "abc", "35,6", "1.2.3", "--5", "+-5", "++5", ".", "e5", "５", "1e+",
                             "1_000", "2e0x"}) {
        double v = -1;
        EXPECT_FALSE(ParseNumber(text, &v)) << "\"" << text << "\"";
        EXPECT_EQ(v, -1);
        for (ConfigKey k : {ConfigKey::Latitude, ConfigKey::Longitude, ConfigKey::Zone, ConfigKey::Azimuth})
            EXPECT_FALSE(Config_Parse(k, text, &v)) << "\"" << text << "\"";
    }
    double v = -1;
    EXPECT_FALSE(ParseNumber(nullptr, &v));
}

// A value in a message: quoted, escaped, cut.
TEST(Shown, QuotedEscapedCut)
{
    EXPECT_EQ(Shown("abc"), "\"abc\"");
    EXPECT_EQ(Shown(nullptr), "\"\"");
    EXPECT_EQ(Shown("a\"b\n\xff"), "\"a\\\"b\\n\\377\"");
    EXPECT_EQ(Shown(std::string(50, 'x').c_str()), "\"" + std::string(40, 'x') + "...\"");
    EXPECT_EQ(Printable("a\tb", 10), "a\\tb");
    EXPECT_EQ(Printable(std::string(12, 'y'), 10), std::string(10, 'y') + "...");
}

// Requests: what each accepted command line asks for.
TEST(ParseCommandLine, Requests)
{
    using Action = CommandRequest::Action;
    {
        const auto r = std::get<CommandRequest>(Parse({}));
        EXPECT_EQ(r.action, Action::Window);
        EXPECT_FALSE(r.at_given);
        EXPECT_FALSE(r.options.latitude || r.options.longitude || r.options.zone ||
                     r.options.azimuth || r.options.widget);
    }
    {
        const auto r = std::get<CommandRequest>(
            Parse({"--snapshot", "a.PNG", "--scale", "+1.5e0", "--at", "2026-12-06 21:00:00"}));
        EXPECT_EQ(r.action, Action::Output);
        EXPECT_EQ(r.snapshot, "a.PNG");
        EXPECT_EQ(r.scale, 1.5);
        EXPECT_TRUE(r.at_given);
        EXPECT_FALSE(r.almanac);
    }
    {
        const auto r = std::get<CommandRequest>(Parse({"--almanac", "--json", "--days", "1e1",
                                                       "--lat=-33.9", "--lon", "+151.2", "--zone",
                                                       "10.5", "--azimuth", "-0", "--widget",
                                                       "--config", "x.ini"}));
        EXPECT_EQ(r.action, Action::Output);
        EXPECT_TRUE(r.almanac && r.json);
        EXPECT_EQ(r.days, 10);
        EXPECT_EQ(*r.options.latitude, -33.9);
        EXPECT_EQ(*r.options.longitude, 151.2);
        EXPECT_EQ(*r.options.zone, 10.5);
        EXPECT_EQ(*r.options.azimuth, 0);
        EXPECT_FALSE(std::signbit(*r.options.azimuth));
        EXPECT_TRUE(*r.options.widget);
        EXPECT_TRUE(r.config_given);
        EXPECT_EQ(r.config, "x.ini");
    }
    // --version wins over what follows
    EXPECT_EQ(std::get<CommandRequest>(Parse({"--version", "--scale", "x"})).action, Action::Version);
}

// Usage errors: each names the option and what it accepts.
TEST(ParseCommandLine, UsageErrors)
{
    const struct { std::initializer_list<const char*> args; const char* says; } cases[] = {
        {{"--almanac=1"}, "--almanac takes no value: \"--almanac=1\""},
        {{"--bogus"}, "Unknown option --bogus"},
        {{"extra"}, "unexpected argument \"extra\""},
        {{"--json"}, "--json only goes with --almanac"},
        {{"--snapshot", "a.png", "--scale", "8.01"}, "--scale \"8.01\" is not a scale: give a number from 1 to 8"},
        {{"--snapshot", "a.png", "--scale", "nan"}, "is not a scale"},
        {{"--almanac", "--scale", "2"}, "--scale only goes with --snapshot"},
        {{"--days", "2"}, "--days only goes with --almanac"},
        {{"--snapshot", "a.jpg"}, ": the picture is a PNG file"},
        {{"--snapshot", "-", "--almanac"}, "would both write to standard output"},
        {{"--almanac", "--at", "2026-13-01 00:00:00"}, "is not a civil time: no such date"},
        {{"--almanac", "--at", "1582-10-10 00:00:00"}, "1582-10-05 to 1582-10-14 do not exist"},
        {{"--almanac", "--at", "noon"}, "write \"YYYY-MM-DD HH:MM:SS\""},
        {{"--config", ""}, "--config needs the name of a settings file"},
        {{"--almanac", "--days", "1.5"}, "--days \"1.5\" is not a number of days from 1 to 3660"},
        {{"--almanac", "--days", "3661"}, "from 1 to 3660"},
        {{"--almanac", "--days", "0"}, "from 1 to 3660"},
        {{"--lat", "91"}, "--lat \"91\" is not a number of degrees from -90 to 90 (north positive)"},
        {{"--lon", "1e999"}, "--lon \"1e999\" is not a number of degrees from -180 to 180"},
        {{"--zone", "5.1"}, "--zone \"5.1\" is not a number of hours east of UTC from -12 to 14, "
                            "a multiple of 0.25"},
        {{"--azimuth", "360.5"}, "--azimuth \"360.5\" is not a number of degrees from -360 to 360"},
        // the first problem in the order of the checks
        {{"--lat", "91", "--days", "x", "--almanac"}, "--days"},
    };
    for (const auto& c : cases) {
        const auto parsed = Parse(c.args);
        const UsageError* e = std::get_if<UsageError>(&parsed);
        ASSERT_NE(e, nullptr) << c.says;
        EXPECT_NE(e->problem.find(c.says), std::string::npos) << e->problem;
    }
}

// The help text of the observer's options comes from the settings' rules.
TEST(ConfigRules, OptionHelpFromTheTable)
{
    EXPECT_EQ(Config_OptionHelp(ConfigKey::Latitude),
              "The observer's latitude, degrees from -90 to 90, north positive (default 35.6)");
    EXPECT_EQ(Config_OptionHelp(ConfigKey::Zone),
              "The civil time zone: hours east of UTC from -12 to 14 in steps of 0.25, a zone "
              "name of the tz database with its daylight saving (Europe/London), or system (TZ "
              "or /etc/localtime) (default: the whole hours nearest the longitude)");
    EXPECT_STREQ(Config_OptionArg(ConfigKey::Longitude), "DEG");
}
