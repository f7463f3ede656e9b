// The one-line text that says how a file was read.
#include "PointFileFormat.h"

#include "ColumnNames.h"

namespace pointfiles {

namespace {

const char* kindText(const PointFileFormat& format) {
  switch (format.kind) {
    case FileKind::CoordinateList:
      return "Koordinatendatei";
    case FileKind::QgisPoints:
      return "QGIS-Paßpunktdatei";
    case FileKind::Delimited:
      break;
  }
  return format.separator == Separator::Blanks ? "Spaltendatei" : "CSV";
}

const char* separatorText(Separator separator) {
  switch (separator) {
    case Separator::Semicolon:
      return "';'";
    case Separator::Comma:
      return "','";
    case Separator::Tab:
      return "Tab";
    case Separator::Blanks:
      break;
  }
  return "Leerzeichen";
}

// "Spalten Punkt;RW;HW", joined as the file joins them (blanks for blanks and tabs).
std::string columnsText(const PointFileFormat& format) {
  const char joint =
      format.separator == Separator::Semicolon || format.separator == Separator::Comma
          ? separatorChar(format.separator)
          : ' ';
  std::string text = "Spalten ";
  for (std::size_t i = 0; i < format.columns.size(); ++i) {
    if (i != 0) text += joint;
    text += columnLabel(format.columns[i]);
  }
  return text;
}

// Which QGIS columns give which system.
std::string qgisColumnsText(ControlPairSide side) {
  switch (side) {
    case ControlPairSide::Source:
      return "RW,HW aus sourceX,sourceY";
    case ControlPairSide::Map:
      return "RW,HW aus mapX,mapY";
    case ControlPairSide::Both:
      break;
  }
  return "Altsystem aus sourceX,sourceY, Neusystem aus mapX,mapY, Aktiv aus enable";
}

}  // namespace

char separatorChar(Separator separator) {
  switch (separator) {
    case Separator::Semicolon:
      return ';';
    case Separator::Comma:
      return ',';
    case Separator::Tab:
      return '\t';
    case Separator::Blanks:
      break;
  }
  return ' ';
}

std::string describe(const PointFileFormat& format) {
  std::string text = kindText(format);
  text += ", Trennzeichen ";
  text += separatorText(format.separator);
  text += format.decimalMarkChosen ? ", nur " : ", ";
  text += format.decimalMark == DecimalMark::Comma ? "Dezimalkomma" : "Dezimalpunkt";
  if (format.kind == FileKind::QgisPoints)
    text += ", " + qgisColumnsText(format.side);
  else if (!format.columns.empty())
    text += ", " + columnsText(format);
  if (format.headerLine == 0)
    text += ", ohne Kopfzeile";
  else
    text += format.crsLine ? ", Kopfzeile mit #CRS" : ", Kopfzeile";
  return text;
}

}  // namespace pointfiles
