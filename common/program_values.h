// The values that start-up sets once and the commands read. Every text is
// empty until it is set.
#pragma once

#include <string>

namespace common {

// "ok" when the network layer started, else "no".
extern std::string NetworkState;
extern std::string VersionInfoUrl;
extern std::string UpdateArchiveUrl;
extern std::string ProgramVersion;

// The current directory at start-up, ending in a separator; it holds the
// language markers and the downloaded archive.
extern std::string ProgramDirectory;

// Scheme and host of the maker's site, without a trailing slash: a setting of
// the build, so each program file carries its own.
const char* MakerSiteUrl();

std::string DonationUrl();

// Sets the URLs and ProgramVersion from MakerSiteUrl.
void SetProgramConstants();

// `directory` with `separator` appended unless it is empty or ends in one.
std::string WithTrailingSeparator(std::string directory, char separator);

} // namespace common
