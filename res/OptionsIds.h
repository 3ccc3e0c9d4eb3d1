// The controls of the three options pages, shared by OptionsDialogs.rc and
// shell/OptionsDialog. Each page looks its ids up in its own dialog, so the
// Advanced page's check boxes may share numbers with the Reminder page.
#pragma once

// Reminder page
#define IDC_USE_REMINDER 1020
#define IDC_REMIND_DAYS 1022
#define IDC_REMIND_DAYS_SPIN 1023
#define IDC_REMIND_HOURS 1024
#define IDC_REMIND_HOURS_SPIN 1025
#define IDC_REMIND_MINUTES 1026
#define IDC_REMIND_MINUTES_SPIN 1027

// XSL Template page
#define IDC_XSL_TEMPLATE 1016
#define IDC_BROWSE 1017

// Advanced page
#define IDC_MINIMIZE_ON_CLOSE 1019
#define IDC_SUNDAY_FIRST 1024
#define IDC_MULTIPLE_INSTANCES 1025
