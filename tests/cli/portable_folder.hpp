// The portable layout the command line finds its files in, made afresh in a
// temporary folder for each test (base/V200 with both language files,
// base/Version.ini), and a way to run a verb there with its output captured.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <random>
#include <sstream>
#include <string>

#include "cli/commands.hpp"

namespace cps::cli {

class PortableFolderTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir =
        std::filesystem::temp_directory_path() / ("cps530-cli-test-" + std::to_string(random()));
    m_folders = ProgramFolders::OfProgramFolder(m_dir / "base" / "V200");
    std::filesystem::create_directories(m_folders.languageFolder());
    const std::filesystem::path data = CPS_SOURCE_DATA_DIR;
    for (const char* language : {"english.ini", "chinese.ini"}) {
      std::filesystem::copy_file(data / "language" / language,
                                 m_folders.languageFolder() / language);
    }
    std::filesystem::copy_file(data / "Version.ini", m_folders.versionTable());
  }
  void TearDown() override { std::filesystem::remove_all(m_dir); }

  std::string path(const std::string& name) const { return (m_dir / name).string(); }

  // Runs a verb with fresh output streams.
  template <typename Verb>
  int run(const Verb& verb, int language = kEnglish) {
    m_out.str({});
    m_err.str({});
    return verb(Environment{{m_out, m_err}, m_folders, language});
  }

  std::filesystem::path m_dir;
  ProgramFolders m_folders;
  std::ostringstream m_out;
  std::ostringstream m_err;
};

}  // namespace cps::cli
