// Generated files of every kind the reader recognises (separators, decimal marks, header or
// not, quoting) in every line end and encoding, each against the same points written as a
// coordinate list and read as the coordinate list always was.
#include "ReadContent.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <charconv>
#include <string>
#include <vector>

namespace {

using namespace pointfiles;
using pointfiles_test::readAsCoordinateList;
using pointfiles_test::readContent;

enum class Quoting { None, Names, All };

struct FileCase {
  Separator separator;
  DecimalMark decimalMark;
  bool header;
  Quoting quoting;
};

struct Sample {
  const char* name;
  double rw;
  double hw;
};
constexpr Sample kSamples[] = {{"1001", 4510584.583, 5431729.308},
                               {"P7", 4512547.351, 5432585.269},
                               {"M\xC3\xBChle", -12.5, 0.0001},
                               {"A-12", 4511176, 5430120.792}};

// Header spellings, rotated through the variants; each names name, RW and HW.
constexpr const char* kHeaderWords[][3] = {
    {"Punkt", "RW", "HW"},        {"PunktNr", "Rechtswert", "Hochwert"},
    {"Name", "Y", "X"},           {"Pkt.", "E", "N"},
    {"Nr", "Ost", "Nord"},        {"name", "easting", "northing"},
    {"Punkt-Nr", "East", "North"}};

constexpr const char* kLineEnds[] = {"\n", "\r\n", "\r"};
enum class Encoding { Utf8, Utf8WithMark, Utf16LittleWithMark, Utf16BigWithoutMark };
constexpr Encoding kEncodings[] = {Encoding::Utf8, Encoding::Utf8WithMark,
                                   Encoding::Utf16LittleWithMark, Encoding::Utf16BigWithoutMark};

std::string number(double value, DecimalMark mark) {
  char text[64];
  std::string digits(text, std::to_chars(text, text + sizeof text, value).ptr);
  if (mark == DecimalMark::Comma) std::replace(digits.begin(), digits.end(), '.', ',');
  return digits;
}

std::string quoted(const std::string& text) {
  std::string out = "\"";
  for (const char c : text) out += c == '"' ? std::string("\"\"") : std::string(1, c);
  return out + "\"";
}

// The samples as the coordinate list writes them: "name rw hw".
std::string coordinateList(DecimalMark mark, const char* lineEnd) {
  std::string text;
  for (const Sample& s : kSamples)
    text += std::string(s.name) + " " + number(s.rw, mark) + " " + number(s.hw, mark) + lineEnd;
  return text;
}

// The samples in the case's format. The variant picks the header words, the column order
// (odd: HW, name, RW) and whether blank lines come first.
std::string delimited(const FileCase& c, int variant, const char* lineEnd) {
  const std::string joint =
      c.separator == Separator::Blanks ? "  " : std::string(1, separatorChar(c.separator));
  const bool reordered = c.header && variant % 2 == 1;
  const auto line = [&](std::string name, std::string rw, std::string hw) {
    return reordered ? hw + joint + name + joint + rw : name + joint + rw + joint + hw;
  };
  std::string text = variant % 3 == 0 ? std::string(" ") + lineEnd + lineEnd : "";
  if (c.header) {
    const auto& words = kHeaderWords[variant % std::size(kHeaderWords)];
    const auto word = [&](int i) {
      return c.quoting == Quoting::All ? quoted(words[i]) : std::string(words[i]);
    };
    text += line(word(0), word(1), word(2)) + lineEnd;
  }
  for (const Sample& s : kSamples) {
    const std::string name = c.quoting == Quoting::None ? s.name : quoted(s.name);
    const auto value = [&](double v) {
      return c.quoting == Quoting::All ? quoted(number(v, c.decimalMark))
                                       : number(v, c.decimalMark);
    };
    text += line(name, value(s.rw), value(s.hw)) + lineEnd;
  }
  return text;
}

// UTF-8 (one to three bytes a character, as the samples have) as UTF-16.
std::string utf16(const std::string& utf8, bool bigEndian, bool byteOrderMark) {
  std::string bytes;
  const auto put = [&](unsigned unit) {
    const char high = static_cast<char>(unit >> 8);
    const char low = static_cast<char>(unit & 0xFF);
    bytes += bigEndian ? high : low;
    bytes += bigEndian ? low : high;
  };
  if (byteOrderMark) put(0xFEFF);
  for (std::size_t i = 0; i < utf8.size();) {
    const auto lead = static_cast<unsigned char>(utf8[i]);
    const int length = lead < 0x80 ? 1 : lead < 0xE0 ? 2 : 3;
    unsigned code = length == 1 ? lead : length == 2 ? lead & 0x1F : lead & 0x0F;
    for (int k = 1; k < length; ++k)
      code = code << 6 | (static_cast<unsigned char>(utf8[i + k]) & 0x3F);
    put(code);
    i += length;
  }
  return bytes;
}

std::string encoded(const std::string& text, Encoding encoding) {
  switch (encoding) {
    case Encoding::Utf8:
      return text;
    case Encoding::Utf8WithMark:
      return "\xEF\xBB\xBF" + text;
    case Encoding::Utf16LittleWithMark:
      return utf16(text, false, true);
    case Encoding::Utf16BigWithoutMark:
      break;
  }
  return utf16(text, true, false);
}

class GeneratedFile : public ::testing::TestWithParam<FileCase> {};

TEST_P(GeneratedFile, GivesTheCoordinateListsPoints) {
  const FileCase& c = GetParam();
  // Without a header, blanks and tabs are the coordinate list's own separators.
  const bool coordinateListFile =
      !c.header && (c.separator == Separator::Blanks || c.separator == Separator::Tab);
  int variant = 0;
  for (const char* lineEnd : kLineEnds)
    for (const Encoding encoding : kEncodings) {
      SCOPED_TRACE("variant " + std::to_string(variant));
      const pointfiles_test::ReadRecord expected =
          readAsCoordinateList(coordinateList(c.decimalMark, lineEnd));
      ASSERT_EQ(expected.points.count(), std::size(kSamples));
      ASSERT_TRUE(expected.badLines.empty());

      const std::string text = delimited(c, variant, lineEnd);
      const pointfiles_test::ReadRecord got = readContent(encoded(text, encoding));
      EXPECT_EQ(got.points.names, expected.points.names) << text;
      EXPECT_EQ(got.points.rw, expected.points.rw) << text;
      EXPECT_EQ(got.points.hw, expected.points.hw) << text;
      EXPECT_TRUE(got.badLines.empty())
          << "first bad line " << got.badLines.front().lineNumber << "\n"
          << text;
      EXPECT_TRUE(got.points.heights.empty() && got.points.codes.empty());

      const PointFileFormat& format = got.format;
      EXPECT_EQ(format.kind, coordinateListFile ? FileKind::CoordinateList : FileKind::Delimited);
      EXPECT_EQ(format.separator, coordinateListFile ? Separator::Blanks : c.separator);
      EXPECT_EQ(format.decimalMark, c.decimalMark);
      EXPECT_EQ(format.headerLine, c.header ? (variant % 3 == 0 ? 3 : 1) : 0);
      ++variant;
    }
}

std::vector<FileCase> allCases() {
  std::vector<FileCase> cases;
  const Quoting quotings[] = {Quoting::None, Quoting::Names, Quoting::All};
  for (const Separator separator :
       {Separator::Semicolon, Separator::Tab, Separator::Comma, Separator::Blanks})
    for (const DecimalMark mark : {DecimalMark::Point, DecimalMark::Comma}) {
      // ',' separates the fields only beside a decimal point.
      if (separator == Separator::Comma && mark == DecimalMark::Comma) continue;
      for (const Quoting quoting : quotings) cases.push_back({separator, mark, true, quoting});
      // Without a header only ';' is recognised; blanks and tabs are the coordinate list's.
      if (separator == Separator::Semicolon)
        for (const Quoting quoting : quotings) cases.push_back({separator, mark, false, quoting});
      else if (separator != Separator::Comma)
        cases.push_back({separator, mark, false, Quoting::None});
    }
  return cases;
}

std::string caseName(const ::testing::TestParamInfo<FileCase>& info) {
  const FileCase& c = info.param;
  const char* separators[] = {"blanks", "semicolon", "comma", "tab"};
  const char* quotings[] = {"", "_quotedNames", "_allQuoted"};
  return std::string(separators[static_cast<int>(c.separator)]) +
         (c.decimalMark == DecimalMark::Comma ? "_decimalComma" : "_decimalPoint") +
         (c.header ? "_header" : "_noHeader") + quotings[static_cast<int>(c.quoting)];
}

INSTANTIATE_TEST_SUITE_P(EveryKind, GeneratedFile, ::testing::ValuesIn(allCases()), caseName);

// Names that only quoting can carry: blanks, the separator, a quote.
TEST(GeneratedFile, QuotedNamesKeepBlanksSeparatorsAndQuotes) {
  const pointfiles_test::ReadRecord r = readContent(
      "Punkt;RW;HW\r\n\"Punkt 7\";1;2\r\n\"a;b\" ; 3 ; 4\r\n\"Sa\"\"ge\";5;6\r\n\"\";7;8\r\n");
  EXPECT_EQ(r.points.names, (std::vector<std::string>{"Punkt 7", "a;b", "Sa\"ge", ""}));
  EXPECT_EQ(r.points.rw, (std::vector<double>{1, 3, 5, 7}));
  EXPECT_TRUE(r.badLines.empty());
}

}  // namespace
