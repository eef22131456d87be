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

class FileLock;

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

// Writes the data file and its side file together: both are checked before
// either is touched, and both are stored or neither is. An existing file in
// the side file's place that is not a side file (a notes file "a.NVD" beside
// "a.txt") is refused, not replaced. `held` is the data file's lock when the
// caller holds it from reading to saving. Returns the reason of a refusal,
// empty on success.
std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side, FileLock* held = nullptr);

// Whether the file at `path` is a data file or a side file of this program, as
// far as its size and its version text tell (a file that is not there is neither).
bool IsDataFileOnDisk(const std::string& path);
bool IsSideFileOnDisk(const std::string& path);

}  // namespace cps
