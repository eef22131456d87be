#include "core/link/backups.hpp"

#include <algorithm>
#include <system_error>

#include "core/document/file_io.hpp"

namespace cps {

namespace {

constexpr std::string_view kPrefix = "radio-";
constexpr std::string_view kSuffix = ".img";

std::string_view kindName(BackupKind kind) { return kind == BackupKind::Read ? "read" : "write"; }

bool isBackupName(const std::string& name) {
  return name.size() > kPrefix.size() + kSuffix.size() && name.starts_with(kPrefix) &&
         name.ends_with(kSuffix);
}

}  // namespace

std::string BackupFileName(std::string_view timestamp, BackupKind kind) {
  return std::string(kPrefix) + std::string(timestamp) + "-" + std::string(kindName(kind)) +
         std::string(kSuffix);
}

std::vector<std::filesystem::path> ListBackups(const std::filesystem::path& folder) {
  std::vector<std::filesystem::path> files;
  std::error_code ec;
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (it->is_regular_file(ec) && isBackupName(it->path().filename().string())) {
      files.push_back(it->path());
    }
  }
  std::sort(files.begin(), files.end());
  return files;
}

BackupResult KeepRadioBackup(const std::filesystem::path& folder,
                             std::span<const std::uint8_t> image, std::string_view timestamp,
                             BackupKind kind, std::size_t keep) {
  std::error_code ec;
  std::filesystem::create_directories(folder, ec);
  if (ec) return {{}, folder.string() + ": " + ec.message()};

  auto file = folder / BackupFileName(timestamp, kind);
  // Two transfers in one second each keep their own file.
  for (int n = 2; std::filesystem::exists(file, ec); ++n) {
    file = folder / (std::string(kPrefix) + std::string(timestamp) + "-" + std::to_string(n) + "-" +
                     std::string(kindName(kind)) + std::string(kSuffix));
  }
  if (auto error = WriteFileAtomically(file, image); !error.empty()) return {{}, error};

  auto files = ListBackups(folder);
  if (files.size() > keep) {
    const auto excess = files.size() - keep;
    for (std::size_t i = 0; i < excess; ++i) std::filesystem::remove(files[i], ec);
  }
  return {file, {}};
}

}  // namespace cps
