#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

namespace qv::testing {

// A folder of its own for each test, removed with everything in it.
class ScratchFolder {
  public:
    ScratchFolder() {
        const auto* test = ::testing::UnitTest::GetInstance()->current_test_info();
        path_ = std::filesystem::temp_directory_path() /
                ("qv-pocket-" + std::to_string(::getpid()) + "-" + test->name());
        std::filesystem::remove_all(path_);
        std::filesystem::create_directories(path_);
    }
    ~ScratchFolder() {
        std::error_code error;
        std::filesystem::remove_all(path_, error);
    }

    const std::filesystem::path& Path() const { return path_; }
    std::filesystem::path Write(const std::filesystem::path& name, const std::string& bytes) const {
        const std::filesystem::path path = path_ / name;
        std::filesystem::create_directories(path.parent_path());
        std::ofstream(path, std::ios::binary) << bytes;
        return path;
    }
    std::filesystem::path Folder(const std::filesystem::path& name) const {
        std::filesystem::create_directories(path_ / name);
        return path_ / name;
    }

  private:
    std::filesystem::path path_;
};

}  // namespace qv::testing
