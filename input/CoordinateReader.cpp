// Reads coordinate files in large blocks, splits them into lines and lines into tokens,
// and converts the coordinate tokens with kel::StrToDouble.
#include "CoordinateReader.h"

#include <Kelstring.h>

#include "FileOpening.h"
#include "TextConversions.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <string_view>
#include <sys/stat.h>
#include <algorithm>
#include <memory>
#include <optional>

namespace {

constexpr std::size_t kBlockSize = 1 << 20;
constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";


// White space between tokens, as the C library's formatted scan knows it.
bool isTokenSeparator(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\r' || c == '\v' || c == '\f';
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

  long long lineCount() const { return lineNumber_; }

  // Makes room for about `points` points at once, so that a large file does not make the
  // lists grow step by step (each step briefly holds the old and the new storage).
  void reserve(std::size_t points) {
    points_.rw.reserve(points);
    points_.hw.reserve(points);
    if (!points_.names.empty()) points_.names.reserve(points);
  }

  // Processes one line without its line end; false when the user stops reading.
  bool parse(std::string_view line) {
    ++lineNumber_;
    if (lineNumber_ == 1 && line.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark)
      line.remove_prefix(kUtf8ByteOrderMark.size());
    const std::string_view text = toolkit::Trim(line);
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

// Cuts a stream of bytes into lines at LF, CR LF or a lone CR and hands each line,
// without its line end, to the parser. A line may span any number of blocks.
class LineSplitter {
public:
  explicit LineSplitter(LineParser& parser) : parser_(parser) {}

  // False when the user stopped reading.
  bool feed(std::string_view bytes) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    if (skipLineFeed_ && at < end) {
      if (*at == '\n') ++at;
      skipLineFeed_ = false;
    }
    while (at < end) {
      const char* lineEnd = static_cast<const char*>(std::memchr(at, '\n', end - at));
      const char* carriageReturn =
          static_cast<const char*>(std::memchr(at, '\r', (lineEnd ? lineEnd : end) - at));
      if (carriageReturn) lineEnd = carriageReturn;
      if (!lineEnd) {
        pending_.append(at, end);
        break;
      }
      std::string_view line(at, lineEnd - at);
      if (!pending_.empty()) {
        pending_.append(at, lineEnd);
        line = pending_;
      }
      at = lineEnd + 1;
      if (*lineEnd == '\r') {
        if (at < end && *at == '\n') ++at;
        else if (at == end) skipLineFeed_ = true;
      }
      if (!parser_.parse(line)) return false;
      pending_.clear();
    }
    return true;
  }

  // Hands over a last line that has no line end.
  bool finish() { return pending_.empty() || parser_.parse(pending_); }

private:
  LineParser& parser_;
  std::string pending_;        // the start of a line that continues in the next block
  bool skipLineFeed_ = false;  // the last block ended with CR; a LF after it is its pair
};

// Turns UTF-16 text (as some editors save it) into UTF-8, block by block.
class Utf16Decoder {
public:
  // UTF-16 is recognised by its byte-order mark, or, without one, by a zero byte in
  // nearly every second position of the start of the file (Latin letters and digits).
  static std::optional<Utf16Decoder> detect(std::string_view start) {
    if (start.size() >= 2) {
      const auto b0 = static_cast<unsigned char>(start[0]);
      const auto b1 = static_cast<unsigned char>(start[1]);
      if (b0 == 0xFF && b1 == 0xFE) return Utf16Decoder(false, 2);
      if (b0 == 0xFE && b1 == 0xFF) return Utf16Decoder(true, 2);
    }
    const std::size_t sample = std::min<std::size_t>(start.size(), 512) & ~std::size_t{1};
    if (sample < 4) return std::nullopt;
    std::size_t zerosEven = 0;
    std::size_t zerosOdd = 0;
    for (std::size_t i = 0; i < sample; i += 2) {
      zerosEven += start[i] == '\0';
      zerosOdd += start[i + 1] == '\0';
    }
    const std::size_t units = sample / 2;
    // Nearly every high byte is zero, nearly no low byte is.
    auto mostly = [units](std::size_t zeros) { return zeros * 10 >= units * 9; };
    auto hardly = [units](std::size_t zeros) { return zeros * 10 <= units; };
    if (mostly(zerosOdd) && hardly(zerosEven)) return Utf16Decoder(false, 0);
    if (mostly(zerosEven) && hardly(zerosOdd)) return Utf16Decoder(true, 0);
    return std::nullopt;
  }

  std::size_t byteOrderMarkLength() const { return byteOrderMarkLength_; }

  // Appends the UTF-8 form of `bytes` to `out`; a unit or surrogate pair split between
  // two blocks is completed with the next block. Unpaired surrogates become U+FFFD.
  void decode(std::string_view bytes, std::string& out) {
    for (const char c : bytes) {
      if (!haveOddByte_) {
        oddByte_ = static_cast<unsigned char>(c);
        haveOddByte_ = true;
        continue;
      }
      haveOddByte_ = false;
      const auto second = static_cast<unsigned char>(c);
      const char16_t unit = bigEndian_ ? static_cast<char16_t>(oddByte_ << 8 | second)
                                       : static_cast<char16_t>(second << 8 | oddByte_);
      decodeUnit(unit, out);
    }
  }

private:
  Utf16Decoder(bool bigEndian, std::size_t byteOrderMarkLength)
      : bigEndian_(bigEndian), byteOrderMarkLength_(byteOrderMarkLength) {}

  void decodeUnit(char16_t unit, std::string& out) {
    if (highSurrogate_) {
      const char16_t high = highSurrogate_;
      highSurrogate_ = 0;
      if (unit >= 0xDC00 && unit <= 0xDFFF) {
        appendUtf8(0x10000 + ((static_cast<char32_t>(high) - 0xD800) << 10) + (unit - 0xDC00), out);
        return;
      }
      appendUtf8(0xFFFD, out);
    }
    if (unit >= 0xD800 && unit <= 0xDBFF) highSurrogate_ = unit;
    else if (unit >= 0xDC00 && unit <= 0xDFFF) appendUtf8(0xFFFD, out);
    else appendUtf8(unit, out);
  }

  static void appendUtf8(char32_t code, std::string& out) {
    if (code < 0x80) {
      out += static_cast<char>(code);
    } else if (code < 0x800) {
      out += static_cast<char>(0xC0 | code >> 6);
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else if (code < 0x10000) {
      out += static_cast<char>(0xE0 | code >> 12);
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    } else {
      out += static_cast<char>(0xF0 | code >> 18);
      out += static_cast<char>(0x80 | (code >> 12 & 0x3F));
      out += static_cast<char>(0x80 | (code >> 6 & 0x3F));
      out += static_cast<char>(0x80 | (code & 0x3F));
    }
  }

  bool bigEndian_;
  std::size_t byteOrderMarkLength_;
  bool haveOddByte_ = false;
  unsigned char oddByte_ = 0;
  char16_t highSurrogate_ = 0;
};

}  // namespace

std::FILE* openCoordinateFile(const std::string& path) { return input::openForReading(path); }

ReadStatus readCoordinateStream(std::FILE* file, PointList& points,
                                const BadLineHandler& onBadLine,
                                const toolkit::ProgressHandler& onProgress) {
  points.clear();
  LineParser parser(points, onBadLine);
  LineSplitter lines(parser);
  std::unique_ptr<char[]> block(new char[kBlockSize]);
  std::optional<Utf16Decoder> utf16;
  std::string decoded;
  bool first = true;
  struct stat info {};
  const double fileSize =
      ::fstat(::fileno(file), &info) == 0 && S_ISREG(info.st_mode) ? double(info.st_size) : 0.0;
  double bytesRead = 0;

  for (;;) {
    const std::size_t got = std::fread(block.get(), 1, kBlockSize, file);
    if (got == 0) {
      if (std::ferror(file)) return ReadStatus::ReadFailed;
      break;
    }
    bytesRead += static_cast<double>(got);
    if (onProgress && fileSize > 0) onProgress(bytesRead / fileSize);
    std::string_view bytes(block.get(), got);
    if (first) {
      first = false;
      if (const std::optional<Utf16Decoder> detected = Utf16Decoder::detect(bytes)) {
        utf16 = detected;
        bytes.remove_prefix(utf16->byteOrderMarkLength());
      }
    }
    if (utf16) {
      decoded.clear();
      utf16->decode(bytes, decoded);
      bytes = decoded;
    }
    if (!lines.feed(bytes)) return ReadStatus::StoppedByUser;
    if (bytesRead == static_cast<double>(got) && fileSize > bytesRead && parser.lineCount() > 0) {
      // Estimate the point count from the first block's line length.
      const double estimate = fileSize / bytesRead * static_cast<double>(parser.lineCount());
      parser.reserve(static_cast<std::size_t>(estimate * 1.02) + 16);
    }
  }
  return lines.finish() ? ReadStatus::Complete : ReadStatus::StoppedByUser;
}

ReadStatus readCoordinateFile(const std::string& path, PointList& points,
                              const BadLineHandler& onBadLine) {
  std::FILE* file = nullptr;
  const OpenCoordinateFile open(file, path);
  if (!open) return ReadStatus::OpenFailed;
  return readCoordinateStream(file, points, onBadLine);
}
