// Runs a program in a process of its own, with extra environment variables,
// and collects its exit status, standard output and standard error.
#pragma once

#include <map>
#include <string>
#include <vector>

namespace sectionpatch_test {

struct ChildResult {
  int status = -1;  // exit status, or -1 when it did not exit normally
  std::string out;
  std::string err;
  std::vector<std::string> outLines() const;
};

// argv[0] is the program's path. Variables in env replace or add to this
// process's environment; an empty value removes the variable.
ChildResult runChild(const std::vector<std::string>& argv, const std::map<std::string, std::string>& env,
                     const std::string& input = "");

}  // namespace sectionpatch_test
