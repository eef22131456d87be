// Reading and writing data files with their side files, in a scratch folder.
#include "core/document/data_file.hpp"

#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "core/document/file_io.hpp"
#include "test_support.hpp"

namespace cps {
namespace {

namespace fs = std::filesystem;
using testing::MakeChannel;
using testing::SetChannels;

class DataFileTest : public ::testing::Test {
 protected:
  fs::path folder;

  void SetUp() override {
    const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
    std::random_device random;
    folder = fs::temp_directory_path() /
             ("cps530-" + std::string(info->name()) + "-" + std::to_string(random()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }

  std::string pathOf(const std::string& name) const { return (folder / name).string(); }

  void writeBytes(const std::string& name, const std::vector<std::uint8_t>& bytes) const {
    std::ofstream out(folder / name, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
  }

  std::vector<std::string> filesInFolder() const {
    std::vector<std::string> names;
    for (const auto& entry : fs::directory_iterator(folder)) {
      names.push_back(entry.path().filename().string());
    }
    std::sort(names.begin(), names.end());
    return names;
  }
};

DocumentRecord SampleDocument() {
  DocumentRecord d;
  SetChannels(d, {MakeChannel(1, "43510000", 2, "0500000"), MakeChannel(17, "44000000")});
  d.modelInfo.modelName.assign("TW530");
  d.modelInfo.bandIndex = 3;
  d.dtmf.idCode.assign("123");
  d.dtmf.idLength = 3;
  d.keys.values = {10, 10, 1, 2, 3, -2};
  return d;
}

TEST(SideFilePath, ReplacesTheLastThreeCharacters) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"abc.dat", "abc.NVD"},     {"abc.xyz", "abc.NVD"}, {"/data/radio1.dat", "/data/radio1.NVD"},
      {"radio.DAT", "radio.NVD"}, {"abc.da", "abcNVD"},  // whatever the extension is
      {"new.dat", "new.NVD"},
  };
  for (const auto& [data, side] : cases) EXPECT_EQ(SideFilePath(data), side) << data;
}

TEST_F(DataFileTest, WritesTheImageAndTheSideFile) {
  const DocumentRecord doc = SampleDocument();
  SideFileRecord side;
  side.alarmMode = 0;
  const std::string path = pathOf("radio1.dat");

  EXPECT_EQ(WriteDataFile(path, doc, side), "");

  EXPECT_EQ(fs::file_size(path), 8595u);
  EXPECT_EQ(fs::file_size(pathOf("radio1.NVD")), 5u);
  // Nothing else is left in the folder, such as a temporary file.
  EXPECT_EQ(filesInFolder(), (std::vector<std::string>{"radio1.NVD", "radio1.dat"}));

  const auto loaded = ReadDataFile(path);
  ASSERT_TRUE(loaded.file.has_value()) << loaded.failure.detail;
  EXPECT_EQ(loaded.failure.textId, 0);
  EXPECT_EQ(loaded.file->document, doc);
  EXPECT_EQ(loaded.file->side, side);
  EXPECT_EQ(loaded.file->document.toBytes(), doc.toBytes());
}

TEST_F(DataFileTest, WritingReplacesTheWholeOldFile) {
  writeBytes("radio.dat", std::vector<std::uint8_t>(20000, 0xEE));
  writeBytes("radio.NVD", std::vector<std::uint8_t>(9, 0xEE));
  const DocumentRecord doc = SampleDocument();
  EXPECT_EQ(WriteDataFile(pathOf("radio.dat"), doc, SideFileRecord{}), "");
  EXPECT_EQ(fs::file_size(pathOf("radio.dat")), 8595u);
  EXPECT_EQ(fs::file_size(pathOf("radio.NVD")), 5u);
  const auto loaded = ReadDataFile(pathOf("radio.dat"));
  ASSERT_TRUE(loaded.file.has_value());
  EXPECT_EQ(loaded.file->document, doc);
}

TEST_F(DataFileTest, WriteIntoAMissingFolderFailsWithAReason) {
  const std::string path = (folder / "no-such-folder" / "radio.dat").string();
  EXPECT_NE(WriteDataFile(path, SampleDocument(), SideFileRecord{}), "");
  EXPECT_FALSE(fs::exists(path));
}

TEST_F(DataFileTest, AReplacedFileKeepsItsMode) {
  for (const fs::perms mode :
       {fs::perms::owner_read | fs::perms::owner_write,
        fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read}) {
    writeBytes("private.dat", std::vector<std::uint8_t>(8595, 0x30));
    writeBytes("private.NVD", std::vector<std::uint8_t>(5, 0x30));
    fs::permissions(pathOf("private.dat"), mode);
    fs::permissions(pathOf("private.NVD"), mode);
    ASSERT_EQ(WriteDataFile(pathOf("private.dat"), SampleDocument(), SideFileRecord{}), "");
    EXPECT_EQ(fs::status(pathOf("private.dat")).permissions(), mode);
    EXPECT_EQ(fs::status(pathOf("private.NVD")).permissions(), mode);
  }
}

TEST_F(DataFileTest, TemporaryFilesLeftByACrashAreRemovedAtTheNextSave) {
  for (const char* name : {"radio.dat.tmp-123456", "radio.dat.tmp-7", "radio.NVD.tmp-42"}) {
    writeBytes(name, {1, 2, 3});
  }
  // Not ours: another file's, or not a name a save makes.
  for (const char* name :
       {"other.dat.tmp-1", "radio.dat.tmp-x1", "radio.dat.tmp-", "radio.dat.bak"}) {
    writeBytes(name, {1, 2, 3});
  }
  ASSERT_EQ(WriteDataFile(pathOf("radio.dat"), SampleDocument(), SideFileRecord{}), "");
  EXPECT_EQ(filesInFolder(),
            (std::vector<std::string>{"other.dat.tmp-1", "radio.NVD", "radio.dat", "radio.dat.bak",
                                      "radio.dat.tmp-", "radio.dat.tmp-x1"}));
}

// The folder is writable, so a rename could replace the file; the file itself
// is not the user's to write. As root the save runs in a child process that
// has become an ordinary user, since root may write every file.
TEST_F(DataFileTest, AFileTheUserMayNotWriteIsLeftAsItIs) {
  const std::vector<std::uint8_t> oldData(8595, 0x30);
  const std::vector<std::uint8_t> oldSide{'V', '2', '0', '0', 1};
  for (const char* name : {"theirs", "mine"}) {
    writeBytes(std::string(name) + ".dat", oldData);
    writeBytes(std::string(name) + ".NVD", oldSide);
  }
  const bool asRoot = ::geteuid() == 0;
  const auto readOnly = asRoot ? fs::perms::owner_read | fs::perms::owner_write |
                                     fs::perms::group_read | fs::perms::others_read
                               : fs::perms::owner_read;
  const auto writable = fs::perms::owner_read | fs::perms::owner_write | fs::perms::group_read |
                        fs::perms::group_write | fs::perms::others_read | fs::perms::others_write;
  if (asRoot) fs::permissions(folder, fs::perms::all);
  fs::permissions(pathOf("theirs.dat"), readOnly);
  fs::permissions(pathOf("mine.dat"), writable);
  fs::permissions(pathOf("mine.NVD"), readOnly);
  const auto save = [&](const std::string& name) {
    if (!asRoot) return WriteDataFile(pathOf(name), SampleDocument(), SideFileRecord{}).empty();
    const pid_t child = ::fork();
    if (child == 0) {
      const bool saved = ::setgid(65534) == 0 && ::setuid(65534) == 0 &&
                         WriteDataFile(pathOf(name), SampleDocument(), SideFileRecord{}).empty();
      ::_exit(saved ? 0 : 1);
    }
    int status = 0;
    ::waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
  };
  const auto bytesOf = [&](const std::string& name) {
    std::ifstream in(pathOf(name), std::ios::binary);
    return std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {});
  };

  EXPECT_FALSE(save("theirs.dat"));
  EXPECT_EQ(bytesOf("theirs.dat"), oldData);
  EXPECT_EQ(bytesOf("theirs.NVD"), oldSide);
  // A side file that cannot be written does not fail the save, and is not
  // replaced behind its owner's back either.
  EXPECT_TRUE(save("mine.dat"));
  const auto saved = SampleDocument().toBytes();
  EXPECT_EQ(bytesOf("mine.dat"), std::vector<std::uint8_t>(saved.begin(), saved.end()));
  EXPECT_EQ(bytesOf("mine.NVD"), oldSide);
  for (const auto& name : filesInFolder()) EXPECT_EQ(name.find(".tmp-"), std::string::npos) << name;
}

TEST_F(DataFileTest, FilesOfTheWrongSizeAreRefused) {
  for (std::size_t size : {0u, 5u, 8594u, 8596u, 20000u}) {
    writeBytes("wrong.dat", std::vector<std::uint8_t>(size, 0x30));
    const auto result = ReadDataFile(pathOf("wrong.dat"));
    EXPECT_FALSE(result.file.has_value()) << size << " bytes";
    EXPECT_EQ(result.failure.textId, 9033) << size << " bytes";
    EXPECT_FALSE(result.failure.detail.empty()) << size << " bytes";
  }
}

TEST_F(DataFileTest, MissingFileOrFolderIsAFileError) {
  fs::create_directory(folder / "folder.dat");
  for (const std::string& name : {std::string("missing.dat"), std::string("folder.dat")}) {
    const auto result = ReadDataFile(pathOf(name));
    EXPECT_FALSE(result.file.has_value()) << name;
    EXPECT_EQ(result.failure.textId, 9002) << name;
    EXPECT_FALSE(result.failure.detail.empty()) << name;
  }
}

TEST_F(DataFileTest, MissingOrMisfitSideFileReadsAsAlarmModeOne) {
  const DocumentRecord doc = SampleDocument();
  SideFileRecord side;
  side.alarmMode = 0;
  side.version.assign("V201");
  ASSERT_EQ(WriteDataFile(pathOf("radio.dat"), doc, side), "");

  fs::remove(pathOf("radio.NVD"));
  auto loaded = ReadDataFile(pathOf("radio.dat"));
  ASSERT_TRUE(loaded.file.has_value());
  EXPECT_EQ(loaded.file->side, SideFileRecord{});
  EXPECT_EQ(loaded.file->side.alarmMode, 1);

  for (std::size_t size : {4u, 6u, 0u}) {
    writeBytes("radio.NVD", std::vector<std::uint8_t>(size, 0));
    EXPECT_EQ(ReadSideFile(pathOf("radio.dat")), SideFileRecord{}) << size << " bytes";
  }
  fs::create_directory(folder / "other.NVD");
  EXPECT_EQ(ReadSideFile(pathOf("other.dat")), SideFileRecord{});

  writeBytes("radio.NVD", {'V', '2', '0', '0', 0});
  EXPECT_EQ(ReadSideFile(pathOf("radio.dat")).alarmMode, 0);
}

TEST_F(DataFileTest, VersionIsReadAsTheFileHoldsIt) {
  DocumentRecord doc = SampleDocument();
  doc.version.assign("X200");
  ASSERT_EQ(WriteDataFile(pathOf("old.dat"), doc, SideFileRecord{}), "");
  const auto loaded = ReadDataFile(pathOf("old.dat"));
  ASSERT_TRUE(loaded.file.has_value());
  EXPECT_EQ(loaded.file->document.version.raw(), "X200");
}

}  // namespace
}  // namespace cps
