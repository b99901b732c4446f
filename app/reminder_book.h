// Reminders of the day's events: which are due, each once. The window asks
// at every tick with the clock's reading; a reminder is due from its lead
// time before the event up to the event, once per event (an event is its
// kind and its minute), whatever the clock does between two asks: a
// suspend, a jump forward past an event (nothing: it is past) or a jump
// back (nothing again: it was sent).
#pragma once
#include <cstdint>
#include <set>
#include <string>
#include <vector>

struct KoyomiReadouts;

enum class ReminderKind { Sunrise, Sunset, Moonrise, Moonset, HighWater, LowWater };
constexpr int kReminderKinds = 6;

struct ReminderEvent {
    ReminderKind kind;
    int64_t at;  // civil seconds of the event
};

// The reminder settings: off unless [reminders] enabled = true.
struct ReminderSettings {
    bool enabled = false;
    int minutes = 10;                     // how long before the event, 0 to 1440
    bool kinds[kReminderKinds] = {true, true, true, true, true, true};
};

// The events of a record's day (the Sun's and Moon's rises and sets, the
// high and low waters), in civil seconds; none for a no-event value.
std::vector<ReminderEvent> Reminder_Events(const KoyomiReadouts& r);

class ReminderBook {
public:
    // The events of `events` (of the kinds set) due at `now`: lead seconds
    // before the event or less, not yet at it, not sent before. They are
    // marked sent.
    std::vector<ReminderEvent> due(const std::vector<ReminderEvent>& events, int64_t now,
                                   const ReminderSettings& settings);

private:
    std::set<std::pair<int, int64_t>> sent_;  // (kind, minute of the event)
};

// The name of a kind in the messages' language ("Sunrise" ... "Low water",
// 日の出 ... 干潮); the settings file's key of a kind ("sunrise", "sunset",
// "moonrise", "moonset", "high", "low").
const char* Reminder_Name(ReminderKind kind);
const char* Reminder_Key(ReminderKind kind);

// The [reminders] group of a settings file (GLib key file): enabled (true
// or false, default false), minutes (0 to 1440, default 10), events (a list
// of sunrise, sunset, moonrise, moonset, high, low; default all). A bad
// value leaves its default, with a warning line; a missing file or group
// leaves the reminders off.
ReminderSettings Reminder_ReadSettings(const std::string& path, std::vector<std::string>* warnings);
