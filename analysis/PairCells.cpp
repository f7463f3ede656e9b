// The cells of a pair that may read "–".
#include "PairCells.h"

#include "AnalysisTexts.h"

namespace analysis {

bool isShown(const PairStatistics& pair, PairFigure figure) {
  switch (figure) {
    case PairFigure::GapRW:
    case PairFigure::GapHW:
    case PairFigure::Gap: return pair.gapShown;
    case PairFigure::Share: return pair.shareShown && pair.active;
    case PairFigure::Test:
    case PairFigure::Critical: return pair.testShown;
  }
  return false;
}

std::string pairCellText(const ControlPointAnalysis& analysis, const PairStatistics& pair,
                         PairFigure figure, char sep) {
  if (!isShown(pair, figure)) return kNotAvailableText;
  switch (figure) {
    case PairFigure::GapRW: return gapText(pair.gapRW(), sep);
    case PairFigure::GapHW: return gapText(pair.gapHW(), sep);
    case PairFigure::Gap: return gapText(pair.gapLength(), sep);
    case PairFigure::Share: return redundancyShareText(pair.r, sep);
    case PairFigure::Test: return testValueText(pair.T, sep);
    case PairFigure::Critical: return testValueText(analysis.criticalOf(pair), sep);
  }
  return kNotAvailableText;
}

}  // namespace analysis
