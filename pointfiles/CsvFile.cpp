// CSV lines and the CSV result file.
#include "CsvFile.h"

#include "ChunkedWrite.h"
#include "ColumnNames.h"
#include "ElevenDigits.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace pointfiles {

namespace {

constexpr double kNoHeight = std::numeric_limits<double>::quiet_NaN();

bool needsQuotes(std::string_view text, char separator) {
  if (text.empty()) return false;
  const auto padding = [](char c) { return static_cast<unsigned char>(c) <= 32; };
  const char marks[] = {separator, '"', '\r', '\n'};
  return padding(text.front()) || padding(text.back()) ||
         text.find_first_of(std::string_view(marks, sizeof marks)) != std::string_view::npos;
}

void appendText(std::string& out, std::string_view text, char separator) {
  if (!needsQuotes(text, separator)) {
    out.append(text);
    return;
  }
  out += '"';
  for (const char c : text) {
    if (c == '"') out += '"';
    out += c;
  }
  out += '"';
}

void appendNumber(std::string& out, double value, DecimalMark decimalMark) {
  char digits[output::kMaxElevenDigitsChars];
  char* const end = output::putElevenDigits(digits, value);
  if (decimalMark == DecimalMark::Comma) std::replace(digits, end, '.', ',');
  out.append(digits, end);
}

}  // namespace

CsvLayout csvLayoutFor(const PointList& points, DecimalMark decimalMark) {
  return {decimalMark, !points.heights.empty(), !points.codes.empty()};
}

void appendCsvHeader(std::string& out, const CsvLayout& layout) {
  const char separator = layout.separator();
  out += columnLabel(Column::Name);
  for (const Column column : {Column::Rw, Column::Hw, Column::Height, Column::Code}) {
    if ((column == Column::Height && !layout.height) || (column == Column::Code && !layout.code))
      continue;
    out += separator;
    out += columnLabel(column);
  }
  out += "\r\n";
}

void appendCsvLine(std::string& out, const CsvLayout& layout, std::string_view name, double rw,
                   double hw, double height, std::string_view code) {
  const char separator = layout.separator();
  appendText(out, name, separator);
  out += separator;
  appendNumber(out, rw, layout.decimalMark);
  out += separator;
  appendNumber(out, hw, layout.decimalMark);
  if (layout.height) {
    out += separator;
    if (!std::isnan(height)) appendNumber(out, height, layout.decimalMark);
  }
  if (layout.code) {
    out += separator;
    appendText(out, code, separator);
  }
  out += "\r\n";
}

namespace {

template <class Transformation>
output::WriteResult writeTransformedCsv(const std::string& path, const PointList& oldPoints,
                                        const Transformation& transformation, DecimalMark decimalMark,
                                        const toolkit::ProgressHandler& onProgress) {
  const CsvLayout layout = csvLayoutFor(oldPoints, decimalMark);
  std::string header;
  appendCsvHeader(header, layout);
  return output::writeInChunks(
      path, header, oldPoints.count(),
      [&](std::string& out, std::size_t i) {
        const output::ResultPoint transformed = output::transformedPoint(oldPoints.rw[i], oldPoints.hw[i], transformation);
        if (!std::isfinite(transformed.rw) || !std::isfinite(transformed.hw)) return false;
        appendCsvLine(out, layout, oldPoints.nameAt(i), transformed.rw, transformed.hw,
                      layout.height ? oldPoints.heights[i] : kNoHeight,
                      layout.code ? std::string_view(oldPoints.codes[i]) : std::string_view());
        return true;
      },
      onProgress);
}

}  // namespace

output::WriteResult writeCsvResultFile(const std::string& path, const PointList& oldPoints,
                                       const kel::TKEL_Vovezorevarovaduvorir& solver,
                                       DecimalMark decimalMark,
                                       const toolkit::ProgressHandler& onProgress) {
  return writeTransformedCsv(path, oldPoints, solver, decimalMark, onProgress);
}

output::WriteResult writeCsvResultFile(const std::string& path, const PointList& oldPoints,
                                       const models::PlaneTransformation& transformation,
                                       DecimalMark decimalMark,
                                       const toolkit::ProgressHandler& onProgress) {
  return writeTransformedCsv(path, oldPoints, transformation, decimalMark, onProgress);
}

}  // namespace pointfiles
