// Fields between separators, with CSV's quoting.
#include "FieldSplitter.h"

#include "CoordinateLine.h"
#include "TextConversions.h"

namespace pointfiles {

namespace {

// Blank or control character around a field (codes 0 to 32, as Trim takes them), except the
// separator itself.
bool isPadding(char c, char separator) {
  return c != separator && static_cast<unsigned char>(c) <= 32;
}

}  // namespace

bool FieldSplitter::split(std::string_view line, Separator separator) {
  fields_.clear();
  unquoted_.clear();
  // Unquoting never makes a text longer, so the views into this storage stay valid.
  if (line.find('"') != std::string_view::npos && unquoted_.capacity() < line.size())
    unquoted_.reserve(line.size());
  if (separator == Separator::Blanks) return splitAtBlanks(toolkit::Trim(line));
  return splitAtCharacter(line, separatorChar(separator));
}

bool FieldSplitter::takeQuoted(std::string_view line, std::size_t& at) {
  const std::size_t start = at + 1;
  bool doubled = false;
  std::size_t end = start;
  for (;; ++end) {
    end = line.find('"', end);
    if (end == std::string_view::npos) return false;
    if (end + 1 < line.size() && line[end + 1] == '"') {
      doubled = true;
      ++end;
      continue;
    }
    break;
  }
  const std::string_view inside = line.substr(start, end - start);
  if (!doubled) {
    fields_.push_back(inside);
  } else {
    const std::size_t from = unquoted_.size();
    for (std::size_t i = 0; i < inside.size(); ++i) {
      unquoted_ += inside[i];
      if (inside[i] == '"') ++i;  // the second quote of a pair
    }
    fields_.push_back(std::string_view(unquoted_).substr(from));
  }
  at = end + 1;
  return true;
}

bool FieldSplitter::splitAtCharacter(std::string_view line, char separator) {
  std::size_t at = 0;
  for (;;) {
    while (at < line.size() && isPadding(line[at], separator)) ++at;
    if (at < line.size() && line[at] == '"') {
      if (!takeQuoted(line, at)) return false;
      while (at < line.size() && isPadding(line[at], separator)) ++at;
      if (at < line.size() && line[at] != separator) return false;
    } else {
      std::size_t end = line.find(separator, at);
      if (end == std::string_view::npos) end = line.size();
      std::size_t last = end;
      while (last > at && isPadding(line[last - 1], separator)) --last;
      fields_.push_back(line.substr(at, last - at));
      at = end;
    }
    if (at >= line.size()) return true;
    ++at;  // past the separator; a separator at the end leaves one more, empty field
    if (at == line.size()) {
      fields_.emplace_back();
      return true;
    }
  }
}

bool FieldSplitter::splitAtBlanks(std::string_view line) {
  std::size_t at = 0;
  for (;;) {
    while (at < line.size() && isTokenSeparator(line[at])) ++at;
    if (at == line.size()) return true;
    if (line[at] == '"') {
      if (!takeQuoted(line, at)) return false;
      if (at < line.size() && !isTokenSeparator(line[at])) return false;
    } else {
      const std::size_t start = at;
      while (at < line.size() && !isTokenSeparator(line[at])) ++at;
      fields_.push_back(line.substr(start, at - start));
    }
  }
}

}  // namespace pointfiles
