// Formats the protocol: a header naming the files and the pairing, then the sections of
// the main window ("Parameter", "Schwerpunkt der Paßpunkte", "Verbesserungen Zielsystem").
#include "Protocol.h"

#include "AnalysisTexts.h"
#include "InputFormat.h"
#include "ModelReport.h"
#include "PairCells.h"
#include "ChunkedOutput.h"
#include "DistributionProtocol.h"
#include "TextConversions.h"

#include <string>

namespace cli {

namespace {

// Values are right-aligned like the window's value labels, so that they line up on
// their last digit.
constexpr std::size_t kValueWidth = 16;
constexpr std::size_t kColumnWidth = 14;
constexpr std::size_t kNumberColumnWidth = 8;

// Characters, not bytes, of UTF-8 text: what a column on the terminal takes.
std::size_t characters(std::string_view text) {
  std::size_t count = 0;
  for (const char c : text) count += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return count;
}

std::string padLeft(std::string_view text, std::size_t width) {
  std::string padded;
  const std::size_t shown = characters(text);
  if (shown < width) padded.assign(width - shown, ' ');
  padded.append(text);
  return padded;
}

// A cell of a table: right-aligned in `width` characters, and at least one blank before it
// however wide the value is, so that no value runs into its left neighbour.
std::string cell(std::string_view text, std::size_t width) {
  std::string padded = padLeft(text, width);
  if (padded.empty() || padded.front() != ' ') padded.insert(padded.begin(), ' ');
  return padded;
}

// Labels are padded to one width so that all values of the section share their right edge.
constexpr std::size_t kLabelWidth = 8;

std::string valueLine(std::string_view label, std::string_view value, std::string_view unit = {}) {
  std::string line = "  ";
  line.append(label);
  if (label.size() < kLabelWidth) line.append(kLabelWidth - label.size(), ' ');
  line.append(padLeft(value, kValueWidth));
  if (!unit.empty()) {
    line.push_back(' ');
    line.append(unit);
  }
  line.push_back('\n');
  return line;
}

// "1 Punkt", "3 Punkte".
std::string pointCountText(std::size_t count) {
  return std::to_string(count) + (count == 1 ? " Punkt" : " Punkte");
}

std::string fileLine(std::string_view label, const InputFile& file) {
  std::string line(label);
  line += toolkit::DisplayText(file.path) + "  (" + pointCountText(file.pointCount);
  if (!file.badLines.empty())
    line += ", " + std::to_string(file.badLines.size()) + " fehlerhafte Zeilen übersprungen";
  // How the file was read, on a line of its own under its name.
  return line + ")\n            Format: " + formatText(file) + "\n";
}

void writeHeader(ChunkedOutput& out, const Report& report) {
  if (report.applyOnly) {
    out << "Helmert-Transformation Alt -> Neu mit bekannten Parametern\n";
    out << fileLine("Altsystem:  ", report.oldFile);
    return;
  }
  out << modelHeadLine(report);
  out << fileLine("Altsystem:  ", report.oldFile);
  out << fileLine("Neusystem:  ", report.newFile);
  if (report.pairing == Pairing::ByName) {
    out << "Paarung:    nach Punktnamen";
    if (!report.onlyOld.empty() || !report.onlyNew.empty())
      out << " (nur im Altsystem: " + std::to_string(report.onlyOld.size()) +
                 ", nur im Neusystem: " + std::to_string(report.onlyNew.size()) + ")";
    out << '\n';
  } else {
    out << "Paarung:    nach Reihenfolge";
    if (report.nameMismatches != 0)
      out << " (" + std::to_string(report.nameMismatches) + " Paare mit verschiedenen Namen)";
    out << '\n';
  }
  if (report.outcome != Outcome::InputError && report.outcome != Outcome::EmptyInput) {
    const int n = report.run.pointCount;
    const models::Model model = reportModel(report);
    out << "Paßpunkte:  n = " + std::to_string(n) + ", Redundanz 2n - " +
               std::to_string(models::parameterCount(model)) + " = " +
               std::to_string(models::redundancy(model, n)) + "\n";
  }
}

void writeParameters(ChunkedOutput& out, const Report& report, char sep) {
  const compute::ParameterTexts texts = compute::parameterTexts(*report.solver, report.run, sep);
  out << "\nParameter\n";
  out << valueLine("Xo = ", texts.X);
  out << valueLine("Yo = ", texts.Y);
  out << valueLine("a  = ", texts.a);
  out << valueLine("o  = ", texts.o);
  out << valueLine("m  = ", texts.m);
  out << valueLine("d  = ", texts.d, "gon");
  if (!report.applyOnly) out << valueLine("So = ", texts.So);
  out << valueLine("m - 1 = ", compute::scalePpmText(report.run.scale, sep), "ppm");
  if (report.hasAnalysis()) out << "  " + analysis::activeCountLine(*report.pairAnalysis) + "\n";
}

void writeCentroids(ChunkedOutput& out, const Report& report, char sep) {
  const compute::CentroidTexts texts = compute::centroidTexts(*report.solver, sep);
  out << "\nSchwerpunkt der Paßpunkte\n";
  out << "  Ausgangssystem  hw = " + padLeft(texts.HWAS, kValueWidth) +
             "  rw = " + padLeft(texts.RWAS, kValueWidth) + "\n";
  out << "  Zielsystem      hw = " + padLeft(texts.HWZS, kValueWidth) +
             "  rw = " + padLeft(texts.RWZS, kValueWidth) + "\n";
}

void writeResiduals(ChunkedOutput& out, const Report& report, char sep) {
  // Every pair, switched-off ones included: their residual is that of a check point.
  const std::vector<analysis::PairStatistics>& pairs = report.pairAnalysis->pairs;
  // The running number is the window's first column; the point name follows at the end,
  // where the old file has names, so that a row can be found in the files.
  const bool named = !report.oldPairs->names.empty();
  out << "\nVerbesserungen Zielsystem\n";
  out << padLeft("Pkt.", kNumberColumnWidth) + cell("RW", kColumnWidth) +
             cell("HW", kColumnWidth) + (named ? "  Name\n" : "\n");
  std::string row;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    row = padLeft(std::to_string(i + 1), kNumberColumnWidth);
    row += cell(compute::residualText(pairs[i].vRW(), sep), kColumnWidth);
    row += cell(compute::residualText(pairs[i].vHW(), sep), kColumnWidth);
    if (named) {
      row += "  ";
      row += toolkit::DisplayText(report.oldPairs->nameAt(i));
    }
    row += '\n';
    out << row;
  }
  const ResidualSums sums = residualSums(report);
  out << padLeft(compute::kSumRowText, kNumberColumnWidth) + cell(compute::residualText(sums.rw, sep), kColumnWidth) +
             cell(compute::residualText(sums.hw, sep), kColumnWidth) + "\n";
  if (report.pairAnalysis->activeCount < pairs.size())
    out << "  (Summe der aktiven Paßpunkte; abgeschaltete Paßpunkte sind Kontrollpunkte.)\n";
}

constexpr std::size_t kShareColumnWidth = 8;
constexpr std::size_t kTestColumnWidth = 10;
// Failed check points named one per line; beyond this many the rest is a count (the
// table above shows every pair anyway).
constexpr std::size_t kCheckPointLinesShown = 20;


// The point test of every pair: gap ("Klaffe"), redundancy share, test and critical value.
void writeAnalysis(ChunkedOutput& out, const Report& report, char sep) {
  const analysis::ControlPointAnalysis& result = *report.pairAnalysis;
  const PointList& oldPairs = *report.oldPairs;
  const PointList& newPairs = *report.newPairs;
  out << "\nPaßpunktanalyse (α = " + analysis::alphaText(result.alpha, sep) + ")\n";
  out << padLeft("Pkt.", kNumberColumnWidth) + "  aktiv" + padLeft("Klaffe RW", kColumnWidth) +
             padLeft("Klaffe HW", kColumnWidth) + padLeft("Klaffe", kColumnWidth) +
             padLeft("r", kShareColumnWidth) + padLeft("T", kTestColumnWidth) +
             padLeft("k", kTestColumnWidth) + "  Name\n";
  std::string row;
  for (std::size_t i = 0; i < result.pairs.size(); ++i) {
    const analysis::PairStatistics& pair = result.pairs[i];
    auto figure = [&](analysis::PairFigure shown, std::size_t width) {
      return cell(analysis::pairCellText(result, pair, shown, sep), width);
    };
    row = padLeft(std::to_string(i + 1), kNumberColumnWidth);
    row += pair.active ? "     ja" : "   nein";
    row += figure(analysis::PairFigure::GapRW, kColumnWidth);
    row += figure(analysis::PairFigure::GapHW, kColumnWidth);
    row += figure(analysis::PairFigure::Gap, kColumnWidth);
    row += figure(analysis::PairFigure::Share, kShareColumnWidth);
    row += figure(analysis::PairFigure::Test, kTestColumnWidth);
    row += figure(analysis::PairFigure::Critical, kTestColumnWidth);
    if (pair.outlier) row += std::string("  ") + analysis::kOutlierText;
    const std::string name = analysis::pairName(oldPairs, newPairs, i);
    if (!name.empty()) row += "  " + name;
    row += '\n';
    out << row;
  }
  const std::string suspect = analysis::suspectLine(result, oldPairs, newPairs, sep);
  if (!suspect.empty()) out << suspect + "\n";
  out << analysis::verdictLine(result, oldPairs, newPairs, sep) + "\n";
  for (const std::string& line : analysis::failedCheckPointLines(result, oldPairs, newPairs, sep, kCheckPointLinesShown))
    out << line + "\n";
}

}  // namespace

void writeProtocol(std::ostream& stream, const Report& report, char sep) {
  ChunkedOutput out(stream);
  writeHeader(out, report);
  if (report.hasParameters()) {
    if (otherThanHelmert(report))
      writeModelParameters(out, report, sep);
    else
      writeParameters(out, report, sep);
  }
  if (report.hasCentroids()) writeCentroids(out, report, sep);
  if (report.hasAnalysis()) {
    writeResiduals(out, report, sep);
    writeAnalysis(out, report, sep);
  }
  writeDistributionProtocol(out, report, sep);
  if (report.comparison) writeModelComparison(out, report, sep);
  if (!report.resultPath.empty())
    out << "\nErgebnisdatei: " + toolkit::DisplayText(report.resultPath) + "  (" +
               (report.resultFormat == ResultFormat::Csv ? "CSV, " : "") +
               pointCountText(report.transformedPoints) + " transformiert)\n";
  if (!report.pointsOutPath.empty())
    out << "QGIS-Paßpunktdatei: " + toolkit::DisplayText(report.pointsOutPath) + "  (" +
               std::to_string(report.pointsOutPairs) + (report.pointsOutPairs == 1 ? " Paar" : " Paare") + ")\n";
}

}  // namespace cli
