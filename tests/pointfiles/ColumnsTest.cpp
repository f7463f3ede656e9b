// Height and code columns kept beside the points, lines that do not match their header, and
// the user's own choice of columns, header line and separator.
#include "ColumnNames.h"
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

namespace {

using namespace pointfiles;
using pointfiles_test::readAsCoordinateList;
using pointfiles_test::readContent;
using pointfiles_test::ReadRecord;

TEST(Columns, HeightAndCodeAreKeptOnePerPoint) {
  const ReadRecord r = readContent(
      "Punkt;RW;HW;H\xC3\xB6he;Code\r\n"
      "P1;1;2;3,5;GS\r\n"
      "P2;4;5;;\r\n"
      "P3;6;7;x;Z\r\n"
      "P4;8;9\r\n"
      "P5;10;11;-0,25;\"Grenzstein; alt\"\r\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"P1", "P2", "P4", "P5"}));
  ASSERT_EQ(r.points.heights.size(), 4u);
  EXPECT_EQ(r.points.heights[0], 3.5);
  EXPECT_TRUE(std::isnan(r.points.heights[1]) && std::isnan(r.points.heights[2]));
  EXPECT_EQ(r.points.heights[3], -0.25);
  EXPECT_EQ(r.points.codes, (std::vector<std::string>{"GS", "", "", "Grenzstein; alt"}));
  ASSERT_EQ(r.badLines.size(), 1u);
  EXPECT_EQ(r.badLines[0], (BadLine{4, "x", ""}));
}

// Guards against reading a line with more fields than its header as if it matched.
TEST(Columns, LineWithMoreFieldsThanTheHeaderIsBad) {
  const ReadRecord r = readContent("Punkt,RW,HW\nP1,1.5,2.5\nP2,1,5,2,5\nP3,3,4,\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"P1", "P3"}));
  ASSERT_EQ(r.badLines.size(), 1u);
  EXPECT_EQ(r.badLines[0], (BadLine{3, "2", "5"}));
}

TEST(Columns, BadLinesShowTheValuesAndKeepTheirLineNumbers) {
  const ReadRecord r =
      readContent("\nName\tRW\tHW\n\nA\t1\t2\nB\t1.234,5\t3\nC\n\"D\t4\t5\nE\t6\t7\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"A", "E"}));
  ASSERT_EQ(r.badLines.size(), 3u);
  EXPECT_EQ(r.badLines[0], (BadLine{5, "1.234,5", "3"}));
  EXPECT_EQ(r.badLines[1], (BadLine{6, "", ""}));
  EXPECT_EQ(r.badLines[2], (BadLine{7, "\"D\t4\t5", ""}));
}

struct ChoiceCase {
  const char* label;
  std::string content;
  std::string columns;  // for parseColumnChoice; empty: none chosen
  std::optional<Separator> separator;
  std::optional<bool> header;
  std::size_t badLines;
  std::string text;  // describe() of the format used
};

class Choice : public ::testing::TestWithParam<ChoiceCase> {};

// Every chosen layout gives the points of "1001 4510584,583 5431729,308" and
// "1002 4512547,351 5432585,269" as a coordinate list.
TEST_P(Choice, GivesTheCoordinateListsPoints) {
  const ChoiceCase& c = GetParam();
  FormatRequest request;
  if (!c.columns.empty()) {
    const ColumnChoice choice = parseColumnChoice(c.columns);
    ASSERT_TRUE(choice.ok()) << choice.error;
    request.columns = choice.columns;
  }
  request.separator = c.separator;
  request.header = c.header;
  const ReadRecord expected =
      readAsCoordinateList("1001 4510584,583 5431729,308\n1002 4512547,351 5432585,269\n");
  const ReadRecord r = readContent(c.content, request);
  EXPECT_EQ(r.points.names, expected.points.names);
  EXPECT_EQ(r.points.rw, expected.points.rw);
  EXPECT_EQ(r.points.hw, expected.points.hw);
  EXPECT_EQ(r.badLines.size(), c.badLines);
  EXPECT_EQ(describe(r.format), c.text);
}

INSTANTIATE_TEST_SUITE_P(
    UserChoice, Choice,
    ::testing::Values(
        ChoiceCase{"other_order_unknown_header",
                   "Bemerkung;Hoch;Rechts;Nummer\nalt;5431729,308;4510584,583;1001\n;5432585,269;"
                   "4512547,351;1002\n",
                   "-,hw,rw,name", std::nullopt, true, 0,
                   "CSV, Trennzeichen ';', Dezimalkomma, Spalten -;HW;RW;Punkt, Kopfzeile"},
        // Without the header choice the unknown header is a line that does not match.
        ChoiceCase{
            "unknown_header_not_chosen",
            "Nummer;Rechts;Hoch\n1001;4510584,583;5431729,308\n1002;4512547,351;5432585,269\n",
            "name,rw,hw", std::nullopt, std::nullopt, 1,
            "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW, ohne Kopfzeile"},
        ChoiceCase{"more_columns_with_blanks",
                   "1001 x 4510584,583 5431729,308 12 GS\n1002 y 4512547,351 5432585,269\n",
                   "name,-,rw,hw", std::nullopt, std::nullopt, 0,
                   "Spaltendatei, Trennzeichen Leerzeichen, Dezimalkomma, Spalten Punkt - RW HW, "
                   "ohne Kopfzeile"},
        ChoiceCase{"separator_alone",
                   "1001,4510584.583,5431729.308\n1002,4512547.351,5432585.269\n", "",
                   Separator::Comma, std::nullopt, 0,
                   "CSV, Trennzeichen ',', Dezimalpunkt, Spalten Punkt,RW,HW, ohne Kopfzeile"},
        // The chosen columns win over those a recognised header names.
        ChoiceCase{"columns_over_recognised_header",
                   "RW;HW;Punkt\n1001;4510584,583;5431729,308\n1002;4512547,351;5432585,269\n",
                   "name,rw,hw", std::nullopt, std::nullopt, 0,
                   "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW, Kopfzeile"},
        ChoiceCase{"tab_taken_from_the_first_line",
                   "1001\t4510584,583\t5431729,308\n1002\t4512547,351\t5432585,269\n", "name,rw,hw",
                   std::nullopt, std::nullopt, 0,
                   "CSV, Trennzeichen Tab, Dezimalkomma, Spalten Punkt RW HW, ohne Kopfzeile"}),
    [](const ::testing::TestParamInfo<ChoiceCase>& info) { return std::string(info.param.label); });

TEST(Columns, AsCoordinateListIgnoresTheHeader) {
  pointfiles::FormatRequest request;
  request.asCoordinateList = true;
  const ReadRecord r = readContent("Punkt RW HW\nP1 1 2\n", request);
  EXPECT_EQ(r.format.kind, FileKind::CoordinateList);
  ASSERT_EQ(r.badLines.size(), 1u);
  EXPECT_EQ(r.badLines[0], (BadLine{1, "RW", "HW"}));
}

}  // namespace
