// The pairing's findings as tramis-cli's warnings and notes.
#include "Pairing.h"

#include "PairingTexts.h"
#include "TextConversions.h"

namespace cli {

namespace {

// Warnings beyond this many lines would bury everything else on the terminal; the rest
// is given as a count.
constexpr std::size_t kWarningsShown = 20;

void warnAboutDuplicates(const pairing::PairingFindings& findings, const Report& report,
                         std::ostream& err) {
  const std::pair<const std::vector<pairing::DuplicateName>*, const std::string*> files[] = {
      {&findings.duplicatesOld, &report.oldFile.path}, {&findings.duplicatesNew, &report.newFile.path}};
  for (const auto& [duplicates, path] : files) {
    for (std::size_t i = 0; i < duplicates->size() && i < kWarningsShown; ++i)
      err << "Warnung: " << pairing::duplicateText((*duplicates)[i], *path) << '\n';
    if (duplicates->size() > kWarningsShown)
      err << "Warnung: " << pairing::moreDuplicatesText(duplicates->size() - kWarningsShown, *path) << '\n';
  }
}

std::vector<std::string> names(const std::vector<pairing::UnpairedName>& points) {
  std::vector<std::string> list;
  list.reserve(points.size());
  for (const pairing::UnpairedName& point : points) list.push_back(point.name);
  return list;
}

}  // namespace

std::string pairControlPoints(const PointList& oldPoints, const PointList& newPoints,
                              Report& report, pairing::PairsInForce& pairs, std::ostream& err) {
  const bool byName = report.pairing == Pairing::ByName;
  pairs = pairing::PairsInForce(byName ? pairing::PairingMode::ByName : pairing::PairingMode::ByPosition,
                                oldPoints, newPoints, kWarningsShown);
  const std::string refusal =
      pairing::refusalText(pairs, report.oldFile.path, report.newFile.path, "--pair-by-name", kWarningsShown);
  if (!refusal.empty()) return refusal;

  const pairing::PairingFindings& findings = pairs.findings();
  if (byName) {
    if (!findings.onlyOld.empty())
      err << "Hinweis: " << pairing::unpairedText(true, findings.onlyOld, kWarningsShown) << '\n';
    if (!findings.onlyNew.empty())
      err << "Hinweis: " << pairing::unpairedText(false, findings.onlyNew, kWarningsShown) << '\n';
    if (findings.unnamedOld + findings.unnamedNew != 0)
      err << "Hinweis: " << pairing::unnamedText(findings.unnamedOld, findings.unnamedNew) << '\n';
    report.onlyOld = names(findings.onlyOld);
    report.onlyNew = names(findings.onlyNew);
  } else {
    const pairing::MismatchScan& scan = findings.mismatches;
    for (const pairing::NameMismatch& mismatch : scan.first)
      err << "Warnung: " << pairing::mismatchText(mismatch)
          << "; gepaart wird nach Reihenfolge (--pair-by-name paart nach Namen).\n";
    if (scan.count > scan.first.size())
      err << "Warnung: " << pairing::moreMismatchesText(scan.count - scan.first.size()) << '\n';
    warnAboutDuplicates(findings, report, err);
    report.nameMismatches = scan.count;
  }
  report.oldPairs = &pairs.oldPairs();
  report.newPairs = &pairs.newPairs();
  return {};
}

}  // namespace cli
