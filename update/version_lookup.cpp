#include "update/version_lookup.h"

#include "platform/network.h"

#include <array>
#include <cstring>

namespace update {

std::string ReadUrlText(const std::string& url, int accessType, const std::string& proxy) {
    const platform::InternetHandle session = platform::InternetOpenSession("", accessType, proxy);
    const platform::InternetHandle request =
        platform::InternetOpenAddress(session, url, platform::kReload);

    std::array<char, kReadBufferSize> buffer{};
    std::string text;
    std::size_t total = 0;
    bool ended = false; // a zero byte ends the text, not the transfer
    for (;;) {
        std::size_t count = 0;
        platform::InternetReadInto(request, buffer.data(), buffer.size(), &count);
        if (count == 0) {
            break;
        }
        total += count;
        if (total > kVersionTextLimit) {
            text.clear();
            break;
        }
        if (!ended) {
            const void* zero = std::memchr(buffer.data(), '\0', count);
            const std::size_t kept =
                zero != nullptr
                    ? static_cast<std::size_t>(static_cast<const char*>(zero) - buffer.data())
                    : count;
            text.append(buffer.data(), kept);
            ended = zero != nullptr;
        }
    }

    platform::InternetClose(request);
    platform::InternetClose(session);
    return text;
}

std::string FetchUrlText(const std::string& url) {
    return ReadUrlText(url, platform::kDirectAccess, "");
}

std::string TextBetween(const std::string& text, const std::string& start, const std::string& end) {
    if (start.empty() || end.empty()) {
        return std::string();
    }
    const std::size_t a = text.find(start);
    if (a == std::string::npos) {
        return std::string();
    }
    const std::size_t from = a + start.size();
    const std::size_t b = text.find(end, from);
    if (b == std::string::npos) {
        return std::string();
    }
    return text.substr(from, b - from);
}

std::string PublishedVersion(const std::string& versionText) {
    return TextBetween(versionText, "*-", "-*");
}

} // namespace update
