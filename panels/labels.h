// The texts of the picture and of the almanac in two sets: the Japanese
// (Shift_JIS, the default) and the English. Each English text stands where
// its Japanese one stands and is no wider in the picture's font, except the
// names beside the bodies and the constellation figures, which have no
// column to keep to.
#pragma once

enum class LabelSet { Japanese, English };
void Labels_Use(LabelSet set);
LabelSet Labels_InUse();

// A text, or a printf format, of the rows and panels.
enum class LabelId {
    DateLine,        // format: year, month, day, hour, minute, second (int), Julian day (double)
    Sunrise, Sunset, Moonrise, Moonset,  // the event rows' labels
    Clock,           // format: hour, minute, second (double)
    EastLongitude, WestLongitude, NorthLatitude, SouthLatitude,  // format: degrees (double)
    Azimuth,         // format: degrees (double)
    TideHeading,
    High, Low,       // the tide rows' labels
    HighTime, LowTime,  // format: hour, minute (double)
    HighNone, LowNone,
    MoonAge,         // format: days (double)
    MoonAgeLabel,
    DaysDate,        // the date column's heading of the table of days
    TidesNone,       // the tide heading when no station is near enough
    TideNameLabel,   // the almanac's label of the day's tide name
    Count
};
struct LabelPair {
    const char* japanese;  // Shift_JIS
    const char* english;   // ASCII
};
// The text of an id in the set in use.
const char* Label(LabelId id);
const LabelPair& Labels_Pair(LabelId id);

// The eight directions from the south toward the west (0 south, 2 west,
// 4 north, 6 east), the bodies of the planet panel in its order (0 the
// Moon .. 6 Saturn), the constellation labels by index 0..87, in the set in
// use.
const char* Labels_Direction(int k);
const LabelPair& Labels_DirectionPair(int k);
const char* Labels_Body(int i);
const char* Labels_Constellation(int c);

// The day's tide name (大潮, 中潮, 小潮, 長潮, 若潮, Shift_JIS) in the set
// in use: the Japanese as given, or the English in full ("Spring tide", the
// almanac) or brief ("Spring", the picture's tide heading, where it stands
// in place of 潮汐 and the Japanese name: at most six letters).
const char* Labels_TideName(const char* japanese, bool brief);

// "ja", "en" or "auto" (Japanese when the language of the messages is
// Japanese) to a choice; false for another text.
enum class LabelChoice { Japanese, English, Auto };
bool Labels_ParseChoice(const char* text, LabelChoice* choice);
// The set a choice gives; for Auto, language is the first of the user's
// languages for messages ("ja_JP", "en", "C").
LabelSet Labels_Resolve(LabelChoice choice, const char* language);
