// cps530-cli get and set against real files: each change compared with the
// bytes the same change through the core gives, refusals that leave both files
// as they were, get beside dump --json, and get's output given back to set.
#include "cli/setting_commands.hpp"

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <nlohmann/json.hpp>
#include <random>
#include <sstream>

#include "cli/commands.hpp"
#include "cli/session.hpp"
#include "core/settings/setting_fields.hpp"
#include "core/settings/setting_values.hpp"
#include "portable_folder.hpp"

namespace cps::cli {
namespace {

namespace fs = std::filesystem;

std::vector<char> fileBytes(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
}

template <typename Image>
std::vector<char> asChars(const Image& image) {
  return {image.begin(), image.end()};
}

// One word of a POSIX shell as get writes it: bare, '...' (a quote inside as
// '\''), or $'...' with \xHH, \\ and \'.
std::string shellUnquote(std::string_view word) {
  std::string out;
  std::size_t i = 0;
  while (i < word.size()) {
    if (word.compare(i, 2, "$'") == 0) {
      for (i += 2; i < word.size() && word[i] != '\''; ++i) {
        if (word[i] != '\\') {
          out += word[i];
        } else if (word[++i] == 'x') {
          out += static_cast<char>(std::stoi(std::string(word.substr(i + 1, 2)), nullptr, 16));
          i += 2;
        } else {
          out += word[i];
        }
      }
      ++i;
    } else if (word[i] == '\'') {
      const auto end = word.find('\'', i + 1);
      out += word.substr(i + 1, end - i - 1);
      i = end + 1;
    } else if (word[i] == '\\') {
      out += word[i + 1];
      i += 2;
    } else {
      out += word[i++];
    }
  }
  return out;
}

struct GetLine {
  std::string name;
  std::string value;
};

std::vector<GetLine> getLines(const std::string& out) {
  std::vector<GetLine> lines;
  std::istringstream in(out);
  for (std::string line; std::getline(in, line);) {
    const auto blank = line.find(' ');
    lines.push_back({line.substr(0, blank), shellUnquote(line.substr(blank + 1))});
  }
  return lines;
}

class SettingCommandsTest : public PortableFolderTest {
 protected:
  // A base file with channels in groups 1 and 3 (channels 1 and 3, 35 and
  // 40), so that every channel list has items.
  void SetUp() override {
    PortableFolderTest::SetUp();

    NewOptions newOptions{path("base.dat"), "TW530G", "400 - 480 MHz", {}, false};
    ASSERT_EQ(run([&](const Environment& env) { return RunNew(newOptions, env); }), kExitOk);
    for (const auto& [channel, rx] :
         std::vector<std::pair<int, std::string>>{{3, "435.5"}, {35, "437"}, {40, "436"}}) {
      EditOptions edit{path("base.dat"), false, channel, {"rx", rx}};
      ASSERT_EQ(run([&](const Environment& env) { return RunEdit(edit, env); }), kExitOk)
          << m_err.str();
    }
  }
  std::string sidePath(const std::string& name) const {
    return (m_dir / name).replace_extension(".NVD").string();
  }
  void copyBase(const std::string& name) {
    fs::copy_file(path("base.dat"), path(name), fs::copy_options::overwrite_existing);
    fs::copy_file(sidePath("base.dat"), sidePath(name), fs::copy_options::overwrite_existing);
  }

  int set(const std::string& name, std::vector<std::string> pairs) {
    SetOptions options{path(name), std::move(pairs)};
    return run([&](const Environment& env) { return RunSet(options, env); });
  }
  int get(const std::string& name, const std::vector<std::string>& names = {},
          int language = kEnglish) {
    return run([&](const Environment& env) { return RunGet(path(name), names, env); }, language);
  }

  // A file with a value other than the default in every block.
  void prepare(const std::string& name) {
    copyBase(name);
    ASSERT_EQ(set(name, {"options.tot",
                         "240",
                         "options.vox",
                         "1",
                         "options.vox-delay",
                         "2.5",
                         "dtmf.rate",
                         "150",
                         "dtmf.d-key",
                         "5s",
                         "dtmf.id",
                         "12345",
                         "dtmf.bot",
                         "12*#",
                         "dtmf.memory.2",
                         "555",
                         "dtmf.memory.5",
                         "A1",
                         "scan.mode",
                         "On",
                         "scan.priority-mode",
                         "Priority CH1 + Priority CH2",
                         "scan.priority1.group",
                         "1",
                         "scan.priority2.group",
                         "3",
                         "scan.priority2.position",
                         "8",
                         "scan.revert",
                         "Priority CH2 + Talkback",
                         "alert.mode",
                         "Off",
                         "alert.type",
                         "Remote alarm",
                         "alert.id-type",
                         "DTMF",
                         "alert.id-code",
                         "M5",
                         "alert.channel.group",
                         "3",
                         "keys.pf1.short",
                         "Scan",
                         "keys.pf2.long",
                         "Emergency alarm",
                         "message.1",
                         "HELLO WORLD",
                         "message.2",
                         "IT'S $5",
                         "test.3.first",
                         "435.1",
                         "test.3.second",
                         "440",
                         "fm.1",
                         "87.53",
                         "fm.20",
                         "108"}),
              kExitOk)
        << m_err.str();
  }

  // The English texts the command line reads its list items from.
  TextOf englishTexts() {
    return [this](int id) { return m_english.LangText(id); };
  }

  TextTable m_english{fs::path(CPS_SOURCE_DATA_DIR) / "language" / "english.ini"};
};

// ---- set: the same bytes as the core ---------------------------------------

// One change through the core: a stored number, or a text for a text field.
struct CoreStep {
  const char* name;
  int stored = 0;
  const char* text = nullptr;
};

struct SetCase {
  const char* what;
  std::vector<std::string> pairs;
  std::vector<CoreStep> same;
};

TEST_F(SettingCommandsTest, SetStoresWhatTheCoreStoresForTheSameChange) {
  const std::vector<SetCase> cases = {
      {"options",
       {"options.tot", "240", "options.vox", "1", "options.vox-delay", "3", "options.battery-save",
        "level 2", "options.wired-clone", "1"},
       {{"options.tot", 240},
        {"options.vox", 1},
        {"options.vox-delay", 5},
        {"options.battery-save", 2},
        {"options.wired-clone", 1}}},
      {"dtmf timings and lists",
       {"dtmf.rate", "150", "dtmf.first-digit-delay", "2500", "dtmf.d-key", "5", "dtmf.group-code",
        "#", "dtmf.call-alert", "Auto answer", "dtmf.sidetone", "1"},
       {{"dtmf.rate", 3},
        {"dtmf.first-digit-delay", 50},
        {"dtmf.d-key", 5},
        {"dtmf.group-code", 6},
        {"dtmf.call-alert", 2},
        {"dtmf.sidetone", 1}}},
      {"dtmf ID code and codes",
       {"dtmf.id", "12345", "dtmf.bot", "12*#", "dtmf.eot", "a1", "dtmf.stun", "999", "dtmf.kill",
        "D"},
       {{"dtmf.id", 0, "12345"},
        {"dtmf.bot", 0, "12*#"},
        {"dtmf.eot", 0, "A1"},
        {"dtmf.stun", 0, "999"},
        {"dtmf.kill", 0, "D"}}},
      {"dtmf memories and the identification that uses them",
       {"dtmf.memory.2", "555", "dtmf.memory.16", "1*#", "alert.id-type", "DTMF", "alert.id-code",
        "M16"},
       {{"dtmf.memory.2", 0, "555"},
        {"dtmf.memory.16", 0, "1*#"},
        {"alert.id-type", 1},
        {"alert.id-code", 16}}},
      {"scanning on, then a key takes the scan function",
       {"scan.mode", "On", "keys.pf1.short", "Scan", "keys.pf2.long", "8"},
       {{"scan.mode", 1}, {"keys.pf1.short", 8}, {"keys.pf2.long", 8}}},
      {"scanning off takes the scan function off the keys",
       {"scan.mode", "1", "keys.pf1.long", "scan", "scan.mode", "off"},
       {{"scan.mode", 1}, {"keys.pf1.long", 8}, {"scan.mode", 0}}},
      {"priority channels and revert",
       {"scan.priority-mode", "Priority CH1 + Priority CH2", "scan.priority2.group", "3",
        "scan.priority2.position", "8", "scan.revert", "Priority CH2 + Talkback",
        "scan.look-back-a", "2.5", "scan.rx-resume-delay", "0.1", "scan.entry-tone", "1"},
       {{"scan.priority-mode", 3},
        {"scan.priority2.group", 3},
        {"scan.priority2.position", 8},
        {"scan.revert", 7},
        {"scan.look-back-a", 25},
        {"scan.rx-resume-delay", 1},
        {"scan.entry-tone", 1}}},
      {"the alarm mode in the side file", {"alert.mode", "off"}, {{"alert.mode", 0}}},
      {"alert",
       {"alert.type", "Silent remote alarm", "alert.tx-time", "30", "alert.cycle", "12",
        "alert.channel.group", "3", "alert.channel.position", "8"},
       {{"alert.type", 3},
        {"alert.tx-time", 30},
        {"alert.cycle", 12},
        {"alert.channel.group", 3},
        {"alert.channel.position", 8}}},
      {"keys",
       {"keys.long-press-time", "1.5", "keys.emergency-long-press-time", "2.5", "keys.pf1.long",
        "Emergency alarm", "keys.pf2.short", "wide/narrow"},
       {{"keys.long-press-time", 15},
        {"keys.emergency-long-press-time", 25},
        {"keys.pf1.long", 4},
        {"keys.pf2.short", 20}}},
      {"message lines",
       {"message.1", "HELLO WORLD", "message.4", "IT'S $5"},
       {{"message.1", 0, "HELLO WORLD"}, {"message.4", 0, "IT'S $5"}}},
      {"test frequencies",
       {"test.3.first", "435.1", "test.3.second", "440.10000", "test.1.first", ""},
       {{"test.3.first", 0, "435.1"}, {"test.3.second", 0, "440.1"}, {"test.1.first", 0, ""}}},
      {"a test frequency outside the band", {"test.2.first", "520"}, {{"test.2.first", 0, "520"}}},
      {"FM presets",
       {"fm.1", "87.53", "fm.20", "108", "fm.5", "76.00"},
       {{"fm.1", 0, "87.53"}, {"fm.20", 0, "108"}, {"fm.5", 0, "76"}}},
  };
  for (const auto& c : cases) {
    copyBase("case.dat");
    ASSERT_EQ(set("case.dat", c.pairs), kExitOk) << c.what << ": " << m_err.str();

    copyBase("core.dat");
    const Environment env{{m_out, m_err}, m_folders, kEnglish};
    Session core(env);
    ASSERT_TRUE(core.open(path("core.dat"))) << c.what;
    for (const auto& step : c.same) {
      const SettingField* field = FindSettingField(step.name);
      ASSERT_NE(field, nullptr) << step.name;
      const auto outcome =
          step.text != nullptr
              ? SetSetting(core.state(), core.effects(), *field, std::string_view(step.text))
              : SetSetting(core.state(), core.effects(), *field, step.stored);
      ASSERT_EQ(outcome.status, EditStatus::Applied) << c.what << ": " << step.name;
    }
    EXPECT_EQ(fileBytes(path("case.dat")), asChars(core.state().workingDocument.toBytes()))
        << c.what;
    EXPECT_EQ(fileBytes(sidePath("case.dat")), asChars(core.state().workingSide.toBytes()))
        << c.what;
  }
}

TEST_F(SettingCommandsTest, ATestFrequencyOutsideTheBandIsBroughtInWithAWarning) {
  copyBase("r.dat");
  ASSERT_EQ(set("r.dat", {"test.2.first", "520"}), kExitOk) << m_err.str();
  EXPECT_NE(m_err.str().find(m_english.LangText(9021)), std::string::npos) << m_err.str();
  ASSERT_EQ(get("r.dat", {"test.2.first"}), kExitOk);
  EXPECT_EQ(m_out.str(), "test.2.first 480.00000\n");
}

// ---- set: refusals -------------------------------------------------------------

struct RefusalCase {
  const char* what;
  std::vector<std::string> pairs;
  const char* named;          // the name the one line of stderr gives
  int status = kExitRefused;  // a wrong command line is a usage error
};

// Whole UTF-8 characters only: a message never cuts one apart.
bool wellFormedUtf8(std::string_view text) {
  for (std::size_t i = 0; i < text.size();) {
    const auto c = static_cast<unsigned char>(text[i]);
    const std::size_t length = c < 0x80                 ? 1
                               : c >= 0xC2 && c <= 0xDF ? 2
                               : c >= 0xE0 && c <= 0xEF ? 3
                               : c >= 0xF0 && c <= 0xF4 ? 4
                                                        : 0;
    if (length == 0 || i + length > text.size()) return false;
    for (std::size_t k = 1; k < length; ++k) {
      if ((static_cast<unsigned char>(text[i + k]) & 0xC0) != 0x80) return false;
    }
    i += length;
  }
  return true;
}

TEST_F(SettingCommandsTest, RefusalsNameTheSettingAndLeaveBothFilesAsTheyWere) {
  const std::vector<RefusalCase> cases = {
      {"an unknown name", {"dtmf.rat", "150"}, "dtmf.rat", kExitUsage},
      {"a name without its value", {"options.tot", "240", "dtmf.rate"}, "NAME VALUE", kExitUsage},
      {"a list value not offered", {"dtmf.rate", "75"}, "dtmf.rate"},
      {"a stored number that shows another number",
       {"dtmf.first-digit-delay", "50"},
       "dtmf.first-digit-delay"},
      {"a check box takes 0 or 1", {"options.vox", "yes"}, "options.vox"},
      {"the scan function while scanning is off", {"keys.pf1.short", "Scan"}, "keys.pf1.short"},
      {"scanning switched off before the key",
       {"scan.mode", "1", "scan.mode", "0", "keys.pf2.long", "8"},
       "keys.pf2.long"},
      {"a short press offers no alarm", {"keys.pf1.short", "Emergency alarm"}, "keys.pf1.short"},
      {"a group without channels", {"scan.priority1.group", "2"}, "scan.priority1.group"},
      {"an identification memory that is not defined",
       {"alert.id-type", "DTMF", "alert.id-code", "M3"},
       "alert.id-code"},
      {"an ID code too short", {"dtmf.id", "12"}, "dtmf.id"},
      {"a code with a character it lacks", {"dtmf.bot", "12E"}, "dtmf.bot"},
      {"a message line too long", {"message.1", "ABCDEFGHIJKLMNOPQ"}, "message.1"},
      {"a test frequency that is no number", {"test.1.first", "abc"}, "test.1.first"},
      {"an FM preset outside the broadcast band", {"fm.1", "50"}, "fm.1"},
      {"an FM preset in MHz terms", {"fm.1", "87.555"}, "at most two decimals"},
      {"a test frequency in MHz terms", {"test.1.first", "435.123456"}, "at most five decimals"},
      {"a character beyond ASCII, named whole", {"message.1", "CAF\xC3\xA9"}, "\"\xC3\xA9\""},
      {"a byte beyond ASCII as get writes it", {"message.1", "CAF\\xE9"}, "\"\\xE9\""},
      {"a number no item stores", {"dtmf.rate", "=11"}, "dtmf.rate"},
      {"good pairs, the side file's among them, before a bad one",
       {"options.tot", "240", "alert.mode", "off", "dtmf.rate", "75"},
       "dtmf.rate"},
  };
  copyBase("r.dat");
  const auto data = fileBytes(path("r.dat"));
  const auto side = fileBytes(sidePath("r.dat"));
  for (const auto& c : cases) {
    EXPECT_EQ(set("r.dat", c.pairs), c.status) << c.what;
    const std::string err = m_err.str();
    EXPECT_TRUE(wellFormedUtf8(err)) << c.what << ": " << err;
    EXPECT_EQ(err.find("[9"), std::string::npos) << c.what << ": no text numbers: " << err;
    EXPECT_NE(err.find(c.named), std::string::npos) << c.what << ": " << err;
    EXPECT_EQ(err.find('\n'), err.size() - 1) << c.what << ": one line: " << err;
    EXPECT_EQ(fileBytes(path("r.dat")), data) << c.what;
    EXPECT_EQ(fileBytes(sidePath("r.dat")), side) << c.what;
  }
}

TEST_F(SettingCommandsTest, AFileThatCannotBeOpenedIsRefused) {
  std::ofstream(path("short.dat"), std::ios::binary) << "V200";
  EXPECT_EQ(set("short.dat", {"options.tot", "240"}), kExitRefused);
  EXPECT_EQ(fs::file_size(path("short.dat")), 4u);
  EXPECT_EQ(get("short.dat"), kExitRefused);
  EXPECT_EQ(m_out.str(), "");
}

// ---- get -------------------------------------------------------------------------

TEST_F(SettingCommandsTest, GetPrintsEverySettingInTheWindowsOrder) {
  prepare("r.dat");
  ASSERT_EQ(get("r.dat"), kExitOk) << m_err.str();
  const auto lines = getLines(m_out.str());
  const auto fields = AllSettingFields();
  ASSERT_EQ(lines.size(), fields.size()) << m_out.str();
  for (std::size_t i = 0; i < lines.size(); ++i) EXPECT_EQ(lines[i].name, fields[i]->name);
}

TEST_F(SettingCommandsTest, GetPrintsTheNamedSettingsAsTheWindowsShowThem) {
  prepare("r.dat");
  ASSERT_EQ(get("r.dat", {"dtmf.rate", "options.vox", "message.1", "message.2", "fm.1",
                          "alert.mode", "scan.priority-mode", "keys.pf1.short", "dtmf.bot",
                          "test.3.first", "message.3", "dtmf.rate"}),
            kExitOk)
      << m_err.str();
  EXPECT_EQ(m_out.str(),
            "dtmf.rate 150\n"
            "options.vox 1\n"
            "message.1 'HELLO WORLD'\n"
            "message.2 'IT'\\''S $5'\n"
            "fm.1 87.55000\n"
            "alert.mode Off\n"
            "scan.priority-mode 'Priority CH1 + Priority CH2'\n"
            "keys.pf1.short Scan\n"
            "dtmf.bot '12*#'\n"
            "test.3.first 435.10000\n"
            "message.3 ''\n"
            "dtmf.rate 150\n");
}

TEST_F(SettingCommandsTest, GetRefusesAnUnknownNameBeforePrintingAnything) {
  copyBase("r.dat");
  EXPECT_EQ(get("r.dat", {"dtmf.rate", "dtmf.speed"}), kExitUsage);
  EXPECT_EQ(m_out.str(), "");
  EXPECT_NE(m_err.str().find("dtmf.speed"), std::string::npos) << m_err.str();
}

// One language per run: the refusals of a Chinese run are Chinese.
TEST_F(SettingCommandsTest, RefusalsSpeakTheRunsLanguage) {
  copyBase("r.dat");
  TextTable chinese(m_folders.languageFolder() / "chinese.ini");
  struct Case {
    const char* what;
    std::function<int()> verb;
    int textId;
  };
  const std::vector<Case> cases = {
      {"an unknown name to get", [&] { return get("r.dat", {"dtmf.speed"}, kChinese); }, 9091},
      {"an unknown name to set",
       [&] {
         SetOptions options{path("r.dat"), {"dtmf.speed", "1"}};
         return run([&](const Environment& env) { return RunSet(options, env); }, kChinese);
       },
       9091},
      {"a refused value",
       [&] {
         SetOptions options{path("r.dat"), {"dtmf.rate", "75"}};
         return run([&](const Environment& env) { return RunSet(options, env); }, kChinese);
       },
       9092},
      {"an unknown verb",
       [&] {
         return run([](const Environment& env) { return UnknownVerb("sett", " new", env); },
                    kChinese);
       },
       9090},
  };
  for (const auto& c : cases) {
    EXPECT_NE(c.verb(), kExitOk) << c.what;
    const std::string text = chinese.LangText(c.textId);
    ASSERT_FALSE(text.empty()) << c.textId;
    EXPECT_NE(m_err.str().find(text), std::string::npos) << c.what << ": " << m_err.str();
  }
}

// The list items are English whatever language the messages are in, so that
// a script works on every machine.
TEST_F(SettingCommandsTest, ListTextsAreEnglishInEveryLanguage) {
  copyBase("r.dat");
  ASSERT_EQ(get("r.dat", {"scan.mode", "keys.pf1.long"}, kChinese), kExitOk) << m_err.str();
  EXPECT_EQ(m_out.str(), "scan.mode Off\nkeys.pf1.long None\n");
  SetOptions options{path("r.dat"), {"keys.pf1.long", "Monitor"}};
  EXPECT_EQ(run([&](const Environment& env) { return RunSet(options, env); }, kChinese), kExitOk)
      << m_err.str();
}

// get and dump --json agree on every field: the same item, the stored number
// after "=" where no item names it, and the same text for the text fields.
TEST_F(SettingCommandsTest, GetAndDumpAgreeOnEveryField) {
  prepare("r.dat");
  auto bytes = fileBytes(path("r.dat"));
  bytes[offsets::kDtmf + 2 * DtmfBlock::kRate] = 11;  // no item: the list shows its first
  bytes[offsets::kOptionalFeatures + 2 * OptionalFeaturesBlock::kVoxTone] = 2;  // shows unticked
  bytes[offsets::kOptionalFeatures + 2 * OptionalFeaturesBlock::kTot] = 20;     // between 15 and 30
  std::ofstream(path("r.dat"), std::ios::binary).write(bytes.data(), bytes.size());

  ASSERT_EQ(get("r.dat"), kExitOk) << m_err.str();
  const auto lines = getLines(m_out.str());
  ASSERT_EQ(run([&](const Environment& env) { return RunDump(path("r.dat"), env); }), kExitOk);
  const auto dumped = nlohmann::json::parse(m_out.str())["document"]["settings"];

  const Environment env{{m_out, m_err}, m_folders, kEnglish};
  Session session(env);
  ASSERT_TRUE(session.open(path("r.dat")));
  const DocumentRecord& doc = session.state().workingDocument;
  for (const auto& line : lines) {
    const SettingField* field = FindSettingField(line.name);
    ASSERT_NE(field, nullptr) << line.name;
    const auto& stored = dumped[line.name];
    if (IsTextKind(field->kind)) {
      EXPECT_EQ(UnescapeSettingText(line.value), stored.get<std::string>()) << line.name;
      continue;
    }
    if (line.value.starts_with('=')) {
      EXPECT_EQ(line.value, "=" + std::to_string(stored.get<int>())) << line.name;
      continue;
    }
    const SettingValue shown = ParseSettingValue(doc, *field, line.value, englishTexts());
    ASSERT_TRUE(shown.accepted()) << line.name << ": "
                                  << FailureText(shown.refusal, englishTexts());
    EXPECT_EQ(ItemOfStored(doc, *field, *shown.stored),
              ItemOfStored(doc, *field, stored.get<int>()))
        << line.name << " \"" << line.value << "\" against " << stored;
  }
}

// What get prints, given to set on another file, makes that file show the same.
TEST_F(SettingCommandsTest, GetOutputGivenToSetReproducesTheSettings) {
  prepare("a.dat");
  ASSERT_EQ(get("a.dat"), kExitOk) << m_err.str();
  const std::string listing = m_out.str();
  std::vector<std::string> pairs;
  for (const auto& line : getLines(listing)) {
    pairs.push_back(line.name);
    pairs.push_back(line.value);
  }
  copyBase("b.dat");
  ASSERT_EQ(set("b.dat", pairs), kExitOk) << m_err.str();
  ASSERT_EQ(get("b.dat"), kExitOk) << m_err.str();
  EXPECT_EQ(m_out.str(), listing);
}

// get's own output given back to set on the same file changes nothing, byte for
// byte: values no item names, lines with bytes above 127, a scan key while
// scanning is off, test frequencies outside the band.
class GetThenSetTest : public SettingCommandsTest {
 protected:
  void expectGetThenSetKeepsEveryByte(const std::string& name, const std::string& what) {
    const auto data = fileBytes(path(name));
    const auto side = fileBytes(sidePath(name));
    ASSERT_EQ(get(name), kExitOk) << what << ": " << m_err.str();
    std::vector<std::string> pairs;
    for (const auto& line : getLines(m_out.str())) {
      pairs.push_back(line.name);
      pairs.push_back(line.value);
    }
    ASSERT_EQ(set(name, pairs), kExitOk) << what << ": " << m_err.str();
    EXPECT_TRUE(fileBytes(path(name)) == data) << what;
    EXPECT_TRUE(fileBytes(sidePath(name)) == side) << what;
  }
};

TEST_F(GetThenSetTest, TheNewDocumentOfEveryModelAndBandStaysByteForByte) {
  for (const std::string_view model : {kModelTW530, kModelTW530G}) {
    for (const BandEntry& band : BandTable()) {
      NewOptions options{path("n.dat"), std::string(model), std::string(band.label), {}, false};
      const std::string what = std::string(model) + " " + std::string(band.label);
      ASSERT_EQ(run([&](const Environment& env) { return RunNew(options, env); }), kExitOk)
          << what << ": " << m_err.str();
      expectGetThenSetKeepsEveryByte("n.dat", what);
    }
  }
}

// Every byte of every settings block, the FM presets and the test frequencies
// at values no window would write: bytes above 127, NULs and control bytes
// inside texts, numbers past every list, codes longer than their box.
TEST_F(GetThenSetTest, ADocumentWithEveryFieldAtAnOddValueStaysByteForByte) {
  struct Pattern {
    const char* what;
    int multiplier;
    int offset;
    std::uint8_t alarmMode;
  };
  const std::vector<Pattern> patterns = {
      {"ascending", 1, 0, 0}, {"scattered", 131, 7, 7}, {"high bytes", 3, 0x80, 0xFF}};
  for (const auto& pattern : patterns) {
    copyBase("odd.dat");
    auto bytes = fileBytes(path("odd.dat"));
    for (std::size_t i = offsets::kFmPresets; i < bytes.size(); ++i) {
      if (i >= offsets::kModelInfo && i < offsets::kOptionalFeatures) continue;
      bytes[i] =
          static_cast<char>((static_cast<int>(i) * pattern.multiplier + pattern.offset) & 0xFF);
    }
    std::ofstream(path("odd.dat"), std::ios::binary).write(bytes.data(), bytes.size());
    auto side = fileBytes(sidePath("odd.dat"));
    side.back() = static_cast<char>(pattern.alarmMode);
    std::ofstream(sidePath("odd.dat"), std::ios::binary).write(side.data(), side.size());
    expectGetThenSetKeepsEveryByte("odd.dat", pattern.what);
  }
}

// Every item of every list is reached by its English text: no two items of a
// list share one.
TEST_F(SettingCommandsTest, EveryEnglishItemTextSelectsItsItem) {
  prepare("r.dat");
  const Environment env{{m_out, m_err}, m_folders, kEnglish};
  Session session(env);
  ASSERT_TRUE(session.open(path("r.dat")));
  const DocumentRecord& doc = session.state().workingDocument;
  for (const SettingField* field : AllSettingFields()) {
    for (const auto& item : SettingListItems(doc, *field, englishTexts())) {
      const SettingValue value = ParseSettingValue(doc, *field, item.text, englishTexts());
      EXPECT_EQ(value.stored, item.stored) << field->name << " \"" << item.text << "\"";
    }
  }
}

TEST_F(SettingCommandsTest, HelpNamesEverySettingWithItsValues) {
  const std::string help = SettingNamesHelp(m_folders);
  for (const SettingField* field : AllSettingFields()) {
    EXPECT_NE(help.find("\n  " + std::string(field->name) + "  "), std::string::npos)
        << field->name;
  }
  EXPECT_NE(help.find("\n  dtmf.rate  50 to 500 in steps of 50\n"), std::string::npos) << help;
  EXPECT_NE(help.find("\n  scan.mode  Off=0, On=1\n"), std::string::npos) << help;
}

// ---- The shell words of get ------------------------------------------------------

TEST(ShellWord, PlainWordsStayBareAndTheRestReadsBackInAShell) {
  struct Case {
    std::string value;
    std::string word;
  };
  const std::vector<Case> cases = {
      {"150", "150"},
      {"435.10000", "435.10000"},
      {"Wide/narrow", "Wide/narrow"},
      {"", "''"},
      {"HELLO WORLD", "'HELLO WORLD'"},
      {"12*#", "'12*#'"},
      {"IT'S", "'IT'\\''S'"},
      {"$HOME `x`", "'$HOME `x`'"},
      {"a\\b", "'a\\b'"},
      {"120\xC2\xB0 phase shift", "'120\xC2\xB0 phase shift'"},
      // A damaged file: one line per setting whatever it holds.
      {"A\nB", "$'A\\x0AB'"},
      {"\xB0'\\", "$'\\xB0\\'\\\\'"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(ShellWord(c.value), c.word) << c.value;
    EXPECT_EQ(shellUnquote(ShellWord(c.value)), c.value) << c.value;
  }
}

}  // namespace
}  // namespace cps::cli
