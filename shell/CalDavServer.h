#pragma once

#include "shell/HttpClient.h"
#include "storage/CalendarSync.h"

#include <string>
#include <vector>

// One calendar on a CalDAV server, as the sync asks for it: the changes by
// sync-collection where the server keeps tokens, else the whole listing.
class CalDavServer : public CalendarServer {
  public:
    CalDavServer(HttpClient& http, std::string calendarUrl);

    bool List(const std::string& syncToken, Listing& listing, ServerFailure& failure) override;
    bool Fetch(const std::vector<std::string>& hrefs, std::vector<Resource>& resources,
               ServerFailure& failure) override;
    bool Put(const std::string& href, const std::string& data, const std::string& etag,
             Written& written, ServerFailure& failure) override;
    bool Delete(const std::string& href, const std::string& etag, ServerFailure& failure) override;
    std::string HrefFor(const std::string& uid) const override;

  private:
    // The request sent; false with the failure unless the status is one of
    // `expected`.
    bool Call(HttpRequest request, std::initializer_list<int> expected, HttpResponse& response,
              ServerFailure& failure, bool forTheCalendar = false);
    bool ListAll(Listing& listing, ServerFailure& failure);

    HttpClient& http;
    std::string calendarUrl; // ends in '/'
};

// A calendar the user can choose.
struct FoundCalendar {
    std::string url;
    std::string name;
};
struct Discovery {
    std::vector<FoundCalendar> calendars;
    std::string homeUrl; // where a new calendar can be made; empty when none was found
    ServerFailure failure;
};
// The calendars for events that the address leads to: the address itself
// when it names one, else through the user's principal (asked of the
// address, then of /.well-known/caldav) and its calendar home.
Discovery FindCalendars(HttpClient& http, const std::string& address);
// A new calendar for events in the home; its address, or empty with the failure.
std::string MakeCalendar(HttpClient& http, const std::string& homeUrl,
                         const std::string& displayName, ServerFailure& failure);
