// An in-memory window layer: records every window and control that the
// program creates and replays a script of events, dialog and message-box
// answers. Linked instead of platform/win32's window layer in unit tests.
#pragma once

#include "app/main_window.h"
#include "platform/ui.h"

#include <deque>
#include <functional>
#include <string>
#include <vector>

namespace doubles {

// Which create function made a control.
using Kind = app::ControlKind;

struct Control {
    int id = 0;
    Kind kind = Kind::StaticText;
    int window = -1;
    int tab = -1; // index of the tab whose page holds it; -1 for the window
    platform::Rect rect{};
    std::string text;
    unsigned settings = 0;
    int state = 0;
    bool hidden = false;
    bool wordWrap = false;
    int image = -1;
    bool hasPicture = false;
    bool destroyed = false; // its window was closed; kept for the test to look at
};

struct Window {
    int id = 0;
    platform::Rect rect{};
    std::string title;
    platform::WindowStyle style = platform::WindowStyle::Main;
    bool open = true;
    std::vector<std::string> tabs; // titles of its panel's tabs
};

struct Message {
    std::string title;
    std::string text;
    platform::MessageButtons buttons;
    platform::MessageIcon icon;
};

struct SaveDialog {
    std::string title;
    std::string filter;
    std::string startFolder;
};

// One scripted event. `before` runs just before the event is handed out, to
// play what the user did (a tick, a folder opened).
struct Event {
    platform::EventKind kind;
    int id;
    std::function<void()> before;
};

struct State {
    std::vector<Window> windows;
    std::vector<Control> controls; // in the order of creation
    std::vector<Message> messages;
    std::vector<SaveDialog> dialogs;
    std::vector<std::string> openedDocuments;
    std::vector<int> pictures;
    int textSetsFromOtherThreads = 0;
    bool initialised = false;
    bool closedDown = false;
    bool scriptRanOut = false;

    std::deque<Event> events;
    std::deque<platform::MessageAnswer> messageAnswers;
    std::deque<std::string> savePaths;
    bool picturesDecode = true;
    bool windowsOpen = true;
};

// The double's whole state; Reset() starts a test afresh.
State& Ui();
void ResetUi();

// The latest control of that identifier, destroyed or not.
Control* FindControl(int id);
Window* FindWindow(int id);

// Script helpers.
void QueueControlEvent(int id, std::function<void()> before = nullptr);
void QueueClose(int window);
void QueueOther();
// A click on a check box as the user makes it: the tick flips, then the event.
void QueueCheckBoxClick(int id);

} // namespace doubles
