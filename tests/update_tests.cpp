#include "common/identifiers.h"
#include "platform/system.h"
#include "tests/support/program_fixture.h"
#include "update/download.h"
#include "update/update_command.h"
#include "update/version_lookup.h"

#include <algorithm>
#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using doubles::Answer;
using doubles::BodyInPieces;
using doubles::FindControl;
using doubles::Net;
using doubles::Ui;
using testing_support::Exists;
using testing_support::ProgramTest;
using testing_support::ReadBytes;
using testing_support::WriteBytes;
using update::PublishedVersion;
using update::TextBetween;

namespace {

constexpr const char* kUrl = "http://site.example/downloads/skimdex.txt";

class VersionLookupTest : public ProgramTest {
  protected:
    std::string Fetch(const Answer& answer) {
        Net().answers[kUrl] = answer;
        return update::FetchUrlText(kUrl);
    }
};

class UpdateCommandTest : public ProgramTest {
  protected:
    std::string archive;
    std::string body = std::string(70000, 'Z') + "end";

    void SetUp() override {
        ProgramTest::SetUp();
        i18n::SelectLanguage(i18n::Language::English);
        platform::CreateEditField(common::kStatusText, {0, 0, 1, 1}, "before", 0);
        archive = common::ProgramDirectory + "Skimdex_update.zip";
    }

    void Publish(const std::string& versionText) {
        Net().answers[common::VersionInfoUrl] = BodyInPieces(versionText);
    }

    Answer& Serve(const std::string& content, std::size_t piece = 5000) {
        Answer& answer = Net().answers[common::UpdateArchiveUrl] = BodyInPieces(content, piece);
        answer.hasLength = true;
        answer.length = content.size();
        return answer;
    }

    static const doubles::Message& OnlyMessage() {
        EXPECT_EQ(Ui().messages.size(), 1u);
        return Ui().messages.front();
    }

    bool ArchiveRequested() const {
        const auto& urls = Net().openedUrls;
        return std::find(urls.begin(), urls.end(), common::UpdateArchiveUrl) != urls.end();
    }
};

} // namespace

TEST(TextBetweenTest, FirstStartMarkerAndTheFirstEndMarkerAfterIt) {
    const struct {
        const char* text;
        const char* version;
    } rows[] = {
        {"*-1.1-*", "1.1"},
        {"notes *-1.2-* more *-1.3-* end", "1.2"},
        {"*--*", ""},
        {"*-*", ""}, // the hyphen of "*-" is no end marker's
        {"-* before *-1.4", ""},
        {"text *-", ""},
        {"*- 1.0\n-*", " 1.0\n"},
        {"", ""},
        {"no markers", ""},
        {"*-1.0-*-*", "1.0"},
    };
    for (const auto& row : rows) {
        EXPECT_EQ(PublishedVersion(row.text), row.version) << row.text;
    }
    EXPECT_EQ(TextBetween("abc", "", "c"), "");
    EXPECT_EQ(TextBetween("abc", "a", ""), "");
    EXPECT_EQ(TextBetween("<a>x</a>", "<a>", "</a>"), "x");
}

TEST_F(VersionLookupTest, ReadsWholeBodiesThroughTheFullBuffer) {
    const std::string body = std::string(5000, 'v') + "*-1.1-*";
    EXPECT_EQ(Fetch(BodyInPieces(body)), body);
    EXPECT_EQ(Net().accessTypes, std::vector<int>{platform::kDirectAccess});
    EXPECT_EQ(Net().agents, std::vector<std::string>{""});
    EXPECT_EQ(Net().openFlags, std::vector<unsigned>{platform::kReload});
    EXPECT_EQ(Net().askedSizes.size(), 4u) << "three reads of data and the one of 0 bytes";
    for (std::size_t size : Net().askedSizes) {
        EXPECT_EQ(size, 2048u);
    }
    EXPECT_EQ(Net().openHandles, 0) << "both handles closed";
}

TEST_F(VersionLookupTest, ZeroByteEndsTheText) {
    std::string first(2048, 'a');
    first[0] = '\0';
    EXPECT_EQ(Fetch(BodyInPieces(first + "*-1.1-*")), "");

    std::string tenIn = "0123456789" + std::string(1, '\0') + std::string(2000, 'b');
    EXPECT_EQ(Fetch(BodyInPieces(tenIn + std::string(3000, 'c'))), "0123456789");
    // Later reads still ask for the whole buffer and add nothing.
    EXPECT_EQ(Net().askedSizes.back(), 2048u);
}

TEST_F(VersionLookupTest, FailuresAndHugeBodiesGiveTheEmptyText) {
    EXPECT_EQ(update::FetchUrlText("http://unknown.example/"), "") << "does not open";
    EXPECT_EQ(Fetch(BodyInPieces("*-1.1-*" + std::string(update::kVersionTextLimit, ' '))), "");
    EXPECT_EQ(Fetch(BodyInPieces(std::string(update::kVersionTextLimit, ' '))).size(),
              update::kVersionTextLimit)
        << "exactly at the limit is still a text";
    Answer cut = BodyInPieces("*-1.");
    cut.reads.push_back({"", false});
    EXPECT_EQ(Fetch(cut), "*-1.") << "a transfer that breaks off keeps what it read";
    EXPECT_EQ(Net().openHandles, 0);
}

TEST_F(UpdateCommandTest, SameVersionBlinksTheNotice) {
    Publish("*-1.0-*");
    update::CheckForUpdate();
    EXPECT_TRUE(Ui().messages.empty());
    // Ten status changes, the last one the notice, from the blinker's thread.
    for (int i = 0; i < 500 && Ui().textSetsFromOtherThreads < 10; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(10));
    }
    EXPECT_EQ(Ui().textSetsFromOtherThreads, 10);
    EXPECT_EQ(platform::GetControlText(common::kStatusText), "You already have the latest release");
    EXPECT_FALSE(ArchiveRequested());
}

TEST_F(UpdateCommandTest, OtherVersionIsOfferedAndNoDownloadsNothing) {
    for (const char* published : {"*-1.1-*", "*- 1.0-*", "*-0.9-*"}) {
        SetUp();
        Publish(published);
        update::CheckForUpdate();
        const doubles::Message& question = OnlyMessage();
        EXPECT_EQ(question.title, "update");
        EXPECT_EQ(question.text, "Version " + PublishedVersion(published) +
                                     " is online, do you want To download it ?");
        EXPECT_EQ(question.buttons, platform::MessageButtons::YesNo);
        EXPECT_FALSE(ArchiveRequested());
        EXPECT_FALSE(Exists(archive));
        EXPECT_EQ(platform::GetControlText(common::kStatusText), "before");
    }
}

TEST_F(UpdateCommandTest, NoVersionIsAFailureNotAnOffer) {
    for (const char* published : {"", "<html>404</html>", "*-1.1"}) {
        SetUp();
        if (*published != '\0') {
            Publish(published);
        }
        update::CheckForUpdate();
        const doubles::Message& failure = OnlyMessage();
        EXPECT_EQ(failure.title, "Error");
        EXPECT_EQ(failure.text, "Unable to find the file, please try in a few minutes");
        EXPECT_EQ(failure.buttons, platform::MessageButtons::Ok);
        EXPECT_FALSE(ArchiveRequested());
    }
}

TEST_F(UpdateCommandTest, YesSavesTheArchiveOverAnEarlierOne) {
    Publish("*-1.1-*");
    Serve(body);
    WriteBytes(archive, "earlier archive");
    Ui().messageAnswers.push_back(platform::MessageAnswer::Yes);
    update::CheckForUpdate();

    ASSERT_EQ(Ui().messages.size(), 2u);
    EXPECT_EQ(Ui().messages[1].title, "update");
    EXPECT_EQ(Ui().messages[1].text, "The Update has been save in " + common::ProgramDirectory);
    EXPECT_EQ(ReadBytes(archive), body);
    EXPECT_FALSE(Exists(update::PartialFileOf(archive)));
    EXPECT_EQ(Net().timeout, 10000u);
    EXPECT_EQ(Net().openFlags.back(), platform::kReload | platform::kNoCacheWrite);
    EXPECT_EQ(Net().openHandles, 0);
}

TEST_F(UpdateCommandTest, EveryFailedDownloadKeepsTheEarlierArchive) {
    const struct {
        const char* row;
        int status;
        bool opens;
        std::uint64_t announced; // 0: no Content-Length
        bool readFails;
        bool folderMissing;
    } rows[] = {
        {"404", 404, true, 0, false, false},
        {"500", 500, true, 0, false, false},
        {"unreachable", 200, false, 0, false, false},
        {"cut short", 200, true, 80000, false, false},
        {"read error", 200, true, 0, true, false},
        {"no folder to write in", 200, true, 0, false, true},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(row.row);
        SetUp();
        Publish("*-1.1-*");
        Answer& answer = Serve(body);
        answer.status = row.status;
        answer.opens = row.opens;
        answer.hasLength = row.announced != 0;
        answer.length = row.announced;
        if (row.readFails) {
            answer.reads.insert(answer.reads.begin() + 3, {"", false});
        }
        if (row.folderMissing) {
            common::ProgramDirectory += "missing" + std::string(1, platform::PathSeparator());
            archive = common::ProgramDirectory + "Skimdex_update.zip";
        } else {
            WriteBytes(archive, "earlier archive");
        }
        Ui().messageAnswers.push_back(platform::MessageAnswer::Yes);
        update::CheckForUpdate();

        ASSERT_EQ(Ui().messages.size(), 2u);
        EXPECT_EQ(Ui().messages[1].title, "Error");
        EXPECT_EQ(Ui().messages[1].text, "Unable to find the file, please try in a few minutes");
        if (!row.folderMissing) {
            EXPECT_EQ(ReadBytes(archive), "earlier archive");
        }
        EXPECT_FALSE(Exists(update::PartialFileOf(archive)));
        EXPECT_EQ(Net().openHandles, 0);
    }
}

TEST_F(UpdateCommandTest, BodyWithoutLengthEndsCleanly) {
    Publish("*-1.1-*");
    Serve(body).hasLength = false;
    Ui().messageAnswers.push_back(platform::MessageAnswer::Yes);
    update::CheckForUpdate();
    EXPECT_EQ(ReadBytes(archive), body);
}
