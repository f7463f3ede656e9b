// The names of columns: the words a header line may use for them, the labels this program
// writes and shows, and the user's own choice of columns and separator (import dialog,
// tramis-cli --columns and --delimiter).
#pragma once

#include "PointFileFormat.h"

#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace pointfiles {

// The column a header word names, or none. Case does not matter, and neither do blanks,
// '.', '-' and '_' inside it ("Punkt-Nr."); "ö" may be written "oe" and may be UTF-8 or
// Windows-1252. Known words:
//   name:   Punkt, PunktNr, Punktnummer, Pkt, PktNr, Name, Nr
//   RW:     RW, Rechtswert, Y, E, Ost, East, Easting
//   HW:     HW, Hochwert, X, N, Nord, North, Northing
//   height: H, Höhe, Z, Height
//   code:   Code, Kennung
// "Y" is the Rechtswert and "X" the Hochwert, as in German (Gauß-Krüger) usage.
std::optional<Column> columnNamed(std::string_view word);

// The label of a column as this program writes it in a header and in texts: "Punkt", "RW",
// "HW", "H", "Code", and "-" for a skipped column. Each is a name columnNamed knows.
const char* columnLabel(Column column);

// Whether `columns` can give points: RW and HW exactly once, name, height and code at
// most once; otherwise a German text that says what is wrong.
std::string columnsProblem(const std::vector<Column>& columns);

struct ColumnChoice {
  std::vector<Column> columns;
  std::string error;  // German, empty when the choice is good
  bool ok() const { return error.empty(); }
};

// A column description such as "name,rw,hw,h,code" or "-,rw,hw,name": one word per field
// in file order, separated by ',' or ';'. Every header word above is accepted, and "-" or
// "skip" for a field that is not read.
ColumnChoice parseColumnChoice(std::string_view text);

// A separator named by the user: ";" or "semikolon"/"semicolon", "," or "komma"/"comma",
// "tab" or a tab character, " " or "leerzeichen"/"blank"/"space" (case does not matter).
std::optional<Separator> parseSeparatorChoice(std::string_view text);

}  // namespace pointfiles
