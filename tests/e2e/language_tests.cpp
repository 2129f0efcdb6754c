// The language chooser and the program's start and end, on the real program.
#include "i18n/language.h"
#include "tests/e2e/fixture.h"

#include <gtest/gtest.h>

using namespace e2e;

namespace {

class LanguageE2e : public ProgramE2e {
  protected:
    // The chooser, once its last button is made.
    static HWND WaitForChooser(Program& running) {
        HWND chooser = running.WaitForWindow(i18n::kLanguageWindowTitle);
        return chooser != nullptr && WaitForControl(chooser, i18n::kExitButton) != nullptr
                   ? chooser
                   : nullptr;
    }
    HWND WaitForChooser() { return WaitForChooser(program); }

    void ExpectNoMarker() {
        for (const auto& marker : i18n::kLanguageMarkers) {
            EXPECT_FALSE(FileExists(folder + marker.name)) << marker.name;
        }
    }
};

} // namespace

TEST_F(LanguageE2e, WithoutMarkerTheChooserShowsItsFiveButtons) {
    Launch();
    HWND chooser = WaitForChooser();
    ASSERT_NE(chooser, nullptr);
    RECT outer{};
    GetWindowRect(chooser, &outer);
    EXPECT_EQ(outer.left, 761);
    EXPECT_EQ(outer.top, 573);
    EXPECT_EQ(outer.right - outer.left, 286);
    EXPECT_EQ(outer.bottom - outer.top, 67);
    EXPECT_EQ(Style(chooser) & (WS_CAPTION | WS_BORDER | WS_SYSMENU | WS_THICKFRAME), 0);
    EXPECT_NE(Style(chooser) & WS_POPUP, 0);

    for (const auto& button : i18n::kChooserButtons) {
        HWND hwnd = Control(chooser, button.control);
        ASSERT_NE(hwnd, nullptr) << button.text;
        EXPECT_EQ(ClassOf(hwnd), "Button");
        EXPECT_EQ(Text(hwnd), button.text);
        EXPECT_TRUE(IsWindowVisible(hwnd));
        const RECT rect = RectInParent(hwnd);
        EXPECT_EQ(rect.left, button.rect.x) << button.text;
        EXPECT_EQ(rect.top, button.rect.y) << button.text;
        EXPECT_EQ(rect.right - rect.left, button.rect.width) << button.text;
        EXPECT_EQ(rect.bottom - rect.top, button.rect.height) << button.text;
        EXPECT_EQ(Style(hwnd) & (WS_TABSTOP | WS_GROUP), WS_TABSTOP | WS_GROUP);
        EXPECT_EQ((Style(hwnd) & BS_FLAT) != 0, button.control == i18n::kExitButton);
    }
    EXPECT_EQ(Text(Control(chooser, 15)), "Fran\xE7"
                                          "ais");
    Screenshot("language-chooser");
}

TEST_F(LanguageE2e, EnglishIsRecordedAndRemembered) {
    Launch();
    HWND chooser = WaitForChooser();
    ASSERT_NE(chooser, nullptr);
    Click(Control(chooser, i18n::kEnglishButton));
    main = WaitForMain(program);
    ASSERT_NE(main, nullptr) << "window 0 with its trailing blank";
    EXPECT_TRUE(FileExists(folder + "uk.lng"));
    EXPECT_EQ(ReadFileBytes(folder + "uk.lng"), "");
    EXPECT_EQ(FolderNames(folder), std::vector<std::string>{"uk.lng"});
    EXPECT_FALSE(IsWindow(chooser)) << "the chooser is gone";
    CloseBox(main);
    ExpectExitCodeZero();

    Program again;
    ASSERT_TRUE(again.Start(folder));
    HWND second = WaitForMain(again);
    ASSERT_NE(second, nullptr);
    EXPECT_EQ(again.FindWindowTitled(i18n::kLanguageWindowTitle), nullptr);
    EXPECT_EQ(Text(Control(second, 4)), "Create List");
    CloseBox(second);
    DWORD code = 1;
    ASSERT_TRUE(again.WaitForExit(&code));
    EXPECT_EQ(code, 0u);
}

TEST_F(LanguageE2e, ExitShowsTheRefusalAndEndsWithoutMarker) {
    Launch();
    HWND chooser = WaitForChooser();
    ASSERT_NE(chooser, nullptr);
    Click(Control(chooser, i18n::kExitButton));
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(program, "Error", &box));
    EXPECT_EQ(box.text, "You have to choose a language to use Skimdex\n"
                        "Choose a language next time - thank you");
    EXPECT_EQ(box.buttons, std::vector<std::string>{"OK"});
    EXPECT_TRUE(box.iconShown);
    Screenshot("language-refusal");
    Answer(box.hwnd, IDOK);
    ExpectExitCodeZero();
    ExpectNoMarker();
    EXPECT_EQ(program.FindWindowTitled(kMainTitle), nullptr);
}

TEST_F(LanguageE2e, AltF4OnTheChooserCountsAsExit) {
    Launch();
    HWND chooser = WaitForChooser();
    ASSERT_NE(chooser, nullptr);
    AltF4(chooser);
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(program, "Error", &box));
    Answer(box.hwnd, IDOK);
    ExpectExitCodeZero();
    ExpectNoMarker();
}

TEST_F(LanguageE2e, FirstMarkerInCheckOrderWinsAndMarkersStayAsTheyAre) {
    WriteFileBytes(folder + "uk.lng", "");
    WriteFileBytes(folder + "de.lng", "kept as it is");
    Launch();
    main = WaitForMain(program);
    ASSERT_NE(main, nullptr);
    EXPECT_EQ(program.FindWindowTitled(i18n::kLanguageWindowTitle), nullptr);
    EXPECT_EQ(Text(Control(main, 12)), "update") << "English, not German";
    EXPECT_EQ(Text(Control(main, 8)), "Everything in lowercase");
    EXPECT_EQ(ReadFileBytes(folder + "uk.lng"), "");
    EXPECT_EQ(ReadFileBytes(folder + "de.lng"), "kept as it is");
    SystemMenuClose(main);
    ExpectExitCodeZero();
}

TEST_F(LanguageE2e, FolderNamedLikeAMarkerIsNoMarker) {
    CreateDirectoryA((folder + "fr.lng").c_str(), nullptr);
    WriteFileBytes(folder + "es.lng", "content");
    Launch();
    main = WaitForMain(program);
    ASSERT_NE(main, nullptr) << "Spanish, from the marker with content";
    EXPECT_EQ(Text(Control(main, 4)), "Crear Lista");
    EXPECT_EQ(ReadFileBytes(folder + "es.lng"), "content");
    AltF4(main);
    ExpectExitCodeZero();

    RemoveDirectoryA((folder + "fr.lng").c_str());
    DeleteFileA((folder + "es.lng").c_str());
    CreateDirectoryA((folder + "fr.lng").c_str(), nullptr);
    Program again;
    ASSERT_TRUE(again.Start(folder));
    HWND chooser = WaitForChooser(again);
    ASSERT_NE(chooser, nullptr) << "a folder alone gives the chooser";
    Click(Control(chooser, i18n::kExitButton));
    MessageBoxSeen box;
    ASSERT_TRUE(WaitForMessageBox(again, "Error", &box));
    Answer(box.hwnd, IDOK);
    DWORD code = 1;
    ASSERT_TRUE(again.WaitForExit(&code));
    EXPECT_EQ(code, 0u);
}
