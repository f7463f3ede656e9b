// Finds differing names in position pairs, names given twice, and pairs two point lists
// by name.
#include "PointPairing.h"

#include <algorithm>
#include <string_view>
#include <unordered_map>

namespace pairing {

namespace {

using NameIndex = std::unordered_map<std::string_view, std::size_t>;

// Maps every non-empty name to its index and collects names found more than once.
NameIndex indexNames(const PointList& points, std::vector<DuplicateName>& duplicates,
                     std::size_t& unnamed) {
  NameIndex index;
  index.reserve(points.names.size());
  // For duplicates: name -> slot in `duplicates`.
  std::unordered_map<std::string_view, std::size_t> duplicateSlot;
  for (std::size_t i = 0; i < points.names.size(); ++i) {
    const std::string_view name = points.names[i];
    if (name.empty()) {
      ++unnamed;
      continue;
    }
    const auto [found, inserted] = index.emplace(name, i);
    if (inserted) continue;
    auto [slot, isNew] = duplicateSlot.emplace(name, duplicates.size());
    if (isNew) duplicates.push_back({std::string(name), {found->second + 1}});
    duplicates[slot->second].positions.push_back(i + 1);
  }
  // A list without any names has no entries in `names` at all.
  if (points.names.empty()) unnamed = points.count();
  return index;
}

void appendPoint(PointList& target, const PointList& source, std::size_t i) {
  target.names.emplace_back(source.names[i]);
  target.rw.push_back(source.rw[i]);
  target.hw.push_back(source.hw[i]);
  if (!source.heights.empty()) target.heights.push_back(source.heights[i]);
  if (!source.codes.empty()) target.codes.emplace_back(source.codes[i]);
}

}  // namespace

MismatchScan findNameMismatches(const PointList& oldPoints, const PointList& newPoints,
                                std::size_t keepAtMost) {
  MismatchScan scan;
  if (oldPoints.names.empty() || newPoints.names.empty()) return scan;
  const std::size_t n = std::min(oldPoints.count(), newPoints.count());
  for (std::size_t i = 0; i < n; ++i) {
    const std::string_view oldName = oldPoints.nameAt(i);
    const std::string_view newName = newPoints.nameAt(i);
    if (oldName == newName) continue;
    if (scan.first.size() < keepAtMost)
      scan.first.push_back({i + 1, std::string(oldName), std::string(newName)});
    ++scan.count;
  }
  return scan;
}

std::vector<DuplicateName> findDuplicateNames(const PointList& points) {
  std::vector<DuplicateName> duplicates;
  std::size_t unnamed = 0;
  indexNames(points, duplicates, unnamed);
  return duplicates;
}

NamePairing pairByName(const PointList& oldPoints, const PointList& newPoints) {
  NamePairing pairing;
  const NameIndex oldIndex = indexNames(oldPoints, pairing.duplicatesOld, pairing.unnamedOld);
  const NameIndex newIndex = indexNames(newPoints, pairing.duplicatesNew, pairing.unnamedNew);
  if (pairing.refused()) return pairing;

  for (std::size_t i = 0; i < oldPoints.names.size(); ++i) {
    const std::string& name = oldPoints.names[i];
    if (name.empty()) continue;
    const auto partner = newIndex.find(name);
    if (partner == newIndex.end()) {
      pairing.onlyOld.push_back({name, i + 1});
      continue;
    }
    appendPoint(pairing.oldPaired, oldPoints, i);
    appendPoint(pairing.newPaired, newPoints, partner->second);
  }
  for (std::size_t i = 0; i < newPoints.names.size(); ++i) {
    const std::string& name = newPoints.names[i];
    if (!name.empty() && !oldIndex.contains(name)) pairing.onlyNew.push_back({name, i + 1});
  }
  return pairing;
}

}  // namespace pairing
