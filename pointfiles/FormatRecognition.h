// Deciding once, from the start of a file, how all its lines are read.
//
// The rule keeps every file that the coordinate list reads as it was read before (same
// points, same bad lines, same line numbers) unless the file plainly is something else.
// Let L be the file's first non-blank line:
//  1. If the coordinate list reads L as a point, the file is a coordinate list.
//  2. QGIS .points: L is "#CRS: ..." and the next non-blank line is a QGIS header, or L is
//     a QGIS header: "mapX,mapY,sourceX,sourceY,..." (older QGIS: pixelX, pixelY; fields
//     between commas, or tabs in the oldest files).
//  3. A header line: L has at least two fields, every one a column name (columnNamed),
//     none twice, RW and HW among them; empty fields at its end do not count. Its
//     separator is the first of ';', tab, ',' and blanks that L contains and under which
//     this holds. (',' is recognised only here: elsewhere it is a decimal mark.)
//  4. ';' without header: L contains ';' and, split at ';', is a point: "name;rw;hw" or
//     "rw;hw", further fields ignored, each line by its own field count.
//  5. Otherwise the file is a coordinate list, and L is a bad line as it always was.
// Cases 2 and 3 hold only when the next non-blank line after the header is a point in that
// layout: a title line followed by anything else stays a bad line of a coordinate list.
// L is never a point and a header at once (a header's fields are words), so the order of
// 1 and 3 changes nothing.
//
// The start is what the reader has at hand before the first line is parsed (its first
// block, whole lines of at least a megabyte); a file whose first non-blank lines lie
// beyond it is a coordinate list.
#pragma once

#include "PointFileFormat.h"

#include <optional>
#include <string_view>
#include <vector>

namespace pointfiles {

// What the user chose instead of the recognition (import dialog, tramis-cli --columns,
// --delimiter). With columns or a separator chosen the file is delimited; whatever is not
// chosen comes from the file's start:
//  - the separator: that of a recognised header line, else ';' when L contains one, else
//    tab when L contains one, else blanks;
//  - the columns: those of a recognised header line, else by each line's field count;
//  - the header line: L when it is a recognised header line;
//  - the decimal mark: either, as the coordinate list reads; once chosen, a value with the
//    other mark is a bad line.
struct FormatRequest {
  bool asCoordinateList = false;  // read as the coordinate list, whatever the file holds
  std::optional<std::vector<Column>> columns;
  std::optional<Separator> separator;
  std::optional<bool> header;  // whether L names the columns (and holds no point)
  std::optional<DecimalMark> decimalMark;
  // Which system a QGIS .points file gives when it is read as one point list.
  ControlPairSide side = ControlPairSide::Source;
};

// The format of a file that begins with `start` (its bytes as the reader hands them out:
// UTF-8, whole lines, line ends LF, CR LF or CR).
PointFileFormat choosePointFileFormat(std::string_view start, const FormatRequest& request = {});

// A header line as rule 3 knows it.
struct HeaderLine {
  Separator separator = Separator::Blanks;
  std::vector<Column> columns;
};
// Whether `line` is a header line (rule 3), with only `separator` tried when one is given.
std::optional<HeaderLine> recogniseHeaderLine(std::string_view line,
                                              std::optional<Separator> separator = {});

// Whether `line` is a QGIS header (rule 2); gives its separator and number of fields.
struct QgisHeader {
  Separator separator = Separator::Comma;
  std::size_t fieldCount = 0;
};
std::optional<QgisHeader> recogniseQgisHeader(std::string_view line);

// Whether `line` is the "#CRS: <WKT>" line QGIS writes before its header.
bool isQgisCrsLine(std::string_view line);

}  // namespace pointfiles
