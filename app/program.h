// The program's backbone on the main thread: start-up, the event loop and
// shutdown.
#pragma once

namespace app {

// Initialises the platform, sets the shared values, resolves the language,
// builds the main window and runs the event loop; returns when the program
// is to end (main window closed, language declined, a window that could not
// be opened).
void StartUp();

// Waits for one event at a time and handles it to its end; returns once the
// main window has been closed.
void EventLoop();

// Stops the network, closes every window and file.
void CloseEverything();

// CloseEverything, then ends the process with exit code 0.
[[noreturn]] void Shutdown();

} // namespace app
