#include "tests/support/temp_folder.h"

#include <atomic>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <system_error>

namespace fs = std::filesystem;

namespace testing_support {

TempFolder::TempFolder() {
    static std::atomic<int> counter{0};
    const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
    const fs::path folder =
        fs::temp_directory_path() /
        ("skimdex-test-" + std::to_string(stamp) + "-" + std::to_string(counter.fetch_add(1)));
    fs::create_directories(folder);
    path_ = (folder / "").string();
}

TempFolder::~TempFolder() {
    std::error_code ignored;
    // Read-only files are made writable again so they can go.
    for (const auto& entry : fs::recursive_directory_iterator(path_, ignored)) {
        fs::permissions(entry.path(), fs::perms::owner_write, fs::perm_options::add, ignored);
    }
    fs::remove_all(path_, ignored);
}

void WriteBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    ASSERT_TRUE(out.good()) << path;
}

std::string ReadBytes(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

bool Exists(const std::string& path) {
    std::error_code ignored;
    return fs::exists(path, ignored);
}

void MakeFolder(const std::string& path) {
    fs::create_directories(path);
}

void MakeReadOnly(const std::string& path) {
    fs::permissions(path, fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write,
                    fs::perm_options::remove);
}

} // namespace testing_support
