// Reading and writing a data file (the 8595-byte document image) with its
// 5-byte side file.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <vector>

#include "core/app/text_ids.hpp"
#include "core/document/failure.hpp"
#include "core/document/records.hpp"

namespace cps {

struct LoadedDataFile {
  DocumentRecord document;
  SideFileRecord side;
};

struct DataFileResult {
  std::optional<LoadedDataFile> file;
  Failure failure;  // the message for a refused file, and what the system said
};

// The bytes of a file that should be a data file, read no further than one
// byte past a data file's size; an error names the path and what went wrong.
struct DataFileBytes {
  std::vector<std::uint8_t> bytes;
  std::string error;
  bool ok() const { return error.empty(); }
};
DataFileBytes ReadDataFileBytes(const std::string& path);
// Why a file of `size` bytes is not a data file, naming the path.
std::string DataFileSizeDetail(const std::string& path, std::size_t size);

// A missing side file, or one of the wrong size, reads as "V200" and alarm mode 1.
SideFileRecord ReadSideFile(const std::string& dataPath);
DataFileResult ReadDataFile(const std::string& path);

// Writes the data file, then its side file; both replace the old ones
// atomically. Returns an error text for the data file, empty on success; a side
// file that cannot be written does not fail the save.
std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side);

}  // namespace cps
