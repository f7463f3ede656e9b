// Reads coordinate files in large blocks, splits them into lines and lines into tokens,
// and converts the coordinate tokens with kel::StrToDouble.
#include "CoordinateReader.h"

#include <Kelstring.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <fcntl.h>
#include <string_view>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";

bool isTrimmed(char c) { return static_cast<unsigned char>(c) <= 32; }

// White space between tokens, as the C library's formatted scan knows it.
bool isTokenSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
}

std::string_view trimmed(std::string_view line) {
  std::size_t first = 0;
  std::size_t last = line.size();
  while (first < last && isTrimmed(line[first])) ++first;
  while (last > first && isTrimmed(line[last - 1])) --last;
  return line.substr(first, last - first);
}

// Splits `text` into at most three tokens; returns how many were found.
int splitTokens(std::string_view text, std::string_view (&tokens)[3]) {
  int count = 0;
  std::size_t at = 0;
  while (count < 3) {
    while (at < text.size() && isTokenSeparator(text[at])) ++at;
    if (at == text.size()) break;
    const std::size_t start = at;
    while (at < text.size() && !isTokenSeparator(text[at])) ++at;
    tokens[count++] = text.substr(start, at - start);
  }
  return count;
}

// A coordinate must be a number as a whole, and a finite one.
bool toCoordinate(std::string_view token, double& value) {
  return kel::StrToDouble(std::string(token), value) && std::isfinite(value);
}

// Turns lines into points and keeps the line count.
class LineParser {
public:
  LineParser(PointList& points, const BadLineHandler& onBadLine)
      : points_(points), onBadLine_(onBadLine) {}

  // Processes one line without its line end; false when the user stops reading.
  bool parse(std::string_view line) {
    ++lineNumber_;
    if (lineNumber_ == 1 && line.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
      line.remove_prefix(kUtf8ByteOrderMark.size());
    const std::string_view text = trimmed(line);
    if (text.empty()) return true;

    std::string_view tokens[3];
    const int count = splitTokens(text, tokens);
    double first = 0.0;
    double second = 0.0;
    if (count == 3) {
      if (toCoordinate(tokens[1], first) && toCoordinate(tokens[2], second)) {
        appendNamed(tokens[0], first, second);
        return true;
      }
      return reportBadLine(tokens[1], tokens[2]);
    }
    if (count == 2 && toCoordinate(tokens[0], first) && toCoordinate(tokens[1], second)) {
      appendUnnamed(first, second);
      return true;
    }
    return reportBadLine(tokens[0], tokens[1]);
  }

private:
  // Once a point carries a name, every point has a name entry (empty for unnamed ones),
  // so that names stay aligned with the coordinates.
  void appendNamed(std::string_view name, double rw, double hw) {
    if (points_.names.size() < points_.rw.size()) points_.names.resize(points_.rw.size());
    points_.names.emplace_back(name);
    points_.rw.push_back(rw);
    points_.hw.push_back(hw);
  }

  void appendUnnamed(double rw, double hw) {
    if (!points_.names.empty()) points_.names.emplace_back();
    points_.rw.push_back(rw);
    points_.hw.push_back(hw);
  }

  bool reportBadLine(std::string_view first, std::string_view second) {
    BadLine bad;
    bad.lineNumber = lineNumber_;
    bad.firstShown = first;
    bad.secondShown = second;
    return onBadLine_(bad) == BadLineAnswer::Continue;
  }

  PointList& points_;
  const BadLineHandler& onBadLine_;
  long long lineNumber_ = 0;
};

// Opens for reading without blocking on a FIFO that has no writer; refuses directories.
std::FILE* openForReading(const std::string& path) {
  const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC);
  if (fd < 0) return nullptr;
  struct stat info {};
  if (::fstat(fd, &info) != 0 || S_ISDIR(info.st_mode)) {
    ::close(fd);
    return nullptr;
  }
  const int flags = ::fcntl(fd, F_GETFL);
  if (flags >= 0) ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK);
  std::FILE* file = ::fdopen(fd, "rb");
  if (!file) ::close(fd);
  return file;
}

}  // namespace

std::FILE* openCoordinateFile(const std::string& path) { return openForReading(path); }

ReadStatus readCoordinateStream(std::FILE* file, PointList& points,
                                const BadLineHandler& onBadLine) {
  points.clear();
  LineParser parser(points, onBadLine);
  std::vector<char> block(kBlockSize);
  std::string pending;          // the start of a line that continues in the next block
  bool skipLineFeed = false;    // the previous block ended with CR; a LF after it is its pair

  for (;;) {
    const std::size_t got = std::fread(block.data(), 1, block.size(), file);
    if (got == 0) {
      if (std::ferror(file)) return ReadStatus::ReadFailed;
      break;
    }
    const char* at = block.data();
    const char* const end = at + got;
    if (skipLineFeed && *at == '\n') ++at;
    skipLineFeed = false;

    while (at < end) {
      const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', end - at));
      const char* carriageReturn =
          static_cast<const char*>(std::memchr(at, '\r', (lineEnd ? lineEnd : end) - at));
      if (carriageReturn) lineEnd = carriageReturn;
      if (!lineEnd) {
        pending.append(at, end);
        break;
      }
      std::string_view line(at, lineEnd - at);
      if (!pending.empty()) {
        pending.append(at, lineEnd);
        line = pending;
      }
      at = lineEnd + 1;
      if (*lineEnd == '\r') {
        if (at < end && *at == '\n') ++at;
        else if (at == end) skipLineFeed = true;
      }
      if (!parser.parse(line)) return ReadStatus::StoppedByUser;
      pending.clear();
    }
  }
  if (!pending.empty() && !parser.parse(pending)) return ReadStatus::StoppedByUser;
  return ReadStatus::Complete;
}

ReadStatus readCoordinateFile(const std::string& path, PointList& points,
                              const BadLineHandler& onBadLine) {
  std::FILE* file = openCoordinateFile(path);
  if (!file) return ReadStatus::OpenFailed;
  const ReadStatus status = readCoordinateStream(file, points, onBadLine);
  std::fclose(file);
  return status;
}
