// Formats the figures of the control-point analysis, its count and verdict lines and the
// lines of failed check points.
#include "AnalysisTexts.h"

#include "ParameterRun.h"
#include "TextConversions.h"

#include <algorithm>
#include <cmath>

namespace analysis {

namespace {

// Shares and test values are small numbers; 15 significant digits never cut a decimal.
constexpr int kPrecision = 15;

std::string fixedText(long double value, int digits, char sep) {
  return toolkit::FloatToStrF(value, toolkit::TFloatFormat::ffFixed, kPrecision, digits, sep);
}

// "Punkt 7 (1007)"
std::string pointText(const PointList& oldPairs, const PointList& newPairs, std::size_t i) {
  return "Punkt " + pairLabel(oldPairs, newPairs, i);
}

}  // namespace

std::string gapText(long double value, char sep) { return compute::residualText(value, sep); }

std::string redundancyShareText(long double r, char sep) { return fixedText(r, 3, sep); }

std::string testValueText(long double value, char sep) {
  return std::isinf(value) && value > 0 ? kInfiniteTestText : fixedText(value, 2, sep);
}

std::string alphaText(double alpha, char sep) {
  // As many decimals as the percentage needs, up to six.
  std::string text = fixedText(static_cast<long double>(alpha) * 100, 6, sep);
  const std::size_t separator = text.find(sep);
  if (separator != std::string::npos) {
    const std::size_t last = text.find_last_not_of('0');
    text.erase(last == separator ? separator : last + 1);
  }
  return text + " %";
}

std::string pairName(const PointList& oldPairs, const PointList& newPairs, std::size_t i) {
  const std::string oldName = toolkit::DisplayText(oldPairs.nameAt(i));
  const std::string newName = toolkit::DisplayText(newPairs.nameAt(i));
  if (newName.empty() || newName == oldName) return oldName;
  if (oldName.empty()) return newName;
  return oldName + " / " + newName;
}

std::string pairLabel(const PointList& oldPairs, const PointList& newPairs, std::size_t i) {
  std::string label = toolkit::IntToStr(static_cast<long long>(i) + 1);
  const std::string name = pairName(oldPairs, newPairs, i);
  if (!name.empty()) label += " (" + name + ")";
  return label;
}

std::string activeCountLine(const ControlPointAnalysis& analysis) {
  return "n = " + toolkit::IntToStr(static_cast<long long>(analysis.activeCount)) + " von " +
         toolkit::IntToStr(static_cast<long long>(analysis.pairCount)) + " aktiv, Redundanz " +
         toolkit::IntToStr(analysis.redundancy());
}

std::string verdictLine(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                        const PointList& newPairs, char sep) {
  const std::string level = "(α = " + alphaText(analysis.alpha, sep) + ")";
  if (!analysis.suspect) {
    if (analysis.exactFit && analysis.redundancy() > 0) return kExactFitVerdict;
    if (analysis.testDof(true) <= 0) return "Kein Punkttest möglich: zu wenige aktive Paßpunkte " + level + ".";
    if (!analysis.criticalActive) return "Kein Punkttest möglich: α muss zwischen 0 und 1 liegen.";
    return "Kein Punkttest möglich: kein aktiver Paßpunkt wird von den übrigen kontrolliert " + level + ".";
  }
  if (!analysis.suspectIsOutlier()) return "Kein Punkt ist ausreißerverdächtig " + level + ".";
  const PairStatistics& pair = analysis.pairs[*analysis.suspect];
  return pointText(oldPairs, newPairs, *analysis.suspect) + " ist ausreißerverdächtig: T = " +
         testValueText(pair.T, sep) + " > k = " + testValueText(analysis.criticalOf(pair), sep) + " " + level + ".";
}

std::string suspectLine(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                        const PointList& newPairs, char sep) {
  if (!analysis.suspect) return {};
  const PairStatistics& pair = analysis.pairs[*analysis.suspect];
  return "Größte Prüfgröße: " + pointText(oldPairs, newPairs, *analysis.suspect) +
         ", T = " + testValueText(pair.T, sep) + ", k = " + testValueText(analysis.criticalOf(pair), sep);
}

std::vector<std::size_t> failedCheckPoints(const ControlPointAnalysis& analysis) {
  std::vector<std::size_t> failed;
  for (std::size_t i = 0; i < analysis.pairs.size(); ++i)
    if (!analysis.pairs[i].active && analysis.pairs[i].outlier) failed.push_back(i);
  return failed;
}

std::vector<std::string> failedCheckPointLines(const ControlPointAnalysis& analysis,
                                               const PointList& oldPairs, const PointList& newPairs,
                                               char sep, std::size_t shown) {
  const std::vector<std::size_t> failed = failedCheckPoints(analysis);
  std::vector<std::string> lines;
  lines.reserve(std::min(failed.size(), shown) + 1);
  for (std::size_t n = 0; n < failed.size() && n < shown; ++n) {
    const PairStatistics& pair = analysis.pairs[failed[n]];
    lines.push_back("Kontrollpunkt " + pairLabel(oldPairs, newPairs, failed[n]) +
                    " weicht signifikant ab: T = " + testValueText(pair.T, sep) +
                    " > k = " + testValueText(analysis.criticalOf(pair), sep) + ".");
  }
  if (failed.size() > shown)
    lines.push_back("… und " + toolkit::IntToStr(static_cast<long long>(failed.size() - shown)) +
                    (failed.size() - shown == 1 ? " weiterer Kontrollpunkt weicht" : " weitere Kontrollpunkte weichen") +
                    " signifikant ab.");
  return lines;
}

}  // namespace analysis
