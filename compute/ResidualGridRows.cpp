// Makes the texts of the residual grid's rows.
#include "ResidualGridRows.h"

#include "ParameterRun.h"
#include "TextConversions.h"

#include <utility>

namespace compute {

namespace {

// Rows between two progress reports: often enough for a smooth bar, rarely enough to cost
// nothing.
constexpr std::size_t kRowsPerProgressStep = 1 << 16;

}  // namespace

void residualGridRows(std::size_t pairCount, const std::function<GridResidual(std::size_t)>& pairAt,
                      const kel::TKEL_Vovezorevarovaduvorir& solver, char sep,
                      const std::function<void(std::string&& text)>& cell,
                      const toolkit::ProgressHandler& onProgress) {
  residualGridRows(pairCount, pairAt, solver.residual_rw_sum(), solver.residual_hw_sum(), sep, cell, onProgress);
}

void residualGridRows(std::size_t pairCount, const std::function<GridResidual(std::size_t)>& pairAt,
                      long double sumRW, long double sumHW, char sep,
                      const std::function<void(std::string&& text)>& cell,
                      const toolkit::ProgressHandler& onProgress) {
  for (std::size_t i = 0; i < pairCount; ++i) {
    if (onProgress && (i + 1) % kRowsPerProgressStep == 0)
      onProgress(static_cast<double>(i + 1) / static_cast<double>(pairCount));
    const GridResidual pair = pairAt(i);
    std::string number = toolkit::IntToStr(static_cast<long long>(i) + 1);
    if (!pair.active) number += kSwitchedOffSuffix;
    cell(std::move(number));
    cell(residualText(pair.vRW, sep));
    cell(residualText(pair.vHW, sep));
  }
  cell(kSumRowText);
  cell(residualText(sumRW, sep));
  cell(residualText(sumHW, sep));
}

}  // namespace compute
