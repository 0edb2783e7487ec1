// What plutil does with the files named on its command line. Files are host
// paths taken as given (plutil is a file tool; no device root applies), or
// "-" for standard input. Each mode returns the exit status: 0 when every
// file was done, 1 when any was not (the others are still done).
#pragma once

#include <string>
#include <vector>

namespace plutil_tool {

// Prints "FILE: OK" or "FILE: what is wrong" for each file.
int lint(const std::vector<std::string>& files);

// Prints the property list in a file for people.
int print(const std::string& file);

// Rewrites each file in the format ("xml1" or "binary1"), atomically, in
// place or into `output` ("-": standard output) when it is not empty.
int convert(const std::vector<std::string>& files, const std::string& format, const std::string& output);

}  // namespace plutil_tool
