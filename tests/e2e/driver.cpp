#include "tests/e2e/driver.h"

#include <cstring>
#include <gtest/gtest.h>

#ifndef SKIMDEX_E2E_BUILD_DIR
#error "the build sets SKIMDEX_E2E_BUILD_DIR and SKIMDEX_E2E_ARTIFACTS_DIR"
#endif

namespace e2e {
namespace {

constexpr UINT kMessageTimeout = 10000;

std::string WithBackslash(std::string path) {
    if (!path.empty() && path.back() != '\\') {
        path += '\\';
    }
    return path;
}

void RemoveTree(const std::string& folder) {
    WIN32_FIND_DATAA found;
    HANDLE scan = FindFirstFileA((folder + "*").c_str(), &found);
    if (scan != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name == "." || name == "..") {
                continue;
            }
            const std::string path = folder + name;
            SetFileAttributesA(path.c_str(), FILE_ATTRIBUTE_NORMAL);
            if ((found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0) {
                RemoveTree(path + "\\");
            } else {
                DeleteFileA(path.c_str());
            }
        } while (FindNextFileA(scan, &found));
        FindClose(scan);
    }
    RemoveDirectoryA(folder.c_str());
}

void MakeFolders(const std::string& path) {
    for (std::size_t at = 3; at < path.size(); ++at) {
        if (path[at] == '\\') {
            CreateDirectoryA(path.substr(0, at).c_str(), nullptr);
        }
    }
    CreateDirectoryA(path.c_str(), nullptr);
}

struct WindowSearch {
    DWORD process;
    std::vector<HWND> found;
};

BOOL CALLBACK CollectTopWindows(HWND hwnd, LPARAM raw) {
    auto* search = reinterpret_cast<WindowSearch*>(raw);
    DWORD owner = 0;
    GetWindowThreadProcessId(hwnd, &owner);
    if (owner == search->process && IsWindowVisible(hwnd)) {
        search->found.push_back(hwnd);
    }
    return TRUE;
}

struct ControlSearch {
    int id;
    HWND found;
};

BOOL CALLBACK FindById(HWND hwnd, LPARAM raw) {
    auto* search = reinterpret_cast<ControlSearch*>(raw);
    if (GetDlgCtrlID(hwnd) == search->id) {
        search->found = hwnd;
        return FALSE;
    }
    return TRUE;
}

BOOL CALLBACK CollectChildren(HWND hwnd, LPARAM raw) {
    reinterpret_cast<std::vector<HWND>*>(raw)->push_back(hwnd);
    return TRUE;
}

std::string TopTitle(HWND hwnd) {
    char title[512] = "";
    // For another process's top-level window this reads the stored title
    // without a message, so a busy program does not hold it up.
    GetWindowTextA(hwnd, title, sizeof(title));
    return title;
}

} // namespace

std::string DosPath(const std::string& unixPath) {
    std::string path = "Z:" + unixPath;
    for (char& c : path) {
        c = c == '/' ? '\\' : c;
    }
    return path;
}

std::string BuildFolder() {
    return WithBackslash(DosPath(SKIMDEX_E2E_BUILD_DIR));
}

std::string ArtifactsFolder() {
    const std::string folder = WithBackslash(DosPath(SKIMDEX_E2E_ARTIFACTS_DIR));
    MakeFolders(folder.substr(0, folder.size() - 1));
    return folder;
}

std::string FreshFolder(const std::string& name) {
    const std::string folder = BuildFolder() + "e2e-work\\" + name + "\\";
    RemoveTree(folder);
    MakeFolders(folder.substr(0, folder.size() - 1));
    return folder;
}

bool WaitUntil(const std::function<bool()>& condition, DWORD timeout) {
    const DWORD start = GetTickCount();
    for (;;) {
        if (condition()) {
            return true;
        }
        if (GetTickCount() - start > timeout) {
            return false;
        }
        Sleep(50);
    }
}

Program::~Program() {
    Stop();
}

void Program::Stop() {
    if (running_) {
        DWORD code = 0;
        if (GetExitCodeProcess(info_.hProcess, &code) && code == STILL_ACTIVE) {
            TerminateProcess(info_.hProcess, 1);
            WaitForSingleObject(info_.hProcess, 5000);
        }
        CloseHandle(info_.hProcess);
        CloseHandle(info_.hThread);
    }
    running_ = false;
    info_ = PROCESS_INFORMATION{};
}

bool Program::Start(const std::string& folder, const std::string& exe) {
    const std::string path = BuildFolder() + exe;
    std::string commandLine = "\"" + path + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    running_ = CreateProcessA(path.c_str(), &commandLine[0], nullptr, nullptr, FALSE, 0, nullptr,
                              folder.c_str(), &startup, &info_) != 0;
    return running_;
}

std::vector<HWND> Program::VisibleWindows() const {
    WindowSearch search{info_.dwProcessId, {}};
    EnumWindows(CollectTopWindows, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND Program::FindWindowTitled(const std::string& title) const {
    for (HWND hwnd : VisibleWindows()) {
        if (TopTitle(hwnd) == title) {
            return hwnd;
        }
    }
    return nullptr;
}

HWND Program::WaitForWindow(const std::string& title, DWORD timeout) const {
    HWND found = nullptr;
    WaitUntil([&] { return (found = FindWindowTitled(title)) != nullptr; }, timeout);
    return found;
}

bool Program::WaitForExit(DWORD* code, DWORD timeout) {
    if (!running_ || WaitForSingleObject(info_.hProcess, timeout) != WAIT_OBJECT_0) {
        return false;
    }
    GetExitCodeProcess(info_.hProcess, code);
    return true;
}

HWND Control(HWND top, int id) {
    ControlSearch search{id, nullptr};
    EnumChildWindows(top, FindById, reinterpret_cast<LPARAM>(&search));
    return search.found;
}

HWND WaitForControl(HWND top, int id, DWORD timeout) {
    HWND found = nullptr;
    WaitUntil([&] { return (found = Control(top, id)) != nullptr; }, timeout);
    return found;
}

std::string Text(HWND hwnd) {
    DWORD_PTR length = 0;
    if (!SendMessageTimeoutA(hwnd, WM_GETTEXTLENGTH, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout,
                             &length)) {
        return "<no answer>";
    }
    std::string text(length + 1, '\0');
    DWORD_PTR copied = 0;
    SendMessageTimeoutA(hwnd, WM_GETTEXT, text.size(), reinterpret_cast<LPARAM>(&text[0]),
                        SMTO_ABORTIFHUNG, kMessageTimeout, &copied);
    text.resize(copied);
    return text;
}

std::string ClassOf(HWND hwnd) {
    char name[256] = "";
    GetClassNameA(hwnd, name, sizeof(name));
    return name;
}

LONG Style(HWND hwnd) {
    return GetWindowLongA(hwnd, GWL_STYLE);
}
LONG ExStyle(HWND hwnd) {
    return GetWindowLongA(hwnd, GWL_EXSTYLE);
}

RECT RectInParent(HWND hwnd) {
    RECT rect{};
    GetWindowRect(hwnd, &rect);
    MapWindowPoints(nullptr, GetParent(hwnd), reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void Click(HWND button) {
    PostMessageA(button, BM_CLICK, 0, 0);
}

int CheckState(HWND box) {
    DWORD_PTR state = 0;
    SendMessageTimeoutA(box, BM_GETCHECK, 0, 0, SMTO_ABORTIFHUNG, kMessageTimeout, &state);
    return static_cast<int>(state);
}

void Key(HWND hwnd, UINT key) {
    PostMessageA(hwnd, WM_KEYDOWN, key, 1);
    PostMessageA(hwnd, WM_KEYUP, key, static_cast<LPARAM>(0xC0000001u));
}

void CloseBox(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, MAKELPARAM(rect.right - 10, rect.top + 10));
}

void SystemMenuClose(HWND window) {
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
}

void AltF4(HWND window) {
    const LPARAM altDown = static_cast<LPARAM>(1u | (1u << 29));
    PostMessageA(window, WM_SYSKEYDOWN, VK_F4, altDown);
    PostMessageA(window, WM_SYSKEYUP, VK_F4, static_cast<LPARAM>(altDown | (3u << 30)));
}

bool WaitForMessageBox(const Program& program, const std::string& title, MessageBoxSeen* seen,
                       DWORD timeout) {
    HWND box = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : program.VisibleWindows()) {
                if (ClassOf(hwnd) == "#32770" && TopTitle(hwnd) == title &&
                    GetDlgItem(hwnd, 0xFFFF) != nullptr) {
                    box = hwnd;
                    return true;
                }
            }
            return false;
        },
        timeout);
    if (box == nullptr) {
        return false;
    }
    seen->hwnd = box;
    seen->title = title;
    seen->text = Text(GetDlgItem(box, 0xFFFF));
    seen->buttons.clear();
    std::vector<HWND> children;
    EnumChildWindows(box, CollectChildren, reinterpret_cast<LPARAM>(&children));
    seen->iconShown = false;
    for (HWND child : children) {
        if (!IsWindowVisible(child)) {
            continue;
        }
        if (ClassOf(child) == "Button") {
            seen->buttons.push_back(Text(child));
        } else if (ClassOf(child) == "Static" && (Style(child) & SS_TYPEMASK) == SS_ICON) {
            seen->iconShown = true;
        }
    }
    return true;
}

void Answer(HWND box, int button) {
    PostMessageA(box, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED), 0);
}

namespace {

// Controls of the explorer-style file dialog.
constexpr int kFileNameBox = 0x47C;
constexpr int kFileTypeBox = 0x470;

} // namespace

HWND WaitForDialog(const Program& program, const std::string& title, DWORD timeout) {
    HWND dialog = nullptr;
    WaitUntil(
        [&] {
            for (HWND hwnd : program.VisibleWindows()) {
                if (ClassOf(hwnd) == "#32770" && TopTitle(hwnd) == title &&
                    Control(hwnd, kFileNameBox) != nullptr) {
                    dialog = hwnd;
                    return true;
                }
            }
            return false;
        },
        timeout);
    return dialog;
}

void SaveAs(HWND dialog, const std::string& path) {
    HWND name = Control(dialog, kFileNameBox);
    DWORD_PTR ignored = 0;
    SendMessageTimeoutA(name, WM_SETTEXT, 0, reinterpret_cast<LPARAM>(path.c_str()),
                        SMTO_ABORTIFHUNG, kMessageTimeout, &ignored);
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED), 0);
}

void Cancel(HWND dialog) {
    PostMessageA(dialog, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
}

std::string DialogFilter(HWND dialog) {
    return Text(Control(dialog, kFileTypeBox));
}

namespace {

LRESULT Ask(HWND hwnd, UINT message, WPARAM wParam = 0, LPARAM lParam = 0) {
    DWORD_PTR result = 0;
    if (!SendMessageTimeoutA(hwnd, message, wParam, lParam, SMTO_ABORTIFHUNG, kMessageTimeout,
                             &result)) {
        return -1;
    }
    return static_cast<LRESULT>(result);
}

// Posted keys arrive in order; this waits until they have been handled.
void Settle(HWND hwnd) {
    Sleep(300);
    Ask(hwnd, WM_NULL);
    Sleep(100);
}

} // namespace

int ListView::Count() const {
    return static_cast<int>(Ask(list_, LVM_GETITEMCOUNT));
}

int ListView::Selected() const {
    return static_cast<int>(Ask(list_, LVM_GETNEXTITEM, static_cast<WPARAM>(-1), LVNI_SELECTED));
}

int ListView::Columns() const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER));
    return header != nullptr ? static_cast<int>(Ask(header, HDM_GETITEMCOUNT)) : -1;
}

int ListView::TypeToSelect(const std::string& prefix) const {
    Sleep(1200); // a pause ends the search typed before
    for (char c : prefix) {
        PostMessageA(list_, WM_CHAR, static_cast<unsigned char>(c), 1);
    }
    Settle(list_);
    return Selected();
}

POINT ListView::RowPoint(int item) const {
    HWND header = reinterpret_cast<HWND>(Ask(list_, LVM_GETHEADER));
    RECT bar{};
    GetWindowRect(header, &bar);
    MapWindowPoints(nullptr, list_, reinterpret_cast<POINT*>(&bar), 2);
    // The space two rows need less that of one: the height of a row.
    const LRESULT one = Ask(list_, LVM_APPROXIMATEVIEWRECT, 1, MAKELPARAM(-1, -1));
    const LRESULT two = Ask(list_, LVM_APPROXIMATEVIEWRECT, 2, MAKELPARAM(-1, -1));
    const int row = HIWORD(two) - HIWORD(one);
    return POINT{20, bar.bottom + row * item + row / 2};
}

void OpenEntry(HWND list, const std::string& name) {
    ListView view(list);
    ASSERT_GE(view.TypeToSelect(name), 0) << name << " is not listed";
    Key(list, VK_RETURN);
    Settle(list);
}

int TabCount(HWND tabs) {
    return static_cast<int>(Ask(tabs, TCM_GETITEMCOUNT));
}
int CurrentTab(HWND tabs) {
    return static_cast<int>(Ask(tabs, TCM_GETCURSEL));
}

void PickTab(HWND tabs, int index) {
    for (int tries = 0; tries < 4 && CurrentTab(tabs) >= 0 && CurrentTab(tabs) != index; ++tries) {
        Key(tabs, CurrentTab(tabs) < index ? VK_RIGHT : VK_LEFT);
        Settle(tabs);
    }
}

void ClickAt(HWND hwnd, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

void DoubleClickAt(HWND hwnd, POINT point) {
    const LPARAM at = MAKELPARAM(point.x, point.y);
    PostMessageA(hwnd, WM_LBUTTONDOWN, MK_LBUTTON, at);
    PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
    PostMessageA(hwnd, WM_LBUTTONDBLCLK, MK_LBUTTON, at);
    PostMessageA(hwnd, WM_LBUTTONUP, 0, at);
}

void Screenshot(const std::string& name) {
    // ImageMagick on the Linux side; Wine starts a Linux program but gives no
    // handle to wait on, so the file itself tells when it is done.
    const std::string unixPath = std::string(SKIMDEX_E2E_ARTIFACTS_DIR) + "/" + name + ".png";
    const std::string dosPath = ArtifactsFolder() + name + ".png";
    DeleteFileA(dosPath.c_str());
    std::string command = "/usr/bin/import -window root \"" + unixPath + "\"";
    STARTUPINFOA startup{};
    startup.cb = sizeof(startup);
    PROCESS_INFORMATION info{};
    if (!CreateProcessA(nullptr, &command[0], nullptr, nullptr, FALSE, 0, nullptr, nullptr,
                        &startup, &info)) {
        ADD_FAILURE() << "no screenshot: " << name;
        return;
    }
    CloseHandle(info.hProcess);
    CloseHandle(info.hThread);
    LONGLONG lastSize = -1;
    WaitUntil(
        [&] {
            WIN32_FILE_ATTRIBUTE_DATA data;
            if (!GetFileAttributesExA(dosPath.c_str(), GetFileExInfoStandard, &data)) {
                return false;
            }
            const LONGLONG size =
                (static_cast<LONGLONG>(data.nFileSizeHigh) << 32) | data.nFileSizeLow;
            const bool stable = size > 0 && size == lastSize;
            lastSize = size;
            return stable;
        },
        20000);
}

std::string ReadFileBytes(const std::string& path) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE,
                              nullptr, OPEN_EXISTING, 0, nullptr);
    if (file == INVALID_HANDLE_VALUE) {
        return std::string();
    }
    std::string bytes;
    char buffer[65536];
    DWORD read = 0;
    while (ReadFile(file, buffer, sizeof(buffer), &read, nullptr) && read > 0) {
        bytes.append(buffer, read);
    }
    CloseHandle(file);
    return bytes;
}

void WriteFileBytes(const std::string& path, const std::string& bytes) {
    HANDLE file = CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                              FILE_ATTRIBUTE_NORMAL, nullptr);
    ASSERT_NE(file, INVALID_HANDLE_VALUE) << path;
    DWORD written = 0;
    WriteFile(file, bytes.data(), static_cast<DWORD>(bytes.size()), &written, nullptr);
    CloseHandle(file);
}

bool FileExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

bool FolderExists(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
}

std::vector<std::string> FolderNames(const std::string& folder) {
    std::vector<std::string> names;
    WIN32_FIND_DATAA found;
    HANDLE scan = FindFirstFileA((folder + "*").c_str(), &found);
    if (scan != INVALID_HANDLE_VALUE) {
        do {
            const std::string name = found.cFileName;
            if (name != "." && name != "..") {
                names.push_back(name);
            }
        } while (FindNextFileA(scan, &found));
        FindClose(scan);
    }
    return names;
}

} // namespace e2e
