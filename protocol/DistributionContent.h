// The section "Restklaffenverteilung" of the protocols: the method and its settings, the
// control points used, the largest and mean correction, and the check points after the
// distribution, as texts with the caller's decimal separator. The HTML and PDF writers and
// tramis-cli's text protocol lay these texts out; they format no number themselves.
#pragma once

#include "CorrectionSummary.h"
#include "ProtocolContent.h"

#include <array>
#include <string>
#include <vector>

namespace protocol {

inline constexpr const char* kDistributionHeading = "Restklaffenverteilung";

// The columns of the check point table: Pkt., Name, RW, HW, remark.
inline constexpr std::array<const char*, 5> kCheckPointHeadings = {"Pkt.", "Name", "RW", "HW", ""};

struct DistributionContent {
  std::string method;                 // "Gewichtung 1/s²"
  std::vector<LabelledValue> figures;  // settings, control points, points, largest and mean correction
  std::string checkPointLead;         // the line above the check point table
  std::vector<std::array<std::string, 5>> checkPoints;  // one row per switched-off pair
};

DistributionContent gatherDistribution(const distribution::CorrectionSummary& summary, char sep);

}  // namespace protocol
