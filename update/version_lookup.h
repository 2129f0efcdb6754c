// Which release the maker publishes: the version text read over HTTP, and the
// version between its markers.
#pragma once

#include <cstddef>
#include <string>

namespace update {

constexpr std::size_t kReadBufferSize = 2048;

// A longer body is not a version text.
constexpr std::size_t kVersionTextLimit = 1024 * 1024;

// The body of the answer at `url`, up to its first zero byte (a text cannot
// hold one); the empty text when the transfer fails at once or the body is
// over kVersionTextLimit.
std::string ReadUrlText(const std::string& url, int accessType, const std::string& proxy);

// ReadUrlText with a direct connection.
std::string FetchUrlText(const std::string& url);

// What lies between the first `start` and the first `end` after it; empty
// when either is missing.
std::string TextBetween(const std::string& text, const std::string& start, const std::string& end);

// The version between "*-" and "-*".
std::string PublishedVersion(const std::string& versionText);

} // namespace update
