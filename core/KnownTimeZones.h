#pragma once

#include "core/TimeRules.h"

#include <string_view>

// The current rules of the most used time zones, found by their Windows name
// ("W. Europe Standard Time") or their IANA name ("Europe/Berlin"), in any
// case; nothing for other names. For calendar files that name a zone without
// defining it.
const TimeRules* FindKnownTimeZone(std::string_view name);
