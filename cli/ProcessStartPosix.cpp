// What tramis-cli takes from a POSIX system: argv as it is, /proc/self/exe, the locale.
#include "ProcessStart.h"

#include <clocale>

namespace cli {

std::vector<std::string> commandLineArguments(int argc, char** argv) {
  return std::vector<std::string>(argv + 1, argv + argc);
}

std::string executablePath() { return "/proc/self/exe"; }

void setUpProcess() { std::setlocale(LC_ALL, ""); }

}  // namespace cli
