// Line breaking of the PDF protocol's paragraphs, with every character one unit wide:
// breaks only between words and list entries, a word wider than the line cut with the
// mark, never inside a UTF-8 character, and always making progress.
#include "LineBreaking.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

// One unit per character (UTF-8 lead byte).
double characters(std::string_view text) {
  double count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

TEST(LineBreaking, BreaksOnlyBetweenWordsOrEntries) {
  const std::string mark = protocol::kContinuedMark;
  const struct {
    const char* what;
    std::vector<std::string> words;
    const char* separator;
    double width;
    std::vector<std::string> lines;
  } cases[] = {
      {"everything fits", {"Kein", "Punkt"}, " ", 10, {"Kein Punkt"}},
      {"running text at blanks", {"T", "=", "23,41", ">", "k"}, " ", 7, {"T =", "23,41 >", "k"}},
      {"list after its commas", {"1 (A)", "2 (B)", "3 (C)"}, ", ", 11, {"1 (A),", "2 (B),", "3 (C)"}},
      {"list, two entries a line", {"1 (A)", "2 (B)", "3 (C)"}, ", ", 13, {"1 (A), 2 (B),", "3 (C)"}},
      {"word wider than the line", {"abcdefghijk"}, " ", 4, {"abc" + mark, "def" + mark, "ghi" + mark, "jk"}},
      {"last piece needs no mark", {"abcdefghij"}, " ", 4, {"abc" + mark, "def" + mark, "ghij"}},
      {"cut word between others", {"ab", "cdefgh", "i"}, " ", 4, {"ab", "cde" + mark, "fgh", "i"}},
      {"umlauts stay whole", {"äöüäöü"}, " ", 3, {"äö" + mark, "üä" + mark, "öü"}},
      {"line narrower than a character", {"abc"}, " ", 0.5, {"a" + mark, "b" + mark, "c"}},
      {"nothing", {}, ", ", 10, {""}},
  };
  for (const auto& c : cases)
    EXPECT_EQ(protocol::breakLines(c.words, c.separator, c.width, characters), c.lines) << c.what;
}

TEST(LineBreaking, BlankSeparatedWordsGiveTheTextBack) {
  const struct {
    const char* text;
    std::vector<std::string> words;
  } cases[] = {
      {"/messung/alt.asc  (12 Punkte)", {"/messung/alt.asc", "", "(12", "Punkte)"}},
      {"ohne", {"ohne"}},
      {"", {""}},
      {" a ", {"", "a", ""}},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(protocol::blankSeparatedWords(c.text), c.words) << c.text;
    std::string joined;
    for (std::size_t i = 0; i < c.words.size(); ++i) joined += (i == 0 ? "" : " ") + c.words[i];
    EXPECT_EQ(joined, c.text);
  }
}

}  // namespace
