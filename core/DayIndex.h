#pragma once

#include <cstdint>
#include <vector>

// Day number -> the index of the day's first entry in the store. One array
// with open addressing: a day costs about 11 bytes here against some 40 in a
// node-based map, which a hundred-year diary feels as a megabyte.
class DayIndex {
  public:
    // Adds the day unless it is there already: the first entry stays found.
    // Throws std::bad_alloc with the index as it was.
    void Add(std::uint32_t dayNumber, int index);
    // The index of the day's first entry, or -1.
    int Find(std::uint32_t dayNumber) const;
    // Empties it and gives its memory back.
    void Clear();

  private:
    struct Slot {
        std::uint32_t dayNumber;
        int index; // -1 while the slot is free
    };
    std::size_t SlotOf(std::uint32_t dayNumber) const;
    void Grow();

    std::vector<Slot> slots; // a power of two in size, at most three quarters used
    std::size_t used = 0;
};
