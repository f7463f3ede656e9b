// Reading coordinate files written by the test: line forms, bad lines answered with OK,
// line ends, names kept aligned, byte-order marks and UTF-16. Cancel at a bad line is in
// the window's read tests, unopenable paths and hostile files in the robustness tests, the
// number forms under a German locale in the conversion's own tests.
#include "CoordinateLine.h"
#include "CoordinateReader.h"
#include "TestFiles.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using testsupport::TempDir;

struct ReadRecord {
  ReadStatus status = ReadStatus::Complete;
  PointList points;
  std::vector<BadLine> badLines;
};

// Reads `content` as a file; every bad line is answered with `answer`.
ReadRecord readContent(const std::string& content, BadLineAnswer answer = BadLineAnswer::Continue) {
  TempDir dir;
  const std::string path = dir.file("punkte.asc");
  testsupport::writeFile(path, content);
  ReadRecord record;
  record.status = readCoordinateFile(path, record.points, [&](const BadLine& bad) {
    record.badLines.push_back(bad);
    return answer;
  });
  return record;
}

struct LineCase {
  const char* label;
  std::string line;
  std::vector<std::string> names;
  std::vector<double> rw, hw;
  // Tokens shown in the message for a bad line; empty when the line is good.
  std::vector<std::pair<std::string, std::string>> shown;
};

class SingleLine : public ::testing::TestWithParam<LineCase> {};

TEST_P(SingleLine, GivesPointsOrBadLine) {
  const LineCase& c = GetParam();
  const ReadRecord r = readContent(c.line + "\n");
  EXPECT_EQ(r.status, ReadStatus::Complete);
  EXPECT_EQ(r.points.names, c.names);
  EXPECT_EQ(r.points.rw, c.rw);
  EXPECT_EQ(r.points.hw, c.hw);
  ASSERT_EQ(r.badLines.size(), c.shown.size());
  for (std::size_t i = 0; i < c.shown.size(); ++i) {
    EXPECT_EQ(r.badLines[i].lineNumber, 1);
    EXPECT_EQ(r.badLines[i].firstShown, c.shown[i].first);
    EXPECT_EQ(r.badLines[i].secondShown, c.shown[i].second);
  }
}

INSTANTIATE_TEST_SUITE_P(
    Lines, SingleLine,
    ::testing::Values(
        LineCase{"named", "P1 512.345 678.901", {"P1"}, {512.345}, {678.901}, {}},
        LineCase{"unnamed", "100.5 200.25", {}, {100.5}, {200.25}, {}},
        LineCase{"extra tokens", "P7 10 20 30 Bemerkung", {"P7"}, {10}, {20}, {}},
        LineCase{"tabs and blanks", "\t P8\t\t1e3 \t-2,5E-2  ", {"P8"}, {1000}, {-0.025}, {}},
        LineCase{"vertical tab and form feed separate", "P2\v1\f2", {"P2"}, {1}, {2}, {}},
        LineCase{"other control bytes do not", "1\x1F" "2\x0E 3\x08" "4", {}, {}, {}, {{"1\x1F" "2\x0E", "3\x08" "4"}}},
        LineCase{"title line", "Punkt RW HW", {}, {}, {}, {{"RW", "HW"}}},
        LineCase{"one token", "P9", {}, {}, {}, {{"P9", ""}}},
        LineCase{"thousands grouping", "P4 100 1.234,5", {}, {}, {}, {{"100", "1.234,5"}}},
        // A file that starts with a line separated by ';' is read as such (pointfiles/).
        LineCase{"semicolons", "P5;1;2", {"P5"}, {1}, {2}, {}},
        LineCase{"overflow", "P6 1e999 5", {}, {}, {}, {{"1e999", "5"}}},
        LineCase{"bad unnamed", "1,0 x", {}, {}, {}, {{"1,0", "x"}}},
        LineCase{"only blanks", "   \t  ", {}, {}, {}, {}},
        LineCase{"long name and number",
                 "Grenzpunkt-Nord-0000123456789 4567890.123456789012345678 5432109.8765",
                 {"Grenzpunkt-Nord-0000123456789"}, {4567890.123456789012345678}, {5432109.8765}, {}},
        LineCase{"umlaut name", "M\xFChle 1 2", {"M\xFChle"}, {1}, {2}, {}}),
    [](const ::testing::TestParamInfo<LineCase>& info) {
      std::string name = info.param.label;
      for (char& c : name)
        if (!isalnum(static_cast<unsigned char>(c))) c = '_';
      return name;
    });

TEST(CoordinateReader, OkSkipsBadLinesAndLineNumbersCountBlankLines) {
  const ReadRecord r = readContent("P1 1 2\n\n   \nfalsch\nP2 3 4\nP3 x 6\n");
  EXPECT_EQ(r.status, ReadStatus::Complete);
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"P1", "P2"}));
  ASSERT_EQ(r.badLines.size(), 2u);
  EXPECT_EQ(r.badLines[0].lineNumber, 4);
  EXPECT_EQ(r.badLines[1].lineNumber, 6);
}

TEST(CoordinateReader, LineEndsAndLastLineWithoutLineFeed) {
  for (const char* content : {"P1 1 2\r\nP2 3 4\r\nP3 5 6", "P1 1 2\nP2 3 4\nP3 5 6\n",
                              "P1 1 2\rP2 3 4\rP3 5 6\r", "P1 1 2\r\n\r\nP2 3 4\nP3 5 6\r\n"}) {
    const ReadRecord r = readContent(content);
    EXPECT_EQ(r.points.hw, (std::vector<double>{2, 4, 6})) << content;
    EXPECT_TRUE(r.badLines.empty()) << content;
  }
}

TEST(CoordinateReader, EmptyFileEmptiesTheList) {
  TempDir dir;
  const std::string path = dir.file("leer.asc");
  testsupport::writeFile(path, "");
  PointList points;
  points.rw = {1};
  points.hw = {2};
  EXPECT_EQ(readCoordinateFile(path, points, nullptr), ReadStatus::Complete);
  EXPECT_TRUE(points.empty());
}

// Guards against splitting long lines: the tail of a long line must not become a point,
// and the line numbers after it must be the file's own. The longest line allowed starts
// in one read of the reader and ends in the next.
TEST(CoordinateReader, LongLineIsOneLine) {
  const std::string longName(300, 'N');
  const std::string tail = " 7 8";
  const std::string longestName(kMaxLineBytes - tail.size(), 'x');
  std::string content = longName + " 1 2 " + std::string(400, ' ') + "9 9 9" + "\n";
  content += "falsch\n";
  content += longestName + tail + "\n";
  content += "P2 3 4\n";
  const ReadRecord r = readContent(content);
  EXPECT_EQ(r.points.names, (std::vector<std::string>{longName, longestName, "P2"}));
  EXPECT_EQ(r.points.rw, (std::vector<double>{1, 7, 3}));
  ASSERT_EQ(r.badLines.size(), 1u);
  EXPECT_EQ(r.badLines[0].lineNumber, 2);
}

// A line of `length` bytes (without its line end) that would be the point "P<n> 1 2": blanks
// fill it up, so that only its length can make it a bad line.
std::string paddedLine(int n, std::size_t length) {
  std::string line = "P" + std::to_string(n) + " 1 2";
  line.resize(length, ' ');
  return line;
}

// Lines longer than the bound are bad lines with their own numbers, shown by their first
// token and the note; the points around them stay and the line count goes on right. The
// bound's edge with CR LF: the line end is not part of the line, and the LF after a CR at
// the end of a read is no line of its own.
TEST(CoordinateReader, LinesLongerThanTheBoundAreBadLines) {
  const BadLine cutP9{2, "P9", std::string(kCutLineNote)};
  const struct {
    const char* label;
    std::string content;
    std::vector<std::string> names;
    std::vector<BadLine> badLines;
  } cases[] = {
      {"in the middle", "P1 1 2\n" + paddedLine(9, kMaxLineBytes + 1) + "\nP3 1 2\n", {"P1", "P3"}, {cutP9}},
      {"at the bound, CR LF", "P1 1 2\r\n" + paddedLine(2, kMaxLineBytes) + "\r\nP3 1 2\r\n", {"P1", "P2", "P3"}, {}},
      {"over the bound, CR LF", "P1 1 2\r\n" + paddedLine(9, kMaxLineBytes + 1) + "\r\nP3 1 2\r\nx\r\n", {"P1", "P3"},
       {cutP9, {4, "x", ""}}},
      {"first line at the bound, CR LF", paddedLine(1, kMaxLineBytes) + "\r\nP2 1 2", {"P1", "P2"}, {}},
      {"last line, no line end", "P1 1 2\n" + paddedLine(9, 3 * kMaxLineBytes), {"P1"}, {cutP9}},
      {"two in a row", "P1 1 2\n" + paddedLine(9, 2 * kMaxLineBytes) + "\r" + std::string(kMaxLineBytes + 1, '7') +
                           "\nP4 1 2\n",
       {"P1", "P4"}, {cutP9, {3, std::string(kCutLineKeptBytes, '7'), std::string(kCutLineNote)}}},
  };
  for (const auto& c : cases) {
    const ReadRecord r = readContent(c.content);
    EXPECT_EQ(r.status, ReadStatus::Complete) << c.label;
    EXPECT_EQ(r.points.names, c.names) << c.label;
    EXPECT_EQ(r.badLines, c.badLines) << c.label;
  }
}

// Guards against names shifting onto other points when named and unnamed lines mix.
TEST(CoordinateReader, MixedNamedAndUnnamedLinesKeepNamesAligned) {
  const ReadRecord r = readContent("1 2\nA 3 4\n5 6\nB 7 8\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"", "A", "", "B"}));
  EXPECT_EQ(r.points.rw, (std::vector<double>{1, 3, 5, 7}));
  const ReadRecord unnamed = readContent("1 2\n3 4\n");
  EXPECT_TRUE(unnamed.points.names.empty());
  EXPECT_EQ(unnamed.points.count(), 2u);
}

TEST(CoordinateReader, ByteOrderMarkIsSkippedOnlyAtTheStart) {
  const ReadRecord r = readContent("\xEF\xBB\xBFP1 1 2\n\xEF\xBB\xBFP2 3 4\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"P1", "\xEF\xBB\xBFP2"}));
  const ReadRecord unnamed = readContent("\xEF\xBB\xBF" "1 2\n");
  EXPECT_EQ(unnamed.points.rw, (std::vector<double>{1}));
}

std::string utf16(const std::u16string& text, bool bigEndian, bool byteOrderMark) {
  std::string bytes;
  auto put = [&](char16_t unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  if (byteOrderMark) put(0xFEFF);
  for (char16_t unit : text) put(unit);
  return bytes;
}

// Files saved as UTF-16 by an editor are read as the text they hold.
TEST(CoordinateReader, Utf16FilesAreReadAsText) {
  const std::u16string text = u"M\u00fchle 1,5 2\r\nP\U0001F4CD 3 4\r\nkaputt\r\n";
  for (bool bigEndian : {false, true})
    for (bool byteOrderMark : {false, true}) {
      const ReadRecord r = readContent(utf16(text, bigEndian, byteOrderMark));
      EXPECT_EQ(r.points.names, (std::vector<std::string>{"Mühle", "P\xF0\x9F\x93\x8D"}))
          << bigEndian << byteOrderMark;
      EXPECT_EQ(r.points.rw, (std::vector<double>{1.5, 3}));
      ASSERT_EQ(r.badLines.size(), 1u);
      EXPECT_EQ(r.badLines[0].lineNumber, 3);
    }
}

}  // namespace
