// The section "Restklaffenverteilung" of the text protocol: method and settings, the
// control points used, the largest and mean correction at the points of ALT, the check
// points (switched-off pairs) after the distribution, and the files written with it.
#include "DistributionProtocol.h"

#include "DistributionContent.h"
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

void writeSummary(ChunkedOutput& out, const distribution::CorrectionSummary& summary, char sep) {
  const protocol::DistributionContent content = protocol::gatherDistribution(summary, sep);
  out << "  Verfahren: " + content.method + "\n";
  for (const protocol::LabelledValue& figure : content.figures)
    out << "  " + figure.label + ": " + figure.value + (figure.note.empty() ? "" : " " + toolkit::DisplayText(figure.note)) +
               "\n";
  out << "  " + content.checkPointLead + "\n";
  if (content.checkPoints.empty()) return;
  const auto& h = protocol::kCheckPointHeadings;
  out << rightAligned(h[0], kNumberColumnWidth) + rightAligned(h[2], kColumnWidth) + rightAligned(h[3], kColumnWidth) +
             "  " + h[1] + "\n";
  for (const auto& cells : content.checkPoints) {
    std::string row = rightAligned(cells[0], kNumberColumnWidth) + rightAligned(cells[2], kColumnWidth) +
                      rightAligned(cells[3], kColumnWidth) + "  " + toolkit::DisplayText(cells[1]);
    if (!cells[4].empty()) row += "  (" + cells[4] + ")";
    out << row + "\n";
  }
}

}  // namespace

void writeDistributionProtocol(ChunkedOutput& out, const Report& report, char sep) {
  if (!report.distribution) return;
  const DistributionReport& distribution = *report.distribution;
  if (!distribution.summary && !distribution.transformed && distribution.tinshiftPath.empty()) return;
  out << std::string("\n") + protocol::kDistributionHeading + "\n";
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
