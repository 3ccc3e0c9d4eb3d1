#pragma once

#include <optional>

// The steps of a save, in order.
enum class SaveStep { CreateTemporary, Write, Flush, Close, ReadBack, Replace };

// Whether the step is to fail, as a full disk, a folder that refuses new
// files or a locked file would make it. A seam between builds: the program
// links NoSaveFaults.cpp, where no step fails; test builds link SaveFaults.cpp
// (the library orvik_save_faults, first on their link line), where
// FailSaveStep chooses one.
bool SaveStepFails(SaveStep step);

// Test builds only: makes that step fail in every save until called with nothing.
void FailSaveStep(std::optional<SaveStep> step);
