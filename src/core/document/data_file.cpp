#include "core/document/data_file.hpp"

#include "core/document/file_io.hpp"

namespace cps {

SideFileRecord ReadSideFile(const std::string& dataPath) {
  const auto bytes = ReadWholeFile(SideFilePath(dataPath), SideFileRecord::kSize);
  if (!bytes.ok()) return SideFileRecord{};
  return SideFileRecord::fromBytes(bytes.bytes).value_or(SideFileRecord{});
}

DataFileBytes ReadDataFileBytes(const std::string& path) {
  auto read = ReadWholeFile(path, DocumentRecord::kSize);
  return {std::move(read.bytes), read.error.empty() ? "" : path + ": " + read.error};
}

std::string DataFileSizeDetail(const std::string& path, std::size_t size) {
  return path + ": " +
         (size > DocumentRecord::kSize
              ? std::string("more than ") + std::to_string(DocumentRecord::kSize)
              : std::to_string(size)) +
         " bytes; a data file has exactly " + std::to_string(DocumentRecord::kSize);
}

DataFileResult ReadDataFile(const std::string& path) {
  const auto file = ReadDataFileBytes(path);
  if (!file.ok()) return {std::nullopt, {text::kFileError, file.error}};
  auto document = DocumentRecord::fromBytes(file.bytes);
  if (!document) {
    return {std::nullopt, {text::kWrongFileSize, DataFileSizeDetail(path, file.bytes.size())}};
  }
  return {LoadedDataFile{*document, ReadSideFile(path)}, {}};
}

std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side) {
  const auto image = document.toBytes();
  if (auto error = WriteFileAtomically(path, image); !error.empty()) return error;
  // The side file only carries the version and the alarm mode; failing to
  // write it (a read-only side file is left as it is too) does not fail the save.
  const auto sideImage = side.toBytes();
  WriteFileAtomically(SideFilePath(path), sideImage);
  return {};
}

}  // namespace cps
