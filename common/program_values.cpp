#include "common/program_values.h"

namespace common {

std::string NetworkState;
std::string VersionInfoUrl;
std::string UpdateArchiveUrl;
std::string ProgramVersion;
std::string ProgramDirectory;

std::string DonationUrl() {
    return std::string(MakerSiteUrl()) + "/admin.php?pg=articles&g=3&form=3&id=1";
}

void SetProgramConstants() {
    VersionInfoUrl = std::string(MakerSiteUrl()) + "/downloads/skimdex.txt";
    UpdateArchiveUrl = std::string(MakerSiteUrl()) + "/downloads/skimdex.zip";
    ProgramVersion = "1.0";
}

std::string WithTrailingSeparator(std::string directory, char separator) {
    if (!directory.empty() && directory.back() != separator) {
        directory += separator;
    }
    return directory;
}

} // namespace common
