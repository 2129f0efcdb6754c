// Writes the names of a folder's entries into a text file, one per line.
#pragma once

#include <string>

namespace listing {

enum class CaseMode { AsIs, Lowercase, Uppercase };

enum class ListOutcome {
    Created,          // every entry written, the file cut after the list and closed
    TargetNotOpened,  // nothing done: no file created, no folder read
    FolderNotScanned, // the target was opened and closed again untouched
    WriteFailed,      // a write, the cut or the close failed (a full disk)
};

// The file slot that the list file is opened under.
constexpr int kListFileSlot = 4;

// Byte by byte, knowing no code page: Uppercase lowers 0x61-0x7A and
// 0xE0-0xFF by 0x20, Lowercase raises 0x41-0x5A and 0xC0-0xDE by 0x20.
std::string ApplyCaseMode(std::string name, CaseMode mode);

// Lists `folder` (its entries in the file system's order, each name followed
// by CR LF) into `target`, which is opened before the folder is read.
ListOutcome WriteFolderList(const std::string& folder, CaseMode mode, const std::string& target);

} // namespace listing
