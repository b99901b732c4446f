// Catalogue stars: Star_Position and the generated Star_table.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fstream>
#include <sstream>
#include <string>

#include <unistd.h>

#include "ephem/star.h"
#include "tests/core/shared_data.h"

namespace {
// Index of the catalogue entry with number hr, or -1.
int IndexOf(int hr)
{
    for (int i = 0; i < kStarCount; ++i)
        if (Star_table[i].hr == hr) return i;
    return -1;
}

tagPosition At(int hr, double jd)
{
    tagPosition p{};
    int i = IndexOf(hr);
    EXPECT_GE(i, 0) << hr;
    if (i >= 0) {
        EXPECT_EQ(Star_Position(jd, i, &p), 0);
    }
    return p;
}

std::string ReadFile(const std::string& path)
{
    std::ifstream f(path, std::ios::binary);
    std::ostringstream s;
    s << f.rdbuf();
    return s.str();
}

// Number, designation and name of every entry, in table order.
struct Entry { int hr; const char* label; const char* name; };
const Entry kEntries[] = {
    {39, "r Peg", "壁距星"}, {215, "ζAnd", "奎距星"}, {224, "δPsc", "外屏"}, {294, "εPsc", "外屏"},
    {510, "οPsc", "右更"}, {546, "γ2Ari", "婁"}, {553, "βAri", "婁距星"}, {563, "ιAri", "婁"},
    {596, "αPsc", "外屏"}, {617, "αAri", "婁"}, {646, "ηAri", "婁"}, {649, "ξ1Cet", "天"},
    {669, "θAri", "婁"}, {718, "ξ2Cet", "天"}, {773, "νAri", "左更"}, {782, "Ari", "胃"},
    {801, "Ari", "胃距星"}, {809, "οAri", "左更"}, {813, "μCet", "天"}, {824, "Ari", "胃"},
    {838, "Ari", "胃"}, {847, "σAri", "左更"}, {869, "ρ3Ari", "左更"}, {887, "εAri", "左更"},
    {896, "λCet", "天陰"}, {911, "αCet", "天"}, {951, "δAri", "天陰"}, {972, "ζAri", "天陰"},
    {1015, "τ2Ari", "天陰"}, {1030, "οTau", "天廩"}, {1038, "ξTau", "天廩"}, {1066, "Tau", "天廩"},
    {1126, "Tau", "天陰"}, {1140, "Tau", "昴"}, {1142, "Tau", "昴距星"}, {1144, "Tau", "昴"},
    {1149, "Tau", "昴"}, {1151, "Tau", "昴"}, {1152, "Tau", "昴"}, {1156, "Tau", "昴"},
    {1165, "ηTau", "昴"}, {1178, "Tau", "昴"}, {1180, "Tau", "昴"}, {1218, "Tau", "昴"},
    {1239, "λTau", "畢"}, {1256, "Tau", "月星"}, {1346, "γTau", "畢右股大星"}, {1373, "δ1Tau", "畢"},
    {1387, "κ1Tau", "天街"}, {1392, "υTau", "天街"}, {1409, "εTau", "畢距星"}, {1412, "θ2Tau", "畢"},
    {1444, "ρTau", "天節"}, {1457, "αTau", "畢大星"}, {1473, "Tau", "天節"}, {1479, "σ2Tau", "畢左股（附耳）"},
    {1497, "τTau", "諸王"}, {1547, "Tau", "天高"}, {1577, "ιAur", "五車"}, {1580, "ο2Ori", "参旗"},
    {1620, "ιTau", "天高"}, {1656, "Tau", "天高"}, {1791, "βTau", "五車"}, {1810, "Tau", "天高"},
    {1852, "δOri", "参距星"}, {1876, "φ1Ori", "觜距星"}, {1910, "ζTau", "天関"}, {2010, "Tau", "水府"},
    {2047, "χ1Ori", "司怪"}, {2135, "χ2Ori", "司怪"}, {2159, "νOri", "水府"}, {2199, "ξOri", "水府"},
    {2216, "ηGem", "鉞星"}, {2219, "κAur", ""}, {2220, "Ori", "司怪"}, {2286, "μGem", "東井距星"},
    {2343, "νGem", "東井"}, {2421, "γGem", "東井"}, {2473, "εGem", "東井"}, {2484, "ξGem", "東井"},
    {2529, "Gem", "東井"}, {2540, "θGem", "五諸侯"}, {2650, "ζGem", "東井"}, {2697, "τGem", "五諸侯"},
    {2763, "λGem", "東井"}, {2777, "δGem", "天樽"}, {2821, "ιGem", "五諸侯"}, {2852, "ρGem", "北河"},
    {2890, "αGem", "北河"}, {2905, "υGem", "五諸侯"}, {2983, "Gem", "積薪"}, {2985, "κGem", "積薪"},
    {2990, "βGem", "北河"}, {3149, "χGem", "火鸛"}, {3357, "θCnc", "輿鬼距星"}, {3366, "ηCnc", "輿鬼"},
    {3410, "δHya", "柳距星"}, {3429, "εCnc", "輿鬼積尸"}, {3449, "γCnc", "輿鬼"}, {3461, "δCnc", "輿鬼"},
    {3475, "ιCnc", "軒轅"}, {3561, "ο1Cnc", "輿鬼"}, {3572, "αCnc", "輿鬼"}, {3748, "αHya", "七星距星"},
    {3773, "λLeo", "軒轅"}, {3782, "ξLeo", "酒旗"}, {3818, "Leo", "酒旗"}, {3852, "οLeo", "右民角"},
    {3873, "εLeo", "軒轅"}, {3903, "υ1Hya", "張距星"}, {3937, "νLeo", "軒轅"}, {3975, "ηLeo", "軒轅夫人"},
    {3980, "Leo", "御女"}, {3982, "αLeo", "軒轅大星（女主）"}, {4057, "γ1Leo", "軒轅"}, {4133, "ρLeo", "左民角"},
    {4287, "αCrt", "翼距星"}, {4294, "Leo", "霊台"}, {4310, "χLeo", "霊台"}, {4359, "θLeo", "西次相"},
    {4386, "σLeo", "西上将"}, {4399, "ιLeo", "西次将"}, {4471, "υLeo", "明堂"}, {4517, "νVir", "内屏"},
    {4534, "βLeo", "五帝座"}, {4540, "βVir", "右執法"}, {4589, "πVir", "内屏"}, {4662, "γCrv", "軫距星"},
    {4689, "ηVir", "左執法"}, {4695, "Vir", "謁者"}, {4813, "χVir", "進賢"}, {4825, "γVir", "東上相"},
    {4902, "ψVir", "進賢"}, {4910, "δVir", "東次相"}, {4963, "θVir", "平道"}, {5056, "αVir", "角大星、距星"},
    {5107, "ζVir", "角"}, {5150, "Vir", "平道"}, {5315, "κVir", "亢距星"}, {5338, "ιVir", "亢"},
    {5359, "λVir", "亢南星"}, {5410, "Vir", "亢"}, {5487, "μVir", "亢"}, {5523, "μLib", "氏"},
    {5531, "α2Lib", "氏距星"}, {5586, "δLib", "氏"}, {5603, "αLib", "折威"}, {5622, "νLib", "氏"},
    {5652, "ι1Lib", "氏"}, {5685, "βLib", "氏"}, {5787, "γLib", "氏"}, {5794, "υLib", "天輻"},
    {5812, "τLib", "天輻"}, {5908, "θLib", "西咸"}, {5928, "ρSco", "房"}, {5944, "πSco", "左服、房距星"},
    {5953, "δSco", "房上相"}, {5978, "ξSco", "西咸"}, {5984, "βSco", "房上将"}, {5993, "ω1Sco", "鉤"},
    {5997, "ω2Sco", "鉤"}, {6027, "νSco", "鍵閉"}, {6048, "χSco", "罰"}, {6084, "σSco", "心前星、距星"},
    {6104, "ψOph", "東咸"}, {6134, "αSco", "心大星"}, {6153, "ωOph", "東咸"}, {6165, "τSco", "心後星"},
    {6175, "ζOph", "韓"}, {6241, "εSco", "尾"}, {6247, "μ1Sco", "尾距星"}, {6378, "ηOph", "宋"},
    {6402, "Oph", "天江"}, {6424, "οOph", "天江"}, {6445, "ξOph", "天江"}, {6453, "θOph", "天江"},
    {6459, "Oph", "天江"}, {6486, "Oph", "天江"}, {6492, "Oph", "糠"}, {6508, "υSco", "尾"},
    {6519, "Oph", "天"}, {6561, "ξSer", "南海"}, {6746, "γ2Sgr", "箕距星"}, {6812, "μSgr", "南斗"},
    {6859, "δSgr", "箕"}, {6879, "εSgr", "箕"}, {6913, "λSgr", "南斗"}, {7039, "φSgr", "南斗距星"},
    {7121, "σSgr", "南斗"}, {7150, "ξ2Sgr", "建星"}, {7194, "ζSgr", "南斗"}, {7234, "τSgr", "南斗"},
    {7264, "πSgr", "建星"}, {7337, "β1Sgr", "天淵"}, {7340, "ρ1Sgr", "建星"}, {7440, "Sgr", "狗"},
    {7754, "α2Cap", "牽牛"}, {7776, "βCap", "牽牛距星"}, {7822, "ρCap", "牽牛南星"}, {7936, "ψCap", "天田"},
    {7950, "εAqr", "須女距星"}, {7980, "ωCap", "天田"}, {8075, "θCap", "秦"}, {8204, "ζCap", "燕"},
    {8232, "βAqr", "虚距星"}, {8278, "γCap", "哭星第一"}, {8322, "δCap", "哭星第二"}, {8351, "μCap", "哭"},
    {8413, "νPeg", "危"}, {8414, "αAqr", "危距星"}, {8418, "ιAqr", "泣星"}, {8573, "σAqr", "壘壁陣"},
    {8698, "λAqr", "壘壁陣"}, {8709, "δAqr", ""}, {8781, "αPeg", "営室距星"}, {8834, "φAqr", "壘壁陣"},
    {8841, "ψ1Aqr", "壘壁陣"}, {8984, "λPsc", "雲雨"}, {9089, "Psc", "壘壁陣"},
};
static_assert(sizeof kEntries / sizeof kEntries[0] == 219);
}  // namespace

// Check table: the five positions to 4 decimals (tolerance 0.00005 degree).
TEST(StarPosition, CheckTable)
{
    struct Case { int hr; double jd, ra, dec, lam, bet; };
    const Case cases[] = {
        {1457, 2415021.0, 67.5454, 16.3083, 68.3915, -5.4745},
        {1457, 2451545.0, 68.9804, 16.5093, 69.7894, -5.4674},
        {3982, 2451545.0, 152.0935, 11.9672, 149.8296, 0.4650},
        {5056, 2451545.0, 201.2982, -11.1615, 203.8414, -2.0546},
        {6134, 2451545.0, 247.3517, -26.4319, 249.7621, -4.5699},
    };
    const double tol = 0.00005;
    for (const Case& c : cases) {
        tagPosition p = At(c.hr, c.jd);
        EXPECT_NEAR(p.ra, c.ra, tol) << c.hr << " " << c.jd;
        EXPECT_NEAR(p.dec, c.dec, tol) << c.hr << " " << c.jd;
        EXPECT_NEAR(p.lam, c.lam, tol) << c.hr << " " << c.jd;
        EXPECT_NEAR(p.bet, c.bet, tol) << c.hr << " " << c.jd;
        EXPECT_EQ(p.number, c.hr);
        EXPECT_EQ(p.mag, Star_table[IndexOf(c.hr)].vmag);
    }
}

// At the catalogue epoch 1900.0 the decoded position comes back unchanged.
TEST(StarPosition, EpochReturnsDecodedPosition)
{
    // Aldebaran: 4h 30m 10.9s, +16 18 30
    tagPosition p = At(1457, 2415021.0);
    EXPECT_NEAR(p.ra, (4 + 30 / 60.0 + 10.9 / 3600) * 15, 1e-9);
    EXPECT_NEAR(p.dec, 16 + 18 / 60.0 + 30 / 3600.0, 1e-9);
    // Spica, south of the equator: 13h 19m 55.4s, -10 38 22
    p = At(5056, 2415021.0);
    EXPECT_NEAR(p.ra, (13 + 19 / 60.0 + 55.4 / 3600) * 15, 1e-9);
    EXPECT_NEAR(p.dec, -(10 + 38 / 60.0 + 22 / 3600.0), 1e-9);
    // the first entry, a few seconds from 0h: no wrap below 0
    p = At(39, 2415021.0);
    EXPECT_NEAR(p.ra, (8 / 60.0 + 5.1 / 3600) * 15, 1e-9);
}

// Packed declinations whose seconds come out near 100 in binary decode to
// whole minutes; a declination between 0 and -1 degree keeps its sign.
TEST(StarPosition, DeclinationDecoding)
{
    EXPECT_EQ(Star_table[IndexOf(2852)].dec_dms, 31.59);
    EXPECT_NEAR(At(2852, 2415021.0).dec, 31 + 59 / 60.0, 1e-9);   // not 31 58 100
    EXPECT_EQ(Star_table[IndexOf(7234)].dec_dms, -27.49);
    EXPECT_NEAR(At(7234, 2415021.0).dec, -(27 + 49 / 60.0), 1e-9);
    EXPECT_EQ(Star_table[IndexOf(1852)].dec_dms, -0.2223);
    EXPECT_NEAR(At(1852, 2415021.0).dec, -0.373056, 5e-7);
    // the six stars between 0 and -1 degree
    int between = 0;
    for (const tagStarData& s : Star_table)
        if (s.dec_dms < 0 && s.dec_dms > -1) ++between;
    EXPECT_EQ(between, 6);
}

// Label and name are copied as strings; the two empty names stay empty.
TEST(StarPosition, LabelsAndEmptyNames)
{
    tagPosition p{};
    std::memset(&p, 'x', sizeof p);
    ASSERT_EQ(Star_Position(2451545.0, IndexOf(2219), &p), 0);
    EXPECT_STREQ(p.name, "");
    EXPECT_STREQ(p.label, "κAur");
    // fields the routine does not own keep what they held
    const std::string xs(sizeof(double), 'x');
    EXPECT_EQ(std::memcmp(&p.az, xs.data(), sizeof p.az), 0);
    EXPECT_EQ(std::memcmp(&p.el, xs.data(), sizeof p.el), 0);
    EXPECT_EQ(std::memcmp(&p.sd, xs.data(), sizeof p.sd), 0);
    std::memset(&p, 'x', sizeof p);
    ASSERT_EQ(Star_Position(2451545.0, IndexOf(8709), &p), 0);
    EXPECT_STREQ(p.name, "");
    EXPECT_STREQ(p.label, "δAqr");
    ASSERT_EQ(Star_Position(2451545.0, IndexOf(3982), &p), 0);
    EXPECT_STREQ(p.name, "軒轅大星（女主）");  // 16 bytes, the longest
    EXPECT_STREQ(p.label, "αLeo");
    ASSERT_EQ(Star_Position(2451545.0, IndexOf(39), &p), 0);
    EXPECT_STREQ(p.label, "r Peg");
}

// The generated table: 219 records, increasing numbers, the listed
// designations and names in order, the reference rows exact.
TEST(StarTable, RecordsAndReferenceRows)
{
    for (int i = 0; i < kStarCount; ++i) {
        const tagStarData& s = Star_table[i];
        EXPECT_EQ(s.hr, kEntries[i].hr) << i;
        EXPECT_STREQ(s.label, kEntries[i].label) << s.hr;
        EXPECT_STREQ(s.name, kEntries[i].name) << s.hr;
        if (i > 0) {
            EXPECT_GT(s.hr, Star_table[i - 1].hr) << i;
        }
        EXPECT_LE(std::strlen(s.label), 6u) << s.hr;
        EXPECT_LE(std::strlen(s.name), 16u) << s.hr;
    }
    struct Row { int hr; double ra, dec, vmag, pm_ra, pm_dec; const char* label; const char* name; };
    const Row reference[] = {
        {39, 0.08051, 14.374, 2.83, 0.003, -0.007, "r Peg", "壁距星"},
        {1457, 4.30109, 16.183, 0.85, 0.065, -0.189, "αTau", "畢大星"},
        {2219, 6.09002, 29.3206, 4.35, -0.07, -0.265, "κAur", ""},
        {2852, 7.22408, 31.59, 4.18, 0.15, 0.171, "ρGem", "北河"},
        {2990, 7.39118, 28.1604, 1.14, -0.627, -0.051, "βGem", "北河"},
        {3982, 10.03029, 12.2722, 1.35, -0.249, 0.003, "αLeo", "軒轅大星（女主）"},
        {5056, 13.19554, -10.3822, 0.98, -0.043, -0.033, "αVir", "角大星、距星"},
        {6134, 16.23164, -26.1236, 0.96, -0.007, -0.023, "αSco", "心大星"},
        {9089, 23.56498, -6.3411, 4.41, 0.049, -0.036, "Psc", "壘壁陣"},
    };
    for (const Row& r : reference) {
        int i = IndexOf(r.hr);
        ASSERT_GE(i, 0) << r.hr;
        const tagStarData& s = Star_table[i];
        EXPECT_EQ(s.ra_hms, r.ra) << r.hr;  // exact: the same decimal text
        EXPECT_EQ(s.dec_dms, r.dec) << r.hr;
        EXPECT_EQ(s.vmag, r.vmag) << r.hr;
        EXPECT_EQ(s.pm_ra, r.pm_ra) << r.hr;
        EXPECT_EQ(s.pm_dec, r.pm_dec) << r.hr;
        EXPECT_STREQ(s.label, r.label) << r.hr;
        EXPECT_STREQ(s.name, r.name) << r.hr;
    }
}

// Regenerating from the catalogue reproduces the committed file byte for byte.
TEST(StarTable, GeneratorReproducesCommittedFile)
{
    const std::string source = TENMADO_SOURCE_DIR;
    const std::string data = TENMADO_SHARED_DATA "/bsc5/bsc5.dat";
    if (!std::ifstream(data).good()) TENMADO_SKIP_WITHOUT("no catalogue at " << data);
    if (std::system("python3 -c 'import sys' > /dev/null 2>&1") != 0) TENMADO_SKIP_WITHOUT("no python3");
    const std::string out = testing::TempDir() + "star_catalog_regenerated_" + std::to_string(getpid()) + ".cpp";
    const std::string cmd = "python3 '" + source + "/tools/gen_star_catalog.py' --bsc5 '" + data +
                            "' --out '" + out + "'";
    ASSERT_EQ(std::system(cmd.c_str()), 0) << cmd;
    const std::string fresh = ReadFile(out);
    std::remove(out.c_str());
    EXPECT_FALSE(fresh.empty());
    EXPECT_TRUE(fresh == ReadFile(source + "/ephem/star_catalog.cpp"))
        << "ephem/star_catalog.cpp differs from tools/gen_star_catalog.py output";
}
