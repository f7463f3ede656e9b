// Which points of the old and the new system form the control point pairs: by position
// (the i-th point of each file, the first n of both) or by point name (equal names, in the
// order of the old file). The window and tramis-cli pair with these rules alike, and both
// report what each rule finds doubtful: names that differ within a position pair, names
// that occur twice in a file, points without partner.
#pragma once

#include "PointList.h"

#include <cstddef>
#include <string>
#include <vector>

namespace pairing {

enum class PairingMode {
  ByPosition,  // the window's pairing unless "Paarung nach Punktnummer" is ticked
  ByName,      // "Paarung nach Punktnummer", tramis-cli --pair-by-name
};

// One position pair whose point names differ.
struct NameMismatch {
  std::size_t position = 0;  // counted from 1, as the residual table counts
  std::string oldName;
  std::string newName;
};

struct MismatchScan {
  std::size_t count = 0;            // all differing pairs
  std::vector<NameMismatch> first;  // the first of them, at most the limit asked for
};

// Compares the names of the first n pairs (n the smaller point count) when both lists
// carry names. A point read without a name in a named file counts as the empty name.
MismatchScan findNameMismatches(const PointList& oldPoints, const PointList& newPoints,
                                std::size_t keepAtMost);

// A name that occurs more than once in one file.
struct DuplicateName {
  std::string name;
  std::vector<std::size_t> positions;  // point numbers in the file, from 1
};

// The names that occur more than once in `points`, in the order of their first repetition;
// points without a name are not compared.
std::vector<DuplicateName> findDuplicateNames(const PointList& points);

// A point that pairing by name left without partner.
struct UnpairedName {
  std::string name;
  std::size_t position = 0;  // its point number in its file, from 1
};

struct NamePairing {
  // Pair i is oldPaired point i with newPaired point i, in the old file's order; both
  // lists carry the names, and heights and codes where their files have them.
  PointList oldPaired;
  PointList newPaired;
  std::vector<UnpairedName> onlyOld;  // points of the old file without partner, in file order
  std::vector<UnpairedName> onlyNew;
  std::vector<DuplicateName> duplicatesOld;  // non-empty: pairing refused
  std::vector<DuplicateName> duplicatesNew;
  std::size_t unnamedOld = 0;  // points without a name: they cannot be paired by name
  std::size_t unnamedNew = 0;

  bool refused() const { return !duplicatesOld.empty() || !duplicatesNew.empty(); }
};

// Pairs equal names of the two lists. Names are compared byte for byte. When either
// list holds a name twice, no pairs are formed and the duplicates are reported.
NamePairing pairByName(const PointList& oldPoints, const PointList& newPoints);

}  // namespace pairing
