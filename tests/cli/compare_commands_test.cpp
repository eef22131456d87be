// cps530-cli diff and report against real files in a temporary folder.
#include "cli/compare_commands.hpp"

#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "cli/commands.hpp"
#include "cli/setting_commands.hpp"
#include "portable_folder.hpp"

namespace cps::cli {
namespace {

namespace fs = std::filesystem;

class CompareCommandsTest : public PortableFolderTest {
 protected:
  void SetUp() override {
    PortableFolderTest::SetUp();
    ASSERT_EQ(run([&](const Environment& env) {
                return RunNew(NewOptions{path("a.dat"), "TW530G", "400 - 480 MHz", {}, false}, env);
              }),
              kExitOk)
        << m_err.str();
    fs::copy_file(path("a.dat"), path("b.dat"));
    fs::copy_file(path("a.NVD"), path("b.NVD"));
  }
  int diff(const std::string& a, const std::string& b, bool json = false, int language = kEnglish) {
    return run(
        [&](const Environment& env) {
          return RunDiff({path(a), path(b), json}, env);
        },
        language);
  }
  int set(const std::string& file, std::vector<std::string> pairs) {
    return run([&](const Environment& env) { return RunSet({path(file), std::move(pairs)}, env); });
  }
  int edit(const std::string& file, int channel, std::vector<std::string> pairs) {
    return run([&](const Environment& env) {
      return RunEdit({path(file), false, channel, std::move(pairs)}, env);
    });
  }
  int report(const std::string& file, const std::string& output, const std::string& page = {},
             int language = kEnglish) {
    return run(
        [&](const Environment& env) {
          return RunReport({path(file), path(output), page}, env);
        },
        language);
  }
};

TEST_F(CompareCommandsTest, DiffSaysNothingAndExitsZeroForTheSameConfiguration) {
  EXPECT_EQ(diff("a.dat", "b.dat"), 0) << m_err.str();
  EXPECT_EQ(m_out.str(), "");
  EXPECT_EQ(diff("a.dat", "b.dat", true), 0);
  EXPECT_EQ(nlohmann::json::parse(m_out.str()), nlohmann::json::array());
}

TEST_F(CompareCommandsTest, DiffGivesOneLinePerDifferenceAndExitsOne) {
  ASSERT_EQ(set("b.dat", {"scan.mode", "On", "options.vox", "1"}), kExitOk) << m_err.str();
  ASSERT_EQ(edit("b.dat", 5, {"rx", "435.1"}), kExitOk) << m_err.str();
  EXPECT_EQ(diff("a.dat", "b.dat"), 1);
  // A new document holds 0 in its channel references, which the windows show as
  // channel 1 and `set` stores as 1 when it saves the block: the radio gets
  // other bytes, so each is a line, with the stored values in brackets.
  EXPECT_EQ(m_out.str(),
            "channel.5 (Channel): (not present) -> 435.10000\n"
            "options.vox (VOX): No -> Yes\n"
            "scan.mode (Scan mode): Off -> On\n"
            "scan.priority1.group (Priority CH1 group/channel): 1 [0] -> 1 [1]\n"
            "scan.priority1.position (-): 1 [0] -> 1 [1]\n"
            "scan.priority2.group (Priority CH2 group/channel): 1 [0] -> 1 [1]\n"
            "scan.priority2.position (-): 1 [0] -> 1 [1]\n"
            "alert.channel.group (Emergency channel group): 1 [0] -> 1 [1]\n"
            "alert.channel.position (Emergency channel): 1 [0] -> 1 [1]\n");

  // In the language of the messages.
  EXPECT_EQ(diff("a.dat", "b.dat", false, kChinese), 1);
  EXPECT_NE(m_out.str().find("options.vox (声控功能): 否 -> 是"), std::string::npos) << m_out.str();

  // The JSON speaks as get does, in English whatever the language: a check box is 0 or 1.
  EXPECT_EQ(diff("a.dat", "b.dat", true, kChinese), 1);
  const auto list = nlohmann::json::parse(m_out.str());
  ASSERT_EQ(list.size(), 9u);
  EXPECT_EQ(list[0]["field"], "channel.5");
  EXPECT_EQ(list[0]["channel"], 5);
  EXPECT_EQ(list[1], (nlohmann::json{{"field", "options.vox"},
                                     {"block", "options"},
                                     {"label", "VOX"},
                                     {"a", "0"},
                                     {"b", "1"}}));
  EXPECT_EQ(list[2]["a"], "Off");
  EXPECT_EQ(list[2]["b"], "On");
}

TEST_F(CompareCommandsTest, DiffExitsTwoForAFileItCannotRead) {
  {
    std::ofstream shortFile(path("short.dat"), std::ios::binary);
    shortFile << "V200 and not much more";
  }
  std::vector<char> noVersion(8595, 'x');
  std::ofstream(path("noversion.dat"), std::ios::binary).write(noVersion.data(), noVersion.size());
  for (const auto& [a, b] :
       std::vector<std::pair<std::string, std::string>>{{"missing.dat", "b.dat"},
                                                        {"a.dat", "missing.dat"},
                                                        {"a.dat", "short.dat"},
                                                        {"noversion.dat", "a.dat"}}) {
    EXPECT_EQ(diff(a, b), 2) << a << " " << b;
    EXPECT_EQ(m_out.str(), "");
    EXPECT_NE(m_err.str().find("cps530-cli: "), std::string::npos) << m_err.str();
    EXPECT_EQ(diff(a, b, true), 2) << a << " " << b;
  }
}

TEST_F(CompareCommandsTest, ReportAsHtmlHoldsTheWholeConfiguration) {
  ASSERT_EQ(edit("b.dat", 20, {"rx", "436.5", "whisper", "1"}), kExitOk) << m_err.str();
  ASSERT_EQ(report("b.dat", "b.html"), kExitOk) << m_err.str();
  std::ifstream in(path("b.html"));
  const std::string html((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  for (const char* part :
       {"<h1>Radio Configuration</h1>", "b.dat", "400 - 480 MHz", "<h3>Group 2</h3>", "436.50000",
        "Whisper: Yes", "<h2>Scan Settings</h2>", "<h2>Embedded Message</h2>", "<thead>"}) {
    EXPECT_NE(html.find(part), std::string::npos) << part;
  }
}

TEST_F(CompareCommandsTest, ReportRefusesWhatItCannotReadOrWrite) {
  EXPECT_EQ(report("b.dat", "b.txt"), kExitUsage);
  EXPECT_FALSE(fs::exists(path("b.txt")));
  EXPECT_EQ(report("missing.dat", "m.html"), kExitRefused);
  EXPECT_EQ(report("b.dat", "no-such-folder/b.html"), kExitRefused);
  EXPECT_EQ(report("b.dat", "no-such-folder/b.pdf"), kExitRefused);
}

// The PDF read back as text, where poppler's pdftotext is installed.
std::string pdfText(const std::string& pdf) {
  const std::string command = "pdftotext -layout '" + pdf + "' - 2>/dev/null";
  FILE* pipe = popen(command.c_str(), "r");
  if (pipe == nullptr) return {};
  std::string text;
  std::array<char, 4096> buffer{};
  while (const std::size_t n = fread(buffer.data(), 1, buffer.size(), pipe))
    text.append(buffer.data(), n);
  pclose(pipe);
  return text;
}

TEST_F(CompareCommandsTest, ReportAsPdfReadsBackInEitherLanguage) {
  if (std::system("pdftotext -v >/dev/null 2>&1") != 0)
    GTEST_SKIP() << "pdftotext is not installed";
  ASSERT_EQ(edit("b.dat", 20, {"rx", "436.5"}), kExitOk) << m_err.str();
  ASSERT_EQ(report("b.dat", "b.pdf", "letter"), kExitOk) << m_err.str();
  const std::string english = pdfText(path("b.pdf"));
  // ("fi" may come back as its ligature.)
  for (const char* part : {"Radio Con", "436.50000", "Scan Settings", "Page 1 / "}) {
    EXPECT_NE(english.find(part), std::string::npos) << part << "\n" << english;
  }
  ASSERT_EQ(report("b.dat", "z.pdf", "a4", kChinese), kExitOk) << m_err.str();
  const std::string chinese = pdfText(path("z.pdf"));
  for (const char* part : {"电台配置", "信道信息", "扫描信息"}) {
    EXPECT_NE(chinese.find(part), std::string::npos) << part << "\n" << chinese;
  }
}

}  // namespace
}  // namespace cps::cli
