// The window layer: windows, controls, events, message boxes and dialogs,
// all named by small identifiers that the program chooses. Windows and
// controls are numbered separately, and so are pictures. Every control's
// Win32 control id is its identifier.
#pragma once

#include <cstddef>
#include <string>

namespace platform {

// A window's x and y are its outer top-left corner on the screen, its width
// and height those of its client area. A control's are relative to what it is
// placed on.
struct Rect {
    int x;
    int y;
    int width;
    int height;
};

enum class WindowStyle {
    Main,  // caption, system menu with close box, minimise box; no sizing
    Popup, // no caption, border or system menu; outer size = client size
};

// How a control looks and behaves, as bits.
enum ControlSetting : unsigned {
    kPlain = 0,
    kFlat = 1u << 0,        // push buttons
    kLeftAligned = 1u << 1, // static text
    kCentered = 1u << 2,    // edit field text
    kAutoHScroll = 1u << 3, // edit field scrolls sideways
    kSunkenEdge = 1u << 4,  // edit field, rich-text box
    kAutoCheck = 1u << 5,   // check box ticks itself when clicked
    kReadOnly = 1u << 6,    // rich-text box
    kGroupStart = 1u << 7,  // a tab stop that starts its own group
};

// Prepares windows, controls, pictures and the shell functions (common
// controls, COM, the icon, the arrow cursor, the default GUI font).
void InitialiseWindowing();

// Opens and shows a top-level window; the controls created next go on it.
bool OpenWindow(int window, Rect rect, const std::string& title, WindowStyle style);

// Destroys the window with all its controls.
void CloseWindowById(int window);

void CreateStaticText(int control, Rect rect, const std::string& text, unsigned settings);
void CreatePushButton(int control, Rect rect, const std::string& text, unsigned settings);
void CreateEditField(int control, Rect rect, const std::string& text, unsigned settings);
void CreateCheckBox(int control, Rect rect, const std::string& text, unsigned settings);

// A tab panel, raised above every control created before it.
void CreateTabPanel(int control, Rect rect);

// Appends a tab with its page; the controls created next go on that page.
void AddTab(int panel, const std::string& title);

// The controls created next go on the window again.
void CloseTabContents();

// The folder browser, loading `startFolder`. Its text is the folder it shows:
// empty at its top level (the drives), else a path ending in a backslash.
void CreateFolderBrowser(int control, Rect rect, const std::string& startFolder);

// Decodes a stored JPEG stream into picture `image`; false when it cannot.
bool MakePictureFromMemory(int image, const unsigned char* data, std::size_t size);

// A push button whose face shows picture `image`; an image that was never
// made gives an empty button.
void CreatePictureButton(int control, Rect rect, int image);

void CreateRichTextBox(int control, Rect rect, unsigned settings);

// The rich-text box wraps its lines at its own width.
void SwitchOnWordWrap(int control);

std::string GetControlText(int control);

// Replaces the whole text; may be called from any thread.
void SetControlText(int control, const std::string& text);

int GetCheckState(int control);
void SetCheckState(int control, int state); // raises no event

// A hidden control takes no input and raises no event.
void SetControlHidden(int control, bool hidden);

enum class EventKind { Control, CloseRequest, Other };

// Blocks until the next event.
EventKind WaitForEvent();

// The control of the last control event; the window of the last close request.
int EventControl();
int EventWindow();

enum class MessageButtons { Ok, YesNo };
enum class MessageIcon { None, Warning };
enum class MessageAnswer { Ok, Yes, No, Other };

// A modal box over the program's windows.
MessageAnswer ShowMessage(const std::string& title, const std::string& text, MessageButtons buttons,
                          MessageIcon icon);

// The save-file dialog: `filter` is "display|pattern". The chosen full path,
// or the empty text on cancel or failure.
std::string AskSaveFilePath(const std::string& title, const std::string& filter,
                            const std::string& startFolder);

// Hands a URL to the shell's default handler; does not wait.
void OpenDocument(const std::string& url);

// Frees the pictures and closes every window still open.
void CloseDownWindowing();

} // namespace platform
