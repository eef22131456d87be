#include "core/document/file_io.hpp"

#include <algorithm>
#include <cerrno>
#include <chrono>
#include <cstring>
#include <fstream>
#include <random>
#include <string_view>
#include <system_error>
#include <thread>
#include <utility>

#if __has_include(<unistd.h>) && __has_include(<sys/file.h>)
#include <fcntl.h>
#include <signal.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>
#define CPS_HAVE_POSIX_FILES 1
#endif

namespace cps {

namespace fs = std::filesystem;

struct FileLockAccess {
  static int& fd(FileLock& lock) { return lock.m_fd; }
  static fs::path& file(FileLock& lock) { return lock.m_file; }
};

namespace {

// What the system said, in words a user can act on.
std::string reasonOf(int error) {
  switch (error) {
    case ENOSPC:
      return "no space left on the device";
#ifdef EDQUOT
    case EDQUOT:
      return "the disk quota is used up";
#endif
    case EROFS:
      return "the file system is read-only";
    case EACCES:
    case EPERM:
      return "permission denied";
    case ENAMETOOLONG:
      return "the name is too long";
    case ENOENT:
      return "the folder does not exist";
    default:
      break;
  }
  std::string text = std::generic_category().message(error);
  if (!text.empty()) text[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(text[0])));
  return text;
}

fs::path folderOf(const fs::path& path) {
  return path.has_parent_path() ? path.parent_path() : fs::path(".");
}

#ifdef CPS_HAVE_POSIX_FILES

// A temporary file of ours: ".cps530-", the saving process's id, "-", digits,
// ".tmp". The name is short whatever the target's is (a long target name plus
// a suffix could exceed what the file system allows), and it says whose it is:
// a file whose process has gone was left by a crash or a kill and is removed
// at the next save in that folder; one whose process still runs is another
// save in progress and is left alone.
constexpr std::string_view kTempPrefix = ".cps530-";
constexpr std::string_view kTempSuffix = ".tmp";

std::optional<pid_t> ownerOfTemp(std::string_view name) {
  if (name.size() <= kTempPrefix.size() + kTempSuffix.size()) return std::nullopt;
  if (name.substr(0, kTempPrefix.size()) != kTempPrefix) return std::nullopt;
  if (name.substr(name.size() - kTempSuffix.size()) != kTempSuffix) return std::nullopt;
  const auto middle =
      name.substr(kTempPrefix.size(), name.size() - kTempPrefix.size() - kTempSuffix.size());
  const auto dash = middle.find('-');
  if (dash == 0 || dash == std::string_view::npos || dash + 1 == middle.size()) return std::nullopt;
  const auto isDigits = [](std::string_view s) {
    return std::all_of(s.begin(), s.end(), [](char c) { return c >= '0' && c <= '9'; });
  };
  if (!isDigits(middle.substr(0, dash)) || !isDigits(middle.substr(dash + 1))) return std::nullopt;
  if (dash > 9) return std::nullopt;
  return static_cast<pid_t>(std::stol(std::string(middle.substr(0, dash))));
}

bool processIsGone(pid_t pid) { return pid > 0 && ::kill(pid, 0) != 0 && errno == ESRCH; }

void removeLeftoverTemps(const fs::path& folder) {
  std::error_code ec;
  for (fs::directory_iterator it(folder, ec), end; !ec && it != end; it.increment(ec)) {
    const auto owner = ownerOfTemp(it->path().filename().string());
    if (!owner || !processIsGone(*owner)) continue;
    std::error_code ignored;
    if (it->is_regular_file(ignored)) fs::remove(it->path(), ignored);
  }
}

fs::path newTempPath(const fs::path& folder) {
  static_assert(sizeof(pid_t) <= sizeof(long));
  std::random_device random;
  return folder / (std::string(kTempPrefix) + std::to_string(static_cast<long>(::getpid())) + "-" +
                   std::to_string(random() % 100000000) + std::string(kTempSuffix));
}

// Flushes a folder to the disk after a rename, so that the new name itself survives.
void syncFolder(const fs::path& folder) {
  const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd >= 0) {
    ::fsync(fd);
    ::close(fd);
  }
}

// A new content written and flushed beside its target, not yet renamed.
struct PreparedFile {
  fs::path target;
  fs::path temp;
  int fd = -1;

  void discard() {
    if (fd >= 0) ::close(fd);
    fd = -1;
    if (!temp.empty()) ::unlink(temp.c_str());
    temp.clear();
  }
};

std::string prepare(const fs::path& target, std::span<const std::uint8_t> bytes,
                    PreparedFile& out) {
  out.target = target;
  const fs::path folder = folderOf(target);
  removeLeftoverTemps(folder);
  // A new file gets the usual mode (0666 less the umask); a replaced one keeps
  // its own, and its owner and group where the system lets us, so that a
  // private file stays private and a shared one stays shared.
  struct stat old {};
  const bool replacing = ::stat(target.c_str(), &old) == 0;
  for (int attempt = 0; attempt < 5 && out.fd < 0; ++attempt) {
    out.temp = newTempPath(folder);
    out.fd = ::open(out.temp.c_str(), O_WRONLY | O_CREAT | O_EXCL | O_CLOEXEC, 0666);
    if (out.fd < 0 && errno != EEXIST) break;
  }
  if (out.fd < 0) {
    const int error = errno;
    out.temp.clear();
    return "cannot make a new file in " + folder.string() + " to save " + target.string() + ": " +
           reasonOf(error);
  }
  int error = 0;
  for (std::size_t at = 0; error == 0 && at < bytes.size();) {
    const auto n = ::write(out.fd, bytes.data() + at, bytes.size() - at);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) {
      error = n < 0 ? errno : ENOSPC;
    } else {
      at += static_cast<std::size_t>(n);
    }
  }
  if (error == 0 && replacing) {
    // The owner can only be kept by root; the group by a member of it. Neither
    // failing is a reason to refuse the save.
    if (::fchown(out.fd, old.st_uid, old.st_gid) != 0) {
      [[maybe_unused]] const int ignored = ::fchown(out.fd, static_cast<uid_t>(-1), old.st_gid);
    }
    if (::fchmod(out.fd, old.st_mode & 07777) != 0) error = errno;
  }
  // Flushed before the rename, so that a power cut cannot expose an empty file.
  if (error == 0 && ::fsync(out.fd) != 0) error = errno;
  if (error != 0) {
    out.discard();
    return "cannot save " + target.string() + ": " + reasonOf(error);
  }
  return {};
}

bool sameFile(int fd, const fs::path& path) {
  struct stat held {};
  struct stat named {};
  return ::fstat(fd, &held) == 0 && ::stat(path.c_str(), &named) == 0 &&
         held.st_dev == named.st_dev && held.st_ino == named.st_ino;
}

#endif

}  // namespace

fs::path ResolveLinks(const fs::path& path) {
  std::error_code ec;
  fs::path current = path;
  // A chain of links, each relative to the folder it sits in; a loop gives up
  // and leaves the last name, which the save then refuses as it finds it.
  for (int hop = 0; hop < 40; ++hop) {
    if (!fs::is_symlink(fs::symlink_status(current, ec))) break;
    const fs::path target = fs::read_symlink(current, ec);
    if (ec) break;
    current = target.is_absolute() ? target : folderOf(current) / target;
  }
  return current;
}

std::string CheckReplaceable(const fs::path& path) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (!fs::exists(status)) return {};
  if (fs::is_directory(status)) return path.string() + " is a folder, not a file";
  if (!fs::is_regular_file(status)) return path.string() + " is not a regular file";
  // The rename needs only the folder's permission, so without this a user
  // could replace a file that belongs to someone else or that was made
  // read-only on purpose. The mode bits count for root too, who may write
  // every file: a file made read-only says "leave me as I am" to everyone.
  const auto perms = status.permissions();
  const bool modeAllowsWriting =
      (perms & (fs::perms::owner_write | fs::perms::group_write | fs::perms::others_write)) !=
      fs::perms::none;
  bool userMayWrite = modeAllowsWriting;
#ifdef CPS_HAVE_POSIX_FILES
  userMayWrite = userMayWrite && ::access(path.c_str(), W_OK) == 0;
#endif
  if (!userMayWrite) {
    return path.string() + " is read-only for you; it was left as it is. Save under another name.";
  }
  return {};
}

FileBytes ReadWholeFile(const fs::path& path, std::size_t maxBytes) {
  std::error_code ec;
  const auto status = fs::status(path, ec);
  if (fs::is_directory(status)) return {{}, "is a folder, not a file"};
  if (!fs::exists(status)) return {{}, "does not exist"};
  if (!fs::is_regular_file(status)) return {{}, "is not a regular file (a pipe or a device)"};
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

FileLock::FileLock(FileLock&& other) noexcept
    : m_fd(std::exchange(other.m_fd, -1)), m_file(std::move(other.m_file)) {
  other.m_file.clear();
}

FileLock& FileLock::operator=(FileLock&& other) noexcept {
  if (this != &other) {
    release();
    m_fd = std::exchange(other.m_fd, -1);
    m_file = std::move(other.m_file);
    other.m_file.clear();
  }
  return *this;
}

FileLock::~FileLock() { release(); }

void FileLock::release() {
#ifdef CPS_HAVE_POSIX_FILES
  if (m_fd >= 0) ::close(m_fd);  // closing the descriptor lets go of its lock
#endif
  m_fd = -1;
  m_file.clear();
}

bool FileLock::covers(const fs::path& path) const {
  if (m_fd < 0) return false;
  std::error_code ec;
  return fs::equivalent(m_file, ResolveLinks(path), ec);
}

FileLockResult LockForChange(const fs::path& path, int waitMs) {
  FileLockResult result;
#ifdef CPS_HAVE_POSIX_FILES
  const fs::path file = ResolveLinks(path);
  constexpr int kStepMs = 20;
  for (int waited = 0;; waited += kStepMs) {
    std::error_code ec;
    const auto status = fs::status(file, ec);
    if (!fs::exists(status)) return result;
    // A pipe or device would block or misbehave when opened; the save refuses
    // it with its own words, so there is nothing to lock.
    if (!fs::is_regular_file(status)) return result;
    const int fd = ::open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK | O_NOCTTY);
    if (fd < 0) {
      if (errno == ENOENT) continue;  // replaced between the look and the open
      // A file this user may write but not read cannot carry the lock; the
      // save still checks and replaces it as it would any other.
      return result;
    }
    if (::flock(fd, LOCK_EX | LOCK_NB) == 0) {
      // The holder before us may have replaced the file while we waited: our
      // lock is then on the old file, and the new one is what must be locked.
      if (sameFile(fd, file)) {
        FileLockAccess::fd(result.lock) = fd;
        FileLockAccess::file(result.lock) = file;
        return result;
      }
      ::close(fd);
      continue;
    }
    const int error = errno;
    ::close(fd);
    if (error != EWOULDBLOCK && error != EINTR) {
      result.error = file.string() + ": cannot be locked: " + reasonOf(error);
      return result;
    }
    if (waited >= waitMs) {
      result.busy = true;
      result.error = file.string() + ": " + kFileBusyReason;
      return result;
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(kStepMs));
  }
#else
  (void)path;
  (void)waitMs;
  return result;
#endif
}

std::string ReplaceFilesTogether(std::span<const FileToReplace> files, FileLock* held) {
  std::vector<fs::path> targets;
  for (const auto& file : files) {
    targets.push_back(ResolveLinks(file.path));
    if (auto refusal = CheckReplaceable(targets.back()); !refusal.empty()) return refusal;
  }
  if (targets.empty()) return {};
#ifdef CPS_HAVE_POSIX_FILES
  // The first file is the one the lock belongs to (the data file of a pair).
  FileLock own;
  FileLock* lock = held;
  if (lock == nullptr || !lock->covers(targets.front())) {
    auto taken = LockForChange(targets.front());
    if (!taken.ok()) return taken.error;
    own = std::move(taken.lock);
    lock = &own;
  }
  std::vector<PreparedFile> prepared(files.size());
  for (std::size_t i = 0; i < files.size(); ++i) {
    if (auto error = prepare(targets[i], files[i].bytes, prepared[i]); !error.empty()) {
      for (auto& p : prepared) p.discard();
      return error;
    }
  }
  // The new first file is locked before it takes the name, so that the lock
  // holder keeps the file it is changing and a waiter finds it still busy.
  if (FileLockAccess::fd(*lock) >= 0) ::flock(prepared.front().fd, LOCK_EX | LOCK_NB);
  // The old content of every file but the last stays reachable under a
  // temporary name until the last rename is through, to be put back if a
  // later one fails.
  std::vector<fs::path> keptOld(files.size());
  for (std::size_t i = 0; i + 1 < files.size(); ++i) {
    if (!fs::exists(targets[i])) continue;
    keptOld[i] = newTempPath(folderOf(targets[i]));
    if (::link(targets[i].c_str(), keptOld[i].c_str()) != 0) keptOld[i].clear();
  }
  std::string error;
  std::size_t renamed = 0;
  for (; renamed < files.size(); ++renamed) {
    if (::rename(prepared[renamed].temp.c_str(), targets[renamed].c_str()) != 0) {
      error = "cannot replace " + targets[renamed].string() + ": " + reasonOf(errno);
      break;
    }
    prepared[renamed].temp.clear();
  }
  if (!error.empty()) {
    bool putBack = true;
    for (std::size_t i = 0; i < renamed; ++i) {
      putBack =
          putBack && !keptOld[i].empty() && ::rename(keptOld[i].c_str(), targets[i].c_str()) == 0;
      if (!keptOld[i].empty() && putBack) keptOld[i].clear();
    }
    if (renamed > 0 && !putBack) {
      error += "; " + targets.front().string() + " was saved and could not be put back";
    }
  }
  for (auto& old : keptOld) {
    if (!old.empty()) ::unlink(old.c_str());
  }
  if (error.empty() && FileLockAccess::fd(*lock) >= 0) {
    // The lock moves to the new file: the descriptor of the new content.
    ::close(FileLockAccess::fd(*lock));
    FileLockAccess::fd(*lock) = std::exchange(prepared.front().fd, -1);
    FileLockAccess::file(*lock) = targets.front();
  }
  for (auto& p : prepared) p.discard();
  std::vector<fs::path> folders;
  for (const auto& target : targets) {
    if (std::find(folders.begin(), folders.end(), folderOf(target)) == folders.end())
      folders.push_back(folderOf(target));
  }
  for (const auto& folder : folders) syncFolder(folder);
  return error;
#else
  (void)held;
  for (std::size_t i = 0; i < files.size(); ++i) {
    auto temp = targets[i];
    temp += ".tmp";
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return "cannot make a new file to save " + targets[i].string();
    out.write(reinterpret_cast<const char*>(files[i].bytes.data()),
              static_cast<std::streamsize>(files[i].bytes.size()));
    out.close();
    std::error_code ec;
    if (out) fs::rename(temp, targets[i], ec);
    if (!out || ec) {
      fs::remove(temp, ec);
      return "cannot save " + targets[i].string();
    }
  }
  return {};
#endif
}

std::string WriteFileAtomically(const fs::path& path, std::span<const std::uint8_t> bytes,
                                FileLock* held) {
  const FileToReplace file{path, bytes};
  return ReplaceFilesTogether({&file, 1}, held);
}

FileStamp StampOf(const std::string& path) {
  FileStamp stamp;
  stamp.path = path;
#ifdef CPS_HAVE_POSIX_FILES
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) return stamp;
  stamp.exists = true;
  stamp.size = static_cast<std::uintmax_t>(st.st_size);
  stamp.modifiedNs = static_cast<std::int64_t>(st.st_mtim.tv_sec) * 1000000000 + st.st_mtim.tv_nsec;
  stamp.device = static_cast<std::uint64_t>(st.st_dev);
  stamp.inode = static_cast<std::uint64_t>(st.st_ino);
#else
  std::error_code ec;
  stamp.exists = fs::exists(path, ec);
  if (!stamp.exists) return stamp;
  stamp.size = fs::file_size(path, ec);
  stamp.modifiedNs = fs::last_write_time(path, ec).time_since_epoch().count();
#endif
  return stamp;
}

std::string SideFilePath(const std::string& dataPath) {
  if (dataPath.size() < 3) return "NVD";
  return dataPath.substr(0, dataPath.size() - 3) + "NVD";
}

std::string DataFileNameProblem(const std::string& dataPath) {
  const std::string name = fs::path(dataPath).filename().string();
  const auto dot = name.rfind('.');
  const bool hasThreeLetterExtension =
      dot != std::string::npos && dot > 0 && name.size() - dot - 1 == 3;
  if (!hasThreeLetterExtension) {
    return dataPath +
           ": a data file needs a name with a three-letter extension such as \".dat\", so that "
           "its side file (the name with \".NVD\") is a file of its own";
  }
  std::string extension = name.substr(dot + 1);
  for (auto& c : extension) c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
  if (extension == "NVD") {
    return dataPath +
           ": \".NVD\" is the extension of the side file; give the data file another "
           "extension such as \".dat\"";
  }
  return {};
}

std::string WithDataFileExtension(const std::string& dataPath) {
  const std::string name = fs::path(dataPath).filename().string();
  if (name.empty() || name.find('.') != std::string::npos) return dataPath;
  return dataPath + ".dat";
}

}  // namespace cps
