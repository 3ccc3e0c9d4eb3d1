#pragma once

// Moved to tests/support; kept so that tests written against this path build.
#include "tests/support/TempFolder.h"
