// Whole-file reading and atomic replacement of files, for data files and
// their side files: one lock for everyone who changes a file, links followed
// to the file they name, a short temporary file beside the target, fsync,
// rename. A save never leaves a half-written file behind, and a change that
// cannot be stored is refused with the reason.
#pragma once

#include <cstdint>
#include <filesystem>
#include <optional>
#include <span>
#include <string>
#include <vector>

namespace cps {

struct FileBytes {
  std::vector<std::uint8_t> bytes;
  std::string error;  // empty on success
  bool ok() const { return error.empty(); }
};

// Reads at most maxBytes + 1 bytes, enough to tell a file of the wrong size
// without reading a large file whole. A pipe, device or other file that is not
// a regular file is refused at once rather than waited on.
FileBytes ReadWholeFile(const std::filesystem::path& path, std::size_t maxBytes);

// The file a path names once every symbolic link on the way is followed; the
// path itself when it does not exist yet (a link to a missing file gives the
// file the link would make). A save replaces this file and leaves links alone.
std::filesystem::path ResolveLinks(const std::filesystem::path& path);

// Empty when `path` may be replaced by this user (it does not exist yet, or
// it is a regular file the user may write and whose mode allows writing);
// otherwise why not, naming the path.
std::string CheckReplaceable(const std::filesystem::path& path);

// An advisory lock on a file that is being changed, held from reading it to
// replacing it. Every program of this project that changes a data file takes
// it, so two writers never lose each other's change: the second one waits a
// short while and is then told that the file is busy. A save made while the
// lock is held moves the lock to the new file, so it stays held until the
// holder lets go.
class FileLock {
 public:
  FileLock() = default;
  FileLock(FileLock&& other) noexcept;
  FileLock& operator=(FileLock&& other) noexcept;
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  ~FileLock();

  // The file the lock covers (links followed); empty when nothing is locked.
  const std::filesystem::path& file() const { return m_file; }
  bool covers(const std::filesystem::path& path) const;
  void release();

 private:
  friend struct FileLockAccess;
  int m_fd = -1;
  std::filesystem::path m_file;
};

struct FileLockResult {
  FileLock lock;
  std::string error;  // empty when the lock is held (or the file does not exist yet)
  bool busy = false;  // another program holds the file
  bool ok() const { return error.empty(); }
};

// The words of the refusal when another program holds the file.
inline constexpr const char* kFileBusyReason =
    "the file is being changed by another program; nothing was changed. Try again when it has "
    "finished";

// Takes the lock of `path` (links followed), waiting up to `waitMs` for another
// holder to finish. A file that does not exist yet needs no lock: the result
// holds nothing and is ok.
FileLockResult LockForChange(const std::filesystem::path& path, int waitMs = 3000);

// Writes into a short temporary file in the target's folder, then renames it
// over the target and flushes the folder. Links are followed to the file they
// name; the target keeps its mode (and its owner and group where the system
// allows). A file the user may not write, or whose mode says read-only, is
// refused. The file's lock is taken for the save unless `held` covers it.
// Returns an error text with the reason, empty on success; on failure the old
// file is untouched.
std::string WriteFileAtomically(const std::filesystem::path& path,
                                std::span<const std::uint8_t> bytes, FileLock* held = nullptr);

// Several files replaced together: every target is checked and every new
// content written and flushed before the first rename, so a refusal or a full
// disk changes none of them. Should a later rename fail after an earlier one
// went through, the earlier files are put back where the system allows.
struct FileToReplace {
  std::filesystem::path path;
  std::span<const std::uint8_t> bytes;
};
std::string ReplaceFilesTogether(std::span<const FileToReplace> files, FileLock* held = nullptr);

// What a file looked like at one moment, enough to tell that another program
// has replaced or changed it since.
struct FileStamp {
  std::string path;  // as the run names it; empty: nothing stamped
  bool exists = false;
  std::uintmax_t size = 0;
  std::int64_t modifiedNs = 0;
  std::uint64_t device = 0;
  std::uint64_t inode = 0;
  bool operator==(const FileStamp&) const = default;
};
FileStamp StampOf(const std::string& path);

// The side file of a data file: its path with the last three characters
// replaced by "NVD", whatever the extension was (abc.dat gives abc.NVD).
std::string SideFilePath(const std::string& dataPath);

// Why a data file may not be written under this name, empty when it may: the
// side file rule must give another file, with an extension of its own
// ("x.NVD" would be its own side file, "ab" would put the side file in "NVD").
std::string DataFileNameProblem(const std::string& dataPath);

// A name for a new data file: ".dat" added when the file name has no extension.
std::string WithDataFileExtension(const std::string& dataPath);

}  // namespace cps
