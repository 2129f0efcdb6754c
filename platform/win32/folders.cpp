#include "platform/folders.h"

#include <cstring>
#include <windows.h>

namespace platform {
namespace {

HANDLE scan = INVALID_HANDLE_VALUE;
WIN32_FIND_DATAA found;
bool firstPending = false; // FindFirstFileA already fetched the first entry
bool haveEntry = false;

} // namespace

bool StartFolderScan(const std::string& searchText) {
    EndFolderScan();
    scan = FindFirstFileA(searchText.c_str(), &found);
    if (scan != INVALID_HANDLE_VALUE) {
        firstPending = true;
        return true;
    }
    const DWORD error = GetLastError();
    return error == ERROR_FILE_NOT_FOUND || error == ERROR_NO_MORE_FILES;
}

bool NextFolderEntry() {
    if (firstPending) {
        firstPending = false;
        haveEntry = true;
    } else {
        haveEntry = scan != INVALID_HANDLE_VALUE && FindNextFileA(scan, &found) != 0;
    }
    return haveEntry;
}

std::string_view FolderEntryName() {
    return haveEntry ? std::string_view(found.cFileName, std::strlen(found.cFileName))
                     : std::string_view();
}

void EndFolderScan() {
    if (scan != INVALID_HANDLE_VALUE) {
        FindClose(scan);
    }
    scan = INVALID_HANDLE_VALUE;
    firstPending = false;
    haveEntry = false;
}

} // namespace platform
