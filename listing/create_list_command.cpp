#include "listing/create_list_command.h"

#include "common/identifiers.h"
#include "i18n/catalogue.h"
#include "listing/list_writer.h"
#include "platform/ui.h"

namespace listing {
namespace {

using i18n::CatalogueKey;
using i18n::CatalogueText;

void ReportStatus(CatalogueKey key) {
    platform::SetControlText(common::kStatusText, CatalogueText(key));
}

CaseMode ChosenCaseMode() {
    if (platform::GetCheckState(common::kUppercaseCheck) == 1) {
        return CaseMode::Uppercase;
    }
    if (platform::GetCheckState(common::kLowercaseCheck) == 1) {
        return CaseMode::Lowercase;
    }
    return CaseMode::AsIs;
}

} // namespace

std::string ExtensionOf(const std::string& path) {
    const std::size_t stop = path.find_last_of(".\\/");
    if (stop == std::string::npos || path[stop] != '.') {
        return std::string();
    }
    const std::size_t end = path.find('"', stop + 1);
    return path.substr(stop + 1, end == std::string::npos ? std::string::npos : end - stop - 1);
}

void CreateListCommand() {
    const std::string folder = platform::GetControlText(common::kFolderBrowser);
    if (folder.empty()) {
        ReportStatus(CatalogueKey::NoFilesHereText);
        return;
    }

    const std::string filter = CatalogueText(CatalogueKey::TextPatternLabel) + " (*.txt)|*.txt";
    std::string target =
        platform::AskSaveFilePath(CatalogueText(CatalogueKey::SaveDialogTitle), filter, "C:\\");
    if (target.empty()) {
        ReportStatus(CatalogueKey::CanceledText);
        return;
    }
    if (ExtensionOf(target) != "txt") {
        target += ".txt";
    }

    switch (WriteFolderList(folder, ChosenCaseMode(), target)) {
    case ListOutcome::Created:
        ReportStatus(CatalogueKey::ListCreatedText);
        break;
    case ListOutcome::TargetNotOpened:
    case ListOutcome::WriteFailed:
        ReportStatus(CatalogueKey::CanceledText);
        break;
    case ListOutcome::FolderNotScanned:
        // The status keeps what it showed before the press.
        break;
    }
}

} // namespace listing
