// One end-to-end test: a fresh working folder, the program started in it,
// and waits for its windows.
#pragma once

#include "app/main_window.h"
#include "common/identifiers.h"
#include "tests/e2e/driver.h"

#include <gtest/gtest.h>

namespace e2e {

constexpr const char* kMainTitle = "SKIMDEX 1.0 - QUORVAN ";

class ProgramE2e : public ::testing::Test {
  protected:
    std::string folder;
    Program program;
    HWND main = nullptr;

    void SetUp() override {
        folder = FreshFolder(::testing::UnitTest::GetInstance()->current_test_info()->name());
    }

    // Starts the program with `marker` recorded (none for an empty name).
    void Launch(const std::string& marker = "", const std::string& exe = "skimdex.exe") {
        if (!marker.empty()) {
            WriteFileBytes(folder + marker, "");
        }
        ASSERT_TRUE(program.Start(folder, exe));
    }

    // The main window once it is built: its first status is shown.
    static HWND WaitForMain(Program& running) {
        HWND window = running.WaitForWindow(kMainTitle);
        if (window == nullptr) {
            return nullptr;
        }
        HWND status = WaitForControl(window, common::kStatusText);
        // The first status ends with the start folder, C:\.
        WaitUntil([&] {
            const std::string text = status != nullptr ? Text(status) : std::string();
            return !text.empty() && text.back() == '\\';
        });
        return window;
    }

    void LaunchToMain(const std::string& marker = "uk.lng",
                      const std::string& exe = "skimdex.exe") {
        Launch(marker, exe);
        main = WaitForMain(program);
        ASSERT_NE(main, nullptr) << "no main window";
    }

    HWND Get(int control) const { return Control(main, control); }
    std::string Status() const { return Text(Get(common::kStatusText)); }

    // Waits for the status line to show `expected`; false when it never does.
    bool WaitForStatus(const std::string& expected) const {
        return WaitUntil([&] { return Status() == expected; });
    }

    // Opens an entry of the folder browser and waits for the status it gives.
    void OpenAndWait(const std::string& name, const std::string& status) {
        OpenEntry(Get(common::kFolderBrowser), name);
        EXPECT_TRUE(WaitForStatus(status)) << name << " gave " << Status();
    }

    void ExpectExitCodeZero(Program& running) {
        DWORD code = 1;
        ASSERT_TRUE(running.WaitForExit(&code)) << "the program did not end";
        EXPECT_EQ(code, 0u);
    }
    void ExpectExitCodeZero() { ExpectExitCodeZero(program); }

    void CloseMain() {
        CloseBox(main);
        ExpectExitCodeZero();
    }
};

} // namespace e2e
