#include "bench/program/BenchDiaries.h"

#include "core/EventStore.h"
#include "storage/CalendarFile.h"
#include "storage/SafeSave.h"

#include <cstdio>

namespace {

const int kHundredYears = 36525;

// The first line is an event at a different time every day, so that the
// reminder check finds work on some days.
std::string DayNote(int number) {
    char firstEvent[16];
    std::snprintf(firstEvent, sizeof firstEvent, "%02d:%02d", number % 24, number * 7 % 60);
    return std::string(firstEvent) +
           " Meet \"Anna\"; bring the slides and notes\r\n12:30 Lunch\r\n"
           "Call the garage about the car, no. " +
           std::to_string(number);
}

bool WriteDiaryOfYears(int hundreds, const std::string& path, std::string& error) {
    EventStore store;
    Date day(1, 1950);
    for (int number = 0; number < kHundredYears * hundreds; ++number, day.PostIncrement())
        store.Append(day, DayNote(number));
    return SaveFileSafely(path, FormatCalendar(store), error);
}

} // namespace

bool WriteHundredYearDiary(const std::string& path, std::string& error) {
    return WriteDiaryOfYears(1, path, error);
}

bool WriteThousandYearDiary(const std::string& path, std::string& error) {
    return WriteDiaryOfYears(10, path, error);
}

bool WriteEmptyDiary(const std::string& path, std::string& error) {
    return SaveFileSafely(path, std::string(), error);
}
