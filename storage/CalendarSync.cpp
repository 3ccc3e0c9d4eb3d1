#include "storage/CalendarSync.h"
