#pragma once

// For the whole-program benchmark: when the environment variable
// ORVIK_MEASURE names a file, the program times its own actions on the diary
// it opened, writes the results to that file and closes. Call it once the
// frame is shown.
void MeasureActionsIfAsked();
