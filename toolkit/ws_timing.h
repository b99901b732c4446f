// The toolkit's timers and the repaint tick of the screen backend.
#pragma once
#include <cstdint>
#include <vector>

class WSDtimer {
public:
    struct Proc { void (*proc)(unsigned char, void*); unsigned char rate; void* data; };
    long addTimerProc(void (*proc)(unsigned char, void*), unsigned char rate, void* data);
    const std::vector<Proc>& procs() const { return procs_; }
    void clear() { procs_.clear(); }
private:
    std::vector<Proc> procs_;
};
WSDtimer* WSGIappTimer();

// ---- the repaint tick of the screen backend
// The tick of a periodic timer falls just after the wall clock's second
// turns, so every displayed second is painted once: a one-shot timeout to
// the next tick instant, then a periodic one, aligned again when a tick comes
// later than kTickResyncUs into its second.
constexpr int64_t kTickPhaseUs = 20000;    // tick 20 ms after the whole second
constexpr int64_t kTickResyncUs = 250000;  // a later tick re-aligns
constexpr int64_t kUsPerSecond = 1000000;
// Milliseconds (rounded up) from now_us (microseconds since 1970) to the
// next tick instant.
int WSTickDelayMs(int64_t now_us);
// The whole second (floored) of now_us, and the microseconds into it.
int64_t WSTickSecond(int64_t now_us);
int64_t WSTickPhase(int64_t now_us);

class WSDprivateTimer {
public:
    static WSDprivateTimer* getNewInstance();
    void setRate(long ms) { rate_ = ms; }
    void setWorkProc(void (*proc)(void*), void* data) { proc_ = proc; data_ = data; }
    void setCont(long cont) { cont_ = cont; }
    void runTimer() { running_ = true; }
    void haltTimer() { running_ = false; }
    bool running() const { return running_; }
private:
    long rate_ = 0;
    void (*proc_)(void*) = nullptr;
    void* data_ = nullptr;
    long cont_ = 0;
    bool running_ = false;
};

