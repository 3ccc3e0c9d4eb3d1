#include "core/KnownTimeZones.h"

#include "core/YearlyTimeRules.h"

#include <vector>

namespace {

const int kHour = 3600;
const int kSunday = 1;

struct KnownZone {
    std::vector<std::string_view> names;
    YearlyTimeRules rules;
};

// The European Union changes at 01:00 UTC on the last Sundays of March and October.
YearlyTimeRules European(int standardHours) {
    const int standard = standardHours * kHour;
    return YearlyTimeRules(standard, DaylightSaving{standard + kHour,
                                                    {3, -1, kSunday, kHour + standard},
                                                    {10, -1, kSunday, 2 * kHour + standard}});
}

// The United States and Canada: second Sunday of March to first Sunday of November, at 02:00.
YearlyTimeRules NorthAmerican(int standardHours) {
    const int standard = standardHours * kHour;
    return YearlyTimeRules(
        standard,
        DaylightSaving{standard + kHour, {3, 2, kSunday, 2 * kHour}, {11, 1, kSunday, 2 * kHour}});
}

YearlyTimeRules Fixed(double hours) {
    return YearlyTimeRules(static_cast<int>(hours * kHour));
}

const std::vector<KnownZone>& Zones() {
    static const std::vector<KnownZone> zones = {
        {{"UTC", "Etc/UTC", "Etc/GMT", "GMT"}, Fixed(0)},
        {{"GMT Standard Time", "Europe/London", "Europe/Dublin", "Europe/Lisbon"}, European(0)},
        {{"W. Europe Standard Time", "Europe/Berlin", "Europe/Amsterdam", "Europe/Rome",
          "Europe/Vienna", "Europe/Zurich", "Europe/Stockholm", "Europe/Oslo"},
         European(1)},
        {{"Romance Standard Time", "Europe/Paris", "Europe/Brussels", "Europe/Madrid",
          "Europe/Copenhagen"},
         European(1)},
        {{"Central Europe Standard Time", "Europe/Prague", "Europe/Budapest", "Europe/Belgrade",
          "Europe/Bratislava", "Europe/Ljubljana"},
         European(1)},
        {{"Central European Standard Time", "Europe/Warsaw", "Europe/Zagreb", "Europe/Sarajevo",
          "Europe/Skopje"},
         European(1)},
        {{"FLE Standard Time", "Europe/Helsinki", "Europe/Kyiv", "Europe/Kiev", "Europe/Riga",
          "Europe/Tallinn", "Europe/Vilnius", "Europe/Sofia"},
         European(2)},
        {{"GTB Standard Time", "Europe/Athens", "Europe/Bucharest"}, European(2)},
        {{"Russian Standard Time", "Europe/Moscow"}, Fixed(3)},
        {{"Turkey Standard Time", "Europe/Istanbul"}, Fixed(3)},
        {{"Eastern Standard Time", "America/New_York", "America/Toronto", "America/Detroit"},
         NorthAmerican(-5)},
        {{"Central Standard Time", "America/Chicago", "America/Winnipeg"}, NorthAmerican(-6)},
        {{"Mountain Standard Time", "America/Denver", "America/Edmonton"}, NorthAmerican(-7)},
        {{"US Mountain Standard Time", "America/Phoenix"}, Fixed(-7)},
        {{"Pacific Standard Time", "America/Los_Angeles", "America/Vancouver"}, NorthAmerican(-8)},
        {{"Alaskan Standard Time", "America/Anchorage"}, NorthAmerican(-9)},
        {{"Hawaiian Standard Time", "Pacific/Honolulu"}, Fixed(-10)},
        {{"Atlantic Standard Time", "America/Halifax"}, NorthAmerican(-4)},
        {{"Central Standard Time (Mexico)", "America/Mexico_City"}, Fixed(-6)},
        {{"E. South America Standard Time", "America/Sao_Paulo"}, Fixed(-3)},
        {{"Argentina Standard Time", "America/Argentina/Buenos_Aires", "America/Buenos_Aires"},
         Fixed(-3)},
        {{"South Africa Standard Time", "Africa/Johannesburg"}, Fixed(2)},
        {{"Arabian Standard Time", "Asia/Dubai"}, Fixed(4)},
        {{"India Standard Time", "Asia/Kolkata", "Asia/Calcutta"}, Fixed(5.5)},
        {{"China Standard Time", "Asia/Shanghai", "Asia/Hong_Kong"}, Fixed(8)},
        {{"Singapore Standard Time", "Asia/Singapore", "Asia/Kuala_Lumpur"}, Fixed(8)},
        {{"Tokyo Standard Time", "Asia/Tokyo"}, Fixed(9)},
        {{"Korea Standard Time", "Asia/Seoul"}, Fixed(9)},
        {{"E. Australia Standard Time", "Australia/Brisbane"}, Fixed(10)},
        // Daylight saving from the first Sunday of October to the first of April.
        {{"AUS Eastern Standard Time", "Australia/Sydney", "Australia/Melbourne",
          "Australia/Canberra"},
         YearlyTimeRules(
             10 * kHour,
             DaylightSaving{11 * kHour, {10, 1, kSunday, 2 * kHour}, {4, 1, kSunday, 3 * kHour}})},
        // From the last Sunday of September to the first of April.
        {{"New Zealand Standard Time", "Pacific/Auckland"},
         YearlyTimeRules(
             12 * kHour,
             DaylightSaving{13 * kHour, {9, -1, kSunday, 2 * kHour}, {4, 1, kSunday, 3 * kHour}})},
    };
    return zones;
}

bool SameIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size())
        return false;
    for (std::size_t k = 0; k < a.size(); ++k) {
        const auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? char(c - 'A' + 'a') : c; };
        if (lower(a[k]) != lower(b[k]))
            return false;
    }
    return true;
}

} // namespace

const TimeRules* FindKnownTimeZone(std::string_view name) {
    for (const KnownZone& zone : Zones()) {
        for (std::string_view known : zone.names) {
            if (SameIgnoringCase(known, name))
                return &zone.rules;
        }
    }
    return nullptr;
}
