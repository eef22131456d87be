// One language per run: what cps530-cli says when it refuses a value or finds
// the command line wrong is wholly in the language of --lang. Only what the
// user gave and the names scripts use (settings, options, list items) stay as
// they are.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <random>
#include <regex>

#include "message_text.hpp"
#include "process.hpp"

namespace cps::e2e {
namespace {

namespace fs = std::filesystem;
using namespace std::chrono_literals;

struct Language {
  const char* option;
  const char* file;
};
constexpr Language kLanguages[] = {{"en", "english.ini"}, {"zh", "chinese.ini"}};

struct RefusalCase {
  const char* what;
  std::vector<std::string> args;  // "FILE" stands for a new data file
  int status;
  std::vector<int> textIds;        // every one of them is said
  std::vector<std::string> given;  // names and values the message repeats as they are
};

// The words of a language text between its marks.
std::vector<std::string> fixedParts(const std::string& text) {
  std::vector<std::string> parts;
  const std::regex mark("%[0-9]+");
  for (std::sregex_token_iterator part(text.begin(), text.end(), mark, -1), end; part != end;
       ++part) {
    if (part->length() > 0) parts.push_back(part->str());
  }
  return parts;
}

class OneLanguageTest : public ::testing::Test {
 protected:
  void SetUp() override {
    std::random_device random;
    m_dir = fs::temp_directory_path() / ("cps530-lang-" + std::to_string(random()));
    fs::create_directories(m_dir);
    m_file = (m_dir / "f.dat").string();
    Process made({CPS_CLI, "--lang", "en", "new", "-o", m_file});
    ASSERT_EQ(made.wait(60s).status, 0);
  }
  void TearDown() override { fs::remove_all(m_dir); }

  Finished cli(const Language& language, std::vector<std::string> args) {
    for (auto& arg : args) {
      if (arg == "FILE") arg = m_file;
    }
    args.insert(args.begin(), {CPS_CLI, "--lang", language.option});
    Process p(args);
    return p.wait(60s);
  }

  fs::path m_dir;
  std::string m_file;
};

TEST_F(OneLanguageTest, RefusalsAndUsageErrorsSpeakOnlyTheLanguageOfTheRun) {
  const std::vector<RefusalCase> cases = {
      {"a list value", {"set", "FILE", "dtmf.rate", "75"}, 1, {9100, 9121, 9143}, {"dtmf.rate"}},
      {"a list value, with a word among the items",
       {"set", "FILE", "options.tot", "20"},
       1,
       {9100, 9121, 9143},
       {"options.tot", "Off"}},
      {"a check box", {"set", "FILE", "options.vox", "2"}, 1, {9103, 9143}, {"options.vox"}},
      {"a character a code cannot hold",
       {"set", "FILE", "dtmf.bot", "12E"},
       1,
       {9110, 9143},
       {"dtmf.bot"}},
      {"an FM preset outside the band",
       {"set", "FILE", "fm.1", "75"},
       1,
       {9106, 9143},
       {"fm.1", "MHz"}},
      {"a required option missing", {"read"}, 2, {9130, 9136}, {"--port", "read"}},
      {"an option without its value", {"read", "--port"}, 2, {9134, 9136}, {"--port", "read"}},
      {"an unknown option",
       {"show", "--frobnicate", "x.dat"},
       2,
       {9131, 9136},
       {"--frobnicate", "show"}},
      {"one argument too many", {"show", "x.dat", "y.dat"}, 2, {9132, 9136}, {"y.dat", "show"}},
      {"a language the program does not speak",
       {"--lang", "xx", "show", "x.dat"},
       2,
       {9100, 9136},
       {"--lang", "xx", "en", "zh", "show"}},
      {"a channel that is no number",
       {"edit", "FILE", "abc", "power", "1"},
       2,
       {9119, 9136},
       {"CHANNEL", "abc", "edit"}},
      {"no verb",
       {},
       2,
       {9135, 9136},
       {"new", "show", "dump", "edit", "get", "set", "read", "write", "info", "pack", "unpack",
        "diff", "report", "import", "export"}},
      {"a channel value outside its field",
       {"edit", "FILE", "1", "power", "7"},
       1,
       {9157, 9151, 9143},
       {"power"}},
      {"a tone that is no tone", {"edit", "FILE", "1", "decode", "99.9"}, 1, {9154}, {"none"}},
      {"a field of a channel that is not there",
       {"edit", "FILE", "5", "power", "1"},
       1,
       {9157, 9156, 9143},
       {"power", "rx"}},
      {"a serial device that is not there",
       {"write", "FILE", "--port", "/dev/cps530-no-such-port"},
       1,
       {9003, 9140},
       {"/dev/cps530-no-such-port"}},
  };
  for (const auto& c : cases) {
    for (const auto& language : kLanguages) {
      const std::string what = std::string(c.what) + " (" + language.option + ")";
      const Finished done = cli(language, c.args);
      EXPECT_EQ(done.status, c.status) << what << "\n" << done.err;
      for (const int id : c.textIds) {
        const std::string text = MessageText(id, language.file);
        for (const auto& part : fixedParts(text)) {
          EXPECT_NE(done.err.find(part), std::string::npos)
              << what << ": text " << id << " (\"" << part << "\") is not said:\n"
              << done.err;
        }
      }
      // What is left once the names and values given are taken out.
      std::string rest = done.err;
      std::vector<std::string> given = c.given;
      given.insert(given.end(), {"cps530-cli", "--help"});
      std::sort(given.begin(), given.end(),
                [](const std::string& a, const std::string& b) { return a.size() > b.size(); });
      for (const auto& word : given) {
        for (auto at = rest.find(word); at != std::string::npos; at = rest.find(word, at)) {
          rest.erase(at, word.size());
        }
      }
      if (std::string(language.option) == "zh") {
        std::smatch english;
        EXPECT_FALSE(std::regex_search(rest, english, std::regex("[A-Za-z]{2,}")))
            << what << ": an English word \"" << english.str() << "\" in\n"
            << done.err;
      } else {
        EXPECT_TRUE(std::all_of(rest.begin(), rest.end(),
                                [](char ch) { return static_cast<unsigned char>(ch) < 0x80; }))
            << what << ": not English:\n"
            << done.err;
      }
    }
  }
}

}  // namespace
}  // namespace cps::e2e
