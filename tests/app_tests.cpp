#include "app/main_window.h"
#include "app/program.h"
#include "common/identifiers.h"
#include "i18n/language.h"
#include "platform/system.h"
#include "tests/support/program_fixture.h"

#include <filesystem>
#include <gtest/gtest.h>

using doubles::FindControl;
using doubles::Ui;
using i18n::CatalogueKey;
using testing_support::ProgramTest;
using testing_support::WriteBytes;
using namespace common;

namespace {

class MainWindowTest : public ProgramTest {
  protected:
    void SetUp() override {
        ProgramTest::SetUp();
        i18n::SelectLanguage(i18n::Language::English);
    }
};

class EventLoopTest : public MainWindowTest {
  protected:
    void SetUp() override {
        MainWindowTest::SetUp();
        ASSERT_TRUE(app::BuildMainWindow());
    }

    void Run() {
        doubles::QueueClose(kMainWindow);
        app::EventLoop();
        EXPECT_FALSE(Ui().scriptRanOut);
    }

    static std::string Status() { return FindControl(kStatusText)->text; }
    static int Tick(int box) { return FindControl(box)->state; }
    static void ShowFolder(const std::string& folder) {
        FindControl(kFolderBrowser)->text = folder;
    }
};

} // namespace

TEST_F(MainWindowTest, BuildsTheControlsOfTheTableInOrder) {
    ASSERT_TRUE(app::BuildMainWindow());
    ASSERT_EQ(Ui().windows.size(), 1u);
    const doubles::Window& window = Ui().windows[0];
    EXPECT_EQ(window.id, 0);
    EXPECT_EQ(window.title, "SKIMDEX 1.0 - QUORVAN ");
    EXPECT_EQ(window.style, platform::WindowStyle::Main);
    EXPECT_EQ(window.rect.x, 486);
    EXPECT_EQ(window.rect.y, 149);
    EXPECT_EQ(window.rect.width, 455);
    EXPECT_EQ(window.rect.height, 557);
    EXPECT_EQ(window.tabs, (std::vector<std::string>{"Create List", "About Skimdex"}));

    const int order[] = {1, 4, 12, 5, 8, 9, 2, 3, 6, 10};
    ASSERT_EQ(Ui().controls.size(), std::size(order));
    for (std::size_t i = 0; i < std::size(order); ++i) {
        const doubles::Control& made = Ui().controls[i];
        const app::ControlSpec& layout = app::kMainControls[i];
        SCOPED_TRACE(layout.name);
        EXPECT_EQ(made.id, order[i]);
        EXPECT_EQ(made.id, layout.control);
        EXPECT_EQ(made.kind, layout.kind);
        EXPECT_EQ(made.rect.x, layout.rect.x);
        EXPECT_EQ(made.rect.y, layout.rect.y);
        EXPECT_EQ(made.rect.width, layout.rect.width);
        EXPECT_EQ(made.rect.height, layout.rect.height);
        EXPECT_EQ(made.settings, layout.settings);
        EXPECT_EQ(made.tab, layout.on == app::Placement::Window    ? -1
                            : layout.on == app::Placement::ListTab ? 0
                                                                   : 1);
        EXPECT_EQ(made.state, 0);
    }
    EXPECT_EQ(FindControl(kChooseFolderText)->text, "Choose the directory to list");
    EXPECT_EQ(FindControl(kCreateListButton)->text, "Create List");
    EXPECT_EQ(FindControl(kUpdateButton)->text, "update");
    EXPECT_EQ(FindControl(kLowercaseCheck)->text, "Everything in lowercase");
    EXPECT_EQ(FindControl(kUppercaseCheck)->text, "Everything in uppercase");
    EXPECT_EQ(FindControl(kAboutBox)->text, Text(CatalogueKey::AboutText));
    EXPECT_TRUE(FindControl(kAboutBox)->wordWrap);
    EXPECT_TRUE(FindControl(kDonateButton)->hasPicture);
    EXPECT_EQ(FindControl(kDonateButton)->image, 11);
    EXPECT_EQ(FindControl(kFolderBrowser)->text, "C:\\");
    EXPECT_EQ(FindControl(kStatusText)->text, "You're in C:\\");
}

TEST_F(MainWindowTest, UpdateButtonFollowsTheNetworkState) {
    for (const char* state : {"ok", "no"}) {
        SetUp();
        common::NetworkState = state;
        ASSERT_TRUE(app::BuildMainWindow());
        EXPECT_EQ(FindControl(kUpdateButton)->hidden, std::string(state) == "no") << state;
    }
}

TEST_F(MainWindowTest, PictureThatDoesNotDecodeGivesAnEmptyButton) {
    Ui().picturesDecode = false;
    ASSERT_TRUE(app::BuildMainWindow());
    ASSERT_NE(FindControl(kDonateButton), nullptr);
    EXPECT_FALSE(FindControl(kDonateButton)->hasPicture);
}

TEST_F(MainWindowTest, WindowThatCannotOpenBuildsNothing) {
    Ui().windowsOpen = false;
    EXPECT_FALSE(app::BuildMainWindow());
    EXPECT_TRUE(Ui().controls.empty());
}

TEST_F(EventLoopTest, EachEventDoesWhatItsRowSays) {
    const struct {
        const char* row;
        int control;
        const char* folder; // what the browser shows when the event arrives
        const char* status; // afterwards; nullptr: unchanged
    } rows[] = {
        {"browser in a folder", kFolderBrowser, "C:\\Windows\\", "Directory : C:\\Windows\\"},
        {"browser at the top level", kFolderBrowser, "", "Directory : root directory"},
        {"the panel", kMainPanel, "C:\\Windows\\", nullptr},
        {"the status line", kStatusText, "C:\\Windows\\", nullptr},
        {"the about box", kAboutBox, "C:\\Windows\\", nullptr},
        {"no such control", 7, "C:\\Windows\\", nullptr},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        SetUp();
        const std::string before = Status();
        const std::string folder = row.folder;
        doubles::QueueControlEvent(row.control, [folder] { ShowFolder(folder); });
        doubles::QueueOther();
        doubles::QueueClose(13); // another window's close request changes nothing
        Run();
        EXPECT_EQ(Status(), row.status != nullptr ? row.status : before);
        EXPECT_TRUE(Ui().dialogs.empty());
        EXPECT_TRUE(Ui().openedDocuments.empty());
        EXPECT_TRUE(doubles::Net().openedUrls.empty());
        EXPECT_FALSE(Ui().windows[0].open) << "closed at its close request";
    }
}

TEST_F(EventLoopTest, CaseBoxesAreNeverBothTicked) {
    const struct {
        int click;
        int lower;
        int upper;
    } steps[] = {
        {kLowercaseCheck, 1, 0}, {kUppercaseCheck, 0, 1}, {kLowercaseCheck, 1, 0},
        {kLowercaseCheck, 0, 0}, {kUppercaseCheck, 0, 1}, {kUppercaseCheck, 0, 0},
    };
    // After each click, a status-line event (which changes nothing) looks at
    // the ticks.
    for (const auto& step : steps) {
        const int lower = step.lower;
        const int upper = step.upper;
        doubles::QueueCheckBoxClick(step.click);
        doubles::QueueControlEvent(kStatusText, [lower, upper] {
            EXPECT_EQ(Tick(kLowercaseCheck), lower);
            EXPECT_EQ(Tick(kUppercaseCheck), upper);
        });
    }
    Run();
}

TEST_F(EventLoopTest, DonateButtonOpensTheDonationPageAndChangesNothingElse) {
    const std::string before = Status();
    doubles::QueueControlEvent(kDonateButton);
    Run();
    ASSERT_EQ(Ui().openedDocuments.size(), 1u);
    EXPECT_EQ(Ui().openedDocuments[0],
              std::string(common::MakerSiteUrl()) + "/admin.php?pg=articles&g=3&form=3&id=1");
    EXPECT_EQ(Status(), before);
}

TEST_F(EventLoopTest, CommandsRunFromTheirButtons) {
    doubles::QueueControlEvent(kCreateListButton);
    doubles::QueueControlEvent(kUpdateButton);
    Run();
    EXPECT_EQ(Ui().dialogs.size(), 1u) << "the Create List command asked for a target";
    ASSERT_EQ(doubles::Net().openedUrls.size(), 1u) << "the update command looked up the version";
    EXPECT_EQ(doubles::Net().openedUrls[0], common::VersionInfoUrl);
}

TEST_F(EventLoopTest, HiddenUpdateButtonRaisesNothing) {
    doubles::ResetUi();
    common::NetworkState = "no";
    ASSERT_TRUE(app::BuildMainWindow());
    doubles::QueueControlEvent(kUpdateButton);
    Run();
    EXPECT_TRUE(doubles::Net().openedUrls.empty());
}

TEST_F(ProgramTest, StartUpResolvesBuildsRunsAndReturns) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(programFolder.path());
    WriteBytes(programFolder / "es.lng", "");
    doubles::Net().starts = false;
    common::ProgramDirectory.clear();

    doubles::QueueClose(kMainWindow);
    app::StartUp();
    std::filesystem::current_path(before);

    EXPECT_TRUE(Ui().initialised);
    EXPECT_EQ(common::NetworkState, "no");
    EXPECT_EQ(common::ProgramVersion, "1.0");
    EXPECT_EQ(common::VersionInfoUrl,
              std::string(common::MakerSiteUrl()) + "/downloads/skimdex.txt");
    EXPECT_EQ(common::UpdateArchiveUrl,
              std::string(common::MakerSiteUrl()) + "/downloads/skimdex.zip");
    EXPECT_EQ(std::filesystem::path(common::ProgramDirectory),
              std::filesystem::path(programFolder.path()));
    EXPECT_EQ(common::ProgramDirectory.back(), platform::PathSeparator());
    ASSERT_EQ(Ui().windows.size(), 1u);
    EXPECT_EQ(Ui().windows[0].title, "SKIMDEX 1.0 - QUORVAN ");
    EXPECT_FALSE(Ui().windows[0].open);
    EXPECT_EQ(Text(CatalogueKey::ErrorTitle), "Falta");
    EXPECT_FALSE(Ui().scriptRanOut);

    app::CloseEverything();
    EXPECT_TRUE(Ui().closedDown);
    EXPECT_TRUE(doubles::Net().stopped);
}

TEST_F(ProgramTest, StartUpEndsWhenTheLanguageIsDeclined) {
    const std::filesystem::path before = std::filesystem::current_path();
    std::filesystem::current_path(programFolder.path());
    doubles::QueueControlEvent(i18n::kExitButton);
    app::StartUp();
    std::filesystem::current_path(before);
    EXPECT_EQ(Ui().windows.size(), 1u) << "only the chooser";
    EXPECT_EQ(Ui().messages.size(), 1u);
    EXPECT_EQ(common::NetworkState, "ok");
}

TEST(ProgramDirectoryTest, GetsOneTrailingSeparator) {
    EXPECT_EQ(common::WithTrailingSeparator("C:\\", '\\'), "C:\\");
    EXPECT_EQ(common::WithTrailingSeparator("C:\\Work", '\\'), "C:\\Work\\");
    EXPECT_EQ(common::WithTrailingSeparator("", '\\'), "");
}
