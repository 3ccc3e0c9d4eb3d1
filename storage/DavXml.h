#pragma once

#include <string>
#include <string_view>
#include <vector>

// The WebDAV and CalDAV XML that the program sends and reads (RFC 4918,
// RFC 4791, RFC 6578), as plain texts: no network, no windows.

// Request bodies.
std::string PropfindCurrentUserPrincipal(); // DAV:current-user-principal
std::string PropfindCalendarHomeSet();      // CALDAV:calendar-home-set
// displayname, resourcetype and supported-calendar-component-set, for
// Depth 0 (does this address name a calendar?) and Depth 1 (the home's
// calendars).
std::string PropfindCalendars();
// getetag of every item, for Depth 1 on a calendar: the full listing.
std::string PropfindEtags();
// What changed since the token (empty: everything), with getetag.
std::string SyncCollection(const std::string& token);
// getetag and calendar-data of the items at those hrefs.
std::string CalendarMultiget(const std::vector<std::string>& hrefs);
// A new calendar for events with that display name.
std::string MkCalendar(const std::string& displayName);

// One <response> of a multistatus.
struct DavResponse {
    std::string href; // as the server wrote it, entities decoded
    // The response's own status (a sync-collection's 404 for a removed
    // item), else that of the propstat that holds the properties; 0 when
    // neither says.
    int status = 0;
    std::string etag; // exactly as received, quotes included
    std::string calendarData;
    std::string displayName;
    bool isCalendar = false;  // resourcetype holds CALDAV:calendar
    bool takesEvents = false; // supported-calendar-component-set names VEVENT, or is absent
    std::string principalHref;    // current-user-principal's href
    std::string calendarHomeHref; // calendar-home-set's (first) href
};

struct Multistatus {
    std::vector<DavResponse> responses;
    std::string syncToken; // a sync-collection's new token
    std::string error;     // not a well-formed multistatus: what was wrong; nothing else is set
};

// Reads a 207 response's body. Namespaces count, not prefixes; unknown
// elements are passed over; text, CDATA and the five entities and numeric
// character references are read.
Multistatus ReadMultistatus(std::string_view xml);

// A URL made of a base URL ("https://host:port/path/") and an href the
// server gave: absolute ("http://..."), absolute-path ("/path") or relative.
std::string ResolveHref(const std::string& baseUrl, const std::string& href);
// The path of a URL with its query: "https://h/a/b?c" gives "/a/b?c".
std::string PathOfUrl(const std::string& url);
