#include "platform/system.h"

#include <array>
#include <cstdlib>
#include <new>
#include <pthread.h>
#include <unistd.h>

namespace platform {
namespace {

struct WorkerStart {
    WorkerProcedure procedure;
    void* argument;
};

void* RunWorker(void* raw) {
    const WorkerStart start = *static_cast<WorkerStart*>(raw);
    delete static_cast<WorkerStart*>(raw);
    start.procedure(start.argument);
    return nullptr;
}

} // namespace

char PathSeparator() {
    return '/';
}

std::string CurrentDirectory() {
    std::array<char, 260> buffer{};
    if (::getcwd(buffer.data(), buffer.size()) == nullptr) {
        return std::string();
    }
    return std::string(buffer.data());
}

void SleepMilliseconds(unsigned milliseconds) {
    ::usleep(milliseconds * 1000u);
}

bool StartWorker(WorkerProcedure procedure, void* argument) {
    auto* start = new (std::nothrow) WorkerStart{procedure, argument};
    if (start == nullptr) {
        return false;
    }
    pthread_t thread;
    if (::pthread_create(&thread, nullptr, RunWorker, start) != 0) {
        delete start;
        return false;
    }
    ::pthread_detach(thread);
    return true;
}

void EndProcess(int code) {
    std::_Exit(code);
}

} // namespace platform
