#include "storage/ICalendarTimeZone.h"

#include "storage/ICalendarTime.h"

#include <cstdlib>
#include <string_view>

namespace {

const char* const kWeekdayCodes[8] = {"", "SU", "MO", "TU", "WE", "TH", "FR", "SA"};

struct Observance {
    UtcSeconds start; // the clock reading of DTSTART, counted like UTC seconds
    int startSecondsIntoDay;
    int offset;
    std::string rule;
};

std::optional<Observance> ReadObservance(const TimeZoneObservance& written) {
    const std::optional<DateTimeValue> start = ParseDateTimeValue(written.start);
    const std::optional<int> offset = ParseUtcOffset(written.offsetTo);
    if (!start || !offset)
        return std::nullopt;
    const LocalDateTime& clock = start->clock;
    return Observance{SecondsOfClock(clock), clock.hour * 3600 + clock.minute * 60 + clock.second,
                      *offset, written.rule};
}

// "-1SU", "2SU" or "SU" (the first).
bool ReadWeekday(std::string_view text, YearlyChange& change) {
    if (text.size() < 2)
        return false;
    const std::string_view code = text.substr(text.size() - 2);
    change.weekday = 0;
    for (int weekday = 1; weekday <= 7; ++weekday) {
        if (code == kWeekdayCodes[weekday])
            change.weekday = weekday;
    }
    const std::string ordinal(text.substr(0, text.size() - 2));
    char* end = nullptr;
    change.week = ordinal.empty() ? 1 : static_cast<int>(std::strtol(ordinal.c_str(), &end, 10));
    const bool readWhole = ordinal.empty() || *end == '\0';
    return change.weekday != 0 && readWhole && change.week != 0 && change.week >= -5 &&
           change.week <= 5;
}

// A yearly rule by month and weekday; nothing for any other rule.
std::optional<YearlyChange> ReadYearlyRule(const Observance& observance) {
    YearlyChange change;
    change.secondsIntoDay = observance.startSecondsIntoDay;
    bool yearly = false;
    bool weekdaySet = false;
    std::string_view rest = observance.rule;
    while (!rest.empty()) {
        const std::size_t semicolon = rest.find(';');
        const std::string_view part = rest.substr(0, semicolon);
        rest =
            semicolon == std::string_view::npos ? std::string_view() : rest.substr(semicolon + 1);
        const std::size_t equals = part.find('=');
        if (equals == std::string_view::npos)
            return std::nullopt;
        const std::string_view key = part.substr(0, equals);
        const std::string value(part.substr(equals + 1));
        if (key == "FREQ") {
            yearly = value == "YEARLY";
        } else if (key == "BYMONTH") {
            change.month = std::atoi(value.c_str());
        } else if (key == "BYDAY") {
            weekdaySet = ReadWeekday(value, change);
        } else if (key == "INTERVAL") {
            if (value != "1")
                return std::nullopt;
        } else if (key != "UNTIL" && key != "WKST") {
            return std::nullopt; // BYMONTHDAY, BYSETPOS and the like: not this shape
        }
    }
    if (!yearly || !weekdaySet || change.month < 1 || change.month > 12)
        return std::nullopt;
    return change;
}

} // namespace

std::optional<YearlyTimeRules> RulesOfTimeZone(const std::vector<TimeZoneObservance>& observances) {
    std::optional<Observance> latest[2]; // standard, daylight
    for (const TimeZoneObservance& written : observances) {
        const std::optional<Observance> observance = ReadObservance(written);
        if (!observance)
            return std::nullopt;
        std::optional<Observance>& slot = latest[written.daylight ? 1 : 0];
        if (!slot || observance->start >= slot->start)
            slot = observance;
    }
    const std::optional<Observance>& standard = latest[0];
    const std::optional<Observance>& daylight = latest[1];
    if (!standard && !daylight)
        return std::nullopt;
    if (standard && daylight && !standard->rule.empty() && !daylight->rule.empty()) {
        const std::optional<YearlyChange> starts = ReadYearlyRule(*daylight);
        const std::optional<YearlyChange> ends = ReadYearlyRule(*standard);
        if (!starts || !ends)
            return std::nullopt;
        return YearlyTimeRules(standard->offset, DaylightSaving{daylight->offset, *starts, *ends});
    }
    const bool standardIsLater = standard && (!daylight || standard->start >= daylight->start);
    return YearlyTimeRules(standardIsLater ? standard->offset : daylight->offset);
}
