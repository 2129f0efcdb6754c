// The main job, shown on a virtual display: starts skimdex.exe, opens a
// sample folder in its folder browser, presses Create List, answers the
// save-file dialog and waits for the list. `make run` uses it where there is
// no display to show the program to a person.
//
//   main_job <working folder> <sample folder name on C:> <list path> <screenshot name>
#include "common/identifiers.h"
#include "tests/e2e/driver.h"

#include <cstdio>
#include <string>

using namespace e2e;

namespace {

constexpr const char* kMainTitle = "SKIMDEX 1.0 - QUORVAN ";

bool Fail(const char* what) {
    std::fprintf(stderr, "main job: %s\n", what);
    return false;
}

bool WaitForStatus(HWND status, const std::string& expected) {
    return WaitUntil([&] { return Text(status) == expected; });
}

bool Run(const std::string& folder, const std::string& sample, const std::string& list,
         const std::string& shot) {
    WriteFileBytes(folder + "uk.lng", "");
    Program program;
    if (!program.Start(folder)) {
        return Fail("skimdex.exe did not start");
    }
    HWND main = program.WaitForWindow(kMainTitle);
    HWND status = main != nullptr ? WaitForControl(main, common::kStatusText) : nullptr;
    if (status == nullptr || !WaitForStatus(status, "You're in C:\\")) {
        return Fail("no main window");
    }
    HWND browser = Control(main, common::kFolderBrowser);
    OpenEntry(browser, sample);
    if (!WaitForStatus(status, "Directory : C:\\" + sample + "\\")) {
        return Fail("the sample folder did not open");
    }
    Click(Control(main, common::kCreateListButton));
    HWND dialog = WaitForDialog(program, "Choose a file to save");
    if (dialog == nullptr) {
        return Fail("no save-file dialog");
    }
    SaveAs(dialog, list);
    if (!WaitForStatus(status, "The list has been created")) {
        return Fail("the list was not created");
    }
    Screenshot(shot);
    PostMessageA(main, WM_SYSCOMMAND, SC_CLOSE, 0);
    DWORD code = 1;
    if (!program.WaitForExit(&code) || code != 0) {
        return Fail("the program did not end with exit code 0");
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 5) {
        std::fprintf(stderr, "usage: main_job <folder> <sample> <list> <screenshot>\n");
        return 2;
    }
    return Run(argv[1], argv[2], argv[3], argv[4]) ? 0 : 1;
}
