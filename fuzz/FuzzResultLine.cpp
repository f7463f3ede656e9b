// Fuzz target for the result line: the first 16 input bytes are the bit patterns of the two
// coordinates (every double, NaN and infinities included), the rest is the point name.
// The line must be byte for byte what printf gives in the C locale.
#include "ResultFile.h"

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  if (size < 2 * sizeof(double)) return 0;
  double rw = 0;
  double hw = 0;
  std::memcpy(&rw, data, sizeof rw);
  std::memcpy(&hw, data + sizeof rw, sizeof hw);
  // printf's %s ends at a zero byte, so the name is compared up to the first one.
  const char* nameStart = reinterpret_cast<const char*>(data + 2 * sizeof(double));
  const std::string name(nameStart, strnlen(nameStart, size - 2 * sizeof(double)));

  std::string line = "prefix";  // appended to, never replaced
  output::appendResultLine(line, name, rw, hw);

  // The process never sets a locale, so printf works in the C locale here.
  std::vector<char> expected(name.size() + 128);
  const int length = std::snprintf(expected.data(), expected.size(), " %s\t %-15.11g\t %-15.11g",
                                   name.c_str(), rw, hw);
  if (length < 0 || static_cast<std::size_t>(length) >= expected.size()) std::abort();
  const std::string wanted = "prefix" + std::string(expected.data(), static_cast<std::size_t>(length));
  if (line != wanted) {
    std::fprintf(stderr, "result line differs from printf for %a %a\nours:   [%s]\nprintf: [%s]\n", rw,
                 hw, line.c_str(), wanted.c_str());
    std::abort();
  }
  return 0;
}
