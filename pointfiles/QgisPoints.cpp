// Writing and reading QGIS .points files.
#include "QgisPoints.h"

#include "ChunkedWrite.h"
#include "FieldSplitter.h"
#include "FormatRecognition.h"
#include "LineBlockReader.h"
#include "PointLineParser.h"
#include "TextConversions.h"

#include <CoordinateLine.h>

#include <algorithm>
#include <charconv>
#include <cmath>
#include <optional>

namespace pointfiles {

namespace {

constexpr std::string_view kColumnNames = "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual";
constexpr std::size_t kBlockSize = std::size_t{1} << 20;

// The shortest digits that read back as `value`, without exponent. That is at most a sign
// and 309 digits (the largest double) or "0." and 324 digits (the smallest subnormal).
void appendNumber(std::string& out, double value) {
  if (value == 0) value = 0.0;  // "0", never "-0"
  char digits[400];
  const std::to_chars_result result =
      std::to_chars(digits, digits + sizeof digits, value, std::chars_format::fixed);
  out.append(digits, result.ptr);
}

enum class EnableValue { Active, Inactive, Bad };

EnableValue enableValue(std::string_view text) {
  if (text.empty() || text == "1") return EnableValue::Active;
  if (text == "0") return EnableValue::Inactive;
  std::string lower(text);
  std::transform(lower.begin(), lower.end(), lower.begin(), [](char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
  });
  if (lower == "true") return EnableValue::Active;
  if (lower == "false") return EnableValue::Inactive;
  return EnableValue::Bad;
}

// How the lines of a .points file lie: the line of its header (or of its "#CRS:" line when
// the header is missing; 0 when both are) and the separator.
PointFileFormat pairFormat(std::string_view start) {
  PointFileFormat format;
  format.kind = FileKind::QgisPoints;
  format.side = ControlPairSide::Both;
  format.separator = Separator::Comma;
  long long number = 0;
  forEachLine(start, [&](std::string_view line) {
    if (++number == 1) line = withoutByteOrderMark(line);
    if (toolkit::Trim(line).empty()) return true;
    if (!format.crsLine && format.headerLine == 0 && isQgisCrsLine(line)) {
      format.crsLine = true;
      format.headerLine = number;
      return true;
    }
    if (const std::optional<QgisHeader> header = recogniseQgisHeader(line)) {
      format.separator = header->separator;
      format.headerLine = number;
    } else if (line.find(',') == std::string_view::npos &&
               line.find('\t') != std::string_view::npos) {
      format.separator = Separator::Tab;  // as QGIS splits a line without comma
    }
    return false;
  });
  return format;
}

// Turns the lines of a .points file into pairs.
class PairLineReader {
public:
  PairLineReader(ControlPairs& pairs, const BadLineHandler& onBadLine, PointFileFormat& format)
      : pairs_(pairs), onBadLine_(onBadLine), format_(format) {}

  // False when the user stops reading.
  bool read(std::string_view line) {
    ++lineNumber_;
    if (lineNumber_ <= format_.headerLine) return true;
    if (lineNumber_ == 1) line = withoutByteOrderMark(line);
    if (toolkit::Trim(line).empty()) return true;
    if (!splitter_.split(line, format_.separator)) return reportBad(toolkit::Trim(line), {});
    const std::vector<std::string_view>& fields = splitter_.fields();
    if (std::all_of(fields.begin(), fields.end(), [](std::string_view f) { return f.empty(); }))
      return true;
    const auto field = [&](std::size_t i) {
      return i < fields.size() ? fields[i] : std::string_view();
    };
    double mapX = 0, mapY = 0, sourceX = 0, sourceY = 0;
    if (!fieldValue(field(0), mapX) || !fieldValue(field(1), mapY))
      return reportBad(field(0), field(1));
    if (!fieldValue(field(2), sourceX) || !fieldValue(field(3), sourceY))
      return reportBad(field(2), field(3));
    const EnableValue enable = enableValue(field(4));
    if (enable == EnableValue::Bad) return reportBad(field(4), {});

    if (pairs_.count() == 0 && (hasComma(field(0)) || hasComma(field(2))))
      format_.decimalMark = DecimalMark::Comma;
    pairs_.oldPoints.rw.push_back(sourceX);
    pairs_.oldPoints.hw.push_back(sourceY);
    pairs_.newPoints.rw.push_back(mapX);
    pairs_.newPoints.hw.push_back(mapY);
    pairs_.active.push_back(enable == EnableValue::Active);
    return true;
  }

private:
  static bool hasComma(std::string_view text) { return text.find(',') != std::string_view::npos; }

  bool reportBad(std::string_view first, std::string_view second) {
    return onBadLine_(BadLine{lineNumber_, std::string(first), std::string(second)}) ==
           BadLineAnswer::Continue;
  }

  ControlPairs& pairs_;
  const BadLineHandler& onBadLine_;
  PointFileFormat& format_;
  FieldSplitter splitter_;
  long long lineNumber_ = 0;
};

}  // namespace

void ControlPairs::clear() {
  oldPoints.clear();
  newPoints.clear();
  active.clear();
}

void appendQgisPointsHeader(std::string& out, std::string_view crsWkt) {
  if (!crsWkt.empty()) {
    out += "#CRS: ";
    out += crsWkt;
    out += '\n';
  }
  out += kColumnNames;
  out += '\n';
}

void appendQgisPointsLine(std::string& out, double oldRw, double oldHw, double newRw, double newHw,
                          bool active, double vRw, double vHw) {
  // QGIS's residual is transformed minus target: -v.
  const double dX = -vRw;
  const double dY = -vHw;
  for (const double value : {newRw, newHw, oldRw, oldHw}) {
    appendNumber(out, value);
    out += ',';
  }
  out += active ? "1," : "0,";
  appendNumber(out, dX);
  out += ',';
  appendNumber(out, dY);
  out += ',';
  appendNumber(out, std::hypot(dX, dY));
  out += '\n';
}

output::WriteResult writeQgisPointsFile(const std::string& path, const PointList& oldPairs,
                                        const PointList& newPairs, const std::vector<bool>& active,
                                        const PairResiduals& residuals, std::string_view crsWkt,
                                        const toolkit::ProgressHandler& onProgress) {
  std::string header;
  appendQgisPointsHeader(header, crsWkt);
  const auto at = [](const std::vector<double>& values, std::size_t i) {
    return i < values.size() ? values[i] : 0.0;
  };
  return output::writeInChunks(
      path, header, std::min(oldPairs.count(), newPairs.count()),
      [&](std::string& out, std::size_t i) {
        appendQgisPointsLine(out, oldPairs.rw[i], oldPairs.hw[i], newPairs.rw[i], newPairs.hw[i],
                             i >= active.size() || active[i], at(residuals.rw, i),
                             at(residuals.hw, i));
        return true;  // the input's own coordinates: finite, as the reader took them
      },
      onProgress);
}

ReadStatus readQgisPointsStream(std::FILE* file, ControlPairs& pairs,
                                const BadLineHandler& onBadLine, PointFileFormat* howRead) {
  pairs.clear();
  PointFileFormat format = pairFormat({});
  PairLineReader lines(pairs, onBadLine, format);
  LineBlockReader reader(file, kBlockSize);
  LineBlock block;
  ReadStatus status = ReadStatus::Complete;
  for (bool first = true; status == ReadStatus::Complete; first = false) {
    const LineBlockReader::Result result = reader.next(block);
    if (result == LineBlockReader::Result::End) break;
    if (result == LineBlockReader::Result::ReadFailed) {
      status = ReadStatus::ReadFailed;
      break;
    }
    if (first) format = pairFormat(block.text());
    if (!forEachLine(block.text(), [&](std::string_view line) { return lines.read(line); }))
      status = ReadStatus::StoppedByUser;
  }
  if (howRead) *howRead = format;
  return status;
}

ReadStatus readQgisPointsFile(const std::string& path, ControlPairs& pairs,
                              const BadLineHandler& onBadLine, PointFileFormat* howRead) {
  std::FILE* file = nullptr;
  const OpenCoordinateFile open(file, path);
  if (!open) return ReadStatus::OpenFailed;
  return readQgisPointsStream(file, pairs, onBadLine, howRead);
}

}  // namespace pointfiles
