#include "platform/os/FileSystem.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>

namespace platform {
namespace {

// Closes a descriptor when leaving scope.
class Fd {
 public:
  explicit Fd(int fd) : fd_(fd) {}
  ~Fd() {
    if (fd_ >= 0) ::close(fd_);
  }
  Fd(const Fd&) = delete;
  Fd& operator=(const Fd&) = delete;
  int get() const { return fd_; }
  // Closes now, reporting whether the close succeeded.
  bool close() {
    int fd = fd_;
    fd_ = -1;
    return ::close(fd) == 0;
  }

 private:
  int fd_;
};

std::int64_t nanoseconds(const struct timespec& t) {
  return static_cast<std::int64_t>(t.tv_sec) * 1'000'000'000 + t.tv_nsec;
}

bool writeAll(int fd, std::string_view bytes) {
  while (!bytes.empty()) {
    ssize_t n = ::write(fd, bytes.data(), bytes.size());
    if (n < 0) {
      if (errno == EINTR) continue;
      return false;
    }
    bytes.remove_prefix(static_cast<std::size_t>(n));
  }
  return true;
}

// The temporary file beside the target, its content written and flushed to
// disk with the final mode. Unlinked again when anything fails.
bool writeTemporary(const std::string& tempPath, int fd, std::string_view bytes, mode_t mode) {
  Fd file(fd);
  bool ok = writeAll(fd, bytes) && ::fsync(fd) == 0 && ::fchmod(fd, mode) == 0;
  ok = file.close() && ok;
  if (!ok) ::unlink(tempPath.c_str());
  return ok;
}

// Nothing, after saying why.
std::nullopt_t fail(ReadError* error, ReadError why) {
  if (error) *error = why;
  return std::nullopt;
}

// Reads a descriptor to its end into a buffer first sized `initial` (the
// size the file should have, plus one to see the end), growing up to the cap:
// a file that grew meanwhile is read on up to it, one that shrank is cut
// where it ends.
std::optional<std::vector<std::uint8_t>> readToEnd(int fd, std::size_t initial, std::uint64_t maxBytes,
                                                   ReadError* error) {
  // One byte past the cap is enough to tell that the input is too large.
  const std::uint64_t limit = maxBytes < UINT64_MAX ? maxBytes + 1 : maxBytes;
  std::vector<std::uint8_t> bytes(static_cast<std::size_t>(std::clamp<std::uint64_t>(initial, 1, limit)));
  std::size_t have = 0;
  for (;;) {
    if (have == bytes.size()) {
      if (bytes.size() > maxBytes) return fail(error, ReadError::TooLarge);
      bytes.resize(static_cast<std::size_t>(std::min<std::uint64_t>(bytes.size() * 2, limit)));
    }
    ssize_t n = ::read(fd, bytes.data() + have, bytes.size() - have);
    if (n < 0) {
      if (errno == EINTR) continue;
      return fail(error, ReadError::Unreadable);
    }
    if (n == 0) break;
    have += static_cast<std::size_t>(n);
  }
  if (have > maxBytes) return fail(error, ReadError::TooLarge);
  bytes.resize(have);
  return bytes;
}

// Where writeFileAtomically puts its temporaries for a path: the directory
// and the name up to the six characters mkstemp fills in.
struct TemporaryName {
  std::string directory;  // "" when the path names no directory
  std::string prefix;     // ".NAME.tmp-"
};

std::optional<TemporaryName> temporaryNameFor(const std::string& path) {
  std::string::size_type slash = path.rfind('/');
  std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
  if (name.empty()) return std::nullopt;
  return TemporaryName{slash == std::string::npos ? "" : path.substr(0, slash + 1), "." + name + ".tmp-"};
}

constexpr std::size_t kTemporaryUniqueChars = 6;  // the XXXXXX of mkstemp

bool isTemporaryOf(std::string_view entry, const std::string& prefix) {
  if (entry.size() != prefix.size() + kTemporaryUniqueChars || !entry.starts_with(prefix)) return false;
  for (char c : entry.substr(prefix.size())) {
    if (!((c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9'))) return false;
  }
  return true;
}

}  // namespace

std::optional<FileStamp> statFile(const std::string& path) {
  struct stat st;
  if (::stat(path.c_str(), &st) != 0) return std::nullopt;
  FileStamp stamp;
  stamp.device = st.st_dev;
  stamp.inode = st.st_ino;
  stamp.size = static_cast<std::uint64_t>(st.st_size);
  stamp.mtimeNs = nanoseconds(st.st_mtim);
  stamp.ctimeNs = nanoseconds(st.st_ctim);
  return stamp;
}

namespace {

std::optional<std::vector<std::uint8_t>> readOpened(int fd, std::uint64_t maxBytes, ReadError* error) {
  Fd file(fd);
  if (file.get() < 0) {
    return fail(error, errno == ENOENT || errno == ENOTDIR ? ReadError::Missing : ReadError::Unreadable);
  }
  struct stat st;
  if (::fstat(file.get(), &st) != 0) return fail(error, ReadError::Unreadable);
  if (!S_ISREG(st.st_mode)) return fail(error, ReadError::NotAFile);
  auto size = static_cast<std::uint64_t>(st.st_size);
  if (size > maxBytes) return fail(error, ReadError::TooLarge);
  return readToEnd(file.get(), static_cast<std::size_t>(size) + 1, maxBytes, error);
}

}  // namespace

std::optional<std::vector<std::uint8_t>> readFile(const std::string& path, std::uint64_t maxBytes,
                                                  ReadError* error) {
  return readOpened(::open(path.c_str(), O_RDONLY | O_CLOEXEC), maxBytes, error);
}

std::optional<std::vector<std::uint8_t>> readFileNoFollow(const std::string& path, std::uint64_t maxBytes) {
  // O_NONBLOCK: opening a FIFO planted in the folder must not wait for a writer.
  return readOpened(::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NOFOLLOW | O_NONBLOCK), maxBytes, nullptr);
}

std::string describeReadError(ReadError error, std::uint64_t maxBytes) {
  switch (error) {
    case ReadError::Missing: return "no such file";
    case ReadError::NotAFile: return "not a regular file";
    case ReadError::TooLarge: return "larger than " + std::to_string(maxBytes) + " bytes";
    case ReadError::Unreadable: break;
  }
  return "unreadable";
}

std::optional<std::vector<std::uint8_t>> readStandardInput(std::uint64_t maxBytes, ReadError* error) {
  return readToEnd(STDIN_FILENO, 64 * 1024, maxBytes, error);
}

bool writeFileAtomically(const std::string& path, std::string_view bytes) {
  std::optional<TemporaryName> temporary = temporaryNameFor(path);
  if (!temporary) return false;
  std::string dir = temporary->directory.empty() ? "." : temporary->directory;

  mode_t mode = 0644;
  struct stat old;
  if (::stat(path.c_str(), &old) == 0) {
    if (!S_ISREG(old.st_mode)) return false;  // never replace a directory or device
    mode = old.st_mode & 07777;
  }

  std::string tempPath = temporary->directory + temporary->prefix + std::string(kTemporaryUniqueChars, 'X');
  int fd = ::mkstemp(tempPath.data());
  if (fd < 0) return false;
  ::fcntl(fd, F_SETFD, FD_CLOEXEC);
  if (!writeTemporary(tempPath, fd, bytes, mode)) return false;
  if (::rename(tempPath.c_str(), path.c_str()) != 0) {
    ::unlink(tempPath.c_str());
    return false;
  }
  // The new content is in place; flushing the directory makes the rename
  // itself durable. Its failure cannot bring the old file back, so the write
  // still counts as done.
  Fd directory(::open(dir.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
  if (directory.get() >= 0) ::fsync(directory.get());
  return true;
}

std::size_t removeStaleTemporaries(const std::string& path) {
  std::optional<TemporaryName> temporary = temporaryNameFor(path);
  if (!temporary) return 0;
  DIR* dir = ::opendir(temporary->directory.empty() ? "." : temporary->directory.c_str());
  if (!dir) return 0;
  std::size_t removed = 0;
  while (const struct dirent* entry = ::readdir(dir)) {
    if (!isTemporaryOf(entry->d_name, temporary->prefix)) continue;
    struct stat st;
    if (::fstatat(::dirfd(dir), entry->d_name, &st, AT_SYMLINK_NOFOLLOW) == 0 && S_ISREG(st.st_mode) &&
        ::unlinkat(::dirfd(dir), entry->d_name, 0) == 0) {
      ++removed;
    }
  }
  ::closedir(dir);
  return removed;
}

FileLock::FileLock(const std::string& lockPath) {
  int fd = ::open(lockPath.c_str(), O_RDWR | O_CREAT | O_CLOEXEC, 0644);
  if (fd < 0) return;
  while (::flock(fd, LOCK_EX) != 0) {
    if (errno != EINTR) {
      ::close(fd);
      return;
    }
  }
  fd_ = fd;
}

FileLock::~FileLock() {
  if (fd_ >= 0) ::close(fd_);  // closing releases the lock
}

std::vector<std::string> listDirectory(const std::string& path) {
  std::vector<std::string> names;
  DIR* dir = ::opendir(path.c_str());
  if (!dir) return names;
  while (const struct dirent* entry = ::readdir(dir)) {
    std::string_view name = entry->d_name;
    if (name != "." && name != "..") names.emplace_back(name);
  }
  ::closedir(dir);
  std::sort(names.begin(), names.end());
  return names;
}

bool isDirectory(const std::string& path) {
  struct stat st;
  return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

bool createDirectories(const std::string& path) {
  if (path.empty() || isDirectory(path)) return !path.empty();
  std::size_t slash = path.find_last_of('/');
  if (slash != std::string::npos && slash > 0 && !createDirectories(path.substr(0, slash))) return false;
  return ::mkdir(path.c_str(), 0755) == 0 || (errno == EEXIST && isDirectory(path));
}

}  // namespace platform
