// One line of a point file in a known format, taken apart: blank (or not a point line,
// such as a header), a point, or a bad line with the two texts its message shows. The
// whole-file reader and block-wise readers in worker threads use it alike, one parser per
// thread; the coordinate list goes through parseCoordinateLine unchanged.
#pragma once

#include "FieldSplitter.h"
#include "PointFileFormat.h"

#include <CoordinateLine.h>

#include <limits>
#include <string_view>

namespace pointfiles {

struct PointLine {
  LineKind kind = LineKind::Blank;
  std::string_view name;  // NamedPoint only (may be empty when the name field is)
  double rw = 0.0;
  double hw = 0.0;
  double height = std::numeric_limits<double>::quiet_NaN();  // NaN: none
  std::string_view code;
  // A coordinate was written with a decimal comma (delimited formats; the coordinate list
  // leaves it false).
  bool decimalComma = false;
  // Bad only: the two texts the bad-line message shows.
  std::string_view firstShown;
  std::string_view secondShown;
};

// A coordinate or height from a field: as a token of the coordinate list (toCoordinate),
// and an empty field is none.
inline bool fieldValue(std::string_view field, double& value) {
  return !field.empty() && toCoordinate(field, value);
}

class PointLineParser {
public:
  explicit PointLineParser(PointFileFormat format);

  // Parses one line without its line end. `lineNumber` is its number in the file (from 1),
  // or 0 where that is not known: then it is taken to lie after the header. Line 1 may begin
  // with a UTF-8 byte-order mark. The views point into `line` or into this parser and stay
  // valid until the next call.
  PointLine parse(std::string_view line, long long lineNumber);

  const PointFileFormat& format() const { return format_; }
  bool hasHeights() const { return heightField_ >= 0; }
  bool hasCodes() const { return codeField_ >= 0; }

private:
  // The fields of the line just split.
  PointLine parseByColumns();
  PointLine parseByFieldCount();
  // Whether a value field is written as a chosen decimal mark allows (always, unless chosen).
  bool hasChosenMark(std::string_view value) const;

  PointFileFormat format_;
  FieldSplitter splitter_;
  // Field index of each column, -1 when the format has none.
  int nameField_ = -1;
  int rwField_ = -1;
  int hwField_ = -1;
  int heightField_ = -1;
  int codeField_ = -1;
};

}  // namespace pointfiles
