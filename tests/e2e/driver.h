// Drives the real skimdex.exe as a user would: starts it in a fresh working
// folder, finds its windows and controls, presses buttons, answers message
// boxes and dialogs, reads what it shows, takes screenshots. A Windows program
// itself, run under Wine beside the program under test.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <functional>
#include <string>
#include <vector>

namespace e2e {

// Generous: Wine's 32-bit side may run emulated here.
constexpr DWORD kWait = 30000;

// The Windows path of a path on the Linux side (Wine's Z: drive).
std::string DosPath(const std::string& unixPath);

// The build folder (with skimdex.exe) and the artifacts folder, as Windows paths
// ending in a backslash.
std::string BuildFolder();
std::string ArtifactsFolder();

// A fresh, empty working folder for the current test.
std::string FreshFolder(const std::string& name);

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout = kWait);

class Program {
  public:
    Program() = default;
    ~Program();
    Program(const Program&) = delete;
    Program& operator=(const Program&) = delete;

    // Starts `exe` (a file of the build folder) in `folder`.
    bool Start(const std::string& folder, const std::string& exe = "skimdex.exe");

    // A visible top-level window of this process with exactly this title.
    HWND WaitForWindow(const std::string& title, DWORD timeout = kWait) const;
    HWND FindWindowTitled(const std::string& title) const;
    std::vector<HWND> VisibleWindows() const;

    // Waits for the process to end; false on time-out.
    bool WaitForExit(DWORD* code, DWORD timeout = kWait);

    // Ends the process if it still runs; the object can start another.
    void Stop();

    HANDLE process() const { return info_.hProcess; }
    DWORD id() const { return info_.dwProcessId; }

  private:
    PROCESS_INFORMATION info_{};
    bool running_ = false;
};

// The control of that Win32 id among all descendants of `top`.
HWND Control(HWND top, int id);
HWND WaitForControl(HWND top, int id, DWORD timeout = kWait);

std::string Text(HWND hwnd);
std::string ClassOf(HWND hwnd);
LONG Style(HWND hwnd);
LONG ExStyle(HWND hwnd);

// The control's rectangle in the client coordinates of its parent.
RECT RectInParent(HWND hwnd);

// Posted, so a click that opens a modal box does not wait for it to close.
void Click(HWND button);
int CheckState(HWND box);

// Sends a key (down and up) to a window.
void Key(HWND hwnd, UINT key);

// Posts a close request as the close box, the system menu and Alt+F4 give it.
void CloseBox(HWND window);
void SystemMenuClose(HWND window);
void AltF4(HWND window);

struct MessageBoxSeen {
    HWND hwnd = nullptr;
    std::string title;
    std::string text;
    std::vector<std::string> buttons; // the visible ones
    bool iconShown = false;
};

// A message box (#32770 with a static text) of the program, by title.
bool WaitForMessageBox(const Program& program, const std::string& title, MessageBoxSeen* seen,
                       DWORD timeout = kWait);
void Answer(HWND box, int button);

// The program's save-file dialog, by title.
HWND WaitForDialog(const Program& program, const std::string& title, DWORD timeout = kWait);
// Types `path` into the dialog's file name box and presses Save.
void SaveAs(HWND dialog, const std::string& path);
void Cancel(HWND dialog);
// What the dialog's file type box shows.
std::string DialogFilter(HWND dialog);

// Another process's list view and tab panel are used through messages that
// carry no pointer: Wine's emulated 32-bit side here cannot reach another
// process's memory, so nothing is read or written there.
class ListView {
  public:
    explicit ListView(HWND list) : list_(list) {}

    int Count() const;
    int Selected() const; // -1 when nothing is selected
    int Columns() const;
    // Selects the first entry whose name begins with `prefix`, the way typing
    // it does; the index then selected (-1: none).
    int TypeToSelect(const std::string& prefix) const;
    // A point on the row of `item` (report view, scrolled to the top).
    POINT RowPoint(int item) const;

  private:
    HWND list_;
};

// Opens an entry the user's way: types its name, then Enter.
void OpenEntry(HWND list, const std::string& name);

int TabCount(HWND tabs);
int CurrentTab(HWND tabs);
// Moves to the tab with the arrow keys, as the user does.
void PickTab(HWND tabs, int index);

void ClickAt(HWND hwnd, POINT point);
void DoubleClickAt(HWND hwnd, POINT point);

// A PNG of the whole screen in the artifacts folder.
void Screenshot(const std::string& name);

// Files of a folder, byte for byte.
std::string ReadFileBytes(const std::string& path);
void WriteFileBytes(const std::string& path, const std::string& bytes);
bool FileExists(const std::string& path);
bool FolderExists(const std::string& path);
std::vector<std::string> FolderNames(const std::string& folder);

} // namespace e2e
