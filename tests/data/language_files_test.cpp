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

// The settings tables name their labels, pages and list items by number, some
// of them joined by functions; every number they ask for has a text.
TEST(LanguageFiles, EveryTextTheSettingsTablesAskForIsInBothLanguages) {
  std::set<int> ids;
  const TextOf record = [&ids](int id) {
    ids.insert(id);
    return std::string("T");
  };
  // Both priority channels scanned, so that the revert list offers every choice.
  DocumentRecord doc;
  doc.scan.bytes[ScanBlock::kPriorityMode] = 3;
  for (const SettingField* field : AllSettingFields()) {
    if (field->labelTextId != 0) ids.insert(field->labelTextId);
    ItemTexts(doc, *field, record);
  }
  for (const auto pages : {DtmfPages(), KeyFrames()}) {
    for (const auto& page : pages) ids.insert(page.textId);
  }
  ASSERT_GT(ids.size(), 100u);
  for (const char* name : {"english.ini", "chinese.ini"}) {
    TextTable texts(kLanguageFolder / name);
    for (const int id : ids)
      EXPECT_FALSE(texts.LangText(id).empty()) << name << " has no text " << id;
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

}  // namespace
}  // namespace cps
