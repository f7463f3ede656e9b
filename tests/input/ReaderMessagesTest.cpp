// The reader's message and status texts, character for character.
#include "ReaderMessages.h"

#include <gtest/gtest.h>

namespace {

TEST(ReaderMessages, BadValueMessage) {
  BadLine line;
  line.lineNumber = 7;
  line.firstShown = "12a";
  line.secondShown = "100";
  EXPECT_EQ(input::badValueMessage("/home/vermessung/alt.asc", line),
            "Es trat ein Problem in folgender Datei auf:\n\n\"/home/vermessung/alt.asc\"\n\n"
            "Ein Wert in Zeile 7 ist keine Gleitkommazahl.\n\n\"12a 100\"\n\n"
            "Soll das Einlesen der Daten fortgesetzt werden ?");
}

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

TEST(ReaderMessages, FileErrorsAndStatusText) {
  EXPECT_EQ(input::openErrorMessage("/daten/alt.asc"),
            "Datei /daten/alt.asc kann nicht geöffnet werden.");
  EXPECT_EQ(input::readErrorMessage("/daten/alt.asc"),
            "Datei /daten/alt.asc kann nicht gelesen werden.");
  EXPECT_EQ(input::statusText(input::textsFor(true), 12, "/home/vermessung/alt.asc"),
            "Old: [12]  alt.asc");
  EXPECT_EQ(input::statusText(input::textsFor(true), 12, "C:\\Messung\\2001\\alt.asc"),
            "Old: [12]  C:\\alt.asc");
  EXPECT_EQ(input::statusText(input::textsFor(false), 0, "neu.txt"), "New: [0]  neu.txt");
}

}  // namespace
