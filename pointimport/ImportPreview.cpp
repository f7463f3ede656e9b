// Reading and taking apart the start of a file for the import dialog.
#include "ImportPreview.h"

#include "CoordinateReader.h"
#include "FieldSplitter.h"
#include "LineBlockReader.h"
#include "PointLineParser.h"

#include <algorithm>
#include <filesystem>
#include <memory>
#include <system_error>

namespace pointimport {

namespace {

// As much as the reader decides the format from: its first block.
constexpr std::size_t kStartBytes = std::size_t{1} << 20;
// Lines numbered in the summary; more are counted.
constexpr std::size_t kBadLinesNamed = 5;

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

std::string counted(std::size_t count, const char* one, const char* many) {
  return std::to_string(count) + " " + (count == 1 ? one : many);
}

}  // namespace

FilePreview readFilePreview(const std::string& path, std::size_t lineCount) {
  FilePreview preview;
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(std::filesystem::path(path), error);
  if (status.type() == std::filesystem::file_type::not_found) {
    preview.problem = "Die Datei gibt es nicht.";
    return preview;
  }
  if (status.type() != std::filesystem::file_type::regular) {
    preview.problem = "Keine Vorschau: keine gewöhnliche Datei.";
    return preview;
  }
  const std::unique_ptr<std::FILE, FileCloser> file(openCoordinateFile(path));
  if (!file) {
    preview.problem = "Die Datei kann nicht geöffnet werden.";
    return preview;
  }
  LineBlockReader reader(file.get(), kStartBytes);
  LineBlock block;
  if (reader.next(block) == LineBlockReader::Result::ReadFailed) {
    preview.problem = "Die Datei kann nicht gelesen werden.";
    return preview;
  }
  preview.start = block.text();
  forEachLine(preview.start, [&](std::string_view line) {
    if (preview.lines.size() >= lineCount) return false;
    preview.lines.emplace_back(preview.lines.empty() ? withoutByteOrderMark(line) : line);
    return true;
  });
  return preview;
}

std::vector<std::vector<std::string>> splitPreview(const std::vector<std::string>& lines,
                                                   pointfiles::Separator separator) {
  std::vector<std::vector<std::string>> rows;
  pointfiles::FieldSplitter splitter;
  for (const std::string& line : lines) {
    std::vector<std::string>& row = rows.emplace_back();
    if (!splitter.split(line, separator)) {
      row.push_back(line);
      continue;
    }
    for (const std::string_view field : splitter.fields()) row.emplace_back(field);
  }
  return rows;
}

std::size_t previewColumnCount(const std::vector<std::string>& lines, pointfiles::Separator separator) {
  std::size_t count = 2;
  for (const std::vector<std::string>& row : splitPreview(lines, separator)) count = std::max(count, row.size());
  return std::min(count, kMostColumns);
}

std::vector<pointfiles::Column> fitColumns(std::vector<pointfiles::Column> columns, std::size_t count) {
  columns.resize(count, pointfiles::Column::Skip);
  return columns;
}

ImportChoice initialChoice(std::string_view start, const std::vector<std::string>& lines) {
  const pointfiles::PointFileFormat format = pointfiles::choosePointFileFormat(start);
  ImportChoice choice;
  choice.separator = format.separator;
  choice.header = format.headerLine != 0;
  std::vector<pointfiles::Column> columns = format.columns;
  // The coordinate list and a file of points without header read their layout from the
  // first point line; a file without any gives the list's "name rw hw".
  if (columns.empty()) columns = {pointfiles::Column::Name, pointfiles::Column::Rw, pointfiles::Column::Hw};
  choice.columns = fitColumns(columns, std::max(previewColumnCount(lines, choice.separator), columns.size()));
  return choice;
}

pointfiles::FormatRequest formatRequest(const ImportChoice& choice) {
  pointfiles::FormatRequest request;
  request.separator = choice.separator;
  request.columns = choice.columns;
  request.header = choice.header;
  request.decimalMark = choice.decimalMark;
  return request;
}

std::vector<LineKind> previewKinds(const std::vector<std::string>& lines,
                                   const pointfiles::PointFileFormat& format) {
  pointfiles::PointLineParser parser(format);
  std::vector<LineKind> kinds;
  kinds.reserve(lines.size());
  long long number = 0;
  for (const std::string& line : lines) kinds.push_back(parser.parse(line, ++number).kind);
  return kinds;
}

std::string previewSummary(const std::vector<LineKind>& kinds) {
  std::size_t points = 0;
  std::vector<std::size_t> bad;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == LineKind::NamedPoint || kinds[i] == LineKind::UnnamedPoint) ++points;
    if (kinds[i] == LineKind::Bad) bad.push_back(i + 1);
  }
  std::string text = "Vorschau: " + counted(points, "Punkt", "Punkte");
  if (bad.empty()) return text;
  text += ", " + counted(bad.size(), "fehlerhafte Zeile", "fehlerhafte Zeilen") + " (Zeile";
  if (bad.size() > 1) text += "n";
  for (std::size_t i = 0; i < bad.size() && i < kBadLinesNamed; ++i)
    text += (i == 0 ? " " : ", ") + std::to_string(bad[i]);
  if (bad.size() > kBadLinesNamed) text += ", …";
  return text + ")";
}

}  // namespace pointimport
