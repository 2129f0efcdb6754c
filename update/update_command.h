// What UpdateButton does: compares the published version with the program's,
// blinks the up-to-date notice or offers the update archive for download.
#pragma once

#include <string>

namespace update {

constexpr const char* kArchiveName = "Skimdex_update.zip";
constexpr int kBlinkCount = 5;
constexpr unsigned kBlinkPauseMs = 150;

void CheckForUpdate();

// Run by a worker thread: five times the empty text, then the notice, in the
// status line, 150 ms each. `notice` points to a text that outlives it.
unsigned BlinkNotice(void* notice);

} // namespace update
