// The import dialog's plain part: the choice it starts with for each kind of file, the
// preview of the first lines, and that a choice of columns, separator, header line and
// decimal mark reads the points it says.
#include "ImportPreview.h"
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <sys/stat.h>
#include <vector>

namespace {

using namespace pointimport;
using pointfiles::Column;
using pointfiles::Separator;
using pointfiles_test::readContent;

constexpr Column N = Column::Name, R = Column::Rw, H = Column::Hw, Z = Column::Height, C = Column::Code,
                 S = Column::Skip;

std::vector<std::string> linesOf(const std::string& text) {
  std::vector<std::string> lines;
  forEachLine(text, [&](std::string_view line) {
    lines.emplace_back(line);
    return true;
  });
  return lines;
}

TEST(ImportPreview, TheDialogStartsWithWhatReadingWithoutAChoiceDoes) {
  const struct {
    const char* what;
    const char* content;
    Separator separator;
    bool header;
    std::vector<Column> columns;
  } table[] = {
      {"coordinate list", "1001 4510584,583 5431729,308\n1002 4512547.351 5432585.269\n", Separator::Blanks,
       false, {N, R, H}},
      {"coordinate list with more tokens", "A\t1\t2\t100\tGS\n", Separator::Blanks, false, {N, R, H, S, S}},
      {"coordinate list without names", "1 2\n3 4\n", Separator::Blanks, false, {R, H}},
      {"CSV with header", "Punkt;RW;HW;H\r\n1001;1,5;2,5;3\r\n", Separator::Semicolon, true, {N, R, H, Z}},
      {"header Y;X: RW first", "Nr,Y,X\nP1,1.5,2.5\n", Separator::Comma, true, {N, R, H}},
      {"';' without header", "P1;1;2;x\nP2;3;4\n", Separator::Semicolon, false, {N, R, H, S}},
      {"QGIS .points, old system", "mapX,mapY,sourceX,sourceY,enable,dX,dY,residual\n1,2,3,4,1,0,0,0\n",
       Separator::Comma, true, {S, S, R, H, S, S, S, S}},
      {"nothing in the file", "", Separator::Blanks, false, {N, R, H}},
  };
  for (const auto& row : table) {
    const ImportChoice choice = initialChoice(row.content, linesOf(row.content));
    EXPECT_EQ(choice.separator, row.separator) << row.what;
    EXPECT_EQ(choice.header, row.header) << row.what;
    EXPECT_EQ(choice.columns, row.columns) << row.what;
    EXPECT_FALSE(choice.decimalMark) << row.what << ": either mark, as the open commands read";
  }
}

// Columns in an order no recognition guesses: code, RW, HW, name, height.
TEST(ImportPreview, ChosenColumnsReadTheRightPoints) {
  const std::string content = "GS 4510584.583 5431729.308 1001 101.5\nMP 4512547,351 5432585,269 1002\n";
  ImportChoice choice = initialChoice(content, linesOf(content));
  EXPECT_EQ(choice.columns, (std::vector<Column>{N, R, H, S, S}));
  const auto asRecognised = readContent(content, formatRequest(choice));
  EXPECT_EQ(asRecognised.points.names, (std::vector<std::string>{"GS", "MP"})) << "the codes taken for names";

  choice.columns = {C, R, H, N, Z};
  const auto chosen = readContent(content, formatRequest(choice));
  ASSERT_TRUE(chosen.badLines.empty());
  EXPECT_EQ(chosen.points.names, (std::vector<std::string>{"1001", "1002"}));
  EXPECT_EQ(chosen.points.codes, (std::vector<std::string>{"GS", "MP"}));
  EXPECT_EQ(chosen.points.rw, (std::vector<double>{4510584.583, 4512547.351}));
  EXPECT_EQ(chosen.points.heights[0], 101.5);
  EXPECT_TRUE(std::isnan(chosen.points.heights[1]));
  EXPECT_EQ(pointfiles::describe(chosen.format),
            "Spaltendatei, Trennzeichen Leerzeichen, Dezimalpunkt, Spalten Code RW HW Punkt H, ohne Kopfzeile");

  // The same choice previewed: every line a point.
  const std::vector<LineKind> kinds = previewKinds(linesOf(content), chosen.format);
  EXPECT_EQ(previewSummary(kinds), "Vorschau: 2 Punkte");
}

TEST(ImportPreview, HeaderLineAndBadLinesInThePreview) {
  const std::string content = "Kennung;Wert;Wert\nP1;1;2\nP2;x;2\n\nP4;5;6\nP5;;7\n";
  ImportChoice choice = initialChoice(content, linesOf(content));
  choice.separator = Separator::Semicolon;
  choice.columns = fitColumns({N, R, H}, previewColumnCount(linesOf(content), choice.separator));
  EXPECT_EQ(choice.columns.size(), 3u);
  // Without the header line the first line is a bad line too.
  const pointfiles::PointFileFormat withoutHeader = pointfiles::choosePointFileFormat(content, formatRequest(choice));
  EXPECT_EQ(previewSummary(previewKinds(linesOf(content), withoutHeader)),
            "Vorschau: 2 Punkte, 3 fehlerhafte Zeilen (Zeilen 1, 3, 6)");
  choice.header = true;
  const pointfiles::PointFileFormat withHeader = pointfiles::choosePointFileFormat(content, formatRequest(choice));
  EXPECT_EQ(withHeader.headerLine, 1);
  EXPECT_EQ(previewSummary(previewKinds(linesOf(content), withHeader)),
            "Vorschau: 2 Punkte, 2 fehlerhafte Zeilen (Zeilen 3, 6)");
  // The preview's kinds are the reader's: same bad lines with the same numbers.
  const auto read = readContent(content, formatRequest(choice));
  ASSERT_EQ(read.badLines.size(), 2u);
  EXPECT_EQ(read.badLines[0].lineNumber, 3);
  EXPECT_EQ(read.badLines[1].lineNumber, 6);
}

TEST(ImportPreview, AChosenDecimalMarkRefusesTheOther) {
  const std::string content = "P1;1,5;2,5;10,25\nP2;3.5;4.5;11.5\nP3;7;8;12\n";
  const struct {
    const char* what;
    std::optional<pointfiles::DecimalMark> mark;
    std::vector<std::string> names;
    const char* described;
  } table[] = {
      {"either", std::nullopt, {"P1", "P2", "P3"}, "CSV, Trennzeichen ';', Dezimalkomma, Spalten Punkt;RW;HW;H, ohne Kopfzeile"},
      {"comma", pointfiles::DecimalMark::Comma, {"P1", "P3"},
       "CSV, Trennzeichen ';', nur Dezimalkomma, Spalten Punkt;RW;HW;H, ohne Kopfzeile"},
      {"point", pointfiles::DecimalMark::Point, {"P2", "P3"},
       "CSV, Trennzeichen ';', nur Dezimalpunkt, Spalten Punkt;RW;HW;H, ohne Kopfzeile"},
  };
  for (const auto& row : table) {
    ImportChoice choice{Separator::Semicolon, row.mark, false, {N, R, H, Z}};
    const auto read = readContent(content, formatRequest(choice));
    EXPECT_EQ(read.points.names, row.names) << row.what;
    EXPECT_EQ(read.badLines.size(), 3 - row.names.size()) << row.what;
    EXPECT_EQ(pointfiles::describe(read.format), row.described) << row.what;
  }
  // A height with the other mark is refused as well.
  ImportChoice choice{Separator::Semicolon, pointfiles::DecimalMark::Point, false, {N, R, H, Z}};
  const auto read = readContent("P1;1.5;2.5;10,25\n", formatRequest(choice));
  ASSERT_EQ(read.badLines.size(), 1u);
  EXPECT_EQ(read.badLines[0].firstShown, "10,25");
}

TEST(ImportPreview, ReadsTheFirstLinesOfARegularFileOnly) {
  testsupport::TempDir dir;
  std::string content = "\xEF\xBB\xBFPunkt;RW;HW\r\n";
  for (int i = 1; i <= 30; ++i) content += "P" + std::to_string(i) + ";" + std::to_string(i) + ";2\r\n";
  testsupport::writeFile(dir.file("a.csv"), content);
  const FilePreview preview = readFilePreview(dir.file("a.csv"), 20);
  EXPECT_EQ(preview.problem, "");
  ASSERT_EQ(preview.lines.size(), 20u);
  EXPECT_EQ(preview.lines[0], "Punkt;RW;HW") << "without the byte-order mark and the CR";
  EXPECT_EQ(preview.lines[19], "P19;19;2");
  EXPECT_EQ(preview.start, content) << "the whole file fits into the first block";

  // UTF-16 as the reader decodes it.
  std::string utf16 = "\xFF\xFE";
  for (const char c : std::string("P1 1 2\n")) utf16 += {c, '\0'};
  testsupport::writeFile(dir.file("b.txt"), utf16);
  EXPECT_EQ(readFilePreview(dir.file("b.txt")).lines, (std::vector<std::string>{"P1 1 2"}));

  // Guards against the window hanging on a FIFO without writer.
  ASSERT_EQ(::mkfifo(dir.file("fifo").c_str(), 0600), 0);
  EXPECT_EQ(readFilePreview(dir.file("fifo")).problem, "Keine Vorschau: keine gewöhnliche Datei.");
  EXPECT_EQ(readFilePreview(dir.path()).problem, "Keine Vorschau: keine gewöhnliche Datei.");
  EXPECT_EQ(readFilePreview(dir.file("fehlt.csv")).problem, "Die Datei gibt es nicht.");
}

TEST(ImportPreview, SplitsQuotedFieldsAndCountsColumns) {
  const std::vector<std::string> lines = {"\"Grenzstein; 7\";1;2", "a;b;c;d;e", "\"offen;1;2"};
  const auto rows = splitPreview(lines, Separator::Semicolon);
  EXPECT_EQ(rows[0], (std::vector<std::string>{"Grenzstein; 7", "1", "2"}));
  EXPECT_EQ(rows[2], (std::vector<std::string>{"\"offen;1;2"})) << "an open quote: the line as one field";
  EXPECT_EQ(previewColumnCount(lines, Separator::Semicolon), 5u);
  EXPECT_EQ(previewColumnCount({std::string(40, ';')}, Separator::Semicolon), kMostColumns);
  EXPECT_EQ(previewColumnCount({"x"}, Separator::Blanks), 2u);
}

}  // namespace
