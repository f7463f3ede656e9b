// What tramis-cli takes from a POSIX system: argv as it is, /proc/self/exe.
#include "ProcessStart.h"

namespace cli {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::string executablePath() { return "/proc/self/exe"; }

void useUtf8Console() {}

}  // namespace cli
