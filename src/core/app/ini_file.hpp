// Initialisation files as the settings and language files use them: sections
// and keys compared without case, values read into a buffer of a given size,
// and a key written without disturbing any other line of the file.
#pragma once

#include <cstddef>
#include <filesystem>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace cps {

// The text of one initialisation file, kept line by line so that writing a key
// changes that line alone.
class IniText {
 public:
  IniText() = default;
  explicit IniText(std::string_view content);

  // The value as written after "=", without surrounding spaces and without one
  // pair of matching quotes; empty when the section or key is missing.
  std::optional<std::string> value(std::string_view section, std::string_view key) const;
  // Replaces the key's line, or adds the key at the end of its section, or adds
  // the section at the end of the file.
  void set(std::string_view section, std::string_view key, std::string_view value);
  std::string content() const;

 private:
  // Index of the section's header line, or npos.
  std::size_t findSection(std::string_view section) const;
  std::size_t findKey(std::size_t sectionLine, std::string_view key) const;

  // Adds a line before position `at`, ending it as the file ends its lines.
  void insertLine(std::size_t at, std::string text);

  std::vector<std::string> m_lines;
  std::vector<std::string> m_endings;  // each line's own line end; "" for a last line without
  std::string m_eol = "\n";            // for lines this program adds
  bool m_bom = false;
};

inline constexpr std::size_t kProfileBuffer = 512;  // settings files
inline constexpr std::size_t kTextBuffer = 255;     // language texts

// What a program that reads the value into a buffer of `bufferSize` characters
// sees: at most bufferSize - 1 bytes (never half a UTF-8 character), cut before
// a NUL, spaces trimmed.
std::string FitProfileValue(std::string_view raw, std::size_t bufferSize);

// A settings file as read from disk: no text when the file is missing, and an
// error when it exists but cannot be read whole.
struct IniFile {
  std::optional<IniText> text;
  std::string error;
};
IniFile LoadIniFile(const std::filesystem::path& file);

// The value as ReadProfileString gives it, from a file read once already (an
// empty text for a missing file); defaultValue for a missing section or key.
std::string ProfileString(const IniText& ini, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize = kProfileBuffer);

// defaultValue for a missing file, section or key.
std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize = kProfileBuffer);
// Writes atomically; returns an error text, empty on success.
std::string WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value);

}  // namespace cps
