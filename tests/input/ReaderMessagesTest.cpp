// The reader's message and status texts where the window tests do not reach: Windows
// bytes and paths, and huge tokens.
#include "ReaderMessages.h"

#include <gtest/gtest.h>

namespace {

TEST(ReaderMessages, TokensAndPathsFromWindowsAreShownReadably) {
  BadLine line;
  line.lineNumber = 1;
  line.firstShown = "M\xFChle";  // Windows-1252
  line.secondShown = "Stra\xC3\x9F" "e";  // UTF-8
  const std::string message = input::badValueMessage("/daten/M\xE4rz.asc", line);
  EXPECT_NE(message.find("\"/daten/März.asc\""), std::string::npos);
  EXPECT_NE(message.find("\"Mühle Straße\""), std::string::npos);
}

TEST(ReaderMessages, HugeTokenIsShortened) {
  BadLine line;
  line.firstShown = std::string(10'000'000, '7') + "x";
  const std::string message = input::badValueMessage("a.asc", line);
  EXPECT_LT(message.size(), 400u);
  EXPECT_NE(message.find("7777…"), std::string::npos);
}

// The whole texts of the messages and of the status panel are checked through the window.
TEST(ReaderMessages, StatusTextOfAWindowsPath) {
  EXPECT_EQ(input::statusText(input::textsFor(true), 12, "C:\\Messung\\2001\\alt.asc"),
            "Old: [12]  C:\\alt.asc");
  EXPECT_EQ(input::statusText(input::textsFor(false), 0, "neu.txt"), "New: [0]  neu.txt");
}

}  // namespace
