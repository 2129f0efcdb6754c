// The network: Windows Sockets, and HTTP through the system's own stack
// (WinINet). Handles are opaque numbers; 0 is none.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform {

// WSAStartup for Windows Sockets 1.1; true when it started.
bool StartNetwork();

// WSACleanup, when the network had started.
void StopNetwork();

using InternetHandle = std::uintptr_t;

// INTERNET_OPEN_TYPE_DIRECT.
constexpr int kDirectAccess = 1;

enum InternetFlag : unsigned {
    kReload = 1u << 0,       // always from the server, never from the cache
    kNoCacheWrite = 1u << 1, // the body is not kept in the cache
};

// InternetOpenA with no bypass list and flags 0.
InternetHandle InternetOpenSession(const std::string& agent, int accessType,
                                   const std::string& proxy);

// InternetOpenUrlA without headers.
InternetHandle InternetOpenAddress(InternetHandle session, const std::string& url, unsigned flags);

// An HTTP GET of `url` with `timeoutMs` as the limit on connecting and on any
// silence while sending or receiving (the time-outs are set on the request
// itself, where WinINet keeps to them); redirects are followed.
InternetHandle InternetRequestAddress(InternetHandle session, const std::string& url,
                                      unsigned flags, unsigned timeoutMs);

// InternetReadFile: `count` is the number of bytes read (0 on failure); the
// result is its success flag.
bool InternetReadInto(InternetHandle request, char* buffer, std::size_t size, std::size_t* count);

// The HTTP status code of the answer, or 0 when there is none.
int InternetStatusCode(InternetHandle request);

// The announced Content-Length; false when the answer announced none.
bool InternetContentLength(InternetHandle request, std::uint64_t* length);

void InternetClose(InternetHandle handle);

} // namespace platform
