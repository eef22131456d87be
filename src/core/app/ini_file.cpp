#include "core/app/ini_file.hpp"

#include <algorithm>
#include <cctype>

#include "core/document/file_io.hpp"

namespace cps {

namespace {

constexpr std::string_view kBom = "\xEF\xBB\xBF";
constexpr std::size_t kNone = static_cast<std::size_t>(-1);
constexpr std::size_t kMaxIniBytes = 4 * 1024 * 1024;

std::string_view trim(std::string_view t) {
  const auto isSpace = [](char c) { return c == ' ' || c == '\t' || c == '\r'; };
  while (!t.empty() && isSpace(t.front())) t.remove_prefix(1);
  while (!t.empty() && isSpace(t.back())) t.remove_suffix(1);
  return t;
}

bool sameName(std::string_view a, std::string_view b) {
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
           return std::tolower(static_cast<unsigned char>(x)) ==
                  std::tolower(static_cast<unsigned char>(y));
         });
}

// The section name of a "[name]" line, or empty when the line is no header.
std::optional<std::string_view> sectionName(std::string_view line) {
  line = trim(line);
  if (line.size() < 2 || line.front() != '[') return std::nullopt;
  const auto close = line.find(']');
  if (close == std::string_view::npos) return std::nullopt;
  return trim(line.substr(1, close - 1));
}

bool isComment(std::string_view line) {
  line = trim(line);
  return !line.empty() && line.front() == ';';
}

}  // namespace

IniText::IniText(std::string_view content) {
  if (content.substr(0, kBom.size()) == kBom) {
    m_bom = true;
    content.remove_prefix(kBom.size());
  }
  if (content.find("\r\n") != std::string_view::npos) m_eol = "\r\n";
  while (!content.empty()) {
    const auto end = content.find('\n');
    std::string_view line = content.substr(0, end);
    std::string ending = end == std::string_view::npos ? "" : "\n";
    if (!line.empty() && line.back() == '\r') {
      line.remove_suffix(1);
      ending.insert(0, "\r");
    }
    m_lines.emplace_back(line);
    m_endings.push_back(std::move(ending));
    if (end == std::string_view::npos) break;
    content.remove_prefix(end + 1);
  }
}

void IniText::insertLine(std::size_t at, std::string text) {
  // A last line without a line end gets one when something follows it. One
  // that ends in a carriage return alone (a line end cut short) gets its line
  // feed: otherwise the next reading would take the new line for part of it.
  if (at == m_lines.size() && !m_endings.empty()) {
    auto& last = m_endings.back();
    if (last.empty()) {
      last = m_eol;
    } else if (last == "\r") {
      last += '\n';
    }
  }
  m_lines.insert(m_lines.begin() + static_cast<std::ptrdiff_t>(at), std::move(text));
  m_endings.insert(m_endings.begin() + static_cast<std::ptrdiff_t>(at), m_eol);
}

std::size_t IniText::findSection(std::string_view section) const {
  for (std::size_t i = 0; i < m_lines.size(); ++i) {
    const auto name = sectionName(m_lines[i]);
    if (name && sameName(*name, trim(section))) return i;
  }
  return kNone;
}

std::size_t IniText::findKey(std::size_t sectionLine, std::string_view key) const {
  for (std::size_t i = sectionLine + 1; i < m_lines.size(); ++i) {
    const std::string_view line = m_lines[i];
    if (sectionName(line)) break;
    if (isComment(line)) continue;
    const auto eq = line.find('=');
    if (eq != std::string_view::npos && sameName(trim(line.substr(0, eq)), trim(key))) return i;
  }
  return kNone;
}

std::optional<std::string> IniText::value(std::string_view section, std::string_view key) const {
  const auto s = findSection(section);
  if (s == kNone) return std::nullopt;
  const auto k = findKey(s, key);
  if (k == kNone) return std::nullopt;
  const std::string_view line = m_lines[k];
  std::string_view v = trim(line.substr(line.find('=') + 1));
  if (v.size() >= 2 && (v.front() == '"' || v.front() == '\'') && v.back() == v.front()) {
    v = v.substr(1, v.size() - 2);
  }
  return std::string(v);
}

void IniText::set(std::string_view section, std::string_view key, std::string_view value) {
  std::string line = std::string(trim(key)) + "=" + std::string(value);
  const auto s = findSection(section);
  if (s == kNone) {
    if (!m_lines.empty() && !trim(m_lines.back()).empty()) insertLine(m_lines.size(), "");
    insertLine(m_lines.size(), "[" + std::string(trim(section)) + "]");
    insertLine(m_lines.size(), std::move(line));
    return;
  }
  if (const auto k = findKey(s, key); k != kNone) {
    m_lines[k] = std::move(line);
    return;
  }
  // After the section's last non-blank line, before the blank lines that part it from the next.
  std::size_t insertAt = s + 1;
  for (std::size_t i = s + 1; i < m_lines.size() && !sectionName(m_lines[i]); ++i) {
    if (!trim(m_lines[i]).empty()) insertAt = i + 1;
  }
  insertLine(insertAt, std::move(line));
}

std::string IniText::content() const {
  std::string out = m_bom ? std::string(kBom) : std::string();
  for (std::size_t i = 0; i < m_lines.size(); ++i) out += m_lines[i] + m_endings[i];
  return out;
}

std::string FitProfileValue(std::string_view raw, std::size_t bufferSize) {
  if (bufferSize == 0) return {};
  if (raw.size() > bufferSize - 1) {
    std::size_t cut = bufferSize - 1;
    // Step back over continuation bytes so that no character is cut in half.
    while (cut > 0 && (static_cast<unsigned char>(raw[cut]) & 0xC0) == 0x80) --cut;
    raw = raw.substr(0, cut);
  }
  if (const auto nul = raw.find('\0'); nul != std::string_view::npos) raw = raw.substr(0, nul);
  return std::string(trim(raw));
}

IniFile LoadIniFile(const std::filesystem::path& file) {
  std::error_code ec;
  if (!std::filesystem::exists(file, ec)) return {};
  const auto bytes = ReadWholeFile(file, kMaxIniBytes);
  if (!bytes.ok()) return {std::nullopt, file.string() + ": " + bytes.error};
  if (bytes.bytes.size() > kMaxIniBytes) return {std::nullopt, file.string() + ": too large"};
  return {IniText(std::string_view(reinterpret_cast<const char*>(bytes.bytes.data()),
                                   bytes.bytes.size())),
          {}};
}

std::string ProfileString(const IniText& ini, std::string_view section, std::string_view key,
                          std::string_view defaultValue, std::size_t bufferSize) {
  const auto value = ini.value(section, key);
  return FitProfileValue(value ? *value : defaultValue, bufferSize);
}

std::string ReadProfileString(const std::filesystem::path& file, std::string_view section,
                              std::string_view key, std::string_view defaultValue,
                              std::size_t bufferSize) {
  return ProfileString(LoadIniFile(file).text.value_or(IniText{}), section, key, defaultValue,
                       bufferSize);
}

std::string WriteProfileString(const std::filesystem::path& file, std::string_view section,
                               std::string_view key, std::string_view value) {
  // A file that exists but cannot be read is left alone rather than replaced by
  // one that holds this key only.
  auto loaded = LoadIniFile(file);
  if (!loaded.error.empty()) return loaded.error;
  IniText ini = loaded.text.value_or(IniText{});
  ini.set(section, key, value);
  const std::string content = ini.content();
  return WriteFileAtomically(
      file, std::span(reinterpret_cast<const std::uint8_t*>(content.data()), content.size()));
}

}  // namespace cps
