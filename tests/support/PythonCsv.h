// A CSV file as an independent reader reads it: python3's csv module, for the tests of the
// files the program writes as CSV.
#pragma once

#include <string>
#include <vector>

namespace testsupport {

// The rows of the CSV file at `path`, fields split at `separator`, as python3's csv module
// reads them (strict quoting, UTF-8); empty when python3 fails or refuses the file.
std::vector<std::vector<std::string>> csvRowsByPython(const std::string& path, char separator);

}  // namespace testsupport
