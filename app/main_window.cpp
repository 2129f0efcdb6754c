#include "app/main_window.h"

#include "assets/donate_image.h"
#include "common/program_values.h"

namespace app {
namespace {

using i18n::CatalogueText;

std::string TextOf(const ControlSpec& spec) {
    return spec.hasText ? CatalogueText(spec.text) : std::string();
}

void AddTabFor(Placement placement) {
    if (placement == Placement::ListTab) {
        AddTab(common::kMainPanel, CatalogueText(CatalogueKey::CreateListLabel));
    } else if (placement == Placement::AboutTab) {
        AddTab(common::kMainPanel, CatalogueText(CatalogueKey::AboutTabLabel));
    }
}

void CreateControl(const ControlSpec& spec) {
    switch (spec.kind) {
    case ControlKind::StaticText:
        CreateStaticText(spec.control, spec.rect, TextOf(spec), spec.settings);
        break;
    case ControlKind::PushButton:
        CreatePushButton(spec.control, spec.rect, TextOf(spec), spec.settings);
        break;
    case ControlKind::EditField:
        CreateEditField(spec.control, spec.rect, TextOf(spec), spec.settings);
        break;
    case ControlKind::CheckBox:
        CreateCheckBox(spec.control, spec.rect, TextOf(spec), spec.settings);
        break;
    case ControlKind::TabPanel:
        CreateTabPanel(spec.control, spec.rect);
        break;
    case ControlKind::FolderBrowser:
        CreateFolderBrowser(spec.control, spec.rect, kStartFolder);
        break;
    case ControlKind::PictureButton:
        MakePictureFromMemory(common::kDonateImage, assets::kDonateImageJpeg,
                              assets::kDonateImageJpegSize);
        CreatePictureButton(spec.control, spec.rect, common::kDonateImage);
        break;
    case ControlKind::RichTextBox:
        CreateRichTextBox(spec.control, spec.rect, spec.settings);
        SwitchOnWordWrap(spec.control);
        SetControlText(spec.control, TextOf(spec));
        break;
    }
}

} // namespace

std::string MainWindowTitle() {
    return "SKIMDEX " + common::ProgramVersion + " - QUORVAN ";
}

bool BuildMainWindow() {
    if (!OpenWindow(common::kMainWindow, kMainWindowRect, MainWindowTitle(), WindowStyle::Main)) {
        return false;
    }
    Placement placement = Placement::Window;
    for (const ControlSpec& spec : kMainControls) {
        if (spec.on != placement) {
            placement = spec.on;
            AddTabFor(placement);
        }
        CreateControl(spec);
    }
    CloseTabContents();

    SetControlText(common::kStatusText, CatalogueText(CatalogueKey::YouAreInPrefix) +
                                            GetControlText(common::kFolderBrowser));
    if (common::NetworkState == "no") {
        SetControlHidden(common::kUpdateButton, true);
    } else if (common::NetworkState == "ok") {
        SetControlHidden(common::kUpdateButton, false);
    }
    return true;
}

} // namespace app
