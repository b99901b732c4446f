#include "app/core/settings.h"

double m_input_lat = 35.6;
double m_input_lon = 139.7;
double m_input_azmt = 0.0;

double latitude0 = 0, longitude0 = 0;
double latitude = 0, longitude = 0;

double jd = 0, jd0 = 0, jdstart = 0, jd_auto = 0;
double Hour = 0, minute = 0, second = 0;

double scale = 2.0;
double ss_s = 10.0;
double X_MIN = -350.0, X_MAX = 370.0, Y_MIN = 250.0, Y_MAX = 430.0;
double X_DISP = 10.0, Y_DISP = 10.0;
double m_input_center_x = 250.0, m_input_center_y = 230.0;
double X0 = 0, Y0 = 0;
int m_input_disp = 0;
int select_d = 0;
int select_p = 0;
double SS = 0;

int m_input_m_star_select = -1;
int m_seiza1 = 1;
int m_seiza2 = 1;
int m_input_disp_pla = 11;
int m_input_m_star = 0;

int center_x = 460, center_y = 115;
double pi = 3.14159;

double year0 = 0, month0 = 0, day0 = 0, hour0 = 0, minute0 = 0, second0 = 0, Hour0 = 0;

void Settings_Reset()
{
    m_input_lat = 35.6; m_input_lon = 139.7; m_input_azmt = 0.0;
    latitude0 = longitude0 = latitude = longitude = 0;
    jd = jd0 = jdstart = jd_auto = 0;
    Hour = minute = second = 0;
    scale = 2.0; ss_s = 10.0;
    X_MIN = -350.0; X_MAX = 370.0; Y_MIN = 250.0; Y_MAX = 430.0;
    X_DISP = 10.0; Y_DISP = 10.0;
    m_input_center_x = 250.0; m_input_center_y = 230.0;
    X0 = Y0 = 0;
    m_input_disp = 0; select_d = 0; select_p = 0; SS = 0;
    m_input_m_star_select = -1; m_seiza1 = 1; m_seiza2 = 1;
    m_input_disp_pla = 11; m_input_m_star = 0;
    center_x = 460; center_y = 115; pi = 3.14159;
    year0 = month0 = day0 = hour0 = minute0 = second0 = Hour0 = 0;
}
