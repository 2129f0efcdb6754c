// Process-wide services of the operating system.
#pragma once

#include <string>

namespace platform {

// The separator of folder paths: a backslash on Windows.
char PathSeparator();

// The process's current directory as the system gives it (no separator
// added), or the empty text when it does not fit 259 characters or cannot be
// read.
std::string CurrentDirectory();

void SleepMilliseconds(unsigned milliseconds);

using WorkerProcedure = unsigned (*)(void* argument);

// Starts a thread that runs `procedure(argument)` and is never waited for.
bool StartWorker(WorkerProcedure procedure, void* argument);

// Ends the process with `code`; does not return.
[[noreturn]] void EndProcess(int code);

} // namespace platform
