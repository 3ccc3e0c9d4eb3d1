#include "bench/program/BenchDiaries.h"

#include "bench/program/DayNote.h"

#include "core/EventStore.h"
#include "storage/CalendarFile.h"
#include "storage/SafeSave.h"

namespace {

const int kHundredYears = 36525;

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
