#include "timecal/observer.h"

#include "timecal/julian.h"

double m_input_lat = kObserverDefaults.lat;
double m_input_lon = kObserverDefaults.lon;
double m_input_azmt = kObserverDefaults.azmt;

double latitude0 = 0, longitude0 = 0;
double latitude = 0, longitude = 0;

double Observer_ZoneHours() { return ZoneHours(m_input_lon); }

void Observer_Reset()
{
    m_input_lat = kObserverDefaults.lat;
    m_input_lon = kObserverDefaults.lon;
    m_input_azmt = kObserverDefaults.azmt;
    latitude0 = longitude0 = latitude = longitude = 0;
}
