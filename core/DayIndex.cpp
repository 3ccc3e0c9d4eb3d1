#include "core/DayIndex.h"

namespace {

const std::size_t kFirstSize = 64;

} // namespace

std::size_t DayIndex::SlotOf(std::uint32_t dayNumber) const {
    // Neighbouring days take neighbouring slots; the high bits folded in
    // spread days that lie a power of two apart.
    return static_cast<std::size_t>((dayNumber ^ (dayNumber >> 16)) & (slots.size() - 1));
}

int DayIndex::Find(std::uint32_t dayNumber) const {
    if (slots.empty())
        return -1;
    for (std::size_t slot = SlotOf(dayNumber);; slot = (slot + 1) & (slots.size() - 1)) {
        if (slots[slot].index < 0)
            return -1;
        if (slots[slot].dayNumber == dayNumber)
            return slots[slot].index;
    }
}

void DayIndex::Add(std::uint32_t dayNumber, int index) {
    if ((used + 1) * 4 > slots.size() * 3)
        Grow();
    std::size_t slot = SlotOf(dayNumber);
    for (; slots[slot].index >= 0; slot = (slot + 1) & (slots.size() - 1)) {
        if (slots[slot].dayNumber == dayNumber)
            return;
    }
    slots[slot] = {dayNumber, index};
    ++used;
}

void DayIndex::Grow() {
    DayIndex larger;
    larger.slots.assign(slots.empty() ? kFirstSize : slots.size() * 2, Slot{0, -1});
    for (const Slot& slot : slots) {
        if (slot.index >= 0)
            larger.Add(slot.dayNumber, slot.index);
    }
    slots.swap(larger.slots);
}

void DayIndex::Clear() {
    std::vector<Slot>().swap(slots);
    used = 0;
}
