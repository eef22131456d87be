#include "core/document/data_file.hpp"

#include <algorithm>
#include <filesystem>

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

namespace {

// A version text as this program writes it: "V" and three digits.
bool startsWithVersionText(const std::vector<std::uint8_t>& bytes) {
  if (bytes.size() < 4 || bytes[0] != 'V') return false;
  return std::all_of(bytes.begin() + 1, bytes.begin() + 4,
                     [](std::uint8_t b) { return b >= '0' && b <= '9'; });
}

}  // namespace

bool IsDataFileOnDisk(const std::string& path) {
  const auto bytes = ReadWholeFile(path, DocumentRecord::kSize);
  return bytes.ok() && bytes.bytes.size() == DocumentRecord::kSize &&
         startsWithVersionText(bytes.bytes);
}

bool IsSideFileOnDisk(const std::string& path) {
  const auto bytes = ReadWholeFile(path, SideFileRecord::kSize);
  // Its version field is printable text; a side file of another version, or
  // one whose version was damaged, is still one of ours at this size.
  return bytes.ok() && bytes.bytes.size() == SideFileRecord::kSize &&
         std::all_of(bytes.bytes.begin(), bytes.bytes.begin() + 4,
                     [](std::uint8_t b) { return b >= 0x20 && b < 0x7f; });
}

std::string WriteDataFile(const std::string& path, const DocumentRecord& document,
                          const SideFileRecord& side, FileLock* held) {
  if (auto problem = DataFileNameProblem(path); !problem.empty()) return problem;
  const std::string sidePath = SideFilePath(path);
  std::error_code ec;
  if (std::filesystem::exists(ResolveLinks(sidePath), ec) &&
      std::filesystem::is_regular_file(ResolveLinks(sidePath), ec) && !IsSideFileOnDisk(sidePath)) {
    return sidePath +
           " is not a side file of this program; it was left as it is and nothing was saved. "
           "Save the data file under another name.";
  }
  const auto image = document.toBytes();
  const auto sideImage = side.toBytes();
  const FileToReplace pair[] = {{path, image}, {sidePath, sideImage}};
  return ReplaceFilesTogether(pair, held);
}

}  // namespace cps
