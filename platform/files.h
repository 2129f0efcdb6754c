// Files named by slot numbers that the caller chooses. Writes are buffered per
// slot and flushed in blocks of at most kFileBlockSize bytes; every operation
// reports whether it worked.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

constexpr int kFileSlotCount = 8;
constexpr std::size_t kFileBlockSize = 4096;

// Read access; others may read but not write. A folder does not open.
bool OpenFileForReading(int slot, const std::string& path);

// Read and write access at the first byte; the file is created (normal
// attributes) when missing and keeps its content otherwise. Others may read
// but not write. A read-only file does not open.
bool OpenFileForReadWrite(int slot, const std::string& path);

// A new empty file, or an existing one emptied (an existing file that cannot
// be replaced, such as a hidden one, is opened and cut to zero length).
bool CreateEmptyFile(int slot, const std::string& path);

// Appends at the current position, through the slot's buffer. After a failed
// write the slot keeps failing until it is closed.
bool WriteToFile(int slot, const char* bytes, std::size_t count);

// Makes the file end at the current position (after the buffered bytes).
bool CutFileHere(int slot);

// Writes out the buffer and closes; the slot is free afterwards either way.
bool CloseFile(int slot);

// Closes every slot still open, writing out what is buffered.
void CloseAllFiles();

// Puts `from` in the place of `to`, replacing an existing `to`.
bool MoveFileOver(const std::string& from, const std::string& to);

bool RemoveFile(const std::string& path);

} // namespace platform
