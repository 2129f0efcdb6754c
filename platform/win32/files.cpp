// Wine, running as root, writes a file whose read-only attribute is set;
// Windows refuses. The refusal is made here so both behave as Windows does.
#include "platform/raw_files.h"

#include <windows.h>

namespace platform::raw {
namespace {

// The ANSI file functions take at most MAX_PATH - 1 characters.
bool FitsPathLimit(const std::string& path) {
    return !path.empty() && path.size() < MAX_PATH;
}

bool IsReadOnlyFile(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0 &&
           (attributes & FILE_ATTRIBUTE_READONLY) != 0;
}

FileHandle Open(const std::string& path, DWORD access, DWORD disposition) {
    if (!FitsPathLimit(path)) {
        return kNoFile;
    }
    HANDLE file = CreateFileA(path.c_str(), access, FILE_SHARE_READ, nullptr, disposition,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    return file == INVALID_HANDLE_VALUE ? kNoFile : reinterpret_cast<FileHandle>(file);
}

HANDLE Native(FileHandle file) {
    return reinterpret_cast<HANDLE>(file);
}

} // namespace

FileHandle OpenRead(const std::string& path) {
    return Open(path, GENERIC_READ, OPEN_EXISTING);
}

FileHandle OpenReadWrite(const std::string& path) {
    if (IsReadOnlyFile(path)) {
        return kNoFile;
    }
    return Open(path, GENERIC_READ | GENERIC_WRITE, OPEN_ALWAYS);
}

FileHandle CreateEmpty(const std::string& path) {
    if (IsReadOnlyFile(path)) {
        return kNoFile;
    }
    FileHandle file = Open(path, GENERIC_WRITE, CREATE_ALWAYS);
    if (file != kNoFile) {
        return file;
    }
    // CREATE_ALWAYS with normal attributes refuses an existing hidden file.
    file = Open(path, GENERIC_WRITE, OPEN_EXISTING);
    if (file != kNoFile && !SetEndOfFile(Native(file))) {
        CloseHandle(Native(file));
        return kNoFile;
    }
    return file;
}

bool Write(FileHandle file, const char* bytes, std::size_t count) {
    while (count > 0) {
        DWORD written = 0;
        const DWORD part = count > 0x10000000u ? 0x10000000u : static_cast<DWORD>(count);
        if (!WriteFile(Native(file), bytes, part, &written, nullptr) || written == 0) {
            return false;
        }
        bytes += written;
        count -= written;
    }
    return true;
}

bool TruncateHere(FileHandle file) {
    return SetEndOfFile(Native(file)) != 0;
}

bool Close(FileHandle file) {
    return CloseHandle(Native(file)) != 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
    return MoveFileExA(from.c_str(), to.c_str(), MOVEFILE_REPLACE_EXISTING) != 0;
}

bool Remove(const std::string& path) {
    return DeleteFileA(path.c_str()) != 0;
}

} // namespace platform::raw
