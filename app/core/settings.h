// Observer and display settings, and the per-repaint shared state.
#pragma once

// ---- observer (never written)
extern double m_input_lat;   // 35.6
extern double m_input_lon;   // 139.7
extern double m_input_azmt;  // 0.0

// ---- working copies of the place
extern double latitude0, longitude0;
extern double latitude, longitude;

// ---- time state of the current repaint
extern double jd, jd0, jdstart, jd_auto;
extern double Hour, minute, second;

// ---- chart geometry
extern double scale;   // 2.0
extern double ss_s;    // 10.0 at start, 20.0 each repaint
extern double X_MIN, X_MAX, Y_MIN, Y_MAX;
extern double X_DISP, Y_DISP;
extern double m_input_center_x, m_input_center_y;
extern double X0, Y0;
extern int m_input_disp;
extern int select_d;
extern int select_p;
extern double SS;

// ---- star chart choices (never written)
extern int m_input_m_star_select;  // -1
extern int m_seiza1;               // 1
extern int m_seiza2;               // 1
extern int m_input_disp_pla;       // 11
extern int m_input_m_star;         // 0

// ---- clock geometry
extern int center_x, center_y;     // 460, 115
extern double pi;                  // 3.14159

// ---- calendar scratch
extern double year0, month0, day0, hour0, minute0, second0, Hour0;

// Put every variable back to its value at start (tests).
void Settings_Reset();
