// The radio images kept after every read and before every write, so that a
// dealer can always put back what a radio held or was given: one file of the
// image's 2832 bytes per transfer, named by date and time, the newest kept.
#pragma once

#include <cstdint>
#include <filesystem>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace cps {

enum class BackupKind { Read, Write };

inline constexpr std::size_t kBackupsKept = 50;

// "radio-20261210-051200-read.img" for a timestamp "20261210-051200".
std::string BackupFileName(std::string_view timestamp, BackupKind kind);

// The backup files of a folder, oldest first (their names sort by time).
std::vector<std::filesystem::path> ListBackups(const std::filesystem::path& folder);

struct BackupResult {
  std::filesystem::path file;  // the file written; empty when it failed
  std::string error;           // what went wrong, empty on success
};

// Writes the image atomically (a second backup in the same second gets a
// number), then removes the oldest backups beyond `keep`.
BackupResult KeepRadioBackup(const std::filesystem::path& folder,
                             std::span<const std::uint8_t> image, std::string_view timestamp,
                             BackupKind kind, std::size_t keep = kBackupsKept);

}  // namespace cps
