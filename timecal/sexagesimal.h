// Angle, sexagesimal and small numeric helpers.
#pragma once
double HMSToHour(double x);
double HMSToDeg(double x);
double DMSToDeg(double x);
double DegToHMS(double x);
double DegToDMS(double x);
double Digit2(double x);
double Digit3(double x);
double Datn2(double y, double x);
double Table_Value(double a, double b, double c, double d, double p, double q);
