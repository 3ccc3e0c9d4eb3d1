// The project's own name for its makers, copyright line and addresses,
// shown in the About box; the version is in the generated Version.h.
#pragma once

#define ORVIK_PUBLISHER "The OrvikCalendar developers"
#define ORVIK_COPYRIGHT "Copyright (C) 2026 " ORVIK_PUBLISHER
#define ORVIK_WEB_ADDRESS "https://orvikcalendar.example.org"
#define ORVIK_MAIL_ADDRESS "diary@orvikcalendar.example.org"
