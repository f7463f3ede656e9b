// The German texts of pairing: the warnings tramis-cli writes and the rows of the window's
// report "Paarung der Paßpunkte", from the same findings and the same words. Names and
// paths are bytes as the files give them; they are made readable UTF-8 here
// (toolkit::DisplayText).
#pragma once

#include "PairsInForce.h"

#include <cstddef>
#include <string>
#include <string_view>

namespace pairing {

// The name of each pairing as texts name it: "nach Reihenfolge", "nach Punktnummer".
const char* pairingName(PairingMode mode);

// `Paar 2: Altsystem "P2", Neusystem "P3"`
std::string mismatchText(const NameMismatch& mismatch);
// "… und 30 weitere Paare mit verschiedenen Namen."
std::string moreMismatchesText(std::size_t more);
// `Punktname "P1" kommt in dup.txt mehrfach vor (Punkte 1, 3).`
std::string duplicateText(const DuplicateName& duplicate, std::string_view path);
// "… und 4 weitere mehrfache Namen in dup.txt."
std::string moreDuplicatesText(std::size_t more, std::string_view path);
// "nur im Altsystem (2): P9, P12", the first `listedAtMost` names, then
// "… (5 weitere)".
std::string unpairedText(bool oldSystem, const std::vector<UnpairedName>& points,
                         std::size_t listedAtMost);
// "Punkte ohne Namen werden nicht gepaart (Altsystem 1, Neusystem 0)."
std::string unnamedText(std::size_t unnamedOld, std::size_t unnamedNew);

// Why pairing by name formed no pairs, for a message: "<choice>: <path> enthält keine
// Punktnamen; Paaren nach Namen ist nicht möglich." or the names given twice (at most
// `listedAtMost` per file, one line each) and "<choice> verlangt eindeutige Punktnamen; es
// wurde nichts berechnet." `choice` names what asked for the pairing ("--pair-by-name",
// "Paarung nach Punktnummer"). Empty when the pairing is not refused.
std::string refusalText(const PairsInForce& pairs, std::string_view oldPath,
                        std::string_view newPath, std::string_view choice,
                        std::size_t listedAtMost);

// "2 Paare mit verschiedenen Namen, 1 Name mehrfach"; empty when nothing was found.
std::string findingsSummary(const PairingFindings& findings);

// One row of the report's list.
struct FindingRow {
  std::string kind;     // "Namen verschieden", "Name mehrfach", "ohne Partner", "ohne Namen"
  std::string place;    // "Paar 3", "Punkte 4, 9", "Punkt 12"
  std::string oldText;  // the old system's name (or count)
  std::string newText;  // the new system's
};
// Rows in this order: differing pairs (then one row for those not listed), names given
// twice in the old and in the new file, points without partner in the old and in the new
// file, and one row for points without names.
std::size_t findingRowCount(const PairingFindings& findings);
FindingRow findingRow(const PairingFindings& findings, std::size_t row);

}  // namespace pairing
