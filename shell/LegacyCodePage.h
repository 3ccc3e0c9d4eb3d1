#pragma once

#include "storage/TextEncoding.h"

// How calendar files in the user's legacy ANSI code page become UTF-8 when
// the program runs in UTF-8 (Windows 10 1903 and later honour the manifest).
// Empty where the program still runs in the legacy code page: its texts are
// then in that code page, as the files are.
LegacyToUtf8 LegacyCodePageConverter();
