// What tramis-cli takes from the system it runs on, one implementation per system: the
// command line as UTF-8 texts, the path of its own executable, and a console that shows
// UTF-8 output.
#pragma once

#include <string>
#include <vector>

namespace cli {

// The arguments after the program name. On Windows they come from the wide command line,
// so names outside the console's code page arrive intact, as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// The path of the running executable, for reading its version record.
std::string executablePath();

// Makes the console show the program's UTF-8 output (Windows); nothing elsewhere.
void useUtf8Console();

}  // namespace cli
