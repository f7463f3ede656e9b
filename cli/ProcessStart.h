// What tramis-cli takes from the system it runs on, one implementation per system: the
// command line as UTF-8 texts, the path of its own executable, and the process set-up
// for the protocol (locale, console).
#pragma once

#include <string>
#include <vector>

namespace cli {

// The arguments after the program name. On Windows they come from the wide command line,
// so names outside the console's code page arrive intact, as UTF-8.
std::vector<std::string> commandLineArguments(int argc, char** argv);

// The path of the running executable, for reading its version record.
std::string executablePath();

// Sets the process up for the protocol: on POSIX systems the locale of the user's
// regional settings (it gives the decimal separator); on Windows a console that shows
// UTF-8, while the C library keeps its "C" locale (the separator is read from the
// regional settings directly, and MinGW's long double conversion would follow the locale).
void setUpProcess();

}  // namespace cli
