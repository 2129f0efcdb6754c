// The operating system's side of platform/files.h: unbuffered, one native
// handle per open file. Implemented by win32/ and posix/.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

namespace platform::raw {

using FileHandle = std::intptr_t;
constexpr FileHandle kNoFile = -1;

FileHandle OpenRead(const std::string& path);
FileHandle OpenReadWrite(const std::string& path);
FileHandle CreateEmpty(const std::string& path);
bool Write(FileHandle file, const char* bytes, std::size_t count);
bool TruncateHere(FileHandle file);
bool Close(FileHandle file);
bool MoveOver(const std::string& from, const std::string& to);
bool Remove(const std::string& path);

} // namespace platform::raw
