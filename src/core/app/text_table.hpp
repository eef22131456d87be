// Every user-visible text by its number, from the language file of the current
// language. The file is parsed once and parsed again when it changes on disk,
// so an edited text shows at the next lookup while captioning stays fast.
#pragma once

#include <cstdint>
#include <filesystem>
#include <string>
#include <string_view>

#include "core/app/ini_file.hpp"

namespace cps {

inline constexpr int kEnglish = 1;
inline constexpr int kChinese = 2;

// The section that holds a text id ("Msg" for 9000 to 9999, ...).
std::string_view SectionOfTextId(int id);
// "chinese.ini" for Chinese, "english.ini" for every other value.
std::string_view LanguageFileName(int language);

class TextTable {
 public:
  TextTable() = default;
  explicit TextTable(std::filesystem::path file) : m_file(std::move(file)) {}

  void setFile(std::filesystem::path file);
  const std::filesystem::path& file() const { return m_file; }

  // "" when the file, the section or the key is missing.
  std::string LangText(int id);

 private:
  struct Stamp {
    bool exists = false;
    std::uintmax_t size = 0;
    std::filesystem::file_time_type time{};
    bool operator==(const Stamp&) const = default;
  };
  Stamp currentStamp() const;
  void reloadIfChanged();

  std::filesystem::path m_file;
  Stamp m_stamp;
  bool m_loaded = false;
  IniText m_text;
};

// The language the user works in and the language the main window shows.
struct LanguageState {
  int current = kEnglish;
  int shown = kEnglish;
};

}  // namespace cps
