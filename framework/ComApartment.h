#pragma once

// COM on the window's thread, started by its first user (a file dialog, the
// shell, a screen reader) rather than at every start: most sessions need
// none, and its libraries then never load.
void EnsureComApartment();

// Ends it at the program's end, when something started it.
void EndComApartment();
