#include "core/Now.h"

namespace {
bool pinned = false;
std::time_t pinnedMoment = 0;
} // namespace

std::time_t Now() {
    return pinned ? pinnedMoment : std::time(nullptr);
}

std::tm LocalNow() {
    return ToLocalTime(Now());
}

std::tm ToLocalTime(std::time_t moment) {
    std::tm local{};
#ifdef _WIN32
    localtime_s(&local, &moment);
#else
    localtime_r(&moment, &local);
#endif
    return local;
}

void PinNow(std::time_t moment) {
    pinned = true;
    pinnedMoment = moment;
}

void UnpinNow() {
    pinned = false;
}
