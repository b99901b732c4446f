// The two sets of texts of the picture and the almanac (labels.h).
#include "panels/labels.h"

#include <cstring>

#include "ephem/bodies.h"
#include "panels/constellations.h"

namespace {

LabelSet g_set = LabelSet::Japanese;

// By LabelId. An English text is no wider than its Japanese one in the
// picture's monospaced face: a kanji or kana is two columns, a letter one.
const LabelPair kLabels[static_cast<int>(LabelId::Count)] = {
    // "ユリウス通日" is twelve columns: the Julian day's number stays put
    {"        日時  %04d/%02d/%02d %02d:%02d:%02d   ユリウス通日 %12.5f",
     "        Date  %04d/%02d/%02d %02d:%02d:%02d   Julian day   %12.5f"},
    {"日の出", "S.rise"},
    {"日の入", "S.set "},
    {"月の出", "M.rise"},
    {"月の入", "M.set "},
    {"時刻 %02.0f:%02.0f:%02.0f", "Time %02.0f:%02.0f:%02.0f"},
    {"東経 %3.1f", "Lon %3.1fE"},
    {"西経 %3.1f", "Lon %3.1fW"},
    {"北緯 %3.1f", "Lat %3.1fN"},
    {"南緯 %3.1f", "Lat %3.1fS"},
    {"方位角 %3.0f", "Azim. %3.0f"},
    {"  東京湾潮汐", " Tokyo tides"},
    {"満", "H"},
    {"干", "L"},
    {"満%02.0f:%02.0f", "H %02.0f:%02.0f"},
    {"干%02.0f:%02.0f", "L %02.0f:%02.0f"},
    {"満 --", "H --"},
    {"干 --", "L --"},
    {"月齢 %4.1f", "Age %4.1f"},
    {"月齢", "Age"},
    {"日付", "Date"},
    {"  潮汐", " Tides"},
    {"潮名 ", "Tide "},
};

// The tide names: the Japanese, the English in full and brief.
struct TideNameSet {
    const char* japanese;
    const char* english;
    const char* brief;
};
const TideNameSet kTideNames[] = {
    {"大潮", "spring tide", "Spring"}, {"中潮", "middle tide", "Middle"},
    {"小潮", "neap tide", "Neap"},     {"長潮", "long tide", "Long"},
    {"若潮", "young tide", "Young"},
};

const LabelPair kDirections[8] = {
    {"南", "S"}, {"南西", "SW"}, {"西", "W"}, {"北西", "NW"},
    {"北", "N"}, {"北東", "NE"}, {"東", "E"}, {"南東", "SE"},
};

// The English names of the figures, by the labels' order (their
// abbreviations lead the Japanese labels too).
const char* const kFigureNames[kConstellations] = {
    "And.Andromeda", "Ant.Air Pump", "Aps.Bird of Paradise", "Aql.Eagle", "Aqr.Water Bearer",
    "Ara.Altar", "Ari.Ram", "Aur.Charioteer", "Boo.Herdsman", "Cae.Chisel",
    "Cam.Giraffe", "Cap.Sea Goat", "Car.Keel", "Cas.Cassiopeia", "Cen.Centaur",
    "Cep.Cepheus", "Cet.Whale", "Cha.Chameleon", "Cir.Compasses", "CMa.Great Dog",
    "CMi.Little Dog", "Cnc.Crab", "Col.Dove", "Com.Berenice's Hair", "CrA.Southern Crown",
    "CrB.Northern Crown", "Crt.Cup", "Cru.Southern Cross", "Crv.Crow", "CVn.Hunting Dogs",
    "Cyg.Swan", "Del.Dolphin", "Dor.Swordfish", "Dra.Dragon", "Equ.Little Horse",
    "Eri.River Eridanus", "For.Furnace", "Gem.Twins", "Gru.Crane", "Her.Hercules",
    "Hor.Clock", "Hya.Water Snake", "Hyi.Little Snake", "Ind.Indian", "Lac.Lizard",
    "Leo.Lion", "Lep.Hare", "Lib.Scales", "LMi.Little Lion", "Lup.Wolf",
    "Lyn.Lynx", "Lyr.Lyre", "Men.Table Mountain", "Mic.Microscope", "Mon.Unicorn",
    "Mus.Fly", "Nor.Square", "Oct.Octant", "Oph.Serpent Bearer", "Ori.Orion",
    "Pav.Peacock", "Peg.Pegasus", "Per.Perseus", "Phe.Phoenix", "Pic.Easel",
    "PsA.Southern Fish", "Psc.Fishes", "Pup.Stern", "Pyx.Compass", "Ret.Reticle",
    "Scl.Sculptor", "Sco.Scorpion", "Sct.Shield", "Ser.Serpent", "Sex.Sextant",
    "Sge.Arrow", "Sgr.Archer", "Tau.Bull", "Tel.Telescope", "TrA.Southern Triangle",
    "Tri.Triangle", "Tuc.Toucan", "UMa.Great Bear", "UMi.Little Bear", "Vel.Sails",
    "Vir.Virgin", "Vol.Flying Fish", "Vul.Fox",
};

bool English() { return g_set == LabelSet::English; }

}  // namespace

void Labels_Use(LabelSet set) { g_set = set; }
LabelSet Labels_InUse() { return g_set; }

/*
**  Label, Labels_Pair
**  A text of the rows and panels in the set in use, and both of its
**  versions.
*/
const char* Label(LabelId id)
{
    const LabelPair& p = Labels_Pair(id);
    return English() ? p.english : p.japanese;
}

const LabelPair& Labels_Pair(LabelId id) { return kLabels[static_cast<int>(id)]; }

const char* Labels_Direction(int k) { return English() ? kDirections[k].english : kDirections[k].japanese; }
const LabelPair& Labels_DirectionPair(int k) { return kDirections[k]; }
const char* Labels_Body(int i) { return English() ? kBodyEnglish[i] : Pla1[i]; }
const char* Labels_Constellation(int c) { return English() ? kFigureNames[c] : Star3[c]; }

/*
**  Labels_TideName
**  A tide name in the set in use; an unknown name as it is.
*/
const char* Labels_TideName(const char* japanese, bool brief)
{
    if (!English() || !japanese) return japanese;
    for (const TideNameSet& t : kTideNames)
        if (std::strcmp(t.japanese, japanese) == 0) return brief ? t.brief : t.english;
    return japanese;
}

/*
**  Labels_ParseChoice
**  "ja", "en" or "auto", exactly.
*/
bool Labels_ParseChoice(const char* text, LabelChoice* choice)
{
    if (!text) return false;
    if (std::strcmp(text, "ja") == 0) *choice = LabelChoice::Japanese;
    else if (std::strcmp(text, "en") == 0) *choice = LabelChoice::English;
    else if (std::strcmp(text, "auto") == 0) *choice = LabelChoice::Auto;
    else return false;
    return true;
}

/*
**  Labels_Resolve
**  The set of a choice: Auto is Japanese when the language is "ja" or
**  starts "ja_", "ja." or "ja@", English otherwise (the C locale too).
*/
LabelSet Labels_Resolve(LabelChoice choice, const char* language)
{
    switch (choice) {
    case LabelChoice::Japanese: return LabelSet::Japanese;
    case LabelChoice::English: return LabelSet::English;
    default: break;
    }
    const bool ja = language && std::strncmp(language, "ja", 2) == 0 &&
                    (language[2] == '\0' || std::strchr("_.@", language[2]));
    return ja ? LabelSet::Japanese : LabelSet::English;
}
