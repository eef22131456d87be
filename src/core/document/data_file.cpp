#include "core/document/data_file.hpp"

#include "core/document/file_io.hpp"

namespace cps {

SideFileRecord ReadSideFile(const std::string& dataPath) {
  const auto bytes = ReadWholeFile(SideFilePath(dataPath), SideFileRecord::kSize);
  if (!bytes.ok()) return SideFileRecord{};
  return SideFileRecord::fromBytes(bytes.bytes).value_or(SideFileRecord{});
}

DataFileResult ReadDataFile(const std::string& path) {
  const auto bytes = ReadWholeFile(path, DocumentRecord::kSize);
  if (!bytes.ok()) return {std::nullopt, text::kFileError, path + ": " + bytes.error};
  auto document = DocumentRecord::fromBytes(bytes.bytes);
  if (!document) {
    return {std::nullopt, text::kWrongFileSize,
            path + ": " +
                (bytes.bytes.size() > DocumentRecord::kSize
                     ? std::string("more than ")
                     : std::to_string(bytes.bytes.size()) + " bytes, not ") +
                std::to_string(DocumentRecord::kSize) + " bytes"};
  }
  return {LoadedDataFile{*document, ReadSideFile(path)}, 0, {}};
}

std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side) {
  const auto image = document.toBytes();
  if (auto error = WriteFileAtomically(path, image); !error.empty()) return error;
  const auto sideImage = side.toBytes();
  WriteFileAtomically(SideFilePath(path), sideImage);
  return {};
}

}  // namespace cps
