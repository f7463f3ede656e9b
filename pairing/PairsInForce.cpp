// Forms the pairs of the pairing in force and gathers its findings.
#include "PairsInForce.h"

#include <algorithm>
#include <utility>

namespace pairing {

namespace {

const PointList kNoPoints;

// Whether a file of points carries no name at all, so that it cannot be paired by name.
bool withoutNames(const PointList& points) { return points.names.empty() && !points.empty(); }

}  // namespace

std::size_t PairingFindings::count() const {
  return mismatches.count + duplicatesOld.size() + duplicatesNew.size() + onlyOld.size() +
         onlyNew.size() + unnamedOld + unnamedNew;
}

PairsInForce::PairsInForce(PairingMode mode, const PointList& oldPoints, const PointList& newPoints,
                           std::size_t mismatchesKept)
    : mode_(mode) {
  findings_.mode = mode;
  if (mode == PairingMode::ByPosition) {
    oldPoints_ = &oldPoints;
    newPoints_ = &newPoints;
    findings_.mismatches = findNameMismatches(oldPoints, newPoints, mismatchesKept);
    findings_.duplicatesOld = findDuplicateNames(oldPoints);
    findings_.duplicatesNew = findDuplicateNames(newPoints);
    return;
  }
  if (withoutNames(oldPoints)) {
    refusal_ = PairingRefusal::OldWithoutNames;
    return;
  }
  if (withoutNames(newPoints)) {
    refusal_ = PairingRefusal::NewWithoutNames;
    return;
  }
  // Until both systems hold points there is nothing to pair; names given twice already
  // show.
  if (oldPoints.empty() || newPoints.empty()) {
    findings_.duplicatesOld = findDuplicateNames(oldPoints);
    findings_.duplicatesNew = findDuplicateNames(newPoints);
    if (!findings_.duplicatesOld.empty() || !findings_.duplicatesNew.empty())
      refusal_ = PairingRefusal::DuplicateNames;
    return;
  }
  NamePairing named = pairByName(oldPoints, newPoints);
  findings_.duplicatesOld = std::move(named.duplicatesOld);
  findings_.duplicatesNew = std::move(named.duplicatesNew);
  if (!findings_.duplicatesOld.empty() || !findings_.duplicatesNew.empty()) {
    refusal_ = PairingRefusal::DuplicateNames;
    return;
  }
  oldPaired_ = std::move(named.oldPaired);
  newPaired_ = std::move(named.newPaired);
  findings_.onlyOld = std::move(named.onlyOld);
  findings_.onlyNew = std::move(named.onlyNew);
  findings_.unnamedOld = named.unnamedOld;
  findings_.unnamedNew = named.unnamedNew;
}

const PointList& PairsInForce::oldPairs() const {
  if (mode_ == PairingMode::ByName) return oldPaired_;
  return oldPoints_ ? *oldPoints_ : kNoPoints;
}

const PointList& PairsInForce::newPairs() const {
  if (mode_ == PairingMode::ByName) return newPaired_;
  return newPoints_ ? *newPoints_ : kNoPoints;
}

std::size_t PairsInForce::count() const { return std::min(oldPairs().count(), newPairs().count()); }

}  // namespace pairing
