// positions: heliocentric longitude and radius of Jupiter and Saturn from
// Planet_Position at the instants of a reference file.
//
// Given:
//     argv[1]  reference file of reference.js (jd, code, ...), one a line
// Returned:
//     on stdout: jd  code  l (degrees, ecliptic of date)  r (AU)
// Notes:
//     Built twice by run.sh: against the committed grids, and with all-zero
//     grids (Saturn's at their +50 offset) linked in their place.
#include <cmath>
#include <cstdio>

#include "app/core/settings.h"
#include "ephem/planet.h"

int main(int argc, char** argv)
{
    if (argc != 2) {
        std::fprintf(stderr, "usage: positions reference.tsv\n");
        return 2;
    }
    std::FILE* f = std::fopen(argv[1], "r");
    if (!f) {
        std::perror(argv[1]);
        return 1;
    }
    Settings_Reset();
    double jd, lon, lat, rad;
    int code;
    while (std::fscanf(f, "%lf %d %lf %lf %lf", &jd, &code, &lon, &lat, &rad) == 5) {
        tagPosition p{};
        Planet_Position(code, jd, &p);
        double r = std::sqrt(p.x * p.x + p.y * p.y + p.z * p.z);
        std::printf("%.1f\t%d\t%.9f\t%.10f\n", jd, code, p.hlong, r);
    }
    std::fclose(f);
    return 0;
}
