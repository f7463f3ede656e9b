// Which format a file's start gives, and the text that says so: the rule's cases and its
// borders (a title line, ';' in a comment, a comma that is a decimal mark, a point for the
// coordinate list beside ';'), header words, the user's choices, and field splitting.
#include "ColumnNames.h"
#include "FieldSplitter.h"
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pointfiles;
using pointfiles_test::readContent;

struct RecognitionCase {
  const char* label;
  std::string content;
  std::string text;  // describe() of the format used
  std::vector<double> rw;
  std::size_t badLines;
};

class Recognition : public ::testing::TestWithParam<RecognitionCase> {};

TEST_P(Recognition, ReadsAndSaysHow) {
  const RecognitionCase& c = GetParam();
  const pointfiles_test::ReadRecord r = readContent(c.content);
  EXPECT_EQ(describe(r.format), c.text);
  EXPECT_EQ(r.points.rw, c.rw);
  EXPECT_EQ(r.badLines.size(), c.badLines);
}

const std::string kCrsLine =
    "#CRS: PROJCRS[\"DHDN / 3-degree Gauss-Kruger zone 4\",BASEGEOGCRS[\"DHDN\"]]\n";

INSTANTIATE_TEST_SUITE_P(
    Files, Recognition,
    ::testing::Values(
        RecognitionCase{
            "coordinate_list",
            "P1 4510584.583 5431729.308\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {4510584.583},
            0},
        RecognitionCase{"unnamed_with_decimal_comma",
                        "1,5 2,5\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalkomma, Spalten RW HW, "
                        "ohne Kopfzeile",
                        {1.5},
                        0},
        RecognitionCase{"empty_file",
                        "",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        0},
        // A title line not followed by a point stays the coordinate list's bad line.
        RecognitionCase{"title_line_alone",
                        "Punkt RW HW\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        1},
        RecognitionCase{
            "title_line_then_bad_line",
            "Punkt RW HW\nP1 12a 100\nP2 1 2\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {1},
            2},
        RecognitionCase{
            "header_with_blanks",
            "Punkt RW HW\nP1 1 2\n",
            "Spaltendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, Kopfzeile",
            {1},
            0},
        RecognitionCase{"semicolon_header_height",
                        "Punkt;RW;HW;H\n1;4510584,583;5431729,308;101,5\n",
                        "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW;H, Kopfzeile",
                        {4510584.583},
                        0},
        // Empty spreadsheet rows between header and data do not hide the data.
        RecognitionCase{"semicolon_header_empty_rows",
                        "Punkt;RW;HW\n;;\n\nP1;1;2\n",
                        "CSV, Trennzeichen ';', Dezimalpunkt, Spalten Punkt;RW;HW, Kopfzeile",
                        {1},
                        0},
        RecognitionCase{"semicolon_without_header",
                        "P1;1,5;2\n2,5;3\n",
                        "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW, ohne Kopfzeile",
                        {1.5, 2.5},
                        0},
        // The coordinate list reads this line as a point, so ';' does not count.
        RecognitionCase{
            "coordinate_list_point_with_semicolons",
            "x 1 2 ;3;4\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {1},
            0},
        // The first line decides: later lines with ';' stay bad lines of a coordinate list.
        RecognitionCase{
            "semicolons_after_a_point",
            "P4 0 0\nP5;1;2\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {0},
            1},
        RecognitionCase{
            "semicolon_in_a_comment",
            "Messung; 3.5.2020\nP1 1 2\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {1},
            1},
        RecognitionCase{"all_empty_first_line_is_no_semicolon_point",
                        ";;\nP1;1;2\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        2},
        RecognitionCase{
            "comma_without_header_is_a_decimal_mark",
            "1,5\nP1 1 2\n",
            "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Punkt RW HW, "
            "ohne Kopfzeile",
            {1},
            1},
        // German usage: X is the Hochwert, Y the Rechtswert.
        RecognitionCase{"comma_header_x_before_y",
                        "Name,X,Y\nP1,5431729.308,4510584.583\n",
                        "CSV, Trennzeichen ',', Dezimalpunkt, Spalten Punkt,HW,RW, Kopfzeile",
                        {4510584.583},
                        0},
        // A decimal comma in a file separated by commas gives more fields than the header names.
        RecognitionCase{"comma_header_with_decimal_commas",
                        "Punkt,RW,HW\nP1,1,5,2,5\nP2,1,2\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        3},
        RecognitionCase{"tab_header_code_with_blank",
                        "Nr\tRechtswert\tHochwert\tKennung\nP1\t1\t2\tGrenzstein alt\n",
                        "CSV, Trennzeichen Tab, Dezimalpunkt, Spalten Punkt RW HW Code, Kopfzeile",
                        {1},
                        0},
        RecognitionCase{"unknown_column_in_header",
                        "Punkt;RW;HW;Bemerkung\nP1;1;2;x\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        2},
        RecognitionCase{"column_named_twice",
                        "RW;RW;HW\n1;2;3\n",
                        "Koordinatendatei, Trennzeichen Leerzeichen, Dezimalpunkt, ohne Kopfzeile",
                        {},
                        2},
        RecognitionCase{
            "qgis_with_crs_line",
            kCrsLine + "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n"
                       "4510682.265,5431546.523,4510584.583,5431729.308,1,0,0,0\n",
            "QGIS-Paßpunktdatei, Trennzeichen ',', Dezimalpunkt, RW,HW aus sourceX,sourceY, "
            "Kopfzeile mit #CRS",
            {4510584.583},
            0},
        RecognitionCase{"qgis_older_header",
                        "mapX,mapY,pixelX,pixelY,enable,dX,dY,residual\n1,2,3,4,0,0,0,0\n",
                        "QGIS-Paßpunktdatei, Trennzeichen ',', Dezimalpunkt, RW,HW aus "
                        "sourceX,sourceY, Kopfzeile",
                        {3},
                        0}),
    [](const ::testing::TestParamInfo<RecognitionCase>& info) {
      return std::string(info.param.label);
    });

// The new system's open command reads the map coordinates of a .points file.
TEST(Recognition, QgisFileAsNewSystemGivesTheMapCoordinates) {
  FormatRequest request;
  request.side = ControlPairSide::Map;
  const pointfiles_test::ReadRecord r =
      readContent("mapX,mapY,sourceX,sourceY,enable\n10,20,1,2,1\n30,40,3,4,0\n", request);
  EXPECT_EQ(r.points.rw, (std::vector<double>{10, 30}));
  EXPECT_EQ(r.points.hw, (std::vector<double>{20, 40}));
  EXPECT_EQ(describe(r.format),
            "QGIS-Paßpunktdatei, Trennzeichen ',', Dezimalpunkt, RW,HW aus mapX,mapY, Kopfzeile");
}

// How a word may be written: case, punctuation, "ö" in UTF-8, Windows-1252 or as "oe", the
// German Y and X; and words that only look like column names.
TEST(ColumnNames, HeaderWordsInEverySpelling) {
  const std::pair<const char*, std::optional<Column>> words[] = {
      {"PUNKTNR", Column::Name},
      {"Punkt-Nr.", Column::Name},
      {"Pkt.", Column::Name},
      {"y", Column::Rw},
      {"X", Column::Hw},
      {"NORD", Column::Hw},
      {"H\xC3\xB6he", Column::Height},
      {"H\xC3\x96HE", Column::Height},
      {"H\xF6he", Column::Height},
      {"Hoehe", Column::Height},
      {"Rechts", std::nullopt},
      {"RW1", std::nullopt},
      {"", std::nullopt},
      {"-", std::nullopt},
      {"Hochwertwertwertwertwertwert", std::nullopt}};
  for (const auto& [word, column] : words) EXPECT_EQ(columnNamed(word), column) << word;
  // Every label this program writes reads back as its column.
  for (const Column column : {Column::Name, Column::Rw, Column::Hw, Column::Height, Column::Code})
    EXPECT_EQ(columnNamed(columnLabel(column)), column);
}

TEST(ColumnNames, ColumnChoices) {
  using C = Column;
  const std::pair<const char*, std::vector<Column>> good[] = {
      {"name,rw,hw", {C::Name, C::Rw, C::Hw}},
      {"name,rw,hw,h,code", {C::Name, C::Rw, C::Hw, C::Height, C::Code}},
      {" - ; HW ;skip; RW ;Punkt", {C::Skip, C::Hw, C::Skip, C::Rw, C::Name}},
      {"rw,hw,-,-", {C::Rw, C::Hw, C::Skip, C::Skip}}};
  for (const auto& [text, columns] : good) {
    const ColumnChoice choice = parseColumnChoice(text);
    EXPECT_TRUE(choice.ok()) << text << ": " << choice.error;
    EXPECT_EQ(choice.columns, columns) << text;
  }
  const std::pair<const char*, const char*> bad[] = {
      {"name,rw", "Die Spalten RW und HW müssen angegeben sein."},
      {"rw,hw,rw", "Die Spalte RW ist mehrfach angegeben."},
      {"name,rw,,hw", "Unbekannte Spalte \"\""},
      {"name,rechts,hw", "Unbekannte Spalte \"rechts\""}};
  for (const auto& [text, error] : bad) {
    const ColumnChoice choice = parseColumnChoice(text);
    EXPECT_FALSE(choice.ok()) << text;
    EXPECT_EQ(choice.error.rfind(error, 0), 0u) << text << ": " << choice.error;
  }
}

TEST(ColumnNames, SeparatorChoices) {
  const std::pair<const char*, std::optional<Separator>> choices[] = {
      {";", Separator::Semicolon}, {"Semikolon", Separator::Semicolon},
      {",", Separator::Comma},     {"komma", Separator::Comma},
      {"TAB", Separator::Tab},     {"\t", Separator::Tab},
      {" ", Separator::Blanks},    {"Leerzeichen", Separator::Blanks},
      {"|", std::nullopt},         {"", std::nullopt}};
  for (const auto& [text, separator] : choices)
    EXPECT_EQ(parseSeparatorChoice(text), separator) << text;
}

struct SplitCase {
  const char* label;
  std::string line;
  Separator separator;
  bool ok;
  std::vector<std::string> fields;
};

TEST(FieldSplitter, FieldsAndQuoting) {
  const SplitCase cases[] = {
      {"empty fields count", "P1;;5;", Separator::Semicolon, true, {"P1", "", "5", ""}},
      {"padding dropped", " P1 ;\t1 , 5 ", Separator::Semicolon, true, {"P1", "1 , 5"}},
      {"quoted separator and quote",
       "\"a;b\";\"Sa\"\"ge\";\"\"",
       Separator::Semicolon,
       true,
       {"a;b", "Sa\"ge", ""}},
      {"blanks around quotes", "  \"x\"  ,y", Separator::Comma, true, {"x", "y"}},
      {"quote inside a field is text", "12\"3,4", Separator::Comma, true, {"12\"3", "4"}},
      {"tab keeps blanks inside",
       "Grenzstein alt\t 1\t2",
       Separator::Tab,
       true,
       {"Grenzstein alt", "1", "2"}},
      {"blanks: runs and quotes",
       " \"Punkt 7\"\t 1  2 ",
       Separator::Blanks,
       true,
       {"Punkt 7", "1", "2"}},
      {"unclosed quote", "\"P1;1;2", Separator::Semicolon, false, {}},
      {"text after closing quote", "\"P1\"x;1", Separator::Semicolon, false, {}},
      {"blanks: text after closing quote", "\"P1\"x 1", Separator::Blanks, false, {}}};
  FieldSplitter splitter;
  for (const SplitCase& c : cases) {
    EXPECT_EQ(splitter.split(c.line, c.separator), c.ok) << c.label;
    if (!c.ok) continue;
    EXPECT_EQ(std::vector<std::string>(splitter.fields().begin(), splitter.fields().end()),
              c.fields)
        << c.label;
  }
}

}  // namespace
