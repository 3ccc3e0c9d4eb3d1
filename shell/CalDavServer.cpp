#include "shell/CalDavServer.h"

#include "storage/DavXml.h"

#include <cctype>

namespace {

const char kXml[] = "application/xml; charset=utf-8";

std::string WithSlash(std::string url) {
    if (url.empty() || url.back() != '/')
        url += '/';
    return url;
}

HttpRequest Request(const char* method, const std::string& url, const char* depth,
                    std::string body) {
    HttpRequest request{method, url, {}, std::move(body)};
    if (depth)
        request.headers.emplace_back("Depth", depth);
    if (!request.body.empty())
        request.headers.emplace_back("Content-Type", kXml);
    return request;
}

ServerFailure FailureOf(const HttpResponse& response, bool cancelled, bool forTheCalendar) {
    ServerFailure failure;
    failure.status = response.status;
    if (cancelled) {
        failure.kind = ServerFailure::Kind::Cancelled;
    } else if (response.status == 0) {
        failure.kind = ServerFailure::Kind::NotReached;
        failure.detail = response.error;
    } else if (response.status == 401 || response.status == 403) {
        failure.kind = ServerFailure::Kind::PasswordRefused;
    } else if (forTheCalendar && (response.status == 404 || response.status == 410)) {
        failure.kind = ServerFailure::Kind::CalendarGone;
    } else {
        failure.kind = ServerFailure::Kind::Refused;
        failure.detail = "the server answered " + std::to_string(response.status);
    }
    return failure;
}

bool ReadAnswer(const HttpResponse& response, Multistatus& answer, ServerFailure& failure) {
    answer = ReadMultistatus(response.body);
    if (answer.error.empty())
        return true;
    failure.kind = ServerFailure::Kind::Refused;
    failure.status = response.status;
    failure.detail = "the server's answer could not be read: " + answer.error;
    return false;
}

bool Expected(int status, std::initializer_list<int> expected) {
    for (int one : expected) {
        if (status == one)
            return true;
    }
    return false;
}

// An href that names the collection asked about, not one of its items.
bool IsCollection(const std::string& collectionUrl, const std::string& href) {
    return WithSlash(ResolveHref(collectionUrl, href)) == WithSlash(collectionUrl);
}

std::string PercentEncoded(const std::string& text) {
    static const char hex[] = "0123456789ABCDEF";
    std::string out;
    for (unsigned char c : text) {
        if (std::isalnum(c) || c == '-' || c == '_' || c == '.' || c == '~' || c == '@') {
            out += static_cast<char>(c);
        } else {
            out += '%';
            out += hex[c >> 4];
            out += hex[c & 15];
        }
    }
    return out;
}

// Asks `url` for properties at depth 0 or 1; false with the failure.
bool Ask(HttpClient& http, const std::string& url, const char* depth, std::string body,
         Multistatus& answer, HttpResponse& response, ServerFailure& failure) {
    response = http.Send(Request("PROPFIND", url, depth, std::move(body)));
    if (response.status != 207) {
        failure = FailureOf(response, http.Cancelled(), false);
        return false;
    }
    return ReadAnswer(response, answer, failure);
}

} // namespace

CalDavServer::CalDavServer(HttpClient& http, std::string calendarUrl)
    : http(http), calendarUrl(WithSlash(std::move(calendarUrl))) {}

bool CalDavServer::Call(HttpRequest request, std::initializer_list<int> expected,
                        HttpResponse& response, ServerFailure& failure, bool forTheCalendar) {
    response = http.Send(request);
    if (Expected(response.status, expected))
        return true;
    failure = FailureOf(response, http.Cancelled(), forTheCalendar);
    return false;
}

bool CalDavServer::List(const std::string& syncToken, Listing& listing, ServerFailure& failure) {
    listing = Listing{};
    HttpResponse response;
    response = http.Send(Request("REPORT", calendarUrl, "0", SyncCollection(syncToken)));
    if (response.status != 207) {
        const ServerFailure refused = FailureOf(response, http.Cancelled(), true);
        // A server without tokens, or one that no longer knows ours, lists everything.
        if (refused.kind != ServerFailure::Kind::Refused) {
            failure = refused;
            return false;
        }
        return ListAll(listing, failure);
    }
    Multistatus answer;
    if (!ReadAnswer(response, answer, failure))
        return false;
    for (const DavResponse& item : answer.responses) {
        if (IsCollection(calendarUrl, item.href))
            continue;
        if (item.status == 404 || item.status == 410)
            listing.removed.push_back(item.href);
        else if (!item.etag.empty())
            listing.items.push_back({item.href, item.etag});
    }
    listing.syncToken = answer.syncToken;
    listing.complete = syncToken.empty();
    return true;
}

bool CalDavServer::ListAll(Listing& listing, ServerFailure& failure) {
    HttpResponse response;
    if (!Call(Request("PROPFIND", calendarUrl, "1", PropfindEtags()), {207}, response, failure,
              true))
        return false;
    Multistatus answer;
    if (!ReadAnswer(response, answer, failure))
        return false;
    for (const DavResponse& item : answer.responses) {
        if (!IsCollection(calendarUrl, item.href) && !item.etag.empty() && !item.isCalendar)
            listing.items.push_back({item.href, item.etag});
    }
    listing.complete = true;
    return true;
}

bool CalDavServer::Fetch(const std::vector<std::string>& hrefs, std::vector<Resource>& resources,
                         ServerFailure& failure) {
    resources.clear();
    if (hrefs.empty())
        return true;
    HttpResponse response;
    if (!Call(Request("REPORT", calendarUrl, "1", CalendarMultiget(hrefs)), {207}, response,
              failure, true))
        return false;
    Multistatus answer;
    if (!ReadAnswer(response, answer, failure))
        return false;
    for (DavResponse& item : answer.responses) {
        if (item.status == 200 && !item.calendarData.empty())
            resources.push_back({item.href, item.etag, std::move(item.calendarData)});
    }
    return true;
}

bool CalDavServer::Put(const std::string& href, const std::string& data, const std::string& etag,
                       Written& written, ServerFailure& failure) {
    HttpRequest request{"PUT", ResolveHref(calendarUrl, href), {}, data};
    request.headers.emplace_back("Content-Type", "text/calendar; charset=utf-8");
    if (etag.empty())
        request.headers.emplace_back("If-None-Match", "*");
    else
        request.headers.emplace_back("If-Match", etag);
    HttpResponse response;
    if (!Call(std::move(request), {200, 201, 204}, response, failure))
        return false;
    written.href = href;
    written.etag = response.etag;
    return true;
}

bool CalDavServer::Delete(const std::string& href, const std::string& etag,
                          ServerFailure& failure) {
    HttpRequest request{"DELETE", ResolveHref(calendarUrl, href), {}, {}};
    request.headers.emplace_back("If-Match", etag);
    HttpResponse response;
    // Gone already is what was wanted.
    return Call(std::move(request), {200, 204, 404, 410}, response, failure);
}

std::string CalDavServer::HrefFor(const std::string& uid) const {
    return PathOfUrl(calendarUrl) + PercentEncoded(uid) + ".ics";
}

Discovery FindCalendars(HttpClient& http, const std::string& address) {
    Discovery found;
    Multistatus answer;
    HttpResponse response;
    if (!Ask(http, address, "0", PropfindCalendars(), answer, response, found.failure))
        return found;
    for (const DavResponse& item : answer.responses) {
        if (item.isCalendar && item.takesEvents) {
            found.calendars.push_back({WithSlash(response.url), item.displayName});
            return found;
        }
    }
    // The user's principal, from the address or from the well-known one.
    std::string principal;
    for (const std::string& url : {address, ResolveHref(address, "/.well-known/caldav")}) {
        ServerFailure failure;
        if (Ask(http, url, "0", PropfindCurrentUserPrincipal(), answer, response, failure)) {
            for (const DavResponse& item : answer.responses) {
                if (!item.principalHref.empty())
                    principal = ResolveHref(response.url, item.principalHref);
            }
        } else if (failure.kind != ServerFailure::Kind::Refused) {
            found.failure = failure;
            return found;
        }
        if (!principal.empty())
            break;
    }
    std::string home = WithSlash(address);
    if (!principal.empty() &&
        Ask(http, principal, "0", PropfindCalendarHomeSet(), answer, response, found.failure)) {
        for (const DavResponse& item : answer.responses) {
            if (!item.calendarHomeHref.empty())
                home = WithSlash(ResolveHref(response.url, item.calendarHomeHref));
        }
    }
    found.failure = ServerFailure{};
    if (!Ask(http, home, "1", PropfindCalendars(), answer, response, found.failure))
        return found;
    found.homeUrl = WithSlash(response.url);
    for (const DavResponse& item : answer.responses) {
        if (item.isCalendar && item.takesEvents)
            found.calendars.push_back(
                {WithSlash(ResolveHref(response.url, item.href)), item.displayName});
    }
    return found;
}

std::string MakeCalendar(HttpClient& http, const std::string& homeUrl,
                         const std::string& displayName, ServerFailure& failure) {
    std::string slug;
    for (unsigned char c : displayName) {
        if (std::isalnum(c))
            slug += static_cast<char>(std::tolower(c));
    }
    if (slug.empty())
        slug = "diary";
    // A name already taken gets a number.
    for (int attempt = 0; attempt < 5; ++attempt) {
        const std::string url =
            WithSlash(homeUrl) + slug + (attempt ? "-" + std::to_string(attempt + 1) : "") + "/";
        const HttpResponse response =
            http.Send(Request("MKCALENDAR", url, nullptr, MkCalendar(displayName)));
        if (response.status == 201)
            return url;
        failure = FailureOf(response, http.Cancelled(), false);
        if (response.status != 405 && response.status != 409)
            return {};
    }
    return {};
}
