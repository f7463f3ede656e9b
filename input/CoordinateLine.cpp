// Splitting text into lines, lines into tokens, and converting the coordinate tokens with
// kel::StrToDouble.
#include "CoordinateLine.h"

#include <Kelstring.h>

#include "TextConversions.h"

#include <array>
#include <cmath>
#include <cstring>

namespace {

// Splits `text` into at most three tokens; returns how many were found.
int splitTokens(std::string_view text, std::string_view (&tokens)[3]) {
  int count = 0;
  const char* at = text.data();
  const char* const end = at + text.size();
  while (count < 3) {
    while (at != end && isTokenSeparator(*at)) ++at;
    if (at == end) break;
    const char* const start = at;
    while (at != end && !isTokenSeparator(*at)) ++at;
    tokens[count++] = std::string_view(start, static_cast<std::size_t>(at - start));
  }
  return count;
}

}  // namespace

bool toCoordinate(std::string_view token, double& value) {
  return kel::StrToDouble(token, value) && std::isfinite(value);
}

LineEnd findLineEnd(std::string_view text) {
  const char* const begin = text.data();
  const std::size_t size = text.size();
  const auto* feed = static_cast<const char*>(std::memchr(begin, '\n', size));
  const std::size_t before = feed ? static_cast<std::size_t>(feed - begin) : size;
  const auto* carriageReturn = static_cast<const char*>(std::memchr(begin, '\r', before));
  if (carriageReturn) {
    const auto at = static_cast<std::size_t>(carriageReturn - begin);
    return {at, at + 1 < size && text[at + 1] == '\n' ? std::size_t{2} : std::size_t{1}};
  }
  return {before, feed ? std::size_t{1} : std::size_t{0}};
}

CoordinateLine parseCoordinateLine(std::string_view line, bool firstLineOfFile) {
  if (firstLineOfFile) line = withoutByteOrderMark(line);
  CoordinateLine parsed;
  const std::string_view text = toolkit::Trim(line);
  if (text.empty()) return parsed;

  std::string_view tokens[3];
  const int count = splitTokens(text, tokens);
  if (count == 3) {
    if (toCoordinate(tokens[1], parsed.rw) && toCoordinate(tokens[2], parsed.hw)) {
      parsed.kind = LineKind::NamedPoint;
      parsed.name = tokens[0];
      return parsed;
    }
    parsed.kind = LineKind::Bad;
    parsed.firstShown = tokens[1];
    parsed.secondShown = tokens[2];
    return parsed;
  }
  if (count == 2 && toCoordinate(tokens[0], parsed.rw) && toCoordinate(tokens[1], parsed.hw)) {
    parsed.kind = LineKind::UnnamedPoint;
    return parsed;
  }
  parsed.kind = LineKind::Bad;
  parsed.firstShown = tokens[0];
  parsed.secondShown = tokens[1];
  return parsed;
}

CoordinateLine parseCutLine(std::string_view start, bool firstLineOfFile) {
  std::string_view tokens[3];
  splitTokens(firstLineOfFile ? withoutByteOrderMark(start) : start, tokens);
  CoordinateLine parsed;
  parsed.kind = LineKind::Bad;
  parsed.firstShown = tokens[0];
  parsed.secondShown = kCutLineNote;
  return parsed;
}
