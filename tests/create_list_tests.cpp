#include "common/identifiers.h"
#include "listing/create_list_command.h"
#include "platform/system.h"
#include "tests/support/program_fixture.h"

#include <gtest/gtest.h>

#ifndef _WIN32
#include <unistd.h>
#endif

using doubles::FindControl;
using doubles::Ui;
using listing::CreateListCommand;
using listing::ExtensionOf;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::ProgramTest;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;
using namespace common;

namespace {

class CreateListTest : public ProgramTest {
  protected:
    TempFolder work;
    std::string listed = work / "Listed" + platform::PathSeparator();

    void SetUp() override {
        ProgramTest::SetUp();
        i18n::SelectLanguage(i18n::Language::English);
        MakeFolder(listed);
        WriteBytes(listed + "MiXed.TXT", "");
        WriteBytes(listed + "caf\xE9", "");
        platform::CreateFolderBrowser(kFolderBrowser, {0, 0, 1, 1}, listed);
        platform::CreateEditField(kStatusText, {0, 0, 1, 1}, "before", 0);
        platform::CreateCheckBox(kLowercaseCheck, {0, 0, 1, 1}, "", 0);
        platform::CreateCheckBox(kUppercaseCheck, {0, 0, 1, 1}, "", 0);
    }

    static std::string Status() { return FindControl(kStatusText)->text; }
};

} // namespace

TEST(ExtensionOfTest, TakesTheTextAfterTheLastDotOfTheLastComponent) {
    const struct {
        const char* path;
        const char* extension;
    } rows[] = {
        {"list.txt", "txt"},
        {"list", ""},
        {"A.TXT", "TXT"},
        {"a.txt.bak", "bak"},
        {"a.", ""},
        {"C:\\my.dir\\list", ""},
        {".txt", "txt"},
        {"C:\\l.txt\"x", "txt"},
        {"C:\\l.t\"x.y", "y"},
        {"dir.d/list", ""},
        {"C:\\dir\\.", ""},
        {"", ""},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(ExtensionOf(row.path), row.extension) << row.path;
    }
}

TEST_F(CreateListTest, TopLevelShowsNoDialog) {
    FindControl(kFolderBrowser)->text = "";
    CreateListCommand();
    EXPECT_EQ(Status(), "You can not create a list here because it neither has any files.");
    EXPECT_TRUE(Ui().dialogs.empty());
}

TEST_F(CreateListTest, CancelledDialogCreatesNothing) {
    CreateListCommand();
    ASSERT_EQ(Ui().dialogs.size(), 1u);
    EXPECT_EQ(Ui().dialogs[0].title, "Choose a file to save");
    EXPECT_EQ(Ui().dialogs[0].filter, "Text (*.txt)|*.txt");
    EXPECT_EQ(Ui().dialogs[0].startFolder, "C:\\");
    EXPECT_EQ(Status(), "Canceled by user");
}

TEST_F(CreateListTest, OutcomesGoToTheStatusLine) {
    const std::string missing = work / "gone" + platform::PathSeparator();
    const struct {
        const char* row;
        std::string folder;
        std::string chosen;
        const char* status;
        std::string created;
    } rows[] = {
        {"name without extension", listed, work / "list", "The list has been created",
         work / "list.txt"},
        {"upper-case extension", listed, work / "A.TXT", "The list has been created",
         work / "A.TXT.txt"},
        {"txt kept", listed, work / "kept.txt", "The list has been created", work / "kept.txt"},
        {"target not opened", listed, missing + "list.txt", "Canceled by user", ""},
        {"folder not scanned", missing, work / "new.txt", "before", work / "new.txt"},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        FindControl(kStatusText)->text = "before";
        FindControl(kFolderBrowser)->text = row.folder;
        Ui().savePaths.push_back(row.chosen);
        CreateListCommand();
        EXPECT_EQ(Status(), row.status);
        if (!row.created.empty()) {
            EXPECT_TRUE(Exists(row.created)) << row.created;
        }
    }
    EXPECT_FALSE(Exists(work / "A.TXT"));
    EXPECT_EQ(ReadBytes(work / "new.txt"), "") << "a folder that cannot be read lists nothing";
}

#ifndef _WIN32
TEST_F(CreateListTest, WriteFailureIsReportedLikeATargetThatCannotBeOpened) {
    ASSERT_EQ(::symlink("/dev/full", (work / "full.txt").c_str()), 0);
    Ui().savePaths.push_back(work / "full.txt");
    CreateListCommand();
    EXPECT_EQ(Status(), "Canceled by user");
}
#endif

TEST_F(CreateListTest, CaseBoxesChooseTheMode) {
    const struct {
        int lower;
        int upper;
        std::string name;
        std::string accented;
    } rows[] = {
        {0, 0, "MiXed.TXT", "caf\xE9"},
        {1, 0, "mixed.txt", "caf\xE9"},
        {0, 1, "MIXED.TXT", "CAF\xC9"},
        {1, 1, "MIXED.TXT", "CAF\xC9"}, // upper case wins
    };
    for (const auto& row : rows) {
        FindControl(kLowercaseCheck)->state = row.lower;
        FindControl(kUppercaseCheck)->state = row.upper;
        Ui().savePaths.push_back(work / "cased.txt");
        CreateListCommand();
        const std::string list = ReadBytes(work / "cased.txt");
        EXPECT_NE(list.find(row.name + "\r\n"), std::string::npos) << row.name;
        EXPECT_NE(list.find(row.accented + "\r\n"), std::string::npos) << row.accented;
    }
}
