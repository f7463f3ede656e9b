// Files the coordinate list reads keep their points and bad lines now that other formats are
// recognised: the sample files and the reader's fuzz seeds, and generated files. A file
// whose first non-blank line the coordinate list reads as a point, and a file without ';',
// column names or QGIS marks, must read exactly as the coordinate list reads it.
#include "CoordinateLine.h"
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <filesystem>
#include <iterator>
#include <random>
#include <string>
#include <vector>

namespace {

using pointfiles_test::readAsCoordinateList;
using pointfiles_test::readContent;
using pointfiles_test::ReadRecord;

void expectSameReading(const std::string& content, const std::string& label) {
  const ReadRecord before = readAsCoordinateList(content);
  const ReadRecord now = readContent(content);
  EXPECT_EQ(now.format.kind, pointfiles::FileKind::CoordinateList) << label;
  EXPECT_EQ(now.points.names, before.points.names) << label;
  EXPECT_EQ(now.points.rw, before.points.rw) << label;
  EXPECT_EQ(now.points.hw, before.points.hw) << label;
  EXPECT_EQ(now.badLines, before.badLines) << label;
  EXPECT_TRUE(now.points.heights.empty() && now.points.codes.empty()) << label;
}

TEST(CoordinateListUnchanged, SamplesAndReaderSeeds) {
  const std::filesystem::path source = TRAMIS_SOURCE_DIR;
  int files = 0;
  for (const char* folder : {"samples", "fuzz/corpus/coordinate_reader"})
    for (const auto& entry : std::filesystem::directory_iterator(source / folder)) {
      expectSameReading(testsupport::readFile(entry.path().string()), entry.path().string());
      ++files;
    }
  EXPECT_GE(files, 9);
}

// Random lines of tokens the coordinate list meets: numbers with either mark, names, junk,
// quotes and commas, between blanks and tabs, with any line ends and blank lines.
class LineGenerator {
public:
  explicit LineGenerator(unsigned seed) : random_(seed) {}

  std::string file(bool semicolons) {
    static const char* const lineEnds[] = {"\n", "\r\n", "\r"};
    std::string text;
    const int lines = pick(8);
    for (int i = 0; i < lines; ++i) text += line(semicolons) + lineEnds[pick(3)];
    if (pick(2) == 0) text += line(semicolons);  // a last line without line end
    return text;
  }

private:
  int pick(int count) { return std::uniform_int_distribution<int>(0, count - 1)(random_); }

  std::string line(bool semicolons) {
    static const char* const tokens[] = {
        "P1",  "1001", "4510584.583", "5431729,308",  "-0,5", "1e3", "12a",   "1.234,5", "\"a",
        "b\"", ",",    "1,5,5",       "M\xC3\xBChle", "#",    "x",   "1e999", "+3"};
    static const char* const gaps[] = {" ", "\t", "  ", " \t "};
    static const char* const numbers[] = {"1001", "4510584.583", "5431729,308",
                                          "-0,5", "1e3",         "+3"};
    std::string text = pick(4) == 0 ? " " : "";
    // Half of the lines start like a point: a name or number, then two numbers.
    const bool pointLike = pick(2) == 0;
    const int count = pointLike ? 3 + pick(3) : pick(6);
    for (int i = 0; i < count; ++i) {
      if (i != 0) text += semicolons && pick(3) == 0 ? ";" : gaps[pick(4)];
      text += pointLike && i > 0 && i < 3 ? numbers[pick(std::size(numbers))]
                                          : tokens[pick(std::size(tokens))];
    }
    // A point of the coordinate list that, split at ';', is another point.
    if (semicolons && pointLike && pick(3) == 0)
      text += std::string(" ;") + numbers[pick(std::size(numbers))] + ";" +
              numbers[pick(std::size(numbers))];
    return text;
  }

  std::mt19937 random_;
};

// No ';', and no header line: "x" is the only column word among the tokens.
TEST(CoordinateListUnchanged, GeneratedFilesWithoutSemicolonsOrHeaders) {
  LineGenerator generator(20240523);
  for (int i = 0; i < 400; ++i) {
    const std::string content = generator.file(false);
    expectSameReading(content, "file " + std::to_string(i) + ":\n" + content);
    if (HasFailure()) break;
  }
}

// Whether the coordinate list reads the first non-blank line of `content` as a point.
bool firstLineIsAPoint(std::string_view content) {
  long long number = 0;
  bool point = false;
  forEachLine(content, [&](std::string_view line) {
    const CoordinateLine parsed = parseCoordinateLine(line, ++number == 1);
    if (parsed.kind == LineKind::Blank) return true;
    point = parsed.kind != LineKind::Bad;
    return false;
  });
  return point;
}

// With ';' the reading may change, but never for a file whose first non-blank line is a
// point of the coordinate list.
TEST(CoordinateListUnchanged, GeneratedFilesWhoseFirstLineIsAPoint) {
  LineGenerator generator(77);
  int checked = 0;
  int withSemicolons = 0;  // of them, those whose first line has ';'
  for (int i = 0; i < 800 && !HasFailure(); ++i) {
    const std::string content = generator.file(true);
    if (!firstLineIsAPoint(content)) continue;
    ++checked;
    withSemicolons +=
        content.substr(0, content.find_first_of("\r\n")).find(';') != std::string::npos;
    expectSameReading(content, "file " + std::to_string(i) + ":\n" + content);
  }
  EXPECT_GT(checked, 100);
  EXPECT_GT(withSemicolons, 20);
}

}  // namespace
