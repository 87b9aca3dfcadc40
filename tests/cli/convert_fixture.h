// A scratch folder for the convert command's tests, with its files and a way to run it.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "cli/convert_command.h"

namespace tarvik {

class Convert : public ::testing::Test {
protected:
    void SetUp() override {
        dir_ = std::filesystem::temp_directory_path() /
               ("tarvik-convert-" + std::to_string(std::random_device()()) + "-" +
                ::testing::UnitTest::GetInstance()->current_test_info()->name());
        std::filesystem::create_directories(dir_);
    }
    void TearDown() override { std::filesystem::remove_all(dir_); }

    std::string path(const char* name) const { return (dir_ / name).string(); }
    void put(const char* name, const std::string& text) const {
        std::ofstream(path(name), std::ios::binary) << text;
    }
    std::string get(const char* name) const {
        std::ifstream in(path(name), std::ios::binary);
        return {std::istreambuf_iterator<char>(in), {}};
    }
    int run(std::initializer_list<std::string_view> args) {
        out_.str("");
        err_.str("");
        return runConvert(std::vector<std::string_view>(args), out_, err_);
    }

    std::filesystem::path dir_;
    std::ostringstream out_;
    std::ostringstream err_;
};

} // namespace tarvik
