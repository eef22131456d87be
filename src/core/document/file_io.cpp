#include "core/document/file_io.hpp"

#include <algorithm>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>

#if __has_include(<unistd.h>)
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#define CPS_HAVE_FSYNC 1
#endif

namespace cps {

namespace {

std::string describe(const std::error_code& ec) { return ec.message(); }

// A temporary file of ours is the target's name, ".tmp-" and digits; one that a
// crash or a killed save left behind is removed at the next save of that file.
constexpr std::string_view kTempMark = ".tmp-";

bool isLeftoverTemp(const std::string& name, const std::string& target) {
  if (name.size() <= target.size() + kTempMark.size()) return false;
  if (name.compare(0, target.size(), target) != 0) return false;
  if (name.compare(target.size(), kTempMark.size(), kTempMark) != 0) return false;
  const auto digits = std::string_view(name).substr(target.size() + kTempMark.size());
  return std::all_of(digits.begin(), digits.end(), [](char c) { return c >= '0' && c <= '9'; });
}

void removeLeftoverTemps(const std::filesystem::path& path) {
  std::error_code ec;
  const auto folder = path.has_parent_path() ? path.parent_path() : std::filesystem::path(".");
  const std::string target = path.filename().string();
  for (std::filesystem::directory_iterator it(folder, ec), end; !ec && it != end;
       it.increment(ec)) {
    if (!isLeftoverTemp(it->path().filename().string(), target)) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored)) std::filesystem::remove(it->path(), ignored);
  }
}

#ifdef CPS_HAVE_FSYNC
// Flushes a file or a folder to the disk: the content before the rename, so
// that a power cut cannot expose an empty file, and the folder after it, so
// that the new name itself survives.
void syncPath(const std::filesystem::path& path, int flags) {
  const int fd = ::open(path.c_str(), flags | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}
#endif

}  // namespace

std::string CheckReplaceable(const std::filesystem::path& path) {
  std::error_code ec;
  if (std::filesystem::is_directory(path, ec)) return path.string() + " is a folder, not a file";
#ifdef CPS_HAVE_FSYNC
  // The rename needs only the folder's permission, so without this a user
  // could replace a file that belongs to someone else or that was made
  // read-only on purpose.
  if (std::filesystem::exists(path, ec) && ::access(path.c_str(), W_OK) != 0) {
    return path.string() + " is read-only for you; it was left as it is. Save under another name.";
  }
#endif
  return {};
}

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
  if (auto refusal = CheckReplaceable(path); !refusal.empty()) return refusal;
  removeLeftoverTemps(path);
  std::random_device random;
  auto temp = path;
  temp += std::string(kTempMark) + std::to_string(random() % 1000000);
#ifdef CPS_HAVE_FSYNC
  // A new file gets the usual mode (0666 less the umask); a replaced one keeps
  // its own, so that a private file stays private.
  struct stat old {};
  const bool replacing = ::stat(path.c_str(), &old) == 0;
  const int fd = ::open(temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
  if (fd < 0) return "cannot create a temporary file beside " + path.string();
  bool written = true;
  for (std::size_t at = 0; written && at < bytes.size();) {
    const auto n = ::write(fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    written = n > 0;
    if (written) at += static_cast<std::size_t>(n);
  }
  if (written && replacing) written = ::fchmod(fd, old.st_mode & 07777) == 0;
  if (written) written = ::fsync(fd) == 0;
  if (::close(fd) != 0) written = false;
  if (!written) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return "cannot write " + temp.string();
  }
#else
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
#endif
  std::error_code ec;
  std::filesystem::rename(temp, path, ec);
  if (ec) {
    std::error_code ignored;
    std::filesystem::remove(temp, ignored);
    return "cannot replace " + path.string() + ": " + describe(ec);
  }
#ifdef CPS_HAVE_FSYNC
  syncPath(path.has_parent_path() ? path.parent_path() : std::filesystem::path("."),
           O_RDONLY | O_DIRECTORY);
#endif
  return {};
}

std::string SideFilePath(const std::string& dataPath) {
  if (dataPath.size() < 3) return "NVD";
  return dataPath.substr(0, dataPath.size() - 3) + "NVD";
}

}  // namespace cps
