// Enumerating one folder at a time by a search text ("C:\Work\*.*"). The
// entries come in the file system's order, "." and ".." included where the
// file system reports them.
#pragma once

#include <string>
#include <string_view>

namespace platform {

// True when the enumeration started; a search that matches no entry is a
// start with no entries. Any other refusal (missing folder, access denied, no
// medium) is false.
bool StartFolderScan(const std::string& searchText);

// Moves to the next entry; false when there is none.
bool NextFolderEntry();

// The current entry's long name, valid until the next call.
std::string_view FolderEntryName();

void EndFolderScan();

} // namespace platform
