// The section "Restklaffenverteilung" of the text protocol: method and settings, the
// control points used, the largest and mean correction at the points of ALT, the check
// points (switched-off pairs) after the distribution, and the files written with it.
#include "DistributionProtocol.h"

#include "DistributionTexts.h"
#include "ParameterRun.h"
#include "TextConversions.h"

#include <string>

namespace cli {

namespace {

constexpr std::size_t kNumberColumnWidth = 8;
constexpr std::size_t kColumnWidth = 14;

std::string rightAligned(const std::string& text, std::size_t width) {
  std::size_t shown = 0;  // characters, not bytes: "–" takes one column
  for (const char c : text) shown += (static_cast<unsigned char>(c) & 0xC0) != 0x80 ? 1 : 0;
  return (shown < width ? std::string(width - shown, ' ') : std::string(" ")) + text;
}

std::string metres(double value, char sep) { return compute::residualText(value, sep) + " m"; }

std::string methodLine(const distribution::Settings& settings, char sep) {
  std::string line = "  Verfahren:  " + std::string(distribution::methodName(settings.method));
  if (settings.radius) line += ", Radius " + metres(*settings.radius, sep);
  if (settings.delta) line += ", δ = " + metres(*settings.delta, sep);
  return line + "\n";
}

void writeSummary(ChunkedOutput& out, const DistributionSummary& summary, char sep) {
  out << methodLine(summary.settings, sep);
  out << "  Paßpunkte:  " + std::to_string(summary.controlPoints) + " aktive Paßpunkte verwendet\n";
  out << "  Punkte von ALT: " + std::to_string(summary.points) + ", davon " + std::to_string(summary.corrected) +
             " verbessert";
  if (summary.corrected < summary.points)
    out << " (" + std::to_string(summary.points - summary.corrected) + " ohne Verbesserung)";
  out << "\n";
  if (summary.corrected != 0) {
    out << "  Größte Verbesserung:   " + metres(summary.largest, sep) + "  (" +
               toolkit::DisplayText(summary.largestName) + ")\n";
    out << "  Mittlere Verbesserung: " + metres(summary.mean, sep) + "\n";
  }
  if (summary.checkPoints.empty()) return;
  out << "  Kontrollpunkte nach der Verteilung (Neu - (transformiert + Verbesserung)):\n";
  out << rightAligned("Pkt.", kNumberColumnWidth) + rightAligned("RW", kColumnWidth) +
             rightAligned("HW", kColumnWidth) + "  Name\n";
  for (const CheckPointDeviation& check : summary.checkPoints) {
    std::string row = rightAligned(std::to_string(check.pair + 1), kNumberColumnWidth);
    row += rightAligned(compute::residualText(check.dRW, sep), kColumnWidth);
    row += rightAligned(compute::residualText(check.dHW, sep), kColumnWidth);
    row += "  " + toolkit::DisplayText(check.name);
    if (!check.corrected) row += "  (ohne Verbesserung)";
    out << row + "\n";
  }
}

}  // namespace

void writeDistributionProtocol(ChunkedOutput& out, const Report& report, char sep) {
  if (!report.distribution) return;
  const DistributionReport& distribution = *report.distribution;
  if (!distribution.summary && !distribution.transformed && distribution.tinshiftPath.empty()) return;
  out << "\nRestklaffenverteilung\n";
  if (distribution.summary)
    writeSummary(out, *distribution.summary, sep);
  else
    out << "  keine (Transformation ohne Verbesserung)\n";
  if (distribution.transformed) {
    const TransformedFile& file = *distribution.transformed;
    out << "  Transformierte Datei: " + toolkit::DisplayText(file.path) + "  (" + std::to_string(file.points) +
               (file.points == 1 ? " Punkt" : " Punkte");
    if (!file.badLines.empty()) out << ", " + std::to_string(file.badLines.size()) + " fehlerhafte Zeilen übersprungen";
    if (distribution.summary) out << ", " + std::to_string(file.uncorrected) + " ohne Verbesserung";
    out << ")\n";
  }
  if (!distribution.tinshiftPath.empty())
    out << "  PROJ-tinshift-Datei: " + toolkit::DisplayText(distribution.tinshiftPath) + "\n";
}

}  // namespace cli
