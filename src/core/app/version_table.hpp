// Which radio firmware and data file versions this program handles, and which
// installed program version handles the others.
#pragma once

#include <filesystem>
#include <functional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "core/app/ini_file.hpp"
#include "core/app/text_ids.hpp"
#include "core/document/records.hpp"

namespace cps {

struct VersionPair {
  std::string program;
  std::string other;  // a radio's firmware or a data file's version
};

struct VersionTable {
  std::string currentVersion;
  std::vector<std::string> softVersions;
  std::vector<VersionPair> pairs;
  // Why the table is empty or short, for the user; empty when it loaded whole.
  std::string problem;
};

// Reads "Version.ini". A missing file or count gives an empty table (nothing is
// compatible) with the problem named.
VersionTable LoadVersionTable(const std::filesystem::path& versionIni);
// The table of a "Version.ini" already read; `fileName` names it in the problem.
VersionTable VersionTableOf(const IniText& ini, const std::string& fileName);

// "V" and three digits, after trailing spaces and anything from a NUL are removed.
bool IsVersionText(std::string_view text);
bool IsVersionCompatible(const VersionTable& table, std::string_view program,
                         std::string_view other);
// The program version of the first pair for `other`; "" when none.
std::string ProgramVersionFor(const VersionTable& table, std::string_view other);
// "V200" shown as "V2.00".
std::string ShownVersion(std::string_view version);

enum class VersionSubject { Radio = 0, DataFile = 1 };
// The question asked when a radio or data file has a version this program does not handle.
std::string VersionMismatchText(const std::function<std::string(int)>& langText,
                                std::string_view program, std::string_view other,
                                VersionSubject subject);

// The executable of the program version that handles `other`: base folder,
// version folder, this program's own file name. Empty when no version handles it.
std::filesystem::path LaunchPathFor(const VersionTable& table, std::string_view other,
                                    const std::filesystem::path& baseFolder,
                                    const std::filesystem::path& executableName);

}  // namespace cps
