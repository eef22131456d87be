// Helpers for the application-shell tests: a scratch folder per test, whole-file
// reads and writes, and a text table that names each text by its number.
#pragma once

#include <gtest/gtest.h>

#include <cstdint>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace cps::testing {

// A folder of its own for one test, removed with everything in it afterwards.
class TempFolder {
 public:
  TempFolder() {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::string name = "cps530_app_";
    if (info != nullptr) name += std::string(info->test_suite_name()) + "_" + info->name();
    for (char& c : name) {
      const bool plain =
          (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '_';
      if (!plain) c = '_';
    }
    std::random_device random;
    std::filesystem::path candidate;
    do {
      candidate = std::filesystem::temp_directory_path() / (name + "_" + std::to_string(random()));
    } while (std::filesystem::exists(candidate));
    std::filesystem::create_directories(candidate);
    m_path = candidate;
  }
  ~TempFolder() {
    std::error_code ignored;
    // A folder a test made read-only must become writable again to be removed.
    for (auto it = std::filesystem::recursive_directory_iterator(m_path, ignored);
         it != std::filesystem::recursive_directory_iterator(); it.increment(ignored)) {
      if (it->is_directory(ignored)) {
        std::filesystem::permissions(it->path(), std::filesystem::perms::owner_all,
                                     std::filesystem::perm_options::add, ignored);
      }
    }
    std::filesystem::remove_all(m_path, ignored);
  }
  TempFolder(const TempFolder&) = delete;
  TempFolder& operator=(const TempFolder&) = delete;

  const std::filesystem::path& path() const { return m_path; }
  std::filesystem::path operator/(std::string_view name) const { return m_path / name; }

 private:
  std::filesystem::path m_path;
};

inline void WriteBytes(const std::filesystem::path& file, const std::vector<std::uint8_t>& bytes) {
  std::filesystem::create_directories(file.parent_path());
  std::ofstream out(file, std::ios::binary | std::ios::trunc);
  out.write(reinterpret_cast<const char*>(bytes.data()),
            static_cast<std::streamsize>(bytes.size()));
  ASSERT_TRUE(out.good()) << "cannot write " << file;
}

inline void WriteText(const std::filesystem::path& file, std::string_view text) {
  WriteBytes(file, std::vector<std::uint8_t>(text.begin(), text.end()));
}

inline std::vector<std::uint8_t> ReadBytes(const std::filesystem::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

inline std::string ReadText(const std::filesystem::path& file) {
  const auto bytes = ReadBytes(file);
  return {bytes.begin(), bytes.end()};
}

// Runs the rest of a test in another current folder, for files named without a folder.
class CurrentFolder {
 public:
  explicit CurrentFolder(const std::filesystem::path& folder)
      : m_previous(std::filesystem::current_path()) {
    std::filesystem::current_path(folder);
  }
  ~CurrentFolder() {
    std::error_code ignored;
    std::filesystem::current_path(m_previous, ignored);
  }
  CurrentFolder(const CurrentFolder&) = delete;
  CurrentFolder& operator=(const CurrentFolder&) = delete;

 private:
  std::filesystem::path m_previous;
};

// A language that shows each text as its number in angle brackets, so that a
// composed message shows which texts it was built from.
inline std::string NumberedText(int id) { return "<" + std::to_string(id) + ">"; }

}  // namespace cps::testing
