// The test builds' save faults; see SaveFaults.h.
#include "storage/SaveFaults.h"

namespace {
std::optional<SaveStep> failingStep;
}

bool SaveStepFails(SaveStep step) {
    return failingStep == step;
}

void FailSaveStep(std::optional<SaveStep> step) {
    failingStep = step;
}
