// The toolkit's timers and the repaint tick of the screen backend.
#include "toolkit/ws_timing.h"

#include "toolkit/ws_backend.h"

/*
**  WSDtimer::addTimerProc
**  Register a periodic timer procedure.
**
**  Given:
**     proc   function        called with the rate and data at every tick
**     rate   unsigned char   the toolkit's rate code (the backend ticks
**                            once a second)
**     data   void*           handed to proc
**
**  Returned (function value):
**            long            the number of procedures registered
**
**  Notes:
**  1) The backend, if any, starts the timer.
*/
long WSDtimer::addTimerProc(void (*proc)(unsigned char, void*), unsigned char rate, void* data)
{
    procs_.push_back(Proc{proc, rate, data});
    if (WSBackend* backend = WSGetBackend()) backend->addTimer(proc, rate, data);
    return static_cast<long>(procs_.size());
}

WSDtimer* WSGIappTimer()
{
    static WSDtimer timer;
    return &timer;
}

/*
**  WSTickSecond, WSTickPhase
**  The whole second of a wall-clock instant and the time into it.
**
**  Given:
**     now_us   int64_t   microseconds since 1970
**
**  Returned (function value):
**              int64_t   the second, floored (also before 1970); the
**                        microseconds since it began, 0 to 999999
*/
int64_t WSTickSecond(int64_t now_us)
{
    int64_t s = now_us / kUsPerSecond;
    if (now_us % kUsPerSecond < 0) --s;  // floor, also before 1970
    return s;
}

int64_t WSTickPhase(int64_t now_us) { return now_us - WSTickSecond(now_us) * kUsPerSecond; }

/*
**  WSTickDelayMs
**  Milliseconds to the next tick instant.
**
**  Given:
**     now_us   int64_t   wall-clock microseconds since 1970
**
**  Returned (function value):
**              int       milliseconds, rounded up, to the next instant
**                        kTickPhaseUs (20 ms) after a whole second
*/
int WSTickDelayMs(int64_t now_us)
{
    const int64_t phase = WSTickPhase(now_us);
    const int64_t target = phase < kTickPhaseUs ? kTickPhaseUs : kUsPerSecond + kTickPhaseUs;
    return static_cast<int>((target - phase + 999) / 1000);
}

/*
**  WSDprivateTimer::getNewInstance
**  A new private timer (owned by the caller; never freed by the program).
*/
WSDprivateTimer* WSDprivateTimer::getNewInstance() { return new WSDprivateTimer(); }

