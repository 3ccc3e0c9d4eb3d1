#pragma once

#include <windows.h>

#include <winhttp.h>

#include <atomic>
#include <string>
#include <vector>

// HTTP requests over WinHTTP with the system's TLS, one at a time, for the
// sync's worker thread. Redirects are followed here, not by WinHTTP, so that
// the address that answered is learnt; the password goes only over HTTPS
// or to this computer.
struct HttpRequest {
    std::string method; // "PROPFIND", "PUT", ...
    std::string url;
    std::vector<std::pair<std::string, std::string>> headers;
    std::string body;
};

struct HttpResponse {
    int status = 0;       // 0: no answer (error says why)
    std::string url;      // where it was answered, after redirects
    std::string etag;     // exactly as received
    std::string location; // of a redirect
    std::string body;
    std::string error;
    bool timedOut = false; // no answer within the timeouts
};

class HttpClient {
  public:
    HttpClient(std::string user, std::string password);
    HttpClient(const HttpClient&) = delete;
    HttpClient& operator=(const HttpClient&) = delete;

    HttpResponse Send(const HttpRequest& request);
    // From any thread: no new request is made and the answer waited for is
    // given up at its next timeout step.
    void Cancel() { cancelled = true; }
    bool Cancelled() const { return cancelled; }

  private:
    HttpResponse SendOnce(const HttpRequest& request);

    std::string user, password;
    std::atomic<bool> cancelled{false};
};

// Whether Basic authentication may go to that address: HTTPS, or plain
// HTTP to the loopback address.
bool MaySendPassword(const std::string& url);
