// Writes a run as JSON: one object, residuals one per line so that large files stay
// readable with line-based tools. Written by hand rather than with nlohmann-json, which
// would change the bytes: its dump() writes a whole-number double such as k = 27 as 27.0
// and a backspace in a name as \b (here \u0008), and lays out either without blanks or
// one key per line; a document tree of a million residual rows also takes about six
// times the memory of the estimate.
#include "Json.h"

#include "DistributionJson.h"

#include "AnalysisTexts.h"
#include "ChunkedOutput.h"
#include "InputFormat.h"
#include "ModelReport.h"
#include "ModelTexts.h"
#include "ProjOperation.h"
#include "TextConversions.h"

#include <charconv>
#include <cmath>

namespace cli {

namespace {

std::string number(long double value) { return roundTripText(static_cast<double>(value)); }

std::string count(std::size_t value) { return std::to_string(value); }

std::string stringArray(const std::vector<std::string>& items) {
  std::string text = "[";
  for (std::size_t i = 0; i < items.size(); ++i) {
    if (i != 0) text += ", ";
    text += jsonString(items[i]);
  }
  return text + "]";
}

void writeFile(ChunkedOutput& out, std::string_view key, const InputFile& file) {
  out << "  " << jsonString(key) << ": {\"path\": " << jsonString(file.path)
      << ", \"points\": " << count(file.pointCount) << ", \"badLines\": [";
  for (std::size_t i = 0; i < file.badLines.size(); ++i) {
    const BadLine& bad = file.badLines[i];
    out << (i == 0 ? "" : ", ") << "{\"line\": " << std::to_string(bad.lineNumber)
        << ", \"values\": " << jsonString(bad.firstShown + " " + bad.secondShown) << "}";
  }
  out << "], \"format\": " << formatJson(file) << "},\n";
}

void writeParameters(ChunkedOutput& out, const Report& report) {
  const kel::TKEL_Vovezorevarovaduvorir& solver = *report.solver;
  // a and o as the window shows them: rounded to double.
  out << "  \"parameters\": {\"Xo\": " << number(solver.Xo) << ", \"Yo\": " << number(solver.Yo)
      << ", \"a\": " << number(solver.a) << ", \"o\": " << number(solver.o) << "},\n";
  out << "  \"m\": " << roundTripText(report.run.scale) << ",\n";
  out << "  \"dGon\": " << roundTripText(report.run.rotation) << ",\n";
  out << "  \"scalePpm\": " << roundTripText((report.run.scale - 1.0) * 1e6) << ",\n";
  if (!report.applyOnly) out << "  \"So\": " << roundTripText(report.run.So) << ",\n";
  out << "  \"proj\": " << jsonString(projOperation(solver)) << ",\n";
}

void writeCentroids(ChunkedOutput& out, const Report& report) {
  // centroid rows: 0 rw old, 1 hw old, 2 RW new, 3 HW new
  const kel::matrix& centroid = report.solver->centroid;
  out << "  \"centroid\": {\"old\": {\"rw\": " << number(centroid.row(0)[0])
      << ", \"hw\": " << number(centroid.row(1)[0]) << "}, \"new\": {\"rw\": "
      << number(centroid.row(2)[0]) << ", \"hw\": " << number(centroid.row(3)[0]) << "}},\n";
}

// A figure of the point test, or null where it is not available.
std::string figure(bool available, long double value) { return available ? number(value) : "null"; }

std::string boolean(bool value) { return value ? "true" : "false"; }

void writeResiduals(ChunkedOutput& out, const Report& report) {
  const bool oldNamed = !report.oldPairs->names.empty();
  const bool newNamed = !report.newPairs->names.empty();
  // Every pair, switched-off ones included, with its point test.
  const std::vector<analysis::PairStatistics>& pairs = report.pairAnalysis->pairs;
  out << "  \"residuals\": [";
  std::string row;
  for (std::size_t i = 0; i < pairs.size(); ++i) {
    const analysis::PairStatistics& pair = pairs[i];
    const bool tested = pair.testShown;
    row = i == 0 ? "\n    {\"pkt\": " : ",\n    {\"pkt\": ";
    row += std::to_string(i + 1);
    if (oldNamed) row += ", \"oldName\": " + jsonString(report.oldPairs->nameAt(i));
    if (newNamed) row += ", \"newName\": " + jsonString(report.newPairs->nameAt(i));
    row += ", \"RW\": " + number(pair.vRW());
    row += ", \"HW\": " + number(pair.vHW());
    row += ", \"active\": " + boolean(pair.active);
    row += ", \"r\": " + figure(pair.shareShown && pair.active, pair.r);
    row += ", \"gapRW\": " + figure(pair.gapShown, pair.gapRW());
    row += ", \"gapHW\": " + figure(pair.gapShown, pair.gapHW());
    // JSON has no infinity: an infinite T is null, marked as such (the pair is an outlier).
    row += ", \"T\": " + figure(tested && !pair.testIsInfinite(), pair.T);
    if (pair.testIsInfinite()) row += ", \"TInfinite\": true";
    row += ", \"dof\": " + (tested ? std::to_string(report.pairAnalysis->dofOf(pair)) : std::string("null"));
    row += ", \"critical\": " + figure(tested, report.pairAnalysis->criticalOf(pair));
    row += ", \"outlier\": " + boolean(pair.outlier) + "}";
    out << row;
  }
  out << "\n  ],\n";
  const ResidualSums sums = residualSums(report);
  out << "  \"residualSum\": {\"RW\": " << number(sums.rw) << ", \"HW\": " << number(sums.hw) << "},\n";
}

}  // namespace

std::string roundTripText(double value) {
  if (!std::isfinite(value)) return "null";
  char text[32];
  const std::to_chars_result result = std::to_chars(text, text + sizeof text, value);
  return std::string(text, result.ptr);
}

std::string jsonString(std::string_view bytes) {
  const std::string text = toolkit::DisplayText(bytes);
  std::string quoted = "\"";
  for (const char c : text) {
    switch (c) {
      case '"': quoted += "\\\""; break;
      case '\\': quoted += "\\\\"; break;
      case '\n': quoted += "\\n"; break;
      case '\r': quoted += "\\r"; break;
      case '\t': quoted += "\\t"; break;
      default:
        if (static_cast<unsigned char>(c) < 0x20) {
          static constexpr char kHex[] = "0123456789abcdef";
          quoted += "\\u00";
          quoted += kHex[(c >> 4) & 0xF];
          quoted += kHex[c & 0xF];
        } else {
          quoted += c;
        }
    }
  }
  return quoted + "\"";
}

std::string_view outcomeName(Outcome outcome) {
  switch (outcome) {
    case Outcome::Success: return "ok";
    case Outcome::InputError: return "inputError";
    case Outcome::EmptyInput: return "emptyInput";
    case Outcome::TooFewPairs: return "tooFewPairs";
    case Outcome::PointsCoincide: return "pointsCoincide";
    case Outcome::PointsCollinear: return "pointsCollinear";
    case Outcome::NotRepresentable: return "notRepresentable";
    case Outcome::WriteFailed: return "writeFailed";
    case Outcome::DistributionFailed: return "distributionFailed";
  }
  return "inputError";
}

void writeJson(std::ostream& stream, const Report& report) {
  ChunkedOutput out(stream);
  out << "{\n";
  out << "  \"status\": " << jsonString(outcomeName(report.outcome)) << ",\n";
  out << "  \"message\": " << (report.message.empty() ? "null" : jsonString(report.message)) << ",\n";
  out << "  \"mode\": " << (report.applyOnly ? "\"apply\"" : "\"estimate\"") << ",\n";
  writeFile(out, "old", report.oldFile);
  if (!report.applyOnly) {
    writeFile(out, "new", report.newFile);
    out << "  \"pairing\": " << (report.pairing == Pairing::ByName ? "\"name\"" : "\"position\"")
        << ",\n";
    out << "  \"nameMismatches\": " << count(report.nameMismatches) << ",\n";
    out << "  \"onlyOld\": " << stringArray(report.onlyOld) << ",\n";
    out << "  \"onlyNew\": " << stringArray(report.onlyNew) << ",\n";
    if (report.outcome != Outcome::InputError && report.outcome != Outcome::EmptyInput) {
      out << "  \"solverStatus\": " << std::to_string(report.solver->status) << ",\n";
      // n counts all pairs, the redundancy only the active ones.
      const analysis::ControlPointAnalysis* pairs = report.pairAnalysis;
      const std::size_t n = pairs ? pairs->pairCount : static_cast<std::size_t>(report.run.pointCount);
      out << "  \"n\": " << count(n) << ",\n";
      out << "  \"redundancy\": " << std::to_string(models::redundancy(reportModel(report), report.run.pointCount))
          << ",\n";
      out << "  \"activeCount\": " << count(pairs ? pairs->activeCount : n) << ",\n";
      out << "  \"suspect\": "
          << (report.hasAnalysis() && pairs->suspect ? count(*pairs->suspect + 1) : std::string("null")) << ",\n";
    }
    out << "  \"alpha\": " << roundTripText(report.alpha) << ",\n";
    if (report.model) out << "  \"model\": " << jsonString(analysis::modelKey(*report.model)) << ",\n";
    // Switched-off pairs whose test fails, by Pkt. number.
    out << "  \"failedCheckPoints\": [";
    if (report.hasAnalysis()) {
      const std::vector<std::size_t> failed = analysis::failedCheckPoints(*report.pairAnalysis);
      for (std::size_t i = 0; i < failed.size(); ++i) out << (i == 0 ? "" : ", ") << count(failed[i] + 1);
    }
    out << "],\n";
  }
  if (report.hasParameters()) {
    if (otherThanHelmert(report))
      writeModelJson(out, report);
    else
      writeParameters(out, report);
  }
  if (report.hasCentroids()) writeCentroids(out, report);
  if (report.hasAnalysis()) writeResiduals(out, report);
  writeDistributionJson(out, report);
  if (report.comparison) writeModelComparisonJson(out, report);
  out << "  \"resultFile\": ";
  if (report.resultPath.empty())
    out << "null,\n";
  else
    out << "{\"path\": " << jsonString(report.resultPath) << ", \"format\": "
        << (report.resultFormat == ResultFormat::Csv ? "\"csv\"" : "\"erg\"")
        << ", \"points\": " << count(report.transformedPoints) << "},\n";
  out << "  \"pointsFile\": ";
  if (report.pointsOutPath.empty())
    out << "null\n";
  else
    out << "{\"path\": " << jsonString(report.pointsOutPath)
        << ", \"pairs\": " << count(report.pointsOutPairs) << "}\n";
  out << "}\n";
}

}  // namespace cli
