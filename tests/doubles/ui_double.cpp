#include "tests/doubles/ui_double.h"

#include <mutex>
#include <thread>

namespace doubles {
namespace {

State state;
std::mutex textLock; // the blinker sets texts from its own thread
std::thread::id mainThread = std::this_thread::get_id();
int currentWindow = -1;
int currentTab = -1;
int lastControl = 0;
int lastWindow = 0;

Control& Add(Kind kind, int id, platform::Rect rect, const std::string& text, unsigned settings) {
    Control control;
    control.id = id;
    control.kind = kind;
    control.window = currentWindow;
    control.tab = currentTab;
    control.rect = rect;
    control.text = text;
    control.settings = settings;
    state.controls.push_back(control);
    return state.controls.back();
}

} // namespace

State& Ui() {
    return state;
}

void ResetUi() {
    std::lock_guard<std::mutex> guard(textLock);
    state = State();
    mainThread = std::this_thread::get_id();
    currentWindow = -1;
    currentTab = -1;
    lastControl = 0;
    lastWindow = 0;
}

Control* FindControl(int id) {
    for (auto it = state.controls.rbegin(); it != state.controls.rend(); ++it) {
        if (it->id == id) {
            return &*it;
        }
    }
    return nullptr;
}

Window* FindWindow(int id) {
    for (Window& window : state.windows) {
        if (window.id == id && window.open) {
            return &window;
        }
    }
    return nullptr;
}

void QueueControlEvent(int id, std::function<void()> before) {
    state.events.push_back({platform::EventKind::Control, id, std::move(before)});
}

void QueueClose(int window) {
    state.events.push_back({platform::EventKind::CloseRequest, window, nullptr});
}

void QueueOther() {
    state.events.push_back({platform::EventKind::Other, 0, nullptr});
}

void QueueCheckBoxClick(int id) {
    QueueControlEvent(id, [id] {
        Control* box = FindControl(id);
        box->state = box->state == 1 ? 0 : 1;
    });
}

} // namespace doubles

namespace platform {

using doubles::Kind;
using doubles::state;

void InitialiseWindowing() {
    state.initialised = true;
}

bool OpenWindow(int window, Rect rect, const std::string& title, WindowStyle style) {
    if (!state.windowsOpen) {
        return false;
    }
    doubles::Window record;
    record.id = window;
    record.rect = rect;
    record.title = title;
    record.style = style;
    state.windows.push_back(record);
    doubles::currentWindow = window;
    doubles::currentTab = -1;
    return true;
}

void CloseWindowById(int window) {
    if (doubles::Window* record = doubles::FindWindow(window)) {
        record->open = false;
    }
    for (doubles::Control& control : state.controls) {
        control.destroyed = control.destroyed || control.window == window;
    }
}

void CreateStaticText(int control, Rect rect, const std::string& text, unsigned settings) {
    doubles::Add(Kind::StaticText, control, rect, text, settings);
}

void CreatePushButton(int control, Rect rect, const std::string& text, unsigned settings) {
    doubles::Add(Kind::PushButton, control, rect, text, settings);
}

void CreateEditField(int control, Rect rect, const std::string& text, unsigned settings) {
    doubles::Add(Kind::EditField, control, rect, text, settings);
}

void CreateCheckBox(int control, Rect rect, const std::string& text, unsigned settings) {
    doubles::Add(Kind::CheckBox, control, rect, text, settings);
}

void CreateTabPanel(int control, Rect rect) {
    doubles::Add(Kind::TabPanel, control, rect, "", 0);
}

void AddTab(int, const std::string& title) {
    if (doubles::Window* window = doubles::FindWindow(doubles::currentWindow)) {
        window->tabs.push_back(title);
        doubles::currentTab = static_cast<int>(window->tabs.size()) - 1;
    }
}

void CloseTabContents() {
    doubles::currentTab = -1;
}

void CreateFolderBrowser(int control, Rect rect, const std::string& startFolder) {
    // Stored as the browser shows it: the drive letter raised.
    std::string folder = startFolder;
    if (!folder.empty() && folder[0] >= 'a' && folder[0] <= 'z') {
        folder[0] = static_cast<char>(folder[0] - 'a' + 'A');
    }
    doubles::Add(Kind::FolderBrowser, control, rect, folder, 0);
}

bool MakePictureFromMemory(int image, const unsigned char* data, std::size_t size) {
    if (!state.picturesDecode || data == nullptr || size == 0) {
        return false;
    }
    state.pictures.push_back(image);
    return true;
}

void CreatePictureButton(int control, Rect rect, int image) {
    doubles::Control& button = doubles::Add(Kind::PictureButton, control, rect, "", 0);
    button.image = image;
    for (int made : state.pictures) {
        button.hasPicture = button.hasPicture || made == image;
    }
}

void CreateRichTextBox(int control, Rect rect, unsigned settings) {
    doubles::Add(Kind::RichTextBox, control, rect, "", settings);
}

void SwitchOnWordWrap(int control) {
    if (doubles::Control* box = doubles::FindControl(control)) {
        box->wordWrap = true;
    }
}

std::string GetControlText(int control) {
    std::lock_guard<std::mutex> guard(doubles::textLock);
    doubles::Control* found = doubles::FindControl(control);
    return found != nullptr ? found->text : std::string();
}

void SetControlText(int control, const std::string& text) {
    std::lock_guard<std::mutex> guard(doubles::textLock);
    if (std::this_thread::get_id() != doubles::mainThread) {
        ++state.textSetsFromOtherThreads;
    }
    if (doubles::Control* found = doubles::FindControl(control)) {
        found->text = text;
    }
}

int GetCheckState(int control) {
    doubles::Control* found = doubles::FindControl(control);
    return found != nullptr ? found->state : 0;
}

void SetCheckState(int control, int checked) {
    if (doubles::Control* found = doubles::FindControl(control)) {
        found->state = checked != 0 ? 1 : 0;
    }
}

void SetControlHidden(int control, bool hidden) {
    if (doubles::Control* found = doubles::FindControl(control)) {
        found->hidden = hidden;
    }
}

EventKind WaitForEvent() {
    while (!state.events.empty()) {
        doubles::Event event = std::move(state.events.front());
        state.events.pop_front();
        if (event.kind == EventKind::Control) {
            // A hidden or missing control takes no input.
            doubles::Control* control = doubles::FindControl(event.id);
            if (control == nullptr || control->hidden || control->destroyed) {
                continue;
            }
        }
        if (event.before) {
            event.before();
        }
        if (event.kind == EventKind::Control) {
            doubles::lastControl = event.id;
        } else if (event.kind == EventKind::CloseRequest) {
            doubles::lastWindow = event.id;
        }
        return event.kind;
    }
    // A test whose script ends early must still end: close what is open.
    state.scriptRanOut = true;
    doubles::lastWindow = state.windows.empty() ? 0 : state.windows.back().id;
    return EventKind::CloseRequest;
}

int EventControl() {
    return doubles::lastControl;
}
int EventWindow() {
    return doubles::lastWindow;
}

MessageAnswer ShowMessage(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon) {
    state.messages.push_back({title, text, buttons, icon});
    if (state.messageAnswers.empty()) {
        return buttons == MessageButtons::Ok ? MessageAnswer::Ok : MessageAnswer::No;
    }
    const MessageAnswer answer = state.messageAnswers.front();
    state.messageAnswers.pop_front();
    return answer;
}

std::string AskSaveFilePath(const std::string& title, const std::string& filter,
                            const std::string& startFolder) {
    state.dialogs.push_back({title, filter, startFolder});
    if (state.savePaths.empty()) {
        return std::string();
    }
    std::string path = state.savePaths.front();
    state.savePaths.pop_front();
    return path;
}

void OpenDocument(const std::string& url) {
    state.openedDocuments.push_back(url);
}

void CloseDownWindowing() {
    state.closedDown = true;
    for (doubles::Window& window : state.windows) {
        window.open = false;
    }
    for (doubles::Control& control : state.controls) {
        control.destroyed = true;
    }
    state.pictures.clear();
}

} // namespace platform
