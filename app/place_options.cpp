// The command line's places.
#include "app/place_options.h"

#include <cstdio>

#include "app/i18n.h"
#include "places/places.h"

namespace {
constexpr size_t kListMax = 200;  // places --places prints at most
// the start of Config_ParsePlace's problem when the data are missing
const char* Missing() { return _("the gazetteer cannot be read"); }
}  // namespace

/*
**  PlaceOptions_List
**  --places TEXT: the matches, most populous first.
**
**  Given:
**     text   const char*   a name, "name, region" or "name, country" (UTF-8)
**
**  Returned (function value):
**          int   0 when some place matched (at most 200 printed, the count
**                of the rest after them), 1 when none did or the gazetteer
**                cannot be read
**
**  Called:  Places_Search, Places_Describe
*/
int PlaceOptions_List(const char* text)
{
    const PlaceSearch s = Places_Search(text, 100000);
    if (s.result == PlaceResult::NoData) {
        I18n_Print(std::string(Missing()) + " (" + s.why + ")");
        return 1;
    }
    if (s.matches.empty()) {
        I18n_Print(Message(_("no place matches \"%s\""), text));
        return 1;
    }
    for (size_t i = 0; i < s.matches.size() && i < kListMax; i++)
        std::printf("%s\n", Places_Describe(s.matches[i]).c_str());
    if (s.matches.size() > kListMax)
        std::printf("%s\n", Message(_("... and %zu more"), s.matches.size() - kListMax).c_str());
    return 0;
}

bool PlaceOptions_DataMissing(const std::string& problem)
{
    const std::string missing = Missing();
    return problem.compare(0, missing.size(), missing) == 0;
}
