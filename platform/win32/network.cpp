// Windows Sockets for the network state, and every HTTP transfer through
// WinINet, the system's own HTTP stack: status, lengths, transfer codings,
// redirects and time-outs are its work, not ours.
#include "platform/network.h"

#include <cstdlib>
#include <initializer_list>
#include <map>
#include <windows.h>
#include <wininet.h>
#include <winsock.h>

namespace platform {
namespace {

bool networkStarted = false;

HINTERNET Native(InternetHandle handle) {
    return reinterpret_cast<HINTERNET>(handle);
}

InternetHandle Wrap(HINTERNET handle) {
    return reinterpret_cast<InternetHandle>(handle);
}

DWORD NativeFlags(unsigned flags) {
    DWORD native = 0;
    native |= (flags & kReload) != 0 ? INTERNET_FLAG_RELOAD : 0;
    native |= (flags & kNoCacheWrite) != 0 ? INTERNET_FLAG_NO_CACHE_WRITE : 0;
    return native;
}

// The connection under each request made by InternetRequestAddress, closed
// with it.
std::map<InternetHandle, HINTERNET> connections;

} // namespace

bool StartNetwork() {
    WSADATA data;
    networkStarted = WSAStartup(MAKEWORD(1, 1), &data) == 0;
    return networkStarted;
}

void StopNetwork() {
    if (networkStarted) {
        WSACleanup();
        networkStarted = false;
    }
}

InternetHandle InternetOpenSession(const std::string& agent, int accessType,
                                   const std::string& proxy) {
    return Wrap(InternetOpenA(agent.c_str(), static_cast<DWORD>(accessType), proxy.c_str(), "", 0));
}

InternetHandle InternetOpenAddress(InternetHandle session, const std::string& url, unsigned flags) {
    return Wrap(InternetOpenUrlA(Native(session), url.c_str(), nullptr, 0, NativeFlags(flags), 0));
}

InternetHandle InternetRequestAddress(InternetHandle session, const std::string& url,
                                      unsigned flags, unsigned timeoutMs) {
    char host[INTERNET_MAX_HOST_NAME_LENGTH] = "";
    char path[INTERNET_MAX_PATH_LENGTH] = "";
    char extra[INTERNET_MAX_PATH_LENGTH] = "";
    URL_COMPONENTSA parts{};
    parts.dwStructSize = sizeof(parts);
    parts.lpszHostName = host;
    parts.dwHostNameLength = sizeof(host);
    parts.lpszUrlPath = path;
    parts.dwUrlPathLength = sizeof(path);
    parts.lpszExtraInfo = extra;
    parts.dwExtraInfoLength = sizeof(extra);
    if (!InternetCrackUrlA(url.c_str(), 0, 0, &parts) ||
        (parts.nScheme != INTERNET_SCHEME_HTTP && parts.nScheme != INTERNET_SCHEME_HTTPS)) {
        return 0;
    }
    HINTERNET connection = InternetConnectA(Native(session), host, parts.nPort, nullptr, nullptr,
                                            INTERNET_SERVICE_HTTP, 0, 0);
    if (connection == nullptr) {
        return 0;
    }
    const std::string target = std::string(path[0] != '\0' ? path : "/") + extra;
    const DWORD secure = parts.nScheme == INTERNET_SCHEME_HTTPS ? INTERNET_FLAG_SECURE : 0;
    HINTERNET request = HttpOpenRequestA(connection, "GET", target.c_str(), nullptr, nullptr,
                                         nullptr, NativeFlags(flags) | secure, 0);
    if (request == nullptr) {
        InternetCloseHandle(connection);
        return 0;
    }
    DWORD value = timeoutMs;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(request, option, &value, sizeof(value));
    }
    if (!HttpSendRequestA(request, nullptr, 0, nullptr, 0)) {
        InternetCloseHandle(request);
        InternetCloseHandle(connection);
        return 0;
    }
    connections[Wrap(request)] = connection;
    return Wrap(request);
}

bool InternetReadInto(InternetHandle request, char* buffer, std::size_t size, std::size_t* count) {
    DWORD read = 0;
    const BOOL ok = InternetReadFile(Native(request), buffer, static_cast<DWORD>(size), &read);
    *count = read;
    return ok != FALSE;
}

int InternetStatusCode(InternetHandle request) {
    DWORD code = 0;
    DWORD size = sizeof(code);
    if (!HttpQueryInfoA(Native(request), HTTP_QUERY_STATUS_CODE | HTTP_QUERY_FLAG_NUMBER, &code,
                        &size, nullptr)) {
        return 0;
    }
    return static_cast<int>(code);
}

bool InternetContentLength(InternetHandle request, std::uint64_t* length) {
    char text[32] = "";
    DWORD size = sizeof(text);
    if (!HttpQueryInfoA(Native(request), HTTP_QUERY_CONTENT_LENGTH, text, &size, nullptr)) {
        return false;
    }
    char* end = nullptr;
    const unsigned long long value = std::strtoull(text, &end, 10);
    if (end == text) {
        return false;
    }
    *length = value;
    return true;
}

void InternetClose(InternetHandle handle) {
    if (handle == 0) {
        return;
    }
    InternetCloseHandle(Native(handle));
    const auto found = connections.find(handle);
    if (found != connections.end()) {
        InternetCloseHandle(found->second);
        connections.erase(found);
    }
}

} // namespace platform
