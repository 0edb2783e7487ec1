// File access for the system's code. All paths here are host paths: resolve
// device paths with resolveDevicePath first. Nothing here throws.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace platform {

// What identifies a version of a file: a changed file differs in one of these.
struct FileStamp {
  std::uint64_t device = 0, inode = 0, size = 0;
  std::int64_t mtimeNs = 0, ctimeNs = 0;
  bool operator==(const FileStamp&) const = default;
};

// The stamp of an existing file, or nothing when it cannot be stat'ed.
std::optional<FileStamp> statFile(const std::string& path);

// The whole content of a regular file, refusing files over maxBytes (then
// nothing is read). Nothing when the file is missing or unreadable.
std::optional<std::vector<std::uint8_t>> readFile(const std::string& path, std::uint64_t maxBytes);

// As readFile, but only for a file that the path itself names: nothing when
// the path is a symbolic link (for files served to others, which must stay
// inside their folder).
std::optional<std::vector<std::uint8_t>> readFileNoFollow(const std::string& path, std::uint64_t maxBytes);

// Writes bytes atomically: a mkstemp file in the same directory, written,
// fsync'ed, given the old file's mode (0644 for a new file), renamed over the
// path, the directory fsync'ed. On failure the old file is untouched, no
// temporary file remains, and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// An exclusive advisory lock (flock) on a lock file, held for the object's
// life. The lock file is created when missing; when it cannot be, the lock
// is simply not held (held() is false) and work goes on unlocked.
class FileLock {
 public:
  explicit FileLock(const std::string& lockPath);
  ~FileLock();
  FileLock(const FileLock&) = delete;
  FileLock& operator=(const FileLock&) = delete;
  bool held() const { return fd_ >= 0; }

 private:
  int fd_ = -1;
};

// The names of the entries of a directory (no "." or ".."), sorted; empty
// when the directory is missing.
std::vector<std::string> listDirectory(const std::string& path);

// Whether a directory exists at the path (following symbolic links).
bool isDirectory(const std::string& path);

// Creates a directory and its missing parents (mode 0755); true when it
// exists afterwards.
bool createDirectories(const std::string& path);

}  // namespace platform
