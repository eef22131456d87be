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
#include "core/document/channel_fields.hpp"
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
  for (const SettingField* field : AllSettingFields()) {
    if (field->labelTextId != 0) ids.emplace(field->labelTextId, std::string(field->name));
    for (int id : field->items.textIds) ids.emplace(id, std::string(field->name));
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

}  // namespace
}  // namespace cps
