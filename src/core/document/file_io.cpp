#include "core/document/file_io.hpp"

#include <algorithm>
#include <fstream>
#include <random>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <unistd.h>
#define CPS_HAVE_FSYNC 1
#endif

namespace cps {

namespace {

std::string describe(const std::error_code& ec) { return ec.message(); }

// Flushes the file's content to the disk so that the rename cannot expose an
// empty file after a power cut.
void syncFile([[maybe_unused]] const std::filesystem::path& path) {
#ifdef CPS_HAVE_FSYNC
  const int fd = ::open(path.c_str(), O_RDONLY);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
#endif
}

}  // namespace

FileBytes ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return {{}, "is a folder, not a file"};
  if (!std::filesystem::exists(path, ec)) return {{}, "does not exist"};
  std::ifstream in(path, std::ios::binary);
  if (!in) return {{}, "cannot be opened for reading"};
  // In pieces, so that a small file costs no buffer of the largest size allowed
  // (the settings files allow megabytes and are read at every lookup).
  constexpr std::size_t kPiece = 64 * 1024;
  std::vector<std::uint8_t> bytes;
  while (in && bytes.size() < maxBytes + 1) {
    const std::size_t at = bytes.size();
    bytes.resize(at + std::min(kPiece, maxBytes + 1 - at));
    in.read(reinterpret_cast<char*>(bytes.data() + at),
            static_cast<std::streamsize>(bytes.size() - at));
    bytes.resize(at + static_cast<std::size_t>(in.gcount()));
  }
  if (in.bad()) return {{}, "cannot be read"};
  return {std::move(bytes), {}};
}

std::string WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes) {
  std::random_device random;
  auto temp = path;
  temp += ".tmp-" + std::to_string(random() % 1000000);
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot create a temporary file beside " + path.string();
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    out.close();
    if (!out) {
      std::error_code ignored;
      std::filesystem::remove(temp, ignored);
      return "cannot write " + temp.string();
    }
  }
  syncFile(temp);
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return "cannot replace " + path.string() + ": " + describe(ec);
  }
  return {};
}

std::string SideFilePath(const std::string& dataPath) {
  if (dataPath.size() < 3) return "NVD";
  return dataPath.substr(0, dataPath.size() - 3) + "NVD";
}

}  // namespace cps
