// Texts of the section "Restklaffenverteilung".
#include "DistributionContent.h"

#include "DistributionTexts.h"
#include "ParameterRun.h"

namespace protocol {

DistributionContent gatherDistribution(const distribution::CorrectionSummary& summary, char sep) {
  DistributionContent content;
  content.method = distribution::methodName(summary.settings.method);
  std::vector<LabelledValue>& figures = content.figures;
  if (summary.settings.radius) figures.push_back({"Radius", compute::residualText(*summary.settings.radius, sep), "m"});
  if (summary.settings.delta) figures.push_back({"δ", compute::residualText(*summary.settings.delta, sep), "m"});
  figures.push_back({"Paßpunkte", std::to_string(summary.controlPoints), "aktive Paßpunkte verwendet"});
  std::string corrected = "(davon " + std::to_string(summary.corrected) + " verbessert";
  if (summary.corrected < summary.points)
    corrected += ", " + std::to_string(summary.points - summary.corrected) + " ohne Verbesserung";
  corrected += ")";
  figures.push_back({"Punkte des Altsystems", std::to_string(summary.points), corrected});
  if (summary.corrected != 0) {
    figures.push_back({"Größte Verbesserung", compute::residualText(summary.largest, sep), "m (" + summary.largestName + ")"});
    figures.push_back({"Mittlere Verbesserung", compute::residualText(summary.mean, sep), "m"});
  }
  if (summary.checkPoints.empty()) {
    content.checkPointLead = "Keine Kontrollpunkte: alle Paßpunkte sind aktiv.";
    return content;
  }
  content.checkPointLead = "Kontrollpunkte (abgeschaltete Paßpunkte) nach der Verteilung, Neu − (transformiert + Verbesserung) [m]:";
  for (const distribution::CheckPointDeviation& check : summary.checkPoints)
    content.checkPoints.push_back({std::to_string(check.pair + 1), check.name, compute::residualText(check.dRW, sep),
                                   compute::residualText(check.dHW, sep),
                                   check.corrected ? "" : "ohne Verbesserung"});
  return content;
}

}  // namespace protocol
