#pragma once

#include <string>
#include <vector>

namespace vemro::bench {

// Runs the program with the arguments and waits for it, its output thrown away; returns its
// exit status, or -1 when it could not be started or did not exit.
int runProcess(const std::string& program, const std::vector<std::string>& args);

}  // namespace vemro::bench
