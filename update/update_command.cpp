#include "update/update_command.h"

#include "common/identifiers.h"
#include "common/program_values.h"
#include "i18n/catalogue.h"
#include "platform/system.h"
#include "platform/ui.h"
#include "update/download.h"
#include "update/version_lookup.h"

namespace update {
namespace {

using i18n::CatalogueKey;
using i18n::CatalogueText;

void ReportFailure() {
    platform::ShowMessage(CatalogueText(CatalogueKey::ErrorTitle),
                          CatalogueText(CatalogueKey::FileUnavailableText),
                          platform::MessageButtons::Ok, platform::MessageIcon::None);
}

} // namespace

unsigned BlinkNotice(void* notice) {
    const std::string& text = *static_cast<const std::string*>(notice);
    for (int blink = 0; blink < kBlinkCount; ++blink) {
        platform::SetControlText(common::kStatusText, std::string());
        platform::SleepMilliseconds(kBlinkPauseMs);
        platform::SetControlText(common::kStatusText, text);
        platform::SleepMilliseconds(kBlinkPauseMs);
    }
    return 0;
}

void CheckForUpdate() {
    const std::string version = PublishedVersion(FetchUrlText(common::VersionInfoUrl));
    if (version == common::ProgramVersion) {
        // The catalogue's texts do not change after start-up, so the blinker
        // may hold on to this one.
        const std::string& notice = CatalogueText(CatalogueKey::AlreadyLatestText);
        platform::StartWorker(BlinkNotice, const_cast<std::string*>(&notice));
        return;
    }
    // No version at all (no network, an error page, no markers) is a failed
    // lookup, not an update.
    if (version.empty()) {
        ReportFailure();
        return;
    }
    const platform::MessageAnswer answer = platform::ShowMessage(
        CatalogueText(CatalogueKey::UpdateLabel),
        "Version " + version + CatalogueText(CatalogueKey::UpdateOnlineSuffix),
        platform::MessageButtons::YesNo, platform::MessageIcon::None);
    if (answer != platform::MessageAnswer::Yes) {
        return;
    }
    if (DownloadToFile(common::UpdateArchiveUrl, common::ProgramDirectory + kArchiveName)) {
        platform::ShowMessage(CatalogueText(CatalogueKey::UpdateLabel),
                              CatalogueText(CatalogueKey::UpdateSavedPrefix) +
                                  common::ProgramDirectory,
                              platform::MessageButtons::Ok, platform::MessageIcon::None);
    } else {
        ReportFailure();
    }
}

} // namespace update
