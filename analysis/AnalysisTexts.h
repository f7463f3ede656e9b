// The texts of the control-point analysis, shared by the window's "Paßpunktanalyse",
// tramis-cli and the protocol: number formats, the pair names, the count line, the
// verdict and the lines naming failed check points. Numbers carry the decimal separator
// the caller gives.
#pragma once

#include "ControlPointAnalysis.h"
#include "PointList.h"

#include <cstddef>
#include <limits>
#include <string>
#include <vector>

namespace analysis {

// Shown in place of a figure that is not available for a pair.
inline constexpr const char* kNotAvailableText = "–";
// The mark of a pair whose test value exceeds the critical value.
inline constexpr const char* kOutlierText = "Ausreißer";
// The mark of an outlier in the "Ausreißer" column of a table.
inline constexpr const char* kOutlierMark = "ja";

// A test value T that is infinite: the other pairs fit exactly and this one does not.
inline constexpr const char* kInfiniteTestText = "∞";
// The verdict when every active residual is round-off.
inline constexpr const char* kExactFitVerdict = "Die Paßpunkte passen exakt zusammen (alle Verbesserungen null).";

// Residuals and gaps: 4 decimals (as the residual grid shows residuals).
std::string gapText(long double value, char sep);
// Redundancy share r: 3 decimals.
std::string redundancyShareText(long double r, char sep);
// Test value T and critical value k: 2 decimals; an infinite T is kInfiniteTestText.
std::string testValueText(long double value, char sep);
// Significance level as a percentage: 0.001 -> "0,1 %", 0.05 -> "5 %".
std::string alphaText(double alpha, char sep);

// The name column of pair i: the old point's name, or "alt / neu" when the names of the
// pair differ; empty when neither file has names.
std::string pairName(const PointList& oldPairs, const PointList& newPairs, std::size_t i);

// Pair i as its Pkt. number and, where the pair has a name, the name in brackets:
// "7 (1007)", or "7".
std::string pairLabel(const PointList& oldPairs, const PointList& newPairs, std::size_t i);

// "n = 8 von 9 aktiv, Redundanz 12"
std::string activeCountLine(const ControlPointAnalysis& analysis);

// The pair with the largest test value, e.g. "Größte Prüfgröße: Punkt 7 (1007), T = 23,41,
// k = 18,49"; empty when no active pair has statistics.
std::string suspectLine(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                        const PointList& newPairs, char sep);

// The one-line verdict, e.g.
//   "Punkt 7 (1007) ist ausreißerverdächtig: T = 23,41 > k = 18,49 (α = 0,1 %)."
//   "Punkt 3 (P3) ist ausreißerverdächtig: T = ∞ > k = 27,00 (α = 0,1 %)."
//   "Kein Punkt ist ausreißerverdächtig (α = 0,1 %)."
//   kExactFitVerdict, when the active pairs fit exactly and have redundancy
//   "Kein Punkttest möglich: zu wenige aktive Paßpunkte (α = 0,1 %)."
//   "Kein Punkttest möglich: kein aktiver Paßpunkt wird von den übrigen kontrolliert (α = 0,1 %)."
//     (every active pair has r = 0)
// The name in brackets only where the pair has one.
std::string verdictLine(const ControlPointAnalysis& analysis, const PointList& oldPairs,
                        const PointList& newPairs, char sep);

// The switched-off pairs whose point test fails (T > k), in pairing order: check points
// that disagree with the estimate. The verdict speaks of the active pairs only; these are
// named in lines of their own.
std::vector<std::size_t> failedCheckPoints(const ControlPointAnalysis& analysis);

// One line per failed check point, in pairing order, e.g.
//   "Kontrollpunkt 7 (1007) weicht signifikant ab: T = 348,88 > k = 10,39."
// At most `shown` of them; when there are more, a last line gives the count of the rest:
//   "… und 12 weitere Kontrollpunkte weichen signifikant ab."
// No lines when every check point passes.
std::vector<std::string> failedCheckPointLines(const ControlPointAnalysis& analysis,
                                               const PointList& oldPairs, const PointList& newPairs,
                                               char sep,
                                               std::size_t shown = std::numeric_limits<std::size_t>::max());

}  // namespace analysis
