// Which figures of a control point pair a table shows, and which read "–": the rule the
// window's pair table, the protocol's table and tramis-cli's protocol all follow.
//   residuals vRW, vHW            always
//   redundancy share r            for an active pair (a switched-off pair takes no part
//                                 in the estimate), once there is an estimate
//   gaps (RW, HW, length)         where the gap is defined (r not zero; check points always)
//   T, k                          where the pair's test is defined; an infinite T reads "∞"
// ControlPointAnalysis.h says when each is defined.
#pragma once

#include "ControlPointAnalysis.h"

#include <string>

namespace analysis {

enum class PairFigure { GapRW, GapHW, Gap, Share, Test, Critical };

// Whether `figure` of `pair` has a value to show.
bool isShown(const PairStatistics& pair, PairFigure figure);

// The cell text of `figure`: the figure in its format (AnalysisTexts), or
// kNotAvailableText where it is not shown. `analysis` gives the critical value k.
std::string pairCellText(const ControlPointAnalysis& analysis, const PairStatistics& pair,
                         PairFigure figure, char sep);

}  // namespace analysis
