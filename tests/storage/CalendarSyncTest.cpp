#include "storage/CalendarSync.h"

#include <gtest/gtest.h>
