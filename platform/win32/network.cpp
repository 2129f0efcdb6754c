// Windows Sockets for the network state, and every HTTP transfer through
// WinINet, the system's own HTTP stack: status, lengths, transfer codings,
// redirects and time-outs are its work, not ours.
#include "platform/network.h"

#include <cstdlib>
#include <windows.h>
#include <wininet.h>
#include <winsock.h>

namespace platform {
namespace {

bool networkStarted = false;

HINTERNET Native(InternetHandle handle) { return reinterpret_cast<HINTERNET>(handle); }

InternetHandle Wrap(HINTERNET handle) { return reinterpret_cast<InternetHandle>(handle); }

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

void InternetSetTimeouts(InternetHandle session, unsigned milliseconds) {
    DWORD value = milliseconds;
    for (DWORD option : {INTERNET_OPTION_CONNECT_TIMEOUT, INTERNET_OPTION_SEND_TIMEOUT,
                         INTERNET_OPTION_RECEIVE_TIMEOUT, INTERNET_OPTION_DATA_SEND_TIMEOUT,
                         INTERNET_OPTION_DATA_RECEIVE_TIMEOUT}) {
        InternetSetOptionA(Native(session), option, &value, sizeof(value));
    }
    DWORD retries = 1;
    InternetSetOptionA(Native(session), INTERNET_OPTION_CONNECT_RETRIES, &retries, sizeof(retries));
}

InternetHandle InternetOpenAddress(InternetHandle session, const std::string& url,
                                   unsigned flags) {
    DWORD native = 0;
    native |= (flags & kReload) != 0 ? INTERNET_FLAG_RELOAD : 0;
    native |= (flags & kNoCacheWrite) != 0 ? INTERNET_FLAG_NO_CACHE_WRITE : 0;
    return Wrap(InternetOpenUrlA(Native(session), url.c_str(), nullptr, 0, native, 0));
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
    if (handle != 0) {
        InternetCloseHandle(Native(handle));
    }
}

} // namespace platform
