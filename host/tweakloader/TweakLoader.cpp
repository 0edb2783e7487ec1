// The tweak loader stand-in: a library that a process loads before anything
// else (LD_PRELOAD), as the device's loader is injected into every process.
// Its initialiser reads the filter plist of every hook library in
// /Library/MobileSubstrate/DynamicLibraries under the device root (the
// environment variable DEVICE_ROOT, "/" when unset) and loads the libraries
// whose filters match this process. For each "NAME.dylib" the filter is
// "NAME.plist"; a library without one, or with a malformed one, is not loaded
// and one line on standard error says so.
//
// The process is matched by:
//   Executables  its executable's file name (program_invocation_short_name)
//   Bundles      the bundle identifiers it declares in the environment
//                variable TWEAK_LOADER_BUNDLES, separated by ":"
//   Classes      the Objective-C classes registered when the loader runs,
//                when the process has the object runtime at all
// With TWEAK_LOADER_VERBOSE set, each library loaded is named on standard
// error. Control characters in these lines are shown as escapes.

#include <cerrno>
#include <cstdio>
#include <string>
#include <string_view>

#include "Filter.h"
#include "platform/core/TerminalText.h"
#include "platform/os/DeviceRoot.h"
#include "platform/os/DynamicLoader.h"
#include "platform/os/Environment.h"
#include "platform/os/FileSystem.h"

namespace tweakloader {
namespace {

constexpr const char* kLibraryDirectory = "/Library/MobileSubstrate/DynamicLibraries";
constexpr std::string_view kLibrarySuffix = ".dylib";
constexpr std::uint64_t kMaxFilterBytes = 1 << 20;

// One line on standard error; file names and the loader's messages may hold
// anything, so control characters are shown as escapes.
void report(const std::string& line) {
  std::fprintf(stderr, "tweakloader: %s\n", platform::visibleText(line).c_str());
}

std::vector<std::string> split(std::string_view text, char separator) {
  std::vector<std::string> parts;
  while (!text.empty()) {
    std::size_t end = text.find(separator);
    if (end != 0) parts.emplace_back(text.substr(0, end));
    if (end == std::string_view::npos) break;
    text.remove_prefix(end + 1);
  }
  return parts;
}

ProcessIdentity thisProcess() {
  ProcessIdentity process;
  process.executable = program_invocation_short_name;
  process.bundles = split(platform::environment("TWEAK_LOADER_BUNDLES").value_or(""), ':');
  // Looked up rather than linked, so the loader never brings the runtime
  // into a process that does not have it.
  using GetClass = void* (*)(const char*);
  if (auto getClass = reinterpret_cast<GetClass>(platform::SharedLibrary::globalSymbol("objc_getClass")))
    process.hasClass = [getClass](const std::string& name) { return getClass(name.c_str()) != nullptr; };
  return process;
}

// Loads one library if its filter names this process.
void consider(const std::string& directory, const std::string& library, const ProcessIdentity& process,
              bool verbose) {
  std::string stem = library.substr(0, library.size() - kLibrarySuffix.size());
  std::string filterName = stem + ".plist";
  auto bytes = platform::readFile(directory + "/" + filterName, kMaxFilterBytes);
  if (!bytes) {
    report(library + " has no readable filter " + filterName + "; not loaded");
    return;
  }
  std::string error;
  auto filter = parseFilter(std::string_view(reinterpret_cast<const char*>(bytes->data()), bytes->size()), error);
  if (!filter) {
    report(filterName + " is malformed (" + error + "); " + library + " not loaded");
    return;
  }
  if (!matches(*filter, process)) return;
  std::string path = directory + "/" + library;
  std::string why;
  if (!platform::SharedLibrary::open(path, &why)) {
    report("cannot load " + library + ": " + why);
    return;
  }
  if (verbose) report("loaded " + path);
}

__attribute__((constructor)) void loadTweaks() {
  std::string directory = platform::resolveDevicePath(kLibraryDirectory);
  ProcessIdentity process = thisProcess();
  bool verbose = platform::environment("TWEAK_LOADER_VERBOSE").has_value();
  for (const std::string& name : platform::listDirectory(directory))
    if (name.size() > kLibrarySuffix.size() && name.ends_with(kLibrarySuffix))
      consider(directory, name, process, verbose);
}

}  // namespace
}  // namespace tweakloader
