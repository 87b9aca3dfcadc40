// A scratch folder per test for the file access tests, with names as UTF-8 the way the
// program holds them.
#pragma once

#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

#include "platform/file_name.h"

namespace tarvik::test {

class FileTestDir : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tarvik-file-io-" + std::to_string(std::random_device()()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::remove_all(dir_);
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }
    std::string path(std::string_view name) const {
        return platform::utf8FromPath(dir_ / platform::pathFromUtf8(name));
    }
    // The folder's entries, sorted: a temporary left behind shows here.
    std::vector<std::string> names() const {
        std::vector<std::string> found;
        for (const auto& entry : std::filesystem::directory_iterator(dir_))
            found.push_back(platform::utf8FromPath(entry.path().filename()));
        std::sort(found.begin(), found.end());
        return found;
    }
    static std::string contents(const std::string& file) {
        std::ifstream in(platform::pathFromUtf8(file), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    std::filesystem::path dir_;
};

} // namespace tarvik::test
