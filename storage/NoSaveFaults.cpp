// The program's save faults: none; see SaveFaults.h.
#include "storage/SaveFaults.h"

bool SaveStepFails(SaveStep) {
    return false;
}
