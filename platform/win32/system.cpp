#include "platform/system.h"

#include <new>
#include <windows.h>

namespace platform {
namespace {

struct WorkerStart {
    WorkerProcedure procedure;
    void* argument;
};

DWORD WINAPI RunWorker(LPVOID raw) {
    const WorkerStart start = *static_cast<WorkerStart*>(raw);
    delete static_cast<WorkerStart*>(raw);
    return start.procedure(start.argument);
}

} // namespace

char PathSeparator() {
    return '\\';
}

std::string CurrentDirectory() {
    char buffer[MAX_PATH];
    const DWORD length = GetCurrentDirectoryA(MAX_PATH, buffer);
    // A length of MAX_PATH or more is the size the directory would need.
    if (length == 0 || length >= MAX_PATH) {
        return std::string();
    }
    return std::string(buffer, length);
}

void SleepMilliseconds(unsigned milliseconds) {
    Sleep(milliseconds);
}

bool StartWorker(WorkerProcedure procedure, void* argument) {
    auto* start = new (std::nothrow) WorkerStart{procedure, argument};
    if (start == nullptr) {
        return false;
    }
    HANDLE thread = CreateThread(nullptr, 0, RunWorker, start, 0, nullptr);
    if (thread == nullptr) {
        delete start;
        return false;
    }
    // The thread is never waited for; its handle is not needed.
    CloseHandle(thread);
    return true;
}

void EndProcess(int code) {
    ExitProcess(static_cast<UINT>(code));
}

} // namespace platform
