// The settings file written by Save: the values read back, the file's
// comments, unknown groups and keys kept, its mode kept, a zone from the
// longitude leaving no key; a folder that cannot be written leaves the file
// untouched with a reason.
#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <fstream>
#include <sstream>
#include <string>

#include "app/config.h"
#include "app/settings_file.h"

namespace {

std::string Read(const std::string& path)
{
    std::ifstream in(path);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
}

}  // namespace

TEST(SettingsFile, WrittenWholeKeepingWhatItDoesNotKnow)
{
    const std::string dir = testing::TempDir() + "settings_file_" + std::to_string(getpid());
    const std::string path = dir + "/tenmado/settings.ini";
    // a new file in a new folder, mode 0600
    ConfigValues v = Config_Defaults();
    v.latitude = 43.0667;
    v.longitude = 141.35;
    v.zone_name = "Asia/Tokyo";
    v.place_name = "Sapporo";
    v.azimuth = 180;
    std::string why;
    ASSERT_TRUE(SettingsFile_Write(path, v, &why)) << why;
    struct stat st;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0600u);

    // read back as the program reads it
    ConfigLayer layer;
    std::vector<std::string> warnings;
    Config_ReadFile(path, true, &layer, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.at(0);
    EXPECT_EQ(*layer.latitude, 43.0667);
    EXPECT_EQ(*layer.azimuth, 180);
    EXPECT_EQ(*layer.zone_name, "Asia/Tokyo");
    ASSERT_TRUE(layer.place);
    EXPECT_EQ(layer.place->name, "Sapporo");

    // a file of the user's: comments, another group and key survive, the
    // mode too; the zone from the longitude removes the key
    {
        std::ofstream out(path);
        out << "# my settings\n[observer]\n# where I live\nlatitude = 1\nzone = 9\n\n"
               "[reminders]\nenabled = true\n";
    }
    ASSERT_EQ(chmod(path.c_str(), 0640), 0);
    v = Config_Defaults();
    v.latitude = -33.9;
    ASSERT_TRUE(SettingsFile_Write(path, v, &why)) << why;
    const std::string text = Read(path);
    EXPECT_NE(text.find("# my settings"), std::string::npos) << text;
    EXPECT_NE(text.find("# where I live\nlatitude=-33.9"), std::string::npos) << text;
    EXPECT_NE(text.find("[reminders]\nenabled=true"), std::string::npos) << text;
    EXPECT_EQ(text.find("zone"), std::string::npos) << text;
    EXPECT_EQ(text.find("place"), std::string::npos) << text;
    ASSERT_EQ(stat(path.c_str(), &st), 0);
    EXPECT_EQ(st.st_mode & 0777, 0640u);

    // a folder that cannot be made (a file stands in its way, which stops
    // root too): a reason, nothing written
    const std::string blocked = dir + "/blocked";
    { std::ofstream out(blocked); }
    v.latitude = 10;
    EXPECT_FALSE(SettingsFile_Write(blocked + "/tenmado/settings.ini", v, &why));
    EXPECT_NE(why.find("blocked"), std::string::npos) << why;
    // a file that is not a key file is not overwritten
    {
        std::ofstream out(path);
        out << "this is not = a key file [\n";
    }
    EXPECT_FALSE(SettingsFile_Write(path, v, &why));
    EXPECT_EQ(Read(path), "this is not = a key file [\n");
    EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
}

TEST(SettingsFile, TidesLabelsAndTheFirstStart)
{
    const std::string dir = testing::TempDir() + "settings_welcome_" + std::to_string(getpid());
    const std::string path = dir + "/tenmado/settings.ini";
    ConfigLayer none;
    // nothing there: the first start, unless --config or an option says where
    EXPECT_TRUE(Config_FirstStart(false, none, path));
    EXPECT_FALSE(Config_FirstStart(true, none, path));
    ConfigLayer lat;
    lat.latitude = 10;
    EXPECT_FALSE(Config_FirstStart(false, lat, path));

    // the offer closed: only [window] welcomed, which the reader takes quietly
    std::string why;
    ASSERT_TRUE(SettingsFile_Welcomed(path, &why)) << why;
    EXPECT_EQ(Read(path), "[window]\nwelcomed=true\n");
    EXPECT_FALSE(Config_FirstStart(false, none, path));
    ConfigLayer layer;
    std::vector<std::string> warnings;
    Config_ReadFile(path, true, &layer, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.at(0);

    // a station and the labels saved; the default labels of a file without
    // the key leave none, a station back to the default removes its key
    ConfigValues v = Config_Defaults();
    v.tide_station = "ticon/osaka";
    ASSERT_TRUE(SettingsFile_Write(path, v, &why)) << why;
    std::string text = Read(path);
    EXPECT_NE(text.find("[tides]\nstation=ticon/osaka"), std::string::npos) << text;
    EXPECT_EQ(text.find("labels"), std::string::npos) << text;
    EXPECT_NE(text.find("welcomed=true"), std::string::npos) << text;
    v.tide_station.clear();
    v.labels = LabelChoice::Auto;
    ASSERT_TRUE(SettingsFile_Write(path, v, &why)) << why;
    text = Read(path);
    EXPECT_EQ(text.find("station"), std::string::npos) << text;
    Config_ReadFile(path, true, &layer, &warnings);
    EXPECT_TRUE(warnings.empty()) << warnings.at(0);
    ASSERT_TRUE(layer.labels);
    EXPECT_EQ(*layer.labels, LabelChoice::Auto);
    v.labels = LabelChoice::Japanese;  // the default, but the file has the key: it says ja
    ASSERT_TRUE(SettingsFile_Write(path, v, &why)) << why;
    EXPECT_NE(Read(path).find("labels=ja"), std::string::npos) << Read(path);
    EXPECT_EQ(std::system(("rm -rf '" + dir + "'").c_str()), 0);
}
