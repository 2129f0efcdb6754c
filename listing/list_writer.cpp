#include "listing/list_writer.h"

#include "platform/files.h"
#include "platform/folders.h"
#include "platform/system.h"

#include <array>

namespace listing {
namespace {

using CaseTable = std::array<unsigned char, 256>;

constexpr CaseTable MakeCaseTable(CaseMode mode) {
    CaseTable table{};
    for (int byte = 0; byte < 256; ++byte) {
        const bool lower = (byte >= 0x61 && byte <= 0x7A) || byte >= 0xE0;
        const bool upper = (byte >= 0x41 && byte <= 0x5A) || (byte >= 0xC0 && byte <= 0xDE);
        int mapped = byte;
        if (mode == CaseMode::Uppercase && lower) {
            mapped = byte - 0x20;
        } else if (mode == CaseMode::Lowercase && upper) {
            mapped = byte + 0x20;
        }
        table[static_cast<std::size_t>(byte)] = static_cast<unsigned char>(mapped);
    }
    return table;
}

constexpr CaseTable kUppercase = MakeCaseTable(CaseMode::Uppercase);
constexpr CaseTable kLowercase = MakeCaseTable(CaseMode::Lowercase);

void MapInPlace(std::string& text, CaseMode mode) {
    if (mode == CaseMode::AsIs) {
        return;
    }
    const CaseTable& table = mode == CaseMode::Uppercase ? kUppercase : kLowercase;
    for (char& c : text) {
        c = static_cast<char>(table[static_cast<unsigned char>(c)]);
    }
}

} // namespace

std::string ApplyCaseMode(std::string name, CaseMode mode) {
    MapInPlace(name, mode);
    return name;
}

ListOutcome WriteFolderList(const std::string& folder, CaseMode mode, const std::string& target) {
    if (!platform::OpenFileForReadWrite(kListFileSlot, target)) {
        return ListOutcome::TargetNotOpened;
    }
    std::string searchText = folder;
    if (searchText.empty() || searchText.back() != platform::PathSeparator()) {
        searchText += platform::PathSeparator();
    }
    searchText += "*.*";
    if (!platform::StartFolderScan(searchText)) {
        platform::CloseFile(kListFileSlot);
        return ListOutcome::FolderNotScanned;
    }

    // One line at a time, in a buffer that is reused: memory stays flat
    // whatever the number of entries.
    std::string line;
    bool written = true;
    while (written && platform::NextFolderEntry()) {
        line.assign(platform::FolderEntryName());
        MapInPlace(line, mode);
        line += "\r\n";
        written = platform::WriteToFile(kListFileSlot, line.data(), line.size());
    }
    platform::EndFolderScan();

    written = written && platform::CutFileHere(kListFileSlot);
    const bool closed = platform::CloseFile(kListFileSlot);
    return written && closed ? ListOutcome::Created : ListOutcome::WriteFailed;
}

} // namespace listing
