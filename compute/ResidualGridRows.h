// The rows of the main window's residual grid below its heading, as "Parameter" shows them
// and as the "Paßpunktanalyse" leaves them on "Übernehmen": one row per pair with its Pkt.
// number (followed by " (aus)" for a switched-off pair, a check point), vRW and vHW, then
// the row "Summe" with the sums of the residuals of the active pairs (those the solver
// holds, for Helmert). No user interface here; the window turns the texts into grid cells.
#pragma once

#include "Keltransformation.h"
#include "ProgressHandler.h"

#include <cstddef>
#include <functional>
#include <string>

namespace compute {

// Follows the Pkt. text of a switched-off pair.
inline constexpr const char* kSwitchedOffSuffix = " (aus)";

// A pair's residual as the grid shows it, and whether the pair took part in the estimate.
struct GridResidual {
  long double vRW = 0;
  long double vHW = 0;
  bool active = true;
};

// Hands the texts of the rows to `cell`, three per row, row by row: the rows of the
// `pairCount` pairs (pair i as `pairAt(i)` gives it), then the sums row of `solver`, all
// numbers with `sep`. `onProgress`, when given, hears now and then the share of the pair
// rows done.
void residualGridRows(std::size_t pairCount, const std::function<GridResidual(std::size_t)>& pairAt,
                      const kel::TKEL_Vovezorevarovaduvorir& solver, char sep,
                      const std::function<void(std::string&& text)>& cell,
                      const toolkit::ProgressHandler& onProgress = {});
// The same with the sums of the active pairs' residuals given: those of a model other than
// Helmert, which the solver does not hold.
void residualGridRows(std::size_t pairCount, const std::function<GridResidual(std::size_t)>& pairAt,
                      long double sumRW, long double sumHW, char sep,
                      const std::function<void(std::string&& text)>& cell,
                      const toolkit::ProgressHandler& onProgress = {});

}  // namespace compute
