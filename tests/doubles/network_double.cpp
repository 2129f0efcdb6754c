#include "tests/doubles/network_double.h"

namespace doubles {
namespace {

Network network;

struct Request {
    Answer answer;
    std::size_t next = 0;
};

std::map<platform::InternetHandle, Request> requests;
platform::InternetHandle lastHandle = 0;

} // namespace

Network& Net() {
    return network;
}

void ResetNetwork() {
    network = Network();
    requests.clear();
}

Answer BodyInPieces(const std::string& body, std::size_t piece) {
    Answer answer;
    for (std::size_t at = 0; at < body.size(); at += piece) {
        answer.reads.push_back({body.substr(at, piece), true});
    }
    return answer;
}

} // namespace doubles

namespace platform {

using doubles::network;

bool StartNetwork() {
    network.started = network.starts;
    return network.started;
}

void StopNetwork() {
    network.stopped = true;
}

InternetHandle InternetOpenSession(const std::string& agent, int accessType, const std::string&) {
    network.agents.push_back(agent);
    network.accessTypes.push_back(accessType);
    ++network.openHandles;
    return ++doubles::lastHandle;
}

InternetHandle InternetRequestAddress(InternetHandle session, const std::string& url,
                                      unsigned flags, unsigned timeoutMs) {
    network.timeout = timeoutMs;
    return InternetOpenAddress(session, url, flags);
}

InternetHandle InternetOpenAddress(InternetHandle, const std::string& url, unsigned flags) {
    network.openedUrls.push_back(url);
    network.openFlags.push_back(flags);
    const auto found = network.answers.find(url);
    if (found == network.answers.end() || !found->second.opens) {
        return 0;
    }
    ++network.openHandles;
    const InternetHandle handle = ++doubles::lastHandle;
    doubles::requests[handle] = {found->second, 0};
    return handle;
}

bool InternetReadInto(InternetHandle request, char* buffer, std::size_t size, std::size_t* count) {
    network.askedSizes.push_back(size);
    *count = 0;
    const auto found = doubles::requests.find(request);
    if (found == doubles::requests.end()) {
        return false;
    }
    doubles::Request& open = found->second;
    if (open.next >= open.answer.reads.size()) {
        return true;
    }
    const doubles::Read& read = open.answer.reads[open.next++];
    const std::size_t n = read.bytes.size() < size ? read.bytes.size() : size;
    read.bytes.copy(buffer, n);
    *count = n;
    return read.ok;
}

int InternetStatusCode(InternetHandle request) {
    const auto found = doubles::requests.find(request);
    return found == doubles::requests.end() ? 0 : found->second.answer.status;
}

bool InternetContentLength(InternetHandle request, std::uint64_t* length) {
    const auto found = doubles::requests.find(request);
    if (found == doubles::requests.end() || !found->second.answer.hasLength) {
        return false;
    }
    *length = found->second.answer.length;
    return true;
}

void InternetClose(InternetHandle handle) {
    if (handle == 0) {
        return;
    }
    doubles::requests.erase(handle);
    --network.openHandles;
}

} // namespace platform
