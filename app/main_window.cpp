#include "app/main_window.h"

#include "assets/donate_image.h"
#include "common/program_values.h"

namespace app {
namespace {

using i18n::CatalogueText;

std::string TextOf(const ControlSpec& layout) {
    return layout.hasText ? CatalogueText(layout.text) : std::string();
}

void AddTabFor(Placement placement) {
    if (placement == Placement::ListTab) {
        AddTab(common::kMainPanel, CatalogueText(CatalogueKey::CreateListLabel));
    } else if (placement == Placement::AboutTab) {
        AddTab(common::kMainPanel, CatalogueText(CatalogueKey::AboutTabLabel));
    }
}

void CreateControl(const ControlSpec& layout) {
    switch (layout.kind) {
    case ControlKind::StaticText:
        CreateStaticText(layout.control, layout.rect, TextOf(layout), layout.settings);
        break;
    case ControlKind::PushButton:
        CreatePushButton(layout.control, layout.rect, TextOf(layout), layout.settings);
        break;
    case ControlKind::EditField:
        CreateEditField(layout.control, layout.rect, TextOf(layout), layout.settings);
        break;
    case ControlKind::CheckBox:
        CreateCheckBox(layout.control, layout.rect, TextOf(layout), layout.settings);
        break;
    case ControlKind::TabPanel:
        CreateTabPanel(layout.control, layout.rect);
        break;
    case ControlKind::FolderBrowser:
        CreateFolderBrowser(layout.control, layout.rect, kStartFolder);
        break;
    case ControlKind::PictureButton:
        MakePictureFromMemory(common::kDonateImage, assets::kDonateImageJpeg,
                              assets::kDonateImageJpegSize);
        CreatePictureButton(layout.control, layout.rect, common::kDonateImage);
        break;
    case ControlKind::RichTextBox:
        CreateRichTextBox(layout.control, layout.rect, layout.settings);
        SwitchOnWordWrap(layout.control);
        SetControlText(layout.control, TextOf(layout));
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
    for (const ControlSpec& layout : kMainControls) {
        if (layout.on != placement) {
            placement = layout.on;
            AddTabFor(placement);
        }
        CreateControl(layout);
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
