// Linux has no share modes and lets root write anything, so a file without
// any write permission is refused here, as Windows refuses a read-only file.
#include "platform/raw_files.h"

#include <cerrno>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace platform::raw {
namespace {

bool IsReadOnlyFile(const std::string& path) {
    struct stat st {};
    return ::stat(path.c_str(), &st) == 0 && S_ISREG(st.st_mode) &&
           (st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0;
}

FileHandle OpenWritable(const std::string& path, int flags) {
    if (path.empty() || IsReadOnlyFile(path)) {
        return kNoFile;
    }
    const int fd = ::open(path.c_str(), flags | O_CLOEXEC, 0666);
    return fd < 0 ? kNoFile : fd;
}

} // namespace

FileHandle OpenRead(const std::string& path) {
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        return kNoFile;
    }
    struct stat st {};
    if (::fstat(fd, &st) != 0 || S_ISDIR(st.st_mode)) {
        ::close(fd);
        return kNoFile;
    }
    return fd;
}

FileHandle OpenReadWrite(const std::string& path) {
    return OpenWritable(path, O_RDWR | O_CREAT);
}

FileHandle CreateEmpty(const std::string& path) {
    return OpenWritable(path, O_WRONLY | O_CREAT | O_TRUNC);
}

bool Write(FileHandle file, const char* bytes, std::size_t count) {
    while (count > 0) {
        const ssize_t done = ::write(static_cast<int>(file), bytes, count);
        if (done < 0 && errno == EINTR) {
            continue;
        }
        if (done <= 0) {
            return false;
        }
        bytes += done;
        count -= static_cast<std::size_t>(done);
    }
    return true;
}

bool TruncateHere(FileHandle file) {
    const off_t here = ::lseek(static_cast<int>(file), 0, SEEK_CUR);
    return here >= 0 && ::ftruncate(static_cast<int>(file), here) == 0;
}

bool Close(FileHandle file) {
    return ::close(static_cast<int>(file)) == 0;
}

bool MoveOver(const std::string& from, const std::string& to) {
    return std::rename(from.c_str(), to.c_str()) == 0;
}

bool Remove(const std::string& path) {
    return ::unlink(path.c_str()) == 0;
}

} // namespace platform::raw
