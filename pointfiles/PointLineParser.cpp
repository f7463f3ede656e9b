// Fields to points: by the format's columns, or by each line's field count.
#include "PointLineParser.h"

#include "TextConversions.h"

#include <algorithm>
#include <utility>

namespace pointfiles {

namespace {

bool hasComma(std::string_view text) { return text.find(',') != std::string_view::npos; }

// Whether `text` is written with the decimal mark other than `mark`.
bool otherMark(std::string_view text, DecimalMark mark) {
  return text.find(mark == DecimalMark::Comma ? '.' : ',') != std::string_view::npos;
}

PointLine badLine(std::string_view first, std::string_view second) {
  PointLine line;
  line.kind = LineKind::Bad;
  line.firstShown = first;
  line.secondShown = second;
  return line;
}

int indexOf(const std::vector<Column>& columns, Column column) {
  const auto at = std::find(columns.begin(), columns.end(), column);
  return at == columns.end() ? -1 : static_cast<int>(at - columns.begin());
}

}  // namespace

PointLineParser::PointLineParser(PointFileFormat format) : format_(std::move(format)) {
  if (format_.kind == FileKind::CoordinateList || format_.byFieldCount) return;
  nameField_ = indexOf(format_.columns, Column::Name);
  rwField_ = indexOf(format_.columns, Column::Rw);
  hwField_ = indexOf(format_.columns, Column::Hw);
  heightField_ = indexOf(format_.columns, Column::Height);
  codeField_ = indexOf(format_.columns, Column::Code);
}

PointLine PointLineParser::parse(std::string_view line, long long lineNumber) {
  if (format_.kind == FileKind::CoordinateList) {
    const CoordinateLine parsed = parseCoordinateLine(line, lineNumber == 1);
    PointLine point;
    point.kind = parsed.kind;
    point.name = parsed.name;
    point.rw = parsed.rw;
    point.hw = parsed.hw;
    point.firstShown = parsed.firstShown;
    point.secondShown = parsed.secondShown;
    return point;
  }
  if (lineNumber != 0 && lineNumber <= format_.headerLine) return {};
  if (lineNumber == 1) line = withoutByteOrderMark(line);
  if (toolkit::Trim(line).empty()) return {};
  if (!splitter_.split(line, format_.separator)) return badLine(toolkit::Trim(line), {});
  const std::vector<std::string_view>& fields = splitter_.fields();
  if (std::all_of(fields.begin(), fields.end(), [](std::string_view f) { return f.empty(); }))
    return {};  // only separators, as spreadsheets write empty rows
  return format_.byFieldCount ? parseByFieldCount() : parseByColumns();
}

bool PointLineParser::hasChosenMark(std::string_view value) const {
  return !format_.decimalMarkChosen || !otherMark(value, format_.decimalMark);
}

PointLine PointLineParser::parseByColumns() {
  const std::vector<std::string_view>& fields = splitter_.fields();
  const auto field = [&](int index) {
    return index >= 0 && static_cast<std::size_t>(index) < fields.size() ? fields[index]
                                                                         : std::string_view();
  };
  PointLine point;
  const std::string_view rwText = field(rwField_);
  const std::string_view hwText = field(hwField_);
  if (!fieldValue(rwText, point.rw) || !fieldValue(hwText, point.hw))
    return badLine(rwText, hwText);
  const std::string_view heightText = field(heightField_);
  if (!heightText.empty() && !fieldValue(heightText, point.height))
    return badLine(heightText, {});
  if (!hasChosenMark(rwText) || !hasChosenMark(hwText)) return badLine(rwText, hwText);
  if (!hasChosenMark(heightText)) return badLine(heightText, {});
  if (format_.headerLine != 0) {
    // The header says how many fields a line has; more would be read wrongly (a decimal
    // comma in a file separated by commas, say).
    for (std::size_t i = format_.columns.size(); i < fields.size(); ++i)
      if (!fields[i].empty()) return badLine(fields[i], i + 1 < fields.size() ? fields[i + 1] : "");
  }
  point.kind = nameField_ >= 0 ? LineKind::NamedPoint : LineKind::UnnamedPoint;
  point.name = field(nameField_);
  point.code = field(codeField_);
  point.decimalComma = hasComma(rwText) || hasComma(hwText);
  return point;
}

PointLine PointLineParser::parseByFieldCount() {
  const std::vector<std::string_view>& fields = splitter_.fields();
  std::size_t count = fields.size();
  while (count > 0 && fields[count - 1].empty()) --count;
  PointLine point;
  if (count >= 3) {
    if (!fieldValue(fields[1], point.rw) || !fieldValue(fields[2], point.hw) ||
        !hasChosenMark(fields[1]) || !hasChosenMark(fields[2]))
      return badLine(fields[1], fields[2]);
    point.kind = LineKind::NamedPoint;
    point.name = fields[0];
  } else if (count == 2) {
    if (!fieldValue(fields[0], point.rw) || !fieldValue(fields[1], point.hw) ||
        !hasChosenMark(fields[0]) || !hasChosenMark(fields[1]))
      return badLine(fields[0], fields[1]);
    point.kind = LineKind::UnnamedPoint;
  } else {
    return badLine(fields[0], {});
  }
  const std::size_t rwAt = count >= 3 ? 1 : 0;
  point.decimalComma = hasComma(fields[rwAt]) || hasComma(fields[rwAt + 1]);
  return point;
}

}  // namespace pointfiles
