// The update button of skimdex-loopback.exe against the tests' own site on
// 127.0.0.1:18741, which serves the version text and the archive in the mode
// each test chooses (tests/e2e/http_server.py).
#include "tests/e2e/fixture.h"

#include <gtest/gtest.h>
#include <wininet.h>

using namespace e2e;

namespace {

constexpr const char* kSite = "http://127.0.0.1:18741";
constexpr const char* kLoopback = "skimdex-loopback.exe";
constexpr std::size_t kArchiveSize = 300000;
constexpr const char* kFailureText = "Unable to find the file, please try in a few minutes";

// The body the site serves as the archive.
std::string ArchiveBody(std::size_t size = kArchiveSize) {
    std::string body(size, '\0');
    for (std::size_t i = 0; i < size; ++i) {
        body[i] = static_cast<char>((i * 7 + 13) % 256);
    }
    return body;
}

// A request to the site's control paths; its answer.
std::string Site(const std::string& pathAndQuery) {
    HINTERNET session = InternetOpenA("", INTERNET_OPEN_TYPE_DIRECT, nullptr, nullptr, 0);
    HINTERNET request = InternetOpenUrlA(session, (std::string(kSite) + pathAndQuery).c_str(),
                                         nullptr, 0, INTERNET_FLAG_RELOAD, 0);
    std::string answer;
    char buffer[4096];
    DWORD read = 0;
    while (request != nullptr && InternetReadFile(request, buffer, sizeof(buffer), &read) &&
           read > 0) {
        answer.append(buffer, read);
    }
    if (request != nullptr) {
        InternetCloseHandle(request);
    }
    InternetCloseHandle(session);
    return answer;
}

class UpdateE2e : public ProgramE2e {
  protected:
    std::string archive;

    void SetUp() override {
        ProgramE2e::SetUp();
        ASSERT_EQ(Site("/_control/reset"), "ok") << "the tests' site is not running";
        archive = folder + "Skimdex_update.zip";
    }

    void Serve(const std::string& settings) { ASSERT_EQ(Site("/_control/set?" + settings), "ok"); }

    std::string Requests() { return Site("/_control/log"); }

    void PressUpdate() {
        LaunchToMain("uk.lng", kLoopback);
        HWND button = Get(common::kUpdateButton);
        ASSERT_TRUE(IsWindowVisible(button)) << "the network layer started";
        Click(button);
    }

    MessageBoxSeen Expect(const std::string& title, DWORD timeout = kWait) {
        MessageBoxSeen box;
        EXPECT_TRUE(WaitForMessageBox(program, title, &box, timeout)) << "no box " << title;
        return box;
    }

    // Answers the offer with Yes and returns the box that reports the outcome.
    MessageBoxSeen AcceptOffer(const std::string& reportTitle, DWORD timeout = kWait) {
        MessageBoxSeen offer = Expect("update");
        EXPECT_EQ(offer.text, "Version 1.1 is online, do you want To download it ?");
        Answer(offer.hwnd, IDYES);
        // The report may bear the offer's title: wait for the offer to go.
        EXPECT_TRUE(WaitUntil([&] { return !IsWindow(offer.hwnd); }));
        return Expect(reportTitle, timeout);
    }

    // Byte for byte, without printing 300 KB when it differs.
    void ExpectArchiveSaved() {
        const std::string saved = ReadFileBytes(archive);
        EXPECT_TRUE(saved == ArchiveBody())
            << "saved " << saved.size() << " bytes of " << kArchiveSize;
        EXPECT_FALSE(FileExists(archive + ".part"));
    }

    void ExpectEarlierArchiveKept() {
        EXPECT_EQ(ReadFileBytes(archive), "earlier archive");
        EXPECT_FALSE(FileExists(archive + ".part")) << "no temporary file left";
    }

    void Finish(const MessageBoxSeen& last) {
        Answer(last.hwnd, IDOK);
        CloseMain();
    }
};

} // namespace

TEST_F(UpdateE2e, SameVersionBlinksTheNotice) {
    PressUpdate();
    bool sawEmpty = false;
    WaitUntil(
        [&] {
            const std::string status = Status();
            sawEmpty = sawEmpty || status.empty();
            return sawEmpty && status == "You already have the latest release";
        },
        15000);
    EXPECT_TRUE(sawEmpty) << "the status never blinked";
    Sleep(2000); // the blink is over
    EXPECT_EQ(Status(), "You already have the latest release");
    EXPECT_TRUE(program.FindWindowTitled("update") == nullptr);
    EXPECT_EQ(Requests(), "GET /downloads/skimdex.txt\n");
    CloseMain();
}

TEST_F(UpdateE2e, NoDownloadsNothing) {
    Serve("text=%2A-1.1-%2A");
    PressUpdate();
    MessageBoxSeen offer = Expect("update");
    EXPECT_EQ(offer.text, "Version 1.1 is online, do you want To download it ?");
    EXPECT_EQ(offer.buttons, (std::vector<std::string>{"&Yes", "&No"}));
    Screenshot("update-offer");
    Answer(offer.hwnd, IDNO);
    EXPECT_TRUE(WaitUntil([&] { return !IsWindow(offer.hwnd); }));
    Sleep(500);
    EXPECT_EQ(Requests(), "GET /downloads/skimdex.txt\n") << "no request for the archive";
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"uk.lng"});
    CloseMain();
}

TEST_F(UpdateE2e, YesSavesTheArchiveOverAnEarlierOne) {
    Serve("text=%2A-1.1-%2A");
    WriteFileBytes(archive, "earlier archive");
    PressUpdate();
    MessageBoxSeen saved = AcceptOffer("update");
    EXPECT_EQ(saved.text, "The Update has been save in " + folder);
    ExpectArchiveSaved();
    EXPECT_EQ(Requests(), "GET /downloads/skimdex.txt\nGET /downloads/skimdex.zip\n");
    Screenshot("update-saved");
    Finish(saved);
}

TEST_F(UpdateE2e, VersionWithABlankIsOffered) {
    Serve("text=notes%20%2A-%201.0-%2A%20more");
    PressUpdate();
    MessageBoxSeen offer = Expect("update");
    EXPECT_EQ(offer.text, "Version  1.0 is online, do you want To download it ?");
    Answer(offer.hwnd, IDNO);
    CloseMain();
}

TEST_F(UpdateE2e, ChunkedRedirectedAndTrickledArchivesArriveWhole) {
    for (const char* mode : {"chunked", "redirect", "trickle", "no-length"}) {
        SCOPED_TRACE(mode);
        Serve(std::string("text=%2A-1.1-%2A&archive=") + mode);
        DeleteFileA(archive.c_str());
        PressUpdate();
        MessageBoxSeen saved = AcceptOffer("update");
        ExpectArchiveSaved();
        Finish(saved);
        program.Stop();
    }
}

TEST_F(UpdateE2e, FailedDownloadsKeepTheEarlierArchive) {
    for (const char* mode : {"404", "truncated"}) {
        SCOPED_TRACE(mode);
        Serve(std::string("text=%2A-1.1-%2A&archive=") + mode);
        WriteFileBytes(archive, "earlier archive");
        PressUpdate();
        MessageBoxSeen failure = AcceptOffer("Error");
        EXPECT_EQ(failure.text, kFailureText);
        ExpectEarlierArchiveKept();
        Finish(failure);
        program.Stop();
    }
}

TEST_F(UpdateE2e, SilentServerFailsAfterTheTimeLimit) {
    Serve("text=%2A-1.1-%2A&archive=silent");
    WriteFileBytes(archive, "earlier archive");
    PressUpdate();
    const DWORD start = GetTickCount();
    MessageBoxSeen failure = AcceptOffer("Error", 35000);
    const DWORD waited = GetTickCount() - start;
    EXPECT_EQ(failure.text, kFailureText);
    EXPECT_GE(waited, 9000u) << "the limit is 10 s";
    EXPECT_LT(waited, 30000u) << "not a hang";
    ExpectEarlierArchiveKept();
    Finish(failure);
}

TEST_F(UpdateE2e, LookupsThatGiveNoVersionReportAFailure) {
    for (const char* settings : {"version=huge", "version=404", "text=no%20markers"}) {
        SCOPED_TRACE(settings);
        Serve(settings);
        PressUpdate();
        MessageBoxSeen failure = Expect("Error");
        EXPECT_EQ(failure.text, kFailureText);
        EXPECT_EQ(Requests(), "GET /downloads/skimdex.txt\n") << "nothing downloaded";
        Finish(failure);
        program.Stop();
        Site("/_control/reset");
    }
}

TEST_F(UpdateE2e, UnreachableSiteReportsAFailure) {
    // The release program's site is a reserved .example host: it never resolves.
    WriteFileBytes(archive, "earlier archive");
    LaunchToMain("uk.lng", "skimdex.exe");
    Click(Get(common::kUpdateButton));
    MessageBoxSeen failure = Expect("Error", 60000);
    EXPECT_EQ(failure.text, kFailureText);
    Screenshot("update-failure");
    Finish(failure);
    ExpectEarlierArchiveKept();
    EXPECT_EQ(FolderNames(folder).size(), 2u) << "the marker and the earlier archive";
}
