// T(P) + c(P) for one point; called from the stream's workers at once.
#include "CorrectedTransform.h"

namespace stream {

output::ResultPoint CorrectedTransform::operator()(double rw, double hw) const {
  const distribution::Correction correction = distribution_.correctionAt(rw, hw);
  if (!correction.corrected) {
    uncorrected_.fetch_add(1, std::memory_order_relaxed);
    return output::transformedPoint(rw, hw, solver_);
  }
  return {static_cast<double>(solver_.transform_rw(rw, hw) + correction.dRW),
          static_cast<double>(solver_.transform_hw(rw, hw) + correction.dHW)};
}

}  // namespace stream
