// Formats the protocol: a header naming the files and the pairing, then the sections of
// the main window ("Parameter", "Schwerpunkt der Paßpunkte", "Verbesserungen Zielsystem").
#include "Protocol.h"

#include "ChunkedOutput.h"
#include "TextConversions.h"

#include <string>

namespace cli {

namespace {

// Values are right-aligned like the window's value labels, so that they line up on
// their last digit.
constexpr std::size_t kValueWidth = 16;
constexpr std::size_t kColumnWidth = 14;
constexpr std::size_t kNumberColumnWidth = 8;

std::string padLeft(std::string_view text, std::size_t width) {
  std::string padded;
  if (text.size() < width) padded.assign(width - text.size(), ' ');
  padded.append(text);
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

std::string fileLine(std::string_view label, const InputFile& file) {
  std::string line(label);
  line += toolkit::DisplayText(file.path) + "  (" + std::to_string(file.pointCount) +
          (file.pointCount == 1 ? " Punkt" : " Punkte");
  if (!file.badLines.empty())
    line += ", " + std::to_string(file.badLines.size()) + " fehlerhafte Zeilen übersprungen";
  return line + ")\n";
}

void writeHeader(ChunkedOutput& out, const Report& report) {
  if (report.applyOnly) {
    out << "Helmert-Transformation Alt -> Neu mit bekannten Parametern\n";
    out << fileLine("Altsystem:  ", report.oldFile);
    return;
  }
  out << "Helmert-Transformation Alt -> Neu\n";
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
    out << "Paßpunkte:  n = " + std::to_string(n) +
               ", Redundanz 2n - 4 = " + std::to_string(redundancy(n)) + "\n";
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
  const long double ppm = (static_cast<long double>(report.run.scale) - 1.0L) * 1e6L;
  out << valueLine("m - 1 = ",
                   toolkit::FloatToStrF(ppm, toolkit::TFloatFormat::ffFixed, 11, 4, sep), "ppm");
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
  const kel::TKEL_Vovezorevarovaduvorir& solver = *report.solver;
  // The running number is the window's first column; the point name follows at the end,
  // where the old file has names, so that a row can be found in the files.
  const bool named = report.oldPairs != nullptr && !report.oldPairs->names.empty();
  out << "\nVerbesserungen Zielsystem\n";
  out << padLeft("Pkt.", kNumberColumnWidth) + padLeft("RW", kColumnWidth) +
             padLeft("HW", kColumnWidth) + (named ? "  Name\n" : "\n");
  const int n = report.run.pointCount;
  std::string row;
  for (int i = 0; i < n; ++i) {
    row = padLeft(std::to_string(i + 1), kNumberColumnWidth);
    row += padLeft(compute::residualText(solver.residual_rw(i), sep), kColumnWidth);
    row += padLeft(compute::residualText(solver.residual_hw(i), sep), kColumnWidth);
    if (named) {
      row += "  ";
      row += toolkit::DisplayText(report.oldPairs->nameAt(static_cast<std::size_t>(i)));
    }
    row += '\n';
    out << row;
  }
  out << padLeft(compute::kSumRowText, kNumberColumnWidth) +
             padLeft(compute::residualText(solver.residual_rw_sum(), sep), kColumnWidth) +
             padLeft(compute::residualText(solver.residual_hw_sum(), sep), kColumnWidth) + "\n";
}

}  // namespace

void writeProtocol(std::ostream& stream, const Report& report, char sep) {
  ChunkedOutput out(stream);
  writeHeader(out, report);
  if (report.hasParameters()) writeParameters(out, report, sep);
  if (report.hasCentroids()) writeCentroids(out, report, sep);
  if (report.hasResiduals()) writeResiduals(out, report, sep);
  if (!report.resultPath.empty())
    out << "\nErgebnisdatei: " + toolkit::DisplayText(report.resultPath) + "  (" +
               std::to_string(report.transformedPoints) + " Punkte transformiert)\n";
}

}  // namespace cli
