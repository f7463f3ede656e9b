// One line of a coordinate file, taken apart: blank, a point (with or without a name) or a
// line that holds no point. The window's reader and tramis-cli's streaming --apply both read
// lines with this, so both accept and refuse exactly the same lines.
#pragma once

#include <array>
#include <cstddef>
#include <string_view>

// The longest line (without its line end) that a coordinate file may hold; a longer one is
// a bad line. Far beyond any name and two coordinates, far below what memory allows.
inline constexpr std::size_t kMaxLineBytes = std::size_t{1} << 20;
// How many bytes of a longer line the reader keeps: enough to show where it starts.
inline constexpr std::size_t kCutLineKeptBytes = 32;
// Shown after the start of a longer line in place of its second value.
inline constexpr std::string_view kCutLineNote = "… (Zeile länger als 1 MiB)";
static_assert(kMaxLineBytes == 1 << 20, "kCutLineNote names the bound");

enum class LineKind { Blank, NamedPoint, UnnamedPoint, Bad };

// What a line holds. The views point into the line that was parsed.
struct CoordinateLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;  // NamedPoint only
  double rw = 0.0;        // both kinds of point
  double hw = 0.0;
  // Bad only: the two tokens the bad-line message shows (the value tokens of a named line).
  std::string_view firstShown;
  std::string_view secondShown;
};

// `line` without the UTF-8 byte-order mark that may begin a file's first line.
inline std::string_view withoutByteOrderMark(std::string_view line) {
  constexpr std::string_view kUtf8ByteOrderMark = "\xEF\xBB\xBF";
  return line.substr(0, kUtf8ByteOrderMark.size()) == kUtf8ByteOrderMark
             ? line.substr(kUtf8ByteOrderMark.size())
             : line;
}

// White space between tokens, as the C library's formatted scan knows it: blank, and tab,
// LF, VT, FF and CR (the codes 9 to 13). A table, as every byte of a file passes here.
inline constexpr std::array<bool, 256> kTokenSeparators = [] {
  std::array<bool, 256> separators{};
  separators[' '] = true;
  for (int c = '\t'; c <= '\r'; ++c) separators[static_cast<std::size_t>(c)] = true;
  return separators;
}();
inline bool isTokenSeparator(char c) { return kTokenSeparators[static_cast<unsigned char>(c)]; }

// Converts one coordinate token: it must be a number as a whole (kel::StrToDouble, decimal
// comma or point), and a finite one. (The empty text would give 0; tokens are never empty.)
bool toCoordinate(std::string_view token, double& value);

// Parses one line without its line end. "name rw hw" or "rw hw", separated by blanks or
// tabs; further tokens are ignored; a decimal comma or point is accepted; a coordinate must
// be a finite number as a whole. `firstLineOfFile`: a UTF-8 byte-order mark is skipped.
CoordinateLine parseCoordinateLine(std::string_view line, bool firstLineOfFile);

// A line that was longer than kMaxLineBytes, of which `start` is what the reader kept: a bad
// line, shown by its first token and kCutLineNote.
CoordinateLine parseCutLine(std::string_view start, bool firstLineOfFile);

// Calls `onLine(line)` for every line of `text`, without its line end, in order. Lines end
// at LF, CR LF or a lone CR; a last line without line end counts when it is not empty.
// `onLine` returns false to stop; forEachLine then returns false.
template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine);

// Where the line that starts at `text` ends: the offset of its line end (or of the end of
// `text`), and how many bytes the line end takes (0, 1 or 2).
struct LineEnd {
  std::size_t at;
  std::size_t length;
};
LineEnd findLineEnd(std::string_view text);

template <typename OnLine>
bool forEachLine(std::string_view text, OnLine&& onLine) {
  while (!text.empty()) {
    const LineEnd end = findLineEnd(text);
    if (!onLine(text.substr(0, end.at))) return false;
    text.remove_prefix(end.at + end.length);
  }
  return true;
}
