#include "platform/files.h"

#include "platform/raw_files.h"

#include <array>
#include <cstring>

namespace platform {
namespace {

struct Slot {
    raw::FileHandle file = raw::kNoFile;
    std::array<char, kFileBlockSize> buffer{};
    std::size_t used = 0;
    bool failed = false;
};

std::array<Slot, kFileSlotCount> slots;

Slot* FreeSlot(int slot) {
    if (slot < 0 || slot >= kFileSlotCount || slots[slot].file != raw::kNoFile) {
        return nullptr;
    }
    return &slots[slot];
}

Slot* OpenSlot(int slot) {
    if (slot < 0 || slot >= kFileSlotCount || slots[slot].file == raw::kNoFile) {
        return nullptr;
    }
    return &slots[slot];
}

bool Attach(int slot, raw::FileHandle (*open)(const std::string&), const std::string& path) {
    Slot* s = FreeSlot(slot);
    if (s == nullptr) {
        return false;
    }
    s->file = open(path);
    s->used = 0;
    s->failed = false;
    return s->file != raw::kNoFile;
}

bool Flush(Slot& s) {
    if (!s.failed && s.used > 0 && !raw::Write(s.file, s.buffer.data(), s.used)) {
        s.failed = true;
    }
    s.used = 0;
    return !s.failed;
}

} // namespace

bool OpenFileForReading(int slot, const std::string& path) {
    return Attach(slot, raw::OpenRead, path);
}

bool OpenFileForReadWrite(int slot, const std::string& path) {
    return Attach(slot, raw::OpenReadWrite, path);
}

bool CreateEmptyFile(int slot, const std::string& path) {
    return Attach(slot, raw::CreateEmpty, path);
}

bool WriteToFile(int slot, const char* bytes, std::size_t count) {
    Slot* s = OpenSlot(slot);
    if (s == nullptr || s->failed) {
        return false;
    }
    while (count > 0) {
        const std::size_t room = s->buffer.size() - s->used;
        const std::size_t part = count < room ? count : room;
        std::memcpy(s->buffer.data() + s->used, bytes, part);
        s->used += part;
        bytes += part;
        count -= part;
        if (s->used == s->buffer.size() && !Flush(*s)) {
            return false;
        }
    }
    return true;
}

bool CutFileHere(int slot) {
    Slot* s = OpenSlot(slot);
    if (s == nullptr || !Flush(*s)) {
        return false;
    }
    if (!raw::TruncateHere(s->file)) {
        s->failed = true;
    }
    return !s->failed;
}

bool CloseFile(int slot) {
    Slot* s = OpenSlot(slot);
    if (s == nullptr) {
        return false;
    }
    const bool flushed = Flush(*s);
    const bool closed = raw::Close(s->file);
    s->file = raw::kNoFile;
    s->failed = false;
    return flushed && closed;
}

void CloseAllFiles() {
    for (int slot = 0; slot < kFileSlotCount; ++slot) {
        if (slots[slot].file != raw::kNoFile) {
            CloseFile(slot);
        }
    }
}

bool MoveFileOver(const std::string& from, const std::string& to) {
    return raw::MoveOver(from, to);
}

bool RemoveFile(const std::string& path) {
    return raw::Remove(path);
}

} // namespace platform
