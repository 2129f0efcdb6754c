// Shared between the parts of the Win32 window layer.
#pragma once

#include <windows.h>

#include <commctrl.h>
#include <string>

namespace platform::win32 {

HINSTANCE Instance();
HFONT GuiFont();

// Queues a control event for WaitForEvent.
void RaiseControlEvent(int control);

// The window that message boxes and dialogs are modal over.
HWND OwnerWindow();

// --- pictures (pictures.cpp) ---
HBITMAP PictureBitmap(int image);
void FreePictures();
// Draws a picture button: its face, the picture centred on it, moved one
// pixel right and down while held down.
void DrawPictureButton(const DRAWITEMSTRUCT& item, int image);

// --- the folder browser (folder_browser.cpp) ---
HWND CreateFolderBrowserWindow(HWND parent, int control, int x, int y, int width, int height,
                               const std::string& startFolder);
std::string FolderBrowserText();
// Handles the browser's notifications; true when one is a user event.
bool HandleFolderBrowserNotify(const NMHDR& header, LRESULT* result);
void CloseFolderBrowser();

} // namespace platform::win32
