// The control point pairs that "Parameter", the "Paßpunktanalyse", the protocol and
// tramis-cli compute with, formed by the pairing in force, and what that pairing found
// doubtful. By position the pairs are the two point lists themselves (the first n of
// each, n the smaller count), so nothing is copied and every figure stays exactly what it
// was; by name they are new lists in the order of the old file.
#pragma once

#include "PointPairing.h"

#include <cstddef>
#include <vector>

namespace pairing {

// What pairing found worth telling the user; all of it leaves the pairs as they are,
// except duplicate names by name, which refuse the pairing.
struct PairingFindings {
  PairingMode mode = PairingMode::ByPosition;
  MismatchScan mismatches;                   // by position: pairs whose names differ
  std::vector<DuplicateName> duplicatesOld;  // both ways: names given twice in a file
  std::vector<DuplicateName> duplicatesNew;
  std::vector<UnpairedName> onlyOld;         // by name: points without partner
  std::vector<UnpairedName> onlyNew;
  std::size_t unnamedOld = 0;                // by name: points without a name, not paired
  std::size_t unnamedNew = 0;

  // How many things were found: each differing pair, each name given twice, each point
  // without partner or without name.
  std::size_t count() const;
  bool empty() const { return count() == 0; }
};

// Why pairing by name formed no pairs.
enum class PairingRefusal {
  None,
  OldWithoutNames,  // the old file has points, none of them named
  NewWithoutNames,
  DuplicateNames,   // a name occurs twice in a file (findings name them)
};

class PairsInForce {
public:
  // No pairs.
  PairsInForce() = default;
  // Pairs `oldPoints` with `newPoints` as `mode` says. By position the lists are referred
  // to, not copied: they must outlive this object, and a change to them shows here (the
  // findings stay those of the time of pairing). `mismatchesKept` limits the differing
  // pairs listed one by one; all are counted.
  PairsInForce(PairingMode mode, const PointList& oldPoints, const PointList& newPoints,
               std::size_t mismatchesKept);

  PairingMode mode() const { return mode_; }
  // Pair i is oldPairs() point i with newPairs() point i, for i below count(). Empty lists
  // when the pairing is refused.
  const PointList& oldPairs() const;
  const PointList& newPairs() const;
  std::size_t count() const;

  const PairingFindings& findings() const { return findings_; }
  PairingRefusal refusal() const { return refusal_; }

private:
  PairingMode mode_ = PairingMode::ByPosition;
  const PointList* oldPoints_ = nullptr;  // by position
  const PointList* newPoints_ = nullptr;
  PointList oldPaired_;  // by name
  PointList newPaired_;
  PairingFindings findings_;
  PairingRefusal refusal_ = PairingRefusal::None;
};

}  // namespace pairing
