// Whole-file reading and atomic replacement of files, for data files and
// their side files. A save never leaves a half-written file behind.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cps {

struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Reads at most maxBytes + 1 bytes, enough to tell a file of the wrong size
// without reading a large file whole.
FileBytes ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// Empty when `path` may be replaced by this user (it does not exist yet, or
// the user may write it); otherwise why not.
std::string CheckReplaceable(const std::filesystem::path& path);

// Writes into a temporary file in the same folder, then renames it over the
// target and flushes the folder. The target keeps its mode; a file the user
// may not write is refused. Returns an error text, empty on success; on
// failure the old file is untouched.
std::string WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes);

// The side file of a data file: its path with the last three characters
// replaced by "NVD", whatever the extension was (abc.dat gives abc.NVD).
std::string SideFilePath(const std::string& dataPath);

}  // namespace cps
