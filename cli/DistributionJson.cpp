// The object "distribution" of the JSON output: the method and its settings, the
// corrections at the points of ALT, the check points after the distribution, and the files.
#include "DistributionJson.h"

#include "DistributionOptions.h"
#include "Json.h"

#include <string>

namespace cli {

namespace {

std::string optionalNumber(const std::optional<double>& value) { return value ? roundTripText(*value) : "null"; }

void writeSummary(ChunkedOutput& out, const distribution::CorrectionSummary& summary) {
  const distribution::Settings& settings = summary.settings;
  out << "\"method\": " << jsonString(distributionMethodName(settings.method))
      << ", \"radius\": " << optionalNumber(settings.radius) << ", \"delta\": " << optionalNumber(settings.delta)
      << ", \"controlPoints\": " << std::to_string(summary.controlPoints)
      << ", \"points\": " << std::to_string(summary.points)
      << ", \"corrected\": " << std::to_string(summary.corrected) << ", \"largestCorrection\": ";
  if (summary.corrected == 0)
    out << "null, \"meanCorrection\": null";
  else
    out << "{\"length\": " << roundTripText(summary.largest) << ", \"name\": " << jsonString(summary.largestName)
        << "}, \"meanCorrection\": " << roundTripText(summary.mean);
  out << ", \"checkPoints\": [";
  for (std::size_t i = 0; i < summary.checkPoints.size(); ++i) {
    const distribution::CheckPointDeviation& check = summary.checkPoints[i];
    out << (i == 0 ? "\n      " : ",\n      ") << "{\"pkt\": " << std::to_string(check.pair + 1)
        << ", \"name\": " << jsonString(check.name) << ", \"RW\": " << roundTripText(check.dRW)
        << ", \"HW\": " << roundTripText(check.dHW) << ", \"corrected\": " << (check.corrected ? "true" : "false")
        << "}";
  }
  out << (summary.checkPoints.empty() ? "]" : "\n    ]");
}

}  // namespace

void writeDistributionJson(ChunkedOutput& out, const Report& report) {
  if (!report.distribution) return;
  const DistributionReport& distribution = *report.distribution;
  out << "  \"distribution\": {";
  if (distribution.summary) {
    writeSummary(out, *distribution.summary);
  } else {
    out << "\"method\": null";
  }
  out << ", \"transformFile\": ";
  if (distribution.transformed)
    out << "{\"path\": " << jsonString(distribution.transformed->path)
        << ", \"points\": " << std::to_string(distribution.transformed->points)
        << ", \"badLines\": " << std::to_string(distribution.transformed->badLines.size())
        << ", \"uncorrected\": " << std::to_string(distribution.transformed->uncorrected) << "}";
  else
    out << "null";
  out << ", \"tinshiftFile\": "
      << (distribution.tinshiftPath.empty() ? std::string("null") : jsonString(distribution.tinshiftPath))
      << "},\n";
}

}  // namespace cli
