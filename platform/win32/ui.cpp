// The window layer over the Windows API. Window procedures turn what the user
// does into events in a queue that WaitForEvent hands out one at a time; a
// close request closes nothing by itself.
#include "platform/ui.h"
#include "platform/win32/win32_ui.h"

#include <commdlg.h>
#include <deque>
#include <map>
#include <mutex>
#include <objbase.h>
#include <richedit.h>
#include <shellapi.h>
#include <vector>

namespace platform {
namespace {

constexpr const char* kWindowClass = "SkimdexWindow";
constexpr const char* kPageClass = "SkimdexPage";

enum class Kind { Window, Static, Button, Edit, CheckBox, Tab, Browser, Picture, RichText };

struct ControlEntry {
    HWND hwnd;
    int window; // the top-level window it belongs to
    Kind kind;
    int image;
};

struct WindowEntry {
    int id;
    HWND hwnd;
};

struct Event {
    EventKind kind;
    int id;
};

HINSTANCE instance = nullptr;
HICON programIcon = nullptr;
HFONT guiFont = nullptr;
const char* richTextClass = nullptr;

std::vector<WindowEntry> windows;
std::map<int, ControlEntry> controls;
std::mutex controlsLock; // SetControlText comes from worker threads too
std::deque<Event> events;
int lastControl = 0;
int lastWindow = 0;

// Where the controls created next go.
int currentWindow = -1;
HWND currentParent = nullptr;
HWND currentPanel = nullptr;
std::vector<HWND> pages; // of the current panel, one per tab

HWND WindowHandle(int id) {
    for (const WindowEntry& entry : windows) {
        if (entry.id == id) {
            return entry.hwnd;
        }
    }
    return nullptr;
}

int WindowIdOf(HWND hwnd) {
    for (const WindowEntry& entry : windows) {
        if (entry.hwnd == hwnd) {
            return entry.id;
        }
    }
    return -1;
}

const ControlEntry* FindControl(int id) {
    std::lock_guard<std::mutex> guard(controlsLock);
    const auto found = controls.find(id);
    return found != controls.end() ? &found->second : nullptr;
}

HWND ControlHandle(int id) {
    const ControlEntry* entry = FindControl(id);
    return entry != nullptr ? entry->hwnd : nullptr;
}

void Push(EventKind kind, int id) {
    events.push_back({kind, id});
}

void ShowPage(int index) {
    for (std::size_t i = 0; i < pages.size(); ++i) {
        ShowWindow(pages[i], static_cast<int>(i) == index ? SW_SHOW : SW_HIDE);
    }
}

// Control notifications, whether they reach the window or a tab page.
bool HandleControlMessage(UINT message, WPARAM wParam, LPARAM lParam, LRESULT* result) {
    switch (message) {
    case WM_COMMAND: {
        const int id = LOWORD(wParam);
        const ControlEntry* entry = FindControl(id);
        if (entry == nullptr || reinterpret_cast<HWND>(lParam) != entry->hwnd) {
            return false;
        }
        const UINT code = HIWORD(wParam);
        const bool button = entry->kind == Kind::Button || entry->kind == Kind::CheckBox ||
                            entry->kind == Kind::Picture;
        const bool edit = entry->kind == Kind::Edit &&
                          (code == EN_CHANGE || code == EN_SETFOCUS || code == EN_KILLFOCUS);
        const bool rich =
            entry->kind == Kind::RichText && (code == EN_SETFOCUS || code == EN_KILLFOCUS);
        if ((button && code == BN_CLICKED) || edit || rich) {
            Push(EventKind::Control, id);
        }
        *result = 0;
        return true;
    }
    case WM_NOTIFY: {
        const NMHDR& header = *reinterpret_cast<const NMHDR*>(lParam);
        const int id = static_cast<int>(header.idFrom);
        const ControlEntry* entry = FindControl(id);
        if (entry == nullptr || entry->hwnd != header.hwndFrom) {
            return false;
        }
        *result = 0;
        if (entry->kind == Kind::Tab) {
            if (header.code == TCN_SELCHANGE) {
                ShowPage(TabCtrl_GetCurSel(entry->hwnd));
                Push(EventKind::Control, id);
            } else if (header.code == NM_CLICK) {
                Push(EventKind::Control, id);
            }
        } else if (entry->kind == Kind::Browser) {
            if (win32::HandleFolderBrowserNotify(header, result)) {
                Push(EventKind::Control, id);
            }
        }
        return true;
    }
    case WM_DRAWITEM: {
        const auto& item = *reinterpret_cast<const DRAWITEMSTRUCT*>(lParam);
        const ControlEntry* entry = FindControl(static_cast<int>(item.CtlID));
        if (entry == nullptr || entry->kind != Kind::Picture) {
            return false;
        }
        win32::DrawPictureButton(item, entry->image);
        *result = TRUE;
        return true;
    }
    default:
        return false;
    }
}

LRESULT CALLBACK WindowProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleControlMessage(message, wParam, lParam, &result)) {
        return result;
    }
    if (message == WM_CLOSE) {
        const int id = WindowIdOf(hwnd);
        if (id >= 0) {
            Push(EventKind::CloseRequest, id);
        }
        return 0;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

LRESULT CALLBACK PageProcedure(HWND hwnd, UINT message, WPARAM wParam, LPARAM lParam) {
    LRESULT result = 0;
    if (HandleControlMessage(message, wParam, lParam, &result)) {
        return result;
    }
    return DefWindowProcA(hwnd, message, wParam, lParam);
}

void RegisterClasses() {
    WNDCLASSEXA window{};
    window.cbSize = sizeof(window);
    window.lpfnWndProc = WindowProcedure;
    window.hInstance = instance;
    window.hIcon = programIcon;
    window.hIconSm = programIcon;
    window.hCursor = LoadCursor(nullptr, IDC_ARROW);
    window.hbrBackground = reinterpret_cast<HBRUSH>(COLOR_BTNFACE + 1);
    window.lpszClassName = kWindowClass;
    RegisterClassExA(&window);

    WNDCLASSEXA page = window;
    page.lpfnWndProc = PageProcedure;
    page.hIcon = nullptr;
    page.hIconSm = nullptr;
    page.lpszClassName = kPageClass;
    RegisterClassExA(&page);
}

void Register(int id, HWND hwnd, Kind kind, int image = -1) {
    if (hwnd == nullptr) {
        return; // a control that cannot be created is simply missing
    }
    SendMessageA(hwnd, WM_SETFONT, reinterpret_cast<WPARAM>(guiFont), FALSE);
    std::lock_guard<std::mutex> guard(controlsLock);
    controls[id] = {hwnd, currentWindow, kind, image};
}

HWND MakeChild(const char* className, int id, Rect rect, const std::string& text, DWORD style,
               DWORD exStyle = 0) {
    if (currentParent == nullptr) {
        return nullptr;
    }
    return CreateWindowExA(exStyle, className, text.c_str(), WS_CHILD | WS_VISIBLE | style, rect.x,
                           rect.y, rect.width, rect.height, currentParent,
                           reinterpret_cast<HMENU>(static_cast<INT_PTR>(id)), instance, nullptr);
}

DWORD CommonStyle(unsigned settings) {
    return (settings & kGroupStart) != 0 ? WS_GROUP : 0;
}

// Every window below `parent`, each before its own children, in stacking
// order: the tab panel (raised first) and its pages' controls, then the
// window's other controls in the order they were made.
void CollectInTabOrder(HWND parent, std::vector<HWND>& order) {
    for (HWND child = GetWindow(parent, GW_CHILD); child != nullptr;
         child = GetWindow(child, GW_HWNDNEXT)) {
        order.push_back(child);
        CollectInTabOrder(child, order);
    }
}

bool TakesTab(HWND hwnd) {
    return (GetWindowLongA(hwnd, GWL_STYLE) & WS_TABSTOP) != 0 && IsWindowVisible(hwnd) &&
           IsWindowEnabled(hwnd);
}

// Tab and Shift+Tab move among the visible, enabled tab stops in that order,
// going round.
bool MoveFocusOnTab(const MSG& message) {
    if (message.message != WM_KEYDOWN || message.wParam != VK_TAB) {
        return false;
    }
    HWND top = GetAncestor(message.hwnd, GA_ROOT);
    if (top == nullptr || WindowIdOf(top) < 0) {
        return false;
    }
    std::vector<HWND> order;
    CollectInTabOrder(top, order);
    const int count = static_cast<int>(order.size());
    if (count == 0) {
        return true;
    }
    const bool back = (GetKeyState(VK_SHIFT) & 0x8000) != 0;
    HWND focus = GetFocus();
    int at = back ? count : -1;
    for (int i = 0; i < count; ++i) {
        if (order[static_cast<std::size_t>(i)] == focus ||
            IsChild(order[static_cast<std::size_t>(i)], focus)) {
            at = i;
        }
    }
    for (int step = 1; step <= count; ++step) {
        const int i = ((at + (back ? -step : step)) % count + count) % count;
        if (TakesTab(order[static_cast<std::size_t>(i)])) {
            SetFocus(order[static_cast<std::size_t>(i)]);
            break;
        }
    }
    return true;
}

} // namespace

namespace win32 {

HINSTANCE Instance() {
    return instance;
}
HFONT GuiFont() {
    return guiFont;
}
void RaiseControlEvent(int control) {
    Push(EventKind::Control, control);
}

HWND OwnerWindow() {
    for (auto it = windows.rbegin(); it != windows.rend(); ++it) {
        if (IsWindowVisible(it->hwnd)) {
            return it->hwnd;
        }
    }
    return nullptr;
}

} // namespace win32

void InitialiseWindowing() {
    instance = GetModuleHandleA(nullptr);
    InitCommonControls();
    INITCOMMONCONTROLSEX classes{};
    classes.dwSize = sizeof(classes);
    classes.dwICC = ICC_TAB_CLASSES | ICC_DATE_CLASSES | ICC_USEREX_CLASSES | ICC_INTERNET_CLASSES |
                    ICC_LISTVIEW_CLASSES;
    InitCommonControlsEx(&classes);
    CoInitialize(nullptr);
    programIcon = LoadIconA(instance, MAKEINTRESOURCEA(1));
    guiFont = static_cast<HFONT>(GetStockObject(DEFAULT_GUI_FONT));
    RegisterClasses();
}

bool OpenWindow(int window, Rect rect, const std::string& title, WindowStyle style) {
    const DWORD styleBits = style == WindowStyle::Main
                                ? WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX | WS_CLIPCHILDREN
                                : WS_POPUP | WS_CLIPCHILDREN;
    RECT outer{0, 0, rect.width, rect.height};
    AdjustWindowRectEx(&outer, styleBits, FALSE, 0);
    HWND hwnd = CreateWindowExA(0, kWindowClass, title.c_str(), styleBits, rect.x, rect.y,
                                outer.right - outer.left, outer.bottom - outer.top, nullptr,
                                nullptr, instance, nullptr);
    if (hwnd == nullptr) {
        return false;
    }
    windows.push_back({window, hwnd});
    ShowWindow(hwnd, SW_SHOWNORMAL);
    UpdateWindow(hwnd);
    currentWindow = window;
    currentParent = hwnd;
    currentPanel = nullptr;
    pages.clear();
    return true;
}

void CloseWindowById(int window) {
    HWND hwnd = WindowHandle(window);
    if (hwnd == nullptr) {
        return;
    }
    {
        std::lock_guard<std::mutex> guard(controlsLock);
        for (auto it = controls.begin(); it != controls.end();) {
            it = it->second.window == window ? controls.erase(it) : std::next(it);
        }
    }
    if (window == currentWindow) {
        currentParent = nullptr;
        currentPanel = nullptr;
        pages.clear();
    }
    for (auto it = windows.begin(); it != windows.end(); ++it) {
        if (it->id == window) {
            windows.erase(it);
            break;
        }
    }
    DestroyWindow(hwnd);
}

void CreateStaticText(int control, Rect rect, const std::string& text, unsigned settings) {
    const DWORD align = (settings & kLeftAligned) != 0 ? SS_LEFT : 0;
    Register(control, MakeChild("STATIC", control, rect, text, align | CommonStyle(settings)),
             Kind::Static);
}

void CreatePushButton(int control, Rect rect, const std::string& text, unsigned settings) {
    const DWORD look = (settings & kFlat) != 0 ? BS_FLAT : 0;
    Register(control,
             MakeChild("BUTTON", control, rect, text,
                       BS_PUSHBUTTON | look | WS_TABSTOP | CommonStyle(settings)),
             Kind::Button);
}

void CreateEditField(int control, Rect rect, const std::string& text, unsigned settings) {
    DWORD style = WS_TABSTOP | CommonStyle(settings);
    style |= (settings & kCentered) != 0 ? ES_CENTER : ES_LEFT;
    style |= (settings & kAutoHScroll) != 0 ? ES_AUTOHSCROLL : 0;
    const DWORD exStyle = (settings & kSunkenEdge) != 0 ? WS_EX_CLIENTEDGE : 0;
    Register(control, MakeChild("EDIT", control, rect, text, style, exStyle), Kind::Edit);
}

void CreateCheckBox(int control, Rect rect, const std::string& text, unsigned settings) {
    const DWORD behaviour = (settings & kAutoCheck) != 0 ? BS_AUTOCHECKBOX : BS_CHECKBOX;
    Register(
        control,
        MakeChild("BUTTON", control, rect, text, behaviour | WS_TABSTOP | CommonStyle(settings)),
        Kind::CheckBox);
}

void CreateTabPanel(int control, Rect rect) {
    HWND panel = MakeChild(WC_TABCONTROLA, control, rect, "",
                           WS_TABSTOP | WS_CLIPSIBLINGS | WS_CLIPCHILDREN, WS_EX_TRANSPARENT);
    if (panel == nullptr) {
        return;
    }
    SetWindowPos(panel, HWND_TOP, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE | SWP_NOACTIVATE);
    Register(control, panel, Kind::Tab);
    currentPanel = panel;
    pages.clear();
}

void AddTab(int panel, const std::string& title) {
    HWND tabs = ControlHandle(panel);
    if (tabs == nullptr || tabs != currentPanel) {
        return;
    }
    TCITEMA item{};
    item.mask = TCIF_TEXT;
    item.pszText = const_cast<char*>(title.c_str());
    const int index = TabCtrl_GetItemCount(tabs);
    SendMessageA(tabs, TCM_INSERTITEMA, static_cast<WPARAM>(index),
                 reinterpret_cast<LPARAM>(&item));

    RECT strip{};
    TabCtrl_GetItemRect(tabs, 0, &strip);
    RECT area{};
    GetClientRect(tabs, &area);
    const int top = strip.bottom + 4;
    HWND page = CreateWindowExA(
        0, kPageClass, "",
        WS_CHILD | WS_CLIPSIBLINGS | WS_CLIPCHILDREN | (index == 0 ? WS_VISIBLE : 0), 2, top,
        area.right - 4, area.bottom - 2 - top, tabs, nullptr, instance, nullptr);
    pages.push_back(page);
    currentParent = page;
    if (index == 0) {
        TabCtrl_SetCurSel(tabs, 0);
    }
}

void CloseTabContents() {
    currentParent = WindowHandle(currentWindow);
}

void CreateFolderBrowser(int control, Rect rect, const std::string& startFolder) {
    if (currentParent == nullptr) {
        return;
    }
    Register(control,
             win32::CreateFolderBrowserWindow(currentParent, control, rect.x, rect.y, rect.width,
                                              rect.height, startFolder),
             Kind::Browser);
}

void CreatePictureButton(int control, Rect rect, int image) {
    Register(control, MakeChild("BUTTON", control, rect, "", BS_OWNERDRAW | WS_TABSTOP),
             Kind::Picture, image);
}

void CreateRichTextBox(int control, Rect rect, unsigned settings) {
    if (richTextClass == nullptr) {
        if (LoadLibraryA("RICHED20.DLL") != nullptr) {
            richTextClass = "RichEdit20A";
        } else if (LoadLibraryA("RICHED32.DLL") != nullptr) {
            richTextClass = "RichEdit";
        } else {
            return;
        }
    }
    DWORD style = ES_MULTILINE | WS_VSCROLL | WS_HSCROLL | ES_AUTOVSCROLL | WS_TABSTOP;
    style |= (settings & kReadOnly) != 0 ? ES_READONLY : 0;
    const DWORD exStyle = (settings & kSunkenEdge) != 0 ? WS_EX_CLIENTEDGE : 0;
    HWND box = MakeChild(richTextClass, control, rect, "", style, exStyle);
    if (box != nullptr) {
        SendMessageA(box, EM_EXLIMITTEXT, 0, 0x7FFFFFFE);
    }
    Register(control, box, Kind::RichText);
}

void SwitchOnWordWrap(int control) {
    if (HWND box = ControlHandle(control)) {
        SendMessageA(box, EM_SETTARGETDEVICE, 0, 0);
    }
}

std::string GetControlText(int control) {
    const ControlEntry* entry = FindControl(control);
    if (entry == nullptr) {
        return std::string();
    }
    if (entry->kind == Kind::Browser) {
        return win32::FolderBrowserText();
    }
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(entry->hwnd)) + 1, '\0');
    text.resize(static_cast<std::size_t>(
        GetWindowTextA(entry->hwnd, &text[0], static_cast<int>(text.size()))));
    return text;
}

void SetControlText(int control, const std::string& text) {
    // From another thread this is a message that the window's own thread
    // carries out; the caller waits for it.
    if (HWND hwnd = ControlHandle(control)) {
        SetWindowTextA(hwnd, text.c_str());
    }
}

int GetCheckState(int control) {
    HWND box = ControlHandle(control);
    return box != nullptr && SendMessageA(box, BM_GETCHECK, 0, 0) == BST_CHECKED ? 1 : 0;
}

void SetCheckState(int control, int state) {
    if (HWND box = ControlHandle(control)) {
        SendMessageA(box, BM_SETCHECK, state != 0 ? BST_CHECKED : BST_UNCHECKED, 0);
    }
}

void SetControlHidden(int control, bool hidden) {
    if (HWND hwnd = ControlHandle(control)) {
        ShowWindow(hwnd, hidden ? SW_HIDE : SW_SHOW);
    }
}

EventKind WaitForEvent() {
    while (events.empty()) {
        MSG message;
        const BOOL got = GetMessageA(&message, nullptr, 0, 0);
        if (got == 0 || got == -1) {
            // Nothing more will come: ask the top window to close.
            Push(EventKind::CloseRequest, windows.empty() ? 0 : windows.back().id);
            break;
        }
        if (MoveFocusOnTab(message)) {
            continue;
        }
        TranslateMessage(&message);
        DispatchMessageA(&message);
    }
    const Event event = events.front();
    events.pop_front();
    if (event.kind == EventKind::Control) {
        lastControl = event.id;
    } else if (event.kind == EventKind::CloseRequest) {
        lastWindow = event.id;
    }
    return event.kind;
}

int EventControl() {
    return lastControl;
}
int EventWindow() {
    return lastWindow;
}

MessageAnswer ShowMessage(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) {
    UINT type = buttons == MessageButtons::YesNo ? MB_YESNO : MB_OK;
    type |= icon == MessageIcon::Warning ? MB_ICONWARNING : 0;
    switch (MessageBoxA(win32::OwnerWindow(), text.c_str(), title.c_str(), type)) {
    case IDOK:
        return MessageAnswer::Ok;
    case IDYES:
        return MessageAnswer::Yes;
    case IDNO:
        return MessageAnswer::No;
    default:
        return MessageAnswer::Other;
    }
}

std::string AskSaveFilePath(const std::string& title, const std::string& filter,
                            const std::string& startFolder) {
    // The dialog wants "display\0pattern\0\0".
    std::string filters = filter;
    for (char& c : filters) {
        c = c == '|' ? '\0' : c;
    }
    filters.append(2, '\0');
    char path[MAX_PATH] = "";
    OPENFILENAMEA dialog{};
    dialog.lStructSize = sizeof(dialog);
    dialog.hwndOwner = win32::OwnerWindow();
    dialog.lpstrFilter = filters.c_str();
    dialog.nFilterIndex = 1;
    dialog.lpstrFile = path;
    dialog.nMaxFile = MAX_PATH;
    dialog.lpstrInitialDir = startFolder.c_str();
    dialog.lpstrTitle = title.c_str();
    dialog.Flags = OFN_EXPLORER | OFN_PATHMUSTEXIST | OFN_HIDEREADONLY | OFN_NOCHANGEDIR;
    if (!GetSaveFileNameA(&dialog)) {
        return std::string();
    }
    return std::string(path);
}

void OpenDocument(const std::string& url) {
    SHELLEXECUTEINFOA execute{};
    execute.cbSize = sizeof(execute);
    execute.fMask = SEE_MASK_NOCLOSEPROCESS;
    execute.lpVerb = "";
    execute.lpFile = url.c_str();
    execute.lpParameters = "";
    execute.nShow = SW_SHOWNORMAL;
    if (ShellExecuteExA(&execute) && execute.hProcess != nullptr) {
        CloseHandle(execute.hProcess);
    }
}

void CloseDownWindowing() {
    win32::CloseFolderBrowser();
    while (!windows.empty()) {
        CloseWindowById(windows.back().id);
    }
    win32::FreePictures();
}

} // namespace platform
