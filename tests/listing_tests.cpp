#include "listing/list_writer.h"
#include "platform/system.h"
#include "tests/support/temp_folder.h"

#include <algorithm>
#include <filesystem>
#include <gtest/gtest.h>
#include <vector>

using listing::ApplyCaseMode;
using listing::CaseMode;
using listing::ListOutcome;
using listing::WriteFolderList;
using testing_support::Exists;
using testing_support::MakeFolder;
using testing_support::MakeReadOnly;
using testing_support::ReadBytes;
using testing_support::TempFolder;
using testing_support::WriteBytes;

namespace {

struct CaseRow {
    unsigned char byte;
    unsigned char upper;
    unsigned char lower;
};

// The bytes where the two byte-wise mappings are easy to get wrong.
constexpr CaseRow kCaseRows[] = {
    {0x40, 0x40, 0x40}, {0x41, 0x41, 0x61}, {0x5A, 0x5A, 0x7A}, {0x5B, 0x5B, 0x5B},
    {0x60, 0x60, 0x60}, {0x61, 0x41, 0x61}, {0x7A, 0x5A, 0x7A}, {0x7B, 0x7B, 0x7B},
    {0x8A, 0x8A, 0x8A}, {0xB5, 0xB5, 0xB5}, {0xBF, 0xBF, 0xBF}, {0xC0, 0xC0, 0xE0},
    {0xC4, 0xC4, 0xE4}, {0xD7, 0xD7, 0xF7}, {0xDE, 0xDE, 0xFE}, {0xDF, 0xDF, 0xDF},
    {0xE0, 0xC0, 0xE0}, {0xE9, 0xC9, 0xE9}, {0xF7, 0xD7, 0xF7}, {0xFE, 0xDE, 0xFE},
    {0xFF, 0xDF, 0xFF}, {0x00, 0x00, 0x00},
};

std::string Byte(unsigned char b) {
    return std::string(1, static_cast<char>(b));
}

// The entries of `folder` in the order the file system yields them, without
// "." and "..".
std::vector<std::string> EntriesInFileSystemOrder(const std::string& folder) {
    std::vector<std::string> names;
    for (const auto& entry : std::filesystem::directory_iterator(folder)) {
        names.push_back(entry.path().filename().string());
    }
    return names;
}

std::vector<std::string> Lines(const std::string& list) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < list.size()) {
        const std::size_t end = list.find("\r\n", start);
        EXPECT_NE(end, std::string::npos) << "every line ends in CR LF";
        if (end == std::string::npos) {
            break;
        }
        lines.push_back(list.substr(start, end - start));
        start = end + 2;
    }
    return lines;
}

// Lines of the fixture folder: each entry once, in the file system's order,
// with "." and ".." where the file system reports them.
void ExpectListOf(const std::string& folder, const std::string& list) {
    std::vector<std::string> lines = Lines(list);
    std::vector<std::string> named;
    for (const std::string& line : lines) {
        EXPECT_FALSE(line.empty());
        if (line != "." && line != "..") {
            named.push_back(line);
        }
    }
    EXPECT_EQ(std::count(lines.begin(), lines.end(), "."), 1);
    EXPECT_EQ(std::count(lines.begin(), lines.end(), ".."), 1);
    EXPECT_EQ(named, EntriesInFileSystemOrder(folder));
}

class ListWriterTest : public ::testing::Test {
  protected:
    TempFolder temp;
    std::string folder = temp / "listed";
    std::string target = temp / "list.txt";

    void SetUp() override {
        MakeFolder(folder);
        WriteBytes(folder + "/b.txt", "b");
        WriteBytes(folder + "/A.doc", "");
        MakeFolder(folder + "/Sub");
        folder += platform::PathSeparator();
    }
};

} // namespace

TEST(ApplyCaseModeTest, MapsEachByteAsTheTableSays) {
    for (const CaseRow& row : kCaseRows) {
        SCOPED_TRACE(::testing::Message() << "byte 0x" << std::hex << int(row.byte));
        EXPECT_EQ(ApplyCaseMode(Byte(row.byte), CaseMode::Uppercase), Byte(row.upper));
        EXPECT_EQ(ApplyCaseMode(Byte(row.byte), CaseMode::Lowercase), Byte(row.lower));
        EXPECT_EQ(ApplyCaseMode(Byte(row.byte), CaseMode::AsIs), Byte(row.byte));
    }
}

TEST(ApplyCaseModeTest, WholeRangesAndLength) {
    std::string all;
    for (int b = 0; b < 256; ++b) {
        all += static_cast<char>(b);
    }
    const std::string upper = ApplyCaseMode(all, CaseMode::Uppercase);
    const std::string lower = ApplyCaseMode(all, CaseMode::Lowercase);
    ASSERT_EQ(upper.size(), 256u);
    ASSERT_EQ(lower.size(), 256u);
    int upperChanged = 0;
    int lowerChanged = 0;
    for (int b = 0; b < 256; ++b) {
        upperChanged += upper[static_cast<std::size_t>(b)] != all[static_cast<std::size_t>(b)];
        lowerChanged += lower[static_cast<std::size_t>(b)] != all[static_cast<std::size_t>(b)];
    }
    EXPECT_EQ(upperChanged, 26 + 32);
    EXPECT_EQ(lowerChanged, 26 + 31);
    // Not inverse to each other: 0xFF comes back as 0xDF.
    EXPECT_EQ(ApplyCaseMode(ApplyCaseMode(Byte(0xFF), CaseMode::Uppercase), CaseMode::Lowercase),
              Byte(0xDF));
}

TEST_F(ListWriterTest, ListsEveryEntryOnceWithCrLf) {
    ASSERT_EQ(WriteFolderList(folder, CaseMode::AsIs, target), ListOutcome::Created);
    const std::string list = ReadBytes(target);
    ExpectListOf(folder, list);
    // ".", "..", b.txt, A.doc, Sub: each name plus CR LF.
    EXPECT_EQ(list.size(), (1 + 2) + (2 + 2) + (5 + 2) + (5 + 2) + (3 + 2));
}

TEST_F(ListWriterTest, CaseModesChangeOnlyTheNames) {
    ASSERT_EQ(WriteFolderList(folder, CaseMode::Uppercase, target), ListOutcome::Created);
    const std::string upper = ReadBytes(target);
    EXPECT_NE(upper.find("B.TXT\r\n"), std::string::npos);
    EXPECT_NE(upper.find("A.DOC\r\n"), std::string::npos);
    EXPECT_NE(upper.find("SUB\r\n"), std::string::npos);

    ASSERT_EQ(WriteFolderList(folder, CaseMode::Lowercase, target), ListOutcome::Created);
    const std::string lower = ReadBytes(target);
    EXPECT_NE(lower.find("a.doc\r\n"), std::string::npos);
    EXPECT_NE(lower.find("sub\r\n"), std::string::npos);
    EXPECT_EQ(lower.size(), upper.size());
}

TEST_F(ListWriterTest, FolderWithoutTrailingSeparatorGetsOne) {
    folder.pop_back();
    ASSERT_EQ(WriteFolderList(folder, CaseMode::AsIs, target), ListOutcome::Created);
    ExpectListOf(folder, ReadBytes(target));
}

TEST_F(ListWriterTest, LongerExistingTargetIsCutToTheNewList) {
    WriteBytes(target, std::string(10000, 'q'));
    ASSERT_EQ(WriteFolderList(folder, CaseMode::AsIs, target), ListOutcome::Created);
    const std::string list = ReadBytes(target);
    EXPECT_EQ(list.size(), 26u);
    EXPECT_EQ(list.find('q'), std::string::npos);
}

TEST_F(ListWriterTest, TargetInsideTheListedFolderListsItself) {
    const std::string inside = folder + "list.txt";
    ASSERT_EQ(WriteFolderList(folder, CaseMode::Uppercase, inside), ListOutcome::Created);
    EXPECT_NE(ReadBytes(inside).find("LIST.TXT\r\n"), std::string::npos);
}

TEST_F(ListWriterTest, ManyEntriesSpanSeveralBlocks) {
    const std::string big = temp / "big";
    MakeFolder(big);
    for (int i = 0; i < 600; ++i) {
        WriteBytes(big + "/entry-with-a-long-name-" + std::to_string(i), "");
    }
    ASSERT_EQ(WriteFolderList(big, CaseMode::AsIs, target), ListOutcome::Created);
    const std::string list = ReadBytes(target);
    EXPECT_GT(list.size(), 3 * 4096u);
    ExpectListOf(big, list);
}

TEST_F(ListWriterTest, ReadOnlyTargetIsNotOpenedAndTheFolderNotRead) {
    WriteBytes(target, "kept");
    MakeReadOnly(target);
    // A folder that cannot be read would give FolderNotScanned if it were tried.
    EXPECT_EQ(WriteFolderList(temp / "missing" + platform::PathSeparator(), CaseMode::AsIs, target),
              ListOutcome::TargetNotOpened);
    EXPECT_EQ(ReadBytes(target), "kept");
}

TEST_F(ListWriterTest, TargetInMissingFolderIsNotOpened) {
    const std::string nowhere = temp / "missing" + platform::PathSeparator() + "list.txt";
    EXPECT_EQ(WriteFolderList(folder, CaseMode::AsIs, nowhere), ListOutcome::TargetNotOpened);
    EXPECT_FALSE(Exists(nowhere));
}

TEST_F(ListWriterTest, FolderThatCannotBeScannedLeavesTheTarget) {
    const std::string missing = temp / "missing" + platform::PathSeparator();
    EXPECT_EQ(WriteFolderList(missing, CaseMode::AsIs, target), ListOutcome::FolderNotScanned);
    EXPECT_TRUE(Exists(target));
    EXPECT_EQ(ReadBytes(target), "");

    WriteBytes(target, "earlier list\r\n");
    EXPECT_EQ(WriteFolderList(missing, CaseMode::AsIs, target), ListOutcome::FolderNotScanned);
    EXPECT_EQ(ReadBytes(target), "earlier list\r\n");
}

TEST_F(ListWriterTest, FailedWriteIsNotCreated) {
    // Every write to /dev/full fails as on a full disk; Wine shows it as Z:.
#ifdef _WIN32
    const std::string full = "Z:\\dev\\full";
#else
    const std::string full = "/dev/full";
#endif
    EXPECT_EQ(WriteFolderList(folder, CaseMode::AsIs, full), ListOutcome::WriteFailed);
}
