#include "platform/os/DynamicLoader.h"

#include <dlfcn.h>

namespace platform {

std::unique_ptr<SharedLibrary> SharedLibrary::open(const std::string& path, std::string* error) {
  ::dlerror();
  void* handle = ::dlopen(path.c_str(), RTLD_NOW | RTLD_GLOBAL);
  if (!handle) {
    if (error) {
      const char* message = ::dlerror();
      *error = message ? message : "the library could not be loaded";
    }
    return nullptr;
  }
  return std::unique_ptr<SharedLibrary>(new SharedLibrary(handle, path));
}

void* SharedLibrary::symbol(const std::string& name) const { return ::dlsym(handle_, name.c_str()); }

void* SharedLibrary::globalSymbol(const std::string& name) { return ::dlsym(RTLD_DEFAULT, name.c_str()); }

}  // namespace platform
