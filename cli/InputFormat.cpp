// The options' format request, and the format texts of the report writers.
#include "InputFormat.h"

#include "Json.h"

namespace cli {

namespace {

constexpr const char* kStreamFormatText = "Koordinatendatei (--apply liest jede Datei als Koordinatendatei)";

const char* kindWord(pointfiles::FileKind kind) {
  switch (kind) {
    case pointfiles::FileKind::Delimited: return "delimited";
    case pointfiles::FileKind::QgisPoints: return "qgisPoints";
    case pointfiles::FileKind::CoordinateList: break;
  }
  return "coordinateList";
}

const char* separatorWord(pointfiles::Separator separator) {
  switch (separator) {
    case pointfiles::Separator::Semicolon: return "semicolon";
    case pointfiles::Separator::Comma: return "comma";
    case pointfiles::Separator::Tab: return "tab";
    case pointfiles::Separator::Blanks: break;
  }
  return "blanks";
}

// The words --columns takes.
const char* columnWord(pointfiles::Column column) {
  switch (column) {
    case pointfiles::Column::Name: return "name";
    case pointfiles::Column::Rw: return "rw";
    case pointfiles::Column::Hw: return "hw";
    case pointfiles::Column::Height: return "h";
    case pointfiles::Column::Code: return "code";
    case pointfiles::Column::Skip: break;
  }
  return "-";
}

const char* sideWord(pointfiles::ControlPairSide side) {
  switch (side) {
    case pointfiles::ControlPairSide::Map: return "map";
    case pointfiles::ControlPairSide::Both: return "both";
    case pointfiles::ControlPairSide::Source: break;
  }
  return "source";
}

std::string quotedWord(const char* word) { return std::string("\"") + word + "\""; }

}  // namespace

pointfiles::FormatRequest formatRequest(const Options& options, pointfiles::ControlPairSide side) {
  pointfiles::FormatRequest request;
  request.columns = options.columns;
  request.separator = options.delimiter;
  request.side = side;
  return request;
}

std::string formatText(const InputFile& file) {
  return file.format ? pointfiles::describe(*file.format) : kStreamFormatText;
}

std::string formatJson(const InputFile& file) {
  std::string json = "{\"text\": " + jsonString(formatText(file));
  if (!file.format) return json + ", \"kind\": \"coordinateList\"}";
  const pointfiles::PointFileFormat& format = *file.format;
  json += ", \"kind\": " + quotedWord(kindWord(format.kind));
  json += ", \"separator\": " + quotedWord(separatorWord(format.separator));
  json += std::string(", \"decimalMark\": ") +
          (format.decimalMark == pointfiles::DecimalMark::Comma ? "\"comma\"" : "\"point\"");
  json += ", \"columns\": [";
  for (std::size_t i = 0; i < format.columns.size(); ++i)
    json += (i == 0 ? "" : ", ") + quotedWord(columnWord(format.columns[i]));
  json += "], \"byFieldCount\": ";
  json += format.byFieldCount ? "true" : "false";
  json += ", \"headerLine\": " + std::to_string(format.headerLine);
  if (format.kind == pointfiles::FileKind::QgisPoints) json += ", \"side\": " + quotedWord(sideWord(format.side));
  return json + "}";
}

}  // namespace cli
