#include "update/download.h"

#include "platform/files.h"
#include "platform/network.h"

#include <array>
#include <cstdint>

namespace update {
namespace {

bool ReceiveBody(platform::InternetHandle request, const std::string& partial) {
    const int status = platform::InternetStatusCode(request);
    if (status < 200 || status > 299) {
        return false;
    }
    std::uint64_t announced = 0;
    const bool hasLength = platform::InternetContentLength(request, &announced);

    if (!platform::CreateEmptyFile(kDownloadFileSlot, partial)) {
        return false;
    }
    std::array<char, 16384> buffer{};
    std::uint64_t received = 0;
    bool ok = true;
    for (;;) {
        std::size_t count = 0;
        if (!platform::InternetReadInto(request, buffer.data(), buffer.size(), &count)) {
            ok = false;
            break;
        }
        if (count == 0) {
            break;
        }
        received += count;
        if (!platform::WriteToFile(kDownloadFileSlot, buffer.data(), count)) {
            ok = false;
            break;
        }
    }
    const bool closed = platform::CloseFile(kDownloadFileSlot);
    return ok && closed && (!hasLength || received == announced);
}

} // namespace

std::string PartialFileOf(const std::string& path) {
    return path + ".part";
}

bool DownloadToFile(const std::string& url, const std::string& path) {
    const std::string partial = PartialFileOf(path);
    const platform::InternetHandle session =
        platform::InternetOpenSession("", platform::kDirectAccess, "");
    if (session == 0) {
        return false;
    }
    const platform::InternetHandle request = platform::InternetRequestAddress(
        session, url, platform::kReload | platform::kNoCacheWrite, kDownloadTimeoutMs);

    bool done = request != 0 && ReceiveBody(request, partial);
    platform::InternetClose(request);
    platform::InternetClose(session);

    done = done && platform::MoveFileOver(partial, path);
    if (!done) {
        platform::RemoveFile(partial);
    }
    return done;
}

} // namespace update
