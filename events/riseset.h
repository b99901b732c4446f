#pragma once
// Body codes: 0 Sun, 3 Moon, others planets. No event: 23.0.
double Cal_Rise_Time(double jd, int body);
double Cal_Set_Time(double jd, int body);
double Cal_Top_Time(double jd, int body);
