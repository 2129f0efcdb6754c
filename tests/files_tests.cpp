#include "platform/files.h"
#include "platform/folders.h"
#include "platform/system.h"
#include "tests/support/temp_folder.h"

#include <gtest/gtest.h>
#include <string>

#ifdef _WIN32
#include <windows.h>
#endif

using namespace platform;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::MakeReadOnly;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

TEST(FileSlotsTest, ReadingOpensOnlyExistingFiles) {
    TempFolder temp;
    WriteBytes(temp / "marker", "content");
    MakeFolder(temp / "folder.lng");

    EXPECT_TRUE(OpenFileForReading(0, temp / "marker"));
    EXPECT_FALSE(OpenFileForReading(0, temp / "marker")) << "the slot is taken";
    EXPECT_TRUE(CloseFile(0));
    EXPECT_FALSE(OpenFileForReading(1, temp / "missing"));
    EXPECT_FALSE(OpenFileForReading(1, temp / "folder.lng"));
    EXPECT_FALSE(Exists(temp / "missing"));
    EXPECT_EQ(ReadBytes(temp / "marker"), "content");
}

TEST(FileSlotsTest, CreateEmptiesOrMakesAFile) {
    TempFolder temp;
    WriteBytes(temp / "old", "old content");
    ASSERT_TRUE(CreateEmptyFile(2, temp / "old"));
    ASSERT_TRUE(CloseFile(2));
    EXPECT_EQ(ReadBytes(temp / "old"), "");

    ASSERT_TRUE(CreateEmptyFile(2, temp / "new"));
    ASSERT_TRUE(CloseFile(2));
    EXPECT_TRUE(Exists(temp / "new"));

    WriteBytes(temp / "locked", "x");
    MakeReadOnly(temp / "locked");
    EXPECT_FALSE(CreateEmptyFile(2, temp / "locked"));
    EXPECT_EQ(ReadBytes(temp / "locked"), "x");
    EXPECT_FALSE(CreateEmptyFile(2, temp / "no" + PathSeparator() + "such"));
}

#ifdef _WIN32
TEST(FileSlotsTest, HiddenFileIsEmptiedInPlace) {
    TempFolder temp;
    const std::string hidden = temp / "hidden.lng";
    WriteBytes(hidden, "data");
    ASSERT_TRUE(SetFileAttributesA(hidden.c_str(), FILE_ATTRIBUTE_HIDDEN));
    ASSERT_TRUE(CreateEmptyFile(3, hidden));
    ASSERT_TRUE(CloseFile(3));
    EXPECT_EQ(ReadBytes(hidden), "");
    EXPECT_NE(GetFileAttributesA(hidden.c_str()) & FILE_ATTRIBUTE_HIDDEN, 0u);
}

TEST(FileSlotsTest, PathsBeyondTheLimitDoNotOpen) {
    TempFolder temp;
    const std::string longPath = temp.path() + std::string(MAX_PATH - temp.path().size(), 'a');
    EXPECT_FALSE(OpenFileForReadWrite(4, longPath));
}
#endif

TEST(FileSlotsTest, ReadWriteKeepsContentUntilWrittenAndCut) {
    TempFolder temp;
    const std::string path = temp / "list";
    WriteBytes(path, "0123456789");
    ASSERT_TRUE(OpenFileForReadWrite(4, path));
    ASSERT_TRUE(CloseFile(4));
    EXPECT_EQ(ReadBytes(path), "0123456789");

    ASSERT_TRUE(OpenFileForReadWrite(4, path));
    ASSERT_TRUE(WriteToFile(4, "ab", 2));
    ASSERT_TRUE(CutFileHere(4));
    ASSERT_TRUE(CloseFile(4));
    EXPECT_EQ(ReadBytes(path), "ab");
}

TEST(FileSlotsTest, BufferedWritesArriveWholeAcrossBlocks) {
    TempFolder temp;
    const std::string path = temp / "big";
    std::string expected;
    ASSERT_TRUE(OpenFileForReadWrite(5, path));
    for (int i = 0; i < 3000; ++i) {
        const std::string piece = std::to_string(i) + "\r\n";
        expected += piece;
        ASSERT_TRUE(WriteToFile(5, piece.data(), piece.size()));
    }
    const std::string large(3 * kFileBlockSize + 7, 'z');
    expected += large;
    ASSERT_TRUE(WriteToFile(5, large.data(), large.size()));
    CloseAllFiles();
    EXPECT_EQ(ReadBytes(path), expected);
    EXPECT_FALSE(CloseFile(5)) << "closed by CloseAllFiles";
}

TEST(FileSlotsTest, ReplacingMovesOverAnExistingFile) {
    TempFolder temp;
    WriteBytes(temp / "new.part", "new");
    WriteBytes(temp / "archive", "old");
    EXPECT_TRUE(MoveFileOver(temp / "new.part", temp / "archive"));
    EXPECT_EQ(ReadBytes(temp / "archive"), "new");
    EXPECT_FALSE(Exists(temp / "new.part"));
    EXPECT_TRUE(RemoveFile(temp / "archive"));
    EXPECT_FALSE(RemoveFile(temp / "archive"));
}

TEST(FolderScanTest, NoMatchIsAStartWithoutEntriesAndMissingIsAFailure) {
    TempFolder temp;
#ifdef _WIN32
    // Only Windows searches by pattern; elsewhere every folder holds "." and "..".
    EXPECT_TRUE(StartFolderScan(temp.path() + "*.none"));
    EXPECT_FALSE(NextFolderEntry());
    EndFolderScan();
#endif
    EXPECT_FALSE(StartFolderScan(temp / "missing" + PathSeparator() + "*.*"));
}
