#include "i18n/language.h"

#include "common/program_values.h"
#include "platform/files.h"

namespace i18n {
namespace {

int SlotOf(Language language) {
    return static_cast<int>(language);
}

std::string MarkerPath(const LanguageMarker& marker) {
    return common::ProgramDirectory + marker.name;
}

bool SelectRecordedLanguage() {
    for (const LanguageMarker& marker : kLanguageMarkers) {
        if (platform::OpenFileForReading(SlotOf(marker.language), MarkerPath(marker))) {
            platform::CloseFile(SlotOf(marker.language));
            SelectLanguage(marker.language);
            return true;
        }
    }
    return false;
}

enum class Choice { Language, Declined, WindowMissing };

bool OpenChooser() {
    if (!platform::OpenWindow(kLanguageWindow, kLanguageWindowRect, kLanguageWindowTitle,
                              platform::WindowStyle::Popup)) {
        return false;
    }
    for (const ChooserButton& button : kChooserButtons) {
        platform::CreatePushButton(button.control, button.rect, button.text, button.settings);
    }
    return true;
}

// Waits for a button of the chooser. A close request (Alt+F4) counts as the
// exit button.
Choice WaitForChoice() {
    if (!OpenChooser()) {
        return Choice::WindowMissing;
    }
    for (;;) {
        const platform::EventKind kind = platform::WaitForEvent();
        if (kind == platform::EventKind::CloseRequest &&
            platform::EventWindow() == kLanguageWindow) {
            return Choice::Declined;
        }
        if (kind != platform::EventKind::Control) {
            continue;
        }
        const int control = platform::EventControl();
        if (control == kExitButton) {
            return Choice::Declined;
        }
        for (const LanguageMarker& marker : kLanguageMarkers) {
            if (control == marker.button) {
                // Whether the marker could be made is left to the next search.
                if (platform::CreateEmptyFile(SlotOf(marker.language), MarkerPath(marker))) {
                    platform::CloseFile(SlotOf(marker.language));
                }
                platform::CloseWindowById(kLanguageWindow);
                return Choice::Language;
            }
        }
    }
}

} // namespace

LanguageResolution ResolveLanguage() {
    while (!SelectRecordedLanguage()) {
        switch (WaitForChoice()) {
        case Choice::Language:
            break;
        case Choice::Declined:
            platform::ShowMessage(kRefusalTitle, kRefusalText, platform::MessageButtons::Ok,
                                  platform::MessageIcon::Warning);
            return LanguageResolution::Declined;
        case Choice::WindowMissing:
            // Nothing to wait on: end as if the user had declined, silently.
            return LanguageResolution::Declined;
        }
    }
    return LanguageResolution::Selected;
}

} // namespace i18n
