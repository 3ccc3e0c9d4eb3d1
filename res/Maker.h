// The project's own copyright line and addresses, shown in the About box.
#pragma once

#define ORVIK_VERSION_TEXT "OrvikCalendar v2.1"
#define ORVIK_COPYRIGHT "Copyright (C) 2026 The OrvikCalendar developers"
#define ORVIK_WEB_ADDRESS "https://orvikcalendar.example.org"
#define ORVIK_MAIL_ADDRESS "diary@orvikcalendar.example.org"
