#include "core/app/output_files.hpp"

#include <algorithm>
#include <cctype>
#include <cstdint>
#include <filesystem>

#include "core/document/data_file.hpp"
#include "core/document/file_io.hpp"
#include "core/link/radio_image.hpp"

namespace cps {

namespace {

std::string lowerStart(const std::vector<std::uint8_t>& bytes) {
  std::string start;
  std::size_t at = 0;
  if (bytes.size() >= 3 && bytes[0] == 0xEF && bytes[1] == 0xBB && bytes[2] == 0xBF) at = 3;
  while (at < bytes.size() &&
         (bytes[at] == ' ' || bytes[at] == '\t' || bytes[at] == '\r' || bytes[at] == '\n')) {
    ++at;
  }
  for (; at < bytes.size() && start.size() < 16; ++at) {
    start += static_cast<char>(std::tolower(bytes[at]));
  }
  return start;
}

bool isOfKind(const std::vector<std::uint8_t>& bytes, OutputKind kind) {
  switch (kind) {
    case OutputKind::DataFile:
      return bytes.size() == DocumentRecord::kSize && bytes.front() == 'V';
    case OutputKind::RadioImage:
      return bytes.size() == kRadioImageSize;
    case OutputKind::Report: {
      const std::string start = lowerStart(bytes);
      return start.rfind("%pdf-", 0) == 0 || start.rfind("<!doctype html", 0) == 0 ||
             start.rfind("<html", 0) == 0;
    }
    case OutputKind::ChannelList: {
      // Text whose first line has cells: a channel list of this program or of
      // another, which the user is replacing on purpose.
      if (std::find(bytes.begin(), bytes.end(), 0) != bytes.end()) return false;
      const auto lineEnd = std::find(bytes.begin(), bytes.end(), '\n');
      return std::any_of(bytes.begin(), lineEnd,
                         [](std::uint8_t b) { return b == ',' || b == ';' || b == '\t'; });
    }
  }
  return false;
}

}  // namespace

std::string OutputFileProblem(const std::string& output, OutputKind kind,
                              const std::vector<std::string>& inputs, bool force) {
  const auto target = ResolveLinks(output);
  std::error_code ec;
  if (!std::filesystem::exists(target, ec)) return {};
  if (auto refusal = CheckReplaceable(target); !refusal.empty()) return refusal;
  if (force) return {};
  const auto withForce = "; give --force to replace it";
  for (const auto& input : inputs) {
    if (std::filesystem::equivalent(target, ResolveLinks(input), ec)) {
      return output + " is the input itself" + withForce;
    }
  }
  // Enough to tell every kind, and no more: a large file is not read whole.
  constexpr std::size_t kLook = 64 * 1024;
  const auto held = ReadWholeFile(target, kLook);
  if (!held.ok()) return output + ": " + held.error;
  if (held.bytes.empty()) return {};
  if (kind != OutputKind::DataFile && IsDataFileOnDisk(target.string())) {
    return output + " holds a data file of this program" + withForce;
  }
  if (IsSideFileOnDisk(target.string())) {
    return output + " holds the side file of a data file of this program" + withForce;
  }
  if (!isOfKind(held.bytes, kind)) {
    return output + " holds something else than this command writes" + withForce;
  }
  return {};
}

}  // namespace cps
