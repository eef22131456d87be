#include "core/app/version_table.hpp"

#include <algorithm>
#include <charconv>

#include "core/app/ini_file.hpp"
#include "core/document/codec.hpp"

namespace cps {

namespace {

std::string readVersionValue(const IniText& ini, std::string_view section, const std::string& key) {
  return TrimFixed(ProfileString(ini, section, key, "", kProfileBuffer));
}

// A count that is missing or not a whole number from 0 up is no count.
std::optional<int> readCount(const IniText& ini, std::string_view key) {
  const std::string text = readVersionValue(ini, "Version", std::string(key));
  int value = 0;
  const auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), value);
  if (text.empty() || ec != std::errc{} || end != text.data() + text.size() || value < 0) {
    return std::nullopt;
  }
  // The table lists a handful of versions; a huge count is a damaged file.
  return std::min(value, 1000);
}

}  // namespace

VersionTable LoadVersionTable(const std::filesystem::path& versionIni) {
  std::error_code ec;
  if (!std::filesystem::is_regular_file(versionIni, ec)) {
    VersionTable table;
    table.problem = versionIni.string() + " is missing: no radio or data file version is known";
    return table;
  }
  // A file that cannot be read holds no count, and says so.
  return VersionTableOf(LoadIniFile(versionIni).text.value_or(IniText{}), versionIni.string());
}

VersionTable VersionTableOf(const IniText& ini, const std::string& fileName) {
  VersionTable table;
  table.currentVersion = readVersionValue(ini, "Version", "CurrentVersion");
  const auto softCount = readCount(ini, "SoftVersionCount");
  const auto firmCount = readCount(ini, "FirmVersionCount");
  for (int i = 0; softCount && i < *softCount; ++i) {
    table.softVersions.push_back(readVersionValue(ini, "Soft", "Version" + std::to_string(i)));
  }
  for (int i = 0; firmCount && i < *firmCount; ++i) {
    const std::string pair = readVersionValue(ini, "Firm", "Firm" + std::to_string(i));
    if (pair.size() < 8) {
      table.problem = fileName + ": Firm" + std::to_string(i) + " is not a version pair";
      continue;
    }
    table.pairs.push_back({pair.substr(0, 4), pair.substr(pair.size() - 4)});
  }
  if (!firmCount) {
    table.problem = fileName + " has no FirmVersionCount: no radio or data file version is known";
  }
  return table;
}

bool IsVersionText(std::string_view text) {
  const std::string t = TrimFixed(text);
  return t.size() == 4 && t[0] == 'V' &&
         std::all_of(t.begin() + 1, t.end(), [](char c) { return c >= '0' && c <= '9'; });
}

bool IsVersionCompatible(const VersionTable& table, std::string_view program,
                         std::string_view other) {
  return std::any_of(table.pairs.begin(), table.pairs.end(), [&](const VersionPair& p) {
    return p.program == program && p.other == other;
  });
}

std::string ProgramVersionFor(const VersionTable& table, std::string_view other) {
  for (const auto& p : table.pairs) {
    if (p.other == other) return p.program;
  }
  return {};
}

std::string ShownVersion(std::string_view version) {
  if (version.size() < 4) return std::string(version);
  return std::string(version.substr(0, 2)) + "." + std::string(version.substr(2, 2));
}

std::string VersionMismatchText(const std::function<std::string(int)>& langText,
                                std::string_view program, std::string_view other,
                                VersionSubject subject) {
  const int otherText =
      subject == VersionSubject::Radio ? text::kVersionOfRadio : text::kVersionOfFile;
  return langText(text::kVersionMismatch) + "\r\n" + langText(otherText) + " " +
         ShownVersion(other) + "\r\n" + langText(text::kVersionOfProgram) + " " +
         ShownVersion(program);
}

std::filesystem::path LaunchPathFor(const VersionTable& table, std::string_view other,
                                    const std::filesystem::path& baseFolder,
                                    const std::filesystem::path& executableName) {
  const std::string version = ProgramVersionFor(table, other);
  if (version.empty()) return {};
  return baseFolder / version / executableName;
}

}  // namespace cps
