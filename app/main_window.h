// The main window: its controls, where they go and what they say.
#pragma once

#include "common/identifiers.h"
#include "i18n/catalogue.h"
#include "platform/ui.h"

#include <array>

namespace app {

constexpr platform::Rect kMainWindowRect{486, 149, 455, 557};

enum class ControlKind {
    StaticText,
    PushButton,
    EditField,
    CheckBox,
    TabPanel,
    FolderBrowser,
    PictureButton,
    RichTextBox,
};

// Where a control is placed: on the window, or on the page of a tab.
enum class Placement { Window, ListTab, AboutTab };

struct ControlSpec {
    int control;
    const char* name;
    ControlKind kind;
    Placement on;
    platform::Rect rect;
    bool hasText;
    i18n::CatalogueKey text;
    unsigned settings;
};

constexpr const char* kStartFolder = "c:\\";

using i18n::CatalogueKey;
using namespace platform;

// In the order of creation. The panel, made last of the window's own
// controls, is raised above them; the tabs' controls follow on their pages.
constexpr std::array<ControlSpec, 10> kMainControls{{
    {common::kChooseFolderText,
     "ChooseFolderText",
     ControlKind::StaticText,
     Placement::Window,
     {10, 105, 165, 15},
     true,
     CatalogueKey::ChooseDirectoryLabel,
     kLeftAligned},
    {common::kCreateListButton,
     "CreateListButton",
     ControlKind::PushButton,
     Placement::Window,
     {1, 525, 350, 30},
     true,
     CatalogueKey::CreateListLabel,
     kFlat},
    {common::kUpdateButton,
     "UpdateButton",
     ControlKind::PushButton,
     Placement::Window,
     {354, 525, 98, 30},
     true,
     CatalogueKey::UpdateLabel,
     kFlat},
    {common::kStatusText,
     "StatusText",
     ControlKind::EditField,
     Placement::Window,
     {1, 500, 451, 20},
     true,
     CatalogueKey::YouAreInPrefix,
     kCentered | kAutoHScroll | kSunkenEdge},
    {common::kLowercaseCheck,
     "LowercaseCheck",
     ControlKind::CheckBox,
     Placement::Window,
     {5, 481, 145, 15},
     true,
     CatalogueKey::LowercaseLabel,
     kAutoCheck},
    {common::kUppercaseCheck,
     "UppercaseCheck",
     ControlKind::CheckBox,
     Placement::Window,
     {290, 481, 139, 15},
     true,
     CatalogueKey::UppercaseLabel,
     kAutoCheck},
    {common::kMainPanel,
     "MainPanel",
     ControlKind::TabPanel,
     Placement::Window,
     {0, 0, 455, 478},
     false,
     CatalogueKey::CreateListLabel,
     kPlain},
    {common::kFolderBrowser,
     "FolderBrowser",
     ControlKind::FolderBrowser,
     Placement::ListTab,
     {2, 0, 435, 448},
     false,
     CatalogueKey::CreateListLabel,
     kPlain},
    {common::kDonateButton,
     "DonateButton",
     ControlKind::PictureButton,
     Placement::AboutTab,
     {125, 200, 185, 180},
     false,
     CatalogueKey::CreateListLabel,
     kPlain},
    {common::kAboutBox,
     "AboutBox",
     ControlKind::RichTextBox,
     Placement::AboutTab,
     {1, 0, 446, 164},
     true,
     CatalogueKey::AboutText,
     kReadOnly | kSunkenEdge},
}};

// "SKIMDEX 1.0 - QUORVAN ", with its trailing blank.
std::string MainWindowTitle();

// Builds the main window; false when it could not be opened.
bool BuildMainWindow();

} // namespace app
