// The main window as users see and use it, on the real program.
#include "common/program_values.h"
#include "i18n/catalogue.h"
#include "tests/e2e/fixture.h"

#include <gtest/gtest.h>

using namespace e2e;
using app::ControlKind;
using app::Placement;
using i18n::CatalogueKey;
using i18n::CatalogueText;

namespace {

const char* ClassFor(ControlKind kind) {
    switch (kind) {
    case ControlKind::StaticText:
        return "Static";
    case ControlKind::PushButton:
    case ControlKind::CheckBox:
    case ControlKind::PictureButton:
        return "Button";
    case ControlKind::EditField:
        return "Edit";
    case ControlKind::TabPanel:
        return "SysTabControl32";
    case ControlKind::FolderBrowser:
        return "SysListView32";
    case ControlKind::RichTextBox:
        return "RichEdit20A";
    }
    return "";
}

// A rich-text box gives its paragraphs back with CR LF or CR.
std::string WithLineFeeds(std::string text) {
    std::string out;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\r') {
            out += '\n';
            if (i + 1 < text.size() && text[i + 1] == '\n') {
                ++i;
            }
        } else {
            out += text[i];
        }
    }
    return out;
}

bool Covered(HWND control) {
    RECT rect{};
    GetWindowRect(control, &rect);
    const POINT centre{(rect.left + rect.right) / 2, (rect.top + rect.bottom) / 2};
    return WindowFromPoint(centre) != control;
}

class MainWindowE2e : public ProgramE2e {
  protected:
    // The folder the browsing tests open, on C:, made fresh.
    std::string drive = "C:\\skimdex-e2e\\";

    void MakeTree() {
        CreateDirectoryA(drive.c_str(), nullptr);
        drive +=
            ::testing::UnitTest::GetInstance()->current_test_info()->name() + std::string("\\");
        CreateDirectoryA(drive.c_str(), nullptr);
        CreateDirectoryA((drive + "Inner").c_str(), nullptr);
        WriteFileBytes(drive + "note.txt", "note");
        for (const std::string& name : FolderNames(drive + "Inner\\")) {
            DeleteFileA((drive + "Inner\\" + name).c_str());
        }
        DeleteFileA((drive + "appeared.txt").c_str());
    }

    void ExpectLayout(i18n::Language language, const std::string& shot) {
        i18n::ClearLanguageSelection();
        i18n::SelectLanguage(language);
        RECT outer{};
        GetWindowRect(main, &outer);
        EXPECT_EQ(outer.left, 486);
        EXPECT_EQ(outer.top, 149);
        RECT client{};
        GetClientRect(main, &client);
        EXPECT_EQ(client.right, 455);
        EXPECT_EQ(client.bottom, 557);
        const LONG style = Style(main);
        EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX),
                  WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
        EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

        HWND panel = Get(common::kMainPanel);
        ASSERT_NE(panel, nullptr);
        EXPECT_NE(ExStyle(panel) & WS_EX_TRANSPARENT, 0);
        EXPECT_EQ(TabCount(panel), 2);
        EXPECT_EQ(CurrentTab(panel), 0);

        for (const app::ControlSpec& layout : app::kMainControls) {
            SCOPED_TRACE(layout.name);
            HWND hwnd = Get(layout.control);
            ASSERT_NE(hwnd, nullptr);
            EXPECT_EQ(ClassOf(hwnd), ClassFor(layout.kind));
            const RECT rect = RectInParent(hwnd);
            EXPECT_EQ(rect.left, layout.rect.x);
            EXPECT_EQ(rect.top, layout.rect.y);
            EXPECT_EQ(rect.right - rect.left, layout.rect.width);
            EXPECT_EQ(rect.bottom - rect.top, layout.rect.height);
            if (layout.on == Placement::Window) {
                EXPECT_EQ(GetParent(hwnd), main);
            } else {
                EXPECT_EQ(GetParent(GetParent(hwnd)), panel) << "on a page of the panel";
            }
            EXPECT_EQ(IsWindowVisible(hwnd) != FALSE, layout.on != Placement::AboutTab);
            const bool tabStop =
                layout.kind != ControlKind::StaticText && layout.kind != ControlKind::FolderBrowser;
            EXPECT_EQ((Style(hwnd) & WS_TABSTOP) != 0, tabStop);
            if (layout.hasText && layout.control != common::kStatusText) {
                EXPECT_EQ(WithLineFeeds(Text(hwnd)), CatalogueText(layout.text));
            }
        }
        EXPECT_NE(Style(Get(common::kCreateListButton)) & BS_FLAT, 0);
        EXPECT_NE(Style(Get(common::kUpdateButton)) & BS_FLAT, 0);
        EXPECT_EQ(Style(Get(common::kLowercaseCheck)) & BS_TYPEMASK, BS_AUTOCHECKBOX);
        EXPECT_NE(ExStyle(Get(common::kStatusText)) & WS_EX_CLIENTEDGE, 0);
        EXPECT_NE(Style(Get(common::kAboutBox)) & ES_READONLY, 0);
        EXPECT_EQ(Status(), CatalogueText(CatalogueKey::YouAreInPrefix) + "C:\\");
        EXPECT_EQ(Text(Get(common::kCreateListButton)),
                  CatalogueText(CatalogueKey::CreateListLabel));

        // The pages: 2 pixels in, 4 below the strip, 2 above the bottom.
        HWND listPage = GetParent(Get(common::kFolderBrowser));
        const RECT page = RectInParent(listPage);
        EXPECT_EQ(page.left, 2);
        EXPECT_EQ(page.right - page.left, 451);
        EXPECT_EQ(page.bottom, 478 - 2);
        EXPECT_GT(page.top, 4);

        HWND hidden = Get(common::kChooseFolderText);
        EXPECT_TRUE(Covered(hidden)) << "under the list";
        Screenshot(shot + "-list");

        PickTab(panel, 1);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Get(common::kAboutBox)) != FALSE; }));
        EXPECT_FALSE(IsWindowVisible(listPage));
        EXPECT_TRUE(IsWindowVisible(Get(common::kDonateButton)));
        EXPECT_TRUE(Covered(hidden)) << "under the about text";
        Screenshot(shot + "-about");

        PickTab(panel, 0);
        ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(listPage) != FALSE; }));
        EXPECT_FALSE(IsWindowVisible(Get(common::kAboutBox)));
    }
};

} // namespace

TEST_F(MainWindowE2e, FrenchLayoutAndTabs) {
    LaunchToMain("fr.lng");
    ExpectLayout(i18n::Language::French, "main-french");
    CloseMain();
}

TEST_F(MainWindowE2e, EnglishLayoutAndTabs) {
    LaunchToMain("uk.lng");
    ExpectLayout(i18n::Language::English, "main-english");
    CloseMain();
}

TEST_F(MainWindowE2e, GermanLayoutAndTabs) {
    LaunchToMain("de.lng");
    ExpectLayout(i18n::Language::German, "main-german");
    CloseMain();
}

TEST_F(MainWindowE2e, SpanishLayoutAndTabs) {
    LaunchToMain("es.lng");
    ExpectLayout(i18n::Language::Spanish, "main-spanish");
    CloseMain();
}

TEST_F(MainWindowE2e, BrowsingKeepsTheStatusLineInStep) {
    MakeTree();
    LaunchToMain();
    HWND list = Get(common::kFolderBrowser);
    ListView view(list);
    EXPECT_EQ(view.Columns(), 4);

    // A single click raises an event but opens nothing.
    ASSERT_GE(view.Count(), 2);
    ClickAt(list, view.RowPoint(1));
    EXPECT_TRUE(WaitForStatus("Directory : C:\\")) << Status();
    EXPECT_EQ(view.Selected(), 1);

    const std::string name = ::testing::UnitTest::GetInstance()->current_test_info()->name();
    OpenAndWait("skimdex-e2e", "Directory : C:\\skimdex-e2e\\");
    OpenAndWait(name, "Directory : " + drive);
    // "..", then the folders, then the files.
    EXPECT_EQ(view.Count(), 3);
    EXPECT_EQ(view.TypeToSelect(".."), 0);
    EXPECT_EQ(view.TypeToSelect("Inner"), 1);
    EXPECT_EQ(view.TypeToSelect("note"), 2);

    // A double click on a file opens nothing; the status is rebuilt the same.
    SetWindowTextA(Get(common::kStatusText), "typed by the user");
    DoubleClickAt(list, view.RowPoint(2));
    EXPECT_TRUE(WaitForStatus("Directory : " + drive)) << Status();
    EXPECT_EQ(view.Count(), 3);
    EXPECT_EQ(view.Selected(), 2);

    // A file made meanwhile appears by itself, without an event.
    SetWindowTextA(Get(common::kStatusText), "untouched");
    WriteFileBytes(drive + "appeared.txt", "");
    EXPECT_TRUE(WaitUntil([&] { return view.Count() == 4; })) << "no reload";
    EXPECT_EQ(Status(), "untouched");
    EXPECT_EQ(view.Selected(), 3) << "the selection stays on note.txt, now after appeared.txt";

    OpenAndWait("..", "Directory : C:\\skimdex-e2e\\");
    OpenAndWait("..", "Directory : C:\\");
    OpenAndWait("..", "Directory : root directory");
    EXPECT_GE(view.Count(), 2) << "the drives, and the documents folder";
    // The drives come in letter order: C: first.
    Key(list, VK_HOME);
    Key(list, VK_RETURN);
    EXPECT_TRUE(WaitForStatus("Directory : C:\\")) << Status();
    CloseMain();
}

TEST_F(MainWindowE2e, TabGoesRoundTheTabStopsInOrder) {
    LaunchToMain();
    const DWORD thread = GetWindowThreadProcessId(main, nullptr);
    const auto focus = [thread] {
        GUITHREADINFO info{};
        info.cbSize = sizeof(info);
        GetGUIThreadInfo(thread, &info);
        return info.hwndFocus;
    };
    const auto tabTo = [&](int control) {
        Key(focus() != nullptr ? focus() : main, VK_TAB);
        EXPECT_TRUE(WaitUntil([&] { return focus() == Get(control); }, 5000))
            << "Tab did not reach control " << control;
    };
    for (int control :
         {common::kMainPanel, common::kCreateListButton, common::kUpdateButton, common::kStatusText,
          common::kLowercaseCheck, common::kUppercaseCheck, common::kMainPanel}) {
        tabTo(control);
    }
    // On the about tab its button and text come next to the tab strip.
    PickTab(Get(common::kMainPanel), 1);
    for (int control : {common::kDonateButton, common::kAboutBox, common::kCreateListButton}) {
        tabTo(control);
    }
    CloseMain();
}

TEST_F(MainWindowE2e, CaseBoxesAreNeverBothTicked) {
    LaunchToMain();
    HWND lower = Get(common::kLowercaseCheck);
    HWND upper = Get(common::kUppercaseCheck);
    const struct {
        HWND click;
        int lower;
        int upper;
    } steps[] = {{lower, 1, 0}, {upper, 0, 1}, {lower, 1, 0}, {lower, 0, 0}, {upper, 0, 1}};
    for (const auto& step : steps) {
        Click(step.click);
        EXPECT_TRUE(WaitUntil([&] {
            return CheckState(lower) == step.lower && CheckState(upper) == step.upper;
        })) << CheckState(lower)
            << CheckState(upper);
    }
    CloseMain();
}

TEST_F(MainWindowE2e, DonateButtonOpensTheDonationPage) {
    const std::string urlLog = DosPath(SKIMDEX_E2E_SOURCE_DIR "/build/e2e-urls.log");
    DeleteFileA(urlLog.c_str());
    HKEY key = nullptr;
    ASSERT_EQ(RegCreateKeyExA(HKEY_CURRENT_USER, "Software\\Wine\\WineBrowser", 0, nullptr, 0,
                              KEY_SET_VALUE, nullptr, &key, nullptr),
              ERROR_SUCCESS);
    const std::string recorder = SKIMDEX_E2E_SOURCE_DIR "/tests/e2e/record-url";
    RegSetValueExA(key, "Browsers", 0, REG_SZ, reinterpret_cast<const BYTE*>(recorder.c_str()),
                   static_cast<DWORD>(recorder.size() + 1));
    RegCloseKey(key);

    LaunchToMain();
    const std::string before = Status();
    PickTab(Get(common::kMainPanel), 1);
    ASSERT_TRUE(WaitUntil([&] { return IsWindowVisible(Get(common::kDonateButton)) != FALSE; }));
    Click(Get(common::kDonateButton));
    ASSERT_TRUE(WaitUntil([&] { return !ReadFileBytes(urlLog).empty(); }))
        << "the browser was not asked";
    EXPECT_EQ(ReadFileBytes(urlLog),
              std::string(common::MakerSiteUrl()) + "/admin.php?pg=articles&g=3&form=3&id=1\n");
    EXPECT_TRUE(IsWindow(main)) << "still running";
    EXPECT_EQ(Status(), before);
    CloseMain();
}
