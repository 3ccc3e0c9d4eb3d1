#include "bench/program/DayNote.h"

#include <cstdio>

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
