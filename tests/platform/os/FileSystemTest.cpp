// Atomic writes: the old file or the new one, never half of either, never a
// temporary file left behind when a write fails.
#include <gtest/gtest.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <filesystem>
#include <thread>

#include "PlistTestSupport.h"
#include "TempRoot.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"

using testing_support::slurp;

namespace {

std::vector<std::string> entries(const std::filesystem::path& dir) {
  return platform::listDirectory(dir.string());
}

mode_t modeOf(const std::string& path) {
  struct stat st;
  EXPECT_EQ(::stat(path.c_str(), &st), 0);
  return st.st_mode & 07777;
}

}  // namespace

TEST(FileSystemTest, DevicePathsResolveUnderTheRoot) {
  platform::setDeviceRoot("/tmp/some/root/");
  EXPECT_EQ(platform::deviceRoot(), "/tmp/some/root");
  EXPECT_EQ(platform::resolveDevicePath("/var/mobile/x.plist"), "/tmp/some/root/var/mobile/x.plist");
  EXPECT_EQ(platform::resolveDevicePath("relative"), "relative");
  EXPECT_EQ(*platform::environment("DEVICE_ROOT"), "/tmp/some/root");
  platform::setDeviceRoot("/");
  EXPECT_EQ(platform::resolveDevicePath("/var/x"), "/var/x");
}

TEST(FileSystemTest, WritesReplaceAndKeepTheMode) {
  testing_support::TempRoot root;
  std::string path = root.file("/dir/file");
  ASSERT_TRUE(platform::writeFileAtomically(path, "first"));
  EXPECT_EQ(slurp(path), "first");
  EXPECT_EQ(modeOf(path), 0644u);
  ASSERT_EQ(::chmod(path.c_str(), 0600), 0);
  ASSERT_TRUE(platform::writeFileAtomically(path, "second"));
  EXPECT_EQ(slurp(path), "second");
  EXPECT_EQ(modeOf(path), 0600u);
  EXPECT_EQ(entries(root.path() / "dir"), std::vector<std::string>{"file"});
  auto stamp = platform::statFile(path);
  ASSERT_TRUE(stamp);
  EXPECT_EQ(stamp->size, 6u);
  ASSERT_TRUE(platform::writeFileAtomically(path, "third!"));
  EXPECT_NE(*platform::statFile(path), *stamp);  // same size, new file
}

TEST(FileSystemTest, FailedWritesLeaveTheOldFileAndNoTemporary) {
  testing_support::TempRoot root;
  // A missing directory, a directory in the way, a parent that is a file.
  EXPECT_FALSE(platform::writeFileAtomically((root.path() / "missing/dir/file").string(), "x"));
  std::filesystem::create_directories(root.path() / "adir");
  EXPECT_FALSE(platform::writeFileAtomically((root.path() / "adir").string(), "x"));
  EXPECT_TRUE(std::filesystem::is_directory(root.path() / "adir"));
  std::string file = root.file("/plain");
  ASSERT_TRUE(platform::writeFileAtomically(file, "old"));
  EXPECT_FALSE(platform::writeFileAtomically(file + "/child", "x"));

  // A write that fails halfway (the file-size limit stops it).
  struct sigaction ignore = {}, previous = {};
  ignore.sa_handler = SIG_IGN;
  ::sigaction(SIGXFSZ, &ignore, &previous);
  struct rlimit old;
  ::getrlimit(RLIMIT_FSIZE, &old);
  struct rlimit small = old;
  small.rlim_cur = 4096;
  ASSERT_EQ(::setrlimit(RLIMIT_FSIZE, &small), 0);
  bool wrote = platform::writeFileAtomically(file, std::string(100000, 'n'));
  ::setrlimit(RLIMIT_FSIZE, &old);
  ::sigaction(SIGXFSZ, &previous, nullptr);
  EXPECT_FALSE(wrote);
  EXPECT_EQ(slurp(file), "old");
  std::vector<std::string> expected{"adir", "plain"};
  EXPECT_EQ(entries(root.path()), expected);
}

TEST(FileSystemTest, AKilledWriterLeavesOldOrNewContent) {
  testing_support::TempRoot root;
  std::string path = root.file("/data");
  const std::string a(1 << 20, 'a'), b(1 << 20, 'b');
  ASSERT_TRUE(platform::writeFileAtomically(path, a));
  for (int round = 0; round < 10; ++round) {
    pid_t child = ::fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      for (int i = 0;; ++i) platform::writeFileAtomically(path, i % 2 ? a : b);
    }
    std::this_thread::sleep_for(std::chrono::milliseconds(3 + round * 7));
    ::kill(child, SIGKILL);
    ::waitpid(child, nullptr, 0);
    std::string now = slurp(path);
    EXPECT_TRUE(now == a || now == b) << "round " << round << ": " << now.size() << " bytes";
  }
  // A writer killed between creating and renaming its temporary file leaves
  // that file behind (nothing can remove it); the target is never touched.
  for (const auto& name : entries(root.path())) {
    EXPECT_TRUE(name == "data" || name.starts_with(".data.tmp-")) << name;
  }
}

TEST(FileSystemTest, ReadsAreCappedAndTypeChecked) {
  testing_support::TempRoot root;
  std::string path = root.file("/f");
  ASSERT_TRUE(platform::writeFileAtomically(path, "0123456789"));
  EXPECT_EQ(platform::readFile(path, 10)->size(), 10u);
  EXPECT_FALSE(platform::readFile(path, 9));
  EXPECT_FALSE(platform::readFile(root.path().string(), 100));  // a directory
  EXPECT_FALSE(platform::readFile(path + "-missing", 100));
  EXPECT_TRUE(platform::listDirectory(path + "-missing").empty());

  // Without following links: the file itself, not a link to it or a FIFO.
  std::filesystem::create_symlink(path, root.file("/link"));
  ASSERT_EQ(::mkfifo(root.file("/fifo").c_str(), 0600), 0);
  EXPECT_EQ(platform::readFileNoFollow(path, 10)->size(), 10u);
  EXPECT_FALSE(platform::readFileNoFollow(path, 9));
  EXPECT_FALSE(platform::readFileNoFollow(root.file("/link"), 100));
  EXPECT_TRUE(platform::readFile(root.file("/link"), 100));
  EXPECT_FALSE(platform::readFileNoFollow(root.file("/fifo"), 100));
}
