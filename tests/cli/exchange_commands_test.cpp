// cps530-cli import and export against real files: the exit status of each
// outcome, files left byte for byte when nothing is written, and a list that
// goes out and comes back in.
#include "cli/exchange_commands.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <random>
#include <sstream>

#include "core/document/file_io.hpp"
#include "portable_folder.hpp"

namespace cps::cli {
namespace {

namespace fs = std::filesystem;

std::string fileText(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

void writeText(const fs::path& p, const std::string& text) {
  std::ofstream(p, std::ios::binary) << text;
}

constexpr const char* kHeader =
    "Location,Name,Frequency,Duplex,Offset,Tone,rToneFreq,cToneFreq,DtcsCode,DtcsPolarity,"
    "RxDtcsCode,CrossMode,Mode,TStep,Skip,Power,Comment,URCALL,RPT1CALL,RPT2CALL,DVCODE\n";
const std::string kGoodRows =
    std::string(kHeader) +
    "2,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n"
    "3,,145.625000,-,0.600000,Tone,88.5,88.5,023,NN,023,Tone->Tone,NFM,12.50,S,1.0W,,,,,\n";
const std::string kOneBadRow =
    kGoodRows + "4,,440.000000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n";

class ExchangeCommandsTest : public PortableFolderTest {
 protected:
  int makeNew(const std::string& name, const std::string& band = "136 - 174 MHz") {
    return run([&](const Environment& env) {
      return RunNew({path(name), "TW530G", band, {}, false}, env);
    });
  }
  int import(const std::string& name, const std::string& csv, ImportCommandOptions options = {}) {
    options.file = path(name);
    options.csv = path(csv);
    return run([&](const Environment& env) { return RunImport(options, env); });
  }
  int exportTo(const std::string& name, const std::string& csv) {
    return run([&](const Environment& env) {
      return RunExport(path(name), csv.empty() ? csv : path(csv), env);
    });
  }
  int show(const std::string& name) {
    return run([&](const Environment& env) { return RunShow(path(name), false, env); });
  }
};

struct StatusCase {
  const char* name;
  std::string csv;  // empty: no file at all
  ImportCommandOptions options;
  int status;
  const char* says;  // a line the report holds
};

class ImportStatusTest : public ExchangeCommandsTest,
                         public ::testing::WithParamInterface<StatusCase> {};

TEST_P(ImportStatusTest, ExitStatusAndFilesLeftAsTheyWere) {
  const auto& c = GetParam();
  ASSERT_EQ(makeNew("radio.dat"), kExitOk);
  if (!c.csv.empty()) writeText(m_dir / "list.csv", c.csv);
  const std::string data = fileText(path("radio.dat"));
  const std::string side = fileText(SideFilePath(path("radio.dat")));

  EXPECT_EQ(import("radio.dat", "list.csv", c.options), c.status) << m_err.str();
  EXPECT_NE((m_out.str() + m_err.str()).find(c.says), std::string::npos)
      << m_out.str() << m_err.str();
  const bool written = c.status != kExitRefused && !c.options.dryRun;
  EXPECT_EQ(fileText(path("radio.dat")) != data, written);
  if (!written) {
    EXPECT_EQ(fileText(SideFilePath(path("radio.dat"))), side);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Cases, ImportStatusTest,
    ::testing::Values(
        StatusCase{"EveryRowImported", kGoodRows, {}, kExitOk, "2 rows imported, 0 skipped."},
        StatusCase{"SomeRowsSkipped",
                   kOneBadRow,
                   {},
                   kExitRowsSkipped,
                   "line 4: receive frequency 440.00000 MHz is outside the band 136 - 174 MHz"},
        StatusCase{"DryRunWritesNothing",
                   kOneBadRow,
                   {"", "", false, false, false, true},
                   kExitRowsSkipped,
                   "Dry run: 2 rows would be imported, 1 skipped"},
        StatusCase{"StrictRefusesASkippedRow",
                   kOneBadRow,
                   {"", "", false, false, true, false},
                   kExitRefused,
                   "--strict"},
        StatusCase{"NoUsableRow",
                   std::string(kHeader) + "1,,999,,,,,,,,,,FM,,,,,,,,\n",
                   {},
                   kExitRefused,
                   "No row of the file can be imported"},
        StatusCase{"MalformedFile",
                   std::string(kHeader) + "1,\"open,146.52\n",
                   {},
                   kExitRefused,
                   "line 2: a quoted field is not closed."},
        StatusCase{"NotAChannelList",
                   "just,words\n1,2\n",
                   {},
                   kExitRefused,
                   "no header row with a Frequency column"},
        StatusCase{"UnreadableFile", "", {}, kExitRefused, "list.csv"}),
    [](const auto& c) { return std::string(c.param.name); });

TEST_F(ExchangeCommandsTest, ExportToStandardOutputEqualsTheFile) {
  ASSERT_EQ(makeNew("radio.dat"), kExitOk);
  ASSERT_EQ(exportTo("radio.dat", ""), kExitOk);
  const std::string printed = m_out.str();
  ASSERT_EQ(exportTo("radio.dat", "out.csv"), kExitOk);
  EXPECT_EQ(fileText(m_dir / "out.csv"), printed);
  EXPECT_EQ(printed.rfind("Location,Name,Frequency,", 0), 0u);
}

TEST_F(ExchangeCommandsTest, ExportThenReplaceIntoANewDocumentGivesTheListBack) {
  ASSERT_EQ(makeNew("a.dat"), kExitOk);
  writeText(
      m_dir / "list.csv",
      std::string(kHeader) +
          "1,,146.520000,,0.000000,,88.5,88.5,023,NN,023,Tone->Tone,FM,5.00,,5.0W,,,,,\n"
          "2,,145.625000,-,0.600000,Tone,100.0,88.5,023,NN,023,Tone->Tone,NFM,5.00,S,1.0W,,,,,\n"
          "9,,150.006250,+,0.600000,TSQL,88.5,67.0,023,NN,023,Tone->Tone,FM,6.25,,2.5W,,,,,\n"
          "17,,163.008330,split,173.008330,DTCS,88.5,88.5,754,RN,023,Tone->Tone,NFM,8.33,,High,,,,,"
          "\n"
          "40,,136.000000,off,174.000000,Cross,88.5,88.5,205,NN,023,Tone->Tone,FM,5.00,S,Mid,,,,,\n"
          "128,,174.000000,off,0.000000,Cross,88.5,254.1,023,NN,032,->DTCS,NFM,5.00,,Low,,,,,\n");
  ASSERT_EQ(import("a.dat", "list.csv", {"", "", true, false, false, false}), kExitOk)
      << m_err.str();
  ASSERT_EQ(show("a.dat"), kExitOk);
  const std::string original = m_out.str();

  ASSERT_EQ(exportTo("a.dat", "out.csv"), kExitOk);
  ASSERT_EQ(makeNew("b.dat"), kExitOk);
  ASSERT_EQ(import("b.dat", "out.csv", {"", "", true, false, false, false}), kExitOk)
      << m_err.str();
  ASSERT_EQ(show("b.dat"), kExitOk);
  EXPECT_EQ(m_out.str(), original);
  ASSERT_EQ(exportTo("b.dat", "again.csv"), kExitOk);
  EXPECT_EQ(fileText(m_dir / "again.csv"), fileText(m_dir / "out.csv"));
}

}  // namespace
}  // namespace cps::cli
