// bulletin-board-host: the stand-in for the device process that owns the
// bulletin-board section records (BBSectionInfo). It sets and reads the
// records' widget plug-in bundle paths through ordinary message sends, so
// whatever has been injected into it sees the calls a device host makes.
//
//   bulletin-board-host [CLASS OPTIONS] [COMMAND]...
//   bulletin-board-host --help | --version
//
// Class options (see SectionClasses.h): --inherit, --no-section-class,
// --getter-only, --setter-only. The flags are parsed with CLI11. Each further
// argument is one command; without any, commands are read one per line from
// standard input when it is not a terminal (a pipe or a file), and a usage
// line is printed when it is one, since a person at a terminal who gave no
// command has nothing for the host to do. One record is kept per class; the
// current record starts as the BBSectionInfo one.
//
//   use CLASS    make CLASS's record current            prints "using CLASS"
//   set PATH     send setPathToWeeAppPluginBundle:      prints "held CLASS VALUE"
//   store PATH   put PATH into the record directly      prints "held CLASS VALUE"
//   get          send pathToWeeAppPluginBundle          prints "got CLASS VALUE"
//   methods      where the class's methods come from    prints "methods CLASS G S"
//
// PATH is the rest of the line after the command and one space, verbatim;
// "nil" stands for nil. VALUE is a path as it is, or "nil". G and S are
// "own", "inherited" or "none". A record that does not answer a selector
// prints "unsupported CLASS SELECTOR". An unknown command or class is an
// error: a line on standard error, and the exit status is 1. A usage error
// exits with 2. Control characters in what is printed are shown as escapes
// (platform::visibleText).

#include <CLI/CLI.hpp>

#include <cctype>
#include <iostream>
#include <map>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "SectionClasses.h"
#include "objcxx/Messaging.h"
#include "platform/core/TerminalText.h"
#include "platform/os/Terminal.h"

namespace bulletinboard {
namespace {

SEL sel(const char* name) { return sel_registerName(name); }

id makeString(std::string_view text) {
  std::string owned(text);
  id allocated = objcxx::send<id>(reinterpret_cast<id>(objc_getClass("NSString")), sel("alloc"));
  return objcxx::send<id>(allocated, sel("initWithUTF8String:"), owned.c_str());
}

std::string describe(id path) {
  if (path == nil) return "nil";
  const char* text = objcxx::send<const char*>(path, sel("UTF8String"));
  return platform::visibleText(text ? text : "");
}

// "own" when the class itself has the method, "inherited" when only a
// superclass has it, "none" when no class answers the selector.
const char* methodOrigin(Class cls, SEL selector) {
  if (!class_respondsToSelector(cls, selector)) return "none";
  unsigned count = 0;
  Method* methods = class_copyMethodList(cls, &count);
  bool own = false;
  for (unsigned i = 0; i < count; ++i) own = own || sel_isEqual(method_getName(methods[i]), selector);
  free(methods);
  return own ? "own" : "inherited";
}

class Host {
 public:
  Host() { use(kSectionClass, false); }
  ~Host() {
    for (auto& [name, record] : records_) objcxx::send<void>(record, sel("release"));
  }

  // Runs one command line; false on an error, already reported.
  bool run(std::string_view line) {
    std::string_view command = line.substr(0, line.find(' '));
    std::string_view argument = command.size() < line.size() ? line.substr(command.size() + 1) : "";
    if (command == "use") return use(std::string(argument), true);
    if (current_ == nil) return error("no class " + currentName_);
    if (command == "set") return set(argument);
    if (command == "store") return store(argument);
    if (command == "get") return get();
    if (command == "methods" && argument.empty()) return methods();
    return error("unknown command: " + std::string(line));
  }

 private:
  bool use(const std::string& name, bool announce) {
    currentName_ = name;
    current_ = record(name);
    if (announce && current_ == nil) return error("no class " + name);
    if (announce) std::cout << "using " << platform::visibleText(name) << '\n';
    return true;
  }

  id record(const std::string& name) {
    if (auto found = records_.find(name); found != records_.end()) return found->second;
    Class cls = objc_getClass(name.c_str());
    if (cls == Nil) return nil;
    id made = objcxx::send<id>(objcxx::send<id>(reinterpret_cast<id>(cls), sel("alloc")), sel("init"));
    records_.emplace(name, made);
    return made;
  }

  bool set(std::string_view argument) {
    SEL setter = sel("setPathToWeeAppPluginBundle:");
    if (!answers(setter)) return true;
    id path = argument == "nil" ? nil : makeString(argument);
    objcxx::send<void>(current_, setter, path);
    objcxx::send<void>(path, sel("release"));
    return held();
  }

  bool store(std::string_view argument) {
    id path = argument == "nil" ? nil : makeString(argument);
    storePath(current_, path);
    objcxx::send<void>(path, sel("release"));
    return held();
  }

  bool get() {
    SEL getter = sel("pathToWeeAppPluginBundle");
    if (!answers(getter)) return true;
    std::cout << "got " << platform::visibleText(currentName_) << ' ' << describe(objcxx::send<id>(current_, getter))
              << '\n';
    return true;
  }

  bool methods() {
    Class cls = object_getClass(current_);
    std::cout << "methods " << platform::visibleText(currentName_) << ' '
              << methodOrigin(cls, sel("pathToWeeAppPluginBundle")) << ' '
              << methodOrigin(cls, sel("setPathToWeeAppPluginBundle:")) << '\n';
    return true;
  }

  bool held() {
    std::cout << "held " << platform::visibleText(currentName_) << ' ' << describe(heldPath(current_)) << '\n';
    return true;
  }

  bool answers(SEL selector) {
    if (class_respondsToSelector(object_getClass(current_), selector)) return true;
    std::cout << "unsupported " << platform::visibleText(currentName_) << ' ' << sel_getName(selector) << '\n';
    return false;
  }

  bool error(const std::string& message) {
    std::cerr << "bulletin-board-host: " << platform::visibleText(message) << '\n';
    return false;
  }

  std::map<std::string, id> records_;
  std::string currentName_;
  id current_ = nil;
};

int runCommands(const std::vector<std::string>& commands) {
  // Strings read for printing are autoreleased; one pool covers the run.
  id pool = objcxx::send<id>(objcxx::send<id>(reinterpret_cast<id>(objc_getClass("NSAutoreleasePool")), sel("alloc")), sel("init"));
  int status = 0;
  {
    Host host;
    auto runOne = [&](std::string_view line) {
      if (!host.run(line)) status = 1;
      return status == 0;
    };
    if (!commands.empty()) {
      for (const auto& command : commands)
        if (!runOne(command)) break;
    } else {
      for (std::string line; std::getline(std::cin, line);) {
        if (!line.empty() && line.back() == '\r') line.pop_back();
        if (line.empty()) continue;
        if (!runOne(line)) break;
      }
    }
    std::cout.flush();
  }
  objcxx::send<void>(pool, sel("drain"));
  return status;
}

}  // namespace
}  // namespace bulletinboard

int main(int argc, char** argv) {
  CLI::App app("The device process that owns the bulletin-board section records: it sets and\n"
               "reads their widget bundle paths through message sends, as a device's host does.",
               "bulletin-board-host");
  app.get_formatter()->column_width(22);
  app.set_help_flag("-h,--help", "print this help and exit");
  app.set_version_flag("--version", "bulletin-board-host " BULLETIN_BOARD_HOST_VERSION, "print the version and exit");
  app.footer(
      "Commands: one per argument, else one a line of a non-terminal standard input.\n"
      "  use CLASS    make CLASS's record current\n"
      "  set PATH     send setPathToWeeAppPluginBundle: (PATH nil for nil)\n"
      "  store PATH   put PATH into the record without a message\n"
      "  get          send pathToWeeAppPluginBundle\n"
      "  methods      tell where the class's two methods come from\n"
      "Exit status: 0, 1 when a command failed, 2 for a usage error.\n"
      "See bulletin-board-host(1).");
  // The class options shape the classes as the program loads
  // (SectionClasses.h); here they are only accepted.
  bool shapeFlag = false;
  app.add_flag("--inherit", shapeFlag, "BBSectionInfo inherits both methods from its superclass");
  app.add_flag("--no-section-class", shapeFlag, "no BBSectionInfo class is registered");
  app.add_flag("--getter-only", shapeFlag, "the classes answer pathToWeeAppPluginBundle only");
  app.add_flag("--setter-only", shapeFlag, "the classes answer setPathToWeeAppPluginBundle: only");
  std::vector<std::string> commands;
  app.add_option("COMMAND", commands, "a command: 'set /Library/WeeAppPlugins/Velloria.bundle'")->type_name("");
  try {
    app.parse(argc, argv);
  } catch (const CLI::ParseError& error) {
    if (error.get_exit_code() == 0) return app.exit(error, std::cout, std::cerr);
    std::string message = error.what();
    if (!message.empty()) message[0] = static_cast<char>(std::tolower(static_cast<unsigned char>(message[0])));
    std::cerr << "bulletin-board-host: " << platform::visibleText(message) << " (try --help)\n";
    return 2;
  }
  if (commands.empty() && platform::isTerminal(platform::StandardStream::Input)) {
    std::cerr << "usage: bulletin-board-host [CLASS OPTIONS] COMMAND... (try --help)\n";
    return 2;
  }
  return bulletinboard::runCommands(commands);
}
