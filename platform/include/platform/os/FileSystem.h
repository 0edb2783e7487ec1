// File access for the system's code. All paths here are host paths: resolve
// device paths with resolveDevicePath first. Nothing here throws.
#pragma once

#include <cstddef>
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

// Why a read gave nothing.
enum class ReadError { Missing, NotAFile, TooLarge, Unreadable };

// The whole content of a regular file, refusing files over maxBytes (then
// nothing is read). Nothing when the file is missing or unreadable; `error`
// (when given) then says which.
std::optional<std::vector<std::uint8_t>> readFile(const std::string& path, std::uint64_t maxBytes,
                                                  ReadError* error = nullptr);

// The error in a few words: "no such file", "not a regular file", "larger
// than N bytes" (N the cap the read had), "unreadable".
std::string describeReadError(ReadError error, std::uint64_t maxBytes);

// Everything on standard input up to its end, refusing more than maxBytes.
std::optional<std::vector<std::uint8_t>> readStandardInput(std::uint64_t maxBytes, ReadError* error = nullptr);

// As readFile, but only for a file that the path itself names: nothing when
// the path is a symbolic link (for files served to others, which must stay
// inside their folder).
std::optional<std::vector<std::uint8_t>> readFileNoFollow(const std::string& path, std::uint64_t maxBytes);

// Writes bytes atomically: a mkstemp file in the same directory, written,
// fsync'ed, given the old file's mode (0644 for a new file), renamed over the
// path, the directory fsync'ed. On failure the old file is untouched, no
// temporary file remains, and false is returned.
bool writeFileAtomically(const std::string& path, std::string_view bytes);

// Removes the temporaries writeFileAtomically leaves beside path when its
// writer dies before the rename: regular files named ".NAME.tmp-" followed
// by exactly six letters or digits (what mkstemp puts in), NAME being the
// path's file name. Nothing else is touched. Only for a caller that holds
// the file's lock while every writer of the file takes it: then no live
// writer owns such a file. Returns how many were removed.
std::size_t removeStaleTemporaries(const std::string& path);

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
