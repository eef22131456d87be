// What a verb that writes a new file may replace without --force.
#include "core/app/output_files.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <string>
#include <vector>

namespace cps {
namespace {

namespace fs = std::filesystem;

class OutputFilesTest : public ::testing::Test {
 protected:
  fs::path folder;

  void SetUp() override {
    std::random_device random;
    folder = fs::temp_directory_path() / ("cps530-output-" + std::to_string(random()));
    fs::create_directories(folder);
  }
  void TearDown() override {
    std::error_code ignored;
    fs::remove_all(folder, ignored);
  }
  std::string pathOf(const std::string& name) const { return (folder / name).string(); }
  void write(const std::string& name, const std::string& bytes) const {
    std::ofstream(folder / name, std::ios::binary) << bytes;
  }
};

std::string dataFileBytes() { return "V200" + std::string(8595 - 4, '\0'); }

struct OutputCase {
  const char* what;
  std::string existing;  // the output's content before; "-" when there is none
  OutputKind kind;
  bool outputIsInput;
  bool allowed;  // without --force
};

TEST_F(OutputFilesTest, ReplacesOnlyWhatIsOfItsOwnKind) {
  const std::vector<OutputCase> cases = {
      {"a new file", "-", OutputKind::ChannelList, false, true},
      {"an empty file", "", OutputKind::Report, false, true},
      {"an older channel list", "Location,Name,Frequency\n1,A,446.0\n", OutputKind::ChannelList,
       false, true},
      {"a list saved with semicolons", "Location;Frequency\r\n1;446,0\r\n", OutputKind::ChannelList,
       false, true},
      {"an older HTML report", "\xEF\xBB\xBF  <!DOCTYPE html><html>", OutputKind::Report, false,
       true},
      {"an older PDF report", "%PDF-1.4\n...", OutputKind::Report, false, true},
      {"an older radio image", std::string(2832, '\xFF'), OutputKind::RadioImage, false, true},
      {"an older data file", dataFileBytes(), OutputKind::DataFile, false, true},
      {"a data file where a list goes", dataFileBytes(), OutputKind::ChannelList, false, false},
      {"a data file where a report goes", dataFileBytes(), OutputKind::Report, false, false},
      {"a side file", std::string("V200\x01", 5), OutputKind::ChannelList, false, false},
      {"notes where a list goes", "shopping: milk\n", OutputKind::ChannelList, false, false},
      {"a list where a report goes", "Location,Frequency\n", OutputKind::Report, false, false},
      {"notes where a data file goes", "remember the repeater\n", OutputKind::DataFile, false,
       false},
      {"the input itself", "Location,Frequency\n", OutputKind::ChannelList, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.what);
    fs::remove(folder / "out");
    if (c.existing != "-") write("out", c.existing);
    const std::vector<std::string> inputs = {c.outputIsInput ? pathOf("out") : pathOf("in.dat")};
    const std::string problem = OutputFileProblem(pathOf("out"), c.kind, inputs, false);
    EXPECT_EQ(problem.empty(), c.allowed) << problem;
    if (!c.allowed) {
      EXPECT_NE(problem.find("--force"), std::string::npos) << problem;
    }
    EXPECT_EQ(OutputFileProblem(pathOf("out"), c.kind, inputs, true), "");
  }
}

TEST_F(OutputFilesTest, TheInputUnderAnotherNameIsTheInput) {
  write("radio.dat", dataFileBytes());
  fs::create_symlink("radio.dat", folder / "alias.dat");
  EXPECT_NE(
      OutputFileProblem(pathOf("alias.dat"), OutputKind::DataFile, {pathOf("radio.dat")}, false),
      "");
}

}  // namespace
}  // namespace cps
