// Runs python3's csv module on a file and collects its rows.
#include "PythonCsv.h"

#include <cstdio>

namespace testsupport {

std::vector<std::vector<std::string>> csvRowsByPython(const std::string& path, char separator) {
  // The fields of a row go back joined by a unit separator, the rows one per line.
  const std::string command =
      std::string(
          "python3 -c 'import csv, sys\n"
          "with open(sys.argv[1], newline=\"\", encoding=\"utf-8\") as f:\n"
          "    for row in csv.reader(f, delimiter=sys.argv[2], strict=True):\n"
          "        print(\"\\x1f\".join(row))' ") +
      path + " '" + separator + "'";
  std::FILE* pipe = ::popen(command.c_str(), "r");
  if (!pipe) return {};
  std::string output;
  char buffer[4096];
  for (std::size_t got; (got = std::fread(buffer, 1, sizeof buffer, pipe)) > 0;)
    output.append(buffer, got);
  if (::pclose(pipe) != 0) return {};
  std::vector<std::vector<std::string>> rows;
  std::size_t at = 0;
  for (std::size_t end; (end = output.find('\n', at)) != std::string::npos; at = end + 1) {
    std::vector<std::string>& row = rows.emplace_back();
    const std::string line = output.substr(at, end - at);
    for (std::size_t from = 0;;) {
      const std::size_t cut = line.find('\x1f', from);
      row.push_back(line.substr(from, cut - from));
      if (cut == std::string::npos) break;
      from = cut + 1;
    }
  }
  return rows;
}

}  // namespace testsupport
