// Reading and writing data files with their side files, in a scratch folder.
#include "core/document/data_file.hpp"

#include <gtest/gtest.h>
#include <sys/stat.h>
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
  writeBytes("radio.NVD", {'V', '1', '0', '0', 7});
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

// A process that has ended: its id is free, so a temporary file naming it was
// left by a crash.
pid_t EndedProcess() {
  const pid_t child = ::fork();
  if (child == 0) ::_exit(0);
  int status = 0;
  ::waitpid(child, &status, 0);
  return child;
}

TEST_F(DataFileTest, OnlyTemporaryFilesWhoseSaveHasEndedAreRemoved) {
  const std::string gone = std::to_string(EndedProcess());
  const std::string alive = std::to_string(::getpid());
  for (const std::string& name :
       {".cps530-" + gone + "-123456.tmp", ".cps530-" + gone + "-7.tmp"}) {
    writeBytes(name, {1, 2, 3});
  }
  // Another save still running (this process stands for it), or not a name a save makes.
  const std::vector<std::string> kept = {".cps530-" + alive + "-5.tmp", ".cps530--5.tmp",
                                         ".cps530-x-5.tmp", "radio.dat.tmp-1", "radio.dat.bak"};
  for (const auto& name : kept) writeBytes(name, {1, 2, 3});
  ASSERT_EQ(WriteDataFile(pathOf("radio.dat"), SampleDocument(), SideFileRecord{}), "");
  auto expected = kept;
  expected.insert(expected.end(), {"radio.NVD", "radio.dat"});
  std::sort(expected.begin(), expected.end());
  EXPECT_EQ(filesInFolder(), expected);
}

// Each case: the files in the folder before a save of "radio.dat" (or the name
// given), and whether the save goes through. A refused save leaves every file
// as it was; a save that goes through writes both.
struct PairCase {
  const char* what;
  std::string dataName;
  std::vector<std::pair<std::string, std::vector<std::uint8_t>>> before;
  bool sideIsFolder;
  bool saves;
};

TEST_F(DataFileTest, BothFilesOfThePairAreStoredOrNeither) {
  const std::vector<std::uint8_t> oldData(8595, 'V');
  const std::vector<std::uint8_t> oldSide{'V', '2', '0', '0', 1};
  const std::vector<std::uint8_t> notes{'m', 'y', ' ', 'n', 'o', 't', 'e', 's', '\n'};
  const std::vector<PairCase> cases = {
      {"both ours", "radio.dat", {{"radio.dat", oldData}, {"radio.NVD", oldSide}}, false, true},
      {"no side file yet", "radio.dat", {{"radio.dat", oldData}}, false, true},
      {"a damaged side file of five bytes",
       "radio.dat",
       {{"radio.dat", oldData}, {"radio.NVD", {'V', '?', '0', '0', 9}}},
       false,
       true},
      {"a notes file in the side file's place",
       "radio.txt",
       {{"radio.txt", oldData}, {"radio.NVD", notes}},
       false,
       false},
      {"a folder in the side file's place", "radio.dat", {{"radio.dat", oldData}}, true, false},
      {"the side file's own name", "radio.NVD", {}, false, false},
      {"no extension", "radio", {}, false, false},
      {"a two-letter extension", "radio.da", {}, false, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    for (const auto& entry : fs::directory_iterator(folder)) fs::remove_all(entry.path());
    for (const auto& [name, bytes] : c.before) writeBytes(name, bytes);
    const std::string side = SideFilePath(pathOf(c.dataName));
    if (c.sideIsFolder) fs::create_directory(side);
    const auto before = filesInFolder();
    const std::string error = WriteDataFile(pathOf(c.dataName), SampleDocument(), SideFileRecord{});
    EXPECT_EQ(error.empty(), c.saves) << error;
    if (c.saves) {
      EXPECT_EQ(fs::file_size(pathOf(c.dataName)), 8595u);
      EXPECT_EQ(fs::file_size(side), 5u);
      continue;
    }
    EXPECT_EQ(filesInFolder(), before);
    for (const auto& [name, bytes] : c.before) {
      std::ifstream in(pathOf(name), std::ios::binary);
      EXPECT_EQ(std::vector<std::uint8_t>((std::istreambuf_iterator<char>(in)), {}), bytes) << name;
    }
  }
}

TEST(DataFileName, GetsDatWhenItHasNoExtension) {
  const std::vector<std::pair<const char*, const char*>> cases = {
      {"ab", "ab.dat"},           {"/x/radio", "/x/radio.dat"},     {"radio.dat", "radio.dat"},
      {"radio.txt", "radio.txt"}, {"/x.y/radio", "/x.y/radio.dat"}, {"radio.", "radio."},
  };
  for (const auto& [given, made] : cases) EXPECT_EQ(WithDataFileExtension(given), made) << given;
}

TEST_F(DataFileTest, SavingThroughALinkReplacesTheFileItNames) {
  fs::create_directories(folder / "store");
  writeBytes("store/real.dat", std::vector<std::uint8_t>(8595, 'V'));
  fs::create_symlink("store/real.dat", folder / "link.dat");
  fs::permissions(pathOf("store/real.dat"), fs::perms::owner_read | fs::perms::owner_write);
  ASSERT_EQ(WriteDataFile(pathOf("link.dat"), SampleDocument(), SideFileRecord{}), "");
  EXPECT_TRUE(fs::is_symlink(folder / "link.dat"));
  EXPECT_EQ(fs::status(pathOf("store/real.dat")).permissions(),
            fs::perms::owner_read | fs::perms::owner_write);
  const auto loaded = ReadDataFile(pathOf("store/real.dat"));
  ASSERT_TRUE(loaded.file.has_value());
  EXPECT_EQ(loaded.file->document, SampleDocument());
  // The side file follows the name the user gave: link.NVD beside the link.
  EXPECT_EQ(fs::file_size(pathOf("link.NVD")), 5u);
}

TEST_F(DataFileTest, ALongNameCanBeSaved) {
  const std::string name = std::string(250, 'r') + ".dat";
  ASSERT_EQ(WriteDataFile(pathOf(name), SampleDocument(), SideFileRecord{}), "");
  EXPECT_EQ(fs::file_size(pathOf(name)), 8595u);
}

TEST_F(DataFileTest, AFileMadeReadOnlyIsRefusedEvenForRoot) {
  writeBytes("radio.dat", std::vector<std::uint8_t>(8595, 'V'));
  fs::permissions(pathOf("radio.dat"),
                  fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  const std::string error = WriteDataFile(pathOf("radio.dat"), SampleDocument(), SideFileRecord{});
  EXPECT_NE(error.find("read-only"), std::string::npos) << error;
  EXPECT_FALSE(fs::exists(pathOf("radio.NVD")));
}

TEST_F(DataFileTest, ASecondWriterIsToldTheFileIsBusyAndChangesNothing) {
  const std::vector<std::uint8_t> oldData(8595, 'V');
  writeBytes("radio.dat", oldData);
  // Locks of two descriptors exclude each other even within one process.
  auto first = LockForChange(pathOf("radio.dat"), 0);
  ASSERT_TRUE(first.ok()) << first.error;
  const auto second = LockForChange(pathOf("radio.dat"), 0);
  EXPECT_TRUE(second.busy);
  const std::string refused =
      WriteDataFile(pathOf("radio.dat"), SampleDocument(), SideFileRecord{});
  EXPECT_NE(refused.find(kFileBusyReason), std::string::npos) << refused;
  EXPECT_FALSE(fs::exists(pathOf("radio.NVD")));

  // The holder saves; its lock moves to the new file and still keeps others out.
  ASSERT_EQ(WriteDataFile(pathOf("radio.dat"), SampleDocument(), SideFileRecord{}, &first.lock),
            "");
  EXPECT_TRUE(LockForChange(pathOf("radio.dat"), 0).busy);
  first.lock.release();
  EXPECT_TRUE(LockForChange(pathOf("radio.dat"), 0).ok());
}

TEST_F(DataFileTest, APipeIsRefusedWithoutWaitingForIt) {
  ASSERT_EQ(::mkfifo(pathOf("pipe.dat").c_str(), 0600), 0);
  const auto read = ReadWholeFile(pathOf("pipe.dat"), 8595);
  EXPECT_FALSE(read.ok());
  EXPECT_NE(WriteDataFile(pathOf("pipe.dat"), SampleDocument(), SideFileRecord{}), "");
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
  // A side file that cannot be written fails the save before either file is
  // touched: the pair is stored whole or not at all.
  EXPECT_FALSE(save("mine.dat"));
  EXPECT_EQ(bytesOf("mine.dat"), oldData);
  EXPECT_EQ(bytesOf("mine.NVD"), oldSide);
  for (const auto& name : filesInFolder()) EXPECT_EQ(name.find(".tmp"), std::string::npos) << name;
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
