// The radio images kept after reads and before writes: names that sort by
// time, no backup overwriting another, and only the newest kept.
#include "core/link/backups.hpp"

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>

namespace cps {
namespace {

namespace fs = std::filesystem;

class BackupsTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-backups-" + std::to_string(random()));
  }
  void TearDown() override {
    std::error_code ec;
    fs::permissions(m_dir, fs::perms::owner_all, ec);
    fs::remove_all(m_dir, ec);
  }
  static std::vector<std::uint8_t> image(std::uint8_t fill) {
    return std::vector<std::uint8_t>(2832, fill);
  }
  static std::vector<std::uint8_t> bytesOf(const fs::path& p) {
    std::ifstream in(p, std::ios::binary);
    return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
  }
  std::vector<std::string> names() const {
    std::vector<std::string> result;
    for (const auto& p : ListBackups(m_dir)) result.push_back(p.filename().string());
    return result;
  }
  fs::path m_dir;
};

TEST_F(BackupsTest, NamesTellTimeAndDirection) {
  EXPECT_EQ(BackupFileName("20261210-051200", BackupKind::Read), "radio-20261210-051200-read.img");
  EXPECT_EQ(BackupFileName("20261210-051200", BackupKind::Write),
            "radio-20261210-051200-write.img");
}

TEST_F(BackupsTest, KeepsTheImageInANewFolder) {
  const auto result =
      KeepRadioBackup(m_dir / "a" / "b", image(0x5A), "20261210-051200", BackupKind::Read);
  ASSERT_TRUE(result.error.empty()) << result.error;
  EXPECT_EQ(result.file.filename(), "radio-20261210-051200-read.img");
  EXPECT_EQ(bytesOf(result.file), image(0x5A));
}

TEST_F(BackupsTest, TwoInOneSecondKeepBoth) {
  const auto first = KeepRadioBackup(m_dir, image(1), "20261210-051200", BackupKind::Write);
  const auto second = KeepRadioBackup(m_dir, image(2), "20261210-051200", BackupKind::Write);
  ASSERT_TRUE(second.error.empty());
  EXPECT_NE(first.file, second.file);
  EXPECT_EQ(bytesOf(first.file), image(1));
  EXPECT_EQ(bytesOf(second.file), image(2));
}

TEST_F(BackupsTest, OnlyTheNewestAreKeptAndOtherFilesAreLeftAlone) {
  fs::create_directories(m_dir);
  std::ofstream(m_dir / "notes.txt") << "a dealer's own file";
  for (int second = 10; second < 16; ++second) {
    KeepRadioBackup(m_dir, image(static_cast<std::uint8_t>(second)),
                    "20261210-0512" + std::to_string(second), BackupKind::Read, 4);
  }
  EXPECT_EQ(names(), (std::vector<std::string>{
                         "radio-20261210-051212-read.img", "radio-20261210-051213-read.img",
                         "radio-20261210-051214-read.img", "radio-20261210-051215-read.img"}));
  EXPECT_TRUE(fs::exists(m_dir / "notes.txt"));
}

TEST_F(BackupsTest, AFolderThatCannotBeWrittenIsReported) {
  fs::create_directories(m_dir);
  fs::permissions(m_dir, fs::perms::owner_read | fs::perms::owner_exec);
  if (std::ofstream(m_dir / "probe")) GTEST_SKIP() << "running with rights that ignore modes";
  const auto result = KeepRadioBackup(m_dir, image(3), "20261210-051200", BackupKind::Read);
  EXPECT_TRUE(result.file.empty());
  EXPECT_FALSE(result.error.empty());
}

}  // namespace
}  // namespace cps
