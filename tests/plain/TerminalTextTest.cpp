// Tests of the text made safe for a terminal: which characters are escaped and how, that
// letters of any script and the line feed stay, and where a UTF-8 sequence is cut.
#include <gtest/gtest.h>

#include "TerminalText.h"
#include "TextConversions.h"

#include <cctype>
#include <ostream>
#include <string>

namespace {

struct EscapeCase {
  const char* name;
  std::string text;
  std::string expected;
};

// Guards against names and tokens reaching the terminal raw: "\x1b[31m" coloured the
// terminal, CR overwrote the line, BEL rang.
const EscapeCase kEscapeCases[] = {
    {"ESC of a colour sequence", "P\x1b[31m1", "P\\x1b[31m1"},
    {"BEL", "a\ab", "a\\x07b"},
    {"CR in a name", "12\r34", "12\\x0d34"},
    {"tab", "a\tb", "a\\x09b"},
    {"NUL", std::string("a\0b", 3), "a\\x00b"},
    {"unit separator, last of C0", "\x1f", "\\x1f"},
    {"DEL", "x\x7fy", "x\\x7fy"},
    {"C1 CSI U+009B", "a\xc2\x9b" "31m", "a\\x9b31m"},
    {"C1 U+0080, first of C1", "\xc2\x80", "\\x80"},
    {"U+00A0 after C1 is no control", "\xc2\xa0", "\xc2\xa0"},
    {"invalid byte", "a\xff" "b", "a\\xffb"},
    {"lone continuation byte", "\x80", "\\x80"},
    {"overlong encoding of ESC", "\xc0\x9b", "\\xc0\\x9b"},
    {"sequence cut by the end", "ab\xe2\x82", "ab\\xe2\\x82"},
    {"surrogate half", "\xed\xa0\x80", "\\xed\\xa0\\x80"},
    {"line feed stays", "Zeile 1\nZeile 2\n", "Zeile 1\nZeile 2\n"},
    {"umlauts, ß, euro, CJK and emoji stay", "Paßpunkt Süd € 東京 \xf0\x9f\x98\x80",
     "Paßpunkt Süd € 東京 \xf0\x9f\x98\x80"},
    {"plain ASCII with backslash stays", "C:\\Messung\\alt.asc ~", "C:\\Messung\\alt.asc ~"},
    {"empty", "", ""},
};

void PrintTo(const EscapeCase& c, std::ostream* os) { *os << c.name; }

class TerminalTextEscapes : public ::testing::TestWithParam<EscapeCase> {};

TEST_P(TerminalTextEscapes, AsExpected) { EXPECT_EQ(toolkit::TerminalText(GetParam().text), GetParam().expected); }

INSTANTIATE_TEST_SUITE_P(Characters, TerminalTextEscapes, ::testing::ValuesIn(kEscapeCases),
                         [](const auto& info) {
                           std::string name;
                           for (const char c : std::string(info.param.name))
                             name += std::isalnum(static_cast<unsigned char>(c)) ? c : '_';
                           return name;
                         });

// Every byte value, alone: nothing below 0x20 but the line feed, no DEL and no C1 control
// comes through, and the text stays well-formed UTF-8.
TEST(TerminalText, NoByteComesThroughAsAControl) {
  for (int byte = 0; byte < 256; ++byte) {
    const std::string shown = toolkit::TerminalText(std::string(1, static_cast<char>(byte)));
    for (const char c : shown) {
      const auto u = static_cast<unsigned char>(c);
      EXPECT_TRUE(u == '\n' || (u >= 0x20 && u < 0x7f)) << "byte " << byte;
    }
    EXPECT_EQ(toolkit::DisplayText(shown), shown) << "byte " << byte << " gives bad UTF-8";
  }
}

// File bytes are shown as DisplayText reads them, then escaped: a Windows-1252 umlaut
// reads as its letter, the five bytes that code page leaves undefined become C1 controls
// and are escaped.
TEST(TerminalText, AfterDisplayTextWindows1252NamesReadAsLetters) {
  EXPECT_EQ(toolkit::TerminalText(toolkit::DisplayText("M\xfcller\x1b")), "Müller\\x1b");
  EXPECT_EQ(toolkit::TerminalText(toolkit::DisplayText("A\x81" "B\xe4")), "A\\x81Bä");
}

TEST(Utf8CutTail, CountsOnlyTheStartOfAWellFormedSequence) {
  const struct {
    const char* name;
    std::string bytes;
    std::size_t tail;
  } cases[] = {
      {"complete text", "abc ä", 0},
      {"lead of a two-byte sequence", "ab\xc3", 1},
      {"two of three bytes", "a\xe2\x82", 2},
      {"three of four bytes", "\xf0\x9f\x98", 3},
      {"complete four-byte sequence", "\xf0\x9f\x98\x80", 0},
      {"bad second byte is no start", "a\xe0\x80", 0},
      {"byte that starts nothing", "a\xff", 0},
      {"lone continuation byte", "a\x80", 0},
      {"empty", "", 0},
  };
  for (const auto& c : cases) EXPECT_EQ(toolkit::Utf8CutTail(c.bytes), c.tail) << c.name;
}

}  // namespace
