// Pairing by position and by name: which pairs form, what is found doubtful, when pairing by
// name is refused, and that pairs formed by name from a shuffled file give the estimate of
// the file in order.
#include "PairsInForce.h"
#include "ParameterRun.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

namespace {

using namespace pairing;

constexpr std::size_t kListAll = 1000;

PointList named(std::vector<std::string> names) {
  PointList points;
  for (std::size_t i = 0; i < names.size(); ++i) {
    points.rw.push_back(100.0 * static_cast<double>(i));
    points.hw.push_back(7.0 * static_cast<double>(i * i));
  }
  points.names = std::move(names);
  return points;
}

std::vector<std::string> names(const std::vector<UnpairedName>& points) {
  std::vector<std::string> list;
  for (const UnpairedName& point : points) list.push_back(point.name + "@" + std::to_string(point.position));
  return list;
}

TEST(PairsInForce, ByPositionAreTheListsThemselves) {
  const PointList oldPoints = named({"1", "2", "3", "4"});
  PointList newPoints = named({"1", "3", "2"});
  const PairsInForce pairs(PairingMode::ByPosition, oldPoints, newPoints, kListAll);
  EXPECT_EQ(&pairs.oldPairs(), &oldPoints);
  EXPECT_EQ(&pairs.newPairs(), &newPoints);
  EXPECT_EQ(pairs.count(), 3u);
  EXPECT_EQ(pairs.refusal(), PairingRefusal::None);
  const MismatchScan& scan = pairs.findings().mismatches;
  ASSERT_EQ(scan.count, 2u);
  EXPECT_EQ(scan.first[0].position, 2u);
  EXPECT_EQ(scan.first[0].oldName + "/" + scan.first[0].newName, "2/3");
  EXPECT_EQ(scan.first[1].oldName + "/" + scan.first[1].newName, "3/2");
  // A later change to the lists shows in the pairs: nothing was copied.
  newPoints.rw[0] = 12.5;
  EXPECT_EQ(pairs.newPairs().rw[0], 12.5);
}

TEST(PairsInForce, ByPositionFindsNamesGivenTwiceButPairsThem) {
  const PointList oldPoints = named({"A", "B", "A", "C", "A", "B"});
  const PointList newPoints = named({"A", "B", "A", "C", "A", "B"});
  const PairsInForce pairs(PairingMode::ByPosition, oldPoints, newPoints, kListAll);
  EXPECT_EQ(pairs.refusal(), PairingRefusal::None);
  EXPECT_EQ(pairs.count(), 6u);
  const std::vector<DuplicateName>& twice = pairs.findings().duplicatesOld;
  ASSERT_EQ(twice.size(), 2u);
  EXPECT_EQ(twice[0].name, "A");
  EXPECT_EQ(twice[0].positions, (std::vector<std::size_t>{1, 3, 5}));
  EXPECT_EQ(twice[1].name, "B");
  EXPECT_EQ(twice[1].positions, (std::vector<std::size_t>{2, 6}));
  EXPECT_EQ(pairs.findings().duplicatesNew.size(), 2u);
  EXPECT_EQ(pairs.findings().mismatches.count, 0u);
  EXPECT_EQ(pairs.findings().count(), 4u);
}

TEST(PairsInForce, ByNamePairsInTheOldOrderAndListsTheRest) {
  PointList oldPoints = named({"P1", "P2", "", "P4", "P9"});
  oldPoints.heights = {1.5, 2.5, 3.5, std::numeric_limits<double>::quiet_NaN(), 9.5};
  oldPoints.codes = {"GS", "", "x", "MP", "?"};
  const PointList newPoints = named({"P8", "P4", "P2", "P1", ""});
  const PairsInForce pairs(PairingMode::ByName, oldPoints, newPoints, kListAll);
  ASSERT_EQ(pairs.refusal(), PairingRefusal::None);
  EXPECT_EQ(pairs.oldPairs().names, (std::vector<std::string>{"P1", "P2", "P4"}));
  EXPECT_EQ(pairs.newPairs().names, (std::vector<std::string>{"P1", "P2", "P4"}));
  // Each pair keeps its own coordinates, heights and codes.
  EXPECT_EQ(pairs.oldPairs().rw, (std::vector<double>{0, 100, 300}));
  EXPECT_EQ(pairs.newPairs().rw, (std::vector<double>{300, 200, 100}));
  EXPECT_EQ(pairs.oldPairs().heights[1], 2.5);
  EXPECT_TRUE(std::isnan(pairs.oldPairs().heights[2]));
  EXPECT_EQ(pairs.oldPairs().codes, (std::vector<std::string>{"GS", "", "MP"}));
  EXPECT_TRUE(pairs.newPairs().heights.empty());

  const PairingFindings& findings = pairs.findings();
  EXPECT_EQ(names(findings.onlyOld), (std::vector<std::string>{"P9@5"}));
  EXPECT_EQ(names(findings.onlyNew), (std::vector<std::string>{"P8@1"}));
  EXPECT_EQ(findings.unnamedOld, 1u);
  EXPECT_EQ(findings.unnamedNew, 1u);
  EXPECT_EQ(findings.mismatches.count, 0u) << "by name no pair can differ";
  EXPECT_EQ(findings.count(), 4u);
}

TEST(PairsInForce, ByNameIsRefusedWithoutNamesOrWithNamesGivenTwice) {
  PointList unnamed = named({"a", "b"});
  unnamed.names.clear();
  const PointList twice = named({"X", "Y", "X"});
  const PointList fine = named({"X", "Y"});
  const PointList empty;
  const struct {
    const char* what;
    const PointList& oldPoints;
    const PointList& newPoints;
    PairingRefusal refusal;
  } table[] = {
      {"old file without names", unnamed, fine, PairingRefusal::OldWithoutNames},
      {"new file without names", fine, unnamed, PairingRefusal::NewWithoutNames},
      {"name twice in the old file", twice, fine, PairingRefusal::DuplicateNames},
      {"name twice in the new file", fine, twice, PairingRefusal::DuplicateNames},
      {"name twice, the other file still empty", twice, empty, PairingRefusal::DuplicateNames},
      {"one file empty", fine, empty, PairingRefusal::None},
  };
  for (const auto& row : table) {
    const PairsInForce pairs(PairingMode::ByName, row.oldPoints, row.newPoints, kListAll);
    EXPECT_EQ(pairs.refusal(), row.refusal) << row.what;
    EXPECT_EQ(pairs.count(), 0u) << row.what;
    // Nothing is listed as without partner while one system has no points to pair with.
    EXPECT_TRUE(pairs.findings().onlyOld.empty()) << row.what;
  }
  // Pairing by position never refuses: the same lists pair.
  EXPECT_EQ(PairsInForce(PairingMode::ByPosition, twice, unnamed, kListAll).count(), 2u);
}

TEST(PairsInForce, MismatchesBeyondTheLimitAreCountedNotListed) {
  std::vector<std::string> oldNames, newNames;
  for (int i = 0; i < 50; ++i) {
    oldNames.push_back("A" + std::to_string(i));
    newNames.push_back("B" + std::to_string(i));
  }
  const PointList oldPoints = named(oldNames), newPoints = named(newNames);
  const PairsInForce pairs(PairingMode::ByPosition, oldPoints, newPoints, 20);
  EXPECT_EQ(pairs.findings().mismatches.count, 50u);
  EXPECT_EQ(pairs.findings().mismatches.first.size(), 20u);
  EXPECT_EQ(pairs.findings().mismatches.first.back().position, 20u);
}

// Helmert image of the old points with a rotation, a scale and a shift, plus noise, so that
// the estimate has residuals that depend on which points are paired.
PointList transformed(const PointList& oldPoints) {
  PointList newPoints = oldPoints;
  const double a = 1.0000213, o = -0.0004117;
  for (std::size_t i = 0; i < oldPoints.count(); ++i) {
    const double rw = oldPoints.rw[i], hw = oldPoints.hw[i];
    newPoints.rw[i] = 350.25 + a * rw + o * hw + 0.003 * std::sin(3.0 * static_cast<double>(i));
    newPoints.hw[i] = -1200.5 + a * hw - o * rw + 0.002 * std::cos(5.0 * static_cast<double>(i));
  }
  return newPoints;
}

TEST(PairsInForce, AShuffledNewFileByNameGivesTheEstimateOfTheOrderedOne) {
  PointList oldPoints;
  for (int i = 0; i < 25; ++i) {
    oldPoints.names.push_back(std::to_string(1001 + i));
    oldPoints.rw.push_back(4510000.0 + 173.25 * i + 41.5 * (i % 3));
    oldPoints.hw.push_back(5430000.0 + 97.75 * (i % 5) - 211.0 * (i / 4));
  }
  const PointList ordered = transformed(oldPoints);
  PointList shuffled;
  std::vector<std::size_t> order(ordered.count());
  for (std::size_t i = 0; i < order.size(); ++i) order[i] = i;
  std::shuffle(order.begin(), order.end(), std::mt19937(23));
  for (const std::size_t i : order) {
    shuffled.names.push_back(ordered.names[i]);
    shuffled.rw.push_back(ordered.rw[i]);
    shuffled.hw.push_back(ordered.hw[i]);
  }

  kel::TKEL_Vovezorevarovaduvorir byOrder, byName, byShuffledOrder;
  const compute::ParameterRun expected = compute::runParameterEstimation(oldPoints, ordered, byOrder);
  ASSERT_EQ(expected.outcome, compute::ParameterOutcome::Success);
  const PairsInForce pairs(PairingMode::ByName, oldPoints, shuffled, kListAll);
  const compute::ParameterRun run = compute::runParameterEstimation(pairs.oldPairs(), pairs.newPairs(), byName);
  ASSERT_EQ(run.outcome, compute::ParameterOutcome::Success);
  // The pairs are those of the ordered files in the same order: every figure to the bit.
  EXPECT_EQ(byName.a, byOrder.a);
  EXPECT_EQ(byName.o, byOrder.o);
  EXPECT_EQ(byName.Xo, byOrder.Xo);
  EXPECT_EQ(byName.Yo, byOrder.Yo);
  EXPECT_EQ(run.So, expected.So);
  // Paired by position the shuffled file gives another, worse estimate, and the findings say why.
  compute::runParameterEstimation(oldPoints, shuffled, byShuffledOrder);
  EXPECT_NE(byShuffledOrder.a, byOrder.a);
  const PairsInForce positions(PairingMode::ByPosition, oldPoints, shuffled, kListAll);
  std::size_t moved = 0;
  for (std::size_t i = 0; i < order.size(); ++i) moved += order[i] != i ? 1 : 0;
  EXPECT_EQ(positions.findings().mismatches.count, moved);
}

}  // namespace
