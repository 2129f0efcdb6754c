// The search text is "<folder>/*.*"; "*.*" matches every name, so the folder
// is read whole.
#include "platform/folders.h"

#include <dirent.h>

namespace platform {
namespace {

DIR* scan = nullptr;
struct dirent* entry = nullptr;

std::string FolderOfSearchText(const std::string& searchText) {
    std::string folder = searchText;
    const std::string pattern = "*.*";
    if (folder.size() >= pattern.size() &&
        folder.compare(folder.size() - pattern.size(), pattern.size(), pattern) == 0) {
        folder.resize(folder.size() - pattern.size());
    }
    return folder.empty() ? "." : folder;
}

} // namespace

bool StartFolderScan(const std::string& searchText) {
    EndFolderScan();
    scan = ::opendir(FolderOfSearchText(searchText).c_str());
    return scan != nullptr;
}

bool NextFolderEntry() {
    entry = scan != nullptr ? ::readdir(scan) : nullptr;
    return entry != nullptr;
}

std::string_view FolderEntryName() {
    return entry != nullptr ? std::string_view(entry->d_name) : std::string_view();
}

void EndFolderScan() {
    if (scan != nullptr) {
        ::closedir(scan);
    }
    scan = nullptr;
    entry = nullptr;
}

} // namespace platform
