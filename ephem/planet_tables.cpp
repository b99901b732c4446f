// Mean orbital elements of Mercury, Venus, Mars, Jupiter and Saturn as cubic
// polynomials in Julian centuries from 1900 (classical mean elements of the
// planets, mean equinox of date), and the apparent semi-diameters at 1 AU.
// Row = planet code - 1; row 3 (code 3) holds no planet and is all zero.
#include "ephem/planet_tables.h"

namespace PlanetTables {

//                                        c0            c1             c2             c3
constexpr std::array<ElementPoly, kRows> Ax{{
    {0.3870984,     0.0,           0.0,           0.0},            // 1 Mercury
    {0.72333015,    0.0,           0.0,           0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {1.5236781,     0.0,           0.0,           0.0},            // 4 Mars
    {5.202805,      0.0,           0.0,           0.0},            // 5 Jupiter
    {9.554747,      0.0,           0.0,           0.0},            // 6 Saturn
}};

constexpr std::array<ElementPoly, kRows> Ec{{
    {0.20561494,    2.03e-05,      -4e-08,        0.0},            // 1 Mercury
    {0.00681636,    -5.384e-05,    1.26e-07,      0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {0.0933088,     9.5284e-05,    -1.22e-07,     0.0},            // 4 Mars
    {0.0483348,     0.00016418,    -4.676e-07,    -1.7e-09},       // 5 Jupiter
    {0.05589231,    -0.0003455,    -7.28e-07,     7.4e-10},        // 6 Saturn
}};

constexpr std::array<ElementPoly, kRows> Ml{{
    {182.27175,     149474.07244,  0.00201944,    0.0},            // 1 Mercury
    {344.36936,     58519.2126,    0.00098055,    0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {294.26478,     19141.69625,   0.000315028,   0.0},            // 4 Mars
    {238.132386,    3036.301986,   0.000334683,   -1.64889e-06},   // 5 Jupiter
    {266.597875,    1223.50988,    0.000324542,   -5.83333e-07},   // 6 Saturn
}};

constexpr std::array<ElementPoly, kRows> Pnl{{
    {75.89717,      1.553469,      0.000308639,   0.0},            // 1 Mercury
    {130.14057,     1.3723,        -0.0016472,    0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {334.21833,     1.840394,      0.000335917,   0.0},            // 4 Mars
    {12.720972,     1.6099617,     0.00105627,    -3.4333e-06},    // 5 Jupiter
    {91.09821,      1.958416,      0.000826361,   4.61111e-06},    // 6 Saturn
}};

constexpr std::array<ElementPoly, kRows> Omg{{
    {47.144736,     1.18476,       0.000223194,   0.0},            // 1 Mercury
    {75.7881,       0.91403,       0.0004189,     0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {48.7867,       0.776944,      -0.000602778,  0.0},            // 4 Mars
    {99.443414,     1.01053,       0.000352222,   -8.51111e-06},   // 5 Jupiter
    {112.790414,    0.873195,      -0.000152181,  -5.30555e-06},   // 6 Saturn
}};

constexpr std::array<ElementPoly, kRows> Inc{{
    {7.003014,      0.00173833,    -1.55555e-05,  0.0},            // 1 Mercury
    {3.3936,        0.0012522,     -4.333e-06,    0.0},            // 2 Venus
    {0.0,           0.0,           0.0,           0.0},            // 3 (none)
    {1.8503,        -0.000649028,  2.65e-05,      0.0},            // 4 Mars
    {1.308736,      -0.00569611,   3.88889e-06,   0.0},            // 5 Jupiter
    {2.4925194,     -0.00391889,   -1.54889e-05,  4.44444e-08},    // 6 Saturn
}};

constexpr std::array<double, 7> SemiDiameter1AU{{
    0.0,                    // 0 (the Sun: not a planet)
    0.0009333333333333333,  // 1 Mercury  3.36"
    0.0023166666666666665,  // 2 Venus    8.34"
    0.0,                    // 3 (the Moon: not a planet)
    0.001288888888888889,   // 4 Mars     4.64"
    0.027344444444444446,   // 5 Jupiter 98.44"
    0.022980555555555556,   // 6 Saturn  82.73"
}};

static_assert(Ax.size() == 6 && Ec.size() == 6 && Ml.size() == 6, "six rows, codes 1..6");
static_assert(Pnl.size() == 6 && Omg.size() == 6 && Inc.size() == 6, "six rows, codes 1..6");
static_assert(SemiDiameter1AU.size() == 7, "codes 0..6");
static_assert(Ax[2].c0 == 0 && Ml[2].c0 == 0 && Inc[2].c0 == 0, "code 3 holds no planet");

}  // namespace PlanetTables
