// The tests' main. On Windows, GoogleTest's own printer also hands every
// failure to OutputDebugString; under Wine's emulated 32-bit side that ends
// the process, so failures are printed here to standard output only.
#include <cstdio>
#include <gtest/gtest.h>

namespace {

class PlainPrinter : public ::testing::EmptyTestEventListener {
    void OnTestStart(const ::testing::TestInfo& test) override {
        std::printf("[ RUN      ] %s.%s\n", test.test_suite_name(), test.name());
        std::fflush(stdout);
    }

    void OnTestPartResult(const ::testing::TestPartResult& result) override {
        if (result.type() == ::testing::TestPartResult::kSuccess) {
            return;
        }
        std::printf("%s:%d: %s\n%s\n", result.file_name() ? result.file_name() : "?",
                    result.line_number(), result.skipped() ? "Skipped" : "Failure",
                    result.message());
        std::fflush(stdout);
    }

    void OnTestEnd(const ::testing::TestInfo& test) override {
        const char* verdict = test.result()->Failed()    ? "[  FAILED  ]"
                              : test.result()->Skipped() ? "[  SKIPPED ]"
                                                         : "[       OK ]";
        std::printf("%s %s.%s (%lld ms)\n", verdict, test.test_suite_name(), test.name(),
                    static_cast<long long>(test.result()->elapsed_time()));
        std::fflush(stdout);
    }

    void OnTestProgramEnd(const ::testing::UnitTest& unit) override {
        std::printf("[==========] %d tests ran. (%lld ms total)\n", unit.test_to_run_count(),
                    static_cast<long long>(unit.elapsed_time()));
        std::printf("[  PASSED  ] %d tests.\n", unit.successful_test_count());
        if (unit.failed_test_count() > 0) {
            std::printf("[  FAILED  ] %d tests, listed below:\n", unit.failed_test_count());
            for (int s = 0; s < unit.total_test_suite_count(); ++s) {
                const ::testing::TestSuite& suite = *unit.GetTestSuite(s);
                for (int t = 0; t < suite.total_test_count(); ++t) {
                    const ::testing::TestInfo& test = *suite.GetTestInfo(t);
                    if (test.result()->Failed()) {
                        std::printf("[  FAILED  ] %s.%s\n", suite.name(), test.name());
                    }
                }
            }
        }
        std::fflush(stdout);
    }
};

} // namespace

int main(int argc, char** argv) {
    ::testing::InitGoogleTest(&argc, argv);
#ifdef _WIN32
    ::testing::TestEventListeners& listeners = ::testing::UnitTest::GetInstance()->listeners();
    delete listeners.Release(listeners.default_result_printer());
    listeners.Append(new PlainPrinter);
#endif
    return RUN_ALL_TESTS();
}
