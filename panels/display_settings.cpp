#include "panels/display_settings.h"

namespace {
constexpr const DisplayDefaults& D = kDisplayDefaults;
}

double scale = D.scale;
double ss_s = D.ss_s;
double X_MIN = D.x_min, X_MAX = D.x_max, Y_MIN = D.y_min, Y_MAX = D.y_max;
double X_DISP = D.x_disp, Y_DISP = D.y_disp;
double m_input_center_x = D.center_x, m_input_center_y = D.center_y;
double X0 = 0, Y0 = 0;
int m_input_disp = D.disp;
int select_d = D.disp;
int select_p = 0;
double SS = 0;

int m_input_m_star_select = D.m_star_select;
int m_seiza1 = D.seiza1;
int m_seiza2 = D.seiza2;
int m_input_disp_pla = D.disp_pla;
int m_input_m_star = D.m_star;

int center_x = D.clock_x, center_y = D.clock_y;
double pi = D.clock_pi;

/*
**  DisplaySettings_Reset
**  Every display setting back to its value at start.
**
**  Notes:
**  1) From kDisplayDefaults: scale, ss_s, the bounds and grid spacing,
**     the settings' chart centre, m_input_disp and select_d, the star
**     chart's choices and the clock's geometry; X0, Y0, select_p and SS
**     to 0.
*/
void DisplaySettings_Reset()
{
    scale = D.scale;
    ss_s = D.ss_s;
    X_MIN = D.x_min; X_MAX = D.x_max; Y_MIN = D.y_min; Y_MAX = D.y_max;
    X_DISP = D.x_disp; Y_DISP = D.y_disp;
    m_input_center_x = D.center_x; m_input_center_y = D.center_y;
    X0 = Y0 = 0;
    m_input_disp = D.disp;
    select_d = D.disp;
    select_p = 0;
    SS = 0;
    m_input_m_star_select = D.m_star_select;
    m_seiza1 = D.seiza1;
    m_seiza2 = D.seiza2;
    m_input_disp_pla = D.disp_pla;
    m_input_m_star = D.m_star;
    center_x = D.clock_x; center_y = D.clock_y;
    pi = D.clock_pi;
}

/*
**  DisplaySettings_StartRepaint
**  What the main panel sets at the start of every repaint.
**
**  Notes:
**  1) From kDisplayDefaults: the bounds X_MIN..Y_MAX, X_DISP, Y_DISP,
**     scale, ss_s (its repaint value, 20), select_d and m_input_disp (4,
**     the view projection); then X0, Y0 from m_input_center_x,
**     m_input_center_y.
*/
void DisplaySettings_StartRepaint()
{
    // chart geometry
    X_MAX = D.x_max; Y_MAX = D.y_max; X_MIN = D.x_min; Y_MIN = D.y_min;
    X_DISP = D.x_disp; Y_DISP = D.y_disp;
    scale = D.scale;
    ss_s = D.ss_s_repaint;
    // projection
    select_d = D.disp_repaint;
    m_input_disp = D.disp_repaint;
    // chart centre
    X0 = m_input_center_x;
    Y0 = m_input_center_y;
}
