// The broken-down time record and the routines that fill it.
#pragma once

struct tagTime_Day {
    double year, month, day;
    double spare;   // always 0.0
    double hour;    // whole hours
    double Hour;    // decimal hours
    double minute;  // whole minutes
    double second;  // seconds with fraction
    double jd;
    double latitude, longitude;
};
extern tagTime_Day Auto_Time;

void Cal_Now_Time(tagTime_Day* t);
void Cal_Auto_Time(double jd, tagTime_Day* t);
void DateToYMD(double date, double* year, double* month, double* day);
void HourToHMS(double hours, double* hour, double* minute, double* second);
