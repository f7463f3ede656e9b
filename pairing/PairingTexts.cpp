// The texts of pairing's warnings, refusals and report rows.
#include "PairingTexts.h"

#include "TextConversions.h"

namespace pairing {

namespace {

// Positions listed in one report row; more are counted.
constexpr std::size_t kPositionsListed = 8;

std::string quoted(std::string_view name) { return "\"" + toolkit::DisplayText(name) + "\""; }

std::string number(std::size_t value) { return std::to_string(value); }

// "1 Paar", "3 Paare".
std::string counted(std::size_t count, const char* one, const char* many) {
  return number(count) + " " + (count == 1 ? one : many);
}

// "Punkte 1, 3" (or "Punkte 1, 3, … (12-mal)" beyond the listed ones).
std::string positionsText(const std::vector<std::size_t>& positions) {
  std::string text = "Punkte ";
  for (std::size_t i = 0; i < positions.size() && i < kPositionsListed; ++i)
    text += (i == 0 ? "" : ", ") + number(positions[i]);
  if (positions.size() > kPositionsListed) text += ", … (" + number(positions.size()) + "-mal)";
  return text;
}

std::string duplicatesText(const std::vector<DuplicateName>& duplicates, std::string_view path,
                           std::size_t listedAtMost) {
  std::string text;
  for (std::size_t i = 0; i < duplicates.size() && i < listedAtMost; ++i)
    text += duplicateText(duplicates[i], path) + "\n";
  if (duplicates.size() > listedAtMost)
    text += moreDuplicatesText(duplicates.size() - listedAtMost, path) + "\n";
  return text;
}

}  // namespace

const char* pairingName(PairingMode mode) {
  return mode == PairingMode::ByName ? "nach Punktnummer" : "nach Reihenfolge";
}

std::string mismatchText(const NameMismatch& mismatch) {
  return "Paar " + number(mismatch.position) + ": Altsystem " + quoted(mismatch.oldName) +
         ", Neusystem " + quoted(mismatch.newName);
}

std::string moreMismatchesText(std::size_t more) {
  return "… und " + number(more) + " weitere Paare mit verschiedenen Namen.";
}

std::string duplicateText(const DuplicateName& duplicate, std::string_view path) {
  std::string positions;
  for (const std::size_t position : duplicate.positions)
    positions += (positions.empty() ? "" : ", ") + number(position);
  return "Punktname " + quoted(duplicate.name) + " kommt in " + toolkit::DisplayText(path) +
         " mehrfach vor (Punkte " + positions + ").";
}

std::string moreDuplicatesText(std::size_t more, std::string_view path) {
  return "… und " + number(more) + " weitere mehrfache Namen in " + toolkit::DisplayText(path) + ".";
}

std::string unpairedText(bool oldSystem, const std::vector<UnpairedName>& points,
                         std::size_t listedAtMost) {
  std::string text = std::string(oldSystem ? "nur im Altsystem (" : "nur im Neusystem (") +
                     number(points.size()) + "): ";
  for (std::size_t i = 0; i < points.size() && i < listedAtMost; ++i)
    text += (i == 0 ? "" : ", ") + toolkit::DisplayText(points[i].name);
  if (points.size() > listedAtMost) text += " … (" + number(points.size() - listedAtMost) + " weitere)";
  return text;
}

std::string unnamedText(std::size_t unnamedOld, std::size_t unnamedNew) {
  return "Punkte ohne Namen werden nicht gepaart (Altsystem " + number(unnamedOld) +
         ", Neusystem " + number(unnamedNew) + ").";
}

std::string refusalText(const PairsInForce& pairs, std::string_view oldPath,
                        std::string_view newPath, std::string_view choice,
                        std::size_t listedAtMost) {
  const std::string prefix = std::string(choice) + ": ";
  switch (pairs.refusal()) {
    case PairingRefusal::None:
      return {};
    case PairingRefusal::OldWithoutNames:
    case PairingRefusal::NewWithoutNames: {
      const std::string_view path = pairs.refusal() == PairingRefusal::OldWithoutNames ? oldPath : newPath;
      return prefix + toolkit::DisplayText(path) +
             " enthält keine Punktnamen; Paaren nach Namen ist nicht möglich.";
    }
    case PairingRefusal::DuplicateNames:
      break;
  }
  const PairingFindings& findings = pairs.findings();
  return duplicatesText(findings.duplicatesOld, oldPath, listedAtMost) +
         duplicatesText(findings.duplicatesNew, newPath, listedAtMost) + std::string(choice) +
         " verlangt eindeutige Punktnamen; es wurde nichts berechnet.";
}

std::string findingsSummary(const PairingFindings& findings) {
  std::string text;
  const auto add = [&text](std::size_t count, const char* one, const char* many) {
    if (count == 0) return;
    if (!text.empty()) text += ", ";
    text += counted(count, one, many);
  };
  add(findings.mismatches.count, "Paar mit verschiedenen Namen", "Paare mit verschiedenen Namen");
  add(findings.duplicatesOld.size() + findings.duplicatesNew.size(), "Name mehrfach", "Namen mehrfach");
  add(findings.onlyOld.size() + findings.onlyNew.size(), "Punkt ohne Partner", "Punkte ohne Partner");
  add(findings.unnamedOld + findings.unnamedNew, "Punkt ohne Namen", "Punkte ohne Namen");
  return text;
}

std::size_t findingRowCount(const PairingFindings& findings) {
  const MismatchScan& scan = findings.mismatches;
  return scan.first.size() + (scan.count > scan.first.size() ? 1 : 0) + findings.duplicatesOld.size() +
         findings.duplicatesNew.size() + findings.onlyOld.size() + findings.onlyNew.size() +
         (findings.unnamedOld + findings.unnamedNew != 0 ? 1 : 0);
}

FindingRow findingRow(const PairingFindings& findings, std::size_t row) {
  const MismatchScan& scan = findings.mismatches;
  if (row < scan.first.size()) {
    const NameMismatch& mismatch = scan.first[row];
    return {"Namen verschieden", "Paar " + number(mismatch.position),
            toolkit::DisplayText(mismatch.oldName), toolkit::DisplayText(mismatch.newName)};
  }
  row -= scan.first.size();
  if (scan.count > scan.first.size()) {
    if (row == 0)
      return {"Namen verschieden", "… und " + counted(scan.count - scan.first.size(), "weiteres Paar", "weitere Paare"),
              "", ""};
    --row;
  }
  for (const bool oldSystem : {true, false}) {
    const std::vector<DuplicateName>& duplicates = oldSystem ? findings.duplicatesOld : findings.duplicatesNew;
    if (row < duplicates.size()) {
      const std::string name = toolkit::DisplayText(duplicates[row].name);
      return {"Name mehrfach", positionsText(duplicates[row].positions), oldSystem ? name : "",
              oldSystem ? "" : name};
    }
    row -= duplicates.size();
  }
  for (const bool oldSystem : {true, false}) {
    const std::vector<UnpairedName>& unpaired = oldSystem ? findings.onlyOld : findings.onlyNew;
    if (row < unpaired.size()) {
      const std::string name = toolkit::DisplayText(unpaired[row].name);
      return {"ohne Partner", "Punkt " + number(unpaired[row].position), oldSystem ? name : "",
              oldSystem ? "" : name};
    }
    row -= unpaired.size();
  }
  return {"ohne Namen", "nicht gepaart", counted(findings.unnamedOld, "Punkt", "Punkte"),
          counted(findings.unnamedNew, "Punkt", "Punkte")};
}

}  // namespace pairing
