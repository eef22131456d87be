// Reading and writing a data file (the 8595-byte document image) with its
// 5-byte side file.
#pragma once

#include <optional>
#include <string>

#include "core/document/records.hpp"

namespace cps {

namespace text {
inline constexpr int kFileError = 9002;
inline constexpr int kWrongFileSize = 9033;
}  // namespace text

struct LoadedDataFile {
  DocumentRecord document;
  SideFileRecord side;
};

struct DataFileResult {
  std::optional<LoadedDataFile> file;
  int textId = 0;      // the message for a refused file
  std::string detail;  // what the system said, for logs and the command line
};

// A missing side file, or one of the wrong size, reads as "V200" and alarm mode 1.
SideFileRecord ReadSideFile(const std::string& dataPath);
DataFileResult ReadDataFile(const std::string& path);

// Writes the data file, then its side file; both replace the old ones
// atomically. Returns an error text for the data file, empty on success; a side
// file that cannot be written does not fail the save.
std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side);

}  // namespace cps
