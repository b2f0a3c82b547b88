/*
** A fresh folder per test, removed afterwards, and small file helpers.
*/
#pragma once

#include <gtest/gtest.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>

struct TempFolder {
  std::filesystem::path path;
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name)
      if (c == '/' || c == '.') c = '_';
    path = std::filesystem::temp_directory_path() /
           ("lumeno_" + std::to_string(::getpid()) + "_" + name);
    std::filesystem::remove_all(path);
    std::filesystem::create_directories(path);
  }
  ~TempFolder() { std::filesystem::remove_all(path); }
  std::string file(const std::string& name, const std::string& bytes) const {
    std::filesystem::path p = path / name;
    std::ofstream(p, std::ios::binary) << bytes;
    return p.string();
  }
  static std::string read(const std::filesystem::path& p) {
    std::ifstream in(p, std::ios::binary);
    std::stringstream s;
    s << in.rdbuf();
    return s.str();
  }
};
