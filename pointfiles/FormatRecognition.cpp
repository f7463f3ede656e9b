// The recognition rule of FormatRecognition.h, and the user's choice filled in from the
// file's start.
#include "FormatRecognition.h"

#include "ColumnNames.h"
#include "FieldSplitter.h"
#include "PointLineParser.h"
#include "TextConversions.h"

#include <CoordinateLine.h>

#include <algorithm>

namespace pointfiles {

namespace {

struct NumberedLine {
  std::string_view line;  // as the file holds it
  std::string_view text;  // the same without the byte-order mark that may begin line 1
  long long number = 0;   // from 1
};

// The first line after line `after` that holds more than blanks and control characters.
std::optional<NumberedLine> firstNonBlankAfter(std::string_view start, long long after) {
  std::optional<NumberedLine> found;
  long long number = 0;
  forEachLine(start, [&](std::string_view line) {
    const std::string_view text = ++number == 1 ? withoutByteOrderMark(line) : line;
    if (number <= after || toolkit::Trim(text).empty()) return true;
    found = NumberedLine{line, text, number};
    return false;
  });
  return found;
}

bool isPoint(const PointLine& line) {
  return line.kind == LineKind::NamedPoint || line.kind == LineKind::UnnamedPoint;
}

bool equalsIgnoringCase(std::string_view text, std::string_view word) {
  return std::equal(text.begin(), text.end(), word.begin(), word.end(), [](char a, char b) {
    return (a >= 'A' && a <= 'Z' ? a - 'A' + 'a' : a) == (b >= 'A' && b <= 'Z' ? b - 'A' + 'a' : b);
  });
}

// The first point line's layout and decimal mark, for the text of a coordinate list.
void describeFirstPoint(std::string_view start, PointFileFormat& format) {
  long long number = 0;
  forEachLine(start, [&](std::string_view line) {
    const CoordinateLine parsed = parseCoordinateLine(line, ++number == 1);
    if (parsed.kind != LineKind::NamedPoint && parsed.kind != LineKind::UnnamedPoint) return true;
    // The two coordinate tokens: after the name, if there is one.
    std::string_view rest = toolkit::Trim(line);
    if (parsed.kind == LineKind::NamedPoint)
      rest = rest.substr(
          static_cast<std::size_t>(parsed.name.data() + parsed.name.size() - rest.data()));
    int tokens = 0;
    bool comma = false;
    for (std::size_t at = 0; at < rest.size() && tokens < 2;) {
      while (at < rest.size() && isTokenSeparator(rest[at])) ++at;
      if (at < rest.size()) ++tokens;
      while (at < rest.size() && !isTokenSeparator(rest[at])) comma |= rest[at++] == ',';
    }
    format.decimalMark = comma ? DecimalMark::Comma : DecimalMark::Point;
    format.columns = parsed.kind == LineKind::NamedPoint
                         ? std::vector<Column>{Column::Name, Column::Rw, Column::Hw}
                         : std::vector<Column>{Column::Rw, Column::Hw};
    return false;
  });
}

PointFileFormat coordinateList(std::string_view start) {
  PointFileFormat format;
  describeFirstPoint(start, format);
  return format;
}

// Which lines firstPointLine looks at.
enum class Search { FirstDataLine, AnyLine };

// The first line after the header (or from the start when there is none) that `format`
// reads as a point: its number, or 0 when there is none (with FirstDataLine: when the first
// line that is not blank to the format is no point). Fills in the decimal mark and, when
// each line goes by its field count, the columns the text shows.
long long firstPointLine(std::string_view start, PointFileFormat& format, Search search) {
  PointLineParser parser(format);
  PointLine point;
  long long number = 0;
  forEachLine(start, [&](std::string_view line) {
    point = parser.parse(line, ++number);  // lines up to the header are blank to it
    return point.kind == LineKind::Blank ||
           (point.kind == LineKind::Bad && search == Search::AnyLine);
  });
  if (!isPoint(point)) return 0;
  if (!format.decimalMarkChosen)
    format.decimalMark = point.decimalComma ? DecimalMark::Comma : DecimalMark::Point;
  if (format.byFieldCount)
    format.columns = point.kind == LineKind::NamedPoint
                         ? std::vector<Column>{Column::Name, Column::Rw, Column::Hw}
                         : std::vector<Column>{Column::Rw, Column::Hw};
  return number;
}

// The QGIS format for one system, whose header is `header` on line `headerLine`.
PointFileFormat qgisFormat(const QgisHeader& header, long long headerLine, bool crsLine,
                           ControlPairSide side) {
  PointFileFormat format;
  format.kind = FileKind::QgisPoints;
  format.separator = header.separator;
  format.headerLine = headerLine;
  format.crsLine = crsLine;
  format.side = side;
  format.columns.assign(header.fieldCount, Column::Skip);
  const std::size_t rwField = side == ControlPairSide::Map ? 0 : 2;
  format.columns[rwField] = Column::Rw;
  format.columns[rwField + 1] = Column::Hw;
  return format;
}

// Rule 2, for a file whose first non-blank line is `first`.
std::optional<PointFileFormat> recogniseQgis(std::string_view start, const NumberedLine& first,
                                             ControlPairSide side) {
  NumberedLine headerLine = first;
  const bool crsLine = isQgisCrsLine(first.text);
  if (crsLine) {
    const std::optional<NumberedLine> next = firstNonBlankAfter(start, first.number);
    if (!next) return std::nullopt;
    headerLine = *next;
  }
  const std::optional<QgisHeader> header = recogniseQgisHeader(headerLine.text);
  if (!header) return std::nullopt;
  PointFileFormat format = qgisFormat(*header, headerLine.number, crsLine, side);
  if (!firstPointLine(start, format, Search::FirstDataLine)) return std::nullopt;
  return format;
}

PointFileFormat recognise(std::string_view start, ControlPairSide side) {
  const std::optional<NumberedLine> first = firstNonBlankAfter(start, 0);
  if (!first) return coordinateList(start);
  const CoordinateLine asListed = parseCoordinateLine(first->line, first->number == 1);
  if (asListed.kind == LineKind::NamedPoint || asListed.kind == LineKind::UnnamedPoint)
    return coordinateList(start);

  if (std::optional<PointFileFormat> qgis = recogniseQgis(start, *first, side)) return *qgis;

  if (const std::optional<HeaderLine> header = recogniseHeaderLine(first->text)) {
    PointFileFormat format;
    format.kind = FileKind::Delimited;
    format.separator = header->separator;
    format.columns = header->columns;
    format.headerLine = first->number;
    if (firstPointLine(start, format, Search::FirstDataLine)) return format;
  }

  if (first->text.find(';') != std::string_view::npos) {
    PointFileFormat format;
    format.kind = FileKind::Delimited;
    format.separator = Separator::Semicolon;
    format.byFieldCount = true;
    if (firstPointLine(start, format, Search::FirstDataLine) == first->number) return format;
  }
  return coordinateList(start);
}

// The user's choice, with what it leaves open taken from the file's start.
PointFileFormat chosen(std::string_view start, const FormatRequest& request) {
  const std::optional<NumberedLine> first = firstNonBlankAfter(start, 0);
  const std::optional<HeaderLine> header =
      first ? recogniseHeaderLine(first->text, request.separator) : std::nullopt;

  PointFileFormat format;
  format.kind = FileKind::Delimited;
  if (request.separator)
    format.separator = *request.separator;
  else if (header)
    format.separator = header->separator;
  else if (first && first->text.find(';') != std::string_view::npos)
    format.separator = Separator::Semicolon;
  else if (first && first->text.find('\t') != std::string_view::npos)
    format.separator = Separator::Tab;

  if (request.columns)
    format.columns = *request.columns;
  else if (header)
    format.columns = header->columns;
  else
    format.byFieldCount = true;

  if (first && request.header.value_or(header.has_value())) format.headerLine = first->number;
  if (request.decimalMark) {
    format.decimalMark = *request.decimalMark;
    format.decimalMarkChosen = true;
  }
  firstPointLine(start, format, Search::AnyLine);
  return format;
}

}  // namespace

bool isQgisCrsLine(std::string_view line) {
  const std::string_view text = toolkit::Trim(line);
  return text.substr(0, 5) == "#CRS:";
}

std::optional<QgisHeader> recogniseQgisHeader(std::string_view line) {
  const Separator separator =
      line.find(',') != std::string_view::npos ? Separator::Comma : Separator::Tab;
  FieldSplitter splitter;
  if (!splitter.split(line, separator)) return std::nullopt;
  const std::vector<std::string_view>& fields = splitter.fields();
  if (fields.size() < 4 || !equalsIgnoringCase(fields[0], "mapX") ||
      !equalsIgnoringCase(fields[1], "mapY") ||
      !(equalsIgnoringCase(fields[2], "sourceX") || equalsIgnoringCase(fields[2], "pixelX")) ||
      !(equalsIgnoringCase(fields[3], "sourceY") || equalsIgnoringCase(fields[3], "pixelY")))
    return std::nullopt;
  return QgisHeader{separator, fields.size()};
}

std::optional<HeaderLine> recogniseHeaderLine(std::string_view line,
                                              std::optional<Separator> separator) {
  const Separator candidates[] = {Separator::Semicolon, Separator::Tab, Separator::Comma,
                                  Separator::Blanks};
  FieldSplitter splitter;
  for (const Separator candidate : candidates) {
    if (separator && candidate != *separator) continue;
    if (!separator && candidate != Separator::Blanks &&
        line.find(separatorChar(candidate)) == std::string_view::npos)
      continue;
    if (!splitter.split(line, candidate)) continue;
    std::vector<std::string_view> fields = splitter.fields();
    while (!fields.empty() && fields.back().empty()) fields.pop_back();
    if (fields.size() < 2) continue;
    HeaderLine header{candidate, {}};
    for (const std::string_view field : fields) {
      const std::optional<Column> column = columnNamed(field);
      if (!column) break;
      header.columns.push_back(*column);
    }
    if (header.columns.size() == fields.size() && columnsProblem(header.columns).empty())
      return header;
  }
  return std::nullopt;
}

PointFileFormat choosePointFileFormat(std::string_view start, const FormatRequest& request) {
  if (request.asCoordinateList) return coordinateList(start);
  if (request.columns || request.separator || request.header || request.decimalMark)
    return chosen(start, request);
  return recognise(start, request.side);
}

}  // namespace pointfiles
