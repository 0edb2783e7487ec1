// Loading shared libraries (dlopen): the settings host's bundles and the
// tweak loader's hook libraries.
#pragma once

#include <memory>
#include <string>

namespace platform {

class SharedLibrary {
 public:
  // Loads the library at a host path (RTLD_NOW | RTLD_GLOBAL). On failure
  // nothing is returned and `error` (when given) receives the loader's
  // message. The library stays loaded for the life of the process: classes
  // it registered must outlive every object made from them.
  static std::unique_ptr<SharedLibrary> open(const std::string& path, std::string* error = nullptr);

  // The address of an exported symbol, or null.
  void* symbol(const std::string& name) const;

  // The address of a symbol among everything the process has loaded
  // (RTLD_DEFAULT), or null: for looking a library up without linking it.
  static void* globalSymbol(const std::string& name);

  const std::string& path() const { return path_; }

 private:
  SharedLibrary(void* handle, std::string path) : handle_(handle), path_(std::move(path)) {}
  void* handle_;
  std::string path_;
};

}  // namespace platform
