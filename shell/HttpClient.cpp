#include "shell/HttpClient.h"

#include "core/Owned.h"
#include "storage/DavXml.h"

#include <memory>

namespace {

struct InternetHandle {
    using Handle = HINTERNET;
    static Handle None() { return nullptr; }
    static void Free(HINTERNET handle) { WinHttpCloseHandle(handle); }
};
using OwnedInternet = Owned<InternetHandle>;

const int kMostRedirects = 5;
// A server that says nothing for this long is taken as not reached.
const int kResolveMs = 10000, kConnectMs = 10000, kSendMs = 30000, kReceiveMs = 30000;

std::wstring Wide(const std::string& text) {
    if (text.empty())
        return {};
    const int length =
        MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), nullptr, 0);
    std::wstring wide(static_cast<std::size_t>(length), L'\0');
    MultiByteToWideChar(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), wide.data(),
                        length);
    return wide;
}

std::string Narrow(const std::wstring& text) {
    if (text.empty())
        return {};
    const int length = WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()),
                                           nullptr, 0, nullptr, nullptr);
    std::string narrow(static_cast<std::size_t>(length), '\0');
    WideCharToMultiByte(CP_UTF8, 0, text.data(), static_cast<int>(text.size()), narrow.data(),
                        length, nullptr, nullptr);
    return narrow;
}

std::string Base64(const std::string& bytes) {
    static const char digits[] = "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789+/";
    std::string out;
    for (std::size_t i = 0; i < bytes.size(); i += 3) {
        unsigned value = static_cast<unsigned char>(bytes[i]) << 16;
        if (i + 1 < bytes.size())
            value |= static_cast<unsigned char>(bytes[i + 1]) << 8;
        if (i + 2 < bytes.size())
            value |= static_cast<unsigned char>(bytes[i + 2]);
        out += digits[(value >> 18) & 63];
        out += digits[(value >> 12) & 63];
        out += i + 1 < bytes.size() ? digits[(value >> 6) & 63] : '=';
        out += i + 2 < bytes.size() ? digits[value & 63] : '=';
    }
    return out;
}

std::string ErrorText(const char* step) {
    const DWORD error = GetLastError();
    if (error == ERROR_WINHTTP_TIMEOUT)
        return "no answer in time";
    if (error == ERROR_WINHTTP_CANNOT_CONNECT || error == ERROR_WINHTTP_NAME_NOT_RESOLVED)
        return "cannot connect";
    if (error == ERROR_WINHTTP_SECURE_FAILURE)
        return "the server's certificate is not trusted";
    return std::string(step) + " failed (" + std::to_string(error) + ")";
}

std::wstring Header(HINTERNET request, DWORD query) {
    DWORD size = 0;
    WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, nullptr, &size,
                        WINHTTP_NO_HEADER_INDEX);
    if (GetLastError() != ERROR_INSUFFICIENT_BUFFER || size == 0)
        return {};
    std::wstring value(size / sizeof(wchar_t), L'\0');
    if (!WinHttpQueryHeaders(request, query, WINHTTP_HEADER_NAME_BY_INDEX, value.data(), &size,
                             WINHTTP_NO_HEADER_INDEX))
        return {};
    value.resize(size / sizeof(wchar_t));
    return value;
}

bool IsRedirect(int status) {
    return status == 301 || status == 302 || status == 303 || status == 307 || status == 308;
}

} // namespace

bool MaySendPassword(const std::string& url) {
    if (url.rfind("https://", 0) == 0)
        return true;
    for (const char* loopback : {"http://127.0.0.1:", "http://127.0.0.1/", "http://localhost:",
                                 "http://localhost/", "http://[::1]:", "http://[::1]/"}) {
        if (url.rfind(loopback, 0) == 0)
            return true;
    }
    return false;
}

HttpClient::HttpClient(std::string user, std::string password)
    : user(std::move(user)), password(std::move(password)) {}

HttpResponse HttpClient::Send(const HttpRequest& request) {
    HttpRequest current = request;
    for (int redirect = 0;; ++redirect) {
        HttpResponse response = SendOnce(current);
        // A server refusing the password may answer before it reads the
        // body and then reset the connection, which loses the answer: a
        // request without a body tells a refusal from a server not reached.
        if (response.status == 0 && !response.timedOut && !current.body.empty() && !cancelled) {
            const HttpResponse probe = SendOnce(HttpRequest{"OPTIONS", current.url, {}, {}});
            if (probe.status == 401 || probe.status == 403)
                response.status = probe.status;
        }
        if (!IsRedirect(response.status) || response.location.empty() || redirect == kMostRedirects)
            return response;
        current.url = ResolveHref(current.url, response.location);
        if (response.status == 303) {
            current.method = "GET";
            current.body.clear();
        }
    }
}

HttpResponse HttpClient::SendOnce(const HttpRequest& request) {
    HttpResponse response;
    response.url = request.url;
    if (cancelled) {
        response.error = "cancelled";
        return response;
    }
    const std::wstring url = Wide(request.url);
    URL_COMPONENTS parts{};
    parts.dwStructSize = sizeof parts;
    parts.dwSchemeLength = parts.dwHostNameLength = parts.dwUrlPathLength =
        parts.dwExtraInfoLength = static_cast<DWORD>(-1);
    if (!WinHttpCrackUrl(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        response.error = "not an http or https address";
        return response;
    }
    const std::wstring host(parts.lpszHostName, parts.dwHostNameLength);
    std::wstring path(parts.lpszUrlPath, parts.dwUrlPathLength);
    path.append(parts.lpszExtraInfo, parts.dwExtraInfoLength);
    if (path.empty())
        path = L"/";

    OwnedInternet session(WinHttpOpen(L"OrvikCalendar", WINHTTP_ACCESS_TYPE_DEFAULT_PROXY,
                                      WINHTTP_NO_PROXY_NAME, WINHTTP_NO_PROXY_BYPASS, 0));
    if (!session) {
        response.error = ErrorText("WinHttpOpen");
        return response;
    }
    WinHttpSetTimeouts(session.Get(), kResolveMs, kConnectMs, kSendMs, kReceiveMs);
    OwnedInternet connection(WinHttpConnect(session.Get(), host.c_str(), parts.nPort, 0));
    const bool secure = parts.nScheme == INTERNET_SCHEME_HTTPS;
    OwnedInternet handle(connection
                             ? WinHttpOpenRequest(connection.Get(), Wide(request.method).c_str(),
                                                  path.c_str(), nullptr, WINHTTP_NO_REFERER,
                                                  WINHTTP_DEFAULT_ACCEPT_TYPES,
                                                  secure ? WINHTTP_FLAG_SECURE : 0)
                             : nullptr);
    if (!handle) {
        response.error = ErrorText("WinHttpOpenRequest");
        return response;
    }
    DWORD policy = WINHTTP_OPTION_REDIRECT_POLICY_NEVER;
    WinHttpSetOption(handle.Get(), WINHTTP_OPTION_REDIRECT_POLICY, &policy, sizeof policy);

    std::wstring headers;
    for (const auto& [name, value] : request.headers)
        headers += Wide(name + ": " + value + "\r\n");
    if (!user.empty() && MaySendPassword(request.url))
        headers += Wide("Authorization: Basic " + Base64(user + ":" + password) + "\r\n");
    const DWORD bodySize = static_cast<DWORD>(request.body.size());
    if (!WinHttpSendRequest(handle.Get(),
                            headers.empty() ? WINHTTP_NO_ADDITIONAL_HEADERS : headers.c_str(),
                            static_cast<DWORD>(headers.size()),
                            const_cast<char*>(request.body.data()), bodySize, bodySize, 0) ||
        !WinHttpReceiveResponse(handle.Get(), nullptr)) {
        response.timedOut = GetLastError() == ERROR_WINHTTP_TIMEOUT;
        response.error = ErrorText("the request");
        return response;
    }
    DWORD status = 0, size = sizeof status;
    WinHttpQueryHeaders(handle.Get(), WINHTTP_QUERY_STATUS_CODE | WINHTTP_QUERY_FLAG_NUMBER,
                        WINHTTP_HEADER_NAME_BY_INDEX, &status, &size, WINHTTP_NO_HEADER_INDEX);
    response.status = static_cast<int>(status);
    response.etag = Narrow(Header(handle.Get(), WINHTTP_QUERY_ETAG));
    if (IsRedirect(response.status))
        response.location = Narrow(Header(handle.Get(), WINHTTP_QUERY_LOCATION));
    for (;;) {
        if (cancelled) {
            response.status = 0;
            response.error = "cancelled";
            return response;
        }
        DWORD available = 0;
        if (!WinHttpQueryDataAvailable(handle.Get(), &available)) {
            response.timedOut = GetLastError() == ERROR_WINHTTP_TIMEOUT;
            response.error = ErrorText("reading the answer");
            // A refusal stands without its body (a server may close the
            // connection after a 401); an answer cut short does not.
            if (response.status < 300)
                response.status = 0;
            return response;
        }
        if (available == 0)
            break;
        const std::size_t start = response.body.size();
        response.body.resize(start + available);
        DWORD read = 0;
        WinHttpReadData(handle.Get(), response.body.data() + start, available, &read);
        response.body.resize(start + read);
    }
    return response;
}
