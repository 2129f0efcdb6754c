// Downloading a URL into a file without ever losing the file's earlier
// content: the body goes to a temporary file beside it, which takes its place
// only when the whole body has arrived.
#pragma once

#include <string>

namespace update {

// The file slot of the temporary file.
constexpr int kDownloadFileSlot = 5;

// The limit on connecting and on any silence while the body arrives.
constexpr unsigned kDownloadTimeoutMs = 10000;

// True when the server answered 2xx and the whole body (as announced by
// Content-Length, or up to a clean end) is now in `path`.
bool DownloadToFile(const std::string& url, const std::string& path);

// The temporary file that DownloadToFile writes before it replaces `path`.
std::string PartialFileOf(const std::string& path);

} // namespace update
