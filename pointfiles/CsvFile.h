// The result file as CSV: a header line, then one line per point with name, RW, HW and,
// when the points have them, height and code:
//
//   Punkt;RW;HW;H;Code        (decimal comma: fields between ';')
//   Punkt,RW,HW,H,Code        (decimal point: fields between ',')
//
// Numbers have the result file's 11 significant digits (output/ElevenDigits.h), with the
// user's decimal mark; a point without height has an empty height field. A text that holds
// the separator, a quote or a line break, or begins or ends with a blank, is quoted ("..."
// with "" for a quote inside). Lines end with CR LF, the last one too. The header uses the
// labels the reader knows (ColumnNames.h), so the program reads its own CSV back.
#pragma once

#include "PointFileFormat.h"
#include "PointList.h"
#include "ProgressHandler.h"
#include "ResultFile.h"

#include <Keltransformation.h>

#include <string>
#include <string_view>

namespace pointfiles {

struct CsvLayout {
  DecimalMark decimalMark = DecimalMark::Point;
  bool height = false;  // a height column
  bool code = false;    // a code column

  // ';' beside a decimal comma, ',' beside a decimal point.
  char separator() const { return decimalMark == DecimalMark::Comma ? ';' : ','; }
};

// The layout for `points`: height and code columns when the list has them.
CsvLayout csvLayoutFor(const PointList& points, DecimalMark decimalMark);

// Appends the header line, with its line end.
void appendCsvHeader(std::string& out, const CsvLayout& layout);

// Appends one point's line, with its line end. `height` NaN: an empty field; `height` and
// `code` are written only where the layout has their columns.
void appendCsvLine(std::string& out, const CsvLayout& layout, std::string_view name, double rw,
                   double hw, double height, std::string_view code);

// Writes every old-system point transformed with the solver's parameters (as the result
// file: extended precision, rounded to double), with its name, height and code unchanged,
// through the safe writer (an existing file is replaced only once the new one is complete).
output::WriteResult writeCsvResultFile(const std::string& path, const PointList& oldPoints,
                                       const kel::TKEL_Vovezorevarovaduvorir& solver,
                                       DecimalMark decimalMark,
                                       const toolkit::ProgressHandler& onProgress = {});
// The same with a transformation of any of the three models (models/PlaneTransformation.h).
output::WriteResult writeCsvResultFile(const std::string& path, const PointList& oldPoints,
                                       const models::PlaneTransformation& transformation,
                                       DecimalMark decimalMark,
                                       const toolkit::ProgressHandler& onProgress = {});

}  // namespace pointfiles
