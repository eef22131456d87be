// Every text the program asks for by number has a text in both language files,
// and the two files name the same texts in the sections their numbers belong to.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>

#include "core/app/ini_file.hpp"
#include "core/app/text_table.hpp"
#include "core/channels/channel_dialog.hpp"
#include "core/document/channel_fields.hpp"
#include "core/document/records.hpp"
#include "core/settings/setting_fields.hpp"

namespace cps {
namespace {

namespace fs = std::filesystem;

std::string readAll(const fs::path& p) {
  std::ifstream in(p, std::ios::binary);
  std::ostringstream s;
  s << in.rdbuf();
  return s.str();
}

// Text numbers in code are named constants inside a `namespace text` block, or
// literal arguments of the lookups (LangText, langText, TextMessage, tr).
std::map<int, std::string> textIdsUsedBySource() {
  const std::regex block(R"(namespace text \{([^}]*)\})");
  const std::regex constant(R"(=\s*(\d{4,5})\s*;)");
  const std::regex call(R"(\b(?:LangText|langText|TextMessage|tr)\(\s*(\d{4,5})\b)");
  std::map<int, std::string> ids;
  for (const auto& entry : fs::recursive_directory_iterator(CPS_SOURCE_DIR)) {
    const auto ext = entry.path().extension();
    if (ext != ".cpp" && ext != ".hpp") continue;
    const std::string source = readAll(entry.path());
    const auto note = [&](const std::smatch& m) {
      ids.emplace(std::stoi(m[1].str()), entry.path().filename().string());
    };
    for (std::sregex_iterator b(source.begin(), source.end(), block), end; b != end; ++b) {
      const std::string body = (*b)[1].str();
      for (std::sregex_iterator c(body.begin(), body.end(), constant); c != end; ++c) note(*c);
    }
    for (std::sregex_iterator c(source.begin(), source.end(), call), end; c != end; ++c) note(*c);
  }
  // The field tables name their captions and list items by number too.
  for (const auto& field : ChannelFields()) {
    if (field.headerTextId != 0)
      ids.emplace(field.headerTextId, "channel field " + std::string(field.name));
    for (int id : field.itemTextIds) ids.emplace(id, "channel field " + std::string(field.name));
  }
  for (const auto& list : ChannelDialogLists()) {
    ids.emplace(list.labelTextId, std::string(list.control));
    for (int id : list.itemTextIds) ids.emplace(id, std::string(list.control));
  }
  for (const auto& check : ChannelDialogChecks()) {
    ids.emplace(check.captionTextId, std::string(check.control));
  }
  for (int id : BusyLockoutMasterTextIds()) ids.emplace(id, "busy channel lockout");
  for (const auto& column : ChannelTableColumns())
    ids.emplace(column.headerTextId, "channel table");
  // Lists joined or drawn by functions ask for theirs as they are built; with
  // both priority channels scanned the revert list asks for every choice.
  DocumentRecord doc;
  doc.scan.bytes[ScanBlock::kPriorityMode] = 3;
  for (const SettingField* field : AllSettingFields()) {
    const std::string name(field->name);
    if (field->labelTextId != 0) ids.emplace(field->labelTextId, name);
    for (int id : field->items.textIds) ids.emplace(id, name);
    ItemTexts(doc, *field, [&ids, &name](int id) {
      ids.emplace(id, name);
      return std::string();
    });
  }
  for (const auto pages : {DtmfPages(), KeyFrames()}) {
    for (const auto& page : pages) ids.emplace(page.textId, "settings page");
  }
  return ids;
}

// The numbered keys of a language file, by section.
std::map<std::string, std::set<int>> keysBySection(const fs::path& file) {
  std::map<std::string, std::set<int>> keys;
  std::istringstream lines(readAll(file));
  std::string line;
  std::string section;
  while (std::getline(lines, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.size() > 2 && line.front() == '[') {
      section = line.substr(1, line.find(']') - 1);
    } else if (const auto eq = line.find('='); eq != std::string::npos && line[0] != ';') {
      keys[section].insert(std::stoi(line.substr(0, eq)));
    }
  }
  return keys;
}

const fs::path kLanguageFolder = fs::path(CPS_SOURCE_DATA_DIR) / "language";

TEST(LanguageFiles, EveryTextTheProgramUsesIsInBothLanguages) {
  const auto used = textIdsUsedBySource();
  ASSERT_FALSE(used.empty()) << "no text numbers found under " << CPS_SOURCE_DIR;
  for (const char* name : {"english.ini", "chinese.ini"}) {
    TextTable texts(kLanguageFolder / name);
    for (const auto& [id, where] : used) {
      EXPECT_FALSE(texts.LangText(id).empty())
          << name << " has no text " << id << " (used in " << where << ")";
    }
  }
}

TEST(LanguageFiles, BothFilesNameTheSameTextsEachInTheSectionOfItsNumber) {
  const auto english = keysBySection(kLanguageFolder / "english.ini");
  const auto chinese = keysBySection(kLanguageFolder / "chinese.ini");
  EXPECT_EQ(english, chinese);
  for (const auto& [section, ids] : english) {
    for (int id : ids) EXPECT_EQ(SectionOfTextId(id), section) << id;
  }
  for (const char* name : {"english.ini", "chinese.ini"}) {
    TextTable texts(kLanguageFolder / name);
    for (const auto& [section, ids] : keysBySection(kLanguageFolder / name)) {
      for (int id : ids) EXPECT_FALSE(texts.LangText(id).empty()) << name << " " << id;
    }
  }
}

// The first-run steps name the port list and the OK button by the captions
// the dialog shows beside them (texts 22004 and 9017), in each language.
TEST(LanguageFiles, FirstRunStepsNameTheCaptionsOnScreen) {
  for (const char* name : {"english.ini", "chinese.ini"}) {
    TextTable texts(kLanguageFolder / name);
    const std::string portList = texts.LangText(22004);
    const std::string okButton = texts.LangText(9017);
    ASSERT_FALSE(portList.empty() || okButton.empty()) << name;
    EXPECT_NE(texts.LangText(9052).find(portList), std::string::npos)
        << name << ": 9052 does not name " << portList;
    EXPECT_NE(texts.LangText(9053).find(okButton), std::string::npos)
        << name << ": 9053 does not name " << okButton;
  }
}

struct AgreedText {
  const char* file;
  int id;
  const char* text;
};

void PrintTo(const AgreedText& agreed, std::ostream* out) {
  *out << agreed.file << " " << agreed.id;
}

class AgreedTexts : public ::testing::TestWithParam<AgreedText> {};

// Wordings settled in review, kept from drifting back.
TEST_P(AgreedTexts, ReadAsAgreed) {
  const AgreedText& agreed = GetParam();
  TextTable texts(kLanguageFolder / agreed.file);
  EXPECT_EQ(texts.LangText(agreed.id), agreed.text) << agreed.file << " " << agreed.id;
}

INSTANTIATE_TEST_SUITE_P(
    LanguageFiles, AgreedTexts,
    ::testing::Values(AgreedText{"english.ini", 18016, "PTT ID at start of TX"},
                      AgreedText{"english.ini", 18017, "PTT ID at end of TX"},
                      AgreedText{"english.ini", 23001, "Select language"},
                      AgreedText{"english.ini", 27032, "Remote alarm with background sound"}),
    [](const ::testing::TestParamInfo<AgreedText>& row) {
      return std::string(row.param.file).substr(0, 7) + std::to_string(row.param.id);
    });

}  // namespace
}  // namespace cps
