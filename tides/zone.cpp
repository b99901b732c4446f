// Time zone offsets from the compiled zone files (TZif, RFC 8536).
#include "tides/zone.h"

#include <cctype>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <fstream>
#include <iterator>
#include <map>
#include <vector>

namespace {

constexpr double kJdUnixEpoch = 2440587.5;  // 1970-01-01 0 h UT
constexpr size_t kMaxZoneFile = 1 << 20;

struct Zone {
    bool ok = false;
    std::vector<int64_t> when;     // transition times, seconds since 1970 (UT)
    std::vector<uint8_t> type;     // the type in force from each transition
    std::vector<int32_t> offset;   // seconds east of UTC of each type
    std::vector<uint8_t> dst;      // each type is summer time
};

uint32_t Be32(const std::string& b, size_t at)
{
    return (uint32_t(uint8_t(b[at])) << 24) | (uint32_t(uint8_t(b[at + 1])) << 16) |
           (uint32_t(uint8_t(b[at + 2])) << 8) | uint32_t(uint8_t(b[at + 3]));
}

int64_t Be64(const std::string& b, size_t at)
{
    return int64_t((uint64_t(Be32(b, at)) << 32) | Be32(b, at + 4));
}

// A zone name as a relative path of letters, digits, _ + - and /, no "..".
bool SafeName(const std::string& name)
{
    if (name.empty() || name[0] == '/' || name.find("..") != std::string::npos) return false;
    for (char c : name)
        if (!(std::isalnum(static_cast<unsigned char>(c)) || c == '_' || c == '+' || c == '-' ||
              c == '/'))
            return false;
    return true;
}

// The data block of the file: version 2 and later keep 64-bit times after
// the 32-bit block, which is skipped.
Zone Parse(const std::string& b)
{
    Zone z;
    auto counts = [&](size_t at, uint32_t c[6]) {
        for (int i = 0; i < 6; i++) c[i] = Be32(b, at + 20 + 4 * i);
    };
    if (b.size() < 44 || b.compare(0, 4, "TZif") != 0) return z;
    uint32_t c[6];  // isutcnt, isstdcnt, leapcnt, timecnt, typecnt, charcnt
    counts(0, c);
    size_t at = 44;
    int tsize = 4;
    if (b[4] >= '2') {
        at += size_t(c[3]) * 4 + c[3] + size_t(c[4]) * 6 + c[5] + size_t(c[2]) * 8 + c[1] + c[0];
        if (b.size() < at + 44 || b.compare(at, 4, "TZif") != 0) return z;
        counts(at, c);
        at += 44;
        tsize = 8;
    }
    const size_t need = size_t(c[3]) * tsize + c[3] + size_t(c[4]) * 6;
    if (c[4] == 0 || b.size() < at + need) return z;
    for (uint32_t i = 0; i < c[3]; i++)
        z.when.push_back(tsize == 8 ? Be64(b, at + 8 * i) : int32_t(Be32(b, at + 4 * i)));
    at += size_t(c[3]) * tsize;
    for (uint32_t i = 0; i < c[3]; i++) {
        uint8_t t = uint8_t(b[at + i]);
        if (t >= c[4]) return Zone{};
        z.type.push_back(t);
    }
    at += c[3];
    for (uint32_t i = 0; i < c[4]; i++) {
        z.offset.push_back(int32_t(Be32(b, at + 6 * i)));
        z.dst.push_back(uint8_t(b[at + 6 * i + 4]));
    }
    z.ok = true;
    return z;
}

const Zone& Load(const std::string& name)
{
    static std::map<std::string, Zone> zones;
    auto it = zones.find(name);
    if (it != zones.end()) return it->second;
    Zone z;
    if (SafeName(name)) {
        std::ifstream f(TideZone_Folder() + "/" + name, std::ios::binary);
        std::string bytes;
        if (f) {
            bytes.assign(std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>());
            if (bytes.size() <= kMaxZoneFile) z = Parse(bytes);
        }
    }
    return zones.emplace(name, z).first->second;
}

}  // namespace

std::string TideZone_Folder()
{
    const char* dir = std::getenv("TZDIR");
    return dir && *dir ? dir : "/usr/share/zoneinfo";
}

/*
**  TideZone_Offset
**  The offset of a zone's civil time at an instant.
**
**  Given:
**     zone    std::string   IANA zone name ("Asia/Tokyo")
**     jd      double        Julian day (UT)
**
**  Returned:
**     hours   double*       hours east of UTC
**     (function value) bool false when the zone's file is missing or bad
**
**  Notes:
**  1) The type of the last transition at or before jd; before the first,
**     the first standard-time type; after the last, the last type (the
**     files of the system run to 2037).
**  2) Each zone's file is read once and kept.
*/
bool TideZone_Offset(const std::string& zone, double jd, double* hours)
{
    const Zone& z = Load(zone);
    if (!z.ok) return false;
    const double seconds = std::floor((jd - kJdUnixEpoch) * 86400.0 + 0.5);
    size_t type = 0;
    while (type < z.dst.size() && z.dst[type]) type++;
    if (type == z.dst.size()) type = 0;
    for (size_t i = 0; i < z.when.size() && double(z.when[i]) <= seconds; i++) type = z.type[i];
    *hours = z.offset[type] / 3600.0;
    return true;
}
