// The settings' values at start and the per-repaint reset come from one
// table of defaults (kObserverDefaults, kDisplayDefaults): the values the
// program starts with, Settings_Reset and Koyomi_Reset are compared with it,
// and the table with the values the picture is made for.
#include <gtest/gtest.h>

#include <ctime>

#include "app/koyomi.h"
#include "app/readouts.h"
#include "app/settings.h"

namespace {

// Every setting as the program starts, read before any test runs (the
// variables are constant-initialised, this copy is made after).
struct Values {
    double lat, lon, azmt, lat0, lon0, lat_, lon_;
    double jd, jd0, jdstart, jd_auto, Hour, minute, second;
    double year0, month0, day0, hour0, minute0, second0, Hour0;
    double scale, ss_s, x_min, x_max, y_min, y_max, x_disp, y_disp, cx, cy, X0, Y0, SS;
    int disp, select_d, select_p, star_select, seiza1, seiza2, disp_pla, star, clock_x, clock_y;
    double pi;
};
Values Read()
{
    return Values{m_input_lat, m_input_lon, m_input_azmt, latitude0, longitude0, latitude,
                  longitude, jd, jd0, jdstart, jd_auto, Hour, minute, second, year0, month0,
                  day0, hour0, minute0, second0, Hour0, scale, ss_s, X_MIN, X_MAX, Y_MIN, Y_MAX,
                  X_DISP, Y_DISP, m_input_center_x, m_input_center_y, X0, Y0, SS, m_input_disp,
                  select_d, select_p, m_input_m_star_select, m_seiza1, m_seiza2,
                  m_input_disp_pla, m_input_m_star, center_x, center_y, pi};
}
const Values kAtStart = Read();

// Each value as the table gives it at start.
void ExpectStartValues(const Values& v, const char* when)
{
    const ObserverDefaults& o = kObserverDefaults;
    const DisplayDefaults& d = kDisplayDefaults;
    SCOPED_TRACE(when);
    EXPECT_EQ(v.lat, o.lat);
    EXPECT_EQ(v.lon, o.lon);
    EXPECT_EQ(v.azmt, o.azmt);
    for (double w : {v.lat0, v.lon0, v.lat_, v.lon_, v.jd, v.jd0, v.jdstart, v.jd_auto, v.Hour,
                     v.minute, v.second, v.year0, v.month0, v.day0, v.hour0, v.minute0,
                     v.second0, v.Hour0, v.X0, v.Y0, v.SS})
        EXPECT_EQ(w, 0.0);
    EXPECT_EQ(v.scale, d.scale);
    EXPECT_EQ(v.ss_s, d.ss_s);
    EXPECT_EQ(v.x_min, d.x_min);
    EXPECT_EQ(v.x_max, d.x_max);
    EXPECT_EQ(v.y_min, d.y_min);
    EXPECT_EQ(v.y_max, d.y_max);
    EXPECT_EQ(v.x_disp, d.x_disp);
    EXPECT_EQ(v.y_disp, d.y_disp);
    EXPECT_EQ(v.cx, d.center_x);
    EXPECT_EQ(v.cy, d.center_y);
    EXPECT_EQ(v.disp, d.disp);
    EXPECT_EQ(v.select_d, d.disp);
    EXPECT_EQ(v.select_p, 0);
    EXPECT_EQ(v.star_select, d.m_star_select);
    EXPECT_EQ(v.seiza1, d.seiza1);
    EXPECT_EQ(v.seiza2, d.seiza2);
    EXPECT_EQ(v.disp_pla, d.disp_pla);
    EXPECT_EQ(v.star, d.m_star);
    EXPECT_EQ(v.clock_x, d.clock_x);
    EXPECT_EQ(v.clock_y, d.clock_y);
    EXPECT_EQ(v.pi, d.clock_pi);
}

}  // namespace

TEST(Settings, OneTableOfDefaults)
{
    // the table holds the values the picture is made for
    EXPECT_EQ(kObserverDefaults.lat, 35.6);
    EXPECT_EQ(kObserverDefaults.lon, 139.7);
    EXPECT_EQ(kObserverDefaults.azmt, 0.0);
    const DisplayDefaults& d = kDisplayDefaults;
    EXPECT_EQ(d.scale, 2.0);
    EXPECT_EQ(d.ss_s, 10.0);
    EXPECT_EQ(d.ss_s_repaint, 20.0);
    EXPECT_EQ(d.x_min, -350.0);
    EXPECT_EQ(d.x_max, 370.0);
    EXPECT_EQ(d.y_min, 250.0);
    EXPECT_EQ(d.y_max, 430.0);
    EXPECT_EQ(d.x_disp, 10.0);
    EXPECT_EQ(d.y_disp, 10.0);
    EXPECT_EQ(d.center_x, 250.0);
    EXPECT_EQ(d.center_y, 230.0);
    EXPECT_EQ(d.disp, 0);
    EXPECT_EQ(d.disp_repaint, 4);
    EXPECT_EQ(d.m_star_select, -1);
    EXPECT_EQ(d.seiza1, 1);
    EXPECT_EQ(d.seiza2, 1);
    EXPECT_EQ(d.disp_pla, 11);
    EXPECT_EQ(d.m_star, 0);
    EXPECT_EQ(d.clock_x, 460);
    EXPECT_EQ(d.clock_y, 115);
    EXPECT_EQ(d.clock_pi, 3.14159);

    // the values at start, and after every variable is changed and reset
    ExpectStartValues(kAtStart, "at start");
    m_input_lat = m_input_lon = m_input_azmt = latitude0 = longitude0 = latitude = longitude = -1;
    jd = jd0 = jdstart = jd_auto = Hour = minute = second = -1;
    year0 = month0 = day0 = hour0 = minute0 = second0 = Hour0 = -1;
    scale = ss_s = X_MIN = X_MAX = Y_MIN = Y_MAX = X_DISP = Y_DISP = -1;
    m_input_center_x = m_input_center_y = X0 = Y0 = SS = pi = -1;
    m_input_disp = select_d = select_p = m_input_m_star_select = m_seiza1 = m_seiza2 = -2;
    m_input_disp_pla = m_input_m_star = center_x = center_y = -2;
    Settings_Reset();
    ExpectStartValues(Read(), "after Settings_Reset");

    // the reset at the start of a repaint: its column of the table, the
    // observer's place and the Julian day of the reading
    scale = ss_s = X_MIN = X_MAX = Y_MIN = Y_MAX = X_DISP = Y_DISP = X0 = Y0 = -1;
    select_d = m_input_disp = -2;
    struct tm now = {};
    now.tm_year = 2026 - 1900;
    now.tm_mon = 11;
    now.tm_mday = 6;
    now.tm_hour = 15;
    Koyomi_Reset(RepaintInstant_At(now));
    EXPECT_EQ(scale, d.scale);
    EXPECT_EQ(ss_s, d.ss_s_repaint);
    EXPECT_EQ(X_MIN, d.x_min);
    EXPECT_EQ(X_MAX, d.x_max);
    EXPECT_EQ(Y_MIN, d.y_min);
    EXPECT_EQ(Y_MAX, d.y_max);
    EXPECT_EQ(X_DISP, d.x_disp);
    EXPECT_EQ(Y_DISP, d.y_disp);
    EXPECT_EQ(select_d, d.disp_repaint);
    EXPECT_EQ(m_input_disp, d.disp_repaint);
    EXPECT_EQ(X0, d.center_x);
    EXPECT_EQ(Y0, d.center_y);
    EXPECT_EQ(latitude, kObserverDefaults.lat);
    EXPECT_EQ(latitude0, kObserverDefaults.lat);
    EXPECT_EQ(longitude, kObserverDefaults.lon);
    EXPECT_EQ(longitude0, kObserverDefaults.lon);
    for (double j : {jd, jd0, jdstart, jd_auto}) EXPECT_EQ(j, 2461380.75);
    Settings_Reset();
}
