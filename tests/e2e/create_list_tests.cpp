// Create List on the real program, through the real save-file dialog.
#include "tests/e2e/fixture.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

constexpr const char* kCreated = "The list has been created";
constexpr const char* kCanceled = "Canceled by user";

struct Name {
    const char* asIs;
    const char* lower;
    const char* upper;
};

// The listed folder's entries, in each case mode.
constexpr Name kNames[] = {
    {"MiXed.TXT", "mixed.txt", "MIXED.TXT"},
    {"caf\xE9", "caf\xE9", "CAF\xC9"},
    {"\xC4\xD6.doc", "\xE4\xF6.doc", "\xC4\xD6.DOC"},
    {"Sub", "sub", "SUB"},
    {".", ".", "."},
    {"..", "..", ".."},
};

class CreateListE2e : public ProgramE2e {
  protected:
    std::string listed; // on C:, where the browser starts

    void SetUp() override {
        ProgramE2e::SetUp();
        const std::string test = ::testing::UnitTest::GetInstance()->current_test_info()->name();
        CreateDirectoryA("C:\\skimdex-e2e", nullptr);
        listed = "C:\\skimdex-e2e\\" + test + "\\";
        CreateDirectoryA(listed.c_str(), nullptr);
        for (const std::string& name : FolderNames(listed)) {
            SetFileAttributesA((listed + name).c_str(), FILE_ATTRIBUTE_NORMAL);
            DeleteFileA((listed + name).c_str());
        }
        for (const Name& name : kNames) {
            if (std::string(name.asIs) == "Sub") {
                CreateDirectoryA((listed + name.asIs).c_str(), nullptr);
            } else if (name.asIs[0] != '.') {
                WriteFileBytes(listed + name.asIs, "content");
            }
        }
    }

    // Starts the program and opens the listed folder.
    void OpenListed(const std::string& marker = "uk.lng",
                    const std::string& prefix = "Directory : ") {
        LaunchToMain(marker);
        OpenAndWait("skimdex-e2e", prefix + "C:\\skimdex-e2e\\");
        OpenAndWait(::testing::UnitTest::GetInstance()->current_test_info()->name(),
                    prefix + listed);
    }

    HWND PressCreateList(const std::string& title = "Choose a file to save") {
        Click(Get(common::kCreateListButton));
        HWND dialog = WaitForDialog(program, title);
        EXPECT_NE(dialog, nullptr) << "no dialog " << title;
        return dialog;
    }

    // Saves through the dialog and waits for the status that reports it.
    void SaveListAs(const std::string& path, const std::string& status) {
        HWND dialog = PressCreateList();
        ASSERT_NE(dialog, nullptr);
        SaveAs(dialog, path);
        EXPECT_TRUE(WaitForStatus(status)) << path << " gave " << Status();
        EXPECT_FALSE(IsWindow(dialog)) << "the dialog asked something";
    }

    // The list the writer must give for the folder, in the order the file
    // system yields its entries.
    std::string ExpectedList(const char* Name::*mode, const std::string& extra = "") const {
        std::string list;
        WIN32_FIND_DATAA found;
        HANDLE scan = FindFirstFileA((listed + "*.*").c_str(), &found);
        do {
            const std::string entry = found.cFileName;
            bool known = false;
            for (const Name& name : kNames) {
                if (entry == name.asIs) {
                    list += std::string(name.*mode) + "\r\n";
                    known = true;
                }
            }
            if (!known) {
                EXPECT_EQ(entry, extra) << "an entry of the test's own";
                list += extra + "\r\n";
            }
        } while (FindNextFileA(scan, &found));
        FindClose(scan);
        return list;
    }
};

} // namespace

TEST_F(CreateListE2e, TopLevelShowsNoDialog) {
    LaunchToMain();
    OpenAndWait("..", "Directory : root directory");
    Click(Get(common::kCreateListButton));
    EXPECT_TRUE(WaitForStatus("You can not create a list here because it neither has any files."));
    EXPECT_EQ(WaitForDialog(program, "Choose a file to save", 2000), nullptr);
    CloseMain();
}

TEST_F(CreateListE2e, CancelCreatesNothing) {
    OpenListed();
    HWND dialog = PressCreateList();
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogFilter(dialog), "Text (*.txt)");
    Screenshot("create-list-dialog");
    Cancel(dialog);
    EXPECT_TRUE(WaitForStatus(kCanceled)) << Status();
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"uk.lng"});
    CloseMain();
}

TEST_F(CreateListE2e, NamesGetTxtUnlessTheirExtensionIsTxt) {
    OpenListed();
    SaveListAs(folder + "plain", kCreated);
    EXPECT_EQ(ReadFileBytes(folder + "plain.txt"), ExpectedList(&Name::asIs));
    SaveListAs(folder + "A.TXT", kCreated);
    EXPECT_TRUE(FileExists(folder + "A.TXT.txt"));
    EXPECT_FALSE(FileExists(folder + "A.TXT"));
    SaveListAs(folder + "kept.txt", kCreated);
    EXPECT_TRUE(FileExists(folder + "kept.txt"));
    Screenshot("create-list-created");
    CloseMain();
}

TEST_F(CreateListE2e, CaseBoxesGiveTheThreeModesByteForByte) {
    OpenListed();
    SaveListAs(folder + "as-is.txt", kCreated);
    Click(Get(common::kLowercaseCheck));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(Get(common::kLowercaseCheck)) == 1; }));
    SaveListAs(folder + "lower.txt", kCreated);
    Click(Get(common::kUppercaseCheck));
    ASSERT_TRUE(WaitUntil([&] { return CheckState(Get(common::kUppercaseCheck)) == 1; }));
    SaveListAs(folder + "upper.txt", kCreated);

    EXPECT_EQ(ReadFileBytes(folder + "as-is.txt"), ExpectedList(&Name::asIs));
    EXPECT_EQ(ReadFileBytes(folder + "lower.txt"), ExpectedList(&Name::lower));
    EXPECT_EQ(ReadFileBytes(folder + "upper.txt"), ExpectedList(&Name::upper));
    CloseMain();
}

TEST_F(CreateListE2e, ExistingFileHoldsJustTheNewListAndIsAskedNothing) {
    WriteFileBytes(folder + "old.txt", std::string(5000, 'q'));
    OpenListed();
    SaveListAs(folder + "old.txt", kCreated);
    EXPECT_EQ(ReadFileBytes(folder + "old.txt"), ExpectedList(&Name::asIs));
    CloseMain();
}

TEST_F(CreateListE2e, TargetsThatCannotBeOpenedAreReportedAsCanceled) {
    WriteFileBytes(folder + "locked.txt", "kept");
    SetFileAttributesA((folder + "locked.txt").c_str(), FILE_ATTRIBUTE_READONLY);
    OpenListed();
    SaveListAs(folder + "locked.txt", kCanceled);
    EXPECT_EQ(ReadFileBytes(folder + "locked.txt"), "kept");

    // Fits the dialog's 259 characters, but not once ".txt" is added.
    const std::string tooLong = folder + std::string(257 - folder.size(), 'n');
    ASSERT_EQ(tooLong.size(), 257u);
    SetWindowTextA(Get(common::kStatusText), "");
    SaveListAs(tooLong, kCanceled);
    EXPECT_FALSE(FileExists(tooLong));
    EXPECT_FALSE(FileExists(tooLong + ".txt"));
    CloseMain();
}

TEST_F(CreateListE2e, ListSavedIntoTheListedFolderListsItself) {
    OpenListed();
    SaveListAs(listed + "self.txt", kCreated);
    const std::string list = ReadFileBytes(listed + "self.txt");
    EXPECT_NE(list.find("self.txt\r\n"), std::string::npos);
    EXPECT_EQ(list, ExpectedList(&Name::asIs, "self.txt"));
    CloseMain();
}

TEST_F(CreateListE2e, DialogSpeaksTheChosenLanguage) {
    OpenListed("fr.lng", "R\xE9pertoire : ");
    HWND dialog = PressCreateList("Choisissez un fichier \xE0 sauvegarder");
    ASSERT_NE(dialog, nullptr);
    EXPECT_EQ(DialogFilter(dialog), "Texte (*.txt)");
    Cancel(dialog);
    EXPECT_TRUE(WaitForStatus("Op\xE9ration annul\xE9"
                              "e par l'utilisateur."))
        << Status();
    CloseMain();
}
