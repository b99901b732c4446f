// Tidal constituents: astronomical arguments, node factors and the
// constituents the station databases name, the shallow-water ones built from
// their parents.
#include "tides/constituents.h"

#include <cctype>
#include <cmath>
#include <cstring>
#include <vector>

#include "timecal/constants.h"

namespace {

// 1900 January 0.5 (1899 December 31, 12 h UT), origin of the polynomials
constexpr double kJdEpoch = 2415020.0;

// Mean longitudes at the epoch, degrees, and their rates, degrees a day;
// the squares and cubes of Julian centuries after (Schureman, Table 1)
struct ArgumentPoly { double c0, c1, c2, c3; };
constexpr ArgumentPoly kS  {270.434164, 13.1763965268, -0.0000850, 0.000000039};
constexpr ArgumentPoly kH  {279.696678, 0.9856473354, 0.00002267, 0.0};
constexpr ArgumentPoly kP  {334.329556, 0.1114040803, -0.0007739, -0.00000026};
constexpr ArgumentPoly kN  {259.183275, -0.0529539222, 0.0001557, 0.00000005};
constexpr ArgumentPoly kP1 {281.220844, 0.0000470684, 0.0000339, 0.00000007};

// Obliquity of the ecliptic and inclination of the Moon's orbit to it,
// degrees (Schureman, 23 27 08.26 and 5 08 43.3546)
constexpr double kOmega = 23.452294;
constexpr double kIncl = 5.145376;

double Reduce(double x)
{
    double r = std::fmod(x, 360.0);
    return r < 0 ? r + 360.0 : r;
}

double Poly(const ArgumentPoly& a, double d, double t)
{
    return a.c0 + a.c1 * d + a.c2 * t * t + a.c3 * t * t * t;
}

double Sind(double x) { return std::sin(x * kDegToRad); }
double Cosd(double x) { return std::cos(x * kDegToRad); }
double Atan2d(double y, double x) { return std::atan2(y, x) / kDegToRad; }

// The base constituents: V = T T + s s + h h + p p + p1 p1 + phase, u and f
// from one node kind (or none). Schureman's Table 2 in its own arguments;
// the minor ones from the IHO list of constituents (converted from its
// lunar-time Doodson numbers: tau = T - 180 - s + h).
struct BaseRow {
    const char* name;
    int T, s, h, p, p1, phase;
    int node;  // TideNode, -1 none; kNodeM2 with -1 below for MSF
    int node_sign;
};
constexpr int kNone = -1;
constexpr BaseRow kBase[] = {
    // long period
    {"SA",      0,  0,  1,  0,  0,    0, kNone,    1},
    {"SSA",     0,  0,  2,  0,  0,    0, kNone,    1},
    {"MM",      0,  1,  0, -1,  0,    0, kNodeMm,  1},
    {"MSF",     0,  2, -2,  0,  0,    0, kNodeM2, -1},  // S2 - M2
    {"MF",      0,  2,  0,  0,  0,    0, kNodeMf,  1},
    {"MTM",     0,  3,  0, -1,  0,    0, kNodeMf,  1},
    {"MSQM",    0,  4, -2,  0,  0,    0, kNodeMf,  1},
    // diurnal
    {"2Q1",     1, -4,  1,  2,  0,   90, kNodeO1,  1},
    {"SIGMA1",  1, -4,  3,  0,  0,   90, kNodeO1,  1},
    {"Q1",      1, -3,  1,  1,  0,   90, kNodeO1,  1},
    {"RHO1",    1, -3,  3, -1,  0,   90, kNodeO1,  1},
    {"O1",      1, -2,  1,  0,  0,   90, kNodeO1,  1},
    {"M1",      1, -1,  1,  0,  0,  -90, kNodeM1,  1},
    {"CHI1",    1, -1,  3, -1,  0,  -90, kNodeJ1,  1},
    {"PI1",     1,  0, -2,  0,  1,   90, kNone,    1},
    {"P1",      1,  0, -1,  0,  0,   90, kNone,    1},
    {"S1",      1,  0,  0,  0,  0,    0, kNone,    1},
    {"K1",      1,  0,  1,  0,  0,  -90, kNodeK1,  1},
    {"PSI1",    1,  0,  2,  0, -1,  -90, kNone,    1},
    {"PHI1",    1,  0,  3,  0,  0,  -90, kNone,    1},
    {"THETA1",  1,  1, -1,  1,  0,  -90, kNodeJ1,  1},
    {"J1",      1,  1,  1, -1,  0,  -90, kNodeJ1,  1},
    {"OO1",     1,  2,  1,  0,  0,  -90, kNodeOO1, 1},
    // semidiurnal
    {"EPS2",    2, -5,  4,  1,  0,    0, kNodeM2,  1},
    {"2N2",     2, -4,  2,  2,  0,    0, kNodeM2,  1},
    {"MU2",     2, -4,  4,  0,  0,    0, kNodeM2,  1},
    {"3N2",     2, -3,  2,  0,  0,    0, kNodeM2,  1},  // third degree, Doodson 245.555
    {"N2",      2, -3,  2,  1,  0,    0, kNodeM2,  1},
    {"NU2",     2, -3,  4, -1,  0,    0, kNodeM2,  1},
    {"MA2",     2, -2,  1,  0,  0,    0, kNodeM2,  1},
    {"M2",      2, -2,  2,  0,  0,    0, kNodeM2,  1},
    {"MB2",     2, -2,  3,  0,  0,    0, kNodeM2,  1},
    {"LAMBDA2", 2, -1,  0,  1,  0,  180, kNodeM2,  1},
    {"3L2",     2, -1,  2,  0,  0,    0, kNodeM2,  1},  // third degree, Doodson 265.555
    {"L2",      2, -1,  2, -1,  0,  180, kNodeL2,  1},
    {"T2",      2,  0, -1,  0,  1,    0, kNone,    1},
    {"S2",      2,  0,  0,  0,  0,    0, kNone,    1},
    {"R2",      2,  0,  1,  0, -1,  180, kNone,    1},
    {"K2",      2,  0,  2,  0,  0,    0, kNodeK2,  1},
    // terdiurnal
    {"M3",      3, -3,  3,  0,  0,    0, kNodeM3,  1},
    {"T3",      3,  0, -1,  0,  1,    0, kNone,    1},
    {"S3",      3,  0,  0,  0,  0,    0, kNone,    1},
    {"R3",      3,  0,  1,  0, -1,  180, kNone,    1},
};

// Other spellings of the same constituents
struct Alias { const char* name; const char* base; };
constexpr Alias kAliases[] = {
    {"LAM2", "LAMBDA2"}, {"RHO", "RHO1"}, {"SGM", "SIGMA1"}, {"EP2", "EPS2"},
    {"SIG1", "SIGMA1"}, {"THE1", "THETA1"}, {"MSQ", "MSQM"},
};

bool FromBase(const char* name, TideConstituent* c)
{
    for (const Alias& a : kAliases)
        if (std::strcmp(a.name, name) == 0) name = a.base;
    for (const BaseRow& b : kBase) {
        if (std::strcmp(b.name, name) != 0) continue;
        *c = TideConstituent{b.T, b.s, b.h, b.p, b.p1, b.phase, {}};
        if (b.node != kNone) c->node[b.node] = b.node_sign;
        return true;
    }
    return false;
}

void AddScaled(TideConstituent* sum, const TideConstituent& c, int k)
{
    sum->T += k * c.T; sum->s += k * c.s; sum->h += k * c.h;
    sum->p += k * c.p; sum->p1 += k * c.p1; sum->phase += k * c.phase;
    for (int i = 0; i < kNodeKinds; i++) sum->node[i] += k * c.node[i];
}

// The parents of the letters of a compound name: M2, S2, N2, K1 or K2, O1,
// P1, Q1, L2, J1, T2, R2.
const char* Parent(char letter, int k_species)
{
    switch (letter) {
    case 'M': return "M2";
    case 'S': return "S2";
    case 'N': return "N2";
    case 'K': return k_species == 1 ? "K1" : "K2";
    case 'O': return "O1";
    case 'P': return "P1";
    case 'Q': return "Q1";
    case 'L': return "L2";
    case 'J': return "J1";
    case 'T': return "T2";
    case 'R': return "R2";
    default: return nullptr;
    }
}

// The sum of the parents with the signs of mask (bit i: part i negative)
// and the K choice of kmask (bit j: the j-th K is K2); false when the
// species differs.
struct Part { char letter; int count; };
bool Combine(const std::vector<Part>& parts, int mask, int kmask, int group, int species,
             TideConstituent* c)
{
    TideConstituent total{};
    int sum = 0, kk = 0;
    for (size_t i = 0; i < parts.size(); i++) {
        int kspec = 2;
        if (parts[i].letter == 'K') kspec = (kmask >> kk++) & 1 ? 2 : 1;
        TideConstituent base;
        if (!FromBase(Parent(parts[i].letter, kspec), &base)) return false;
        const int k = ((mask >> i) & 1 ? -1 : 1) * parts[i].count * group;
        sum += k * base.T;
        AddScaled(&total, base, k);
    }
    if (sum != species) return false;
    *c = total;
    return true;
}

// A compound ("2MS6", "MK3", "2SNMK2", "M4"): letters with whole
// multipliers before them and the species at the end. The parents are added
// from the left; when their species sum is not the named one, the signs of
// the rightmost ones turn negative, the fewest that match (the IHO
// convention: "2MK3" = 2 M2 - K1, "MSN2" = M2 + S2 - N2); K is K1 or K2,
// whichever matches, K1 first. A leading number may multiply the whole
// group ("2MS8" = 2 (M2 + S2)); a single letter is its overtide ("M4" =
// 2 M2).
bool FromCompound(const std::string& name, TideConstituent* c)
{
    size_t end = name.size();
    while (end > 0 && std::isdigit(static_cast<unsigned char>(name[end - 1]))) end--;
    if (end == name.size() || end == 0 || name.size() - end > 2) return false;
    const int species = std::stoi(name.substr(end));
    std::vector<Part> parts;
    for (size_t i = 0; i < end;) {
        int count = 0;
        while (i < end && std::isdigit(static_cast<unsigned char>(name[i])))
            count = count * 10 + (name[i++] - '0');
        if (i >= end || !Parent(name[i], 2)) return false;
        parts.push_back({name[i++], count ? count : 1});
    }
    const int n = static_cast<int>(parts.size());
    if (n > 8) return false;
    if (n == 1) {
        TideConstituent base;
        if (parts[0].count != 1 || !FromBase(Parent(parts[0].letter, 2), &base)) return false;
        if (species % base.T != 0) return false;
        *c = TideConstituent{};
        AddScaled(c, base, species / base.T);
        return true;
    }
    int ks = 0;
    for (const Part& p : parts) ks += p.letter == 'K';
    for (int negatives = 0; negatives < n; negatives++)
        for (int kmask = 0; kmask < (1 << ks); kmask++)
            // the first part stays positive; masks from the right
            for (int mask = (1 << n) - 2; mask >= 0; mask -= 2)
                if (__builtin_popcount(mask) == negatives &&
                    Combine(parts, mask, kmask, 1, species, c))
                    return true;
    // a leading number over the whole group
    if (parts[0].count > 1) {
        const int group = parts[0].count;
        parts[0].count = 1;
        for (int kmask = 0; kmask < (1 << ks); kmask++)
            if (Combine(parts, 0, kmask, group, species, c)) return true;
    }
    return false;
}

}  // namespace

/*
**  Tide_Astro
**  The astronomical arguments of an instant.
**
**  Given:
**     jd     double   Julian day (UT)
**
**  Returned (function value):
**            TideAstro   T, s, h, p, N, p1, degrees in [0, 360)
**
**  Notes:
**  1) T is 180 degrees at 0 h UT and grows 15 degrees an hour; the mean
**     longitudes are Schureman's polynomials in days and Julian centuries
**     from 1900 January 0.5 (taken in UT: the 70 s of Delta T move M2 by
**     under 10 s).
**
**  Reference:
**     Schureman, P., Manual of Harmonic Analysis and Prediction of Tides,
**     U.S. Coast and Geodetic Survey Special Publication No. 98, revised
**     ed. (1940, reprinted 1958), Table 1.
*/
TideAstro Tide_Astro(double jd)
{
    const double d = jd - kJdEpoch;
    const double t = d / kDaysPerCentury;
    TideAstro a;
    a.T = Reduce(360.0 * (d - std::floor(d)));
    a.s = Reduce(Poly(kS, d, t));
    a.h = Reduce(Poly(kH, d, t));
    a.p = Reduce(Poly(kP, d, t));
    a.N = Reduce(Poly(kN, d, t));
    a.p1 = Reduce(Poly(kP1, d, t));
    return a;
}

/*
**  Tide_NodeTerms
**  Nodal angles u and node factors f of the kinds of lunar constituents.
**
**  Given:
**     a      TideAstro   the arguments (N and p used)
**
**  Returned (function value):
**            TideNodeTerms   u (degrees) and f of each kind
**
**  Notes:
**  1) I, the inclination of the Moon's orbit to the equator, from
**     cos I = cos w cos i - sin w sin i cos N; nu and xi from
**     tan 1/2(N - xi + nu) = cos 1/2(w - i) / cos 1/2(w + i) tan N/2 and
**     tan 1/2(N - xi - nu) = sin 1/2(w - i) / sin 1/2(w + i) tan N/2;
**     nu' and 2nu'' of K1 and K2 (eqs. 224, 232).
**  2) u: M2 2xi - 2nu; O1 2xi - nu; K1 -nu'; K2 -2nu''; J1 -nu;
**     OO1 -2xi - nu; Mm 0; Mf -2xi; M3 3xi - 3nu; L2 2xi - 2nu - R;
**     M1 xi - nu + Q.
**  3) f: M2 cos^4(I/2) / 0.9154; O1 sin I cos^2(I/2) / 0.3800;
**     K1, K2 eqs. 227, 235; J1 sin 2I / 0.7214; OO1 sin I sin^2(I/2) /
**     0.01640; Mm (2/3 - sin^2 I) / 0.5021; Mf sin^2 I / 0.1578;
**     M3 cos^6(I/2) / 0.8758; L2 f(M2) / Ra; M1 f(O1) / Qa, with
**     P = p - xi, 1/Ra = (1 - 12 tan^2(I/2) cos 2P + 36 tan^4(I/2))^1/2,
**     tan R = sin 2P / (1 / (6 tan^2(I/2)) - cos 2P), tan Q = 0.483 tan P,
**     1/Qa = (2.310 + 1.435 cos 2P)^1/2.
**
**  Reference:
**     Schureman, P., Manual of Harmonic Analysis and Prediction of Tides,
**     U.S. Coast and Geodetic Survey Special Publication No. 98, revised
**     ed. (1940, reprinted 1958), articles 73-79, 191-235 and Table 2.
*/
TideNodeTerms Tide_NodeTerms(const TideAstro& a)
{
    const double N = a.N;
    // inclination of the lunar orbit to the equator
    const double cosI = Cosd(kOmega) * Cosd(kIncl) - Sind(kOmega) * Sind(kIncl) * Cosd(N);
    const double I = std::acos(cosI) / kDegToRad;
    // nu and xi
    const double k1 = Cosd(0.5 * (kOmega - kIncl)) / Cosd(0.5 * (kOmega + kIncl));
    const double k2 = Sind(0.5 * (kOmega - kIncl)) / Sind(0.5 * (kOmega + kIncl));
    const double A = Atan2d(k1 * Sind(0.5 * N), Cosd(0.5 * N));  // 1/2(N - xi + nu)
    const double B = Atan2d(k2 * Sind(0.5 * N), Cosd(0.5 * N));  // 1/2(N - xi - nu)
    const double nu = A - B;
    const double xi = N - A - B;
    // nu' and 2nu''
    const double sin2I = Sind(2 * I), sinI = Sind(I), sinI2 = sinI * sinI;
    const double nup = Atan2d(sin2I * Sind(nu), sin2I * Cosd(nu) + 0.3347);
    const double nupp2 = Atan2d(sinI2 * Sind(2 * nu), sinI2 * Cosd(2 * nu) + 0.0727);
    // L2 and M1 terms of the perigee
    const double P = a.p - xi;
    const double tan2 = std::pow(std::tan(0.5 * I * kDegToRad), 2);
    const double inv_ra = std::sqrt(1 - 12 * tan2 * Cosd(2 * P) + 36 * tan2 * tan2);
    const double R = Atan2d(Sind(2 * P), 1 / (6 * tan2) - Cosd(2 * P));
    const double Q = Atan2d(0.483 * Sind(P), Cosd(P));
    const double inv_qa = std::sqrt(2.310 + 1.435 * Cosd(2 * P));
    const double cosh = Cosd(0.5 * I), sinh = Sind(0.5 * I);

    TideNodeTerms t;
    t.u[kNodeM2] = 2 * xi - 2 * nu;
    t.u[kNodeO1] = 2 * xi - nu;
    t.u[kNodeK1] = -nup;
    t.u[kNodeK2] = -nupp2;
    t.u[kNodeJ1] = -nu;
    t.u[kNodeOO1] = -2 * xi - nu;
    t.u[kNodeMm] = 0;
    t.u[kNodeMf] = -2 * xi;
    t.u[kNodeM3] = 3 * xi - 3 * nu;
    t.u[kNodeL2] = 2 * xi - 2 * nu - R;
    t.u[kNodeM1] = xi - nu + Q;
    t.f[kNodeM2] = std::pow(cosh, 4) / 0.9154;
    t.f[kNodeO1] = sinI * cosh * cosh / 0.3800;
    t.f[kNodeK1] = std::sqrt(0.8965 * sin2I * sin2I + 0.6001 * sin2I * Cosd(nu) + 0.1006);
    t.f[kNodeK2] = std::sqrt(19.0444 * sinI2 * sinI2 + 2.7702 * sinI2 * Cosd(2 * nu) + 0.0981);
    t.f[kNodeJ1] = sin2I / 0.7214;
    t.f[kNodeOO1] = sinI * sinh * sinh / 0.01640;
    t.f[kNodeMm] = (2.0 / 3.0 - sinI2) / 0.5021;
    t.f[kNodeMf] = sinI2 / 0.1578;
    t.f[kNodeM3] = std::pow(cosh, 6) / 0.8758;
    t.f[kNodeL2] = t.f[kNodeM2] * inv_ra;
    t.f[kNodeM1] = t.f[kNodeO1] * inv_qa;
    return t;
}

/*
**  Tide_Resolve
**  A constituent from its name.
**
**  Given:
**     name   std::string   upper case, as the station databases write it
**
**  Returned:
**     c      TideConstituent*   multiples of T, s, h, p, p1, the phase
**                               constant and the node kinds
**     (function value) bool     false for a name not built
**
**  Notes:
**  1) The base constituents of Schureman's Table 2 and the IHO list, under
**     their usual spellings (LAM2, RHO, SGM, EP2); then compounds of them
**     (FromCompound): V, u the sums, f the product of the parents'.
**
**  Reference:
**     Schureman (1958), Table 2; IHO Tide, Water Level and Current Working
**     Group, Standard List of Tidal Constituents (2017).
*/
bool Tide_Resolve(const std::string& name, TideConstituent* c)
{
    if (FromBase(name.c_str(), c)) return true;
    return FromCompound(name, c);
}

double Tide_Speed(const TideConstituent& c)
{
    // hourly rates of T, s, h, p, p1 (Table 1's daily rates / 24)
    return c.T * 15.0 + c.s * (kS.c1 / 24) + c.h * (kH.c1 / 24) + c.p * (kP.c1 / 24) +
           c.p1 * (kP1.c1 / 24);
}

/*
**  Tide_Argument
**  V + u and f of one constituent.
**
**  Given:
**     c      TideConstituent   the constituent (Tide_Resolve)
**     a      TideAstro         the arguments of the instant (Tide_Astro)
**     n      TideNodeTerms     the node terms (Tide_NodeTerms)
**
**  Returned:
**     vu     double*   V + u, degrees in [0, 360)
**     f      double*   node factor
**
**  Reference:
**     Schureman (1958), Tables 1 and 2 and articles 191-235; the IHO
**     list of constituents for the minor and compound ones.
**
**  Accuracy:
**     Measured against an independent predictor, one constituent at a
**     time (2026): M2, S2, N2, K1, O1, K2, P1, Q1, L2, NU2, MU2, 2N2 and
**     their compounds within 0.05 degree and 1 % in f; M3, S3, M1, T3,
**     R3, 3N2, 3L2 are defined differently there (docs/ACCURACY.md).
*/
void Tide_Argument(const TideConstituent& c, const TideAstro& a, const TideNodeTerms& n,
                   double* vu, double* f)
{
    double v = c.T * a.T + c.s * a.s + c.h * a.h + c.p * a.p + c.p1 * a.p1 + c.phase;
    double factor = 1.0;
    for (int i = 0; i < kNodeKinds; i++) {
        if (c.node[i] == 0) continue;
        v += c.node[i] * n.u[i];
        factor *= std::pow(n.f[i], std::abs(c.node[i]));
    }
    *vu = Reduce(v);
    *f = factor;
}
