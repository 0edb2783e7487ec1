// plutil: checks, prints and converts property-list files, as the platform's
// own tool of that name does.
//
//   plutil [-lint] FILE...  |  plutil -p FILE  |  plutil -convert xml1|binary1 FILE... [-o OUT]
//
// CLI11 parses the command line. That tool spells its long options with one
// dash (-lint, -convert), which CLI11 would read as bundles of one-letter
// flags, so those exact words are taken as --lint and --convert before it
// parses (words after "--" are left alone). Exit status: 0 done, 1 a file was
// bad or could not be written, 2 a usage error.
#include <iostream>

#include "CommandLine.h"
#include "Modes.h"

namespace {

// Arguments with the single-dash long options in their CLI11 spelling.
std::vector<std::string> withLongOptions(int argc, char** argv) {
  std::vector<std::string> args(argv + 1, argv + argc);
  for (std::string& arg : args) {
    if (arg == "--") break;
    if (arg == "-lint" || arg == "-convert" || arg == "-help") arg.insert(0, "-");
  }
  return args;
}

}  // namespace

int main(int argc, char** argv) {
  CLI::App app{"Check, print and convert property-list files (paths on this machine; - is standard input).",
               "plutil"};
  app.footer("The single-dash spellings -lint and -convert work too.\n"
             "Examples:\n"
             "  plutil -lint Info.plist\n"
             "  plutil -p device/System/Library/WeeAppPlugins/Velloria.bundle/velcfg.plist\n"
             "  plutil -convert binary1 settings.plist -o settings.bplist\n");
  bool lint = false, print = false;
  std::string format, output;
  std::vector<std::string> files;
  auto* lintFlag = app.add_flag("--lint", lint, "say for each FILE whether it is a property list (the default)");
  auto* printFlag = app.add_flag("-p", print, "print FILE for people");
  auto* convertOption = app.add_option("--convert", format, "rewrite each FILE atomically in FORMAT")
                            ->type_name("FORMAT")
                            ->check(CLI::IsMember({"xml1", "binary1"}));
  app.add_option("-o", output, "with --convert: write to OUT instead (- for standard output)")
      ->type_name("OUT")
      ->needs(convertOption);
  app.add_option("FILE", files, "property-list files")->required();
  lintFlag->excludes(printFlag)->excludes(convertOption);
  printFlag->excludes(convertOption);

  if (auto status = plist_tools::parseArguments(app, "plutil", withLongOptions(argc, argv))) return *status;
  if (print && files.size() != 1) {
    std::cerr << "plutil: -p prints one file\n";
    return plist_tools::kExitUsage;
  }
  if (!output.empty() && files.size() != 1) {
    std::cerr << "plutil: -o takes one FILE\n";
    return plist_tools::kExitUsage;
  }
  if (print) return plutil_tool::print(files.front());
  if (!format.empty()) return plutil_tool::convert(files, format, output);
  return plutil_tool::lint(files);
}
