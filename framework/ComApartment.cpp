#include "framework/ComApartment.h"

#include <objbase.h>

namespace {
bool started = false;
}

void EnsureComApartment() {
    // A failure is the first user's to meet, as with any COM call.
    if (!started)
        started = SUCCEEDED(CoInitialize(nullptr));
}

void EndComApartment() {
    if (started)
        CoUninitialize();
    started = false;
}
