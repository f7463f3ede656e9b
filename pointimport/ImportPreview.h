// The plain part of the window's import dialog ("Datei → Importieren..."): the first lines
// of a file, taken apart as the user's choice of separator, columns, header line and
// decimal mark would take them, the choice the dialog starts with (what reading the file
// without a choice does), and the format request that reads the file as chosen. The
// reading itself is the open commands' (input/, pointfiles/).
#pragma once

#include "FormatRecognition.h"
#include "PointFileFormat.h"

#include <CoordinateLine.h>

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pointimport {

// Lines the dialog previews, and the most columns it offers a choice for.
inline constexpr std::size_t kPreviewLines = 20;
inline constexpr std::size_t kMostColumns = 16;

// The start of a file as the reader hands it out (UTF-8, whole lines; a UTF-16 file
// decoded) and its first lines.
struct FilePreview {
  // Empty when the file was read; else why not, in German.
  std::string problem;
  std::string start;               // the first block, which the format is decided from
  std::vector<std::string> lines;  // the first lines, without line ends
};

// Reads the start of the file at `path`: at most `lineCount` lines for the table, the first
// block for the recognition. Only a regular file is read: a FIFO or a device would wait
// for a writer, or never end.
FilePreview readFilePreview(const std::string& path, std::size_t lineCount = kPreviewLines);

// What the user chooses in the dialog.
struct ImportChoice {
  pointfiles::Separator separator = pointfiles::Separator::Blanks;
  std::optional<pointfiles::DecimalMark> decimalMark;  // none: point or comma, as always
  bool header = false;                                 // the first non-blank line names the columns
  std::vector<pointfiles::Column> columns;             // one per column the preview offers
};

// The fields of each line under `separator`; a line whose quotes do not close is one field.
std::vector<std::vector<std::string>> splitPreview(const std::vector<std::string>& lines,
                                                   pointfiles::Separator separator);

// How many columns the preview offers under `separator`: the most fields of a line, at
// least 2, at most kMostColumns.
std::size_t previewColumnCount(const std::vector<std::string>& lines, pointfiles::Separator separator);

// The choice the dialog starts with for a file that begins with `start`: the separator,
// columns and header line that reading it without a choice would use (for a coordinate
// list, the layout of its first point line), columns beyond those read skipped.
ImportChoice initialChoice(std::string_view start, const std::vector<std::string>& lines);

// The columns of `choice` resized to `count` columns: new ones are skipped.
std::vector<pointfiles::Column> fitColumns(std::vector<pointfiles::Column> columns, std::size_t count);

// The request that reads a file as chosen.
pointfiles::FormatRequest formatRequest(const ImportChoice& choice);

// How the previewed lines read in `format`: one kind per line (blank, point, bad).
std::vector<LineKind> previewKinds(const std::vector<std::string>& lines,
                                   const pointfiles::PointFileFormat& format);

// "Vorschau: 18 Punkte, 1 fehlerhafte Zeile (Zeile 3)" over the previewed lines.
std::string previewSummary(const std::vector<LineKind>& kinds);

}  // namespace pointimport
