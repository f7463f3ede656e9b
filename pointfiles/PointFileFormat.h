// How a point file is laid out: the program's own coordinate list, a delimited file (CSV,
// columns separated by blanks or tabs) or a QGIS georeferencer .points file; its separator,
// decimal mark, columns and header line. It is decided once from the start of a file (or
// from the user's choice, FormatRecognition.h) and then used for every line, also by
// parsers in worker threads (PointLineParser.h). `describe` gives the German one-line text
// that status bar, protocol and --json show, so that nothing is read by an unstated guess.
//
// Coordinate order: Rechtswert (RW, easting) is the first coordinate and Hochwert (HW,
// northing) the second, as everywhere in this program. In German surveying usage
// (Gauß-Krüger) "Y" names the Rechtswert and "X" the Hochwert, so a header "Y;X" means
// RW;HW.
#pragma once

#include <string>
#include <vector>

namespace pointfiles {

// What one field of a line holds.
enum class Column { Name, Rw, Hw, Height, Code, Skip };

enum class FileKind {
  CoordinateList,  // the program's own format: "[name] rw hw ...", tokens between blanks
  Delimited,       // fields between one kind of separator, columns named or chosen
  QgisPoints,      // QGIS georeferencer control points: mapX,mapY,sourceX,sourceY,enable,...
};

enum class Separator { Blanks, Semicolon, Comma, Tab };

enum class DecimalMark { Point, Comma };

// The coordinates of a QGIS .points file: the source coordinates (sourceX, sourceY; older
// QGIS: pixelX, pixelY) are those the transformation starts from, the old system here; the
// map coordinates (mapX, mapY) are its target, the new system. Each pair is rw (x) first.
enum class ControlPairSide {
  Source,  // the old system, read as one point list
  Map,     // the new system, read as one point list
  Both,    // both systems and the activity, read as control pairs
};

struct PointFileFormat {
  FileKind kind = FileKind::CoordinateList;
  Separator separator = Separator::Blanks;
  // As the first point line writes its coordinates. Reading accepts either mark in every
  // value, as the coordinate list always has (except that ',' cannot be a decimal mark
  // where it separates the fields).
  DecimalMark decimalMark = DecimalMark::Point;
  // The user chose the decimal mark (import dialog): a coordinate or height written with
  // the other mark is a bad line.
  bool decimalMarkChosen = false;
  // What each field holds, in file order. For the coordinate list and for `byFieldCount`
  // this is the layout of the first point line, for the text only.
  std::vector<Column> columns;
  // Every line decides by its own number of fields, as the coordinate list does: three or
  // more are name, rw, hw (further fields ignored), two are rw, hw.
  bool byFieldCount = false;
  // The line that names the columns (from 1), 0 when there is none. It and the lines before
  // it (blank ones, and a QGIS "#CRS:" line) hold no points. Where a header names the
  // columns, a line with further non-empty fields is a bad line: it does not match them.
  long long headerLine = 0;
  // QgisPoints only.
  ControlPairSide side = ControlPairSide::Source;
  bool crsLine = false;  // a "#CRS: <WKT>" line before the header

  bool operator==(const PointFileFormat&) const = default;
};

// The German one-line text, e.g. "CSV, Trennzeichen ';', Dezimalkomma, Spalten
// Punkt;RW;HW;H, Kopfzeile" ("nur Dezimalkomma" where the mark was chosen).
std::string describe(const PointFileFormat& format);

// The character between fields; ' ' for blanks (any run of blanks and tabs).
char separatorChar(Separator separator);

}  // namespace pointfiles
