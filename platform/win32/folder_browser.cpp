// The folder browser: a virtual report list view over one folder or the top
// level (the drives and the documents folder). The entries live here; the
// list view asks for what it draws, so a folder of any size opens at the cost
// of reading it. A watching thread asks the main thread to reload when the
// shown folder changes.
#include "platform/win32/win32_ui.h"

#include <algorithm>
#include <map>
#include <shellapi.h>
#include <shlobj.h>
#include <shlwapi.h>
#include <string>
#include <vector>

namespace platform::win32 {
namespace {

constexpr UINT kReloadMessage = WM_APP + 1;
constexpr std::size_t kPathLimit = MAX_PATH - 1;

enum class EntryKind { Parent, Drive, Documents, Folder, File };

struct Entry {
    EntryKind kind;
    std::string name;
    std::string key;    // the name folded to lower case, for sorting and finding
    std::string target; // drives and documents: the folder they open
    ULONGLONG size;
    FILETIME modified;
    int icon;
    const std::string* type;
};

HWND browser = nullptr;
WNDPROC listProcedure = nullptr;
std::string current;         // "" is the top level
std::string documentsFolder; // with its trailing backslash, when there is one
std::vector<Entry> entries;
int sortColumn = 0;
bool ascending = true;
bool reloading = false; // reloads and sorting raise no events

// Icons and type names by extension: one shell call per kind of file.
struct FileLook {
    int icon;
    std::string type;
};
std::map<std::string, FileLook> looks;
FileLook folderLook{-1, std::string()};

// --- the watching thread ---
HANDLE watchWake = nullptr;
CRITICAL_SECTION watchLock;
std::string watchedFolder;
volatile LONG reloadPending = 0;

std::string Folded(const std::string& text) {
    std::string folded = text;
    if (!folded.empty()) {
        CharLowerBuffA(&folded[0], static_cast<DWORD>(folded.size()));
    }
    return folded;
}

const FileLook& LookOf(const std::string& name, bool folder) {
    if (folder) {
        if (folderLook.icon < 0) {
            SHFILEINFOA info{};
            SHGetFileInfoA("folder", FILE_ATTRIBUTE_DIRECTORY, &info, sizeof(info),
                           SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON |
                               SHGFI_TYPENAME);
            folderLook = {info.iIcon, info.szTypeName};
        }
        return folderLook;
    }
    const std::size_t dot = name.find_last_of('.');
    const std::string extension =
        dot == std::string::npos ? std::string() : Folded(name.substr(dot));
    const auto found = looks.find(extension);
    if (found != looks.end()) {
        return found->second;
    }
    SHFILEINFOA info{};
    const std::string probe = "file" + extension;
    SHGetFileInfoA(probe.c_str(), FILE_ATTRIBUTE_NORMAL, &info, sizeof(info),
                   SHGFI_USEFILEATTRIBUTES | SHGFI_SYSICONINDEX | SHGFI_SMALLICON | SHGFI_TYPENAME);
    return looks[extension] = {info.iIcon, info.szTypeName};
}

Entry MakeEntry(EntryKind kind, const std::string& name) {
    Entry entry{kind, name, Folded(name), std::string(), 0, FILETIME{}, -1, nullptr};
    return entry;
}

void AddDocumentsEntry() {
    documentsFolder.clear();
    LPITEMIDLIST pidl = nullptr;
    if (FAILED(SHGetSpecialFolderLocation(nullptr, CSIDL_PERSONAL, &pidl)) || pidl == nullptr) {
        return;
    }
    char path[MAX_PATH] = "";
    SHFILEINFOA info{};
    const bool located = SHGetPathFromIDListA(pidl, path) && path[0] != '\0';
    const bool described =
        SHGetFileInfoA(reinterpret_cast<LPCSTR>(pidl), 0, &info, sizeof(info),
                       SHGFI_PIDL | SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON) != 0;
    CoTaskMemFree(pidl);
    if (!located || !described) {
        return;
    }
    documentsFolder = path;
    if (documentsFolder.back() != '\\') {
        documentsFolder += '\\';
    }
    Entry entry = MakeEntry(EntryKind::Documents, info.szDisplayName);
    entry.target = documentsFolder;
    entry.icon = info.iIcon;
    entries.push_back(entry);
}

void ReadTopLevel() {
    const DWORD drives = GetLogicalDrives();
    for (int letter = 0; letter < 26; ++letter) {
        if ((drives & (1u << letter)) == 0) {
            continue;
        }
        const std::string root = std::string(1, static_cast<char>('A' + letter)) + ":\\";
        SHFILEINFOA info{};
        SHGetFileInfoA(root.c_str(), 0, &info, sizeof(info),
                       SHGFI_DISPLAYNAME | SHGFI_SYSICONINDEX | SHGFI_SMALLICON);
        Entry entry =
            MakeEntry(EntryKind::Drive, info.szDisplayName[0] != '\0' ? info.szDisplayName : root);
        entry.target = root;
        entry.icon = info.iIcon;
        entries.push_back(entry);
    }
    AddDocumentsEntry();
}

void ReadFolder(const std::string& folder) {
    entries.push_back(MakeEntry(EntryKind::Parent, ".."));
    entries.back().icon = LookOf("..", true).icon;
    WIN32_FIND_DATAA found;
    HANDLE scan = FindFirstFileA((folder + "*.*").c_str(), &found);
    if (scan == INVALID_HANDLE_VALUE) {
        return; // unreadable: only ".."
    }
    do {
        const std::string name = found.cFileName;
        if (name == "." || name == "..") {
            continue;
        }
        const bool isFolder = (found.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0;
        Entry entry = MakeEntry(isFolder ? EntryKind::Folder : EntryKind::File, name);
        entry.size = (static_cast<ULONGLONG>(found.nFileSizeHigh) << 32) | found.nFileSizeLow;
        entry.modified = found.ftLastWriteTime;
        const FileLook& look = LookOf(name, isFolder);
        entry.icon = look.icon;
        entry.type = &look.type;
        entries.push_back(std::move(entry));
    } while (FindNextFileA(scan, &found));
    FindClose(scan);
}

// ".." first; by name the folders before the files (the top level keeps its
// drive-letter order); a second click on a heading reverses.
void SortEntries() {
    const auto rank = [](const Entry& e) { return e.kind == EntryKind::File ? 1 : 0; };
    const auto before = [&](const Entry& a, const Entry& b) {
        if (current.empty()) {
            return false;
        }
        switch (sortColumn) {
        case 1:
            if (rank(a) != rank(b)) {
                return rank(a) < rank(b);
            }
            if (a.size != b.size) {
                return a.size < b.size;
            }
            break;
        case 2: {
            const int order = lstrcmpiA(a.type != nullptr ? a.type->c_str() : "",
                                        b.type != nullptr ? b.type->c_str() : "");
            if (order != 0) {
                return order < 0;
            }
            break;
        }
        case 3: {
            const LONG order = CompareFileTime(&a.modified, &b.modified);
            if (order != 0) {
                return order < 0;
            }
            break;
        }
        default:
            if (rank(a) != rank(b)) {
                return rank(a) < rank(b);
            }
            break;
        }
        return a.key < b.key;
    };
    const auto first = entries.begin() + (!entries.empty() && entries[0].kind == EntryKind::Parent);
    std::stable_sort(first, entries.end(), before);
    if (!ascending) {
        std::reverse(first, entries.end());
    }
}

void SetWatchedFolder(const std::string& folder) {
    EnterCriticalSection(&watchLock);
    watchedFolder = folder;
    LeaveCriticalSection(&watchLock);
    SetEvent(watchWake);
}

DWORD WINAPI WatchFolder(LPVOID) {
    HANDLE change = INVALID_HANDLE_VALUE;
    for (;;) {
        HANDLE waits[2] = {watchWake, change};
        const DWORD count = change == INVALID_HANDLE_VALUE ? 1 : 2;
        const DWORD woke = WaitForMultipleObjects(count, waits, FALSE, INFINITE);
        if (woke == WAIT_OBJECT_0) {
            if (change != INVALID_HANDLE_VALUE) {
                FindCloseChangeNotification(change);
                change = INVALID_HANDLE_VALUE;
            }
            EnterCriticalSection(&watchLock);
            const std::string folder = watchedFolder;
            LeaveCriticalSection(&watchLock);
            if (!folder.empty()) {
                const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
                change = FindFirstChangeNotificationA(
                    folder.c_str(), FALSE,
                    FILE_NOTIFY_CHANGE_FILE_NAME | FILE_NOTIFY_CHANGE_DIR_NAME |
                        FILE_NOTIFY_CHANGE_SIZE | FILE_NOTIFY_CHANGE_LAST_WRITE |
                        FILE_NOTIFY_CHANGE_ATTRIBUTES);
                SetErrorMode(oldMode);
            }
        } else if (woke == WAIT_OBJECT_0 + 1) {
            // One reload at a time; changes during it are seen by it.
            if (InterlockedExchange(&reloadPending, 1) == 0) {
                PostMessageA(browser, kReloadMessage, 0, 0);
            }
            if (!FindNextChangeNotification(change)) {
                FindCloseChangeNotification(change);
                change = INVALID_HANDLE_VALUE;
                if (InterlockedExchange(&reloadPending, 1) == 0) {
                    PostMessageA(browser, kReloadMessage, 0, 0);
                }
            }
        } else {
            Sleep(100);
        }
    }
}

std::string SelectedName() {
    const int index = ListView_GetNextItem(browser, -1, LVNI_SELECTED);
    return index >= 0 && static_cast<std::size_t>(index) < entries.size()
               ? entries[static_cast<std::size_t>(index)].name
               : std::string();
}

// Reads `folder` (or the top level) into the list; keeps the selection and the
// scroll position when the folder stays the same.
void Show(const std::string& folder) {
    const bool same = folder == current;
    const std::string keep = same ? SelectedName() : std::string();
    const int top = same ? ListView_GetTopIndex(browser) : 0;
    reloading = true;
    current = folder;
    entries.clear();
    const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
    if (current.empty()) {
        ReadTopLevel();
    } else {
        ReadFolder(current);
    }
    SetErrorMode(oldMode);
    SortEntries();
    ListView_SetItemState(browser, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
    ListView_SetItemCountEx(browser, static_cast<int>(entries.size()), 0);
    for (std::size_t i = 0; same && !keep.empty() && i < entries.size(); ++i) {
        if (entries[i].name == keep) {
            ListView_SetItemState(browser, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                  LVIS_SELECTED | LVIS_FOCUSED);
            break;
        }
    }
    if (same && top > 0) {
        ListView_EnsureVisible(browser, static_cast<int>(entries.size()) - 1, FALSE);
        ListView_EnsureVisible(browser, top, FALSE);
    } else {
        ListView_EnsureVisible(browser, 0, FALSE);
    }
    InvalidateRect(browser, nullptr, TRUE);
    reloading = false;
    SetWatchedFolder(current);
}

// The volume of the shown folder went away: back to the top level.
void Reload() {
    InterlockedExchange(&reloadPending, 0);
    if (!current.empty() &&
        GetFileAttributesA(current.substr(0, 3).c_str()) == INVALID_FILE_ATTRIBUTES) {
        Show(std::string());
        return;
    }
    Show(current);
}

std::string SystemMessage(DWORD error) {
    char text[512] = "";
    FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr, error, 0,
                   text, sizeof(text), nullptr);
    return text;
}

// A drive without a medium gets the system's prompt to insert one.
bool DriveReady(const Entry& drive) {
    for (;;) {
        const UINT oldMode = SetErrorMode(SEM_FAILCRITICALERRORS);
        const BOOL ready = GetVolumeInformationA(drive.target.c_str(), nullptr, 0, nullptr, nullptr,
                                                 nullptr, nullptr, 0);
        const DWORD error = GetLastError();
        SetErrorMode(oldMode);
        if (ready || error != ERROR_NOT_READY) {
            return true;
        }
        if (MessageBoxA(OwnerWindow(), SystemMessage(error).c_str(), drive.name.c_str(),
                        MB_RETRYCANCEL | MB_ICONWARNING) != IDRETRY) {
            return false;
        }
    }
}

std::string ParentOf(const std::string& folder) {
    if (folder.size() <= 3 || folder == documentsFolder) {
        return std::string();
    }
    const std::size_t cut = folder.find_last_of('\\', folder.size() - 2);
    return cut == std::string::npos ? std::string() : folder.substr(0, cut + 1);
}

void OpenSelected() {
    const int index = ListView_GetNextItem(browser, -1, LVNI_SELECTED);
    if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
        return;
    }
    const Entry entry = entries[static_cast<std::size_t>(index)];
    switch (entry.kind) {
    case EntryKind::Drive:
        if (DriveReady(entry)) {
            Show(entry.target);
        }
        break;
    case EntryKind::Documents:
        Show(entry.target);
        break;
    case EntryKind::Parent:
        Show(ParentOf(current));
        break;
    case EntryKind::Folder:
        if (current.size() + entry.name.size() + 1 <= kPathLimit) {
            Show(current + entry.name + "\\");
        }
        break;
    case EntryKind::File:
        break;
    }
}

char* TextFor(const Entry& entry, int column) {
    static char text[MAX_PATH + 64];
    text[0] = '\0';
    const bool file = entry.kind == EntryKind::File;
    switch (column) {
    case 0:
        lstrcpynA(text, entry.name.c_str(), sizeof(text));
        break;
    case 1:
        if (file) {
            StrFormatKBSizeA(static_cast<LONGLONG>(entry.size), text, sizeof(text));
        }
        break;
    case 2:
        if (entry.type != nullptr) {
            lstrcpynA(text, entry.type->c_str(), sizeof(text));
        }
        break;
    case 3:
        if (entry.kind == EntryKind::File || entry.kind == EntryKind::Folder) {
            FILETIME local;
            SYSTEMTIME when;
            if (FileTimeToLocalFileTime(&entry.modified, &local) &&
                FileTimeToSystemTime(&local, &when)) {
                const int n = GetDateFormatA(LOCALE_USER_DEFAULT, DATE_SHORTDATE, &when, nullptr,
                                             text, sizeof(text));
                if (n > 0) {
                    text[n - 1] = ' ';
                    GetTimeFormatA(LOCALE_USER_DEFAULT, TIME_NOSECONDS, &when, nullptr, text + n,
                                   static_cast<int>(sizeof(text)) - n);
                }
            }
        }
        break;
    default:
        break;
    }
    return text;
}

// Typing a name jumps to the first entry from `from` on that begins with it.
int FindEntry(UINT flags, const std::string& typed, int from) {
    if ((flags & (LVFI_STRING | LVFI_PARTIAL)) == 0 || entries.empty()) {
        return -1;
    }
    const std::string wanted = Folded(typed);
    const bool partial = (flags & LVFI_PARTIAL) != 0;
    const std::size_t count = entries.size();
    const std::size_t start =
        from >= 0 && static_cast<std::size_t>(from) < count ? static_cast<std::size_t>(from) : 0;
    for (std::size_t n = 0; n < count; ++n) {
        const std::size_t i = (start + n) % count;
        const std::string& key = entries[i].key;
        if (partial ? key.compare(0, wanted.size(), wanted) == 0 : key == wanted) {
            return static_cast<int>(i);
        }
    }
    return -1;
}

// The column headings as the shell names them, in the system's language.
std::string ColumnHeading(int column) {
    static const char* const fallback[] = {"Name", "Size", "Type", "Modified"};
    std::string heading = fallback[column];
    IShellFolder* desktop = nullptr;
    if (FAILED(SHGetDesktopFolder(&desktop))) {
        return heading;
    }
    LPITEMIDLIST pidl = nullptr;
    WCHAR root[] = L"C:\\";
    IShellFolder2* folder = nullptr;
    if (SUCCEEDED(desktop->ParseDisplayName(nullptr, nullptr, root, nullptr, &pidl, nullptr)) &&
        SUCCEEDED(desktop->BindToObject(pidl, nullptr, IID_IShellFolder2,
                                        reinterpret_cast<void**>(&folder)))) {
        SHELLDETAILS details{};
        char text[MAX_PATH] = "";
        if (SUCCEEDED(folder->GetDetailsOf(nullptr, static_cast<UINT>(column), &details)) &&
            SUCCEEDED(StrRetToBufA(&details.str, nullptr, text, sizeof(text))) && text[0] != '\0') {
            heading = text;
        }
        folder->Release();
    }
    if (pidl != nullptr) {
        CoTaskMemFree(pidl);
    }
    desktop->Release();
    return heading;
}

LRESULT CALLBACK BrowserProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == kReloadMessage) {
        Reload();
        return 0;
    }
    if (message == WM_GETDLGCODE && lParam != 0 &&
        reinterpret_cast<const MSG*>(lParam)->wParam == VK_RETURN) {
        return DLGC_WANTALLKEYS; // Enter opens the entry
    }
    return CallWindowProcA(listProcedure, hwnd, message, wParam, lParam);
}

} // namespace

HWND CreateFolderBrowserWindow(HWND parent, int control, int x, int y, int width, int height,
                               const std::string& startFolder) {
    if (browser != nullptr) {
        return nullptr; // one browser per program
    }
    browser = CreateWindowExA(
        0, WC_LISTVIEWA, "",
        WS_CHILD | WS_VISIBLE | LVS_REPORT | LVS_SINGLESEL | LVS_OWNERDATA | LVS_SHAREIMAGELISTS, x,
        y, width, height, parent, reinterpret_cast<HMENU>(static_cast<INT_PTR>(control)),
        Instance(), nullptr);
    if (browser == nullptr) {
        return nullptr;
    }
    listProcedure = reinterpret_cast<WNDPROC>(
        SetWindowLongPtrA(browser, GWLP_WNDPROC, reinterpret_cast<LONG_PTR>(BrowserProcedure)));
    ListView_SetExtendedListViewStyle(browser, LVS_EX_GRIDLINES);
    SHFILEINFOA info{};
    const auto images = reinterpret_cast<HIMAGELIST>(
        SHGetFileInfoA("C:\\", 0, &info, sizeof(info), SHGFI_SYSICONINDEX | SHGFI_SMALLICON));
    ListView_SetImageList(browser, images, LVSIL_SMALL);
    for (int column = 0; column < 4; ++column) {
        std::string heading = ColumnHeading(column);
        LVCOLUMNA description{};
        description.mask = LVCF_TEXT | LVCF_WIDTH | LVCF_FMT;
        description.fmt = column == 1 ? LVCFMT_RIGHT : LVCFMT_LEFT;
        description.cx = 100;
        description.pszText = &heading[0];
        SendMessageA(browser, LVM_INSERTCOLUMNA, static_cast<WPARAM>(column),
                     reinterpret_cast<LPARAM>(&description));
    }

    InitializeCriticalSection(&watchLock);
    watchWake = CreateEventA(nullptr, FALSE, FALSE, nullptr);
    HANDLE watcher = CreateThread(nullptr, 0, WatchFolder, nullptr, 0, nullptr);
    if (watcher != nullptr) {
        CloseHandle(watcher);
    }

    // Stored with its drive letter raised: "c:\" is shown as C:\.
    std::string start = startFolder;
    if (!start.empty()) {
        CharUpperBuffA(&start[0], 1);
        if (start.back() != '\\') {
            start += '\\';
        }
    }
    Show(start);
    return browser;
}

std::string FolderBrowserText() {
    return current;
}

bool HandleFolderBrowserNotify(const NMHDR& header, LRESULT* result) {
    switch (header.code) {
    case LVN_GETDISPINFOA: {
        auto& display = reinterpret_cast<NMLVDISPINFOA&>(const_cast<NMHDR&>(header));
        const int index = display.item.iItem;
        if (index < 0 || static_cast<std::size_t>(index) >= entries.size()) {
            return false;
        }
        const Entry& entry = entries[static_cast<std::size_t>(index)];
        if ((display.item.mask & LVIF_TEXT) != 0) {
            display.item.pszText = TextFor(entry, display.item.iSubItem);
        }
        if ((display.item.mask & LVIF_IMAGE) != 0) {
            display.item.iImage = entry.icon;
        }
        return false;
    }
    case LVN_ODFINDITEMA: {
        const auto& find = reinterpret_cast<const NMLVFINDITEMA&>(header);
        *result =
            find.lvfi.psz != nullptr ? FindEntry(find.lvfi.flags, find.lvfi.psz, find.iStart) : -1;
        return false;
    }
    case LVN_ODFINDITEMW: { // the list view may ask in UTF-16 whatever the parent's format
        const auto& find = reinterpret_cast<const NMLVFINDITEMW&>(header);
        char typed[MAX_PATH] = "";
        if (find.lvfi.psz != nullptr) {
            WideCharToMultiByte(CP_ACP, 0, find.lvfi.psz, -1, typed, sizeof(typed), nullptr,
                                nullptr);
        }
        *result = FindEntry(find.lvfi.flags, typed, find.iStart);
        return false;
    }
    case LVN_COLUMNCLICK: {
        const int column = reinterpret_cast<const NMLISTVIEW&>(header).iSubItem;
        ascending = column == sortColumn ? !ascending : true;
        sortColumn = column;
        const std::string keep = SelectedName();
        reloading = true;
        SortEntries();
        ListView_SetItemState(browser, -1, 0, LVIS_SELECTED | LVIS_FOCUSED);
        for (std::size_t i = 0; !keep.empty() && i < entries.size(); ++i) {
            if (entries[i].name == keep) {
                ListView_SetItemState(browser, static_cast<int>(i), LVIS_SELECTED | LVIS_FOCUSED,
                                      LVIS_SELECTED | LVIS_FOCUSED);
            }
        }
        reloading = false;
        InvalidateRect(browser, nullptr, FALSE);
        return false;
    }
    case NM_DBLCLK:
    case NM_RETURN:
        OpenSelected();
        return true;
    case NM_CLICK:
    case NM_RCLICK:
    case NM_RDBLCLK:
    case LVN_BEGINDRAG:
        return true;
    case LVN_ITEMCHANGED: {
        const auto& change = reinterpret_cast<const NMLISTVIEW&>(header);
        const UINT watched = LVIS_SELECTED | LVIS_FOCUSED;
        return !reloading && (change.uChanged & LVIF_STATE) != 0 &&
               ((change.uNewState ^ change.uOldState) & watched) != 0;
    }
    case LVN_ODSTATECHANGED:
        return !reloading;
    default:
        return false;
    }
}

void CloseFolderBrowser() {
    if (browser != nullptr) {
        SetWatchedFolder(std::string());
        browser = nullptr;
    }
}

} // namespace platform::win32
