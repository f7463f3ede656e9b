// The words of pairing: tramis-cli's warnings and refusals and the rows of the window's
// report, from one set of findings.
#include "PairingTexts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

using namespace pairing;

PointList named(std::vector<std::string> names) {
  PointList points;
  points.rw.assign(names.size(), 1.0);
  points.hw.assign(names.size(), 2.0);
  points.names = std::move(names);
  return points;
}

std::string joined(const FindingRow& row) {
  return row.kind + " | " + row.place + " | " + row.oldText + " | " + row.newText;
}

std::vector<std::string> allRows(const PairingFindings& findings) {
  std::vector<std::string> rows;
  for (std::size_t i = 0; i < findingRowCount(findings); ++i) rows.push_back(joined(findingRow(findings, i)));
  return rows;
}

TEST(PairingTexts, ReportRowsByPosition) {
  // "1004 / 1005" must stay whole in every text; "Gr\xFCn" is Windows-1252 and shown as UTF-8.
  const PointList oldPoints = named({"1001", "1004", "1003", "1003", "Gr\xFCn"});
  const PointList newPoints = named({"1001", "1005", "1003", "1009"});
  const PairsInForce pairs(PairingMode::ByPosition, oldPoints, newPoints, 1);
  EXPECT_EQ(allRows(pairs.findings()),
            (std::vector<std::string>{"Namen verschieden | Paar 2 | 1004 | 1005",
                                      "Namen verschieden | … und 1 weiteres Paar |  | ",
                                      "Name mehrfach | Punkte 3, 4 | 1003 | "}));
  EXPECT_EQ(findingsSummary(pairs.findings()), "2 Paare mit verschiedenen Namen, 1 Name mehrfach");
  EXPECT_EQ(mismatchText(pairs.findings().mismatches.first[0]), "Paar 2: Altsystem \"1004\", Neusystem \"1005\"");
}

TEST(PairingTexts, ReportRowsByName) {
  PointList oldPoints = named({"P1", "P9", "", "Gr\xFCn"});
  PointList newPoints = named({"P8", "P1", "Gr\xC3\xBCn"});
  const PairsInForce pairs(PairingMode::ByName, oldPoints, newPoints, 1000);
  EXPECT_EQ(allRows(pairs.findings()),
            (std::vector<std::string>{"ohne Partner | Punkt 2 | P9 | ", "ohne Partner | Punkt 4 | Grün | ",
                                      "ohne Partner | Punkt 1 |  | P8", "ohne Partner | Punkt 3 |  | Grün",
                                      "ohne Namen | nicht gepaart | 1 Punkt | 0 Punkte"}));
  EXPECT_EQ(findingsSummary(pairs.findings()), "4 Punkte ohne Partner, 1 Punkt ohne Namen");
  EXPECT_EQ(unpairedText(true, pairs.findings().onlyOld, 1), "nur im Altsystem (2): P9 … (1 weitere)");
  EXPECT_EQ(unnamedText(1, 0), "Punkte ohne Namen werden nicht gepaart (Altsystem 1, Neusystem 0).");
  EXPECT_EQ(findingsSummary(PairsInForce(PairingMode::ByName, newPoints, newPoints, 10).findings()), "");
}

TEST(PairingTexts, ManyPositionsOfOneNameAreCounted) {
  const PointList points = named(std::vector<std::string>(12, "X"));
  const PointList none;
  const PairsInForce pairs(PairingMode::ByPosition, points, none, 10);
  EXPECT_EQ(joined(findingRow(pairs.findings(), 0)), "Name mehrfach | Punkte 1, 2, 3, 4, 5, 6, 7, 8, … (12-mal) | X | ");
}

TEST(PairingTexts, RefusalsNameTheFileAndWhatAskedForThePairing) {
  PointList unnamed = named({"a", "b"});
  unnamed.names.clear();
  const PointList twice = named({"X", "Y", "X", "Z", "Y"});
  const PointList fine = named({"X", "Y"});
  EXPECT_EQ(refusalText(PairsInForce(PairingMode::ByName, unnamed, fine, 10), "alt.txt", "neu.txt",
                        "--pair-by-name", 20),
            "--pair-by-name: alt.txt enthält keine Punktnamen; Paaren nach Namen ist nicht möglich.");
  EXPECT_EQ(refusalText(PairsInForce(PairingMode::ByName, fine, twice, 10), "alt.txt", "neu.txt",
                        "Paarung nach Punktnummer", 1),
            "Punktname \"X\" kommt in neu.txt mehrfach vor (Punkte 1, 3).\n"
            "… und 1 weitere mehrfache Namen in neu.txt.\n"
            "Paarung nach Punktnummer verlangt eindeutige Punktnamen; es wurde nichts berechnet.");
  EXPECT_EQ(refusalText(PairsInForce(PairingMode::ByName, fine, fine, 10), "a", "b", "x", 1), "");
}

}  // namespace
