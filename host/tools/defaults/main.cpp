// defaults: reads and writes the preference domains of the device, as the
// platform's own tool of that name does.
//
//   defaults domains | read DOMAIN [KEY] | write DOMAIN KEY VALUE... |
//            delete DOMAIN [KEY] | export DOMAIN FILE|- | import DOMAIN FILE|-
//
// CLI11 takes the verbs as subcommands, with --help and --version. The value
// of `write` is handed over untouched (CLI11's prefix command), because its
// type flags are single-dash words that may be followed by values that begin
// with a dash themselves (-int -5), which no option parser reads as meant.
// Exit status: 0 done, 1 the work failed (message on standard error), 2 a
// usage error.
#include <iostream>

#include "CommandLine.h"
#include "Verbs.h"
#include "WriteValue.h"

namespace {

constexpr const char* kPlaces = R"(The domains are the property lists in /var/mobile/Library/Preferences under the
device root ($DEVICE_ROOT, else /). FILE is a path on this machine; - is standard
input or output.
)";

constexpr const char* kValues = R"(VALUE (after DOMAIN KEY) is one of:
  TEXT                        a string; '(a, b)', '{k = v;}', '<0fa1>' and '"x"' are
                              read as old-style property-list text
  -string S   -int[eger] N   -float F   -bool[ean] YES|NO|true|false|1|0
  -date YYYY-MM-DDTHH:MM:SSZ   -data HEX
  -array ITEM...   -array-add ITEM...   (ITEM: TEXT or a typed value: -int 3)
  -dict KEY ITEM...   -dict-add KEY ITEM...
)";

constexpr const char* kExamples = R"(Examples:
  defaults read com.quietharbor.velloria
  defaults write com.quietharbor.velloria viewType -int 1
  defaults write com.quietharbor.velloria showLunar -bool NO
)";

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Read and write the preference domains of the device.", "defaults"};
  app.require_subcommand(0, 1);

  auto* domains = app.add_subcommand("domains", "list the domains that hold keys");

  std::string domain, key, file;
  auto* read = app.add_subcommand("read", "print a domain, or the value of one key");
  read->add_option("DOMAIN", domain, "the domain")->required();
  auto* readKey = read->add_option("KEY", key, "the key");

  auto* write = app.add_subcommand("write", "write a key: defaults write DOMAIN KEY VALUE");
  write->prefix_command();

  auto* remove = app.add_subcommand("delete", "delete a key, or every key of a domain");
  remove->add_option("DOMAIN", domain, "the domain")->required();
  auto* removeKey = remove->add_option("KEY", key, "the key");

  auto* exporting = app.add_subcommand("export", "save a domain: a binary property list in FILE, XML for -");
  exporting->add_option("DOMAIN", domain, "the domain")->required();
  exporting->add_option("FILE", file, "the file, or - for standard output")->required();

  auto* importing = app.add_subcommand("import", "replace a domain by the dictionary in a property list");
  importing->add_option("DOMAIN", domain, "the domain")->required();
  importing->add_option("FILE", file, "the file (XML, binary or text), or - for standard input")->required();

  // Set last: subcommands take their parent's footer when they are added.
  app.footer(std::string(kPlaces) + "\n" + kValues + "\n" + kExamples);
  write->footer(kValues);

  if (auto status = plist_tools::parseArguments(app, "defaults", {argv + 1, argv + argc})) return *status;

  if (app.get_subcommands().empty()) {
    std::cerr << app.help();
    return plist_tools::kExitUsage;
  }
  try {
    if (*domains) {
      defaults_tool::listDomains();
    } else if (*read) {
      defaults_tool::readDomain(domain, readKey->count() ? std::optional(key) : std::nullopt);
    } else if (*write) {
      std::vector<std::string> args = write->remaining();
      if (args.size() < 2) {
        std::cerr << "usage: defaults write DOMAIN KEY VALUE (defaults --help shows the values)\n";
        return plist_tools::kExitUsage;
      }
      auto value = defaults_tool::parseWriteValue(std::vector<std::string>(args.begin() + 2, args.end()));
      defaults_tool::writeKey(args[0], args[1], value);
    } else if (*remove) {
      defaults_tool::deleteKeys(domain, removeKey->count() ? std::optional(key) : std::nullopt);
    } else if (*exporting) {
      defaults_tool::exportDomain(domain, file);
    } else if (*importing) {
      defaults_tool::importDomain(domain, file);
    }
  } catch (const std::exception& e) {
    std::cout.flush();
    std::cerr << e.what() << '\n';
    return plist_tools::kExitFailure;
  }
  return 0;
}
