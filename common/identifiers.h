// Identifiers of the main window, its controls and its picture, which the
// commands address through the window layer.
#pragma once

namespace common {

constexpr int kMainWindow = 0;

constexpr int kChooseFolderText = 1;
constexpr int kMainPanel = 2;
constexpr int kFolderBrowser = 3;
constexpr int kCreateListButton = 4;
constexpr int kStatusText = 5;
constexpr int kDonateButton = 6;
constexpr int kLowercaseCheck = 8;
constexpr int kUppercaseCheck = 9;
constexpr int kAboutBox = 10;
constexpr int kUpdateButton = 12;

constexpr int kDonateImage = 11;

} // namespace common
