// The display settings the graphic panels read: the chart geometry, the
// projection choice, the symbol sizes, the star chart's choices and the
// clock's geometry. One table holds every value at start and every value
// the main panel sets again at the start of each repaint.
#pragma once

struct DisplayDefaults {
    // ---- chart geometry
    double scale;                       // chart scale factor (at start and every repaint)
    double ss_s;                        // star and planet symbol size factor at start ...
    double ss_s_repaint;                // ... and at the start of every repaint
    double x_min, x_max, y_min, y_max;  // bounds of projections 2 and 3, degrees
    double x_disp, y_disp;              // grid spacing of projections 2 and 3, degrees
    double center_x, center_y;          // chart centre the settings ask for, pixels
    int disp;                           // projection (m_input_disp, select_d) at start ...
    int disp_repaint;                   // ... and every repaint: 4, the view projection
    // ---- star chart choices (never written)
    int m_star_select;  // 1 one figure, 0 all and the catalogue, else all figures
    int seiza1;         // 1: constellation labels
    int seiza2;         // 1: a text beside each figure star (view projection)
    int disp_pla;       // labels only when 11
    int m_star;         // the constellation index of m_star_select 1
    // ---- clock geometry (never written)
    int clock_x, clock_y;  // clock centre, pixels
    double clock_pi;       // pi of the clock angles, five decimals
};
inline constexpr DisplayDefaults kDisplayDefaults = {
    2.0,  10.0, 20.0,                  // scale, ss_s, ss_s every repaint
    -350.0, 370.0, 250.0, 430.0,       // X_MIN, X_MAX, Y_MIN, Y_MAX
    10.0, 10.0,                        // X_DISP, Y_DISP
    250.0, 230.0,                      // m_input_center_x, m_input_center_y
    0, 4,                              // m_input_disp and select_d, every repaint
    -1, 1, 1, 11, 0,                   // star chart choices
    460, 115, 3.14159,                 // clock centre and pi
};

// ---- chart geometry (* also changed by the panels during a repaint)
extern double scale;   // *
extern double ss_s;    // *
extern double X_MIN, X_MAX, Y_MIN, Y_MAX;
extern double X_DISP, Y_DISP;
extern double m_input_center_x, m_input_center_y;  // never written
extern double X0, Y0;  // * chart centre, pixels: 0 at start, the settings' centre every repaint
extern int m_input_disp;
extern int select_d;   // projection code of the star chart
extern int select_p;   // planet loop index shared by the planet panel and the star chart (0 at start)
extern double SS;      // symbol size shared by the planet panel and the star chart (0 at start)

// ---- star chart choices
extern int m_input_m_star_select;
extern int m_seiza1;
extern int m_seiza2;
extern int m_input_disp_pla;
extern int m_input_m_star;

// ---- clock geometry
extern int center_x, center_y;
extern double pi;

// Every variable above back to its value at start.
void DisplaySettings_Reset();
// What the main panel sets at the start of every repaint: the geometry, the
// projection and the chart centre from the settings.
void DisplaySettings_StartRepaint();
