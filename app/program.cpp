#include "app/program.h"

#include "app/main_window.h"
#include "common/identifiers.h"
#include "common/program_values.h"
#include "i18n/catalogue.h"
#include "i18n/language.h"
#include "listing/create_list_command.h"
#include "platform/files.h"
#include "platform/network.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "update/update_command.h"

namespace app {
namespace {

using i18n::CatalogueKey;
using i18n::CatalogueText;

void ShowFolderInStatus() {
    std::string folder = platform::GetControlText(common::kFolderBrowser);
    if (folder.empty()) {
        folder = CatalogueText(CatalogueKey::RootDirectoryLabel);
    }
    platform::SetControlText(common::kStatusText,
                             CatalogueText(CatalogueKey::DirectoryPrefix) + folder);
}

// Ticking one box unticks the other; unticking leaves both unticked.
void KeepCaseBoxesExclusive(int box, int other) {
    if (platform::GetCheckState(box) == 1) {
        platform::SetCheckState(other, 0);
    } else {
        platform::SetCheckState(box, 0);
    }
}

void HandleControlEvent(int control) {
    switch (control) {
    case common::kFolderBrowser:
        ShowFolderInStatus();
        break;
    case common::kCreateListButton:
        listing::CreateListCommand();
        break;
    case common::kDonateButton:
        platform::OpenDocument(common::DonationUrl());
        break;
    case common::kLowercaseCheck:
        KeepCaseBoxesExclusive(common::kLowercaseCheck, common::kUppercaseCheck);
        break;
    case common::kUppercaseCheck:
        KeepCaseBoxesExclusive(common::kUppercaseCheck, common::kLowercaseCheck);
        break;
    case common::kUpdateButton:
        update::CheckForUpdate();
        break;
    default: // the panel, the status line, the about box
        break;
    }
}

} // namespace

void EventLoop() {
    for (;;) {
        switch (platform::WaitForEvent()) {
        case platform::EventKind::Control:
            HandleControlEvent(platform::EventControl());
            break;
        case platform::EventKind::CloseRequest:
            if (platform::EventWindow() == common::kMainWindow) {
                platform::CloseWindowById(common::kMainWindow);
                return;
            }
            break;
        case platform::EventKind::Other:
            break;
        }
    }
}

void StartUp() {
    platform::InitialiseWindowing();
    common::NetworkState = platform::StartNetwork() ? "ok" : "no";
    common::SetProgramConstants();
    common::ProgramDirectory =
        common::WithTrailingSeparator(platform::CurrentDirectory(), platform::PathSeparator());
    // libjpeg is linked into the program, so pictures can be decoded from here on.
    if (i18n::ResolveLanguage() == i18n::LanguageResolution::Declined) {
        return;
    }
    if (!BuildMainWindow()) {
        return;
    }
    EventLoop();
}

void CloseEverything() {
    platform::StopNetwork();
    platform::CloseDownWindowing();
    platform::CloseAllFiles();
}

void Shutdown() {
    CloseEverything();
    platform::EndProcess(0);
}

} // namespace app
